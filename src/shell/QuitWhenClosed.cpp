#include "QuitWhenClosed.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

class QuitOnClose : public QObject {
public:
    QuitOnClose(QWidget* window, std::function<void()> quit) : QObject(window), m_quit(std::move(quit)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The filter sees the close before the window decides: look again once it has, and end
        // only when it really went (a close it refused goes on running).
        if (event->type() == QEvent::Close && watched == parent()) {
            auto* window = static_cast<QWidget*>(watched);
            QMetaObject::invokeMethod(this, [this, window] {
                if (!window->isVisible())
                    m_quit();
            }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_quit;
};

} // namespace

void QuitWhenClosed(QWidget* window, std::function<void()> quit)
{
    window->installEventFilter(new QuitOnClose(window, std::move(quit)));
}
