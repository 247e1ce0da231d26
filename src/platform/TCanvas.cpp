#include "platform/TCanvas.h"

#include "platform/TCanvasPrivate.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPolygon>
#include <QVarLengthArray>
#include <algorithm>
#include <climits>
#include <cstdlib>

namespace platform {

namespace {

constexpr int noDeviceDpi = 96;

// Images carry alpha in the same word as the colour, and a plain exclusive-or would clear it.
// Exclusive-or and inversion are therefore drawn as "not (source xor destination)", which keeps
// an opaque pixel opaque, with the source colour inverted to give the same colours.
QPainter::CompositionMode compositionFor(TPenMode mode)
{
    switch (mode) {
    case pmNot: return QPainter::RasterOp_NotSourceXorDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

QColor modeColor(TPenMode mode, const QColor& color)
{
    switch (mode) {
    case pmBlack:
    case pmNot: return Qt::black;
    case pmWhite: return Qt::white;
    case pmXor: return QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
    default: return color;
    }
}

Qt::BrushStyle qtBrushStyle(TBrushStyle style)
{
    switch (style) {
    case bsSolid: return Qt::SolidPattern;
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    // Qt's patterns are named as the platform's: BDiag rises from left to right ("/"), FDiag
    // falls ("\").
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

} // namespace

// ---- life cycle

TCanvas::TCanvas() : m_state(std::make_unique<State>()) {}

TCanvas::TCanvas(QPaintDevice* device) : TCanvas()
{
    Begin(device);
}

TCanvas::TCanvas(QPainter* painter) : TCanvas()
{
    if (painter != nullptr && painter->isActive())
        attach(painter, false);
}

TCanvas::~TCanvas()
{
    End();
}

bool TCanvas::Begin(QPaintDevice* device)
{
    End();
    if (device == nullptr)
        return false;
    auto* painter = new QPainter;
    if (!painter->begin(device)) {
        delete painter;
        return false;
    }
    attach(painter, true);
    return true;
}

void TCanvas::attach(QPainter* painter, bool owned)
{
    m_painter = painter;
    m_ownsPainter = owned;
    // A borrowed painter gets its owner's pen, brush, font, clip and modes back at End().
    if (!owned)
        m_painter->save();
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, true);
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_state->baseTransform = m_painter->transform();
    if (LogPixelsY() > 0)
        Font.SetPixelsPerInch(LogPixelsY());
    Refresh();
}

void TCanvas::End()
{
    if (m_painter != nullptr && m_ownsPainter) {
        if (m_painter->isActive())
            m_painter->end();
        delete m_painter;
    } else if (m_painter != nullptr && m_painter->isActive()) {
        m_painter->restore();
    }
    m_painter = nullptr;
    m_ownsPainter = false;
    m_hasClip = false;
    m_state->painterClipKnown = false;
    m_state->dpiDevice = nullptr;
    m_state->deviceDpiY = 0;
}

bool TCanvas::IsActive() const
{
    return m_painter != nullptr && m_painter->isActive();
}

QPainter* TCanvas::Painter() const
{
    if (IsActive())
        setPainterClip(m_hasClip, clipQRect());
    return m_painter;
}

QPaintDevice* TCanvas::Device() const
{
    return m_painter != nullptr ? m_painter->device() : nullptr;
}

void TCanvas::Refresh()
{
    State& s = *m_state;
    s.penRevision = 0;
    s.brushRevision = 0;
    s.backgroundBrushRevision = 0;
    s.fillBrushRevision = 0;
    s.painterFace.reset();
    s.faceFontRevision = 0;
    if (IsActive()) {
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        s.painterComposition = QPainter::CompositionMode_SourceOver;
        m_painter->setBackgroundMode(Qt::TransparentMode);
        s.painterOpaque = false;
        s.painterClipKnown = false;
        setPainterClip(m_hasClip, clipQRect());
    }
    SetMapMode(m_mapMode);
}

// ---- resolution and map mode

int TCanvas::LogPixelsX() const
{
    if (m_logPixelsX >= 0)
        return m_logPixelsX;
    const QPaintDevice* d = Device();
    return d != nullptr ? d->logicalDpiX() : noDeviceDpi;
}

int TCanvas::LogPixelsY() const
{
    if (m_logPixelsY >= 0)
        return m_logPixelsY;
    const QPaintDevice* d = Device();
    return d != nullptr ? d->logicalDpiY() : noDeviceDpi;
}

void TCanvas::SetLogPixels(int x, int y)
{
    m_logPixelsX = std::max(0, x);
    m_logPixelsY = std::max(0, y);
    if (m_logPixelsY > 0)
        Font.SetPixelsPerInch(m_logPixelsY);
    SetMapMode(m_mapMode);
}

void TCanvas::ResetLogPixels()
{
    m_logPixelsX = -1;
    m_logPixelsY = -1;
    if (LogPixelsY() > 0)
        Font.SetPixelsPerInch(LogPixelsY());
    SetMapMode(m_mapMode);
}

int TCanvas::GetDeviceCaps(int index) const
{
    const QPaintDevice* d = Device();
    switch (index) {
    case LOGPIXELSX: return LogPixelsX();
    case LOGPIXELSY: return LogPixelsY();
    case HORZRES: return d != nullptr ? d->width() : 0;
    case VERTRES: return d != nullptr ? d->height() : 0;
    case HORZSIZE: return d != nullptr && LogPixelsX() > 0 ? MulDiv(d->width(), 254, LogPixelsX() * 10) : 0;
    case VERTSIZE: return d != nullptr && LogPixelsY() > 0 ? MulDiv(d->height(), 254, LogPixelsY() * 10) : 0;
    default: return 0;
    }
}

int TCanvas::SetMapMode(int mode)
{
    const int previous = m_mapMode;
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return 0; // refused, as the platform answers an unknown mode
    m_mapMode = mode;
    State& s = *m_state;
    int unitsPerInch = 0;
    switch (mode) {
    case MM_LOMETRIC: unitsPerInch = 254; break;
    case MM_HIMETRIC: unitsPerInch = 2540; break;
    case MM_LOENGLISH: unitsPerInch = 100; break;
    case MM_HIENGLISH: unitsPerInch = 1000; break;
    case MM_TWIPS: unitsPerInch = 1440; break;
    default: break;
    }
    if (unitsPerInch == 0) {
        s.numX = s.denX = s.numY = s.denY = 1;
        s.yUp = false;
    } else {
        // A resolution injected as 0 cannot scale anything; the device's own is used then.
        const QPaintDevice* d = Device();
        const int dx = LogPixelsX() > 0 ? LogPixelsX() : (d ? d->logicalDpiX() : noDeviceDpi);
        const int dy = LogPixelsY() > 0 ? LogPixelsY() : (d ? d->logicalDpiY() : noDeviceDpi);
        s.numX = dx;
        s.numY = dy;
        s.denX = s.denY = unitsPerInch;
        s.yUp = true;
    }
    s.faceFontRevision = 0;
    return previous;
}

TPoint TCanvas::LPtoDP(TPoint p) const
{
    const State& s = *m_state;
    return {scaleToDevice(p.X, s.numX, s.denX), scaleToDevice(s.yUp ? -p.Y : p.Y, s.numY, s.denY)};
}

TPoint TCanvas::DPtoLP(TPoint p) const
{
    const State& s = *m_state;
    const int y = scaleToDevice(p.Y, s.denY, s.numY);
    return {scaleToDevice(p.X, s.denX, s.numX), s.yUp ? -y : y};
}

double TCanvas::scaleX() const
{
    return static_cast<double>(m_state->numX) / m_state->denX;
}

double TCanvas::scaleY() const
{
    return static_cast<double>(m_state->numY) / m_state->denY;
}

TRect TCanvas::mappedRect(int left, int top, int right, int bottom) const
{
    const TPoint a = LPtoDP({left, top});
    const TPoint b = LPtoDP({right, bottom});
    return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

int TCanvas::devicePenWidth() const
{
    const int w = Pen.Width();
    if (m_mapMode == MM_TEXT)
        return std::max(1, w);
    return std::max(1, scaleToDevice(w, m_state->numX, m_state->denX));
}

// ---- pen, brush and background

void TCanvas::applyQtBackground(bool opaque)
{
    State& s = *m_state;
    if (opaque != s.painterOpaque) {
        m_painter->setBackgroundMode(opaque ? Qt::OpaqueMode : Qt::TransparentMode);
        s.painterOpaque = opaque;
    }
    if (opaque) {
        const QColor bk = ToQColor(m_bkColor);
        if (bk != s.painterBackground) {
            m_painter->setBackground(QBrush(bk));
            s.painterBackground = bk;
        }
    }
}

void TCanvas::realizeBrushBackground()
{
    State& s = *m_state;
    if (s.backgroundBrushRevision == Brush.Revision())
        return;
    s.backgroundBrushRevision = Brush.Revision();
    if (Brush.Style() == bsSolid) {
        m_bkColor = ColorToRGB(Brush.Color());
        m_bkMode = OPAQUE;
    } else {
        // Hatches are drawn on a transparent background; the colour is never seen then.
        m_bkColor = ~ColorToRGB(Brush.Color()) & 0xFFFFFF;
        m_bkMode = TRANSPARENT;
    }
}

void TCanvas::prepareGeometry(bool useBrush)
{
    State& s = *m_state;
    realizeBrushBackground();
    if (s.penRevision != Pen.Revision()) {
        s.penRevision = Pen.Revision();
        s.brushRevision = 0; // the mode applies to the brush as well
        const QColor color = modeColor(Pen.Mode(), ToQColor(Pen.Color()));
        s.drawNothing = Pen.Mode() == pmNop;
        s.composition = compositionFor(Pen.Mode());
        const int w = devicePenWidth();
        QPen pen(Qt::NoPen);
        if (Pen.Style() == psClear) {
            // as made
        } else if (w <= 1) {
            // A cosmetic pen with flat ends leaves out the last pixel of a line, as the
            // platform's lines do; dash lengths are those of the platform's styled lines.
            pen = QPen(color, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
            pen.setCosmetic(true);
            switch (Pen.Style()) {
            case psDash: pen.setDashPattern({18, 6}); break;
            case psDot: pen.setDashPattern({3, 3}); break;
            case psDashDot: pen.setDashPattern({9, 6, 3, 6}); break;
            case psDashDotDot: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
            default: break;
            }
        } else {
            // Wide pens draw solid whatever their style, centred, with round ends and joins.
            pen = QPen(color, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        }
        if (pen != s.qpen)
            s.qpen = pen;
    }
    if (s.brushRevision != Brush.Revision()) {
        s.brushRevision = Brush.Revision();
        const QBrush brush(modeColor(Pen.Mode(), ToQColor(Brush.Color())), qtBrushStyle(Brush.Style()));
        if (brush != s.qbrush)
            s.qbrush = brush;
    }
    // QPainter passes on only what differs from what it holds.
    m_painter->setPen(s.qpen);
    m_painter->setBrush(useBrush ? s.qbrush : QBrush());
    if (s.composition != s.painterComposition) {
        m_painter->setCompositionMode(s.composition);
        s.painterComposition = s.composition;
    }
    // Gaps of styled lines and hatches show the background colour in opaque mode.
    applyQtBackground(m_bkMode == OPAQUE);
}

// Pen modes are for pens and brushes only: filling, pixels, images and text copy.
void TCanvas::useCopyMode()
{
    State& s = *m_state;
    if (s.painterComposition != QPainter::CompositionMode_SourceOver) {
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        s.painterComposition = QPainter::CompositionMode_SourceOver;
    }
}

// ---- lines and shapes

void TCanvas::MoveTo(int x, int y)
{
    m_penPos = {x, y};
}

void TCanvas::LineTo(int x, int y)
{
    const TPoint from = m_penPos;
    m_penPos = {x, y};
    if (!IsActive())
        return;
    prepareGeometry(false);
    if (m_state->drawNothing || Pen.Style() == psClear)
        return;
    const TPoint a = LPtoDP(from);
    const TPoint b = LPtoDP({x, y});
    const int spread = devicePenWidth() / 2 + 1;
    clipFor(QRect(QPoint(std::min(a.X, b.X), std::min(a.Y, b.Y)), QPoint(std::max(a.X, b.X), std::max(a.Y, b.Y)))
                .adjusted(-spread, -spread, spread, spread));
    if (devicePenWidth() <= 1)
        thinSegment(a, b);
    else // through pixel centres, so the width spreads evenly on both sides
        m_painter->drawLine(QPointF(a.X + 0.5, a.Y + 0.5), QPointF(b.X + 0.5, b.Y + 0.5));
}

// A 1-pixel line from a to b without b. Qt leaves out whichever end lies further along the major
// axis; when that is the start, the line is drawn backwards, moved one step towards a.
void TCanvas::thinSegment(TPoint a, TPoint b)
{
    const int dx = b.X - a.X;
    const int dy = b.Y - a.Y;
    if (dx == 0 && dy == 0)
        return;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const bool qtDropsEnd = xMajor ? dx > 0 : dy > 0;
    if (qtDropsEnd) {
        m_painter->drawLine(QPoint(a.X, a.Y), QPoint(b.X, b.Y));
        return;
    }
    const double major = std::max(std::abs(dx), std::abs(dy));
    const double sx = dx / major;
    const double sy = dy / major;
    m_painter->drawLine(QPointF(b.X - sx, b.Y - sy), QPointF(a.X - sx, a.Y - sy));
}

void TCanvas::Polyline(const std::vector<TPoint>& points)
{
    if (points.empty())
        return;
    m_penPos = points.front();
    for (std::size_t i = 1; i < points.size(); ++i)
        LineTo(points[i].X, points[i].Y);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (!IsActive())
        return;
    const TRect d = deviceRect(left, top, right, bottom);
    if (d.Width() <= 0 || d.Height() <= 0)
        return;
    prepareGeometry(true);
    if (m_state->drawNothing)
        return;
    clipFor(figureBounds(d));
    const int w = devicePenWidth();
    if (Pen.Style() == psClear || w <= 1) {
        // With a clear pen this fills one pixel less to the right and bottom, as the platform does.
        m_painter->drawRect(QRect(d.Left, d.Top, d.Width() - 1, d.Height() - 1));
    } else {
        QRectF r(d.Left + 0.5, d.Top + 0.5, d.Width() - 1, d.Height() - 1);
        if (Pen.Style() == psInsideFrame)
            r.adjust(w / 2.0 - 0.5, w / 2.0 - 0.5, 0.5 - w / 2.0, 0.5 - w / 2.0);
        m_painter->drawRect(r);
    }
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int w, int h)
{
    if (!IsActive())
        return;
    const TRect d = deviceRect(left, top, right, bottom);
    if (d.Width() <= 0 || d.Height() <= 0)
        return;
    roundedFigure(d, std::abs(scaleToDevice(w, m_state->numX, m_state->denX)),
                  std::abs(scaleToDevice(h, m_state->numY, m_state->denY)));
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (!IsActive())
        return;
    const TRect d = deviceRect(left, top, right, bottom);
    if (d.Width() <= 0 || d.Height() <= 0)
        return;
    roundedFigure(d, d.Width(), d.Height());
}

namespace {

// Pixel rows of a rectangle with elliptic corners (an ellipse when the corners take the whole
// rectangle): row y covers the pixels whose centres lie inside the figure, first..last inclusive.
struct Span {
    int first;
    int last;
    bool empty() const { return last < first; }
};

std::vector<Span> figureSpans(const TRect& r, int cornerW, int cornerH)
{
    const double rx = std::min(cornerW, r.Width()) / 2.0;
    const double ry = std::min(cornerH, r.Height()) / 2.0;
    std::vector<Span> spans(static_cast<std::size_t>(r.Height()));
    for (int y = r.Top; y < r.Bottom; ++y) {
        const double yc = y + 0.5;
        double inset = 0;
        double dy = 0;
        if (yc < r.Top + ry)
            dy = r.Top + ry - yc;
        else if (yc > r.Bottom - ry)
            dy = yc - (r.Bottom - ry);
        if (dy > 0 && ry > 0) {
            const double t = dy / ry;
            inset = t >= 1 ? rx : rx - rx * std::sqrt(1 - t * t);
        }
        Span& span = spans[static_cast<std::size_t>(y - r.Top)];
        span.first = std::max(r.Left, static_cast<int>(std::ceil(r.Left + inset - 0.5)));
        span.last = std::min(r.Right - 1, static_cast<int>(std::floor(r.Right - inset - 0.5)));
    }
    return spans;
}

// The outline of a set of rows as one polygon whose inside is exactly their pixels.
QPolygon spanPolygon(const std::vector<Span>& spans, int top)
{
    QPolygon right;
    QPolygon left;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        if (spans[i].empty())
            continue;
        const int y = top + static_cast<int>(i);
        right << QPoint(spans[i].last + 1, y) << QPoint(spans[i].last + 1, y + 1);
        left << QPoint(spans[i].first, y) << QPoint(spans[i].first, y + 1);
    }
    for (auto it = left.crbegin(); it != left.crend(); ++it)
        right << *it;
    return right;
}

} // namespace

void TCanvas::roundedFigure(const TRect& d, int cornerW, int cornerH)
{
    prepareGeometry(true);
    State& s = *m_state;
    if (s.drawNothing)
        return;
    clipFor(figureBounds(d));
    const int w = devicePenWidth();
    const bool clearPen = Pen.Style() == psClear;
    if (!clearPen && (w > 1 || Pen.Style() != psSolid)) {
        // Wide pens are centred on the outline; styled ones follow Qt's curve, kept inside.
        const double rx = std::min(cornerW, d.Width()) / 2.0;
        const double ry = std::min(cornerH, d.Height()) / 2.0;
        if (w > 1) {
            m_painter->drawRoundedRect(QRectF(d.Left + 0.5, d.Top + 0.5, d.Width() - 1, d.Height() - 1), rx, ry);
        } else {
            m_painter->save();
            m_painter->setClipRect(QRect(d.Left, d.Top, d.Width(), d.Height()), Qt::IntersectClip);
            m_painter->drawRoundedRect(QRectF(d.Left, d.Top, d.Width() - 1, d.Height() - 1), rx, ry);
            m_painter->restore();
        }
        return;
    }
    // A clear pen leaves the figure one pixel smaller to the right and bottom.
    const TRect box = clearPen ? Rect(d.Left, d.Top, d.Right - 1, d.Bottom - 1) : d;
    if (box.IsEmpty())
        return;
    const std::vector<Span> spans = figureSpans(box, cornerW, cornerH);
    m_painter->setPen(Qt::NoPen);
    if (clearPen) {
        m_painter->setBrush(s.qbrush);
        m_painter->drawPolygon(spanPolygon(spans, box.Top), Qt::OddEvenFill);
        return;
    }
    // Solid 1-pixel outline: the figure's pixels that touch the outside; the brush fills the rest.
    std::vector<Span> inner(spans.size(), Span{0, -1});
    for (std::size_t i = 1; i + 1 < spans.size(); ++i) {
        inner[i].first = std::max({spans[i].first + 1, spans[i - 1].first, spans[i + 1].first});
        inner[i].last = std::min({spans[i].last - 1, spans[i - 1].last, spans[i + 1].last});
    }
    const QPolygon outer = spanPolygon(spans, box.Top);
    const QPolygon hole = spanPolygon(inner, box.Top);
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addPolygon(outer);
    ring.closeSubpath();
    if (!hole.isEmpty()) {
        ring.addPolygon(hole);
        ring.closeSubpath();
    }
    m_painter->fillPath(ring, s.qpen.color());
    if (!hole.isEmpty() && Brush.Style() != bsClear) {
        m_painter->setBrush(s.qbrush);
        m_painter->drawPolygon(hole, Qt::OddEvenFill);
    }
}

void TCanvas::Polygon(const std::vector<TPoint>& points)
{
    if (!IsActive() || points.size() < 2)
        return;
    prepareGeometry(true);
    State& s = *m_state;
    if (s.drawNothing)
        return;
    {
        TRect extent{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (const TPoint& p : points) {
            const TPoint d = LPtoDP(p);
            extent = {std::min(extent.Left, d.X), std::min(extent.Top, d.Y), std::max(extent.Right, d.X + 1),
                      std::max(extent.Bottom, d.Y + 1)};
        }
        clipFor(figureBounds(extent));
    }
    const bool wide = devicePenWidth() > 1 && Pen.Style() != psClear;
    if (!wide) {
        QPolygon poly;
        poly.reserve(static_cast<int>(points.size()) + 1);
        for (const TPoint& p : points) {
            const TPoint d = LPtoDP(p);
            poly << QPoint(d.X, d.Y);
        }
        m_painter->setPen(Qt::NoPen);
        m_painter->drawPolygon(poly, Qt::OddEvenFill);
        // The outline edge by edge back to the start: every vertex drawn once.
        if (s.qpen.style() != Qt::NoPen) {
            m_painter->setPen(s.qpen);
            for (int i = 0; i < poly.size(); ++i) {
                const QPoint& p = poly[i];
                const QPoint& q = poly[(i + 1) % poly.size()];
                thinSegment({p.x(), p.y()}, {q.x(), q.y()});
            }
        }
    } else {
        QPolygonF poly;
        poly.reserve(static_cast<int>(points.size()));
        for (const TPoint& p : points) {
            const TPoint d = LPtoDP(p);
            poly << QPointF(d.X + 0.5, d.Y + 0.5);
        }
        m_painter->drawPolygon(poly, Qt::OddEvenFill);
    }
}

void TCanvas::FillRect(const TRect& r)
{
    FillRects(std::span<const TRect>(&r, 1));
}

void TCanvas::FillRects(std::span<const TRect> rects)
{
    if (!IsActive())
        return;
    QVarLengthArray<QRect, 128> areas;
    // The union of the areas, kept as edges: a barcode sends a rectangle for each bar.
    TRect edges{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const TRect& r : rects) {
        const TRect d = deviceRect(r.Left, r.Top, r.Right, r.Bottom);
        if (d.Width() <= 0 || d.Height() <= 0)
            continue;
        areas.append(QRect(d.Left, d.Top, d.Width(), d.Height()));
        edges = {std::min(edges.Left, d.Left), std::min(edges.Top, d.Top), std::max(edges.Right, d.Right),
                 std::max(edges.Bottom, d.Bottom)};
    }
    if (areas.isEmpty())
        return;
    const QRect bounds(edges.Left, edges.Top, edges.Right - edges.Left, edges.Bottom - edges.Top);
    if (Brush.Style() == bsSolid) {
        realizeBrushBackground();
        clipFor(bounds);
        useCopyMode(); // filling copies the brush whatever the pen's mode
        // Outline-less rectangles rather than QPainter::fillRect, which on a PDF writer sets and
        // puts back the pen and brush around every rectangle; and all of them in one call, so
        // that the bars of a barcode make one path filled once.
        State& s = *m_state;
        if (s.fillBrushRevision != Brush.Revision()) {
            s.fillBrushRevision = Brush.Revision();
            const QBrush brush(ToQColor(Brush.Color()));
            if (brush != s.fillBrush)
                s.fillBrush = brush;
        }
        if (m_painter->pen().style() != Qt::NoPen)
            m_painter->setPen(Qt::NoPen);
        m_painter->setBrush(s.fillBrush);
        m_painter->drawRects(areas.constData(), static_cast<int>(areas.size()));
        return;
    }
    prepareGeometry(true);
    if (Brush.Style() == bsClear)
        return;
    clipFor(bounds);
    useCopyMode();
    const QBrush brush(ToQColor(Brush.Color()), qtBrushStyle(Brush.Style()));
    for (const QRect& area : areas)
        m_painter->fillRect(area, brush);
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    if (!IsActive())
        return;
    const TRect d = deviceRect(r.Left, r.Top, r.Right, r.Bottom);
    if (d.Width() <= 0 || d.Height() <= 0)
        return;
    // Every other pixel of the border, each exactly once so that a second call undoes the first.
    QPolygon dots;
    for (int x = d.Left; x < d.Right; x += 2) {
        dots << QPoint(x, d.Top);
        if (d.Bottom - 1 > d.Top)
            dots << QPoint(x, d.Bottom - 1);
    }
    for (int y = d.Top + 2; y < d.Bottom - 1; y += 2) {
        dots << QPoint(d.Left, y);
        if (d.Right - 1 > d.Left)
            dots << QPoint(d.Right - 1, y);
    }
    clipFor(QRect(d.Left, d.Top, d.Width(), d.Height()));
    State& s = *m_state;
    QPen pen(Qt::black, 1);
    pen.setCosmetic(true);
    m_painter->setPen(pen);
    m_painter->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination); // inverts, see compositionFor
    m_painter->drawPoints(dots);
    m_painter->setCompositionMode(s.painterComposition);
}

TColor TCanvas::Pixel(int x, int y) const
{
    QPaintDevice* dev = Device();
    if (dev == nullptr || dev->devType() != QInternal::Image)
        return -1;
    const auto* image = static_cast<const QImage*>(dev);
    const TPoint d = LPtoDP({x, y});
    if (!image->valid(d.X, d.Y))
        return -1;
    return FromQColor(QColor(image->pixel(d.X, d.Y)));
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    if (!IsActive())
        return;
    const TPoint d = LPtoDP({x, y});
    clipFor(QRect(d.X, d.Y, 1, 1));
    useCopyMode();
    m_painter->fillRect(QRect(d.X, d.Y, 1, 1), ToQColor(color));
}

// ---- images

void TCanvas::Draw(int x, int y, const QImage& image)
{
    if (!IsActive() || image.isNull())
        return;
    const TPoint d = LPtoDP({x, y});
    clipFor(QRect(QPoint(d.X, d.Y), image.size()));
    useCopyMode();
    m_painter->setRenderHint(QPainter::LosslessImageRendering, !IsLossySource(image));
    m_painter->drawImage(QPoint(d.X, d.Y), image);
}

void TCanvas::StretchDraw(const TRect& dest, const QImage& image)
{
    StretchDraw(dest, image, Rect(0, 0, image.width(), image.height()));
}

void TCanvas::StretchDraw(const TRect& dest, const QImage& image, const TRect& source)
{
    if (!IsActive() || image.isNull() || source.IsEmpty())
        return;
    const TRect d = deviceRect(dest.Left, dest.Top, dest.Right, dest.Bottom);
    if (d.IsEmpty())
        return;
    clipFor(QRect(d.Left, d.Top, d.Width(), d.Height()));
    useCopyMode();
    m_painter->setRenderHint(QPainter::LosslessImageRendering, !IsLossySource(image));
    m_painter->drawImage(QRect(d.Left, d.Top, d.Width(), d.Height()), image,
                         QRect(source.Left, source.Top, source.Width(), source.Height()));
}

// ---- clipping

// The clip goes to the painter at the first drawing that needs it (clipFor).
void TCanvas::SetClipRect(const TRect& deviceRect)
{
    m_hasClip = true;
    m_clip = deviceRect;
}

void TCanvas::RemoveClip()
{
    m_hasClip = false;
}

QRect TCanvas::clipQRect() const
{
    return QRect(m_clip.Left, m_clip.Top, std::max(0, m_clip.Width()), std::max(0, m_clip.Height()));
}

void TCanvas::setPainterClip(bool on, const QRect& rect) const
{
    State& s = *m_state;
    if (s.painterClipKnown && s.painterClipOn == on && (!on || s.painterClip == rect))
        return;
    if (on)
        m_painter->setClipRect(rect);
    else
        m_painter->setClipping(false);
    s.painterClipKnown = true;
    s.painterClipOn = on;
    s.painterClip = on ? rect : QRect();
}

void TCanvas::clipFor(const QRect& bounds)
{
    const State& s = *m_state;
    // Whatever the painter's clip, a drawing inside both it and the canvas's clip comes out the
    // same as with the canvas's clip alone. (Every shape and text comes here: no QRect calls.)
    const auto inside = [&](int left, int top, int right, int bottom) {
        return bounds.left() >= left && bounds.top() >= top && bounds.left() + bounds.width() <= right &&
               bounds.top() + bounds.height() <= bottom;
    };
    if (s.painterClipKnown && !bounds.isEmpty() &&
        (!m_hasClip || inside(m_clip.Left, m_clip.Top, m_clip.Right, m_clip.Bottom)) &&
        (!s.painterClipOn || inside(s.painterClip.left(), s.painterClip.top(),
                                    s.painterClip.left() + s.painterClip.width(),
                                    s.painterClip.top() + s.painterClip.height())))
        return;
    setPainterClip(m_hasClip, clipQRect());
}

QRect TCanvas::figureBounds(const TRect& d) const
{
    // Wide pens are centred on the outline; a pixel more for rounding.
    const int spread = devicePenWidth() / 2 + 1;
    return QRect(d.Left, d.Top, d.Width(), d.Height()).adjusted(-spread, -spread, spread, spread);
}

TClipGuard::TClipGuard(TCanvas& canvas, const TRect& deviceRect)
    : m_canvas(canvas), m_hadClip(canvas.HasClip()), m_previous(canvas.ClipRect())
{
    canvas.SetClipRect(deviceRect);
}

TClipGuard::~TClipGuard()
{
    if (m_hadClip)
        m_canvas.SetClipRect(m_previous);
    else
        m_canvas.RemoveClip();
}

} // namespace platform
