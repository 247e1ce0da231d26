#include "FuzzSupport.h"

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

void fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace fuzzsupport
