#pragma once

#include "platform/Graphics.h"

#include <QImage>
#include <QString>
#include <memory>
#include <span>
#include <vector>

class QPainter;
class QPaintDevice;

namespace platform::fontengine {
struct Face;
}

// Drawing surface in the manner of the original platform's device contexts, over a QPainter on
// any device (image, PDF, printer, widget). Its rules are those the drawing code was written for:
// - a rectangle (l, t, r, b) covers device pixels l..r-1 and t..b-1, outline included; with a
//   clear pen the filled area is one pixel smaller to the right and bottom;
// - LineTo leaves out its end point; 1-wide pens draw 1 device pixel, wider pens are centred on
//   the path with round ends;
// - text is placed by SetTextAlign around (x, y) and turned by Font.Escapement (tenths of a
//   degree, counter-clockwise, y axis down) around that same point;
// - text background is opaque or transparent (SetBkMode); changing the brush sets it again on
//   the next drawing: a solid brush gives an opaque background of the brush colour, any other
//   style a transparent one (so "brush clear, then draw text" draws the text transparently);
// - pen modes other than pmCopy (pmNotXor rubber bands...) work on images and screens, not in PDF;
// - coordinates are logical units of the map mode (MM_TEXT: device pixels; MM_LOMETRIC 0.1 mm and
//   MM_HIMETRIC 0.01 mm with y pointing up), converted at LogPixelsX/Y; clip rectangles are in
//   device pixels, like the platform's regions.
// Qt objects are built only when a pen, brush or font has changed since the last drawing, and
// only what differs from what the painter holds is sent to it: on a PDF writer every pen, brush
// and above all every clip sent costs the page a new graphics state. The clip goes to the painter
// only for a drawing that could reach beyond it.
namespace platform {

// DrawText formats.
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_EXTERNALLEADING = 0x0200;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;

// Text alignment of TextOut (one horizontal and one vertical value or'ed).
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Map modes. MM_ISOTROPIC and MM_ANISOTROPIC are accepted and map one unit to one pixel.
constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;
constexpr int MM_HIMETRIC = 3;
constexpr int MM_LOENGLISH = 4;
constexpr int MM_HIENGLISH = 5;
constexpr int MM_TWIPS = 6;
constexpr int MM_ISOTROPIC = 7;
constexpr int MM_ANISOTROPIC = 8;

// Device capabilities.
constexpr int HORZSIZE = 4;  // millimetres
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;   // pixels
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

class TCanvas {
public:
    // No device yet: measuring works (at 96 pixels per inch), drawing does nothing.
    TCanvas();
    // Paints on the device from now until End() or destruction.
    explicit TCanvas(QPaintDevice* device);
    // Paints through a painter that someone else began (a widget's paint event); never ends it.
    // Its transformation at that moment stays: canvas coordinates are taken relative to it.
    // End() (or destruction) gives the painter back in the state it was lent in.
    explicit TCanvas(QPainter* painter);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    bool Begin(QPaintDevice* device);
    void End();
    bool IsActive() const;
    // The painter, clipped as the canvas is. Whoever draws on it directly puts back what they
    // change (save and restore): the canvas goes on from the state it left the painter in.
    QPainter* Painter() const;
    QPaintDevice* Device() const;
    // After the device started a new page: set every attribute again (clip included).
    void Refresh();

    TPen Pen;
    TBrush Brush;
    TFont Font; // its PixelsPerInch follows LogPixelsY

    // Resolution the drawing code reads as LOGPIXELSX/Y: the device's own unless injected (a
    // print preview or test drawing on an image "as" a 300-dpi printer). 0 is a valid injection.
    int LogPixelsX() const;
    int LogPixelsY() const;
    void SetLogPixels(int x, int y);
    void ResetLogPixels();
    int GetDeviceCaps(int index) const;

    // The print loops draw differently on a printer (bitmaps, barcodes at printer resolution).
    bool IsPrinterCanvas() const { return m_printer; }
    void SetPrinterCanvas(bool printer) { m_printer = printer; }

    int GetMapMode() const { return m_mapMode; }
    int SetMapMode(int mode); // returns the previous mode
    TPoint LPtoDP(TPoint p) const;
    TPoint DPtoLP(TPoint p) const;

    // Lines and shapes, filled with Brush and outlined with Pen.
    TPoint PenPos() const { return m_penPos; }
    void SetPenPos(TPoint p) { m_penPos = p; }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const std::vector<TPoint>& points);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    // Corners are quarter ellipses of width w and height h.
    void RoundRect(int left, int top, int right, int bottom, int w, int h);
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // Filled by the even-odd rule and closed.
    void Polygon(const std::vector<TPoint>& points);
    // Fills with Brush, no outline.
    void FillRect(const TRect& r);
    // The same for many rectangles at once (the bars of a barcode): one drawing call.
    void FillRects(std::span<const TRect> rects);
    // Dotted rectangle drawn by inversion: drawing it twice restores the pixels.
    void DrawFocusRect(const TRect& r);
    // -1 when the device cannot be read back (anything but an image).
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // Images, nearest-neighbour as the platform's colour-on-colour stretching.
    void Draw(int x, int y, const QImage& image);
    void StretchDraw(const TRect& dest, const QImage& image);
    void StretchDraw(const TRect& dest, const QImage& image, const TRect& source);

    // Text.
    unsigned SetTextAlign(unsigned align); // returns the previous alignment
    unsigned GetTextAlign() const { return m_textAlign; }
    int SetBkMode(int mode);                // returns the previous mode
    int GetBkMode() const { return m_bkMode; }
    TColor SetBkColor(TColor color);        // returns the previous colour
    TColor GetBkColor() const { return m_bkColor; }
    void TextOut(int x, int y, const QString& text);
    int TextWidth(const QString& text);
    int TextHeight(const QString& text); // the font's cell height, whatever the text
    TSize TextExtent(const QString& text);
    TTextMetric GetTextMetrics();
    // Draws or (DT_CALCRECT) measures text in a rectangle, each line in a cell of the font's
    // height, ignoring SetTextAlign. Lines break at CR, LF and CR LF (a final break opens no line)
    // unless DT_SINGLELINE, where they are left out. DT_WORDBREAK breaks at the last blank that
    // fits and drops that blank, except that a left-aligned line keeps it when it fits (measured,
    // unseen); a word wider than the rectangle stands alone on its line, sticking out.
    // DT_CALCRECT sets rect's Right and Bottom to the size of the text and draws nothing; empty
    // text measures 0 x 0. Without DT_NOCLIP output is clipped to the rectangle. Without
    // DT_NOPREFIX "&x" shows x and "&&" shows "&". Returns the text height.
    int DrawText(const QString& text, TRect& rect, unsigned format);

    // Clipping, in device pixels. Drawings are cut as if the painter held the clip from here on;
    // it is sent to the painter when a drawing could cross it.
    void SetClipRect(const TRect& deviceRect);
    void RemoveClip();
    bool HasClip() const { return m_hasClip; }
    TRect ClipRect() const { return m_clip; }

private:
    struct State;
    void attach(QPainter* painter, bool owned);
    void prepareGeometry(bool useBrush);
    void useCopyMode();
    void thinSegment(TPoint a, TPoint b);
    void roundedFigure(const TRect& deviceRect, int cornerW, int cornerH);
    void realizeBrushBackground();
    void applyQtBackground(bool opaque);
    const fontengine::Face& face();
    double scaleX() const;
    double scaleY() const;
    TRect deviceRect(int left, int top, int right, int bottom) const; // TCanvasPrivate.h
    TRect mappedRect(int left, int top, int right, int bottom) const;
    int devicePenWidth() const;
    // `width`: the text's, when known (-1: measured here).
    // `f` is face(), which the caller has in hand.
    void drawTextLine(const fontengine::Face& f, int x, int y, const QString& text, unsigned align, bool clipHere,
                      int width = -1);
    // No underline or strike-out: the text paints its glyphs' ink and nothing else.
    bool plainGlyphs() const;
    QRect clipQRect() const;
    // Clips the painter as the canvas is clipped for a drawing that touches only the device
    // pixels in `bounds` (null: anywhere); the painter's clip is left alone when it gives the
    // same result.
    void clipFor(const QRect& bounds);
    void setPainterClip(bool on, const QRect& rect) const;
    // Device pixels a figure drawn with the current pen may touch, the figure's rectangle given.
    QRect figureBounds(const TRect& deviceRect) const;

    QPainter* m_painter = nullptr;
    bool m_ownsPainter = false;
    std::unique_ptr<State> m_state;

    bool m_printer = false;
    int m_logPixelsX = -1; // -1: from the device
    int m_logPixelsY = -1;
    int m_mapMode = MM_TEXT;
    TPoint m_penPos;
    unsigned m_textAlign = TA_LEFT | TA_TOP;
    int m_bkMode = OPAQUE;
    TColor m_bkColor = clWhite;
    bool m_hasClip = false;
    TRect m_clip;
};

// Clips a canvas to a device rectangle for the life of the guard, then puts back the clipping
// it had before (none, or the previous rectangle).
class TClipGuard {
public:
    TClipGuard(TCanvas& canvas, const TRect& deviceRect);
    ~TClipGuard();
    TClipGuard(const TClipGuard&) = delete;
    TClipGuard& operator=(const TClipGuard&) = delete;

private:
    TCanvas& m_canvas;
    bool m_hadClip;
    TRect m_previous;
};

} // namespace platform
