#include "platform/window/WindowPlace.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace platform {

namespace {

const char* const keeperName = "platform_WindowPlaceKeeper";

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
