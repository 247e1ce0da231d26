#include "platform/FontEngine.h"

#include "platform/Rounding.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <mutex>
#include <tuple>

namespace platform::fontengine {

namespace {

QFont baseFont(const QString& name, TFontStyles style)
{
    QFont f(name);
    f.setBold(style.Contains(fsBold));
    f.setItalic(style.Contains(fsItalic));
    f.setUnderline(style.Contains(fsUnderline));
    f.setStrikeOut(style.Contains(fsStrikeOut));
    // The original platform neither kerns nor forms ligatures in plain text output, and hinted
    // advances would make widths jump between sizes.
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::PreferNoShaping));
    return f;
}

// Cell height (ascent + descent) per pixel of em, for positive (cell) heights.
double cellPerEm(const QString& name, TFontStyles style)
{
    thread_local QHash<QString, double> ratios;
    const QString key = name + QLatin1Char('|') + QString::number(style.Bits());
    auto it = ratios.constFind(key);
    if (it != ratios.constEnd())
        return *it;
    QFont f = baseFont(name, style);
    f.setPixelSize(1000);
    const QFontMetricsF m(f);
    double ratio = (m.ascent() + m.descent()) / 1000.0;
    if (!(ratio > 0.1))
        ratio = 1.0;
    ratios.insert(key, ratio);
    return ratio;
}

using Key = std::tuple<QString, int, unsigned, int>;

// x == std::floor(x), which without the processor's rounding instructions is a long sequence,
// and this runs for every character drawn. From 2^52 up every double is whole; NaN is not.
bool wholePixel(double x)
{
    constexpr double whole = 4503599627370496.0; // 2^52
    return std::abs(x) < whole ? static_cast<double>(static_cast<std::int64_t>(x)) == x : x == x;
}

} // namespace

void installSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // fontconfig usually aliases these already; stating it keeps text widths right on a
        // system configured otherwise.
        const QStringList sans = QFont::substitutes(QStringLiteral("Arial"));
        if (!sans.contains(QStringLiteral("Liberation Sans")))
            QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        if (!QFont::substitutes(QStringLiteral("Times New Roman")).contains(QStringLiteral("Liberation Serif")))
            QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
        if (!QFont::substitutes(QStringLiteral("Courier New")).contains(QStringLiteral("Liberation Mono")))
            QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    });
}

const Face::Glyph& Face::learn(char16_t c) const
{
    Glyph& g = c < m_latin1.size() ? m_latin1[c] : m_glyphs[c];
    const QChar ch(c);
    g.advance = metrics.horizontalAdvance(ch);
    const QRectF box = metrics.boundingRect(ch);
    g.inked = !box.isEmpty();
    g.left = box.left();
    g.top = box.top();
    g.right = box.right();
    g.bottom = box.bottom();
    g.known = true;
    return g;
}

double Face::charAdvance(const QString& text, int i) const
{
    const char16_t u = text.at(i).unicode();
    if (QChar::isLowSurrogate(u))
        return 0;
    if (QChar::isHighSurrogate(u))
        return i + 1 < text.size() ? metrics.horizontalAdvance(text.mid(i, 2)) : 0;
    return glyph(u).advance;
}

double Face::advance(const QString& text) const
{
    double sum = 0;
    const char16_t* const data = reinterpret_cast<const char16_t*>(text.constData());
    const int size = static_cast<int>(text.size());
    for (int i = 0; i < size; ++i) {
        const char16_t u = data[i];
        sum += QChar::isSurrogate(u) ? charAdvance(text, i) : glyph(u).advance;
    }
    return sum;
}

int Face::width(const QString& text) const
{
    return text.isEmpty() ? 0 : R(advance(text));
}

QRectF Face::inkBounds(const QString& text, double* advance) const
{
    // Edges start beyond any glyph's, so that the first box sets them with no test of its own:
    // this runs for every character drawn.
    constexpr double none = std::numeric_limits<double>::infinity();
    double left = none, top = none, right = -none, bottom = -none;
    bool inked = false;
    double x = 0;
    const auto take = [&](double l, double t, double r, double b) {
        const double slack = wholePixel(x) ? 0 : 1;
        left = std::min(left, l + (x - slack));
        right = std::max(right, r + (x + slack));
        top = std::min(top, t);
        bottom = std::max(bottom, b);
        inked = true;
    };
    const char16_t* const data = reinterpret_cast<const char16_t*>(text.constData());
    const int size = static_cast<int>(text.size());
    for (int i = 0; i < size; ++i) {
        const char16_t u = data[i];
        if (!QChar::isSurrogate(u)) {
            const Glyph& g = glyph(u);
            if (g.inked)
                take(g.left, g.top, g.right, g.bottom);
            x += g.advance;
            continue;
        }
        if (QChar::isHighSurrogate(u) && i + 1 < size) {
            const QRectF box = metrics.boundingRect(text.mid(i, 2));
            if (!box.isEmpty())
                take(box.left(), box.top(), box.right(), box.bottom());
        }
        x += charAdvance(text, i);
    }
    if (advance != nullptr)
        *advance = x; // the same sum, in the same order, as advance(text)
    return inked ? QRectF(QPointF(left, top), QPointF(right, bottom)) : QRectF();
}

std::shared_ptr<const Face> face(const QString& name, int height, TFontStyles style, int deviceDpiY)
{
    installSubstitutions();
    if (deviceDpiY <= 0)
        deviceDpiY = 96;
    thread_local std::map<Key, std::shared_ptr<const Face>> cache;
    const Key key{name, height, style.Bits(), deviceDpiY};
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    if (cache.size() > 512) // a long run through many sizes; rebuilding is cheap enough
        cache.clear();

    auto made = std::make_shared<Face>();
    QFont f = baseFont(name, style);
    // Qt sizes fonts in whole pixels. A character height is one already; a cell height takes
    // the nearest em and then reports itself exactly, as the platform's font mapper does.
    int em;
    if (height < 0)
        em = -height;
    else if (height > 0)
        em = R(height / cellPerEm(name, style));
    else
        em = MulDiv(12, deviceDpiY, 72); // the platform's default for a zero height
    em = std::max(em, 1);
    f.setPixelSize(em);
    made->font = f;
    made->metrics = QFontMetricsF(f);
    made->emPx = em;
    made->ascentPx = made->metrics.ascent();
    made->descentPx = made->metrics.descent();

    TTextMetric& tm = made->tm;
    const double cell = made->ascentPx + made->descentPx;
    if (height > 0) {
        tm.tmHeight = height;
        tm.tmAscent = R(height * made->ascentPx / cell);
    } else {
        tm.tmHeight = R(cell);
        tm.tmAscent = R(made->ascentPx);
    }
    tm.tmDescent = tm.tmHeight - tm.tmAscent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - em);
    tm.tmExternalLeading = std::max(0, R(made->metrics.leading()));
    tm.tmAveCharWidth = R(made->metrics.averageCharWidth());
    tm.tmMaxCharWidth = R(made->metrics.maxWidth());

    cache.emplace(key, made);
    return made;
}

} // namespace platform::fontengine
