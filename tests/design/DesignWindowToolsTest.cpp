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
#include "ui_TSaveD.h"

#include "MultiLang/MLBase.h"
#include "MultiLang/MLang.h"
#include "platform/Screen.h"
#include "platform/window/Dialogs.h"
#include "station/Station.h"

#include "DesignWindowFixture.h"

#include <QApplication>
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
    EXPECT_GT(form->Preview->DesignDraws(), draws);
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
