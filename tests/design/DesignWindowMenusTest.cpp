#include "design/PropertyCommands.h"
#include "design/window/TForm1.h"
#include "design/window/TPropertyMenus.h"
#include "design/window/TStretchHandle.h"
#include "ui_TCircLabDial.h"
#include "ui_TFAngle.h"
#include "ui_TRotImage.h"
#include "ui_TFBarCode.h"
#include "ui_TForm1.h"
#include "ui_TPropertyMenus.h"
#include "ui_TSaisieTexte.h"

#include "barcode/Barcode.h"
#include "design/window/TCircLabDial.h"
#include "design/window/TFAngle.h"
#include "design/window/TFBarCode.h"
#include "design/window/ObjectViews.h"
#include "design/window/TRotImage.h"
#include "design/window/TSaisieTexte.h"

#include "MultiLang/MLBase.h"
#include "platform/window/Dialogs.h"
#include "station/Station.h"

#include "DesignWindowFixture.h"
#include "TestSupport.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QPushButton>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

using namespace design;

namespace {

// The design window on a station of its own, right-clicked as a user would.
class DesignWindowMenus : public DesignWindowFixture {
protected:
    void SetUp() override
    {
        DesignWindowFixture::SetUp();
        openWindow();
    }

    Ui::TPropertyMenus& menus() { return *form->PropertyMenus->ui; }

    // A right click at a surface point: the menu that opens is recorded and `item` chosen in it
    // (or the menu closed). A further menu opened by the same click is closed and counted.
    QMenu* rightClick(QPoint p, QAction* item = nullptr)
    {
        QMenu* opened = nullptr;
        testsupport::MenuAnswer answer([&](QMenu& menu) {
            if (opened != nullptr) {
                ++extraMenus;
                menu.close();
                return;
            }
            opened = &menu;
            if (item != nullptr && menu.actions().contains(item))
                QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(item).center());
            else
                menu.close();
        });
        QTest::mouseMove(form->windowHandle(), at(p));
        QTest::mousePress(form->windowHandle(), Qt::RightButton, {}, at(p));
        QTest::mouseRelease(form->windowHandle(), Qt::RightButton, {}, at(p));
        // Whatever the click posted is delivered, a menu it opened late included.
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        return opened;
    }

    int extraMenus = 0;

    // Answers the next modal dialog of class D with `answer` (which clicks OK or Cancel).
    template <class D>
    void whenShown(std::function<void(D&)> answer)
    {
        testsupport::whenShown<D>(form.get(), std::move(answer));
    }
};

TEST_F(DesignWindowMenus, RightClickOpensTheClickedObjectsMenuAndRunsItsItem)
{
    TLabel* label = PlaceLabel(model(), 20, 20, "text");
    label->Transparent = true;
    TShape* shape = model().AddShape(150, 20, stRectangle, 1, platform::psSolid, platform::clBlack,
                                     platform::bsSolid, platform::clWhite, 60, 60, false);
    QCoreApplication::processEvents();
    model().Modifie = false;

    EXPECT_EQ(rightClick({30, 25}, menus().Transparent1), menus().PopupLabel);
    EXPECT_FALSE(label->Transparent);
    EXPECT_TRUE(model().Modifie);
    EXPECT_EQ(form->Selection(), (std::vector<TDesignObject*>{label}));
    EXPECT_EQ(form->RectObjetCourant, label->BoundsRect());

    // Nothing chosen: nothing changes, and a right click selects nothing.
    model().Modifie = false;
    form->EmptySelection();
    EXPECT_EQ(rightClick({170, 40}), menus().PopupShape);
    EXPECT_FALSE(model().Modifie);
    EXPECT_TRUE(form->Selection().empty());
    (void)shape;
}

TEST_F(DesignWindowMenus, TheFrameStandsForTheCurrentObject)
{
    TShape* a = model().AddShape(20, 20, stRectangle, 1, platform::psSolid, platform::clBlack,
                                 platform::bsSolid, platform::clWhite, 60, 60, false);
    TShape* b = model().AddShape(120, 20, stEllipse, 1, platform::psSolid, platform::clBlack,
                                 platform::bsSolid, platform::clWhite, 60, 60, false);
    QCoreApplication::processEvents();
    form->Select(a, true);
    form->Select(b, true);
    model().ObjetCourant = b;
    // On the frame over `a`: the menu is the current object's (b), acting on both.
    EXPECT_EQ(rightClick({40, 40}, menus().Couleursimple1), menus().PopupShape);
    EXPECT_EQ(form->PropertyCommands().ObjetPopup, b);
    EXPECT_TRUE(form->PropertyCommands().SelectionMemeClasse);
    EXPECT_EQ(form->Selection().size(), 2u);
}

TEST_F(DesignWindowMenus, BringToFrontRemakesEveryView)
{
    TShape* back = model().AddShape(20, 20, stRectangle, 1, platform::psSolid, platform::clBlack,
                                    platform::bsSolid, platform::clWhite, 60, 60, false);
    model().AddShape(50, 50, stEllipse, 1, platform::psSolid, platform::clBlack, platform::bsSolid,
                     platform::clWhite, 60, 60, false);
    PlaceLabel(model(), 150, 20, "text");
    QCoreApplication::processEvents();
    back->Pen.SetWidth(4); // known again after the reload by its pen
    EXPECT_EQ(rightClick({25, 25}, menus().FrontShape), menus().PopupShape);
    QCoreApplication::processEvents();
    ASSERT_EQ(model().Count(), 3);
    const std::vector<TShape*> shapes = model().ObjectsOf<TShape>();
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes.back()->Pen.Width(), 4);
    for (const auto& o : model().Objects())
        EXPECT_NE(form->ViewOf(o.get()), nullptr);
    EXPECT_TRUE(form->Selection().empty());
    EXPECT_TRUE(model().Modifie);
}

TEST_F(DesignWindowMenus, TextBlocksOpenTheirPropertyMenu)
{
    TMemo* memo = PlaceMemo(model(), 20, 20, "block");
    QCoreApplication::processEvents();
    EXPECT_EQ(rightClick({60, 50}, menus().MenuItem30), menus().PopupMemo);
    EXPECT_EQ(memo->BorderStyle, bsNone);
    // The press opens one menu only (the editor does not hand it on to the view).
    EXPECT_EQ(extraMenus, 0);
}

TEST_F(DesignWindowMenus, DialogsStandInForMenusAndAskForTexts)
{
    TCircleLabel* circle = PlaceCircleLabel(model(), 20, 20, "round");
    TBarcodeObject* code = PlaceBarcode(model(), 200, 20);
    code->Barcode().SetBar_CodeType(barcode::CODE39);
    code->Barcode().SetBar_Caption("ABC");
    TLabel* label = PlaceLabel(model(), 230, 180, "old");
    QCoreApplication::processEvents();
    model().Modifie = false;

    // The circular text's dialog opens on its values; OK writes the text typed.
    QString shown;
    whenShown<TCircLabDial>([&](TCircLabDial& d) {
        shown = d.ui->Texte->text();
        d.ui->Texte->setText("changed");
        d.ui->OKBtn->click();
    });
    EXPECT_EQ(rightClick({60, 40}), nullptr);
    EXPECT_EQ(shown, "round");
    EXPECT_EQ(circle->Caption(), "changed");
    EXPECT_TRUE(model().Modifie);
    EXPECT_EQ(form->Selection(), (std::vector<TDesignObject*>{circle}));

    // The barcode's dialog cancelled: the barcode stays as it was, the design unmodified.
    model().Modifie = false;
    whenShown<TFBarCode>([&](TFBarCode& d) {
        shown = d.ui->Edit1->text();
        d.ui->Edit1->setText("XYZ");
        d.ui->CancelBtn->click();
    });
    rightClick({code->Left + 5, code->Top + 5});
    EXPECT_EQ(shown, "ABC");
    EXPECT_EQ(code->Barcode().Bar_Caption(), "ABC");
    EXPECT_FALSE(model().Modifie);

    // The text entry: prompt and text preset; OK takes the text typed.
    whenShown<TSaisieTexte>([&](TSaisieTexte& d) {
        shown = d.ui->Label1->text() + "|" + d.ui->Edit1->text();
        d.ui->Edit1->setText("new");
        d.ui->OKBtn->click();
    });
    rightClick({240, 185}, menus().Texte1);
    EXPECT_EQ(shown, "Simple text :|old");
    EXPECT_EQ(label->Caption, "new");
}

TEST_F(DesignWindowMenus, AngleColourAndRotationDialogsAnswerTheirCommands)
{
    TRotateLabel* tilted = PlaceRotateLabel(model(), 20, 20, "tilted");
    TLabel* label = PlaceLabel(model(), 20, 150, "text");
    label->Transparent = true;
    TImage* image = model().AddImage(200, 20, 0, true, "<Photo>", true, false, false, 50, 100, false);
    QCoreApplication::processEvents();

    // The angle dialog opens at the object's angle; Cancel leaves it, "Vertical 2" then OK sets 270.
    QString title;
    whenShown<TFAngle>([&](TFAngle& d) {
        title = d.windowTitle();
        d.ui->CancelBtn->click();
    });
    rightClick({tilted->Left + 3, tilted->Top + 3}, menus().Angle);
    EXPECT_EQ(title, "Text angle");
    EXPECT_EQ(tilted->Angle(), 0);
    whenShown<TFAngle>([&](TFAngle& d) {
        emit d.ui->RotateLabel4->Click();
        d.ui->OKBtn->click();
    });
    rightClick({tilted->Left + 3, tilted->Top + 3}, menus().Angle);
    EXPECT_EQ(tilted->Angle(), 270);

    // A colour on a transparent text: the colour dialog opens on its colour, the text turns opaque.
    platform::TColor preset = -1;
    platform::dialogHooks().colorDialog = [&](QColorDialog& d) {
        preset = platform::FromQColor(d.currentColor());
        d.setCurrentColor(QColor(0, 0, 255));
        return true;
    };
    rightClick({25, 155}, menus().Couleur2);
    EXPECT_EQ(preset, platform::clWhite);
    EXPECT_EQ(label->Color, 0xFF0000);
    EXPECT_FALSE(label->Transparent);
    // The font dialog's colour is the text's.
    QString caption;
    platform::dialogHooks().fontDialog = [&](QFontDialog& d) {
        auto* button = d.findChild<QPushButton*>("FontColor");
        caption = button != nullptr ? button->text() : QString();
        if (button != nullptr)
            button->click();
        return true;
    };
    rightClick({25, 155}, menus().Police2);
    EXPECT_EQ(caption, "&Colour...");
    EXPECT_EQ(label->Font.Color(), 0xFF0000);

    // The rotation chooser: the 90 degree panel; the placeholder turns and the Tag keeps it.
    whenShown<TRotImage>([&](TRotImage& d) {
        d.SelectPanel(1);
        d.ui->OKBtn->click();
    });
    rightClick({image->Left + 5, image->Top + 5}, menus().Rotation1);
    EXPECT_EQ(image->Tag, 2090);
    EXPECT_EQ(image->PlaceholderSize, QSize(50, 100));
    EXPECT_EQ(image->Height, 200);
}

} // namespace
