#include "Screen.h"

#include "Rounding.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

namespace {
int g_injected = 0;
}

int ScreenPixelsPerInch()
{
    if (g_injected > 0)
        return g_injected;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
        if (const QScreen* s = QGuiApplication::primaryScreen())
            if (const int dpi = R(s->logicalDotsPerInchX()); dpi > 0)
                return dpi;
    return 96;
}

void SetScreenPixelsPerInch(int ppi)
{
    g_injected = ppi > 0 ? ppi : 0;
}

} // namespace platform
