#pragma once

#include "platform/TColor.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>

class QImage;

// Points, rectangles, pens, brushes and fonts as the drawing code of the program thinks of them:
// integer device or logical units, rectangles given by their edges with the right and bottom
// edge outside, fonts by a height in pixels whose sign says what it measures.
namespace platform {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// Left and Top are inside, Right and Bottom just outside: Rect(0, 0, 10, 10) covers pixels 0..9.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height)
{
    return {left, top, left + width, top + height};
}

// The change notification of pens, brushes and fonts (a design object repaints on it).
using TNotifyEvent = std::function<void()>;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// How the pen combines with what is already drawn. pmCopy is ordinary drawing; the XOR modes
// draw rubber bands that a second drawing erases (only on images and screens, not in PDF).
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

enum TBrushStyle {
    bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles: Style() + fsBold, style.Contains(fsItalic).
class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> styles)
    {
        for (TFontStyle s : styles)
            m_bits |= bit(s);
    }
    constexpr bool Contains(TFontStyle s) const { return (m_bits & bit(s)) != 0; }
    constexpr bool IsEmpty() const { return m_bits == 0; }
    constexpr TFontStyles operator+(TFontStyle s) const { return fromBits(m_bits | bit(s)); }
    constexpr TFontStyles operator-(TFontStyle s) const { return fromBits(m_bits & ~bit(s)); }
    constexpr TFontStyles operator+(TFontStyles o) const { return fromBits(m_bits | o.m_bits); }
    constexpr TFontStyles operator-(TFontStyles o) const { return fromBits(m_bits & ~o.m_bits); }
    constexpr unsigned Bits() const { return m_bits; }
    static constexpr TFontStyles fromBits(unsigned bits)
    {
        TFontStyles s;
        s.m_bits = bits & 0xF;
        return s;
    }
    friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

private:
    static constexpr unsigned bit(TFontStyle s) { return 1u << static_cast<unsigned>(s); }
    unsigned m_bits = 0;
};

// Pens, brushes and fonts are values. Assigning one to another copies the drawing attributes
// and fires the target's OnChange, as the platform's property assignment does; the OnChange
// handler itself is never copied. Revision() changes on every change, so a canvas can tell
// cheaply whether it has to build its Qt objects again.
class TGraphicsObject {
public:
    TNotifyEvent OnChange;
    std::uint64_t Revision() const { return m_revision; }

protected:
    TGraphicsObject();
    TGraphicsObject(const TGraphicsObject&);
    TGraphicsObject& operator=(const TGraphicsObject&);
    ~TGraphicsObject() = default;
    void Changed();
    // A pen's or font's assignment: OnChange fires as for any change, but the revision moves
    // only when the attributes did, so a canvas keeps what it built from equal ones.
    void Assigned(bool differs);

private:
    std::uint64_t m_revision;
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    TPen(const TPen&) = default;
    TPen& operator=(const TPen& other) { Assign(other); return *this; }
    void Assign(const TPen& other);

    TColor Color() const { return m_color; }
    void SetColor(TColor c);
    // Width in logical units; below 1 counts as 1. Styles other than solid and clear draw solid
    // when the width is above 1, as the platform's pens do.
    int Width() const { return m_width; }
    void SetWidth(int w);
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle s);
    TPenMode Mode() const { return m_mode; }
    void SetMode(TPenMode m);

private:
    TColor m_color = clBlack;
    int m_width = 1;
    TPenStyle m_style = psSolid;
    TPenMode m_mode = pmCopy;
};

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    TBrush(const TBrush&) = default;
    TBrush& operator=(const TBrush& other) { Assign(other); return *this; }
    void Assign(const TBrush& other);

    TColor Color() const { return m_color; }
    void SetColor(TColor c);
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle s);

private:
    TColor m_color = clWhite;
    TBrushStyle m_style = bsSolid;
};

// A font description. Height < 0 is the character (em) height in pixels, Height > 0 the cell
// height (ascent + descent); Size is in points at PixelsPerInch:
// Size = -MulDiv(Height, 72, PixelsPerInch) and setting Size sets Height = -MulDiv(Size, PPI, 72).
// Escapement turns the text counter-clockwise in tenths of a degree around its reference point.
class TFont : public TGraphicsObject {
public:
    TFont() = default;
    TFont(const TFont&) = default;
    // Copies everything but PixelsPerInch; when the two PixelsPerInch differ the point Size is
    // kept (the height is converted), as when a screen font is given to a printer canvas.
    TFont& operator=(const TFont& other) { Assign(other); return *this; }
    void Assign(const TFont& other);

    QString Name() const { return m_name; }
    void SetName(const QString& name);
    int Height() const { return m_height; }
    void SetHeight(int h);
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles s);
    TColor Color() const { return m_color; }
    void SetColor(TColor c);
    int PixelsPerInch() const { return m_pixelsPerInch; }
    void SetPixelsPerInch(int ppi); // keeps Height
    int CharSet() const { return m_charSet; }
    void SetCharSet(int charSet);
    int Escapement() const { return m_escapement; }
    void SetEscapement(int tenths);
    // Kept with the description; glyphs always turn with the escapement, as on the original
    // platform in its compatible graphics mode.
    int Orientation() const { return m_orientation; }
    void SetOrientation(int tenths);

    // Same face, height and style: the same glyphs (colour and escapement aside).
    bool SameGlyphs(const TFont& other) const
    {
        return m_height == other.m_height && m_style == other.m_style && m_name == other.m_name;
    }

private:
    QString m_name = QStringLiteral("Arial");
    int m_height = -11;
    TFontStyles m_style;
    TColor m_color = clWindowText;
    int m_pixelsPerInch = 96;
    int m_charSet = 1; // DEFAULT_CHARSET
    int m_escapement = 0;
    int m_orientation = 0;
};

// Metrics of a font in pixels, named after the platform's record. tmHeight = tmAscent + tmDescent.
struct TTextMetric {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
};

// Metrics and text width of a font at its own pixel height, without any canvas (a window's own
// font measured on itself).
TTextMetric GetTextMetrics(const TFont& font);
int TextWidthOf(const TFont& font, const QString& text);

// A picture decoded from a lossy file (a JPEG photo) may go into a PDF lossy again; every other
// picture (a drawing, a logo, a scan) goes in with its pixels as they are. The mark travels with
// the image's copies and conversions.
void MarkLossySource(QImage& image);
bool IsLossySource(const QImage& image);

} // namespace platform
