#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QSoundEffect;

enum TSoundType { stAsynchronous, stSynchronous, stLoop, stAsyncNoInt, stSyncNoInt, stLoopNoInt };

// Plays a wave file. Without any audio output (a machine without sound, a test run) it stays
// silent and never fails.
class TWAVPlayer : public QObject {
    Q_OBJECT
public:
    explicit TWAVPlayer(QObject* parent = nullptr);
    ~TWAVPlayer() override;

    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& name);
    TSoundType SoundType = stAsynchronous;
    // Whether the system has an audio output, asked once at creation.
    bool WAVCapable = false;

    // Plays FileName when it exists: looping for the loop types, waiting for the end for the
    // synchronous ones; the "no interrupt" types leave a sound already playing alone.
    void Play();
    void Stop();
    // A sound started by Play and not yet stopped or finished.
    bool Playing() const;

private:
    QString m_fileName;
    QSoundEffect* m_effect = nullptr;
    bool m_testPlaying = false;
};

// Tests stand in for the sound output; when `play` is set no audio output is touched.
struct SoundHooks {
    std::function<bool()> hasOutput;
    std::function<void(const QString& file, bool loop)> play;
    std::function<void()> stop;
};
SoundHooks& soundHooks();
