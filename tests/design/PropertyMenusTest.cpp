#include "design/DesignFileFormat.h"
#include "design/window/FrameSelection.h"
#include "design/window/ObjectViews.h"
#include "design/window/TPropertyMenus.h"
#include "design/window/TStretchHandle.h"
#include "ui_TPropertyMenus.h"

#include "TestSupport.h"

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace design;
using namespace platform;

namespace {

// A design surface holding a view per object and the selection frame, with the menus over it
// as the design window keeps them.
struct PropertyMenusTest : ::testing::Test {
    QTemporaryDir programDir;
    TCurrentFormat format;
    TDesignModel model{format};
    QWidget surface;
    TStretchHandle* sh = new TStretchHandle(&surface);
    QHash<const TDesignObject*, QWidget*> views;
    TFrameSelection frame{*sh, [this](const TDesignObject* o) { return views.value(o); },
                          [this](const QWidget* v) { return const_cast<TDesignObject*>(views.key(const_cast<QWidget*>(v))); }};
    TPropertyCommands commands{model, frame};
    TPropertyMenus menus{&surface};
    int afterCommands = 0;

    void SetUp() override
    {
        model.ProgramFolder = programDir.path();
        model.OnCreated = [this](TDesignObject& o) { views.insert(&o, MakeObjectView(o, &surface)); };
        model.OnFreeing = [this](TDesignObject& o) { delete views.take(&o); };
        menus.Commands = &commands;
        menus.AfterCommand = [this] { ++afterCommands; };
        surface.resize(600, 400);
        testsupport::showWhiteSurface(surface);
    }

    void select(std::initializer_list<TDesignObject*> objects)
    {
        sh->Detach();
        for (TDesignObject* o : objects)
            sh->Attach(views.value(o));
    }

    // The checked items among `items`, by name.
    static QStringList checked(std::initializer_list<QAction*> items)
    {
        QStringList out;
        for (QAction* a : items)
            if (a->isChecked())
                out << a->objectName();
        return out;
    }
};

TEST_F(PropertyMenusTest, MarksDescribeTheClickedObject)
{
    auto& u = *menus.ui;
    TShape* shape = model.AddShape(10, 10, stRectangle, 5, psDash, clBlack, bsBDiagonal, clWhite, 40, 40, false);
    TLine* line = model.AddLine(100, 10, ltVertical, 3, psDot, clBlack, 60, 10, false);
    TMemo* memo = model.AddMemo(200, 10, bsNone, {}, clBlack, 10, "Arial", -13, clWhite, {"block"}, taCenter, 60, 100, false);
    TLabel* label = PlaceLabel(model, 10, 100, "text");
    label->Transparent = true;
    label->Alignment = taRightJustify;
    TImage* icon = model.AddImage(10, 200, 0, true, "app.ico", true, false, false, 40, 40, false);
    TShape* wide = model.AddShape(300, 100, stEllipse, 12, psInsideFrame, clBlack, bsSolid, clWhite, 40, 40, false);

    ASSERT_EQ(menus.Prepare(shape), u.PopupShape);
    EXPECT_EQ(checked({u.N12, u.N5, u.N8, u.N10, u.N11, u.Transparent2}), QStringList{"N5"});
    EXPECT_EQ(checked({u.N13, u.N21, u.N31, u.N41, u.N51, u.N61, u.N71, u.N81, u.N91, u.N101}), QStringList{"N51"});
    EXPECT_EQ(checked({u.Hachuresmontantes1, u.Hachuresdescendantes1, u.Couleursimple1, u.Transparent3}),
              QStringList{"Hachuresmontantes1"});
    // A pen no item stands for leaves its groups without a mark.
    ASSERT_EQ(menus.Prepare(wide), u.PopupShape);
    EXPECT_TRUE(checked({u.N12, u.N5, u.N8, u.N10, u.N11, u.Transparent2}).isEmpty());
    EXPECT_TRUE(checked({u.N13, u.N21, u.N31, u.N41, u.N51, u.N61, u.N71, u.N81, u.N91, u.N101}).isEmpty());
    EXPECT_TRUE(u.Couleursimple1->isChecked());

    ASSERT_EQ(menus.Prepare(line), u.PopupLine);
    EXPECT_EQ(checked({u.MenuItem4, u.MenuItem5, u.MenuItem6, u.MenuItem7, u.MenuItem8, u.MenuItem9}), QStringList{"MenuItem8"});
    EXPECT_EQ(checked({u.MenuItem11, u.MenuItem12, u.MenuItem13, u.MenuItem14}), QStringList{"MenuItem13"});
    EXPECT_EQ(checked({u.MenuItem22, u.Vertical1, u.Montant1, u.Descendant1}), QStringList{"Vertical1"});

    ASSERT_EQ(menus.Prepare(memo), u.PopupMemo);
    EXPECT_FALSE(u.MenuItem30->isChecked());
    EXPECT_EQ(checked({u.MenuItem27, u.MenuItem28, u.MenuItem29}), QStringList{"MenuItem28"});

    ASSERT_EQ(menus.Prepare(label), u.PopupLabel);
    EXPECT_TRUE(u.Transparent1->isChecked());
    EXPECT_EQ(checked({u.Gauche1, u.Centr1, u.Droite1}), QStringList{"Droite1"});

    ASSERT_EQ(menus.Prepare(icon), u.PopupImage);
    EXPECT_FALSE(u.Stretch->isVisible());
    EXPECT_FALSE(u.NomChampImage->isVisible());
    EXPECT_TRUE(u.Conserverlesproportions1->isChecked());

    // A selection of two classes, clicked inside: no menu.
    select({shape, label});
    EXPECT_EQ(menus.Prepare(label), nullptr);
    EXPECT_EQ(menus.Prepare(memo), u.PopupMemo);
}

TEST_F(PropertyMenusTest, ItemsRunTheirCommandsOnTheSelection)
{
    auto& u = *menus.ui;
    TShape* a = PlaceShape(model, 10, 10, stRectangle);
    TShape* b = PlaceShape(model, 100, 10, stRoundRect);
    select({a, b});
    ASSERT_EQ(menus.Prepare(a), u.PopupShape);
    u.N51->trigger();
    EXPECT_EQ(a->Pen.Width(), 5);
    EXPECT_EQ(b->Pen.Width(), 5);
    EXPECT_EQ(sh->AttachedCount(), 2);
    EXPECT_EQ(model.ObjetCourant, a);
    EXPECT_TRUE(model.Modifie);
    EXPECT_EQ(checked({u.N13, u.N21, u.N31, u.N41, u.N51, u.N61, u.N71, u.N81, u.N91, u.N101}), QStringList{"N51"});
    EXPECT_EQ(afterCommands, 1);

    // A line turned vertical alone: the frame fits its new box.
    TLine* line = PlaceLine(model, 200, 100);
    line->Width = 100;
    static_cast<TDesignObjectView*>(views.value(line))->Refresh();
    ASSERT_EQ(menus.Prepare(line), u.PopupLine);
    u.Vertical1->trigger();
    EXPECT_EQ(QSize(line->Width, line->Height), QSize(10, 100));
    ASSERT_EQ(sh->AttachedCount(), 1);
    EXPECT_EQ(sh->geometry(), QRect(line->Left - 2, line->Top - 2, line->Width + 5, line->Height + 5));
    EXPECT_EQ(views.value(line)->geometry(), QRect(line->Left, line->Top, 10, 100));
}

TEST_F(PropertyMenusTest, ToggleClickedInTheOpenMenuInvertsOnce)
{
    auto& u = *menus.ui;
    TLabel* label = PlaceLabel(model, 10, 10, "text");
    label->Transparent = true;
    for (const bool expected : {false, true}) {
        QMenu* menu = menus.Prepare(label);
        ASSERT_EQ(menu, u.PopupLabel);
        menu->popup(surface.mapToGlobal(QPoint(20, 20)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(u.Transparent1).center());
        EXPECT_EQ(label->Transparent, expected);
        EXPECT_EQ(u.Transparent1->isChecked(), expected);
        menu->hide();
    }
}

TEST_F(PropertyMenusTest, BringToFrontIsOfferedWithTwoOfAKind)
{
    auto& u = *menus.ui;
    TImage* image = model.AddImage(10, 10, 0, false, "<Photo>", true, false, false, 40, 40, false);
    TShape* shape = PlaceShape(model, 100, 10, stRectangle);
    const auto opened = [&](TDesignObject* o, QAction* item) {
        QMenu* menu = menus.Prepare(o);
        menu->popup(surface.mapToGlobal(QPoint(20, 20)));
        const bool enabled = item->isEnabled();
        menu->hide();
        return enabled;
    };
    EXPECT_FALSE(opened(image, u.Premierplan1));
    EXPECT_FALSE(opened(shape, u.FrontShape));
    model.AddImage(60, 10, 0, false, "<Other>", true, false, false, 40, 40, false);
    PlaceShape(model, 200, 10, stEllipse);
    EXPECT_TRUE(opened(image, u.Premierplan1));
    EXPECT_TRUE(opened(shape, u.FrontShape));

    // In front: the design comes back, each object with a view and none selected.
    menus.Prepare(image);
    u.Premierplan1->trigger();
    EXPECT_EQ(views.size(), 4);
    EXPECT_EQ(sh->AttachedCount(), 0);
    EXPECT_EQ(model.ObjectsOf<TImage>().back()->Hint, QStringLiteral("<Photo>"));
}

} // namespace

namespace {

// The saved record lines of one object, the counts of the empty sections after it left out.
QStringList savedRecordTail(const TDesignModel& model, TDesignObject* object, int emptySectionsAfter)
{
    QStringList lines = QString::fromUtf8(DesignFileBytes(model, TDesignScope::Selection, {object}))
                            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    return lines.mid(0, lines.size() - emptySectionsAfter);
}

TEST_F(PropertyMenusTest, ItemsWriteTheCodesTheDesignFileKeeps)
{
    auto& u = *menus.ui;
    TShape* shape = PlaceShape(model, 10, 10, stRectangle);
    // Brush codes follow the style names in alphabetical order; pen codes likewise.
    const std::pair<QAction*, QString> brushes[] = {
        {u.Hachuresmontantes1, "0"}, {u.Transparent3, "1"}, {u.Hachureshorizontalesetverticales1, "2"},
        {u.Hachuresmontantesetdescendantes1, "3"}, {u.Hachuresdescendantes1, "4"},
        {u.Hachureshorizontales1, "5"}, {u.Couleursimple1, "6"}, {u.Hachuresverticales1, "7"}};
    for (const auto& [item, code] : brushes) {
        menus.Prepare(shape);
        item->trigger();
        const QStringList tail = savedRecordTail(model, shape, 6);
        EXPECT_EQ(tail.at(tail.size() - 2), code) << item->objectName().toStdString();
    }
    const std::pair<QAction*, QString> pens[] = {{u.N12, "0"}, {u.Transparent2, "1"}, {u.N5, "2"},
                                                 {u.N8, "3"}, {u.N10, "4"}, {u.N11, "5"}};
    for (const auto& [item, code] : pens) {
        menus.Prepare(shape);
        item->trigger();
        EXPECT_EQ(savedRecordTail(model, shape, 6).last(), code) << item->objectName().toStdString();
    }

    TLine* line = PlaceLine(model, 10, 100);
    const std::pair<QAction*, QString> kinds[] = {
        {u.Vertical1, "1"}, {u.Montant1, "2"}, {u.Descendant1, "3"}, {u.MenuItem22, "0"}};
    for (const auto& [item, code] : kinds) {
        menus.Prepare(line);
        item->trigger();
        const QStringList tail = savedRecordTail(model, line, 3);
        EXPECT_EQ(tail.at(tail.size() - 2), code) << item->objectName().toStdString();
    }
    menus.Prepare(line);
    u.MenuItem17->trigger();
    EXPECT_EQ(line->Pen.Width(), 7);
}

} // namespace
