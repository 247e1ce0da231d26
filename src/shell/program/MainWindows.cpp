#include "MainWindows.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMainWindow>

MainWindows::~MainWindows()
{
    while (!m_windows.empty())
        m_windows.pop_back();
}

std::unique_ptr<MainWindows> CreateMainWindows()
{
    auto windows = std::make_unique<MainWindows>();
    // The control station comes first and so becomes the main window; the other windows follow
    // in their order as they are built. Until the station exists, an empty main window stands in
    // so that the program starts and can be closed.
    auto main = std::make_unique<QMainWindow>();
    main->setObjectName(QStringLiteral("MainWindow"));
    main->setWindowTitle(QStringLiteral("Pravolis"));
    main->resize(800, 600);
    windows->Add(std::move(main));
    return windows;
}

namespace {

class QuitOnClose : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The filter sees the close before the window decides: look again once it has, and end
        // only when it really went (a close it refused goes on running).
        if (event->type() == QEvent::Close && watched == parent()) {
            auto* window = static_cast<QWidget*>(watched);
            QMetaObject::invokeMethod(this, [window] {
                if (!window->isVisible())
                    QCoreApplication::quit();
            }, Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

void QuitWhenClosed(QWidget* window)
{
    window->installEventFilter(new QuitOnClose(window));
}
