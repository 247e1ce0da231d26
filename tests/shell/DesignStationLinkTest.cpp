#include "design/DesignFileFormat.h"
#include "design/window/TForm1.h"
#include "design/window/TNumAuto.h"
#include "design/window/TPreview.h"
#include "shell/program/MainWindows.h"
#include "station/window/TFormat.h"
#include "station/window/TModEtik.h"
#include "ui_TFormat.h"
#include "ui_TForm1.h"
#include "ui_TModEtik.h"
#include "ui_TPreview.h"

#include "TestSupport.h"

#include "MultiLang/MLBase.h"
#include "platform/TextFile.h"
#include "platform/window/Dialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The station and the design window of a program folder holding one design, linked as the
// program links them.
class DesignStationLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_language = GlobalLanguage();
        platform::dialogHooks().messageBox = [this](QMessageBox& box) {
            boxes << box.text();
            QAbstractButton* button = box.button(answer);
            (button != nullptr ? button : box.button(QMessageBox::Ok))->click();
        };
        QDir().mkpath(dir.filePath("perso"));
        saveBadge();
        platform::writeFileAtomically(dir.filePath("pravolis.ini"), "[Options]\r\nFirstTime=0\r\n");
        station = std::make_unique<station::TModEtik>(
            station::TStationFolders::Resolve(dir.path(), dir.filePath("user"), true), dir.filePath("pravolis.ini"));
        station->FormCreate();
        designer = std::make_unique<TForm1>(station->Station);
        LinkDesignWindow(*station, *designer);
        station->show();
    }
    void TearDown() override
    {
        designer.reset();
        station.reset();
        SetGlobalLanguage(m_language);
    }

    // "Badge": one line on 2 x 5 labels of 70 x 42 mm.
    void saveBadge()
    {
        design::TCurrentFormat format{"Badge", 7000, 4200, 2, 5, 0, 0, 0, 0, false, false};
        design::TDesignModel model(format);
        model.LargeurEtiquettePx = 265;
        model.HauteurEtiquettePx = 159;
        design::PlaceLine(model, 10, 10);
        design::SaveDesign(model, dir.filePath("perso/Badge.car"), design::TDesignScope::WholeDesign);
    }

    // The designer's format command, answered in the format window with the format `name`.
    void chooseFormat(const QString& name)
    {
        QTimer::singleShot(0, [this, name] {
            station::TFormat* window = station->FormatWindow();
            const QList<QListWidgetItem*> found = window->ui->ListBox->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            window->ui->ListBox->setCurrentItem(found[0]);
            QTest::mouseClick(window->ui->OKBtn, Qt::LeftButton);
        });
        QTest::mouseClick(designer->ui->FormatBtn, Qt::LeftButton);
    }

    // The station's page as the clear-page command leaves it.
    void expectPageCleared(const char* how)
    {
        EXPECT_TRUE(station->Station.Planche.IsEmpty()) << how;
        EXPECT_FALSE(station->ui->ClearPageBtn->isEnabled()) << how;
        EXPECT_FALSE(station->ui->EffacerItem->isEnabled()) << how;
        EXPECT_FALSE(station->ui->PrintBtn->isEnabled()) << how;
        EXPECT_EQ(station->ui->Page->toolTip(), "Preview of the page of labels") << how;
    }

    QTemporaryDir dir;
    platform::DialogHooksGuard hooks;
    QStringList boxes;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    std::unique_ptr<station::TModEtik> station;
    std::unique_ptr<TForm1> designer;

private:
    int m_language = 0;
};

TEST_F(DesignStationLink, TheStationStepsAsideWhileADesignIsEdited)
{
    ASSERT_EQ(station->ui->ListBox->count(), 1);
    station->ui->ListBox->setCurrentRow(0);
    EXPECT_TRUE(station->ui->ModifierItem->isEnabled());
    EXPECT_TRUE(station->ui->NouveauItem->isEnabled());
    EXPECT_TRUE(station->ui->PlusBtn->isEnabled());

    station->ModifierModele();
    EXPECT_TRUE(designer->isVisible());
    EXPECT_FALSE(station->isVisible());
    ASSERT_EQ(designer->Model().Count(), 1);
    EXPECT_NE(designer->ViewOf(designer->Model().Object(0)), nullptr);
    EXPECT_TRUE(designer->windowTitle().endsWith("\"Badge\""));

    // A change, then the way back: the question comes, Cancel stays in the designer.
    designer->Model().Modifie = true;
    designer->close();
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_TRUE(designer->isVisible());
    EXPECT_FALSE(station->isVisible());
    answer = QMessageBox::No;
    designer->ui->Quitter1->trigger();
    EXPECT_FALSE(designer->isVisible());
    EXPECT_TRUE(station->isVisible());
    // The station read its design again: the change was left.
    EXPECT_FALSE(designer->Model().Modifie);
    EXPECT_EQ(designer->Model().Count(), 1);
}

TEST_F(DesignStationLink, ASaveKeepsTheSavedDesignInTheDesigner)
{
    station->ui->ListBox->setCurrentRow(0);
    station->ModifierModele();
    design::PlaceLine(designer->Model(), 40, 40);
    designer->Model().Modifie = true;
    designer->AskDesignName = [](const QString&) { return QStringLiteral("Zeta"); };
    designer->SaveAsClick();
    // The station lists both and has the saved one selected; the designer holds what was saved.
    ASSERT_EQ(station->ui->ListBox->count(), 2);
    EXPECT_EQ(station->ui->ListBox->currentRow(), 1);
    EXPECT_EQ(designer->Model().Count(), 2);
    EXPECT_TRUE(designer->Model().NomDocument.endsWith("Zeta.car"));
    EXPECT_FALSE(designer->Model().Modifie);
    EXPECT_TRUE(designer->isVisible());
    EXPECT_FALSE(station->isVisible());
}

} // namespace

TEST_F(DesignStationLink, TheStationsPreviewShowsTheSelectedDesign)
{
    EXPECT_TRUE(station->ui->PreviewBtn->isEnabled());
    EXPECT_TRUE(station->ui->ApercuItem->isEnabled());
    station->ui->ListBox->setCurrentRow(0);
    station->ui->ApercuItem->trigger();
    ASSERT_TRUE(designer->Preview->isVisible());
    EXPECT_TRUE(designer->Preview->windowTitle().endsWith("Badge"));
    const QImage& drawn = designer->Preview->Bitmap();
    // The label's proportions (265 x 159) under the toolbar, and the design's line drawn.
    EXPECT_NEAR(static_cast<double>(drawn.width()) / drawn.height(), 265.0 / 159.0, 0.02);
    int dark = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            dark += qGray(drawn.pixel(x, y)) < 128;
    EXPECT_GT(dark, 50);

    station->ShowPreview = nullptr;
    station->EnablePreviewCommands();
    EXPECT_FALSE(station->ui->PreviewBtn->isEnabled());
}

// A design saved in a format other than the page's no longer fits the cells it stands in: it
// leaves the page, however it is saved, and the page it empties is cleared as by the station's
// clear-page command.
TEST_F(DesignStationLink, ADesignSavedInAnotherFormatLeavesThePage)
{
    const struct {
        const char* how;
        std::function<void()> save;
    } saves[] = {
        {"the save question", [&] {
             answer = QMessageBox::Yes;
             designer->ui->Quitter1->trigger();
         }},
        {"the Save button", [&] { QTest::mouseClick(designer->ui->SaveBtn, Qt::LeftButton); }},
        {"Ctrl+S", [&] { designer->ui->Enregistrer1->trigger(); }},
    };
    for (const auto& s : saves) {
        saveBadge();
        station->show();
        station->RemplirListeModeles();
        QTest::mouseClick(station->ui->FillBtn, Qt::LeftButton);
        ASSERT_EQ(station->Station.Planche.NbCasesRemplies(), 10) << s.how;
        station->ModifierModele();
        chooseFormat("Default format");
        ASSERT_EQ(designer->Model().Format().NbColonnes, 3);
        s.save();
        expectPageCleared(s.how);
        designer->hide();
    }
}

// A format changed and changed back still takes the design off the page at the save question;
// the emptied page is cleared by the station's command, its buttons and hint with it.
TEST_F(DesignStationLink, TheSaveQuestionClearsThePageItEmptiesWithTheStationsCommand)
{
    station->ui->ListBox->setCurrentRow(0);
    QTest::mouseClick(station->ui->FillBtn, Qt::LeftButton);
    station->ModifierModele();
    chooseFormat("Default format");
    chooseFormat("Badge");
    ASSERT_EQ(designer->Model().Format().NbColonnes, 2);
    answer = QMessageBox::Yes;
    designer->ui->Quitter1->trigger();
    EXPECT_TRUE(station->isVisible());
    expectPageCleared("changed back");
}

// A format changed in the designer and given up (No to saving) leaves the preview with the shape
// of the design it draws again, not of the format dropped.
TEST_F(DesignStationLink, TheLivePreviewTakesBackTheShapeOfADesignWhoseNewFormatWasGivenUp)
{
    station->ui->ListBox->setCurrentRow(0);
    station->ModifierModele();
    QTest::mouseClick(designer->ui->PreviewBtn, Qt::LeftButton);
    ASSERT_TRUE(designer->Preview->isVisible());
    const auto ratio = [this] {
        const QSize image = designer->Preview->ui->Image->size();
        return static_cast<double>(image.width()) / image.height();
    };
    const double badge = 265.0 / 159.0;
    designer->ChooseFormat = [](const QString&, station::TLigneFormat& row, station::TPaperNames&) {
        const QStringList cells{"Address", "10500", "3700", "2", "8", "0", "0", "0", "0", "0", "0"};
        for (int i = 0; i < cells.size(); ++i)
            row.Cells[i] = cells[i];
        return true;
    };
    QTest::mouseClick(designer->ui->FormatBtn, Qt::LeftButton);
    const double other = static_cast<double>(designer->Model().LargeurEtiquettePx) / designer->Model().HauteurEtiquettePx;
    ASSERT_GT(std::abs(other - badge), 0.2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(ratio() - other) < 0.02; }));

    answer = QMessageBox::No;
    designer->close();
    ASSERT_TRUE(station->isVisible());
    ASSERT_EQ(station->Station.Designer.LargeurEtiquettePx, 265);
    station->ui->ApercuItem->trigger();
    ASSERT_TRUE(designer->Preview->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(ratio() - badge) < 0.02; })) << ratio();
    const QImage& drawn = designer->Preview->Bitmap();
    EXPECT_NEAR(static_cast<double>(drawn.width()) / drawn.height(), badge, 0.02);
}

// The preview merges the dates as print and the thumbnail do: a text with "<Date1>" draws as the
// same text with the date the station prints written in.
TEST_F(DesignStationLink, TheLivePreviewShowsTheDatesPrintShows)
{
    station->ui->ListBox->setCurrentRow(0);
    const QString date = station->NumAutoWindow()->Numbering().Date1;
    ASSERT_FALSE(date.isEmpty());
    design::TLabel* text = design::PlaceLabel(station->Station.Designer, 10, 40, "No <Autonum> <Date1>");
    text->Width = 250;
    station->ui->ApercuItem->trigger();
    ASSERT_TRUE(designer->Preview->isVisible());
    designer->RefreshPreview();
    const QImage merged = designer->Preview->Bitmap().copy();
    text->Caption = "No <Autonum> " + date;
    designer->RefreshPreview();
    EXPECT_EQ(designer->Preview->Bitmap(), merged);
}

// The save question of the design window changes the station's page from outside the station:
// the page tells the station, whose commands and picture follow at once. Here the design leaves
// all but one cell of a full page, which can then be filled again.
TEST_F(DesignStationLink, ThePageTheSaveQuestionChangesKeepsTheStationsCommandsRight)
{
    station->ui->ListBox->setCurrentRow(0);
    QTest::mouseClick(station->ui->FillBtn, Qt::LeftButton);
    station->Station.Planche.SetCell(1, 1, "Other");
    ASSERT_EQ(station->Station.Planche.NbCasesRemplies(), 10);
    ASSERT_FALSE(station->ui->FillBtn->isEnabled());
    station->ModifierModele();
    chooseFormat("Default format");
    chooseFormat("Badge");
    // With the station in sight, the designer is asked to leave its design, as the station's
    // commands ask it, and saves it: nothing but the question touches the station.
    station->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(station.get()));
    ASSERT_FALSE(station->ui->FillBtn->isEnabled());
    answer = QMessageBox::Yes;
    EXPECT_TRUE(station->ConfirmSave());
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_EQ(station->Station.Planche.NbCasesRemplies(), 1);
    EXPECT_EQ(station->Station.Planche.Cell(1, 1), "Other");
    EXPECT_TRUE(station->ui->FillBtn->isEnabled());
    EXPECT_TRUE(station->ui->ClearPageBtn->isEnabled());
    EXPECT_TRUE(station->ui->PrintBtn->isEnabled());
    EXPECT_EQ(station->ui->Page->toolTip(), station->GetText("@5"));
    // The page's picture is the one the station draws for the page now.
    const QImage shown = station->ui->Page->pixmap().toImage();
    station->ListBoxClick();
    EXPECT_EQ(shown, station->ui->Page->pixmap().toImage());
}
