#include "platform/Heap.h"
#include "platform/window/Application.h"
#include "shell/QuitWhenClosed.h"
#include "shell/TLogo.h"
#include "shell/TSleeper.h"
#include "shell/program/MainWindows.h"

#include <QCursor>
#include <QIcon>

int main(int argc, char** argv)
{
    platform::HoldHeapAcrossPages();
    platform::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pravolis"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/bitmaps/pravolis.png")));
    // The main window hides while the design or database window is open; the program ends when
    // the main window closes, not when the last visible window does.
    QApplication::setQuitOnLastWindowClosed(false);

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    auto logo = std::make_unique<TLogo>();
    logo->show();
    logo->Sleeper->Sleep();
    // The control station names the program again once it is created.
    platform::Application::SetTitle(QStringLiteral("BRIMO Vantel"));

    const std::unique_ptr<MainWindows> windows = CreateMainWindows();

    logo.reset();
    QGuiApplication::restoreOverrideCursor();
    QWidget* main = windows->MainWindow();
    QuitWhenClosed(main);
    main->show();
    return app.exec();
}
