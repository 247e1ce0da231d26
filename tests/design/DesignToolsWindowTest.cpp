#include "design/window/ObjectViews.h"
#include "design/window/Rulers.h"
#include "design/window/TAligne.h"
#include "design/window/TGrid.h"
#include "design/window/TPreview.h"
#include "design/window/TStretchHandle.h"
#include "ui_TAligne.h"
#include "ui_TGrid.h"
#include "ui_TPreview.h"

#include "MultiLang/MLang.h"
#include "design/DesignModel.h"
#include "platform/Rounding.h"
#include "platform/Screen.h"
#include "platform/TIniFile.h"
#include "platform/TStringGrid.h"

#include "TestSupport.h"

#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace design;

namespace {

bool dark(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 100;
}

// The screen resolution rulers read, set for the test's scope.
struct ScreenPpi {
    explicit ScreenPpi(int ppi) { platform::SetScreenPixelsPerInch(ppi); }
    ~ScreenPpi() { platform::SetScreenPixelsPerInch(0); }
};

} // namespace

TEST(Rulers, PaintTheMarksOfTheirOriginAndZoom)
{
    const ScreenPpi ppi(96);
    THRuler h;
    h.resize(120, 20);
    h.show();
    QImage image = h.grab().toImage();
    // Millimetre 1 at pixel 4: three long from the top edge (pixels 1 and 2), then the ruler's yellow.
    EXPECT_TRUE(dark(image, 4, 1) && dark(image, 4, 2));
    EXPECT_FALSE(dark(image, 4, 3));
    // Half a centimetre at pixel 19: pixels 1 to 5.
    EXPECT_TRUE(dark(image, 19, 5));
    EXPECT_FALSE(dark(image, 19, 6));
    EXPECT_EQ(image.pixelColor(60, 15), QColor(Qt::yellow));

    // From millimetre 25 the first mark is a half centimetre and the centimetre falls at pixel 19.
    h.SetOrig(25);
    image = h.grab().toImage();
    EXPECT_TRUE(dark(image, 0, 5));
    EXPECT_FALSE(dark(image, 0, 6) && dark(image, 1, 6));
    EXPECT_TRUE(dark(image, 19, 8));

    TVRuler v;
    v.resize(20, 120);
    v.show();
    image = v.grab().toImage();
    EXPECT_TRUE(dark(image, 5, 19));
    EXPECT_FALSE(dark(image, 6, 19));
}

TEST(Rulers, IgnoreSameValuesZeroZoomAndForeignSides)
{
    THRuler h;
    h.resize(100, 20);
    h.show();
    QCoreApplication::processEvents();
    const int paints = h.PaintCount();
    h.SetOrig(0);
    h.SetZoom(100);
    h.SetZoom(0);
    h.SetZoom(-50);
    EXPECT_EQ(h.PaintCount(), paints);
    EXPECT_EQ(h.Zoom(), 100);
    h.SetOrig(7);
    EXPECT_EQ(h.PaintCount(), paints + 1);
    h.SetZoom(200);
    EXPECT_EQ(h.PaintCount(), paints + 2);

    h.SetAlignHRuler(alBottom);
    h.SetAlignHRuler(alLeft);
    EXPECT_EQ(h.AlignHRuler(), alBottom);
    TVRuler v;
    v.SetAlignVRuler(alTop);
    EXPECT_EQ(v.AlignVRuler(), alNone);
    v.SetAlignVRuler(alRight);
    EXPECT_EQ(v.AlignVRuler(), alRight);
}

namespace {

// Three rectangles on a surface, viewed and selected in the order given, under the palette.
struct PaletteFixture : ::testing::Test {
    TCurrentFormat format;
    TDesignModel model{format};
    QWidget surface;
    TStretchHandle* sh = new TStretchHandle(&surface);
    TAligne palette;
    std::vector<TDesignObject*> selected;
    int modified = 0;

    void SetUp() override
    {
        testsupport::showWhiteSurface(surface);
        palette.Selection = [this] { return selected; };
        palette.LabelSize = [] { return QSize(300, 200); };
        palette.Modified = [this] { ++modified; };
        palette.SH = sh;
        palette.PaintBox = &surface;
    }
    TDesignObject* add(int left, int top, int width, int height)
    {
        TShape* s = model.AddShape(left, top, stRectangle, 1, platform::psSolid, platform::clBlack,
                                   platform::bsSolid, platform::clWhite, height, width, false);
        sh->Attach(MakeObjectView(*s, &surface));
        selected.push_back(s);
        return s;
    }
};

} // namespace

TEST_F(PaletteFixture, SpacingMovesTheObjectsTheirViewsAndTheFrame)
{
    add(10, 10, 20, 20);
    TDesignObject* middle = add(50, 40, 20, 20);
    add(200, 10, 30, 20);
    palette.UpdateButtons(static_cast<int>(selected.size()));
    QTest::mouseClick(palette.ui->ErhBtn, Qt::LeftButton);
    EXPECT_EQ(middle->Left, 105);
    EXPECT_EQ(modified, 1);
    ASSERT_EQ(sh->AttachedCount(), 3);
    EXPECT_EQ(sh->Attached(1)->geometry(), QRect(105, 40, 20, 20));
    // The frame fits the objects again, in the same order.
    EXPECT_EQ(sh->geometry(), QRect(10 - 2, 10 - 2, 220 + 5, 50 + 5));

    // Nothing left to move: the design is not marked modified again.
    QTest::mouseClick(palette.ui->ErhBtn, Qt::LeftButton);
    EXPECT_EQ(modified, 1);

    QTest::mouseClick(palette.ui->AhBtn, Qt::LeftButton);
    EXPECT_EQ(middle->Top, 10);
    EXPECT_EQ(sh->Attached(1)->y(), 10);
}

TEST_F(PaletteFixture, ButtonsFollowTheSelectionCount)
{
    const auto enabled = [this] {
        QStringList names;
        for (QToolButton* b : palette.findChildren<QToolButton*>())
            if (b->isEnabled())
                names << b->objectName();
        names.sort();
        return names;
    };
    palette.UpdateButtons(0);
    EXPECT_TRUE(enabled().isEmpty());
    palette.UpdateButtons(1);
    EXPECT_EQ(enabled(), (QStringList{"ChBtn", "CvBtn"}));
    palette.UpdateButtons(2);
    EXPECT_EQ(enabled().size(), 10);

    // A command run with too few objects anyway changes nothing.
    add(10, 10, 20, 20);
    palette.AgBtnClick();
    palette.ErvBtnClick();
    EXPECT_EQ(modified, 0);
    palette.ChBtnClick();
    EXPECT_EQ(selected[0]->Left, 140);
    EXPECT_EQ(modified, 1);
}

TEST(GridDialog, SettingsComeBackWithinRangeAndCancelKeepsTheGrid)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("g.ini");
    {
        platform::TIniFile ini(file);
        ini.WriteString("Options", "GrilleX", "40");
        ini.WriteString("Options", "GrilleY", "2");
        ini.UpdateFile();
    }
    TGrid grid;
    grid.ReadSettings(platform::TIniFile(file));
    EXPECT_EQ(grid.GrilleX(), 32);
    EXPECT_EQ(grid.GrilleY(), 5);
    {
        platform::TIniFile ini(file);
        ini.WriteString("Options", "GrilleX", "abc");
        ini.UpdateFile();
    }
    grid.ReadSettings(platform::TIniFile(file));
    EXPECT_EQ(grid.GrilleX(), 8);

    QTimer::singleShot(0, &grid, [&] {
        grid.ui->ScrollBar1->setValue(20);
        EXPECT_EQ(grid.ui->Label2->text(), "20" + grid.MultiLang1->GetText("@1"));
        QTest::mouseClick(grid.ui->CancelBtn, Qt::LeftButton);
    });
    EXPECT_FALSE(grid.Execute());
    EXPECT_EQ(grid.GrilleX(), 8);

    QTimer::singleShot(0, &grid, [&] {
        grid.ui->ScrollBar2->setValue(12);
        QTest::mouseClick(grid.ui->OKBtn, Qt::LeftButton);
    });
    EXPECT_TRUE(grid.Execute());
    EXPECT_EQ(grid.GrilleY(), 12);
}

namespace {

// A design of one text merged with the first column, over a grid of three records.
struct PreviewFixture : ::testing::Test {
    TCurrentFormat format;
    TDesignModel model{format};
    platform::TStringGrid grid;
    std::unique_ptr<TPreview> preview;

    void SetUp() override
    {
        model.LargeurEtiquettePx = 400;
        model.HauteurEtiquettePx = 200;
        model.NomDocument = "/tmp/perso/Card.v2.car";
        grid.SetColCount(1);
        grid.SetRowCount(4);
        grid.SetRow(0, {"Name"});
        grid.SetRow(1, {"A"});
        grid.SetRow(2, {"WWWWWWWW"});
        grid.SetRow(3, {"C"});
        grid.SetRow(1);
        model.AddLabel(0, 0, false, {}, platform::clBlack, 40, "Liberation Sans", -53, platform::clWhite,
                       "<Name>", taLeftJustify, 200, 400, false);
        preview = std::make_unique<TPreview>(model);
        preview->MergeGrid = [this] { return &grid; };
        preview->DatabaseIsSource = [] { return true; };
        // The source's card moves its grid's current record.
        preview->CardNavigate = [this](int button) {
            const int last = grid.RowCount() - 1;
            grid.SetRow(button == 0 ? 1 : button == 1 ? grid.Row() - 1 : button == 2 ? grid.Row() + 1 : last);
        };
    }
    int inked() const
    {
        const QImage& b = preview->Bitmap();
        return testsupport::darkPixels(b, 0, 0, b.width() - 1, b.height() - 1);
    }
};

} // namespace

TEST_F(PreviewFixture, FollowsTheRecordWhileShownOnly)
{
    preview->Execute();
    ASSERT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->windowTitle(), preview->MultiLang1->GetText("@1") + "Card.v2");
    EXPECT_EQ(preview->ui->Label1->text(), preview->MultiLang1->GetText("@2"));
    const int first = inked();
    EXPECT_GT(first, 0);
    EXPECT_FALSE(preview->ui->BeginBtn->isEnabled());
    EXPECT_FALSE(preview->ui->RewBtn->isEnabled());
    EXPECT_TRUE(preview->ui->EndBtn->isEnabled());

    QTest::mouseClick(preview->ui->FFBtn, Qt::LeftButton);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_GT(inked(), first * 3);
    EXPECT_TRUE(preview->ui->RewBtn->isEnabled());

    // A move made elsewhere (the card) is followed too.
    const int draws = preview->DesignDraws();
    grid.SetRow(3);
    EXPECT_EQ(preview->DesignDraws(), draws + 1);
    EXPECT_FALSE(preview->ui->FFBtn->isEnabled());

    preview->hide();
    grid.SetRow(1);
    EXPECT_EQ(preview->DesignDraws(), draws + 1);
}

TEST_F(PreviewFixture, KeepsTheLabelsProportions)
{
    preview->Execute();
    const int toolbar = preview->ui->Panel1->maximumHeight();
    // The window, frame included, is two thirds of the screen's width.
    const QSize screen = preview->screen()->geometry().size();
    EXPECT_EQ(preview->frameGeometry().width(), platform::R(screen.width() / 1.5));
    EXPECT_EQ(preview->height() - toolbar, platform::R(preview->width() / 2.0));
    preview->resize(100, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(preview->size(), QSize(180, 90 + toolbar));
}

TEST_F(PreviewFixture, ALabelOfNoSizePaintsOnlyTheBackground)
{
    model.LargeurEtiquettePx = 0;
    preview->resize(300, 200);
    preview->Execute();
    EXPECT_EQ(preview->size(), QSize(300, 200));
    EXPECT_EQ(inked(), 0);
    EXPECT_EQ(preview->DesignDraws(), 0);
    model.NomDocument.clear();
    preview->PaintBoxPaint();
    EXPECT_EQ(preview->windowTitle(), preview->MultiLang1->GetText("@1"));
}
