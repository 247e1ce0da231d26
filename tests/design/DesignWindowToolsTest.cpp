#include "design/DesignDocument.h"
#include "design/window/Rulers.h"
#include "design/window/TAligne.h"
#include "design/window/TForm1.h"
#include "design/window/TGrid.h"
#include "design/window/TPreview.h"
#include "design/window/TSaveD.h"
#include "design/window/TStretchHandle.h"
#include "ui_TAligne.h"
#include "ui_TForm1.h"
#include "ui_TGrid.h"
#include "ui_TPreview.h"
#include "ui_TSaveD.h"

#include "MultiLang/MLBase.h"
#include "MultiLang/MLang.h"
#include "platform/Screen.h"
#include "platform/window/Dialogs.h"
#include "station/Station.h"
#include "station/StationRules.h"

#include "DesignWindowFixture.h"
#include "platform/window/WindowPlace.h"
#include "LanguageGuard.h"
#include "TestSupport.h"

#include <QApplication>
#include <QScreen>
#include <QFontMetrics>
#include <QMainWindow>
#include <QWindow>
#include <QMessageBox>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace design;

namespace {

// The design window on a station of its own, with two rectangles selected in creation order.
class DesignWindowTools : public DesignWindowFixture {
protected:
    void SetUp() override
    {
        DesignWindowFixture::SetUp();
        platform::SetScreenPixelsPerInch(96);
        platform::dialogHooks().messageBox = [this](QMessageBox& box) {
            boxes << box.text();
            box.button(QMessageBox::Ok) != nullptr ? box.button(QMessageBox::Ok)->click()
                                                   : box.button(QMessageBox::No)->click();
        };
        openWindow();
        first = PlaceShape(model(), 20, 30, stRectangle);
        second = PlaceShape(model(), 150, 90, stEllipse);
        form->Select(first, false);
        form->Select(second, true);
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        DesignWindowFixture::TearDown();
        platform::SetScreenPixelsPerInch(0);
    }
    // Runs `act` on the modal dialog the next command opens.
    template <class Dialog>
    void onModal(std::function<void(Dialog&)> act)
    {
        QTimer::singleShot(0, [act] {
            auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            act(*d);
        });
    }

    QStringList boxes;
    TDesignObject* first = nullptr;
    TDesignObject* second = nullptr;
};

// A file of one byte, standing for a design saved earlier.
void writeStandInDesign(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

} // namespace

TEST_F(DesignWindowTools, RulersFollowScrollingAndTheirMenu)
{
    ASSERT_TRUE(form->HRuler->isVisible());
    ASSERT_TRUE(form->VRuler->isVisible());
    // Below and at the right of the surface.
    EXPECT_GE(form->HRuler->y(), ui().ScrollBox->geometry().bottom());
    EXPECT_GE(form->VRuler->x(), ui().ScrollBox->geometry().right());
    ui().ScrollBox->horizontalScrollBar()->setValue(96);
    ui().ScrollBox->verticalScrollBar()->setValue(189);
    EXPECT_EQ(form->HRuler->Orig(), 25);
    EXPECT_EQ(form->VRuler->Orig(), 50);

    ui().Rgles1->trigger();
    EXPECT_FALSE(form->HRuler->isVisible());
    EXPECT_FALSE(station->Settings.Regles);
}

TEST_F(DesignWindowTools, PaletteAlignsTheSelectionAndReleasesItsButton)
{
    QTest::mouseClick(ui().PaletteBtn, Qt::LeftButton);
    ASSERT_TRUE(form->Aligne->isVisible());
    EXPECT_TRUE(form->Aligne->ui->AgBtn->isEnabled());
    model().Modifie = false;
    QTest::mouseClick(form->Aligne->ui->AgBtn, Qt::LeftButton);
    EXPECT_EQ(second->Left, 20);
    EXPECT_TRUE(model().Modifie);
    EXPECT_EQ(form->ViewOf(second)->x(), 20);
    EXPECT_EQ(form->Selection(), (std::vector<TDesignObject*>{first, second}));

    form->EmptySelection();
    EXPECT_FALSE(form->Aligne->ui->ChBtn->isEnabled());
    form->Aligne->move(40, 50);
    form->Aligne->close();
    EXPECT_FALSE(ui().PaletteBtn->isChecked());
    EXPECT_EQ(station->Settings.PaletteX, 40);
}

using DesignWindowPalettePlace = DesignWindowFixture;

TEST_F(DesignWindowPalettePlace, ThePaletteReopensWhereItWasInsideTheScreen)
{
    // A place saved on a larger screen, or on one no longer there, must not leave the palette
    // out of reach; a place on the screen is kept as saved.
    const struct {
        const char* what;
        QPoint saved;
        bool kept;
    } cases[] = {
        {"on the screen", {50, 60}, true},
        {"far left", {-5000, 7}, false},
        {"past the bottom right", {100000, 100000}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::writeBytes(dir.filePath("pravolis.ini"),
                                QStringLiteral("[Palette]\r\nx=%1\r\ny=%2\r\n").arg(c.saved.x()).arg(c.saved.y()).toUtf8());
        openWindow();
        QTest::mouseClick(ui().PaletteBtn, Qt::LeftButton);
        QCoreApplication::processEvents();
        ASSERT_TRUE(form->Aligne->isVisible());
        const QRect area = form->Aligne->screen()->availableGeometry();
        EXPECT_TRUE(area.contains(form->Aligne->frameGeometry()))
            << form->Aligne->frameGeometry().x() << "," << form->Aligne->frameGeometry().y();
        if (c.kept) {
            EXPECT_EQ(form->Aligne->pos(), c.saved);
        }
        form->Aligne->close();
        model().Modifie = false;
        form.reset();
    }
}

TEST_F(DesignWindowTools, GridSizeDialogSetsTheSnappingSteps)
{
    ui().Active1->trigger();
    onModal<TGrid>([](TGrid& g) {
        g.ui->ScrollBar1->setValue(16);
        g.ui->ScrollBar2->setValue(12);
        QTest::mouseClick(g.ui->OKBtn, Qt::LeftButton);
    });
    ui().Dimensions1->trigger();
    EXPECT_EQ(form->GrilleX, 16);
    EXPECT_EQ(form->GrilleY, 12);
    EXPECT_EQ(station->Settings.GrilleX, 16);

    onModal<TGrid>([](TGrid& g) {
        g.ui->ScrollBar1->setValue(30);
        QTest::mouseClick(g.ui->CancelBtn, Qt::LeftButton);
    });
    ui().Dimensions1->trigger();
    EXPECT_EQ(form->GrilleX, 16);
}

TEST_F(DesignWindowTools, SaveAsNamesTheDesignThroughTheCheckedDialog)
{
    onModal<TSaveD>([this](TSaveD& d) {
        d.ui->Edit1->setText("v1.2");
        QTest::mouseClick(d.ui->OKBtn, Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(boxes, QStringList{d.MultiLang1->GetText("@1")});
        d.ui->Edit1->setText("Card");
        QTest::mouseClick(d.ui->OKBtn, Qt::LeftButton);
    });
    form->SaveAsClick();
    EXPECT_TRUE(QFileInfo::exists(QDir(DesignsFolder(dir.path())).filePath("Card.car")))
        << model().NomDocument.toStdString();
}

TEST_F(DesignWindowTools, LivePreviewFollowsEditsOfTheDesign)
{
    QTest::mouseClick(ui().PreviewBtn, Qt::LeftButton);
    ASSERT_TRUE(form->Preview->isVisible());
    const int draws = form->Preview->DesignDraws();
    EXPECT_GT(draws, 0);
    QTest::mouseClick(ui().PaletteBtn, Qt::LeftButton);
    QTest::mouseClick(form->Aligne->ui->AhBtn, Qt::LeftButton);
    // The preview draws once the edit is over.
    (void)QTest::qWaitFor([&] { return form->Preview->DesignDraws() > draws; });
    EXPECT_GT(form->Preview->DesignDraws(), draws);
}

TEST_F(DesignWindowTools, LivePreviewRedrawsAfterObjectsComeAndGo)
{
    QTest::mouseClick(ui().PreviewBtn, Qt::LeftButton);
    ASSERT_TRUE(form->Preview->isVisible());
    struct Case {
        const char* action;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"place", [this] {
             form->ChooseTool(TDesignTool::Rectangle);
             QTest::mouseClick(ui().PaintBox, Qt::LeftButton, {}, QPoint(200, 20));
             form->ChooseTool(TDesignTool::Selection);
         }},
        {"paste", [this] {
             form->Select(first, false);
             ui().Copier1->trigger();
             ui().Coller1->trigger();
         }},
        {"delete", [this] {
             // The Delete key's command (the key itself: the design window's own tests).
             form->Select(first, false);
             form->DeleteSelection();
         }},
        {"cut", [this] {
             form->Select(second, false);
             ui().Couper1->trigger();
         }},
        {"erase all", [this] { QTest::mouseClick(ui().SpeedButton1, Qt::LeftButton); }},
    };
    int objects = model().Count();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        QCoreApplication::processEvents();
        const int draws = form->Preview->DesignDraws();
        c.run();
        EXPECT_NE(model().Count(), objects);
        objects = model().Count();
        (void)QTest::qWaitFor([&] { return form->Preview->DesignDraws() > draws; });
        EXPECT_GT(form->Preview->DesignDraws(), draws);
    }
}

// Every edit draws the preview once, when it is over, however the user made it; painting the
// surface draws none (a rubber band repaints it at every move of the pointer).
TEST_F(DesignWindowTools, LivePreviewDrawsOncePerEditAndNeverForARubberBand)
{
    QTest::mouseClick(ui().PreviewBtn, Qt::LeftButton);
    QTest::mouseClick(ui().PaletteBtn, Qt::LeftButton);
    ASSERT_TRUE(form->Preview->isVisible());
    (void)QTest::qWaitFor([&] { return form->Preview->DesignDraws() > 0; });
    QCoreApplication::processEvents();
    form->ChooseFormat = [](const QString&, station::TLigneFormat& row, station::TPaperNames&) {
        const QStringList cells{"Wide", "10000", "5000", "1", "1", "0", "0", "0", "0", "0", "0"};
        for (int i = 0; i < cells.size(); ++i)
            row.Cells[i] = cells[i];
        return true;
    };
    // Where the frame carries the view at `surface`, in its own coordinates.
    const auto onFrame = [this](TDesignObject* o) {
        return form->SH->mapFrom(ui().Feuille, form->ViewOf(o)->geometry().center());
    };
    const struct {
        const char* edit;
        std::function<void()> run;
    } edits[] = {
        {"a drag of the frame", [&] {
             const QPoint from = onFrame(first);
             QTest::mousePress(form->SH, Qt::LeftButton, {}, from);
             for (int step = 1; step <= 4; ++step)
                 QTest::mouseMove(form->SH, from + QPoint(8 * step, 8 * step));
             QTest::mouseRelease(form->SH, Qt::LeftButton, {}, from + QPoint(32, 32));
         }},
        {"an arrow key", [&] { QTest::keyClick(form->SH, Qt::Key_Right); }},
        {"the palette", [&] { QTest::mouseClick(form->Aligne->ui->AhBtn, Qt::LeftButton); }},
        {"the Delete key", [&] {
             // Back in the design window from the palette.
             form->Aligne->close();
             form->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
             // The key goes where the keyboard is, as a user's does.
             ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }));
             const int count = model().Count();
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
             EXPECT_LT(model().Count(), count) << QApplication::focusWidget()->metaObject()->className();
         }},
        {"a placed rectangle", [&] {
             QTest::mouseClick(ui().RectBtn, Qt::LeftButton);
             QTest::mouseClick(ui().PaintBox, Qt::LeftButton, {}, QPoint(200, 20));
             QTest::mouseClick(ui().SelBtn, Qt::LeftButton);
         }},
        {"a new format", [&] { QTest::mouseClick(ui().FormatBtn, Qt::LeftButton); }},
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.edit);
        const int draws = form->Preview->DesignDraws();
        e.run();
        EXPECT_TRUE(QTest::qWaitFor([&] { return form->Preview->DesignDraws() > draws; }));
        QCoreApplication::processEvents();
        EXPECT_EQ(form->Preview->DesignDraws(), draws + 1);
    }

    const int draws = form->Preview->DesignDraws();
    const QPoint start(400, 380);
    QTest::mousePress(ui().PaintBox, Qt::LeftButton, {}, start);
    ASSERT_TRUE(form->CadreEnCours);
    for (int step = 1; step <= 5; ++step) {
        QTest::mouseMove(ui().PaintBox, start + QPoint(10 * step, 6 * step));
        QCoreApplication::processEvents();
    }
    QTest::mouseRelease(ui().PaintBox, Qt::LeftButton, {}, start + QPoint(50, 30));
    QCoreApplication::processEvents();
    EXPECT_EQ(form->Preview->DesignDraws(), draws);
}

// The frame takes presses where its views show: a view cut at the label's edge that shows whole
// after the label grew takes them there too, though neither it nor the frame moved.
TEST_F(DesignWindowTools, TheSelectionFrameFollowsItsViewsCutAtTheLabel)
{
    TShape* cut = PlaceShape(model(), 270, 120, stRectangle);
    form->Select(cut, false);
    QCoreApplication::processEvents();
    const QWidget* view = form->ViewOf(cut);
    ASSERT_GT(view->geometry().right(), 300 + 10);
    const QPoint past(310, view->geometry().center().y()); // past the label, inside the view
    const auto framed = [&] { return form->SH->mask().contains(past - form->SH->pos()); };
    ASSERT_FALSE(framed());
    form->ChooseFormat = [](const QString&, station::TLigneFormat& row, station::TPaperNames&) {
        const QStringList cells{"Wide", "10000", "5300", "1", "1", "0", "0", "0", "0", "0", "0"};
        for (int i = 0; i < cells.size(); ++i)
            row.Cells[i] = cells[i];
        return true;
    };
    form->FormatBtnClick();
    ASSERT_GT(model().LargeurEtiquettePx, 320);
    EXPECT_TRUE(QTest::qWaitFor(framed));
}

TEST_F(DesignWindowTools, LivePreviewTakesTheProportionsOfANewFormat)
{
    // A low designer leaves the preview its full size below it.
    form->setGeometry(0, 0, form->minimumSizeHint().width(), 250);
    QTest::mouseClick(ui().PreviewBtn, Qt::LeftButton);
    ASSERT_TRUE(form->Preview->isVisible());
    const QSize wide = form->Preview->ui->Image->size();
    ASSERT_GT(wide.width(), wide.height()); // 300 x 200
    form->ChooseFormat = [](const QString&, station::TLigneFormat& row, station::TPaperNames&) {
        const QStringList cells{"Tall", "5000", "8000", "1", "1", "0", "0", "0", "0", "0", "0"};
        for (int i = 0; i < cells.size(); ++i)
            row.Cells[i] = cells[i];
        return true;
    };
    const int draws = form->Preview->DesignDraws();
    form->FormatBtnClick();
    (void)QTest::qWaitFor([&] { return form->Preview->DesignDraws() > draws; });
    const QSize tall = form->Preview->ui->Image->size();
    // The label's proportions: 189 x 302 design pixels.
    EXPECT_NEAR(tall.width() * 302.0 / 189.0, tall.height(), 3.0);
    EXPECT_GT(form->Preview->DesignDraws(), draws);
}

TEST_F(DesignWindowTools, ShowingTheDesignerClosesAPreviewLeftOpen)
{
    QTest::mouseClick(ui().PreviewBtn, Qt::LeftButton);
    ASSERT_TRUE(form->Preview->isVisible());
    form->hide();
    form->ShowForDesign();
    EXPECT_FALSE(form->Preview->isVisible());
}

TEST_F(DesignWindowTools, ToolWindowsOpenBesideTheDesignerAndBelowItsDialogs)
{
    form->resize(500, 400);
    form->move(20, 20);
    QCoreApplication::processEvents();
    QTest::mouseClick(ui().PreviewBtn, Qt::LeftButton);
    QTest::mouseClick(ui().PaletteBtn, Qt::LeftButton);
    ASSERT_TRUE(form->Preview->isVisible());
    ASSERT_TRUE(form->Aligne->isVisible());
    // Not over the designer's menu and tool bar.
    const QRect bar(ui().Panel1->mapToGlobal(QPoint(0, 0)), ui().Panel1->size());
    EXPECT_FALSE(form->Preview->frameGeometry().intersects(bar));
    EXPECT_TRUE(form->screen()->availableGeometry().contains(form->Preview->frameGeometry()));
    // Above their designer only: a dialog the designer opens (the font dialog, the barcode
    // dialog) comes above them, its buttons in reach.
    for (QWidget* tool : {static_cast<QWidget*>(form->Preview), static_cast<QWidget*>(form->Aligne)}) {
        SCOPED_TRACE(tool->metaObject()->className());
        EXPECT_EQ(tool->windowType(), Qt::Tool);
        EXPECT_FALSE(tool->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        ASSERT_NE(tool->windowHandle(), nullptr);
        EXPECT_EQ(tool->windowHandle()->transientParent(), form->windowHandle());
    }
}

// Watched while designing, the preview never hides the design surface or the palette: with no
// room beside the designer at full size it takes the room there is, smaller with the label's
// proportions kept; with none worth the name (a designer as large as the screen) the two share
// the screen.
TEST_F(DesignWindowTools, ThePreviewLeavesTheSurfaceAndThePaletteInSight)
{
    const QRect area = form->screen()->availableGeometry();
    const QRect places[] = {QRect(QPoint(0, 0), QSize(640, 480)).translated(area.center() - QPoint(320, 240)),
                            area.marginsRemoved(platform::FrameMargins(form.get()))};
    for (const QRect& place : places) {
        SCOPED_TRACE(place.width());
        form->Preview->close();
        form->setGeometry(place);
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->geometry() == place; }));
        if (!form->Aligne->isVisible())
            QTest::mouseClick(ui().PaletteBtn, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Aligne));
        QTest::mouseClick(ui().PreviewBtn, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Preview));
        const QRect preview = form->Preview->frameGeometry();
        EXPECT_FALSE(preview.intersects(form->frameGeometry())) << form->frameGeometry().x() << "," << form->frameGeometry().y() << " " << form->frameGeometry().width() << "x" << form->frameGeometry().height() << " / " << preview.x() << "," << preview.y() << " " << preview.width() << "x" << preview.height();
        EXPECT_FALSE(preview.intersects(form->Aligne->frameGeometry()));
        EXPECT_TRUE(area.contains(preview));
        // The label is 300 x 200 design pixels.
        const QSize image = form->Preview->ui->Image->size();
        EXPECT_NEAR(image.width() * 200.0 / 300.0, image.height(), 2.0);
        EXPECT_GE(image.width(), 150);
    }
}

TEST_F(DesignWindowTools, ThePreviewAskedForByAnotherWindowStaysAboveThatWindow)
{
    // The station asks while the design window is hidden.
    QMainWindow station;
    station.setCentralWidget(new QWidget);
    station.resize(300, 200);
    station.show();
    form->hide();
    form->Preview->Execute(&station);
    ASSERT_TRUE(form->Preview->isVisible());
    EXPECT_EQ(form->Preview->windowHandle()->transientParent(), station.windowHandle());
    form->Preview->close();
    form->show();
    form->PreviewBtnClick();
    EXPECT_EQ(form->Preview->windowHandle()->transientParent(), form->windowHandle());
}

TEST_F(DesignWindowTools, ThePalettesTitleFitsInEveryLanguage)
{
    testsupport::LanguageGuard restoreLanguage;
    for (int language = 0; language < 7; ++language) {
        SCOPED_TRACE(language);
        SetGlobalLanguage(language);
        TAligne palette;
        QFont bold = palette.font();
        bold.setBold(true);
        // Room for the title, the window's icon and its buttons.
        EXPECT_GE(palette.width(), QFontMetrics(bold).horizontalAdvance(palette.windowTitle()) + 120);
        // The buttons stay one block, centred.
        const auto onPalette = [&](const QWidget* button) {
            return QRect(button->mapTo(&palette, QPoint(0, 0)), button->size());
        };
        const QRect block = onPalette(palette.ui->AgBtn).united(onPalette(palette.ui->AbBtn));
        EXPECT_EQ(block.width(), 146);
        EXPECT_LE(std::abs(block.left() - (palette.width() - block.right() - 1)), 1);
    }
}

TEST_F(DesignWindowTools, SaveAsReplacesTheDesignOfThatNameInAnyLetterCase)
{
    const QDir designs(DesignsFolder(dir.path()));
    ASSERT_TRUE(designs.mkpath("."));
    writeStandInDesign(designs.filePath("Card.CAR"));
    platform::dialogHooks().messageBox = [this](QMessageBox& box) {
        boxes << box.text();
        box.button(QMessageBox::Yes)->click();
    };
    onModal<TSaveD>([](TSaveD& d) {
        d.ui->Edit1->setText("card");
        QTest::mouseClick(d.ui->OKBtn, Qt::LeftButton);
    });
    form->SaveAsClick();
    EXPECT_EQ(boxes.size(), 1); // the replace question
    EXPECT_EQ(designs.entryList(QDir::Files), QStringList{"Card.CAR"});
    EXPECT_GT(QFileInfo(designs.filePath("Card.CAR")).size(), 1);
}
