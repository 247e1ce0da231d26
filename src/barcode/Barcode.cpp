#include "barcode/Barcode.h"

#include "platform/Rounding.h"
#include "platform/Screen.h"
#include "platform/TCanvas.h"
#include "platform/TextCodec.h"

#include <algorithm>

using namespace platform;

namespace barcode {

namespace {

constexpr int MaxCaption = 50;

void checkRange(int value, int low, int high, const char* message)
{
    if (value < low || value > high)
        throw EOverflow(QString::fromLatin1(message));
}

// Sets a canvas's map mode for as long as it lives.
class MapModeGuard {
public:
    MapModeGuard(TCanvas& canvas, int mode) : m_canvas(canvas), m_previous(canvas.SetMapMode(mode)) {}
    ~MapModeGuard() { m_canvas.SetMapMode(m_previous); }
    MapModeGuard(const MapModeGuard&) = delete;
    MapModeGuard& operator=(const MapModeGuard&) = delete;

private:
    TCanvas& m_canvas;
    int m_previous;
};

} // namespace

QString BarcodeAddonDigits(const QString& text)
{
    QString digits;
    for (QChar c : text)
        if (c >= u'0' && c <= u'9')
            digits.append(c);
    if (digits.size() >= 5)
        return digits.left(5);
    if (digits.size() >= 2)
        return digits.left(2);
    return {};
}

bool BarcodeHasFieldCode(const QString& text)
{
    const qsizetype open = text.indexOf(u'<');
    return open >= 0 && text.indexOf(u'>', open + 1) > open;
}

TCustomBarcode::TCustomBarcode()
    : m_caption(fromCp1252(m_bar.Params.Caption)), m_addon(fromCp1252(m_bar.Params.Addon))
{
}

TCustomBarcode::~TCustomBarcode()
{
    if (OnDestroy) {
        const platform::TNotifyEvent notify = std::move(OnDestroy);
        notify();
    }
}

void TCustomBarcode::syncTexts()
{
    // What the encoder sees: at most 50 characters, and the add-on digits even when the stored
    // text is a field code that no merge has replaced.
    m_bar.Params.Caption = toCp1252(m_caption.left(MaxCaption));
    m_bar.Params.Addon = toCp1252(BarcodeAddonDigits(m_addon));
}

void TCustomBarcode::SetBar_Caption(const QString& caption)
{
    if (caption.size() > MaxCaption)
        throw EOverflow(QStringLiteral("String exceeds maximum length"));
    m_caption = caption;
    syncTexts();
    Invalidate();
}

void TCustomBarcode::SetBar_CodeAddon(const QString& addon)
{
    m_addon = BarcodeHasFieldCode(addon) ? addon : BarcodeAddonDigits(addon);
    syncTexts();
    Invalidate();
}

void TCustomBarcode::SetMergedTexts(const QString& caption, const QString& addon)
{
    m_caption = caption;
    m_addon = BarcodeHasFieldCode(addon) ? addon : BarcodeAddonDigits(addon);
    syncTexts();
    Invalidate();
}

TLLBarcode TCustomBarcode::MergedEncoder(const QString& caption, const QString& addon) const
{
    TLLBarcode encoder = m_bar;
    encoder.Params.Caption = toCp1252(caption.left(MaxCaption));
    encoder.Params.Addon = toCp1252(BarcodeAddonDigits(addon));
    return encoder;
}

void TCustomBarcode::SetBar_CodeType(int type)
{
    m_bar.Params.CodeType = static_cast<btCodeTypes>(type >= 0 && type <= 255 ? type : 255);
    Invalidate();
}

void TCustomBarcode::SetBar_Fontname(const QString& name)
{
    m_bar.Params.Fontname = name;
    Invalidate();
}

void TCustomBarcode::SetBar_Fontscaling(int percent)
{
    checkRange(percent, 20, 200, "Bar_Fontscaling must be in the range 20..200!");
    m_bar.Params.Fontscaling = percent;
    Invalidate();
}

void TCustomBarcode::SetBar_HeightPercent(int percent)
{
    checkRange(percent, 20, 200, "Bar_HeightPercent must be in the range 20..200!");
    m_bar.Params.HeightPercent = percent;
    Invalidate();
}

void TCustomBarcode::SetBar_HighDensity(bool on)
{
    m_bar.Params.HighDensity = on;
    Invalidate();
}

void TCustomBarcode::SetBar_HumanReadable(bool on)
{
    m_bar.Params.HumanReadable = on;
    Invalidate();
}

void TCustomBarcode::SetBar_ModuleWidth(int size)
{
    checkRange(size, 0, 9, "Bar_SC_Size must be in the range 0..9!");
    m_bar.Params.ModuleWidth = static_cast<btCodeSizes>(size);
    Invalidate();
}

void TCustomBarcode::SetBar_Ratio(int ratio)
{
    checkRange(ratio, 0, 1, "Bar_Ratio must be in the range 0..1 (Ratio_3 or Ratio_2)!");
    m_bar.Params.Ratio = static_cast<btCodeRatio>(ratio);
    Invalidate();
}

void TCustomBarcode::SetBar_Rotation(int rotation)
{
    checkRange(rotation, 0, 3, "Bar_Rotate must be in the range rotate_000..rotate_270!");
    m_bar.Params.Rotation = static_cast<btCodeRotate>(rotation);
    Invalidate();
}

void TCustomBarcode::SetBar_WidthReduce(bool on)
{
    m_bar.Params.WidthReduce = on;
    Invalidate();
}

void TCustomBarcode::SetBar_ZoomSize(bool on)
{
    m_bar.Params.ZoomSize = on;
    Invalidate();
}

void TCustomBarcode::SetBounds(int left, int top, int width, int height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
}

void TCustomBarcode::DrawOnCanvas(TCanvas& canvas, int x, TSize* size, int y)
{
    int width = 0;
    int height = 0;
    m_bar.Draw(canvas, x, y, width, height);
    if (size)
        *size = {width, height};
}

void TCustomBarcode::Paint(TCanvas& canvas)
{
    DrawOnCanvas(canvas, 0, nullptr, 0);
}

bool TCustomBarcode::measureSize(int& width, int& height)
{
    try {
        TCanvas canvas;
        canvas.SetLogPixels(DesignPixelsPerInch, DesignPixelsPerInch);
        const TBarcodeGeometry g = m_bar.Layout(canvas);
        const bool quarterTurn = m_bar.Params.Rotation == rotate_090 || m_bar.Params.Rotation == rotate_270;
        width = quarterTurn ? g.Height : g.Width;
        height = quarterTurn ? g.Width : g.Height;
        m_lastError.clear();
        return true;
    } catch (const platform::Exception& e) {
        m_lastError = e.message();
    } catch (const std::exception& e) {
        m_lastError = QString::fromLocal8Bit(e.what());
    }
    return false;
}

void TCustomBarcode::Measure()
{
    int width = 0;
    int height = 0;
    if (measureSize(width, height)) {
        m_width = width;
        m_height = height;
    }
}

void TCustomBarcode::Invalidate()
{
    Measure();
    if (OnInvalidate)
        OnInvalidate();
}

void TBarcode::SetAutoSize(bool on)
{
    if (m_autoSize == on)
        return;
    m_autoSize = on;
    Invalidate();
}

void TBarcode::Measure()
{
    int width = 0;
    int height = 0;
    if (measureSize(width, height) && m_autoSize) {
        SetWidth(width);
        SetHeight(height);
    }
}

void TBarcode::LoMetricPrint(TCanvas& canvas, int x, TSize* size, int y)
{
    barcode::LoMetricPrint(m_bar, canvas, x, size, y);
}

void LoMetricPrint(TLLBarcode& encoder, TCanvas& canvas, int x, TSize* size, int y)
{
    auto draw = [&](int px, TSize* drawn, int py) {
        int width = 0;
        int height = 0;
        encoder.Draw(canvas, px, py, width, height);
        if (drawn)
            *drawn = {width, height};
    };
    const int mode = canvas.GetMapMode();
    if (mode == MM_TEXT) {
        draw(x, size, y);
        return;
    }
    if (mode != MM_LOMETRIC && mode != MM_HIMETRIC)
        throw EOverflow(QStringLiteral("Barcode: Wrong mapmode in \"LoMetricPrint\""));

    const double f = mode == MM_LOMETRIC ? 254.0 : 2540.0;
    int dpiX = canvas.GetDeviceCaps(LOGPIXELSX);
    int dpiY = canvas.GetDeviceCaps(LOGPIXELSY);
    if (dpiX == 0 || dpiY == 0) // drawn at the screen's resolution, so measured back with it
        dpiX = dpiY = platform::ScreenPixelsPerInch();
    const double unitsX = dpiX / f;
    const double unitsY = dpiY / f;

    TSize drawn;
    {
        MapModeGuard pixels(canvas, MM_TEXT);
        draw(R(unitsX * x), &drawn, -R(unitsY * y));
    }
    if (size)
        *size = {R(drawn.cx / unitsX), R(drawn.cy / unitsY)};
}

TBarcodeMergedTexts::TBarcodeMergedTexts(TCustomBarcode& barcode, const QString& caption, const QString& addon)
    : m_barcode(barcode), m_caption(barcode.Bar_Caption()), m_addon(barcode.Bar_CodeAddon()),
      m_changed(caption != m_caption || addon != m_addon)
{
    if (m_changed)
        m_barcode.SetMergedTexts(caption, addon);
}

TBarcodeMergedTexts::~TBarcodeMergedTexts()
{
    if (m_changed)
        m_barcode.SetMergedTexts(m_caption, m_addon);
}

} // namespace barcode
