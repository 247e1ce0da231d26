// Text output of TCanvas: TextOut with its alignment and escapement, measuring, and DrawText with
// the line and word breaking of the original platform.
#include "platform/TCanvas.h"

#include "platform/TCanvasPrivate.h"

#include <QPaintDevice>
#include <QTransform>
#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {

namespace {

// Whether a text holds a CR or an LF: one pass, asked of every text laid out.
bool hasLineBreak(const QString& text)
{
    const QChar* const begin = text.constData();
    return std::any_of(begin, begin + text.size(), [](QChar c) { return c == u'\r' || c == u'\n'; });
}

// Paragraphs of a text: CR LF, CR and LF each end one. A break at the very end opens no new line.
QStringList paragraphs(const QString& text)
{
    if (!hasLineBreak(text))
        return {text};
    QStringList out;
    QString current;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            out << current;
            current.clear();
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            current += c;
        }
    }
    if (!current.isEmpty() || out.isEmpty())
        out << current;
    return out;
}

// "&x" shows x (underlined on the platform, plain here), "&&" shows "&".
QString withoutPrefixes(const QString& text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        QChar c = text.at(i);
        if (c == QLatin1Char('&') && i + 1 < text.size())
            c = text.at(++i);
        out += c;
    }
    return out;
}

QString withoutBreaks(const QString& text)
{
    if (!hasLineBreak(text))
        return text;
    QString out = text;
    out.remove(QLatin1Char('\r'));
    out.remove(QLatin1Char('\n'));
    return out;
}

// Extents of the first n characters, for n = 0..size: widths add up glyph by glyph since the
// faces neither kern nor shape.
std::vector<double> prefixAdvances(const fontengine::Face& face, const QString& s)
{
    std::vector<double> sums(static_cast<std::size_t>(s.size()) + 1, 0.0);
    for (int i = 0; i < s.size(); ++i)
        sums[static_cast<std::size_t>(i) + 1] = sums[static_cast<std::size_t>(i)] + face.charAdvance(s, i);
    return sums;
}

// One paragraph broken into lines at blanks, the way the platform's word break goes: the line
// ends at the last blank before the first character that does not fit; one blank at the break is
// dropped (kept on a left-aligned line's end, where it cannot be seen); a word that does not fit
// on a line of its own stands alone on it, overflowing. A paragraph that fits gives its width
// along, with its ink; the caller measures the lines of a broken one.
void wordBreak(const fontengine::Face& face, const QString& para, int width, bool centredOrRight,
               QStringList& lines, std::vector<int>& widths, std::vector<QRectF>& inks)
{
    double advance = 0;
    const QRectF ink = face.inkBounds(para, &advance);
    const int whole = R(advance);
    if (whole <= width) { // the usual case, without the breaking below
        lines << para;
        widths.push_back(whole);
        inks.push_back(ink);
        return;
    }
    const QChar space = QLatin1Char(' ');
    int pos = 0;
    do {
        const QString rest = para.mid(pos);
        const std::vector<double> sums = prefixAdvances(face, rest);
        const int len = static_cast<int>(rest.size());
        if (R(sums.back()) <= width) {
            lines << rest;
            return;
        }
        int fit = 0;
        while (fit < len && R(sums[static_cast<std::size_t>(fit) + 1]) <= width)
            ++fit;
        int p = fit;
        bool wordFits = true;
        if (fit == 0) {
            wordFits = false;
        } else if (rest.at(p) == space) {
            --p;
        } else {
            while (p > 0 && rest.at(--p) != space) {
            }
            wordFits = p != 0 || rest.at(p) == space;
        }
        int lineLength;
        int used;
        if (wordFits) {
            if (!centredOrRight || rest.at(p) != space)
                ++p;
            lineLength = p;
            used = p;
            if (p < len && rest.at(p) == space)
                ++used;
        } else {
            p = 0;
            while (p < len && rest.at(p) != space)
                ++p;
            lineLength = p;
            used = p < len ? p + 1 : p;
        }
        lines << rest.left(lineLength);
        pos += std::max(1, used);
    } while (pos < para.size());
}

// Lays a text out into `layout`: its lines, their widths and ink. Kept apart from DrawText, which
// runs for every text of every label and mostly finds the layout made by the measuring before.
[[gnu::noinline]] void layOut(TextLayout& layout, const fontengine::Face& f,
                              const std::shared_ptr<const fontengine::Face>& face, const QString& text,
                              const QString& shown, unsigned format, int width)
{
    // The last layout's lists are filled again: a text is laid out for every label drawn.
    QStringList& lines = layout.lines;
    std::vector<int>& lineWidths = layout.widths;
    std::vector<QRectF>& inks = layout.inks;
    lines.clear();
    lineWidths.clear();
    inks.clear();
    layout.face.reset(); // no layout while it is made
    const bool breaking = (format & DT_WORDBREAK) != 0;
    const bool centredOrRight = (format & (DT_CENTER | DT_RIGHT)) != 0;
    // A line's width and ink, in one pass over it.
    const auto measure = [&](const QString& line) {
        double advance = 0;
        inks.push_back(f.inkBounds(line, &advance));
        lineWidths.push_back(line.isEmpty() ? 0 : R(advance));
    };
    const auto addLine = [&](const QString& line) {
        lines << line;
        measure(line);
    };
    const auto breakLines = [&](const QString& para) {
        wordBreak(f, para, width, centredOrRight, lines, lineWidths, inks);
        for (auto i = static_cast<qsizetype>(lineWidths.size()); i < lines.size(); ++i)
            measure(lines[i]);
    };
    if (format & DT_SINGLELINE) {
        addLine(withoutBreaks(shown));
    } else if (!hasLineBreak(shown)) {
        if (breaking && !shown.isEmpty())
            breakLines(shown);
        else
            addLine(shown);
    } else {
        for (const QString& para : paragraphs(shown)) {
            if (breaking && !para.isEmpty())
                breakLines(para);
            else
                addLine(para);
        }
    }
    layout.text = text;
    layout.face = face;
    layout.format = format;
    layout.width = width;
}

// Where a line of text drawn with its cell's top-left corner at (left, top) and `width` wide can
// put paint: its glyphs' ink, and its cell when the background is opaque.
QRectF textArea(const fontengine::Face& f, const QRectF& ink, int left, int top, int width, bool opaque)
{
    QRectF area = ink.translated(left, top + f.tm.tmAscent);
    if (opaque && width > 0)
        area |= QRectF(left, top, width, f.tm.tmHeight);
    return area;
}

} // namespace

bool TCanvas::plainGlyphs() const
{
    return !Font.Style().Contains(fsUnderline) && !Font.Style().Contains(fsStrikeOut);
}

const fontengine::Face& TCanvas::face()
{
    State& s = *m_state;
    const QPaintDevice* dev = Device();
    // A device's resolution is asked of it once: the question goes through its paint engine.
    if (dev != s.dpiDevice || s.deviceDpiY == 0) {
        s.dpiDevice = dev;
        s.deviceDpiY = dev != nullptr ? dev->logicalDpiY() : 96;
    }
    const int dpi = s.deviceDpiY;
    int height = Font.Height();
    if (m_mapMode != MM_TEXT && height != 0) {
        const int scaled = std::max(1, scaleToDevice(std::abs(height), s.numY, s.denY));
        height = height < 0 ? -scaled : scaled;
    }
    if (s.face && s.faceFontRevision == Font.Revision() && s.faceDeviceDpi == dpi && s.faceHeight == height)
        return *s.face;
    // Fonts are assigned and resized for every text drawn; most of the time the glyphs stay the
    // same, and the face in hand is the one the cache would give.
    const QString name = Font.Name();
    const TFontStyles style = Font.Style();
    if (!s.face || s.faceDeviceDpi != dpi || s.faceHeight != height || s.faceStyle != style || s.faceName != name) {
        const auto same = [&](const State::RecentFace& r) {
            return r.face && r.deviceDpi == dpi && r.height == height && r.style == style && r.name == name;
        };
        const auto recent = std::find_if(s.recentFaces.begin(), s.recentFaces.end(), same);
        if (recent != s.recentFaces.end()) {
            s.face = recent->face;
        } else {
            s.face = fontengine::face(name, height, style, dpi);
            s.recentFaces[s.nextRecentFace] = {s.face, name, height, style, dpi};
            s.nextRecentFace = (s.nextRecentFace + 1) % s.recentFaces.size();
        }
        s.faceDeviceDpi = dpi;
        s.faceHeight = height;
        s.faceStyle = style;
        s.faceName = name;
    }
    s.faceFontRevision = Font.Revision();
    return *s.face;
}

unsigned TCanvas::SetTextAlign(unsigned align)
{
    const unsigned previous = m_textAlign;
    m_textAlign = align;
    return previous;
}

int TCanvas::SetBkMode(int mode)
{
    const int previous = m_bkMode;
    if (mode == TRANSPARENT || mode == OPAQUE)
        m_bkMode = mode;
    return previous;
}

TColor TCanvas::SetBkColor(TColor color)
{
    const TColor previous = m_bkColor;
    m_bkColor = ColorToRGB(color);
    return previous;
}

int TCanvas::TextWidth(const QString& text)
{
    return TextExtent(text).cx;
}

int TCanvas::TextHeight(const QString& text)
{
    return TextExtent(text).cy;
}

TSize TCanvas::TextExtent(const QString& text)
{
    const fontengine::Face& f = face();
    const State& s = *m_state;
    return {scaleToDevice(f.width(text), s.denX, s.numX), scaleToDevice(f.tm.tmHeight, s.denY, s.numY)};
}

TTextMetric TCanvas::GetTextMetrics()
{
    TTextMetric tm = face().tm;
    if (m_mapMode != MM_TEXT) {
        const State& s = *m_state;
        auto y = [&](int v) { return scaleToDevice(v, s.denY, s.numY); };
        auto x = [&](int v) { return scaleToDevice(v, s.denX, s.numX); };
        tm.tmHeight = y(tm.tmHeight);
        tm.tmAscent = y(tm.tmAscent);
        tm.tmDescent = tm.tmHeight - tm.tmAscent;
        tm.tmInternalLeading = y(tm.tmInternalLeading);
        tm.tmExternalLeading = y(tm.tmExternalLeading);
        tm.tmAveCharWidth = x(tm.tmAveCharWidth);
        tm.tmMaxCharWidth = x(tm.tmMaxCharWidth);
    }
    return tm;
}

void TCanvas::drawTextLine(const fontengine::Face& f, int x, int y, const QString& text, unsigned align, bool clipHere,
                           int width)
{
    State& s = *m_state;
    const int w = width >= 0 ? width : f.width(text);
    const TTextMetric& tm = f.tm;

    int left = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        left = -w / 2;
    else if ((align & TA_CENTER) == TA_RIGHT)
        left = -w;
    int top = 0;
    if ((align & TA_BASELINE) == TA_BASELINE)
        top = -tm.tmAscent;
    else if ((align & TA_BASELINE) == TA_BOTTOM)
        top = -tm.tmHeight;

    const int escapement = Font.Escapement() % 3600;
    const bool turned = escapement != 0;
    // Counter-clockwise on a y-down device is a negative angle for Qt.
    const QTransform turn = turned ? QTransform::fromTranslate(x, y).rotate(-escapement / 10.0) : QTransform();
    if (!turned) {
        left += x;
        top += y;
    }
    if (clipHere) {
        if (plainGlyphs()) {
            const QRectF area = turn.mapRect(textArea(f, f.inkBounds(text), left, top, w, m_bkMode == OPAQUE));
            // Turned glyphs land on fractions of pixels: one more all round.
            if (!area.isEmpty())
                clipFor(turned ? area.toAlignedRect().adjusted(-1, -1, 1, 1) : area.toAlignedRect());
        } else {
            clipFor(QRect());
        }
    }
    if (turned)
        m_painter->setTransform(turn * s.baseTransform);

    useCopyMode();
    applyQtBackground(false); // the text cell is filled here, not by Qt
    if (m_bkMode == OPAQUE && w > 0)
        m_painter->fillRect(QRect(left, top, w, tm.tmHeight), ToQColor(m_bkColor));
    if (s.painterFace != s.face) {
        m_painter->setFont(f.font);
        s.painterFace = s.face;
    }
    // Glyphs are filled with the pen's colour and nothing else of it, so any pen of that colour
    // will do; the canvas's own is preferred, so the next line or shape finds it in place.
    const QColor color = ToQColor(Font.Color());
    const QPen& held = m_painter->pen();
    if (held.style() == Qt::NoPen || !held.isSolid() || held.color() != color) {
        const bool ownFits = s.qpen.style() != Qt::NoPen && s.qpen.isSolid() && s.qpen.color() == color;
        m_painter->setPen(ownFits ? s.qpen : QPen(color));
    }
    m_painter->drawText(QPointF(left, top + tm.tmAscent), text);

    if (turned)
        m_painter->setTransform(s.baseTransform);
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    if (!IsActive() || text.isEmpty())
        return;
    realizeBrushBackground();
    const TPoint d = LPtoDP({x, y});
    drawTextLine(face(), d.X, d.Y, text, m_textAlign, true);
}

int TCanvas::DrawText(const QString& text, TRect& rect, unsigned format)
{
    const bool calc = (format & DT_CALCRECT) != 0;
    State& s = *m_state;
    if (text.isEmpty()) {
        if (calc) {
            rect.Right = rect.Left;
            rect.Bottom = rect.Top;
        }
        return 0;
    }
    const fontengine::Face& f = face();
    const int lineHeight = f.tm.tmHeight + ((format & DT_EXTERNALLEADING) ? f.tm.tmExternalLeading : 0);
    const TRect d = deviceRect(rect.Left, rect.Top, rect.Right, rect.Bottom);
    const QString shown = (format & DT_NOPREFIX) ? text : withoutPrefixes(text);

    TextLayout& layout = s.layout;
    const unsigned layoutFormat = format & ~DT_CALCRECT;
    if (layout.face != s.face || layout.format != layoutFormat || layout.width != d.Width() || layout.text != text)
        layOut(layout, f, s.face, text, shown, layoutFormat, d.Width());
    const QStringList& lines = layout.lines;
    const std::vector<int>& widths = layout.widths;
    const int maxWidth = widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end());
    const int total = lineHeight * static_cast<int>(lines.size());

    if (calc) {
        rect.Right = rect.Left + scaleToDevice(maxWidth, s.denX, s.numX);
        const int h = scaleToDevice(total, s.denY, s.numY);
        rect.Bottom = rect.Top + (s.yUp ? -h : h);
        return h;
    }

    int y = d.Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = d.Top + (d.Height() - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = d.Bottom - lineHeight;
    }
    const int height = y - d.Top + total;
    if (!IsActive())
        return scaleToDevice(height, s.denY, s.numY);

    realizeBrushBackground();
    QVarLengthArray<int, 16> xs;
    xs.reserve(static_cast<qsizetype>(widths.size()));
    for (const int w : widths) {
        int x = d.Left;
        if (format & DT_CENTER)
            x = (d.Left + d.Right - w) / 2;
        else if (format & DT_RIGHT)
            x = d.Right - w;
        xs.push_back(x);
    }
    // Clipped to the rectangle (and to the canvas's own clip), set before any text is turned.
    // A text that cannot reach beyond either needs neither: on a PDF writer every change of the
    // clip restores the graphics state and sends the pen and brush again.
    QRect bounds; // null: anywhere
    bool shows = true;
    if (Font.Escapement() % 3600 == 0 && plainGlyphs()) {
        QRectF area;
        for (int i = 0; i < lines.size(); ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (!lines[i].isEmpty())
                area |= textArea(f, layout.inks[k], xs[k], y + i * lineHeight, widths[k], m_bkMode == OPAQUE);
        }
        shows = !area.isEmpty();
        if (shows)
            bounds = area.toAlignedRect();
    }
    const QRect box(d.Left, d.Top, d.Width(), d.Height());
    if (!shows) {
        // blanks only: no clip can change anything
    } else if ((format & DT_NOCLIP) == 0 && (bounds.isNull() || !box.contains(bounds))) {
        setPainterClip(true, m_hasClip ? box & clipQRect() : box);
    } else {
        clipFor(bounds);
    }
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].isEmpty())
            drawTextLine(f, xs[static_cast<std::size_t>(i)], y, lines[i], TA_LEFT | TA_TOP, false,
                         widths[static_cast<std::size_t>(i)]);
        y += lineHeight;
    }
    return scaleToDevice(height, s.denY, s.numY);
}

} // namespace platform
