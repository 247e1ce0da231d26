#include "platform/window/WindowPlace.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace platform {

namespace {

const char* const keeperName = "platform_WindowPlaceKeeper";
const char* const toolOwnerName = "platform_ToolOwner";

// The frame of a window not yet shown is unknown: the program's other framed windows tell what
// the window system draws around theirs.
QMargins likelyMargins(const QWidget* window)
{
    if (window->isVisible() && !FrameMargins(window).isNull())
        return FrameMargins(window);
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != window && w->isVisible() && w->windowType() == Qt::Window && !FrameMargins(w).isNull())
            return FrameMargins(w);
    return {};
}

QRect availableArea(const QRect& place)
{
    const QScreen* screen = QGuiApplication::screenAt(place.topLeft() + QPoint(place.width() / 2, place.height() / 2));
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

bool notNormal(const QWidget* window)
{
    return (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) != 0;
}

// Attached to a window whose place the program keeps. It waits until the window system has told
// the frame's size, then fits the window again with it, once, where it stands then (the program
// may have moved or sized it since); it remembers the place a window restored maximised goes back
// to; and it keeps a hidden window's place for its next showing.
class PlaceKeeper : public QObject {
public:
    explicit PlaceKeeper(QWidget* window) : QObject(window), m_window(window)
    {
        setObjectName(QLatin1String(keeperName));
        window->installEventFilter(this);
    }

    static PlaceKeeper* of(const QWidget* window)
    {
        return static_cast<PlaceKeeper*>(
            window->findChild<QObject*>(QLatin1String(keeperName), Qt::FindDirectChildrenOnly));
    }

    static PlaceKeeper* attach(QWidget* window)
    {
        PlaceKeeper* keeper = of(window);
        return keeper != nullptr ? keeper : new PlaceKeeper(window);
    }

    void restore(const TWindowPlace& place)
    {
        m_restored = place;
        m_shownNormal = false;
        m_fitPending = true;
        fit(QRect(place.X, place.Y, place.W, place.H), likelyMargins(m_window));
    }

    // The place of a maximised window that has not been shown unmaximised since it was restored:
    // the window system's idea of its normal place holds no frame yet.
    std::optional<TWindowPlace> restoredPlace() const
    {
        if (m_shownNormal || !m_restored)
            return std::nullopt;
        return m_restored;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Hide) {
            // The window reopens where it stands: a dialog is not centred on its parent again.
            m_window->setAttribute(Qt::WA_Moved);
            return false;
        }
        if ((type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize) && m_window->isVisible()
            && !notNormal(m_window)) {
            const QMargins real = FrameMargins(m_window);
            if (!real.isNull()) {
                m_shownNormal = true;
                if (m_fitPending) {
                    m_fitPending = false;
                    if (real != m_margins)
                        fit(QRect(m_window->pos(), m_window->size()), real);
                }
            }
        }
        return false;
    }

private:
    void fit(const QRect& place, const QMargins& margins)
    {
        m_margins = margins;
        const QRect area = availableArea(place);
        const QRect fitted = area.isEmpty() ? place : FitPlace(place, margins, area);
        m_window->move(fitted.topLeft());
        m_window->resize(fitted.size());
    }

    QWidget* m_window;
    QMargins m_margins;
    std::optional<TWindowPlace> m_restored;
    bool m_shownNormal = false;
    bool m_fitPending = false;
};

// Attached to a tool window: the parent it was made with, and the modal owner that holds it for a
// while.
class ToolOwner : public QObject {
public:
    explicit ToolOwner(QWidget* tool) : QObject(tool), m_tool(tool), m_home(tool->parentWidget())
    {
        setObjectName(QLatin1String(toolOwnerName));
    }

    static ToolOwner* attach(QWidget* tool)
    {
        auto* owner = static_cast<ToolOwner*>(
            tool->findChild<QObject*>(QLatin1String(toolOwnerName), Qt::FindDirectChildrenOnly));
        return owner != nullptr ? owner : new ToolOwner(tool);
    }

    void holdBy(QWidget* owner)
    {
        const bool modal = owner != nullptr && owner->isModal() && owner != m_home;
        QWidget* parent = modal ? owner : m_home.data();
        if (m_tool->parentWidget() == parent)
            return;
        if (!m_holder.isNull())
            m_holder->removeEventFilter(this);
        m_holder = modal ? owner : nullptr;
        m_tool->setParent(parent, m_tool->windowFlags());
        if (modal)
            owner->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Back to its own parent as the dialog goes, before the dialog can take it along.
        if (watched == m_holder && event->type() == QEvent::Hide) {
            m_tool->hide();
            holdBy(nullptr);
        }
        return false;
    }

private:
    QWidget* m_tool;
    QPointer<QWidget> m_home;
    QPointer<QWidget> m_holder;
};

} // namespace

QMargins FrameMargins(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect inside = window->geometry();
    return {inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
            frame.bottom() - inside.bottom()};
}

TWindowPlace PlaceOf(const QRect& inside, const QMargins& margins, bool maximised)
{
    return {inside.x() - margins.left(), inside.y() - margins.top(), inside.width(), inside.height(), maximised};
}

TWindowPlace SaveWindowPlace(const QWidget* window)
{
    const bool maximised = window->isMaximized();
    if (!maximised && !window->isFullScreen())
        return PlaceOf(window->geometry(), FrameMargins(window));
    if (const PlaceKeeper* keeper = PlaceKeeper::of(window)) {
        if (std::optional<TWindowPlace> restored = keeper->restoredPlace()) {
            restored->Maxi = maximised;
            return *restored;
        }
    }
    return PlaceOf(window->normalGeometry(), FrameMargins(window), maximised);
}

QRect FitFrame(const QRect& frame, const QRect& area)
{
    const int width = std::min(frame.width(), area.width());
    const int height = std::min(frame.height(), area.height());
    return {std::clamp(frame.x(), area.left(), area.left() + area.width() - width),
            std::clamp(frame.y(), area.top(), area.top() + area.height() - height), width, height};
}

QRect FitPlace(const QRect& place, const QMargins& margins, const QRect& area)
{
    const QRect frame = FitFrame(QRect(place.topLeft(), place.size().grownBy(margins)), area);
    return {frame.topLeft(), frame.size().shrunkBy(margins)};
}

QPoint BesidePlace(QRect owner, QRect keepClear, QSize size, QRect available)
{
    const auto clampTo = [](int v, int low, int high) { return std::max(low, std::min(v, high)); };
    const int lowestTop = available.bottom() + 1 - size.height();
    const int rightmostLeft = available.right() + 1 - size.width();
    if (owner.right() + 1 + size.width() <= available.right() + 1)
        return {owner.right() + 1, clampTo(owner.top(), available.top(), lowestTop)};
    if (owner.left() - size.width() >= available.left())
        return {owner.left() - size.width(), clampTo(owner.top(), available.top(), lowestTop)};
    const int below = keepClear.isValid() ? keepClear.bottom() + 1 : owner.top();
    return {std::max(available.left(), rightmostLeft), std::max(available.top(), std::min(below, lowestTop))};
}

QRect RoomBeside(const QRect& keepClear, QSize size, const QRect& available)
{
    const QRect rooms[] = {
        QRect(QPoint(keepClear.right() + 1, available.top()), available.bottomRight()),
        QRect(available.topLeft(), QPoint(keepClear.left() - 1, available.bottom())),
        QRect(QPoint(available.left(), keepClear.bottom() + 1), available.bottomRight()),
        QRect(available.topLeft(), QPoint(available.right(), keepClear.top() - 1)),
    };
    QRect best;
    double bestScale = 0;
    for (const QRect& room : rooms) {
        const QRect r = room.intersected(available);
        if (r.isEmpty() || size.isEmpty())
            continue;
        const double scale = std::min(static_cast<double>(r.width()) / size.width(),
                                      static_cast<double>(r.height()) / size.height());
        if (scale > bestScale) {
            bestScale = scale;
            best = r;
        }
    }
    return best;
}

void PlaceBeside(QWidget* window, const QWidget* owner, const QRect& keepClear)
{
    const QScreen* screen = owner->screen() != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    // Not framed yet, a window takes the owner's frame for its own (the same decorations). A window
    // not shown yet is moved by its frame's corner; one shown but not framed yet by its inside's.
    QMargins frame = FrameMargins(window);
    QPoint clientOffset;
    if (frame.isNull()) {
        frame = FrameMargins(owner);
        if (window->isVisible())
            clientOffset = QPoint(frame.left(), frame.top());
    }
    const QSize outer = window->size().grownBy(frame);
    window->move(BesidePlace(owner->frameGeometry(), keepClear, outer, screen->availableGeometry()) + clientOffset);
}

void ShowToolWindow(QWidget* tool, QWidget* owner, const QRect& keepClear)
{
    QWidget* ownerWindow = owner != nullptr ? owner->window() : nullptr;
    const bool wasVisible = tool->isVisible();
    ToolOwner::attach(tool)->holdBy(ownerWindow);
    if (ownerWindow != nullptr && ownerWindow->windowHandle() != nullptr) {
        tool->winId();
        if (QWindow* handle = tool->windowHandle())
            handle->setTransientParent(ownerWindow->windowHandle());
    }
    if (!wasVisible && ownerWindow != nullptr) {
        // Placed before it shows when the window system can move it there at once; once more
        // after, when showing gave it its frame.
        PlaceBeside(tool, ownerWindow, keepClear);
    }
    tool->show();
    tool->raise();
    tool->activateWindow();
    if (!wasVisible && ownerWindow != nullptr)
        PlaceBeside(tool, ownerWindow, keepClear);
}

void RestoreWindowPlace(QWidget* window, const TWindowPlace& place)
{
    PlaceKeeper::attach(window)->restore(place);
    if (place.Maxi)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void KeepWindowPlace(QWidget* window)
{
    PlaceKeeper::attach(window);
}

} // namespace platform
