#include "design/DesignFileFormat.h"
#include "design/window/TForm1.h"
#include "design/window/TPreview.h"
#include "shell/program/MainWindows.h"
#include "station/window/TModEtik.h"
#include "ui_TForm1.h"
#include "ui_TModEtik.h"

#include "MultiLang/MLBase.h"
#include "platform/TextFile.h"
#include "platform/window/Dialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
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
        design::TCurrentFormat format{"Badge", 7000, 4200, 2, 5, 0, 0, 0, 0, false, false};
        design::TDesignModel model(format);
        model.LargeurEtiquettePx = 265;
        model.HauteurEtiquettePx = 159;
        design::PlaceLine(model, 10, 10);
        design::SaveDesign(model, dir.filePath("perso/Badge.car"), design::TDesignScope::WholeDesign);
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
