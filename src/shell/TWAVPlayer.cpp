#include "TWAVPlayer.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {

bool isLoop(TSoundType t)
{
    return t == stLoop || t == stLoopNoInt;
}

bool isSynchronous(TSoundType t)
{
    return t == stSynchronous || t == stSyncNoInt;
}

bool keepsPlayingSound(TSoundType t)
{
    return t == stAsyncNoInt || t == stSyncNoInt || t == stLoopNoInt;
}

} // namespace

SoundHooks& soundHooks()
{
    static SoundHooks hooks;
    return hooks;
}

TWAVPlayer::TWAVPlayer(QObject* parent) : QObject(parent)
{
    WAVCapable = soundHooks().hasOutput ? soundHooks().hasOutput()
                                        : !QMediaDevices::audioOutputs().isEmpty();
}

TWAVPlayer::~TWAVPlayer() = default;

void TWAVPlayer::SetFileName(const QString& name)
{
    if (name != m_fileName)
        m_fileName = name;
}

bool TWAVPlayer::Playing() const
{
    if (soundHooks().play)
        return m_testPlaying;
    return m_effect != nullptr && m_effect->isPlaying();
}

void TWAVPlayer::Play()
{
    if (!WAVCapable || m_fileName.isEmpty() || !QFileInfo(m_fileName).isFile())
        return;
    if (keepsPlayingSound(SoundType) && Playing())
        return;
    const bool loop = isLoop(SoundType);
    if (soundHooks().play) {
        soundHooks().play(m_fileName, loop);
        m_testPlaying = true;
        return;
    }
    if (m_effect == nullptr)
        m_effect = new QSoundEffect(this);
    m_effect->stop();
    m_effect->setSource(QUrl::fromLocalFile(QFileInfo(m_fileName).absoluteFilePath()));
    m_effect->setLoopCount(loop ? int(QSoundEffect::Infinite) : 1);
    m_effect->play();
    if (isSynchronous(SoundType) && !loop) {
        // Waits for the end while the windows keep being served; a file that cannot be played
        // ends the wait at once.
        QEventLoop wait;
        connect(m_effect, &QSoundEffect::playingChanged, &wait, [&] {
            if (!m_effect->isPlaying())
                wait.quit();
        });
        connect(m_effect, &QSoundEffect::statusChanged, &wait, [&] {
            if (m_effect->status() == QSoundEffect::Error)
                wait.quit();
        });
        if (m_effect->status() != QSoundEffect::Error)
            wait.exec();
    }
}

void TWAVPlayer::Stop()
{
    if (!WAVCapable)
        return;
    if (soundHooks().play) {
        if (soundHooks().stop)
            soundHooks().stop();
        m_testPlaying = false;
        return;
    }
    if (m_effect != nullptr)
        m_effect->stop();
}
