#include "ShellOpen.h"

#include <QDesktopServices>

namespace platform {

std::function<bool(const QUrl&)>& shellOpenHook()
{
    static std::function<bool(const QUrl&)> hook;
    return hook;
}

bool ShellOpen(const QString& target)
{
    const QString t = target.trimmed();
    if (t.isEmpty())
        return false;
    const QUrl url = QUrl::fromUserInput(t);
    if (shellOpenHook())
        return shellOpenHook()(url);
    return QDesktopServices::openUrl(url);
}

} // namespace platform
