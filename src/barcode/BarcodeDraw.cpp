#include "barcode/BarLL.h"

#include "platform/Rounding.h"
#include "platform/Screen.h"
#include "platform/TCanvas.h"
#include "platform/TextCodec.h"

#include <QVarLengthArray>
#include <algorithm>

using namespace platform;

namespace barcode {

namespace {

// Narrow module in millimetres by btCodeSizes; anything beyond SC9 draws as SC2.
double moduleMillimetres(btCodeSizes size)
{
    static const double sizes[10] = {0.27, 0.297, 0.33, 0.363, 0.396, 0.445, 0.495, 0.544, 0.61, 0.66};
    return size <= SC9 ? sizes[size] : 0.33;
}

bool withMargins(btCodeTypes type)
{
    return type == EAN_13 || type == UPC_A;
}

bool isEanUpc(btCodeTypes type)
{
    return type <= UPC_E;
}

// EAN/UPC data digits are drawn shorter than the guard bars, leaving room for the digits.
bool isDataModule(btCodeTypes type, int k)
{
    switch (type) {
    case EAN_8:
        return (k >= 4 && k <= 31) || (k >= 37 && k <= 64);
    case EAN_13:
    case UPC_A:
        return (k >= 4 && k <= 45) || (k >= 51 && k <= 92);
    case UPC_E:
        return k >= 4 && k <= 45;
    default:
        return false;
    }
}

// Puts back what the drawing changes on the caller's canvas.
class CanvasStateGuard {
public:
    explicit CanvasStateGuard(TCanvas& canvas)
        : m_canvas(canvas), m_brushColor(canvas.Brush.Color()), m_brushStyle(canvas.Brush.Style()),
          m_textAlign(canvas.GetTextAlign()), m_bkMode(canvas.GetBkMode()), m_bkColor(canvas.GetBkColor()),
          m_font(canvas.Font)
    {
    }
    ~CanvasStateGuard()
    {
        m_canvas.Brush.SetColor(m_brushColor);
        m_canvas.Brush.SetStyle(m_brushStyle);
        m_canvas.SetTextAlign(m_textAlign);
        m_canvas.SetBkMode(m_bkMode);
        m_canvas.SetBkColor(m_bkColor);
        m_canvas.Font = m_font;
    }
    CanvasStateGuard(const CanvasStateGuard&) = delete;
    CanvasStateGuard& operator=(const CanvasStateGuard&) = delete;

private:
    TCanvas& m_canvas;
    TColor m_brushColor;
    TBrushStyle m_brushStyle;
    unsigned m_textAlign;
    int m_bkMode;
    TColor m_bkColor;
    TFont m_font;
};

int measureText(TCanvas& canvas, const QString& fontName, int fontHeight)
{
    canvas.Font.SetName(fontName);
    canvas.Font.SetHeight(std::max(1, fontHeight));
    canvas.Font.SetEscapement(0);
    return canvas.TextHeight(QStringLiteral("Ay"));
}

} // namespace

TBarcodeGeometry TLLBarcode::Layout(TCanvas& canvas)
{
    double px = canvas.LogPixelsX() / 25.4;
    double py = canvas.LogPixelsY() / 25.4;
    if (canvas.LogPixelsX() == 0 || canvas.LogPixelsY() == 0)
        px = py = platform::ScreenPixelsPerInch() / 25.4;
    Encode();

    const btCodeTypes type = Params.CodeType;
    const bool readable = Params.HumanReadable;
    const double fontScale = Params.Fontscaling / 100.0;
    TBarcodeGeometry g;

    if (type == Postnet || type == Postnet_FIM) {
        const bool fim = type == Postnet_FIM;
        const int b = R(px * (fim ? 0.79375 : 0.508));
        const double p = fim ? px * 1.5875 : px * 25.4 / 22;
        const int tall = R(py * (fim ? 15.875 : 3.175));
        const int shortBar = fim ? tall : R(py * 1.27);
        const int factor = fim ? 1 : 5;
        g.FontHeight = R(factor * tall * 74.24 / 56.24 * 0.18 * fontScale);
        g.TextHeight = measureText(canvas, Params.Fontname, g.FontHeight);
        // FIM bars go where the reported width counts them, so the last one is never cut off.
        auto start = [&](int k) { return R((k - 1) * p); };
        g.Width = start(ModuleCount) + b + 1;
        g.Height = tall + 1 + (readable ? g.TextHeight : 0);
        for (int k = 1; k <= ModuleCount; ++k) {
            if (fim && !Modules[k])
                continue;
            const int top = (fim || Modules[k]) ? 0 : tall - shortBar;
            g.Bars.push_back({start(k), top, start(k) + b, tall});
        }
        if (readable)
            g.Texts.push_back({(start(1) + start(ModuleCount)) / 2, tall, HumanReadableText()});
        return g;
    }

    const double mm = moduleMillimetres(Params.ModuleWidth) / (Params.HighDensity ? 2.0 : 1.0);
    const int m = std::max(1, R(mm * px));
    const int margin = withMargins(type) ? 10 * m : 0;
    const double heightModules = withMargins(type) ? 74.24 : 56.24;
    const bool zoom = Params.ZoomSize;
    const int h = zoom ? R(heightModules * mm * py) : R(heightModules * m * py / px);
    auto start = [&](int k) { return margin + (zoom ? R(mm * (k - 1) * px) : (k - 1) * m); };
    auto runWidth = [&](int n) { return zoom ? R(mm * n * px) : n * m; };

    const int cut = MulDiv(h, 100 - Params.HeightPercent, 100);
    g.FontHeight = withMargins(type) ? R(h * 0.18 * fontScale) : R(h * 74.24 / 56.24 * 0.18 * fontScale);
    g.TextHeight = measureText(canvas, Params.Fontname, g.FontHeight);
    const int th = g.TextHeight;

    g.Width = start(ModuleCount) + margin + m + 1;
    if (!readable)
        g.Height = R(h - cut) + 1;
    else if (isEanUpc(type))
        g.Height = th + R(h * 0.9336 - cut) + 1;
    else
        g.Height = th + R(h - cut) + 1;

    const int dataBottom = R(h * 0.917) - cut;
    const int fullBottom = h - cut;
    for (int k = 1; k <= ModuleCount;) {
        int n = 1;
        while (k + n <= ModuleCount && Modules[k + n] == Modules[k])
            ++n;
        if (Modules[k]) {
            const int left = start(k);
            const int width = runWidth(n);
            int right = left + width;
            if (Params.WidthReduce && width > 1)
                --right;
            const int top = (withMargins(type) && k >= 101) ? th + m : 0;
            const int bottom = isDataModule(type, k) ? dataBottom : fullBottom;
            g.Bars.push_back({left, top, right, bottom});
        }
        k += n;
    }

    if (!readable)
        return g;
    const QByteArray& d = Data;
    switch (type) {
    case EAN_8:
        g.Texts.push_back({start(18), dataBottom, d.mid(0, 4)});
        g.Texts.push_back({start(50), dataBottom, d.mid(4, 4)});
        break;
    case EAN_13:
        g.Texts.push_back({margin / 2, dataBottom, d.mid(0, 1)});
        g.Texts.push_back({start(25), dataBottom, d.mid(1, 6)});
        g.Texts.push_back({start(72), dataBottom, d.mid(7, 6)});
        break;
    case UPC_A:
        g.Texts.push_back({margin / 2, dataBottom, d.mid(0, 1)});
        g.Texts.push_back({start(25), dataBottom, d.mid(1, 5)});
        g.Texts.push_back({start(72), dataBottom, d.mid(6, 5)});
        g.Texts.push_back({start(95) + m + margin / 2, dataBottom, d.mid(11, 1)});
        break;
    case UPC_E:
        g.Texts.push_back({start(ModuleCount / 2), dataBottom, HumanReadableText()});
        break;
    default:
        g.Texts.push_back({start(ModuleCount / 2), fullBottom, HumanReadableText()});
        break;
    }
    if (withMargins(type) && !Params.Addon.isEmpty())
        g.Texts.push_back({start(Params.Addon.size() == 2 ? 115 : 128), 0, Params.Addon});
    return g;
}

void TLLBarcode::Draw(TCanvas& canvas, int x, int y, int& width, int& height)
{
    // The layout measures its text in the canvas font: that comes back too.
    CanvasStateGuard guard(canvas);
    DrawLayout(canvas, Layout(canvas), x, y, width, height);
}

void TLLBarcode::DrawLayout(TCanvas& canvas, const TBarcodeGeometry& g, int x, int y, int& width, int& height)
{
    CanvasStateGuard guard(canvas);
    canvas.SetTextAlign(TA_CENTER | TA_TOP);
    canvas.Brush.SetColor(clBlack);
    canvas.Brush.SetStyle(bsSolid);
    // The text font as the layout measured it, also when it was laid out on another canvas.
    canvas.Font.SetName(Params.Fontname);
    canvas.Font.SetHeight(std::max(1, g.FontHeight));
    canvas.Font.SetEscapement(0);

    const int w = g.Width;
    const int h = g.Height;
    const btCodeRotate rotation = Params.Rotation;
    auto place = [&](int dx, int dy) -> TPoint {
        switch (rotation) {
        case rotate_090:
            return {x + dy, y + w - dx};
        case rotate_180:
            return {x + w - dx, y + h - dy};
        case rotate_270:
            return {x + h - dy, y + dx};
        default:
            return {x + dx, y + dy};
        }
    };

    // On the stack: a symbol is drawn for every label, and most have fewer bars than this holds.
    QVarLengthArray<TRect, 160> bars;
    bars.reserve(static_cast<qsizetype>(g.Bars.size()));
    if (rotation == rotate_000) {
        for (const TBarcodeGeometry::Bar& bar : g.Bars)
            bars.append(Rect(x + std::min(bar.Left, bar.Right), y + std::min(bar.Top, bar.Bottom),
                             x + std::max(bar.Left, bar.Right), y + std::max(bar.Top, bar.Bottom)));
    } else {
        for (const TBarcodeGeometry::Bar& bar : g.Bars) {
            const TPoint a = place(bar.Left, bar.Top);
            const TPoint b = place(bar.Right, bar.Bottom);
            bars.append(Rect(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)));
        }
    }
    canvas.FillRects({bars.constData(), static_cast<std::size_t>(bars.size())});

    if (!g.Texts.empty()) {
        canvas.Brush.SetColor(clWhite);
        canvas.Brush.SetStyle(bsClear);
        canvas.SetBkColor(clWhite);
        canvas.SetBkMode(TRANSPARENT);
        canvas.Font.SetColor(clBlack);
        canvas.Font.SetEscapement(rotation <= rotate_270 ? rotation * 900 : 0);
        for (const TBarcodeGeometry::Text& text : g.Texts) {
            const TPoint p = place(text.X, text.Y);
            canvas.TextOut(p.X, p.Y, fromCp1252(text.Text));
        }
    }

    const bool quarterTurn = rotation == rotate_090 || rotation == rotate_270;
    width = quarterTurn ? h : w;
    height = quarterTurn ? w : h;

    // What was shown stays in Data: the six digits of a UPC-E symbol, the name of a FIM.
    if (Params.CodeType == UPC_E || Params.CodeType == Postnet_FIM)
        Data = HumanReadableText();
}

} // namespace barcode
