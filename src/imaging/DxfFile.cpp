#include "imaging/DxfFile.h"

#include <QFile>
#include <QPainter>

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <vector>

namespace imaging {

namespace {

constexpr double kMinSide = 64.0;
constexpr double kMaxSide = 2048.0;
constexpr int kMargin = 2;
// A drawing beyond this many strokes is a hostile file, not a picture for a label.
constexpr int kMaxStrokes = 100000;

bool finite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v) || std::abs(v) > 1e9)
            return false;
    return true;
}

// The colour of an entity from its AutoCAD colour index; anything but the first six is drawn
// black (index 7 is black on a white sheet).
QColor colorOf(int index)
{
    switch (index) {
    case 1: return Qt::red;
    case 2: return Qt::yellow;
    case 3: return Qt::green;
    case 4: return Qt::cyan;
    case 5: return Qt::blue;
    case 6: return Qt::magenta;
    default: return Qt::black;
    }
}

class Collector : public DL_CreationAdapter {
public:
    explicit Collector(DxfDrawing& drawing) : m_drawing(drawing) {}

    void addLine(const DL_LineData& d) override
    {
        if (!begin() || !finite({d.x1, d.y1, d.x2, d.y2}))
            return;
        QPainterPath p(QPointF(d.x1, d.y1));
        p.lineTo(d.x2, d.y2);
        add(p);
    }
    void addPoint(const DL_PointData& d) override
    {
        if (!begin() || !finite({d.x, d.y}))
            return;
        QPainterPath p(QPointF(d.x, d.y));
        p.lineTo(d.x, d.y);
        add(p);
    }
    void addCircle(const DL_CircleData& d) override
    {
        if (!begin() || !finite({d.cx, d.cy, d.radius}) || d.radius <= 0)
            return;
        QPainterPath p;
        p.addEllipse(QPointF(d.cx, d.cy), d.radius, d.radius);
        add(p);
    }
    void addArc(const DL_ArcData& d) override
    {
        if (!begin() || !finite({d.cx, d.cy, d.radius, d.angle1, d.angle2}) || d.radius <= 0)
            return;
        // Counter-clockwise from the first angle to the second, in degrees, y upwards.
        double sweep = std::fmod(d.angle2 - d.angle1, 360.0);
        if (sweep <= 0)
            sweep += 360.0;
        const QRectF box(d.cx - d.radius, d.cy - d.radius, 2 * d.radius, 2 * d.radius);
        QPainterPath p;
        // QPainterPath angles run counter-clockwise with y downwards: our y is upwards, so
        // the angles are mirrored here and the whole drawing is mirrored back when drawn.
        p.arcMoveTo(box, -d.angle1);
        p.arcTo(box, -d.angle1, -sweep);
        add(p);
    }
    void addEllipse(const DL_EllipseData& d) override
    {
        if (!begin() || !finite({d.cx, d.cy, d.mx, d.my, d.ratio, d.angle1, d.angle2}) || d.ratio <= 0)
            return;
        const double major = std::hypot(d.mx, d.my);
        if (major <= 0)
            return;
        const double rotation = std::atan2(d.my, d.mx);
        // Counter-clockwise from the start parameter to the end, at most one turn; parameters
        // of any size are brought into one turn in one step.
        const double start = std::fmod(d.angle1, 2 * M_PI);
        double sweep = std::fmod(d.angle2 - d.angle1, 2 * M_PI);
        if (sweep <= 0)
            sweep += 2 * M_PI;
        QPainterPath p;
        const int steps = 72;
        for (int i = 0; i <= steps; ++i) {
            const double t = start + sweep * i / steps;
            const double x = major * std::cos(t), y = major * d.ratio * std::sin(t);
            const QPointF at(d.cx + x * std::cos(rotation) - y * std::sin(rotation),
                             d.cy + x * std::sin(rotation) + y * std::cos(rotation));
            if (i == 0)
                p.moveTo(at);
            else
                p.lineTo(at);
        }
        add(p);
    }
    void addPolyline(const DL_PolylineData& d) override
    {
        if (!begin())
            return;
        m_inPolyline = true;
        // Its own colour: the sequence end that finishes an old-style polyline has another.
        m_polylineColor = colorOf(attributes.getColor());
        m_closed = (d.flags & 1) != 0;
        m_polyline = QPainterPath();
    }
    void addVertex(const DL_VertexData& d) override
    {
        if (!m_inPolyline || m_polyline.elementCount() >= kMaxStrokes || !finite({d.x, d.y}))
            return;
        if (m_polyline.elementCount() == 0)
            m_polyline.moveTo(d.x, d.y);
        else
            m_polyline.lineTo(d.x, d.y);
    }
    // An old-style polyline ends with its sequence; a lightweight one at the next entity or
    // the end of the file (its vertices come before any other entity).
    void endSequence() override { finishPolyline(); }

    void finishPolyline()
    {
        if (m_inPolyline && m_polyline.elementCount() > 0) {
            if (m_closed)
                m_polyline.closeSubpath();
            if (m_drawing.strokes.size() < kMaxStrokes)
                m_drawing.strokes.append({m_polyline, m_polylineColor});
        }
        m_inPolyline = false;
        m_polyline = QPainterPath();
    }

private:
    // Every entity ends a polyline still open, so each keeps its own colour and its place; a
    // drawing with its fill of strokes takes no more.
    bool begin()
    {
        finishPolyline();
        return m_drawing.strokes.size() < kMaxStrokes;
    }
    void add(const QPainterPath& path)
    {
        if (m_drawing.strokes.size() < kMaxStrokes)
            m_drawing.strokes.append({path, colorOf(attributes.getColor())});
    }

    DxfDrawing& m_drawing;
    QPainterPath m_polyline;
    QColor m_polylineColor;
    bool m_inPolyline = false;
    bool m_closed = false;
};

// dxflib reads each line into 1024 bytes and never gets past a longer one: lines are cut
// before it sees them. No value a drawing needs is that long.
QByteArray withShortLines(const QByteArray& bytes)
{
    constexpr qsizetype kLongestLine = 1000;
    QByteArray cut;
    bool cutting = false;
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', from);
        end = end < 0 ? bytes.size() : end + 1;
        if (end - from > kLongestLine + 1) {
            if (!cutting)
                cut = bytes.left(from);
            cutting = true;
            cut += bytes.mid(from, kLongestLine);
            if (bytes[end - 1] == '\n')
                cut += '\n';
        } else if (cutting) {
            cut += bytes.mid(from, end - from);
        }
        from = end;
    }
    return cutting ? cut : bytes;
}

// The numeric groups of a drawing: coordinates, sizes and angles (read as doubles) and flags
// and counts (read as integers).
bool numericGroup(int code)
{
    return (code >= 10 && code <= 99) || (code >= 110 && code <= 149) || (code >= 160 && code <= 179)
           || (code >= 210 && code <= 239) || (code >= 270 && code <= 289) || (code >= 370 && code <= 389)
           || (code >= 400 && code <= 409) || (code >= 420 && code <= 429) || (code >= 440 && code <= 469)
           || (code >= 1010 && code <= 1071);
}

// dxflib reads a number with a stream, which leaves its double as the stack held it when the
// line holds nothing to read: a number has to start the line (after blanks), with its sign and
// the comma that dxflib takes for a point.
bool holdsNumber(const char* value)
{
    while (*value == ' ' || *value == '\t' || *value == '\r')
        ++value;
    if (*value == '+' || *value == '-')
        ++value;
    if (*value == '.' || *value == ',')
        ++value;
    return *value >= '0' && *value <= '9';
}

// How many numbers of its own each element of a counted list takes in dxflib, which allocates
// that many doubles from the count before any element is read; 0 for a group that is no count.
int countedWidth(const QByteArray& entity, int code)
{
    if (entity == "LWPOLYLINE")
        return code == 90 ? 4 : 0;
    if (entity == "SPLINE")
        return code == 72 ? 1 : code == 73 ? 4 : code == 74 ? 3 : 0; // knots; points and weights; fit points
    if (entity == "LEADER")
        return code == 76 ? 3 : 0;
    return 0;
}

// dxflib trusts the counts a drawing states: it allocates and clears the stated number of
// vertices, knots or points at once, in int arithmetic that wraps (a count of 2^30 + 1 vertices
// gets 4 doubles and a loop far past them), and takes an empty value line for a number it never
// sets. The groups are checked here, pair by pair as dxflib splits them, before it sees them:
// every numeric value holds a number, and the counts an entity states together are no more than
// the groups left in that entity, since each element takes a group (two lines) of its own. What
// dxflib then allocates grows with the file, once over.
bool groupsAreSound(const QByteArray& bytes)
{
    // dxflib keeps a line up to its first NUL: the lines end in NULs here too, and each is read
    // as a C string, as dxflib reads it.
    QByteArray text = bytes;
    char* const data = text.data();
    std::vector<const char*> lines;
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (data[i] == '\n') {
            data[i] = '\0';
            lines.push_back(data + from);
            from = i + 1;
        }
    if (from < text.size())
        lines.push_back(data + from);
    struct Group {
        int code;
        const char* value;
    };
    std::vector<Group> groups;
    groups.reserve(lines.size() / 2);
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
        groups.push_back({int(unsigned(std::strtol(lines[i], nullptr, 10))), lines[i + 1]});

    // An entity runs from its 0 group (dxflib starts one at a 9 group too) to the next; the
    // groups before the first belong to none.
    size_t start = 0;
    while (start < groups.size()) {
        const bool opens = groups[start].code == 0 || groups[start].code == 9;
        size_t end = start + 1;
        while (end < groups.size() && groups[end].code != 0 && groups[end].code != 9)
            ++end;
        const QByteArray entity = opens ? QByteArray(groups[start].value).trimmed() : QByteArray();
        const qint64 room = qint64(end - start - 1);
        qint64 stated = 0;
        for (size_t g = opens ? start + 1 : start; g < end; ++g) {
            const int code = groups[g].code;
            if (!numericGroup(code))
                continue;
            if (!holdsNumber(groups[g].value))
                return false;
            const int width = countedWidth(entity, code);
            if (width == 0)
                continue;
            const long long count = std::strtoll(groups[g].value, nullptr, 10);
            if (count < 0 || count > std::numeric_limits<int>::max() / width)
                return false;
            stated += count;
            if (stated > room)
                return false;
        }
        start = end;
    }
    return true;
}

} // namespace

QRectF DxfDrawing::bounds() const
{
    // QRectF::united() drops a rectangle of no width and no height, which is what a point has:
    // a lone point away from the other strokes would fall outside the picture. Extents are
    // joined by their edges instead.
    bool any = false;
    double left = 0, top = 0, right = 0, bottom = 0;
    for (const Stroke& s : strokes) {
        if (s.path.elementCount() == 0)
            continue;
        const QRectF r = s.path.controlPointRect();
        if (!any) {
            left = r.left(), top = r.top(), right = r.right(), bottom = r.bottom();
            any = true;
            continue;
        }
        left = qMin(left, r.left());
        top = qMin(top, r.top());
        right = qMax(right, r.right());
        bottom = qMax(bottom, r.bottom());
    }
    return any ? QRectF(QPointF(left, top), QPointF(right, bottom)) : QRectF();
}

bool readDxf(const QString& path, DxfDrawing& drawing, QString* why)
{
    auto refuse = [&](const QString& text) {
        if (why != nullptr)
            *why = text;
        return false;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("cannot open the file"));
    const QByteArray bytes = file.readAll();
    if (!bytes.contains("SECTION") || !bytes.contains("ENTITIES"))
        return refuse(QStringLiteral("not a DXF drawing"));
    // dxflib takes whatever it read before the file ended: a drawing without its end marker
    // has lost entities.
    if (!bytes.trimmed().endsWith("EOF"))
        return refuse(QStringLiteral("DXF drawing is truncated"));
    const QByteArray lines = withShortLines(bytes);
    if (!groupsAreSound(lines))
        return refuse(QStringLiteral("DXF drawing is damaged"));
    std::istringstream stream(lines.toStdString());
    DxfDrawing read;
    Collector collector(read);
    DL_Dxf dxf;
    try {
        if (!dxf.in(stream, &collector))
            return refuse(QStringLiteral("DXF drawing cannot be read"));
    } catch (const std::exception&) {
        return refuse(QStringLiteral("DXF drawing is damaged"));
    }
    collector.finishPolyline();
    if (read.strokes.isEmpty())
        return refuse(QStringLiteral("DXF drawing has nothing that can be drawn"));
    drawing = read;
    return true;
}

namespace {
double scaleOf(const QRectF& bounds)
{
    const double side = qMax(bounds.width(), bounds.height());
    // A drawing this small is a point: raised to the smallest side, it would overflow.
    if (side <= 1e-9)
        return 1.0;
    if (side > kMaxSide)
        return kMaxSide / side;
    if (side < kMinSide)
        return kMinSide / side;
    return 1.0;
}
} // namespace

QSize dxfPixelSize(const DxfDrawing& drawing)
{
    const QRectF b = drawing.bounds();
    const double s = scaleOf(b);
    auto pixels = [s](double length) {
        const double scaled = std::ceil(length * s);
        return int(scaled >= 0 && scaled <= kMaxSide ? scaled : kMaxSide) + 2 * kMargin + 1;
    };
    return QSize(pixels(b.width()), pixels(b.height()));
}

QImage renderDxf(const DxfDrawing& drawing)
{
    const QRectF b = drawing.bounds();
    const double s = scaleOf(b);
    const QSize size = dxfPixelSize(drawing);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawing units to pixels, y turned downwards.
    p.translate(kMargin + 0.5, size.height() - kMargin - 0.5);
    p.scale(s, -s);
    p.translate(-b.left(), -b.top());
    for (const DxfDrawing::Stroke& stroke : drawing.strokes) {
        QPen pen(stroke.color, 0);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPath(stroke.path);
    }
    p.end();
    return image;
}

} // namespace imaging
