#include "Application.h"

#include "platform/Errors.h"

#include <QMessageBox>
#include <exception>

namespace platform {

namespace {
QString g_title = QStringLiteral("Pravolis");
std::function<void(const QString&)> g_errorHook;

QString describe(std::exception_ptr e)
{
    try {
        std::rethrow_exception(e);
    } catch (const Exception& x) {
        return x.message();
    } catch (const std::exception& x) {
        return QString::fromLocal8Bit(x.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}
} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowError(describe(std::current_exception()));
        return false;
    }
}

QString Application::Title()
{
    return g_title;
}

void Application::SetTitle(const QString& title)
{
    g_title = title;
}

void Application::ShowError(const QString& message)
{
    if (g_errorHook) {
        g_errorHook(message);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), g_title, message);
}

void Application::SetErrorHook(std::function<void(const QString&)> hook)
{
    g_errorHook = std::move(hook);
}

void ShowInFront(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

bool runReportingErrors(const std::function<void()>& f)
{
    try {
        f();
        return true;
    } catch (...) {
        Application::ShowError(describe(std::current_exception()));
        return false;
    }
}

} // namespace platform
