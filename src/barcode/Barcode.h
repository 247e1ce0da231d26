#pragma once

#include "barcode/BarLL.h"

#include "platform/Graphics.h"

#include <QString>

namespace platform {
class TCanvas;
}

namespace barcode {

// The barcode object of a label design: the settings of one symbol with their range checks, a
// position and a size in design pixels, and drawing on any canvas. It is a plain object; a view
// widget (barcode/window) shows it on screen. Its size is measured from its settings at the
// design resolution whenever a setting changes, never found by painting.
class TCustomBarcode {
public:
    TCustomBarcode();
    virtual ~TCustomBarcode();
    TCustomBarcode(const TCustomBarcode&) = delete;
    TCustomBarcode& operator=(const TCustomBarcode&) = delete;

    // Settings. A setter refuses a value out of range with EOverflow and keeps the old one.
    QString Bar_Caption() const { return m_caption; }
    void SetBar_Caption(const QString& caption); // at most 50 characters
    // Digits only: five when five or more are given, two for two to four, none otherwise. A text
    // holding a field code ("<...>") is kept as typed and filtered once merged, when drawn.
    QString Bar_CodeAddon() const { return m_addon; }
    void SetBar_CodeAddon(const QString& addon);
    btCodeTypes Bar_CodeType() const { return m_bar.Params.CodeType; }
    void SetBar_CodeType(int type); // unchecked: an unknown type fails when drawn
    QString Bar_Fontname() const { return m_bar.Params.Fontname; }
    void SetBar_Fontname(const QString& name);
    int Bar_Fontscaling() const { return m_bar.Params.Fontscaling; }
    void SetBar_Fontscaling(int percent); // 20..200
    int Bar_HeightPercent() const { return m_bar.Params.HeightPercent; }
    void SetBar_HeightPercent(int percent); // 20..200
    bool Bar_HighDensity() const { return m_bar.Params.HighDensity; }
    void SetBar_HighDensity(bool on);
    bool Bar_HumanReadable() const { return m_bar.Params.HumanReadable; }
    void SetBar_HumanReadable(bool on);
    btCodeSizes Bar_ModuleWidth() const { return m_bar.Params.ModuleWidth; }
    void SetBar_ModuleWidth(int size); // SC0..SC9
    btCodeRatio Bar_Ratio() const { return m_bar.Params.Ratio; }
    void SetBar_Ratio(int ratio); // Ratio_3, Ratio_2
    btCodeRotate Bar_Rotation() const { return m_bar.Params.Rotation; }
    void SetBar_Rotation(int rotation); // rotate_000..rotate_270
    bool Bar_WidthReduce() const { return m_bar.Params.WidthReduce; }
    void SetBar_WidthReduce(bool on);
    bool Bar_ZoomSize() const { return m_bar.Params.ZoomSize; }
    void SetBar_ZoomSize(bool on);

    // While a design is drawn for a record: the merged caption and add-on, taken without the
    // length check (a caption is cut to 50 characters when drawn) and put back afterwards by the
    // ordinary setters. Prefer TBarcodeMergedTexts, which puts them back on every path.
    void SetMergedTexts(const QString& caption, const QString& addon);

    // Position and size in design pixels.
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetLeft(int left) { m_left = left; }
    void SetTop(int top) { m_top = top; }
    void SetWidth(int width) { m_width = width; }
    void SetHeight(int height) { m_height = height; }
    void SetBounds(int left, int top, int width, int height);

    // Draws at (x, y) of another canvas in its pixels and gives the size drawn when asked.
    // Encoder errors pass to the caller.
    void DrawOnCanvas(platform::TCanvas& canvas, int x, platform::TSize* size, int y);
    // Draws at (0, 0), as the view does; errors pass to the caller.
    void Paint(platform::TCanvas& canvas);

    // Measures the symbol at the design resolution and takes that size; an encoder error leaves
    // the size as it was and is kept in LastError (empty when the settings encode).
    virtual void Measure();
    QString LastError() const { return m_lastError; }
    void SetLastError(const QString& message) { m_lastError = message; }

    // Called after every change of a setting, once the size is measured again (a view repaints).
    platform::TNotifyEvent OnInvalidate;
    // Called once as the barcode is destroyed, so that a view showing it lets go of it.
    platform::TNotifyEvent OnDestroy;

    // The encoder and drawer with the settings record, for readers of the encoded data.
    const TLLBarcode& Encoder() const { return m_bar; }
    // A copy of the encoder with a record's merged caption and add-on, taken as SetMergedTexts
    // takes them: a label is drawn for a record without changing the barcode.
    TLLBarcode MergedEncoder(const QString& caption, const QString& addon) const;

    // The design resolution, pixels per inch, at which Measure() sizes the object.
    static constexpr int DesignPixelsPerInch = 96;

protected:
    void Invalidate();
    // The size the symbol takes at the design resolution; false (and LastError set) when the
    // settings do not encode.
    bool measureSize(int& width, int& height);

    TLLBarcode m_bar;

private:
    void syncTexts();

    QString m_caption;
    QString m_addon;
    QString m_lastError;
    int m_left = 0;
    int m_top = 0;
    int m_width = 69;
    int m_height = 66;
};

class TBarcode : public TCustomBarcode {
public:
    TBarcode() = default;

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);

    // Draws on a canvas in MM_TEXT, MM_LOMETRIC or MM_HIMETRIC; x, y and the size returned are in
    // the canvas's logical units. Any other map mode raises EOverflow and draws nothing.
    void LoMetricPrint(platform::TCanvas& canvas, int x, platform::TSize* size, int y);

    // Takes the measured size only while AutoSize is on.
    void Measure() override;

private:
    bool m_autoSize = true;
};

// TBarcode::LoMetricPrint for an encoder of its own (MergedEncoder).
void LoMetricPrint(TLLBarcode& encoder, platform::TCanvas& canvas, int x, platform::TSize* size, int y);

// Puts the merged caption and add-on on a barcode for as long as it lives, then the typed texts
// back, also when drawing fails.
class TBarcodeMergedTexts {
public:
    TBarcodeMergedTexts(TCustomBarcode& barcode, const QString& caption, const QString& addon);
    ~TBarcodeMergedTexts();
    TBarcodeMergedTexts(const TBarcodeMergedTexts&) = delete;
    TBarcodeMergedTexts& operator=(const TBarcodeMergedTexts&) = delete;

private:
    TCustomBarcode& m_barcode;
    QString m_caption;
    QString m_addon;
    bool m_changed;
};

// The add-on filter: the digits of the text, five when there are five or more, two when two to
// four, none otherwise.
QString BarcodeAddonDigits(const QString& text);
// True when the text holds a field code: a '<' with a '>' after it.
bool BarcodeHasFieldCode(const QString& text);

} // namespace barcode
