#pragma once

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

#include <dlfcn.h>

class QMenu;
class QWidget;

namespace testsupport {

// Path of a fixture under tests/data.
QString dataPath(const QString& relative);

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// The bytes of a file of one value per line: each value in UTF-8 followed by CR LF.
QByteArray crlfLines(const QStringList& values);

// A white ARGB image of the given size, the usual target of canvas tests.
QImage whiteImage(int width, int height);

// Makes a widget a white 400 x 300 surface, shown (offscreen), for views and frames to sit on.
void showWhiteSurface(QWidget& widget);

// Number of pixels darker than the threshold (sum of the three channels / 3) inside the rectangle.
int darkPixels(const QImage& image, int x0, int y0, int x1, int y1, int threshold = 128);

// Answers the next modal dialog of class D with `answer` (which clicks OK or Cancel), as a user
// would once it shows: the dialog is looked for until it is the active modal widget, since the
// command that opens it may run the event loop before it does.
template <class D>
void whenShown(QObject* owner, std::function<void(D&)> answer)
{
    auto* timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(*dialog);
        }
    });
    timer->start(5);
}

// Answers every popup menu that opens while it lives, as a user would once it shows. A menu runs
// its own event loop from inside the click that opens it, so the answer is queued when the menu
// shows and runs in that loop; no clock is involved.
class MenuAnswer : public QObject {
public:
    explicit MenuAnswer(std::function<void(QMenu&)> answer);
    ~MenuAnswer() override;
    MenuAnswer(const MenuAnswer&) = delete;
    MenuAnswer& operator=(const MenuAnswer&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(QMenu&)> m_answer;
};

// SANE reads its configuration folder once per process, at its first start: every test that
// scans shares this one, writing the backends it wants into its dll.conf.
//
// The virtual scanner's backend is kept loaded for the whole run: SANE unloads it when a session
// ends, and what it still held in its own variables would then read as leaks of ours to the
// leak checker.
inline void useSaneBackends(const QByteArray& dllConf)
{
    static QTemporaryDir folder;
    static const bool set = [] {
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(folder.path()));
        dlopen("/usr/lib/x86_64-linux-gnu/sane/libsane-test.so.1", RTLD_NOW | RTLD_NODELETE);
        return true;
    }();
    (void)set;
    writeBytes(folder.filePath(QStringLiteral("dll.conf")), dllConf);
}

} // namespace testsupport
