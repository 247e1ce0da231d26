#include "design/PropertyCommands.h"

#include "design/DesignDocument.h"
#include "design/DesignFileFormat.h"
#include "design/ObjectGeometry.h"
#include "design/Pictures.h"

#include "barcode/Barcode.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace design;
using namespace platform;

namespace {

// The selection frame as a list: what the commands attach, detach and refresh.
struct ListSelection : TSelectionPort {
    std::vector<TDesignObject*> attached;
    int refreshedSelections = 0;
    std::vector<TDesignObject*> refreshed;

    std::vector<TDesignObject*> Selection() const override { return attached; }
    void Detach() override { attached.clear(); }
    void Attach(TDesignObject& o) override { attached.push_back(&o); }
    void RefreshSelection() override { ++refreshedSelections; }
    void Refresh(TDesignObject& o) override { refreshed.push_back(&o); }
};

struct PropertyCommandsTest : ::testing::Test {
    QTemporaryDir programDir;
    TCurrentFormat format;
    TDesignModel model{format};
    ListSelection selection;
    TPropertyCommands commands{model, selection};

    void SetUp() override
    {
        ASSERT_TRUE(programDir.isValid());
        QDir(programDir.path()).mkpath(QStringLiteral("images"));
        QDir(programDir.path()).mkpath(QStringLiteral("perso"));
        model.ProgramFolder = programDir.path();
        model.ExamplesFolder = programDir.path() + QStringLiteral("/none");
        model.OnFreeing = [this](TDesignObject& o) { std::erase(selection.attached, &o); };
    }

    // A picture file of w x h whose top-left pixel is red and the rest white, so that a turn shows.
    void pictureFile(const QString& name, int w, int h)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(0, 0, qRgb(255, 0, 0));
        ASSERT_TRUE(image.save(programDir.path() + QStringLiteral("/images/") + name));
    }

    TImage* image(const QString& reference, bool keep, int width, int height = 0, int angle = 0)
    {
        return model.AddImage(0, 0, angle, keep, reference, true, false, false, height, width, false);
    }

    // A right click on `o` with `selected` attached, in that order.
    TPopupMenuKind rightClick(TDesignObject* o, std::vector<TDesignObject*> selected)
    {
        selection.attached = std::move(selected);
        model.Modifie = false;
        model.ObjetCourant = nullptr;
        return commands.RightClick(o);
    }
};

TEST_F(PropertyCommandsTest, ScopeIsTheSelectionOnlyWhenTheClickedObjectIsInIt)
{
    TShape* a = PlaceShape(model, 0, 0, stRectangle);
    TShape* b = PlaceShape(model, 80, 0, stEllipse);
    TLabel* t1 = PlaceLabel(model, 0, 100, QStringLiteral("one"));
    TLabel* t2 = PlaceLabel(model, 0, 130, QStringLiteral("two"));
    TRotateLabel* tilted = PlaceRotateLabel(model, 0, 160, QStringLiteral("tilted"));

    // Two rectangles selected, a click on one: both take the width and stay selected.
    EXPECT_EQ(rightClick(a, {a, b}), TPopupMenuKind::Shape);
    EXPECT_TRUE(commands.SelectionMemeClasse);
    EXPECT_TRUE(commands.PopShapeEpaisseur(5));
    EXPECT_EQ(a->Pen.Width(), 5);
    EXPECT_EQ(b->Pen.Width(), 5);
    EXPECT_EQ(selection.attached, (std::vector<TDesignObject*>{a, b}));
    EXPECT_EQ(selection.refreshedSelections, 1);
    EXPECT_EQ(model.ObjetCourant, a);
    EXPECT_TRUE(model.Modifie);

    // Two texts selected, a click on a rectangle outside: the rectangle alone changes and ends
    // as the one selected object; the texts are left alone.
    EXPECT_EQ(rightClick(b, {t1, t2}), TPopupMenuKind::Shape);
    EXPECT_FALSE(commands.SelectionMemeClasse);
    EXPECT_TRUE(commands.PopShapeEpaisseur(3));
    EXPECT_EQ(b->Pen.Width(), 3);
    EXPECT_EQ(a->Pen.Width(), 5);
    EXPECT_EQ(selection.attached, (std::vector<TDesignObject*>{b}));
    EXPECT_TRUE(model.Modifie);

    // Two tilted-and-simple texts selected: a click on one of them opens nothing, a click on an
    // object outside the mixed selection opens its menu.
    EXPECT_EQ(rightClick(t1, {t1, tilted}), TPopupMenuKind::None);
    EXPECT_EQ(commands.ObjetPopup, nullptr);
    EXPECT_FALSE(commands.PopLabelAlignment(taCenter));
    EXPECT_EQ(t1->Alignment, taLeftJustify);
    EXPECT_EQ(rightClick(t2, {t1, tilted}), TPopupMenuKind::Label);
    EXPECT_TRUE(commands.PopLabelAlignment(taRightJustify));
    EXPECT_EQ(t2->Alignment, taRightJustify);
    EXPECT_EQ(t1->Alignment, taLeftJustify);
    EXPECT_EQ(selection.attached, (std::vector<TDesignObject*>{t2}));

    // A command of another class than the target's does nothing (a tilted text is no text).
    EXPECT_EQ(rightClick(tilted, {}), TPopupMenuKind::RotateLabel);
    EXPECT_FALSE(commands.PopLabelAlignment(taCenter));
    EXPECT_FALSE(model.Modifie);
}

TEST_F(PropertyCommandsTest, ModifiedOnlyWhenTheDesignChanged)
{
    TShape* shape = PlaceShape(model, 0, 0, stRectangle);
    TLabel* label = PlaceLabel(model, 0, 100, QStringLiteral("text"));
    TRotateLabel* tilted = PlaceRotateLabel(model, 0, 160, QStringLiteral("tilted"));
    TMemo* memo = PlaceMemo(model, 0, 200, QStringLiteral("block"));

    // The value the object has already: it becomes current and selected, the design unmodified.
    rightClick(shape, {});
    EXPECT_TRUE(commands.PopShapeEpaisseur(1));
    EXPECT_TRUE(commands.PopShapeTrait(psSolid));
    EXPECT_EQ(model.ObjetCourant, shape);
    EXPECT_EQ(selection.attached, (std::vector<TDesignObject*>{shape}));
    EXPECT_FALSE(model.Modifie);

    // Every dialog cancelled: nothing changes, not even the current object.
    commands.Dialogs.ChooseColor = [](TColor) { return std::nullopt; };
    commands.Dialogs.ChooseFont = [](const TFont&) { return std::nullopt; };
    commands.Dialogs.EnterText = [](bool, const QString&) { return std::nullopt; };
    commands.Dialogs.ChooseAngle = [](int) { return std::nullopt; };
    const QByteArray saved = DesignFileBytes(model, TDesignScope::WholeDesign);
    const std::vector<std::pair<TDesignObject*, std::function<bool()>>> cancelled = {
        {shape, [&] { return commands.PopShapeCouleurTrait(); }},
        {shape, [&] { return commands.PopShapeCouleurFond(); }},
        {label, [&] { return commands.PopLabelCouleur(); }},
        {label, [&] { return commands.PopLabelPolice(); }},
        {label, [&] { return commands.PopLabelTexte(); }},
        {tilted, [&] { return commands.PopRotatelAngle(); }},
        {tilted, [&] { return commands.PopRotatelTexte(); }},
        {memo, [&] { return commands.PopMemoPolice(); }},
        {memo, [&] { return commands.PopMemoCouleur(); }},
    };
    for (const auto& [target, command] : cancelled) {
        rightClick(target, {label});
        EXPECT_FALSE(command());
        EXPECT_EQ(model.ObjetCourant, nullptr);
        EXPECT_EQ(selection.attached, (std::vector<TDesignObject*>{label}));
    }
    EXPECT_FALSE(model.Modifie);
    EXPECT_EQ(DesignFileBytes(model, TDesignScope::WholeDesign), saved);
}

TEST_F(PropertyCommandsTest, EachCommandSetsItsPropertyOnItsClass)
{
    pictureFile(QStringLiteral("photo.png"), 30, 20);
    TImage* picture = image(QStringLiteral("photo.png"), false, 50, 50);
    TShape* shape = PlaceShape(model, 0, 0, stRectangle);
    TLine* line = PlaceLine(model, 0, 100);
    TLabel* label = PlaceLabel(model, 0, 150, QStringLiteral("text"));
    TRotateLabel* tilted = PlaceRotateLabel(model, 0, 200, QStringLiteral("tilted"));
    TMemo* memo = PlaceMemo(model, 0, 250, QStringLiteral("block"));
    TFont font;
    font.SetName(QStringLiteral("Courier New"));
    font.SetHeight(-20);
    font.SetStyle(TFontStyles{fsItalic});
    commands.Dialogs.ChooseFont = [&](const TFont&) { return std::optional<TFont>(font); };
    commands.Dialogs.ChooseColor = [](TColor) { return std::optional<TColor>(0x123456); };
    const auto sameFont = [&](const TFont& f) { return f.SameGlyphs(font); };

    struct Case {
        const char* name;
        TDesignObject* target;
        std::function<bool()> command;
        std::function<bool()> done;
    };
    const Case cases[] = {
        {"autosize", picture, [&] { return commands.PopImageAutosize(); },
         [&] { return picture->AutoSize() && !picture->Stretch && QSize(picture->Width, picture->Height) == QSize(30, 20); }},
        {"centre", picture, [&] { return commands.PopImageCenter(); },
         [&] { return !picture->AutoSize() && !picture->Stretch && picture->Center; }},
        {"stretch", picture, [&] { return commands.PopImageStretch(); },
         [&] { return !picture->AutoSize() && picture->Stretch && !picture->Center; }},
        {"pen colour", shape, [&] { return commands.PopShapeCouleurTrait(); }, [&] { return shape->Pen.Color() == 0x123456; }},
        {"fill colour", shape, [&] { return commands.PopShapeCouleurFond(); }, [&] { return shape->Brush.Color() == 0x123456; }},
        {"pattern", shape, [&] { return commands.PopShapeMotif(bsCross); }, [&] { return shape->Brush.Style() == bsCross; }},
        {"line colour", line, [&] { return commands.PopLineCouleur(); }, [&] { return line->Pen.Color() == 0x123456; }},
        {"line style", line, [&] { return commands.PopLineTrait(psDot); }, [&] { return line->Pen.Style() == psDot; }},
        {"line width", line, [&] { return commands.PopLineEpaisseur(4); },
         [&] { return line->Pen.Width() == 4 && line->Height == 40; }}, // a horizontal line is ten widths thick
        {"text font", label, [&] { return commands.PopLabelPolice(); }, [&] { return sameFont(label->Font); }},
        {"tilted font", tilted, [&] { return commands.PopRotatelPolice(); }, [&] { return sameFont(tilted->Font); }},
        {"tilted opaque", tilted, [&] { return commands.PopRotatelTransparent(); }, [&] { return !tilted->Transparent; }},
        {"block font", memo, [&] { return commands.PopMemoPolice(); }, [&] { return sameFont(memo->Font); }},
        {"block colour", memo, [&] { return commands.PopMemoCouleur(); }, [&] { return memo->Color == 0x123456; }},
        {"block right", memo, [&] { return commands.PopMemoAlignment(taRightJustify); }, [&] { return memo->Alignment == taRightJustify; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rightClick(c.target, {});
        EXPECT_TRUE(c.command());
        EXPECT_TRUE(c.done());
        EXPECT_TRUE(model.Modifie);
        EXPECT_EQ(model.ObjetCourant, c.target);
        EXPECT_EQ(selection.attached, (std::vector<TDesignObject*>{c.target}));
    }
}

TEST_F(PropertyCommandsTest, KeepProportionsRewritesTheTagAndRefitsTheHeight)
{
    pictureFile(QStringLiteral("wide.png"), 640, 480);
    pictureFile(QStringLiteral("odd.png"), 130, 97);
    TImage* wide = image(QStringLiteral("wide.png"), false, 120, 50, 90);
    ASSERT_NE(wide, nullptr);
    ASSERT_EQ(wide->Picture().size(), QSize(480, 640)); // turned by 90 when read
    wide->SetPicture(QImage(640, 480, QImage::Format_RGB32));
    rightClick(wide, {});
    EXPECT_TRUE(commands.PopImageProportions());
    EXPECT_EQ(wide->Tag, 2090);
    EXPECT_EQ(wide->Height, 90);
    EXPECT_TRUE(model.Modifie);
    rightClick(wide, {});
    EXPECT_TRUE(commands.PopImageProportions());
    EXPECT_EQ(wide->Tag, 1090);
    EXPECT_EQ(wide->Height, 90);

    // 65 x 97 / 130 = 48.5: halves go to the even neighbour.
    TImage* odd = image(QStringLiteral("odd.png"), false, 65, 10);
    odd->Tag = 0; // an old Tag
    rightClick(odd, {});
    EXPECT_TRUE(commands.PopImageProportions());
    EXPECT_EQ(odd->Tag, 2000);
    EXPECT_EQ(odd->Height, 48);

    // A missing picture has no proportions: the size stays and the Tag is still rewritten.
    TImage* missing = image(QStringLiteral("gone.png"), false, 70, 30);
    ASSERT_TRUE(missing->Picture().isNull());
    rightClick(missing, {});
    EXPECT_TRUE(commands.PopImageProportions());
    EXPECT_EQ(missing->Tag, 2000);
    EXPECT_EQ(missing->Width, 70);
    EXPECT_EQ(missing->Height, 30);
}

TEST_F(PropertyCommandsTest, FillTheLabelTouchesTwoSidesAndLeavesNothingSelected)
{
    model.LargeurEtiquettePx = 400;
    model.HauteurEtiquettePx = 200;
    pictureFile(QStringLiteral("square.png"), 300, 300);
    pictureFile(QStringLiteral("flat.png"), 400, 100);
    struct Case {
        QString reference;
        bool keep;
        QSize expected;
    };
    const Case cases[] = {
        {QStringLiteral("square.png"), true, {200, 200}},
        {QStringLiteral("square.png"), false, {400, 200}},
        {QStringLiteral("flat.png"), true, {400, 100}},
        {QStringLiteral("gone.png"), true, {400, 200}}, // no picture: the label's size
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reference.toStdString() + (c.keep ? " kept" : " free"));
        TImage* o = model.AddImage(30, 40, 0, c.keep, c.reference, false, true, false, 50, 50, false);
        ASSERT_NE(o, nullptr);
        rightClick(o, {o});
        EXPECT_TRUE(commands.PopImageRemplir());
        EXPECT_EQ(QRect(o->Left, o->Top, o->Width, o->Height), QRect(QPoint(0, 0), c.expected));
        EXPECT_TRUE(o->Stretch);
        EXPECT_FALSE(o->Center);
        EXPECT_TRUE(selection.attached.empty());
        EXPECT_EQ(model.ObjetCourant, nullptr);
        EXPECT_TRUE(model.Modifie);
    }
}

TEST_F(PropertyCommandsTest, ColouredTextsBecomeOpaqueWhenTheTargetWasTransparent)
{
    commands.Dialogs.ChooseColor = [](TColor) { return std::optional<TColor>(0x00FFFF); };
    TLabel* a = PlaceLabel(model, 0, 0, QStringLiteral("a"));
    TLabel* b = PlaceLabel(model, 0, 30, QStringLiteral("b"));
    a->Transparent = true;
    b->Transparent = true;
    rightClick(a, {a, b});
    EXPECT_TRUE(commands.PopLabelCouleur());
    for (const TLabel* o : {a, b}) {
        EXPECT_EQ(o->Color, 0x00FFFF);
        EXPECT_FALSE(o->Transparent);
    }
    // Under a selection the other texts stay transparent when the target was opaque.
    commands.Dialogs.ChooseColor = [](TColor) { return std::optional<TColor>(0x0000FF); };
    TRotateLabel* c = PlaceRotateLabel(model, 0, 60, QStringLiteral("c"));
    TRotateLabel* d = PlaceRotateLabel(model, 0, 90, QStringLiteral("d"));
    c->Transparent = false;
    rightClick(c, {c, d});
    EXPECT_TRUE(commands.PopRotatelCouleur());
    EXPECT_EQ(d->Color, 0x0000FF);
    EXPECT_TRUE(d->Transparent);
    EXPECT_FALSE(c->Transparent);
}

TEST_F(PropertyCommandsTest, TogglesAndSelfSizingObjects)
{
    // A line turned vertical swaps its box and the frame is fitted to it.
    TLine* line = PlaceLine(model, 0, 0);
    line->Width = 100;
    LayoutObject(*line);
    ASSERT_EQ(QSize(line->Width, line->Height), QSize(100, 10));
    rightClick(line, {});
    EXPECT_TRUE(commands.PopLineKind(ltVertical));
    EXPECT_EQ(QSize(line->Width, line->Height), QSize(10, 100));
    EXPECT_EQ(commands.RectObjetCourant, line->BoundsRect());
    EXPECT_EQ(selection.refreshed.back(), line);

    // A border toggled twice is back as it was.
    TMemo* memo = PlaceMemo(model, 0, 200, QStringLiteral("block"));
    const TBorderStyle first = memo->BorderStyle;
    rightClick(memo, {});
    commands.PopMemoBordure();
    EXPECT_NE(memo->BorderStyle, first);
    rightClick(memo, {});
    commands.PopMemoBordure();
    EXPECT_EQ(memo->BorderStyle, first);

    // An empty text keeps the target's text, and gives it to every selected text.
    TLabel* a = PlaceLabel(model, 0, 0, QStringLiteral("kept"));
    TLabel* b = PlaceLabel(model, 0, 30, QStringLiteral("other"));
    commands.Dialogs.EnterText = [](bool tilted, const QString& current) {
        EXPECT_FALSE(tilted);
        EXPECT_EQ(current, QStringLiteral("kept"));
        return std::optional<QString>(QString());
    };
    rightClick(a, {b, a});
    EXPECT_TRUE(commands.PopLabelTexte());
    EXPECT_EQ(a->Caption, QStringLiteral("kept"));
    EXPECT_EQ(b->Caption, QStringLiteral("kept"));

    // A tilted text takes its angle and squares itself to its caption.
    TRotateLabel* tilted = PlaceRotateLabel(model, 0, 60, QStringLiteral("tilted text"));
    commands.Dialogs.ChooseAngle = [](int current) {
        EXPECT_EQ(current, 0);
        return std::optional<int>(270);
    };
    rightClick(tilted, {});
    EXPECT_TRUE(commands.PopRotatelAngle());
    EXPECT_EQ(tilted->Angle(), 270);
    EXPECT_EQ(tilted->Width, tilted->Height);
    EXPECT_GT(tilted->Width, 17);
}

TEST_F(PropertyCommandsTest, RotationIsAbsolute)
{
    pictureFile(QStringLiteral("photo.png"), 300, 200);
    TImage* file = image(QStringLiteral("photo.png"), true, 150, 0, 90);
    ASSERT_EQ(file->Tag, 2090);
    QImage shown;
    int shownAngle = -1;
    commands.Dialogs.ChooseRotation = [&](const QImage& picture, int angle) {
        shown = picture;
        shownAngle = angle;
        return std::optional<int>(180);
    };
    rightClick(file, {});
    EXPECT_TRUE(commands.Rotation1Click());
    // The dialog sees the picture as read again, and the angle the image had.
    EXPECT_EQ(shown.size(), QSize(300, 200));
    EXPECT_EQ(shownAngle, 90);
    // Read again and turned by 180 (not 270): the red corner is now bottom right.
    EXPECT_EQ(file->Tag, 2180);
    EXPECT_EQ(file->Picture().size(), QSize(300, 200));
    EXPECT_EQ(file->Picture().pixel(299, 199), qRgb(255, 0, 0));
    EXPECT_EQ(file->Height, 100);

    // A picture whose file is gone turns by the difference, so it agrees with its Tag.
    TImage* lost = image(QStringLiteral("lost.png"), false, 50, 40, 0);
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(Qt::white);
    lost->SetPicture(picture);
    lost->Tag = 1090;
    lost->SetPicture(RotatePicture(picture, 90));
    commands.Dialogs.ChooseRotation = [](const QImage&, int) { return std::optional<int>(180); };
    rightClick(lost, {});
    EXPECT_TRUE(commands.Rotation1Click());
    EXPECT_EQ(lost->Tag, 1180);
    EXPECT_EQ(lost->Picture().size(), QSize(60, 40));

    // A field-code image: its placeholder turns, and a kept image refits its height.
    TImage* field = image(QStringLiteral("<Photo>"), true, 100, 50, 0);
    ASSERT_EQ(field->PlaceholderSize, QSize(100, 50));
    commands.Dialogs.ChooseRotation = [](const QImage& p, int) {
        EXPECT_EQ(p.size(), QSize(100, 50));
        return std::optional<int>(90);
    };
    rightClick(field, {});
    EXPECT_TRUE(commands.Rotation1Click());
    EXPECT_EQ(field->Tag, 2090);
    EXPECT_EQ(field->PlaceholderSize, QSize(50, 100));
    EXPECT_EQ(field->Height, 200);
}

TEST_F(PropertyCommandsTest, BringToFrontReordersInsideTheKindOnly)
{
    TImage* first = image(QStringLiteral("<A>"), false, 40, 40);
    TShape* shape = PlaceShape(model, 0, 0, stRectangle);
    TImage* second = image(QStringLiteral("<B>"), false, 40, 40);
    (void)shape;
    (void)second;
    const auto hints = [&] {
        QStringList out;
        for (const auto& o : model.Objects())
            out << (Is<TImage>(o.get()) ? static_cast<TImage*>(o.get())->Hint : QStringLiteral("shape"));
        return out;
    };
    rightClick(first, {first});
    EXPECT_TRUE(commands.Premierplan1Click());
    EXPECT_EQ(hints(), (QStringList{"<B>", "<A>", "shape"}));
    EXPECT_TRUE(model.Modifie);
    EXPECT_TRUE(selection.attached.empty());
    EXPECT_EQ(commands.ObjetPopup, nullptr);
    EXPECT_EQ(model.ObjetCourant, model.Objects().back().get());
    EXPECT_FALSE(QFile::exists(TransientDesignPath(model.ProgramFolder)));

    // Already in front of its kind: nothing changed.
    TImage* front = As<TImage>(model.Object(1));
    rightClick(front, {});
    EXPECT_TRUE(commands.Premierplan1Click());
    EXPECT_FALSE(model.Modifie);
    EXPECT_EQ(hints(), (QStringList{"<B>", "<A>", "shape"}));
    // The target is gone: a command needs a new right click.
    EXPECT_FALSE(commands.PopImageCenter());
}

TEST_F(PropertyCommandsTest, CircularTextAndBarcodeDialogsStandForTheirMenus)
{
    TCircleLabel* a = PlaceCircleLabel(model, 0, 0, QStringLiteral("round"));
    TCircleLabel* b = PlaceCircleLabel(model, 120, 0, QStringLiteral("other"));
    commands.Dialogs.EditCircleLabel = [](TCircleLabel& sample) {
        EXPECT_EQ(sample.Caption(), QStringLiteral("round"));
        sample.SetCaption(QStringLiteral("changed"));
        sample.SetDegrees(90);
        return true;
    };
    EXPECT_EQ(rightClick(a, {a, b}), TPopupMenuKind::CircleLabel);
    for (const TCircleLabel* o : {a, b}) {
        EXPECT_EQ(o->Caption(), QStringLiteral("changed"));
        EXPECT_EQ(o->Degrees(), 90);
    }
    EXPECT_TRUE(model.Modifie);
    EXPECT_EQ(model.ObjetCourant, a);

    TBarcodeObject* code = PlaceBarcode(model, 0, 200);
    code->Barcode().SetBar_CodeType(barcode::CODE39);
    code->Barcode().SetBar_Caption(QStringLiteral("ABC"));
    LayoutObject(*code);
    const int width = code->Width;
    ASSERT_GT(width, 0);
    commands.Dialogs.EditBarcode = [](TBarcodeObject& sample) {
        EXPECT_EQ(sample.Barcode().Bar_Caption(), QStringLiteral("ABC"));
        EXPECT_EQ(sample.Barcode().Bar_CodeType(), barcode::CODE39);
        sample.Barcode().SetBar_Caption(QStringLiteral("ABCABC"));
        return false;
    };
    EXPECT_EQ(rightClick(code, {}), TPopupMenuKind::Barcode);
    EXPECT_FALSE(model.Modifie);
    EXPECT_EQ(code->Width, width);
    commands.Dialogs.EditBarcode = [](TBarcodeObject& sample) {
        sample.Barcode().SetBar_Caption(QStringLiteral("ABCABC"));
        return true;
    };
    rightClick(code, {});
    EXPECT_TRUE(model.Modifie);
    EXPECT_GT(code->Width, width); // the layout took the longer symbol's size
    EXPECT_EQ(selection.attached, (std::vector<TDesignObject*>{code}));
}

} // namespace
