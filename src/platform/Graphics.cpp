#include "platform/Graphics.h"

#include "platform/FontEngine.h"
#include "platform/Rounding.h"

#include <QImage>
#include <atomic>

namespace platform {

namespace {

std::uint64_t nextRevision()
{
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

// The resolution a font description is measured at when no canvas is involved. Heights are in
// pixels, so only the default height 0 depends on it.
constexpr int standaloneDpi = 96;

} // namespace

TGraphicsObject::TGraphicsObject() : m_revision(nextRevision()) {}

// A copy is a new object: it gets its own revision and no change handler.
TGraphicsObject::TGraphicsObject(const TGraphicsObject&) : m_revision(nextRevision()) {}

TGraphicsObject& TGraphicsObject::operator=(const TGraphicsObject&)
{
    return *this;
}

void TGraphicsObject::Changed()
{
    m_revision = nextRevision();
    if (OnChange)
        OnChange();
}

void TGraphicsObject::Assigned(bool differs)
{
    if (differs)
        m_revision = nextRevision();
    if (OnChange)
        OnChange();
}

// ---- TPen

void TPen::Assign(const TPen& other)
{
    if (this == &other)
        return;
    const bool differs = m_color != other.m_color || m_width != other.m_width || m_style != other.m_style ||
                         m_mode != other.m_mode;
    m_color = other.m_color;
    m_width = other.m_width;
    m_style = other.m_style;
    m_mode = other.m_mode;
    Assigned(differs);
}

void TPen::SetColor(TColor c)
{
    if (c != m_color) {
        m_color = c;
        Changed();
    }
}

void TPen::SetWidth(int w)
{
    if (w < 1)
        w = 1;
    if (w != m_width) {
        m_width = w;
        Changed();
    }
}

void TPen::SetStyle(TPenStyle s)
{
    if (s != m_style) {
        m_style = s;
        Changed();
    }
}

void TPen::SetMode(TPenMode m)
{
    if (m != m_mode) {
        m_mode = m;
        Changed();
    }
}

// ---- TBrush

void TBrush::Assign(const TBrush& other)
{
    if (this == &other)
        return;
    m_color = other.m_color;
    m_style = other.m_style;
    // Always a change: a canvas takes a brush's background again after any change of it, as
    // the platform selects the brush anew.
    Changed();
}

void TBrush::SetColor(TColor c)
{
    // Giving a clear brush a colour makes it solid, as on the original platform.
    const bool makeSolid = m_style == bsClear;
    if (c != m_color || makeSolid) {
        m_color = c;
        if (makeSolid)
            m_style = bsSolid;
        Changed();
    }
}

void TBrush::SetStyle(TBrushStyle s)
{
    if (s != m_style) {
        m_style = s;
        Changed();
    }
}

// ---- TFont

void TFont::Assign(const TFont& other)
{
    if (this == &other)
        return;
    const int height =
        m_pixelsPerInch == other.m_pixelsPerInch ? other.m_height : -MulDiv(other.Size(), m_pixelsPerInch, 72);
    const bool differs = m_height != height || m_style != other.m_style || m_color != other.m_color ||
                         m_charSet != other.m_charSet || m_escapement != other.m_escapement ||
                         m_orientation != other.m_orientation || m_name != other.m_name;
    m_name = other.m_name;
    m_style = other.m_style;
    m_color = other.m_color;
    m_charSet = other.m_charSet;
    m_escapement = other.m_escapement;
    m_orientation = other.m_orientation;
    m_height = height;
    Assigned(differs);
}

void TFont::SetName(const QString& name)
{
    if (name != m_name) {
        m_name = name;
        Changed();
    }
}

void TFont::SetHeight(int h)
{
    if (h != m_height) {
        m_height = h;
        Changed();
    }
}

int TFont::Size() const
{
    return -MulDiv(m_height, 72, m_pixelsPerInch);
}

void TFont::SetSize(int points)
{
    SetHeight(-MulDiv(points, m_pixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles s)
{
    if (s != m_style) {
        m_style = s;
        Changed();
    }
}

void TFont::SetColor(TColor c)
{
    if (c != m_color) {
        m_color = c;
        Changed();
    }
}

void TFont::SetPixelsPerInch(int ppi)
{
    if (ppi > 0 && ppi != m_pixelsPerInch) {
        m_pixelsPerInch = ppi;
        Changed();
    }
}

void TFont::SetCharSet(int charSet)
{
    if (charSet != m_charSet) {
        m_charSet = charSet;
        Changed();
    }
}

void TFont::SetEscapement(int tenths)
{
    if (tenths != m_escapement) {
        m_escapement = tenths;
        Changed();
    }
}

void TFont::SetOrientation(int tenths)
{
    if (tenths != m_orientation) {
        m_orientation = tenths;
        Changed();
    }
}

TTextMetric GetTextMetrics(const TFont& font)
{
    return fontengine::face(font.Name(), font.Height(), font.Style(), standaloneDpi)->tm;
}

int TextWidthOf(const TFont& font, const QString& text)
{
    return fontengine::face(font.Name(), font.Height(), font.Style(), standaloneDpi)->width(text);
}

static const char* const kLossySourceKey = "PravolisLossySource";

void MarkLossySource(QImage& image)
{
    image.setText(QLatin1String(kLossySourceKey), QStringLiteral("1"));
}

bool IsLossySource(const QImage& image)
{
    return !image.text(QLatin1String(kLossySourceKey)).isEmpty();
}

} // namespace platform
