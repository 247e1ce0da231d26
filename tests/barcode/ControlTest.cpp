#include "barcode/Barcode.h"
#include "barcode/window/TBarcodeView.h"

#include "TestSupport.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"
#include "platform/TextCodec.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace barcode;
using namespace platform;
using testsupport::darkPixels;
using testsupport::whiteImage;

namespace {

std::string refusal(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EOverflow& e) {
        return e.message().toStdString();
    }
    return "accepted";
}

} // namespace

TEST(BarcodeControl, DefaultsAreThoseOfTheSettingsRecord)
{
    TBarcode bar;
    EXPECT_EQ(bar.Bar_Caption(), QStringLiteral("4711"));
    EXPECT_EQ(bar.Bar_CodeAddon(), QString());
    EXPECT_EQ(bar.Bar_CodeType(), EAN_8);
    EXPECT_EQ(bar.Bar_ModuleWidth(), SC2);
    EXPECT_EQ(bar.Bar_Ratio(), Ratio_3);
    EXPECT_EQ(bar.Bar_Rotation(), rotate_000);
    EXPECT_EQ(bar.Bar_HeightPercent(), 100);
    EXPECT_EQ(bar.Bar_Fontscaling(), 100);
    EXPECT_EQ(bar.Bar_Fontname(), QStringLiteral("Arial"));
    EXPECT_TRUE(bar.Bar_HumanReadable());
    EXPECT_FALSE(bar.Bar_WidthReduce() || bar.Bar_HighDensity() || bar.Bar_ZoomSize());
    EXPECT_TRUE(bar.AutoSize());
    EXPECT_EQ(bar.Width(), 69);
    EXPECT_EQ(bar.Height(), 66);
}

TEST(BarcodeControl, RangeChecksRefuseAndKeepTheOldValue)
{
    TBarcode bar;
    bar.SetBar_ModuleWidth(9);
    bar.SetBar_Rotation(3);
    bar.SetBar_Ratio(1);
    bar.SetBar_HeightPercent(20);
    bar.SetBar_Fontscaling(200);
    EXPECT_EQ(refusal([&] { bar.SetBar_ModuleWidth(10); }), "Bar_SC_Size must be in the range 0..9!");
    EXPECT_EQ(refusal([&] { bar.SetBar_Rotation(4); }), "Bar_Rotate must be in the range rotate_000..rotate_270!");
    EXPECT_EQ(refusal([&] { bar.SetBar_Ratio(2); }), "Bar_Ratio must be in the range 0..1 (Ratio_3 or Ratio_2)!");
    EXPECT_EQ(refusal([&] { bar.SetBar_HeightPercent(19); }), "Bar_HeightPercent must be in the range 20..200!");
    EXPECT_EQ(refusal([&] { bar.SetBar_HeightPercent(201); }), "Bar_HeightPercent must be in the range 20..200!");
    EXPECT_EQ(refusal([&] { bar.SetBar_Fontscaling(19); }), "Bar_Fontscaling must be in the range 20..200!");
    EXPECT_EQ(refusal([&] { bar.SetBar_Fontscaling(201); }), "Bar_Fontscaling must be in the range 20..200!");
    EXPECT_EQ(refusal([&] { bar.SetBar_ModuleWidth(-1); }), "Bar_SC_Size must be in the range 0..9!");
    EXPECT_EQ(bar.Bar_ModuleWidth(), SC9);
    EXPECT_EQ(bar.Bar_Rotation(), rotate_270);
    EXPECT_EQ(bar.Bar_Ratio(), Ratio_2);
    EXPECT_EQ(bar.Bar_HeightPercent(), 20);
    EXPECT_EQ(bar.Bar_Fontscaling(), 200);

    const QString fifty(50, u'7');
    bar.SetBar_Caption(fifty);
    EXPECT_EQ(refusal([&] { bar.SetBar_Caption(fifty + u'7'); }), "String exceeds maximum length");
    EXPECT_EQ(bar.Bar_Caption(), fifty);
}

TEST(BarcodeControl, UnknownCodeTypeIsStoredAndFailsWhenDrawn)
{
    TBarcode bar;
    bar.SetBar_CodeType(CODE39);
    const int width = bar.Width();
    bar.SetBar_CodeType(14);
    EXPECT_EQ(bar.Bar_CodeType(), 14);
    EXPECT_EQ(bar.Width(), width);
    EXPECT_EQ(bar.LastError(), QStringLiteral("Barcode: Unknown Type of Barcode"));
    QImage image = whiteImage(200, 200);
    TCanvas canvas(&image);
    EXPECT_THROW(bar.DrawOnCanvas(canvas, 0, nullptr, 0), EOverflow);
    EXPECT_THROW(bar.LoMetricPrint(canvas, 0, nullptr, 0), EOverflow);
    EXPECT_EQ(darkPixels(image, 0, 0, 199, 199), 0);
    bar.SetBar_CodeType(EAN_13);
    EXPECT_EQ(bar.LastError(), QString());
}

TEST(BarcodeControl, AddonKeepsDigitsOrAFieldCode)
{
    TBarcode bar;
    bar.SetBar_CodeType(EAN_13);
    bar.SetBar_CodeAddon(QStringLiteral("12a345x6"));
    EXPECT_EQ(bar.Bar_CodeAddon(), QStringLiteral("12345"));
    bar.SetBar_CodeAddon(QStringLiteral("123"));
    EXPECT_EQ(bar.Bar_CodeAddon(), QStringLiteral("12"));
    bar.SetBar_CodeAddon(QStringLiteral("1"));
    EXPECT_EQ(bar.Bar_CodeAddon(), QString());

    // A field code stays as typed; what is drawn is filtered like any add-on.
    bar.SetBar_CodeAddon(QStringLiteral("<Price>"));
    EXPECT_EQ(bar.Bar_CodeAddon(), QStringLiteral("<Price>"));
    EXPECT_EQ(bar.Encoder().Params.Addon, QByteArray());
    EXPECT_EQ(bar.LastError(), QString());
    bar.SetBar_CodeAddon(QStringLiteral("9<Code1>"));
    EXPECT_EQ(bar.Bar_CodeAddon(), QStringLiteral("9<Code1>"));
    EXPECT_EQ(bar.Encoder().Params.Addon, QByteArray("91"));

    {
        TBarcodeMergedTexts merged(bar, bar.Bar_Caption(), QStringLiteral("5 24 95 0"));
        EXPECT_EQ(bar.Encoder().Params.Addon, QByteArray("52495"));
    }
    EXPECT_EQ(bar.Bar_CodeAddon(), QStringLiteral("9<Code1>"));
}

TEST(BarcodeControl, MergedCaptionIsCutWhenDrawnAndPutBack)
{
    TBarcode bar;
    bar.SetBar_CodeType(CODE128_B);
    bar.SetBar_Caption(QStringLiteral("<Street>"));
    const QString longAddress = QStringLiteral("1234 Long Avenue of the Very Long Names, Apartment 56B");
    ASSERT_GT(longAddress.size(), 50);
    QImage image = whiteImage(900, 300);
    TCanvas canvas(&image);
    try {
        TBarcodeMergedTexts merged(bar, longAddress, QString());
        EXPECT_EQ(bar.Encoder().Params.Caption, toCp1252(longAddress.left(50)));
        TSize size;
        bar.DrawOnCanvas(canvas, 0, &size, 0);
        EXPECT_GT(size.cx, 0);
        bar.SetBar_CodeType(99);
        bar.DrawOnCanvas(canvas, 0, &size, 0); // fails: the texts must come back all the same
    } catch (const EOverflow&) {
    }
    EXPECT_EQ(bar.Bar_Caption(), QStringLiteral("<Street>"));
    EXPECT_GT(darkPixels(image, 0, 0, 899, 299), 1000);
}

TEST(BarcodeControl, Windows1252SpecialCharactersReachCode128)
{
    TBarcode bar;
    bar.SetBar_CodeType(CODE128_B);
    // Character 131 of Windows-1252 switches to set C; 128 is the euro sign, value 96 in set B.
    bar.SetBar_Caption(QStringLiteral("A") + cp1252Char(128) + cp1252Char(131) + QStringLiteral("12"));
    EXPECT_EQ(bar.LastError(), QString());
    const QByteArray data = bar.Encoder().Data;
    ASSERT_GE(data.size(), 5);
    EXPECT_EQ(static_cast<unsigned char>(data[1]), 'A');
    EXPECT_EQ(static_cast<unsigned char>(data[2]) - 32, 96);
    EXPECT_EQ(static_cast<unsigned char>(data[3]) - 32, 99);
    EXPECT_EQ(static_cast<unsigned char>(data[4]) - 32, 12);
    EXPECT_EQ(bar.Encoder().HumanReadableText(), QByteArray("A 12"));
}

TEST(BarcodeControl, AutoSizeFollowsTheMeasuredSymbol)
{
    TBarcode bar;
    int changes = 0;
    bar.OnInvalidate = [&] { ++changes; };
    bar.SetBar_CodeType(EAN_13);
    // At 96 design pixels per inch: m = round(0.33 x 3.78) = 1, margins 10.
    EXPECT_EQ(bar.Width(), 95 + 20 + 1);
    const int height = bar.Height();
    bar.SetBar_Rotation(rotate_090);
    EXPECT_EQ(bar.Width(), height);
    EXPECT_EQ(bar.Height(), 116);
    EXPECT_EQ(changes, 2);

    bar.SetAutoSize(false);
    bar.SetBounds(5, 6, 300, 40);
    bar.SetBar_ModuleWidth(SC9);
    EXPECT_EQ(bar.Width(), 300);
    EXPECT_EQ(bar.Height(), 40);
    changes = 0;
    bar.SetAutoSize(false);
    EXPECT_EQ(changes, 0);
    bar.SetAutoSize(true);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(bar.Height(), 95 * 2 + 40 + 1); // SC9: m = round(0.66 x 3.78) = 2, turned
    EXPECT_EQ(bar.Left(), 5);

    TCustomBarcode plain;
    plain.SetBar_CodeType(CODE39);
    EXPECT_EQ(plain.Width(), 6 * 16 + 1); // "*4711*"
}

TEST(BarcodeControl, LoMetricPrintInTheThreeMapModes)
{
    TBarcode bar;
    bar.SetBar_CodeType(EAN_13);
    bar.SetBar_Caption(QStringLiteral("590123412345"));
    const int dpi = 300;
    TSize pixels;
    {
        QImage image = whiteImage(1200, 1200);
        TCanvas canvas(&image);
        canvas.SetLogPixels(dpi, dpi);
        bar.LoMetricPrint(canvas, 10, &pixels, 20);
        EXPECT_EQ(pixels.cx, 461);
        EXPECT_TRUE(darkPixels(image, 10 + 40, 20, 10 + 40, 20) == 1);
    }
    for (int mode : {MM_LOMETRIC, MM_HIMETRIC}) {
        const double f = mode == MM_LOMETRIC ? 254.0 : 2540.0;
        QImage image = whiteImage(1200, 1200);
        TCanvas canvas(&image);
        canvas.SetLogPixels(dpi, dpi);
        canvas.SetMapMode(mode);
        // 10 mm right, 10 mm down: y counts upwards in these modes.
        const int ten = mode == MM_LOMETRIC ? 100 : 1000;
        TSize size;
        bar.LoMetricPrint(canvas, ten, &size, -ten);
        EXPECT_EQ(canvas.GetMapMode(), mode);
        EXPECT_EQ(size.cx, R(461 / (dpi / f)));
        EXPECT_EQ(size.cy, R(pixels.cy / (dpi / f)));
        // round(300 / 25.4 x 10) = 118: the left guard bar at 118 + 40 (the first digit, in the
        // margin, starts below the data bars, 272 pixels down).
        EXPECT_EQ(darkPixels(image, 0, 0, 157, 118 + 271), 0) << mode;
        EXPECT_GT(darkPixels(image, 118, 118 + 272, 157, 1199), 50) << mode;
        EXPECT_EQ(darkPixels(image, 158, 118, 158, 118), 1) << mode;
        EXPECT_EQ(darkPixels(image, 0, 0, 1199, 117), 0) << mode;
    }
    EXPECT_EQ(R(461 / (300 / 254.0)), 390);

    QImage image = whiteImage(600, 600);
    TCanvas canvas(&image);
    canvas.SetMapMode(MM_ISOTROPIC);
    EXPECT_EQ(refusal([&] { bar.LoMetricPrint(canvas, 0, nullptr, 0); }),
              "Barcode: Wrong mapmode in \"LoMetricPrint\"");
    EXPECT_EQ(darkPixels(image, 0, 0, 599, 599), 0);
    EXPECT_EQ(canvas.GetMapMode(), MM_ISOTROPIC);
}

TEST(BarcodeView, AFreshBarcodeTakesItsSymbolSizeWhenShown)
{
    TBarcode fresh;
    ASSERT_EQ(fresh.Width(), 69);
    TBarcode measured;
    measured.SetBar_Caption(QStringLiteral("4711")); // same settings, measured by the setter
    TBarcode fixedSize;
    TBarcodeView view;
    view.SetBarcode(&fresh);
    EXPECT_EQ(fresh.Width(), measured.Width());
    EXPECT_EQ(fresh.Height(), measured.Height());
    EXPECT_EQ(view.width(), measured.Width());
    EXPECT_NE(measured.Width(), 69); // EAN-8 at 96 pixels per inch: 67 modules of 1 pixel, plus 1

    fixedSize.SetAutoSize(false);
    fixedSize.SetBounds(0, 0, 200, 50);
    view.SetBarcode(&fixedSize);
    EXPECT_EQ(view.width(), 200);
}

TEST(BarcodeView, ShowsTheBarcodeAtItsSizeOrACrossedFrame)
{
    TBarcode bar;
    TBarcode other;
    TBarcodeView view;
    view.SetBarcode(&bar);
    bar.SetBar_CodeType(CODE39);
    bar.SetBar_Caption(QStringLiteral("VIEW"));
    EXPECT_EQ(view.width(), bar.Width());
    EXPECT_EQ(view.height(), bar.Height());
    QImage shown = view.grab().toImage();
    EXPECT_GT(darkPixels(shown, 0, 0, shown.width() - 1, shown.height() - 1), 200);

    QSignalSpy clicks(&view, &TBarcodeView::Click);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);

    // An encoder error never leaves the paint event: the view shows a crossed frame and the
    // message stays with the barcode.
    bar.SetAutoSize(false);
    bar.SetBounds(0, 0, 60, 40);
    bar.SetBar_CodeType(20);
    view.Refresh();
    bar.SetLastError({});
    shown = view.grab().toImage();
    EXPECT_EQ(bar.LastError(), QStringLiteral("Barcode: Unknown Type of Barcode"));
    EXPECT_GT(darkPixels(shown, 0, 0, 59, 39, 200), 100);
    EXPECT_EQ(darkPixels(shown, 25, 3, 35, 8, 200), 0); // inside the frame, off the diagonals

    view.SetBarcode(&other);
    bar.SetBar_CodeType(CODE39); // no longer followed
    EXPECT_EQ(view.width(), other.Width());
}

TEST(BarcodeView, EitherTheBarcodeOrTheViewMayGoFirst)
{
    // The barcode goes first: the view lets go of it and paints nothing, and its own end touches
    // nothing of the barcode.
    TBarcode next;
    {
        TBarcodeView view;
        auto bar = std::make_unique<TBarcode>();
        bar->SetBar_CodeType(CODE39);
        view.SetBarcode(bar.get());
        QImage shown = view.grab().toImage();
        ASSERT_GT(darkPixels(shown, 0, 0, shown.width() - 1, shown.height() - 1), 100);
        bar.reset();
        EXPECT_EQ(view.Barcode(), nullptr);
        shown = view.grab().toImage();
        EXPECT_EQ(darkPixels(shown, 0, 0, shown.width() - 1, shown.height() - 1), 0);
        // Still usable for another barcode, which it follows until the view ends.
        view.SetBarcode(&next);
        EXPECT_TRUE(next.OnInvalidate);
        EXPECT_TRUE(next.OnDestroy);
    }
    // The view went first: the barcode calls nothing of it any more, on a change or at its end.
    EXPECT_FALSE(next.OnInvalidate);
    EXPECT_FALSE(next.OnDestroy);
    next.SetBar_Caption(QStringLiteral("1234"));
}
