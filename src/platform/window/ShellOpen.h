#pragma once

#include <QString>
#include <QUrl>
#include <functional>

// Opening a document, a web address or a mail address with the desktop's program for it.
namespace platform {

// A web address without its scheme ("www.example.org") opens in the browser, a path in the
// file's program. False when nothing could open it (or the target is blank).
bool ShellOpen(const QString& target);

// Tests receive the address in place of the desktop; empty to go back to the desktop.
std::function<bool(const QUrl&)>& shellOpenHook();

} // namespace platform
