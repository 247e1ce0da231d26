#include "station/SheetDrawing.h"
#include "station/StationRules.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace station;

namespace {

// The preview's scale: a 297-pixel frame less 16.
const double PreviewScale = 281.0 / TailleMaxPlanche;

TSheetPreview a4ThreeBySeven()
{
    TSheetPreview s;
    s.LargeurPage = 21000;
    s.HauteurPage = 29700;
    s.LargeurEtiquette = 7000;
    s.HauteurEtiquette = 4200;
    s.MargeGauche = 0;
    s.MargeHaut = 150;
    s.NbColonnes = 3;
    s.NbLignes = 7;
    return s;
}

bool isColour(const QImage& image, QPoint p, QColor c)
{
    return image.pixelColor(p) == c;
}

} // namespace

// Lengths round to the nearest pixel (halves to even); counts are held to 1..50; a point on a
// shared edge belongs to the cell above or to the left; margins and gaps are no cell.
TEST(SheetGeometry, CellsAndHitTest)
{
    const TSheetGeometry g = SheetGeometry(a4ThreeBySeven(), PreviewScale);
    EXPECT_EQ(PreviewImageSize(a4ThreeBySeven(), PreviewScale), QSize(176, 249));
    EXPECT_EQ((std::array{g.W, g.H, g.T, g.L}), (std::array{59, 35, 1, 0}));
    EXPECT_EQ(g.CellRect(2, 3), QRect(QPoint(59, 71), QPoint(118, 106)));

    struct Case {
        QPoint p;
        TCellPos cell;
    };
    for (const Case& c : {Case{{59, 71}, {1, 2}}, Case{{60, 72}, {2, 3}}, Case{{0, 0}, {}},
                          Case{{178, 100}, {}}, Case{{0, 1}, {1, 1}}, Case{{177, 246}, {3, 7}}})
        EXPECT_EQ(g.HitTest(c.p), c.cell) << c.p.x() << "," << c.p.y();

    design::TCurrentFormat f;
    f.LargeurEtiquette = 1000;
    f.HauteurEtiquette = 1000;
    for (const auto& [counts, held] : {std::pair{QPoint(0, -3), QPoint(1, 1)}, std::pair{QPoint(60, 51), QPoint(50, 50)},
                                       std::pair{QPoint(7, 50), QPoint(7, 50)}}) {
        f.NbColonnes = counts.x();
        f.NbLignes = counts.y();
        const TSheetGeometry h = SheetGeometry(f, 0.01);
        EXPECT_EQ(QPoint(h.Columns, h.Rows), held);
    }
}

// A drop beside every cell goes to the cell of the point's share of the page, held to the page;
// no cell at all for a page without columns or rows, and cell 1 on an axis narrower than its
// count (which used to divide by zero).
TEST(SheetGeometry, DropFallback)
{
    struct Case {
        QPoint p;
        QSize page;
        int columns, rows;
        TCellPos cell;
    };
    for (const Case& c : {
             Case{{50, 50}, {300, 300}, 3, 3, {1, 1}},
             Case{{299, 150}, {300, 300}, 3, 3, {3, 2}},
             Case{{400, 900}, {300, 300}, 3, 3, {3, 3}},
             Case{{5, 5}, {10, 10}, 20, 3, {1, 2}},
             Case{{5, 5}, {10, 2}, 2, 3, {2, 1}},
             Case{{5, 5}, {300, 300}, 0, 3, {}},
             Case{{5, 5}, {300, 300}, 3, -1, {}},
         })
        EXPECT_EQ(DropFallbackCell(c.p, c.page, c.columns, c.rows), c.cell)
            << c.p.x() << "," << c.p.y() << " in " << c.page.width() << "x" << c.page.height();

    // Through the geometry: a point in a gap takes the fallback.
    TSheetPreview s = a4ThreeBySeven();
    s.EcartHorizontal = 1000;
    const TSheetGeometry g = SheetGeometry(s, 0.01);
    EXPECT_EQ(DropCell({75, 10}, {210, 297}, g), (TCellPos{2, 1}));
    EXPECT_EQ(DropCell({30, 10}, {210, 297}, g), (TCellPos{1, 1}));
}

// A roll draws a strip one label high; a continuous sheet of fifty wide labels stays a bounded
// picture; the chosen first cell alone is lime, and only when one is chosen.
TEST(SheetPreview, Drawing)
{
    TSheetPreview roll = a4ThreeBySeven();
    roll.HauteurPage = 3000;
    roll.HauteurEtiquette = 3000;
    roll.NbLignes = 1;
    EXPECT_EQ(DessinerPlanche(roll, PreviewScale, DefaultPrinterInfo()).height(), 25);

    TSheetPreview huge = a4ThreeBySeven();
    huge.NbColonnes = 50;
    huge.LargeurEtiquette = 2000000;
    huge.LargeurPage = 50 * 2000000;
    const QImage big = DessinerPlanche(huge, PreviewScale, DefaultPrinterInfo());
    EXPECT_EQ(big.size(), QSize(MaxPreviewSide, 249));

    const TSheetPreview s = a4ThreeBySeven();
    const TSheetGeometry g = SheetGeometry(s, PreviewScale);
    const QImage none = DessinerPlanche(s, PreviewScale, DefaultPrinterInfo());
    const QImage chosen = DessinerPlanche(s, PreviewScale, DefaultPrinterInfo(), {2, 3});
    const QColor lime(0, 255, 0);
    for (int r = 1; r <= 7; ++r)
        for (int c = 1; c <= 3; ++c) {
            const QPoint mid = g.CellRect(c, r).center();
            EXPECT_TRUE(isColour(none, mid, Qt::white));
            EXPECT_TRUE(isColour(chosen, mid, c == 2 && r == 3 ? lime : QColor(Qt::white))) << c << "," << r;
        }
}

// The printable area comes from the printer's resolution, offset and printable size; without a
// known printer it is A4 less 5 mm all round, outlined in red at the drawing's scale.
TEST(PrintableArea, FromThePrinter)
{
    const TArea100 a = PrintableArea100(DefaultPrinterInfo());
    EXPECT_EQ((std::array{a.Left, a.Top, a.Right, a.Bottom}), (std::array{500, 500, 20500, 29200}));

    TPrinterInfo p;
    p.DpiX = 300;
    p.DpiY = 150;
    p.Offset = {30, 15};
    p.Printable = {2400, 1650};
    const TArea100 b = PrintableArea100(p);
    EXPECT_EQ((std::array{b.Left, b.Top, b.Right, b.Bottom}), (std::array{254, 254, 20574, 28194}));
    EXPECT_EQ(PrintableArea100(TPrinterInfo{0, 0, {100, 100}, {}}).Right, 0);

    QImage image(220, 300, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    DessinerZoneImprimable(painter, 0.01, DefaultPrinterInfo());
    painter.end();
    const QColor red(Qt::red);
    EXPECT_TRUE(isColour(image, {5, 100}, red));
    EXPECT_TRUE(isColour(image, {204, 100}, red));
    EXPECT_TRUE(isColour(image, {100, 5}, red));
    EXPECT_TRUE(isColour(image, {100, 291}, red));
    EXPECT_FALSE(isColour(image, {100, 100}, red));
    EXPECT_FALSE(isColour(image, {4, 100}, red));
    EXPECT_FALSE(isColour(image, {205, 100}, red));
}

// The page shows each placed model's name inside its cell: a name longer than the cell is cut at
// the cell's edge, never drawn over the neighbours or the paper.
TEST(SheetPage, NamesAreDrawnInsideTheirCells)
{
    TSheetPage page;
    page.FormatPage.LargeurEtiquette = 4000;
    page.FormatPage.HauteurEtiquette = 2000;
    page.FormatPage.NbColonnes = 3;
    page.FormatPage.NbLignes = 3;
    page.FormatPage.MargeGauche = 1000;
    page.FormatPage.MargeHaut = 1000;
    page.FormatPage.EcartHorizontal = 1000;
    page.FormatPage.EcartVertical = 1000;
    page.SetCell(2, 2, QStringLiteral("AVeryLongModelNameWithoutAnyBreakThatCannotFit"));
    page.SetCell(1, 3, QStringLiteral("ok"));
    const double s = 0.02;
    const QImage image = DessinerPage(page, {420, 594}, s, DefaultPrinterInfo());
    const TSheetGeometry g = SheetGeometry(page.FormatPage, s);
    int insideBlue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() < 150 || c.red() > 100 || c.green() > 100)
                continue;
            const TCellPos cell = g.HitTest({x, y});
            ASSERT_TRUE(cell == (TCellPos{2, 2}) || cell == (TCellPos{1, 3})) << x << "," << y;
            ++insideBlue;
        }
    EXPECT_GT(insideBlue, 20);
    EXPECT_TRUE(isColour(image, {2, 2}, QColor(128, 128, 128)));
    EXPECT_TRUE(isColour(image, g.CellRect(3, 3).topLeft() + QPoint(3, 3), Qt::white));
}
