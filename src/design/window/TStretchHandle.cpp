#include "TStretchHandle.h"

#include "ObjectViews.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace stretch {

namespace {

constexpr int HandleSize = 8;
constexpr int MinimumFrame = 8;

int snap(int value, int step)
{
    return value / step * step;
}

bool near(int a, int b)
{
    return std::abs(a - b) < HandleSize;
}

} // namespace

Zone ZoneAt(QSize frame, QPoint p)
{
    const int r = frame.width();
    const int b = frame.height();
    // Later matches win: on a small frame the side handles overlap the corners.
    Zone z = zMove;
    if (near(p.x(), 0) && near(p.y(), 0))
        z = zTopLeft;
    if (near(p.x(), r) && near(p.y(), b))
        z = zBottomRight;
    if (near(p.x(), r) && near(p.y(), 0))
        z = zTopRight;
    if (near(p.x(), 0) && near(p.y(), b))
        z = zBottomLeft;
    const bool midX = std::abs(p.x() - r / 2.0) < HandleSize / 2;
    const bool midY = std::abs(p.y() - b / 2.0) < HandleSize / 2;
    if (midX && near(p.y(), 0))
        z = zTop;
    if (midX && near(p.y(), b))
        z = zBottom;
    if (midY && near(p.x(), 0))
        z = zLeft;
    if (midY && near(p.x(), r))
        z = zRight;
    return z;
}

Qt::CursorShape ZoneCursor(Zone zone)
{
    switch (zone) {
    case zTopLeft:
    case zBottomRight:
        return Qt::SizeFDiagCursor;
    case zTopRight:
    case zBottomLeft:
        return Qt::SizeBDiagCursor;
    case zTop:
    case zBottom:
        return Qt::SizeVerCursor;
    case zLeft:
    case zRight:
        return Qt::SizeHorCursor;
    case zMove:
        break;
    }
    return Qt::ArrowCursor;
}

QRect DragRect(const QRect& frame, QPoint start, QPoint pointer, Zone zone, int gridX, int gridY)
{
    const int dx = pointer.x() - start.x();
    const int dy = pointer.y() - start.y();
    // The control's edges and sizes are snapped, then the frame's margins put back: snapping the
    // frame's own edge would leave every object 2 pixels off the grid (and off the drop point).
    const int movedLeft = snap(frame.x() + 2 + dx, gridX) - 2;
    const int movedTop = snap(frame.y() + 2 + dy, gridY) - 2;
    const int movedWidth = snap(frame.width() - 5 + dx, gridX) + 5;
    const int movedHeight = snap(frame.height() - 5 + dy, gridY) + 5;

    const bool left = zone == zMove || zone == zTopLeft || zone == zBottomLeft || zone == zLeft;
    const bool top = zone == zMove || zone == zTopLeft || zone == zTopRight || zone == zTop;
    const bool right = zone == zTopRight || zone == zBottomRight || zone == zRight;
    const bool bottom = zone == zBottomLeft || zone == zBottomRight || zone == zBottom;

    QRect out = frame;
    if (left) {
        out.moveLeft(movedLeft);
        out.setWidth(zone == zMove ? frame.width() : frame.width() + frame.x() - movedLeft);
    }
    if (top) {
        out.moveTop(movedTop);
        out.setHeight(zone == zMove ? frame.height() : frame.height() + frame.y() - movedTop);
    }
    if (right)
        out.setWidth(movedWidth);
    if (bottom)
        out.setHeight(movedHeight);
    out.setWidth(std::max(out.width(), MinimumFrame));
    out.setHeight(std::max(out.height(), MinimumFrame));
    return out;
}

QRect FrameAround(const QList<QRect>& controls)
{
    if (controls.isEmpty())
        return {};
    const QRect& first = controls.front();
    int left = first.x() - 2;
    int top = first.y() - 2;
    int width = first.width() + 5;
    int height = first.height() + 5;
    for (qsizetype i = 1; i < controls.size(); ++i) {
        const QRect& c = controls[i];
        const int newLeft = std::min(left, c.x() - 2);
        const int newTop = std::min(top, c.y() - 2);
        width = std::max(left + width - 3, c.x() + c.width()) - newLeft + 3;
        height = std::max(top + height - 3, c.y() + c.height()) - newTop + 3;
        left = newLeft;
        top = newTop;
    }
    return {left, top, width, height};
}

QRect GrownRect(const QRect& control)
{
    return control.adjusted(-2, -2, 2, 2);
}

QList<QRect> HandleSquares(const QRect& control, bool single)
{
    const QRect r = GrownRect(control);
    const int right = r.x() + r.width() - HandleSize;
    const int bottom = r.y() + r.height() - HandleSize;
    QList<QRect> squares;
    const auto square = [&squares](int left, int top) { squares.append(QRect(left, top, HandleSize, HandleSize)); };
    square(r.x(), r.y());
    square(right, r.y());
    square(right, bottom);
    square(r.x(), bottom);
    if (single) {
        const int mx = r.x() + r.width() / 2 - HandleSize / 2;
        const int my = r.y() + r.height() / 2 - HandleSize / 2;
        square(mx, r.y());
        square(mx, bottom);
        square(r.x(), my);
        square(right, my);
    }
    return squares;
}

} // namespace stretch

using namespace stretch;

namespace {

QRegion shownArea(const QWidget& w)
{
    const QRect r = w.geometry();
    return w.mask().isEmpty() ? QRegion(r) : w.mask().translated(r.topLeft()) & QRegion(r);
}

// Where the frame takes presses (parent coordinates): the margins of its controls' handles, and
// each control where it shows: not where it is masked (a hollow shape lets presses through) nor
// under a sibling stacked above it that the frame does not hold (a text block). One walk up the
// stacking order: a held control adds where it shows, any other sibling takes back what it covers
// of the controls below it.
QRegion takenArea(const QWidget& frame, const QList<QPointer<QWidget>>& attached)
{
    QRegion margins;
    QRect reach;
    QSet<const QWidget*> held;
    const QWidget* parent = nullptr;
    const bool single = std::count_if(attached.begin(), attached.end(), [](const auto& c) { return !c.isNull(); }) == 1;
    for (const QPointer<QWidget>& c : attached) {
        if (!c)
            continue;
        held.insert(c.data());
        const QRect r = c->geometry();
        margins += QRegion(GrownRect(r)) - QRegion(r);
        // The squares show whole and take presses, even over a part of the control that does not
        // show (hollow, or cut at the label's edge): they are how it is resized.
        for (const QRect& square : HandleSquares(r, single))
            margins += square;
        reach |= r;
        if (parent == nullptr)
            parent = c->parentWidget();
    }
    QRegion shown;
    if (parent != nullptr)
        for (QObject* child : parent->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w == nullptr || w == &frame)
                continue;
            if (held.remove(w))
                shown += shownArea(*w);
            else if (!shown.isEmpty() && !w->isHidden() && w->geometry().intersects(reach))
                shown -= shownArea(*w);
        }
    // A control that is not its first companion's sibling has nothing stacked over it here.
    for (const QWidget* w : std::as_const(held))
        shown += shownArea(*w);
    return margins + shown;
}

// One side of the drag feedback's dotted outline: a strip one pixel thick. Its dots follow the
// parent's pixel grid, so the four sides join up whatever their lengths.
class DragEdge : public QWidget {
public:
    explicit DragEdge(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                p.fillRect(x, y, 1, 1, (this->x() + x + this->y() + y) % 2 == 0 ? Qt::black : Qt::white);
    }
};

// The drag feedback: a dotted outline of where the controls will land, shown while a drag lasts.
// Its four sides are strips of their own, so showing, moving and removing it repaints only the
// pixels of the old and new outlines, whatever lies under the frame. The holder itself is never
// shown; the sides go with it.
class DragOverlay : public QWidget {
public:
    explicit DragOverlay(QWidget* parent)
    {
        for (auto& edge : m_edges)
            edge = new DragEdge(parent);
        hide();
    }
    ~DragOverlay() override
    {
        for (DragEdge* edge : m_edges)
            delete edge;
    }
    // `frame` is the frame's rectangle: the outline is the control's, without the margins.
    void Show(const QRect& frame)
    {
        const QRect c(frame.x() + 2, frame.y() + 2, std::max(1, frame.width() - 5), std::max(1, frame.height() - 5));
        m_edges[0]->setGeometry(c.left(), c.top(), c.width(), 1);
        m_edges[1]->setGeometry(c.left(), c.bottom(), c.width(), 1);
        m_edges[2]->setGeometry(c.left(), c.top(), 1, c.height());
        m_edges[3]->setGeometry(c.right(), c.top(), 1, c.height());
        for (DragEdge* edge : m_edges) {
            edge->show();
            edge->raise();
        }
    }

private:
    std::array<DragEdge*, 4> m_edges{};
};

} // namespace

TStretchHandle::TStretchHandle(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    resize(24, 24);
    setEnabled(false);
    hide();
}

TStretchHandle::~TStretchHandle()
{
    if (mouseGrabber() == this)
        releaseMouse();
    delete m_feedback;
}

void TStretchHandle::Attach(QWidget* control)
{
    if (control == nullptr)
        return;
    if (control->isWindow())
        throw EBadChild();
    if (IsAttached(control))
        return;
    if (!m_attached.isEmpty() && control->parentWidget() != parentWidget())
        Detach();
    if (m_attached.isEmpty()) {
        if (parentWidget() != control->parentWidget())
            setParent(control->parentWidget());
        m_dragRect = {};
        setEnabled(true);
    }
    m_attached.append(control);
    connect(control, &QObject::destroyed, this, &TStretchHandle::controlDestroyed);
    // A view that shows less or more of itself (cut at the label's edge, hollowed) moves where
    // the frame takes presses, though the frame itself did not move.
    if (auto* view = qobject_cast<TDesignObjectView*>(control))
        connect(view, &TDesignObjectView::MaskChanged, this, &TStretchHandle::updateMaskLater);
    m_zone = zMove;
    fit();
    show();
    raise();
    // The press that selected the control goes on as a drag of the selection.
    if (QGuiApplication::mouseButtons() & Qt::LeftButton)
        grabMouse();
    if (isVisible() && isEnabled())
        setFocus();
}

void TStretchHandle::Detach()
{
    for (const QPointer<QWidget>& control : std::as_const(m_attached))
        if (control) {
            disconnect(control, &QObject::destroyed, this, &TStretchHandle::controlDestroyed);
            if (auto* view = qobject_cast<TDesignObjectView*>(control.data()))
                disconnect(view, &TDesignObjectView::MaskChanged, this, &TStretchHandle::updateMaskLater);
        }
    m_attached.clear();
    Locked = false;
    m_dragging = false;
    hideFeedback();
    if (mouseGrabber() == this)
        releaseMouse();
    clearMask();
    resize(24, 24);
    // Hiding a focused widget hands the focus to the next one, which may be a text block that
    // would then think the user entered it: the focus is let go first.
    if (hasFocus())
        clearFocus();
    setEnabled(false);
    hide();
}

QWidget* TStretchHandle::Attached(int index) const
{
    if (index < 0 || index >= AttachedCount())
        return nullptr;
    return m_attached[index];
}

bool TStretchHandle::IsAttached(const QWidget* control) const
{
    return control != nullptr && std::any_of(m_attached.begin(), m_attached.end(),
                                             [&](const QPointer<QWidget>& c) { return c == control; });
}

void TStretchHandle::SetBounds(int left, int top, int width, int height)
{
    if (Locked)
        return;
    const QRect old = geometry();
    for (const QPointer<QWidget>& control : std::as_const(m_attached)) {
        if (!control)
            continue;
        const QRect c = control->geometry();
        setControlGeometry(control, QRect(c.x() + left - old.x(), c.y() + top - old.y(), c.width() + width - old.width(),
                                          c.height() + height - old.height()));
    }
    fit();
}

void TStretchHandle::SetColor(platform::TColor color)
{
    m_color = color;
    update();
}

void TStretchHandle::SetSecondaryColor(platform::TColor color)
{
    m_secondaryColor = color;
    update();
}

void TStretchHandle::SetGridX(int step)
{
    m_gridX = std::clamp(step, 1, 32);
}

void TStretchHandle::SetGridY(int step)
{
    m_gridY = std::clamp(step, 1, 32);
}

void TStretchHandle::SetSnapToGrid(bool on)
{
    SetGridX(on ? 8 : 1);
    SetGridY(on ? 8 : 1);
}

void TStretchHandle::setControlGeometry(QWidget* control, const QRect& rect)
{
    // An object view keeps its geometry in its record: write the record, let the view follow.
    if (auto* view = qobject_cast<TDesignObjectView*>(control))
        view->SetObjectBounds(rect);
    else
        control->setGeometry(rect);
}

void TStretchHandle::fit()
{
    QList<QRect> rects;
    for (const QPointer<QWidget>& control : std::as_const(m_attached))
        if (control)
            rects.append(control->geometry());
    if (rects.isEmpty())
        return;
    const QRect frame = FrameAround(rects);
    setGeometry(frame);
    updateMaskLater();
    update();
}

void TStretchHandle::updateMaskLater()
{
    // Presses outside what the frame takes fall through to what lies underneath. Working that
    // out costs more with every control held, so a run of attachments (a whole selection made at
    // once) works it out once, when the run is over.
    if (!m_maskPending) {
        m_maskPending = true;
        QMetaObject::invokeMethod(this, [this] {
            m_maskPending = false;
            if (!m_attached.isEmpty())
                setMask(takenArea(*this, m_attached).translated(-pos()));
        }, Qt::QueuedConnection);
    }
}

bool TStretchHandle::hit(QPoint parentPoint) const
{
    return takenArea(*this, m_attached).contains(parentPoint);
}

QPoint TStretchHandle::clamped(QPoint p) const
{
    // The pointer stays over the parent.
    const QSize area = parentWidget() != nullptr ? parentWidget()->size() : size();
    return {std::clamp(p.x(), -x(), area.width() - x()), std::clamp(p.y(), -y(), area.height() - y())};
}

void TStretchHandle::forward(QMouseEvent* event)
{
    QWidget* parent = parentWidget();
    if (parent == nullptr)
        return;
    const QPoint at = mapToParent(event->position().toPoint());
    // The first control under the point in child order, else the parent itself.
    QWidget* target = parent;
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w == nullptr || w == this || qobject_cast<TStretchHandle*>(w) != nullptr || !w->isVisible() ||
            w->testAttribute(Qt::WA_TransparentForMouseEvents) || !w->geometry().contains(at))
            continue;
        target = w;
        break;
    }
    const QPoint local = target == parent ? at : target->mapFromParent(at);
    QMouseEvent copy(event->type(), local, event->globalPosition(), event->button(), event->buttons(),
                     event->modifiers(), event->pointingDevice());
    QCoreApplication::sendEvent(target, &copy);
}

void TStretchHandle::showFeedback(const QRect& rect)
{
    m_dragRect = rect;
    QWidget* parent = parentWidget();
    if (parent == nullptr)
        return;
    if (!m_feedback)
        m_feedback = new DragOverlay(parent);
    static_cast<DragOverlay*>(m_feedback.data())->Show(rect);
}

void TStretchHandle::hideFeedback()
{
    m_dragRect = {};
    delete m_feedback;
}

bool TStretchHandle::moveBy(const QRect& frame)
{
    QList<QRect> before;
    for (const QPointer<QWidget>& control : std::as_const(m_attached))
        before.append(control ? control->geometry() : QRect());
    SetBounds(frame.x(), frame.y(), frame.width(), frame.height());
    for (qsizetype i = 0; i < m_attached.size(); ++i)
        if (m_attached[i] && m_attached[i]->geometry() != before[i])
            return true;
    return false;
}

void TStretchHandle::controlDestroyed(QObject* control)
{
    m_attached.removeIf([&](const QPointer<QWidget>& c) { return c.isNull() || c.data() == control; });
    if (m_attached.isEmpty())
        Detach();
    else
        fit();
}

void TStretchHandle::paintEvent(QPaintEvent*)
{
    const int count = AttachedCount();
    if (count == 0)
        return;
    QPainter p(this);
    const QColor brush = platform::ToQColor(count == 1 ? m_color : m_secondaryColor);
    for (const QPointer<QWidget>& control : std::as_const(m_attached))
        if (control)
            for (const QRect& square : HandleSquares(control->geometry(), count == 1))
                p.fillRect(square.translated(-pos()), brush);
}

void TStretchHandle::mousePressEvent(QMouseEvent* event)
{
    if (!hit(mapToParent(event->position().toPoint()))) {
        setCursor(Qt::ArrowCursor);
        forward(event);
        return;
    }
    if (event->button() == Qt::LeftButton && !Locked) {
        m_dragStart = event->position().toPoint();
        m_dragging = true;
    }
    if (OnMouseDown)
        OnMouseDown(event);
}

void TStretchHandle::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const bool leftHeld = (event->buttons() & Qt::LeftButton) != 0;
    if (leftHeld && !m_dragging && !Locked) {
        // The button went down on a control just attached: the drag starts here.
        m_dragStart = p;
        m_dragging = true;
    } else {
        if (!leftHeld && mouseGrabber() == this)
            releaseMouse();
        const Zone z = AttachedCount() == 1 ? ZoneAt(size(), p) : zMove;
        Qt::CursorShape shape = ZoneCursor(z);
        if (Locked)
            shape = Qt::ForbiddenCursor;
        if (m_dragging) {
            if (m_zone == zMove)
                shape = DragCursor;
            showFeedback(DragRect(geometry(), m_dragStart, clamped(p), m_zone, m_gridX, m_gridY));
        } else {
            m_zone = z;
        }
        setCursor(shape);
    }
    if (OnMouseMove)
        OnMouseMove(event);
}

void TStretchHandle::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton) {
        forward(event);
        return;
    }
    const QPoint p = clamped(event->position().toPoint());
    bool moved = false;
    if (p != m_dragStart)
        moved = moveBy(DragRect(geometry(), m_dragStart, p, m_zone, m_gridX, m_gridY));
    hideFeedback();
    m_dragging = false;
    setCursor(Qt::ArrowCursor);
    if (mouseGrabber() == this)
        releaseMouse();
    if (isVisible() && isEnabled())
        setFocus();
    if (moved)
        emit Modified();
    if (OnMouseUp)
        OnMouseUp(event);
}

void TStretchHandle::keyPressEvent(QKeyEvent* event)
{
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    default:
        QWidget::keyPressEvent(event); // on to the window
        return;
    }
    // One pixel whatever the grid.
    if (!m_attached.isEmpty() && moveBy(geometry().translated(dx, dy)))
        emit Modified();
    update();
}
