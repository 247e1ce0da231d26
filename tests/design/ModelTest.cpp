#include "design/DesignModel.h"
#include "design/Pictures.h"

#include "barcode/Barcode.h"
#include "platform/Errors.h"
#include "platform/TCanvas.h"

#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace design;
using namespace platform;
using barcode::EAN_13;
using barcode::EAN_8;
using barcode::EOverflow;
using barcode::rotate_000;
using barcode::rotate_090;
using barcode::SC2;
using barcode::SC4;
using barcode::TBarcode;

namespace {

// A model over its own format, with picture folders in a temporary directory.
struct ModelFixture : ::testing::Test {
    QTemporaryDir programDir;
    QTemporaryDir examplesDir;
    TCurrentFormat format;
    TDesignModel model{format};
    std::vector<TDesignObject*> attached;
    int unreadable = 0;

    void SetUp() override
    {
        ASSERT_TRUE(programDir.isValid());
        QDir(programDir.path()).mkpath(QStringLiteral("images"));
        QDir(examplesDir.path()).mkpath(QStringLiteral("images"));
        model.ProgramFolder = programDir.path();
        model.ExamplesFolder = examplesDir.path();
        model.OnAttach = [this](TDesignObject& o) { attached.push_back(&o); };
        model.OnUnreadableImage = [this](const QString&) { ++unreadable; };
    }

    void picture(const QString& folder, const QString& name, int w, int h)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(folder + QStringLiteral("/images/") + name));
    }
};

} // namespace

TEST(ImageTag, DecodesTheThreeRangesAndEncodesBack)
{
    EXPECT_EQ(DecodeImageTag(1), (TImageTag{true, 0}));
    EXPECT_EQ(DecodeImageTag(0), (TImageTag{false, 0}));
    EXPECT_EQ(DecodeImageTag(999), (TImageTag{false, 0}));
    EXPECT_EQ(DecodeImageTag(1090), (TImageTag{false, 90}));
    EXPECT_EQ(DecodeImageTag(2270), (TImageTag{true, 270}));
    EXPECT_EQ(DecodeImageTag(2000), (TImageTag{true, 0}));
    EXPECT_EQ(EncodeImageTag(true, 270), 2270);
    EXPECT_EQ(EncodeImageTag(false, 90), 1090);
    for (int tag : {1000, 1045, 1359, 2000, 2090, 2359}) {
        const TImageTag t = DecodeImageTag(tag);
        EXPECT_EQ(EncodeImageTag(t.KeepProportions, t.Angle), tag);
    }
}

TEST(FitInSquareTest, KeepsSmallPicturesAndScalesTheLongerSide)
{
    EXPECT_EQ(FitInSquare(300, 200, 100), std::make_pair(100, 67));
    EXPECT_EQ(FitInSquare(200, 300, 100), std::make_pair(67, 100));
    EXPECT_EQ(FitInSquare(50, 40, 100), std::make_pair(50, 40));
    EXPECT_EQ(FitInSquare(200, 200, 100), std::make_pair(100, 100));
    EXPECT_EQ(FitInSquare(100, 100, 100), std::make_pair(100, 100));
    // 250 x 50 in 100: 50 x 100 / 250 = 20; 300 x 250: 83.33 -> 83; halves go to the even side.
    EXPECT_EQ(FitInSquare(250, 50, 100), std::make_pair(100, 20));
    EXPECT_EQ(FitInSquare(300, 250, 100), std::make_pair(100, 83));
    EXPECT_EQ(FitInSquare(200, 5, 100), std::make_pair(100, 2)); // 2.5 -> 2
    EXPECT_EQ(FitInSquare(200, 7, 100), std::make_pair(100, 4)); // 3.5 -> 4
}

// One name per saved design, whoever asks (the station's list and page, the designer's caption
// and its save question): a name may itself hold dots, only the extension goes.
TEST(DesignNameTest, IsTheFileNameWithoutItsExtension)
{
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"/a/perso/Badge.car", "Badge"},
        {"c:\\prog\\perso\\Badge.car", "Badge"},
        {"/a/perso/a.b.car", "a.b"},
        {"/a/perso/Carte.visite.car", "Carte.visite"},
        {"/a/perso/v1.2 badge.CAR", "v1.2 badge"},
        {"Badge.car", "Badge"},
        {"/a.b/perso/Badge.car", "Badge"}, // a dot in a folder is not the file's
        {"/a/perso/sansextension", ""},
        {"/a/perso/.car", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesignName(QString::fromUtf8(c.path)), QString::fromUtf8(c.name)) << c.path;
}

TEST_F(ModelFixture, ClassTestsTellTextsApart)
{
    TLabel* label = PlaceLabel(model, 0, 0, QStringLiteral("Simple text"));
    TRotateLabel* tilted = PlaceRotateLabel(model, 0, 0, QStringLiteral("Tilted text"));
    EXPECT_TRUE(Is<TLabel>(label));
    EXPECT_FALSE(Is<TLabel>(tilted));
    EXPECT_FALSE(Is<TRotateLabel>(label));
    EXPECT_EQ(As<TLabel>(static_cast<TDesignObject*>(tilted)), nullptr);
    EXPECT_EQ(model.ObjectsOf<TLabel>().size(), 1u);
    EXPECT_EQ(model.ObjectsOf<TRotateLabel>().size(), 1u);
}

TEST_F(ModelFixture, CreationKeepsOrderSetsCurrentAndAttachesOnlyWhenAsked)
{
    TShape* a = PlaceShape(model, 10, 20, stEllipse);
    EXPECT_EQ(model.ObjetCourant, a);
    EXPECT_TRUE(attached.empty());
    TLine* b = model.AddLine(1, 2, ltVertical, 3, psDash, clRed, 40, 30, true);
    TShape* c = PlaceShape(model, 0, 0, stRoundRect);
    ASSERT_EQ(attached.size(), 1u);
    EXPECT_EQ(attached[0], b);
    EXPECT_EQ(model.Object(0), a);
    EXPECT_EQ(model.Object(1), b);
    EXPECT_EQ(model.Object(2), c);

    model.BringToFront(a);
    EXPECT_EQ(model.Object(2), a);
    model.Free(c);
    EXPECT_EQ(model.Count(), 2);
    EXPECT_EQ(model.ObjetCourant, nullptr); // c was current
    model.Clear();
    EXPECT_TRUE(model.IsEmpty());
}

TEST_F(ModelFixture, SizesAreSetOnlyWhenAboveZero)
{
    TShape* s = model.AddShape(5, 6, stRectangle, 2, psDot, clBlue, bsCross, clYellow, 0, -3, false);
    EXPECT_EQ(s->Width, 65);
    EXPECT_EQ(s->Height, 65);
    EXPECT_EQ(s->Pen.Width(), 2);
    EXPECT_EQ(s->Pen.Style(), psDot);
    EXPECT_EQ(s->Brush.Style(), bsCross);
    EXPECT_EQ(s->Brush.Color(), clYellow);

    TLabel* l = PlaceLabel(model, 3, 4, QStringLiteral("Simple text"));
    EXPECT_EQ(l->Width, 100);
    EXPECT_EQ(l->Height, 17); // the control's own height
    EXPECT_FALSE(l->AutoSize);
    EXPECT_TRUE(l->WordWrap);
    EXPECT_FALSE(l->ShowAccelChar);
    EXPECT_TRUE(l->Font.Style().Contains(fsBold));
    EXPECT_EQ(l->Font.Height(), -13);
    EXPECT_EQ(l->Color, clWhite);
    EXPECT_FALSE(l->Transparent);
}

TEST_F(ModelFixture, FontSizeDecidesOverTheHeightGiven)
{
    TLabel* l = model.AddLabel(0, 0, true, TFontStyles{fsItalic}, clRed, 12, QStringLiteral("Arial"),
                               -40, clWhite, QStringLiteral("x"), taCenter, 20, 50, false);
    EXPECT_EQ(l->Font.Size(), 12);
    EXPECT_EQ(l->Font.Height(), -16);
    EXPECT_EQ(l->Font.Color(), clRed);
    EXPECT_EQ(l->Alignment, taCenter);
}

TEST_F(ModelFixture, PlacementDefaults)
{
    TMemo* memo = PlaceMemo(model, 0, 0, model.BlockOfTextDefault);
    EXPECT_EQ(memo->Width, 100);
    EXPECT_EQ(memo->Height, 60);
    EXPECT_EQ(memo->BorderStyle, bsSingle);
    EXPECT_FALSE(memo->Ctl3D);
    EXPECT_EQ(memo->SelStart, 0);
    EXPECT_EQ(memo->SelLength, 13);

    TCircleLabel* circle = PlaceCircleLabel(model, 0, 0, QStringLiteral("Circular text"));
    EXPECT_EQ(circle->Degrees(), 180);
    EXPECT_EQ(circle->StartingVector(), 180);
    EXPECT_FALSE(circle->EvenSpaceChars());
    EXPECT_EQ(circle->Width, 100);
    EXPECT_EQ(circle->Font.Name(), QStringLiteral("Arial"));

    TRotateLabel* tilted = PlaceRotateLabel(model, 0, 0, QStringLiteral("Tilted text"));
    EXPECT_TRUE(tilted->Transparent);
    EXPECT_EQ(tilted->Angle(), 0);

    TLine* line = PlaceLine(model, 0, 0);
    EXPECT_EQ(line->Line(), ltHorizontal);
    EXPECT_EQ(line->Width, 65);

    TBarcodeObject* bar = PlaceBarcode(model, 7, 8);
    EXPECT_EQ(bar->Barcode().Bar_CodeType(), EAN_13);
    EXPECT_EQ(bar->Barcode().Bar_ModuleWidth(), SC2);
    EXPECT_TRUE(bar->Barcode().Bar_HumanReadable());
    EXPECT_EQ(bar->Left, 7);
}

TEST_F(ModelFixture, OnlyTheDefaultTextOfABlockIsPreselected)
{
    model.BlockOfTextDefault = QStringLiteral("Bloc de texte");
    TMemo* other = PlaceMemo(model, 0, 0, QStringLiteral("Block of text"));
    EXPECT_EQ(other->SelLength, 0);
    TMemo* own = PlaceMemo(model, 0, 0, QStringLiteral("Bloc de texte"));
    EXPECT_EQ(own->SelLength, 13);
}

TEST_F(ModelFixture, ImageFromEitherFolderIgnoringLetterCase)
{
    picture(programDir.path(), QStringLiteral("logo.png"), 40, 20);
    picture(examplesDir.path(), QStringLiteral("Sample.png"), 10, 30);

    TImage* a = model.AddImage(1, 2, 0, true, QStringLiteral("LOGO.png"), true, false, false, 0, 65,
                               true);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Hint, QStringLiteral("LOGO.png"));
    EXPECT_EQ(a->Picture().size(), QSize(40, 20));
    EXPECT_EQ(a->Tag, 2000);
    EXPECT_EQ(a->Height, 32); // 65 x 20 / 40 = 32.5, half to even
    EXPECT_EQ(attached.size(), 1u);

    TImage* b = model.AddImage(0, 0, 0, false, QStringLiteral("sample.PNG"), false, true, false, 44,
                               22, false);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Picture().size(), QSize(10, 30));
    EXPECT_EQ(b->Tag, 1000);
    EXPECT_EQ(b->Width, 22);
    EXPECT_EQ(b->Height, 44);
}

// A reference reads from the "images" folders and nowhere else: climbing out with "../" or
// "..\\" finds nothing, as an absolute name does, however the path comes back inside.
TEST_F(ModelFixture, ImageReferenceStaysInItsPictureFolders)
{
    picture(programDir.path(), QStringLiteral("logo.png"), 40, 20);
    picture(examplesDir.path(), QStringLiteral("sample.png"), 10, 30);
    const QString program = programDir.path();
    const QString examples = examplesDir.path();
    const QString programName = QFileInfo(program).fileName();
    // Pictures beside the folders, and in a folder whose name begins like theirs.
    QDir(program).mkpath(QStringLiteral("imagesX"));
    for (const QString& outside : {program + "/secret.png", examples + "/secret.png", program + "/imagesX/x.png"}) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::green);
        ASSERT_TRUE(image.save(outside));
    }
    const struct {
        QString reference;
        QString found;
    } cases[] = {
        {"logo.png", program + "/images/logo.png"},
        {"sub/../LOGO.PNG", program + "/images/logo.png"},
        {"../images/logo.png", program + "/images/logo.png"},
        {"..\\IMAGES\\sample.png", examples + "/images/sample.png"},
        {"../secret.png", ""},
        {"..\\secret.png", ""},
        {"sub/../../secret.png", ""},
        {"../imagesX/x.png", ""},
        {"../../" + programName + "/secret.png", ""},
        {program + "/secret.png", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reference.toStdString());
        EXPECT_EQ(FindPictureFile(c.reference, program, examples), c.found);
        TImage* image = model.AddImage(0, 0, 0, true, c.reference, true, false, false, 0, 65, false);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->Picture().isNull(), c.found.isEmpty());
    }
}

TEST_F(ModelFixture, RotatedImageTakesItsTurnedProportions)
{
    picture(programDir.path(), QStringLiteral("wide.png"), 40, 20);
    TImage* img = model.AddImage(0, 0, 90, true, QStringLiteral("wide.png"), true, false, false, 0,
                                 65, false);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->Picture().size(), QSize(20, 40));
    EXPECT_EQ(img->Tag, 2090);
    EXPECT_EQ(img->Height, 130);
}

TEST_F(ModelFixture, AutoSizeTakesThePictureSizeWhenNoWidthIsGiven)
{
    picture(programDir.path(), QStringLiteral("a.png"), 33, 17);
    TImage* img = model.AddImage(0, 0, 0, true, QStringLiteral("a.png"), false, false, true, 0, 0,
                                 false);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->Width, 33);
    EXPECT_EQ(img->Height, 17);
    EXPECT_EQ(img->Tag, 0); // width 0 given: the tag stays 0
}

TEST_F(ModelFixture, MissingPictureKeepsTheObjectWithAnEmptyPicture)
{
    TImage* img = model.AddImage(3, 4, 0, true, QStringLiteral("gone.bmp"), true, false, false, 50,
                                 65, false);
    ASSERT_NE(img, nullptr);
    EXPECT_TRUE(img->Picture().isNull());
    EXPECT_EQ(img->Hint, QStringLiteral("gone.bmp"));
    EXPECT_EQ(img->Width, 65);
    EXPECT_EQ(img->Height, 50);
    EXPECT_EQ(img->Tag, 2000);
    EXPECT_EQ(model.Count(), 1);
    EXPECT_EQ(unreadable, 0);
}

TEST_F(ModelFixture, UnreadablePictureMakesNoObjectAndReports)
{
    testsupport::writeBytes(programDir.path() + QStringLiteral("/images/bad.bmp"), "not a picture");
    PlaceShape(model, 0, 0, stRectangle);
    TImage* img = model.AddImage(0, 0, 0, true, QStringLiteral("bad.bmp"), true, false, false, 65,
                                 65, true);
    EXPECT_EQ(img, nullptr);
    EXPECT_EQ(model.ObjetCourant, nullptr);
    EXPECT_EQ(model.Count(), 1);
    EXPECT_EQ(unreadable, 1);
    EXPECT_TRUE(attached.empty());
}

TEST_F(ModelFixture, FieldCodeImageKeepsThePlaceholderSizeGivenAndNoBitmap)
{
    TImage* img = PlaceImage(model, 0, 0, QStringLiteral("<Photo>"));
    ASSERT_NE(img, nullptr);
    ASSERT_TRUE(img->Picture().isNull());
    EXPECT_EQ(img->PlaceholderSize, QSize(65, 65));
    EXPECT_EQ(img->Height, 65);

    TImage* noWidth = model.AddImage(0, 0, 0, true, QStringLiteral("<Photo>"), true, false, false,
                                     0, 0, false);
    ASSERT_NE(noWidth, nullptr);
    EXPECT_EQ(noWidth->Tag, 0);
    // No size given: the placeholder takes the object's own size.
    EXPECT_EQ(noWidth->PlaceholderSize, QSize(noWidth->Width, noWidth->Height));

    // Without keep proportions the placeholder has the size given too.
    TImage* free = model.AddImage(0, 0, 0, false, QStringLiteral("<Logo>"), true, false, false,
                                  40, 90, false);
    ASSERT_NE(free, nullptr);
    EXPECT_EQ(free->Tag, 1000);
    EXPECT_EQ(free->Width, 90);
    EXPECT_EQ(free->Height, 40);
    EXPECT_EQ(free->PlaceholderSize, QSize(90, 40));

    // A huge field image on a tiny label costs nothing to load (a bitmap of its size would be
    // 6.4 GB).
    TImage* huge = model.AddImage(0, 0, 0, true, QStringLiteral("<Photo>"), true, false, true,
                                  40000, 40000, false);
    ASSERT_NE(huge, nullptr);
    EXPECT_TRUE(huge->Picture().isNull());
    EXPECT_EQ(huge->PlaceholderSize, QSize(40000, 40000));
    EXPECT_EQ(huge->Height, 40000);
}

TEST(FieldPlaceholder, IsDrawnInTheBoxItIsPaintedIn)
{
    QImage image = testsupport::whiteImage(120, 60);
    TCanvas canvas(&image);
    canvas.SetLogPixels(96, 96);
    DrawFieldPlaceholder(canvas, Rect(10, 5, 100, 45), QStringLiteral("<Logo>"));
    canvas.End();
    // The crossed box: frame and diagonals dark, the fill the tooltip colour, nothing outside.
    EXPECT_LT(qGray(image.pixel(10, 5)), 100);
    EXPECT_LT(qGray(image.pixel(20, 9)), 100);   // on the diagonal from the top-left corner
    EXPECT_LT(qGray(image.pixel(90, 9)), 100);   // on the one from the top-right corner
    EXPECT_EQ(image.pixel(13, 25) & 0xFFFFFF, ToQColor(clInfoBk).rgb() & 0xFFFFFF);
    EXPECT_EQ(testsupport::darkPixels(image, 0, 0, 9, 59), 0);
    EXPECT_EQ(testsupport::darkPixels(image, 100, 0, 119, 59), 0);
    EXPECT_EQ(testsupport::darkPixels(image, 0, 45, 119, 59), 0);
    // The code in the middle, over the crossing of the diagonals.
    QImage uncoded = testsupport::whiteImage(120, 60);
    TCanvas bare(&uncoded);
    bare.SetLogPixels(96, 96);
    DrawFieldPlaceholder(bare, Rect(10, 5, 100, 45), QString());
    bare.End();
    EXPECT_GT(testsupport::darkPixels(image, 30, 18, 80, 32),
              testsupport::darkPixels(uncoded, 30, 18, 80, 32) + 20);

    // A box of no size draws nothing.
    QImage none = testsupport::whiteImage(20, 20);
    TCanvas empty(&none);
    DrawFieldPlaceholder(empty, Rect(5, 5, 5, 15), QStringLiteral("<Logo>"));
    empty.End();
    EXPECT_EQ(testsupport::darkPixels(none, 0, 0, 19, 19), 0);
}

TEST(ObjectSetters, CircleLabelRangesAndDialogOrder)
{
    TCircleLabel c;
    EXPECT_EQ(c.Caption(), QStringLiteral("Text in a Circle"));
    EXPECT_EQ(c.Font.Name(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(c.Font.Size(), 12);
    EXPECT_TRUE(c.Font.Style().Contains(fsBold));
    EXPECT_EQ(c.Brush.Style(), bsClear);

    c.SetDegrees(30);
    EXPECT_EQ(c.Degrees(), 180);
    c.SetDegrees(44);
    EXPECT_EQ(c.Degrees(), 180);
    c.SetDegrees(45);
    EXPECT_EQ(c.Degrees(), 45);
    c.SetDegrees(360);
    EXPECT_EQ(c.Degrees(), 45);
    c.SetStartingVector(360);
    c.SetStartingVector(-1);
    EXPECT_EQ(c.StartingVector(), 180);
    c.SetStartingVector(0);
    EXPECT_EQ(c.StartingVector(), 0);

    TCircleLabel sample;
    sample.SetEvenSpaceChars(true);
    sample.SetStartingVector(90);
    sample.SetCaption(QStringLiteral("ABC"));
    sample.Font.SetName(QStringLiteral("Courier New"));
    TCircleLabel target;
    target.SetDegrees(200);
    ApplyCircleLabelDialog(target, sample);
    EXPECT_TRUE(target.EvenSpaceChars());
    EXPECT_EQ(target.Degrees(), 180);
    EXPECT_EQ(target.StartingVector(), 90);
    EXPECT_EQ(target.Caption(), QStringLiteral("ABC"));
    EXPECT_EQ(target.Font.Name(), QStringLiteral("Courier New"));
}

TEST(ObjectSetters, RotateLabelAngleKeepsCosineAndSine)
{
    TRotateLabel r;
    EXPECT_DOUBLE_EQ(r.Cos(), 1.0);
    EXPECT_DOUBLE_EQ(r.Sin(), 0.0);
    r.SetAngle(90);
    EXPECT_NEAR(r.Cos(), 0.0, 1e-12);
    EXPECT_NEAR(r.Sin(), 1.0, 1e-12);
    r.SetAngle(-30);
    EXPECT_EQ(r.Angle(), -30);
    EXPECT_NEAR(r.Sin(), -0.5, 1e-12);
}

TEST_F(ModelFixture, BarcodeDialogCopiesEverySettingAndRefusesBadValues)
{
    TBarcodeObject* bar = PlaceBarcode(model, 0, 0);
    TBarcode sample;
    sample.SetBar_Caption(QStringLiteral("12345670"));
    sample.SetBar_CodeType(EAN_8);
    sample.SetBar_ModuleWidth(SC4);
    sample.SetBar_Rotation(rotate_090);
    sample.SetBar_CodeAddon(QStringLiteral("12"));
    sample.SetBar_HeightPercent(150);
    sample.SetBar_WidthReduce(true);
    sample.SetBar_HumanReadable(false);
    sample.SetBar_Fontname(QStringLiteral("Courier New"));
    sample.SetBar_Fontscaling(80);
    ApplyBarcodeDialog(*bar, sample);
    const TBarcode& b = bar->Barcode();
    EXPECT_EQ(b.Bar_Caption(), QStringLiteral("12345670"));
    EXPECT_EQ(b.Bar_CodeType(), EAN_8);
    EXPECT_EQ(b.Bar_ModuleWidth(), SC4);
    EXPECT_EQ(b.Bar_Rotation(), rotate_090);
    EXPECT_EQ(b.Bar_CodeAddon(), QStringLiteral("12"));
    EXPECT_EQ(b.Bar_HeightPercent(), 150);
    EXPECT_TRUE(b.Bar_WidthReduce());
    EXPECT_FALSE(b.Bar_HumanReadable());
    EXPECT_EQ(b.Bar_Fontname(), QStringLiteral("Courier New"));
    EXPECT_EQ(b.Bar_Fontscaling(), 80);
    // The record follows the symbol's measured size, turned a quarter.
    EXPECT_EQ(bar->Width, b.Width());
    EXPECT_EQ(bar->Height, b.Height());
    const int turnedWidth = bar->Width;
    const int turnedHeight = bar->Height;
    ASSERT_NE(turnedWidth, turnedHeight);
    sample.SetBar_Rotation(rotate_000);
    ApplyBarcodeDialog(*bar, sample);
    EXPECT_EQ(bar->Width, turnedHeight);
    EXPECT_EQ(bar->Height, turnedWidth);

    EXPECT_THROW(model.AddBarcode(0, 0, 100, QStringLiteral("Arial"), true, false, QString(),
                                  rotate_000, EAN_13, QString(), 10, SC2, false),
                 EOverflow);
}

namespace {

struct Page {
    QString cells[51][51];
    int count = 0;
    int cleared = 0;
    TConfirmSaveActions actions(TSaveAnswer answer, std::function<void()> save)
    {
        TConfirmSaveActions a;
        a.Ask = [answer] { return answer; };
        a.Save = std::move(save);
        a.Cell = [this](int c, int r) -> QString& { return cells[c][r]; };
        a.NbCasesRemplies = &count;
        a.ClearPage = [this] { ++cleared; };
        return a;
    }
};

} // namespace

TEST_F(ModelFixture, ConfirmSaveAnswers)
{
    Page page;
    int asked = 0;
    TConfirmSaveActions counting = page.actions(TSaveAnswer::Cancel, {});
    counting.Ask = [&asked] {
        ++asked;
        return TSaveAnswer::Cancel;
    };
    EXPECT_TRUE(ConfirmSave(model, counting)); // unmodified: nothing asked
    EXPECT_EQ(asked, 0);

    model.Modifie = true;
    EXPECT_FALSE(ConfirmSave(model, counting));
    EXPECT_TRUE(model.Modifie);
    // Anything but Yes or No (a box closed without a button, a failed box, a value out of the
    // enumeration) stops the caller and keeps the changes; nothing is saved.
    for (const TSaveAnswer answer :
         {TSaveAnswer::Cancel, TSaveAnswer::Other, static_cast<TSaveAnswer>(-1),
          static_cast<TSaveAnswer>(42)}) {
        int saves = 0;
        EXPECT_FALSE(ConfirmSave(model, page.actions(answer, [&saves] { ++saves; })))
            << static_cast<int>(answer);
        EXPECT_TRUE(model.Modifie);
        EXPECT_EQ(saves, 0);
    }
    EXPECT_TRUE(ConfirmSave(model, page.actions(TSaveAnswer::No, {})));
    EXPECT_FALSE(model.Modifie);

    model.Modifie = true;
    // A save abandoned in the save-as dialog leaves the design modified: the caller stops.
    EXPECT_FALSE(ConfirmSave(model, page.actions(TSaveAnswer::Yes, [] {})));
    EXPECT_TRUE(ConfirmSave(model, page.actions(TSaveAnswer::Yes, [this] { model.Modifie = false; })));
}

TEST_F(ModelFixture, SavingAfterAFormatChangeTakesTheDesignOffThePage)
{
    Page page;
    page.cells[1][1] = QStringLiteral("Badge");
    page.cells[50][50] = QStringLiteral("Badge");
    page.cells[2][1] = QStringLiteral("BADGE");
    page.cells[3][3] = QStringLiteral("Other");
    page.count = 4;
    model.NomDocument = QStringLiteral("/p/perso/Badge.car");
    model.Modifie = true;
    model.FormatModifie = true;
    EXPECT_TRUE(ConfirmSave(model, page.actions(TSaveAnswer::Yes, [this] { model.Modifie = false; })));
    EXPECT_TRUE(page.cells[1][1].isEmpty());
    EXPECT_TRUE(page.cells[50][50].isEmpty());
    EXPECT_EQ(page.cells[2][1], QStringLiteral("BADGE"));
    EXPECT_EQ(page.count, 2);
    EXPECT_EQ(page.cleared, 0);

    page.cells[2][1].clear();
    page.cells[3][3] = QStringLiteral("Badge");
    page.count = 1;
    model.Modifie = true;
    EXPECT_TRUE(ConfirmSave(model, page.actions(TSaveAnswer::Yes, [this] { model.Modifie = false; })));
    EXPECT_EQ(page.count, 0);
    EXPECT_EQ(page.cleared, 1);
}

TEST_F(ModelFixture, ConfirmSaveNeverMatchesEmptyCellsForANamelessDocument)
{
    Page page;
    page.cells[1][1] = QStringLiteral("Badge");
    page.count = 1;
    model.NomDocument = QStringLiteral("/p/perso/noextension");
    model.Modifie = true;
    model.FormatModifie = true;
    EXPECT_TRUE(ConfirmSave(model, page.actions(TSaveAnswer::Yes, [this] { model.Modifie = false; })));
    EXPECT_EQ(page.count, 1);
    EXPECT_EQ(page.cleared, 0);
}

TEST_F(ModelFixture, PaintSheetDrawsTheLabelOnASilverSurface)
{
    model.LargeurEtiquettePx = 60;
    model.HauteurEtiquettePx = 40;
    QImage image = testsupport::whiteImage(100, 80);
    {
        TCanvas canvas(&image);
        model.PaintSheet(canvas, 100, 80);
    }
    EXPECT_EQ(image.pixel(80, 60) & 0xFFFFFF, 0xC0C0C0u); // surface
    EXPECT_EQ(image.pixel(30, 20) & 0xFFFFFF, 0xFFFFFFu); // label
    EXPECT_LT(qGray(image.pixel(30, 39)), 60);             // label outline
    EXPECT_LT(qGray(image.pixel(99, 40)), 60);             // surface frame

    format.EtiquetteRonde = true;
    QImage round = testsupport::whiteImage(100, 80);
    {
        TCanvas canvas(&round);
        model.PaintSheet(canvas, 100, 80);
    }
    // The corner of the label's box is outside the ellipse: surface colour.
    EXPECT_EQ(round.pixel(3, 3) & 0xFFFFFF, 0xC0C0C0u);
    EXPECT_EQ(round.pixel(30, 20) & 0xFFFFFF, 0xFFFFFFu);
}
