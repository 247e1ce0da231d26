#include "platform/Graphics.h"
#include "platform/TColor.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Colors, ComponentsAreStoredBlueGreenRed)
{
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412);
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(ToQColor(clOlive), QColor(128, 128, 0));
    EXPECT_EQ(FromQColor(QColor(0, 255, 255)), clAqua);
    EXPECT_EQ(FromQColor(QColor(0xC0, 0xC0, 0xC0)), clSilver);
    EXPECT_EQ(GetRValue(clFuchsia), 255);
    EXPECT_EQ(GetGValue(clFuchsia), 0);
    EXPECT_EQ(GetBValue(clFuchsia), 255);
}

TEST(Colors, SystemColoursAreNegativeAndResolveToFixedColours)
{
    EXPECT_LT(clBtnFace, 0);
    EXPECT_EQ(ColorToRGB(clBtnFace), clSilver);
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clHighlight), clNavy);
    EXPECT_EQ(ToQColor(clInfoBk), QColor(255, 255, 225));
    EXPECT_EQ(ColorToRGB(clYellow), clYellow);
}

TEST(Fonts, SizeAndHeightFollowEachOtherAtThePixelsPerInch)
{
    TFont font;
    EXPECT_EQ(font.PixelsPerInch(), 96);
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -16);
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    font.SetHeight(-11);
    EXPECT_EQ(font.Size(), 8); // 8.25 points
    font.SetHeight(-13);
    EXPECT_EQ(font.Size(), 10); // 9.75 rounds up
    font.SetHeight(20);          // a cell height gives a negative size
    EXPECT_EQ(font.Size(), -15);

    font.SetPixelsPerInch(300);
    EXPECT_EQ(font.Height(), 20) << "changing the resolution keeps the height";
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -42); // 41.67
}

TEST(Fonts, AssignToAnotherResolutionKeepsThePointSize)
{
    TFont screen;
    screen.SetName("Times New Roman");
    screen.SetHeight(-16);
    screen.SetStyle({fsBold, fsItalic});
    screen.SetColor(clRed);
    screen.SetEscapement(900);

    TFont printer;
    printer.SetPixelsPerInch(300);
    printer = screen;
    EXPECT_EQ(printer.PixelsPerInch(), 300);
    EXPECT_EQ(printer.Size(), 12);
    EXPECT_EQ(printer.Height(), -50);
    EXPECT_EQ(printer.Name(), "Times New Roman");
    EXPECT_EQ(printer.Style(), TFontStyles({fsBold, fsItalic}));
    EXPECT_EQ(printer.Color(), clRed);
    EXPECT_EQ(printer.Escapement(), 900);

    TFont same;
    same = screen;
    EXPECT_EQ(same.Height(), -16);
}

TEST(Fonts, StyleSetsCombine)
{
    TFontStyles s;
    EXPECT_TRUE(s.IsEmpty());
    s = s + fsBold + fsUnderline;
    EXPECT_TRUE(s.Contains(fsBold));
    EXPECT_TRUE(s.Contains(fsUnderline));
    EXPECT_FALSE(s.Contains(fsItalic));
    s = s - fsBold;
    EXPECT_FALSE(s.Contains(fsBold));
    EXPECT_EQ(s, TFontStyles({fsUnderline}));
}

TEST(GraphicsObjects, ChangesNotifyAndAssignmentKeepsTheTargetsHandler)
{
    int penChanges = 0;
    TPen pen;
    pen.OnChange = [&] { ++penChanges; };
    const auto before = pen.Revision();
    pen.SetColor(clRed);
    pen.SetColor(clRed); // no change, no notification
    pen.SetWidth(0);     // counts as 1, the current width
    EXPECT_EQ(penChanges, 1);
    EXPECT_NE(pen.Revision(), before);

    TPen other;
    other.SetStyle(psDot);
    other.SetWidth(3);
    pen = other;
    EXPECT_EQ(penChanges, 2);
    EXPECT_EQ(pen.Style(), psDot);
    EXPECT_EQ(pen.Width(), 3);
    EXPECT_FALSE(other.OnChange) << "the handler stays with its own object";

    const TPen copy(pen);
    EXPECT_FALSE(copy.OnChange);
    EXPECT_EQ(copy.Style(), psDot);
    EXPECT_EQ(copy.Width(), 3);
}

// Assignment always notifies, as a property assignment does. The revision a canvas keys its Qt
// objects on moves only when a pen's or font's attribute did: a label's objects assign the same
// pens and fonts to the canvas label after label. A brush's always moves: the canvas takes the
// brush's background again after any change of it.
TEST(GraphicsObjects, AssigningEqualAttributesNotifiesButKeepsThePenAndFontRevision)
{
    const auto check = [](auto target, const auto& source, bool differs, const char* what) {
        int changes = 0;
        target.OnChange = [&] { ++changes; };
        const auto before = target.Revision();
        target = source;
        EXPECT_EQ(changes, 1) << what;
        EXPECT_EQ(target.Revision() != before, differs) << what;
    };
    TPen pen;
    TPen widerPen;
    widerPen.SetWidth(2);
    TPen dottedPen;
    dottedPen.SetStyle(psDot);
    check(pen, TPen(), false, "equal pen");
    check(pen, widerPen, true, "pen width");
    check(pen, dottedPen, true, "pen style");

    TBrush brush;
    TBrush clearBrush;
    clearBrush.SetStyle(bsClear);
    check(brush, TBrush(), true, "equal brush");
    check(brush, clearBrush, true, "brush style");

    TFont font;
    TFont bold;
    bold.SetStyle({fsBold});
    TFont times;
    times.SetName(QStringLiteral("Times New Roman"));
    TFont turned;
    turned.SetEscapement(900);
    TFont printerFont; // the same point size at another resolution: the same height here
    printerFont.SetPixelsPerInch(192);
    printerFont.SetSize(font.Size());
    TFont larger;
    larger.SetSize(font.Size() + 4);
    check(font, TFont(), false, "equal font");
    check(font, printerFont, false, "same size at another resolution");
    check(font, bold, true, "font style");
    check(font, times, true, "font name");
    check(font, turned, true, "font escapement");
    check(font, larger, true, "font size");
}

TEST(GraphicsObjects, GivingAClearBrushAColourMakesItSolid)
{
    TBrush brush;
    brush.SetStyle(bsClear);
    brush.SetColor(clYellow);
    EXPECT_EQ(brush.Style(), bsSolid);
    brush.SetColor(clWhite);
    brush.SetStyle(bsClear);
    EXPECT_EQ(brush.Style(), bsClear) << "colour first, then clear: stays clear";
    brush.SetStyle(bsCross);
    brush.SetColor(clRed);
    EXPECT_EQ(brush.Style(), bsCross);
}

TEST(Fonts, MetricsWithoutACanvas)
{
    TFont font;
    font.SetName("Arial");
    font.SetHeight(-20);
    const TTextMetric tm = GetTextMetrics(font);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_GT(tm.tmHeight, 20);
    EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 20);
    EXPECT_GT(TextWidthOf(font, "MMMM"), TextWidthOf(font, "iiii"));
    font.SetHeight(30); // cell height
    EXPECT_EQ(GetTextMetrics(font).tmHeight, 30);
}
