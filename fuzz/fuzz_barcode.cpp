// Barcode encoding and drawing: every symbology with any text and any settings the object can
// hold, encoded, laid out and drawn onto a small image.
//
// Input: 8 setting bytes (type, module width, flags, rotation, height %, font %, resolution,
// add-on length), then the add-on and the caption as Windows-1252 bytes.
#include "FuzzSupport.h"

#include "barcode/BarLL.h"
#include "barcode/Barcode.h"
#include "platform/TCanvas.h"
#include "platform/TextCodec.h"

#include <QImage>

#include <algorithm>

using namespace barcode;
using namespace platform;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 8)
        return 0;
    TLLBarcode bar;
    // Types past the last one are kept: they must fail with EOverflow, nothing worse.
    bar.Params.CodeType = static_cast<btCodeTypes>(data[0] % 16);
    bar.Params.ModuleWidth = static_cast<btCodeSizes>(data[1] % 10);
    bar.Params.Ratio = (data[2] & 1) ? Ratio_2 : Ratio_3;
    bar.Params.WidthReduce = data[2] & 2;
    bar.Params.HighDensity = data[2] & 4;
    bar.Params.ZoomSize = data[2] & 8;
    bar.Params.HumanReadable = data[2] & 16;
    bar.Params.Code25PSplit = data[2] >> 5;
    bar.Params.Rotation = static_cast<btCodeRotate>(data[3] % 4);
    bar.Params.HeightPercent = 20 + data[4] % 181;
    bar.Params.Fontscaling = 20 + data[5] % 181;
    static constexpr int resolutions[] = {72, 96, 150, 300, 600};
    const int dpi = resolutions[data[6] % 5];
    const std::size_t addonLength = std::min<std::size_t>(data[7] % 8, size - 8);
    bar.Params.Addon = fuzzsupport::bytesOf(data + 8, addonLength);
    bar.Params.Caption = fuzzsupport::bytesOf(data + 8 + addonLength, size - 8 - addonLength);

    for (const btCodeTypes type : {CODE128_A, CODE128_B, CODE128_C}) {
        try {
            const Code128Translation t = TranslateCode128(bar.Params.Caption, type);
            FUZZ_CHECK(!t.Symbols.isEmpty());
        } catch (const EOverflow&) {
        }
    }
    QByteArray filtered;
    try {
        TransfervalidChars(bar.Params.Caption, filtered, bar.Params.CodeType);
    } catch (const EOverflow&) {
    }

    try {
        bar.Encode();
        FUZZ_CHECK(bar.ModuleCount >= 0);
        FUZZ_CHECK(bar.ModuleString().size() == bar.ModuleCount);
        bar.HumanReadableText();

        QImage image(160, 120, QImage::Format_ARGB32);
        image.fill(Qt::white);
        TCanvas canvas(&image);
        canvas.SetLogPixels(dpi, dpi);
        const TBarcodeGeometry g = bar.Layout(canvas);
        FUZZ_CHECK(g.Width >= 0 && g.Height >= 0);
        int width = 0;
        int height = 0;
        bar.Draw(canvas, 3, 5, width, height);
    } catch (const EOverflow&) {
    }

    // The design object: its setters check the ranges, its size comes from measuring.
    TBarcode object;
    try {
        object.SetBar_CodeType(data[0] % 16);
        object.SetBar_ModuleWidth(data[1] % 12);
        object.SetBar_Rotation(data[3] % 5);
        object.SetBar_HeightPercent(data[4]);
        object.SetBar_CodeAddon(fromCp1252(bar.Params.Addon));
        object.SetBar_Caption(fromCp1252(bar.Params.Caption));
    } catch (const EOverflow&) {
    }
    FUZZ_CHECK(object.Bar_Caption().size() <= 50);
    return 0;
}
