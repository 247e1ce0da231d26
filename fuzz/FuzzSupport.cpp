#include "FuzzSupport.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

namespace {
void quiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(message));
        std::abort();
    }
}
} // namespace

void silenceQtMessages()
{
    qInstallMessageHandler(quiet);
}

void startGuiApplication()
{
    static int argc = 1;
    static char name[] = "pravolis-fuzz";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() != nullptr)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    silenceQtMessages();
    new QGuiApplication(argc, argv); // lives as long as the process
}

std::unique_ptr<QTemporaryDir> scratchFolder()
{
    QFileInfo shm(QStringLiteral("/dev/shm"));
    if (shm.isDir() && shm.isWritable()) {
        auto dir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/pravolis-fuzz-XXXXXX"));
        if (dir->isValid())
            return dir;
    }
    return std::make_unique<QTemporaryDir>();
}

void fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace fuzzsupport
