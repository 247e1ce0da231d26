#pragma once

#include "platform/Errors.h"
#include "platform/TColor.h"

#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>

class QMouseEvent;

// Raised when a top-level window is attached to the selection frame.
class EBadChild : public platform::Exception {
public:
    EBadChild() : platform::Exception(QStringLiteral("Handles can not be attached to a Form!")) {}
};

// The geometry of the selection frame, without widgets. A frame stands 2 pixels left of and above
// its control and 3 pixels right of and below it (a control at (l, t) of w x h has the frame
// (l - 2, t - 2) of (w + 5) x (h + 5)).
namespace stretch {

// What a drag does: move, or resize by one of the eight handles.
enum Zone {
    zMove,
    zTopLeft,
    zTopRight,
    zBottomLeft,
    zBottomRight,
    zTop,
    zLeft,
    zBottom,
    zRight
};

// The handle under a point of a frame of one control (frame coordinates); zMove away from them.
Zone ZoneAt(QSize frame, QPoint point);
// The cursor a zone shows.
Qt::CursorShape ZoneCursor(Zone zone);

// The frame after a drag of `zone` from `start` to `pointer` (both in frame coordinates). Moved
// edges and sizes snap to the grid as the control's own: a move lands the control's left on a
// multiple of gridX, a resize makes its width one; with a grid of 1 the control follows the
// pointer exactly. The frame never gets narrower or lower than 8 (a control of 3).
QRect DragRect(const QRect& frame, QPoint start, QPoint pointer, Zone zone, int gridX, int gridY);

// The frame around a set of controls (parent coordinates); empty for none.
QRect FrameAround(const QList<QRect>& controls);
// Where a press belongs to a control: its rectangle grown by 2 pixels on every side.
QRect GrownRect(const QRect& control);
// The handle squares of a control (in its rectangle's coordinates): the four corners, and the
// middles of the sides when it is the only control of the frame.
QList<QRect> HandleSquares(const QRect& control, bool single);

} // namespace stretch

// The selection of the design surface: a transparent frame laid over one or more controls of one
// parent (the selected object views), with 8 x 8 handle squares at their corners and, for a single
// control, at the middles of its sides. Dragging inside the selected controls moves all of them,
// dragging a handle of a single control resizes it, both snapping to GridX x GridY; the arrow keys
// move the selection by one pixel. A press beside the selected controls goes to what lies
// underneath (the frame's shape is the union of the controls' grown rectangles), and the frame's
// own mouse callbacks do not run for it.
//
// Moving an object view (TDesignObjectView) writes its record's bounds and refreshes the view, so
// the record keeps the only copy of the geometry; any other widget just takes its new geometry.
// While a drag lasts, the rectangle the controls will take is drawn as a dotted outline by a
// transient overlay widget over the parent, in its paint events; nothing is left behind.
//
// The frame keeps only guarded references: a control destroyed while attached leaves the
// selection by itself (the frame is emptied when it was the last).
class TStretchHandle : public QWidget {
    Q_OBJECT
public:
    explicit TStretchHandle(QWidget* parent = nullptr);
    ~TStretchHandle() override;

    // Adds a control of the frame's parent to the selection; a control of another parent empties
    // the selection first. Nothing for nullptr or a control already attached; EBadChild for a
    // top-level window. The frame comes to the front and takes the keyboard focus; when the left
    // button is down (the press that selected the control), it takes the mouse so that moving on
    // drags the selection at once.
    void Attach(QWidget* control);
    // Empties the selection: hidden, disabled, 24 x 24, unlocked. The frame keeps its Qt parent
    // (its owner); the next Attach moves it to the parent of the controls attached. A focused
    // frame lets the focus go rather than handing it to the next widget (a text block would take
    // it as the user entering it).
    void Detach();
    int AttachedCount() const { return static_cast<int>(m_attached.size()); }
    // The control at `index` in attach order; nullptr outside 0 .. AttachedCount() - 1.
    QWidget* Attached(int index) const;
    bool IsAttached(const QWidget* control) const;

    // Moves and resizes the frame, carrying every attached control by the same change of left,
    // top, width and height; nothing when Locked. The frame then fits the controls as they came
    // out (an object may keep a size of its own, as a tilted text its square).
    void SetBounds(int left, int top, int width, int height);

    // When set, nothing moves or resizes and the pointer shows it.
    bool Locked = false;
    // Handle colour with one control attached and with several.
    platform::TColor Color() const { return m_color; }
    void SetColor(platform::TColor color);
    platform::TColor SecondaryColor() const { return m_secondaryColor; }
    void SetSecondaryColor(platform::TColor color);
    // Snapping steps in pixels, 1 to 32 (values outside are brought into range); 1 = no snapping.
    int GridX() const { return m_gridX; }
    void SetGridX(int step);
    int GridY() const { return m_gridY; }
    void SetGridY(int step);
    // True when either step is above 1; setting it makes both 8 (on) or 1 (off).
    bool SnapToGrid() const { return m_gridX > 1 || m_gridY > 1; }
    void SetSnapToGrid(bool on);
    // The pointer while a move is dragged.
    Qt::CursorShape DragCursor = Qt::DragMoveCursor;

    // The frame rectangle shown as drag feedback (parent coordinates); null when none is shown.
    QRect DragFeedback() const { return m_dragRect; }

    // The window's handlers, run after the frame's own handling, for presses inside the selected
    // controls only. Buttons and modifiers (Shift, Ctrl) are read from the event, never from a
    // global key state.
    std::function<void(QMouseEvent*)> OnMouseDown;
    std::function<void(QMouseEvent*)> OnMouseMove;
    std::function<void(QMouseEvent*)> OnMouseUp;

signals:
    // A drag or an arrow key changed the bounds of at least one attached control: the design is
    // modified. Not emitted when nothing really moved (a click, a drag back to its start, a
    // locked frame, a size the object refused).
    void Modified();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool hit(QPoint parentPoint) const;
    void fit();
    void updateMaskLater();
    void forward(QMouseEvent* event);
    QPoint clamped(QPoint point) const;
    void showFeedback(const QRect& rect);
    void hideFeedback();
    bool moveBy(const QRect& frame);
    void controlDestroyed(QObject* control);
    void setControlGeometry(QWidget* control, const QRect& rect);

    QList<QPointer<QWidget>> m_attached;
    QPoint m_dragStart;
    stretch::Zone m_zone = stretch::zMove;
    bool m_dragging = false;
    // The mask is worked out again once the current run of changes is over.
    bool m_maskPending = false;
    QRect m_dragRect;
    QPointer<QWidget> m_feedback;
    platform::TColor m_color = platform::clBlack;
    platform::TColor m_secondaryColor = 0x808080;
    int m_gridX = 1;
    int m_gridY = 1;
};
