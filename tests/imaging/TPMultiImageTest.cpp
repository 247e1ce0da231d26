// The image control driven offscreen: each paint path on pixels, the scroll bars and grab-hand
// dragging, reading and its failures, saving, rotating, scanning from SANE's test backend,
// transitions, scrolling text and the clipboard.
#include "ImagingTestSupport.h"

#include "imaging/Scanner.h"
#include "imaging/window/TPMultiImage.h"
#include "platform/Paths.h"

#include <QGuiApplication>
#include <QImageWriter>
#include <QScrollBar>
#include <QTest>

using namespace imaging;
using imagingtest::BindingFixture;

namespace {

// Every pixel tells where it is: (x, y) is qRgb(x * dx, y * dy, 50).
QImage gradient(int w, int h, int dx = 1, int dy = 1)
{
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * dx, y * dy, 50));
    return image;
}

class ImageControl : public BindingFixture {
protected:
    void SetUp() override
    {
        BindingFixture::SetUp();
        control.resize(60, 40);
        control.SetColor(platform::clWhite);
        control.ScreenBits = 24;
    }
    QRgb at(int x, int y) { return control.grab().toImage().pixel(x, y) | 0xff000000u; }
    void show()
    {
        control.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&control));
    }
    QString writeBmp(const QString& name, const QImage& image)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(QImageWriter(path, "bmp").write(image));
        return path;
    }
    static QRgb pic(int x, int y) { return qRgb(x * 10, y * 20, 50); }

    QTemporaryDir dir;
    TPMultiImage control;
};

const QRgb white = qRgb(255, 255, 255);

} // namespace

TEST_F(ImageControl, EachPaintPathPutsThePicturesPixelsWhereItSays)
{
    control.SetPicture(Bitmap{gradient(20, 10, 10, 20), 24});
    struct Spot {
        int x, y;
        QRgb expected;
    };
    const struct {
        const char* path;
        std::function<void()> set;
        std::vector<Spot> spots;
    } cases[] = {
        {"1:1", [&] { control.SetScrolling(false); },
         {{0, 0, pic(0, 0)}, {19, 9, pic(19, 9)}, {20, 0, white}, {0, 10, white}, {59, 39, white}}},
        {"centred", [&] { control.SetScrolling(false); control.SetCenter(true); },
         {{20, 15, pic(0, 0)}, {39, 24, pic(19, 9)}, {19, 15, white}, {20, 14, white}, {40, 24, white}}},
        {"stretched", [&] { control.SetStretch(true); },
         {{0, 0, pic(0, 0)}, {3, 4, pic(1, 1)}, {59, 39, pic(19, 9)}}},
        {"zoomed", [&] { control.SetZoom(2); },
         {{0, 0, pic(0, 0)}, {2, 2, pic(1, 1)}, {39, 19, pic(19, 9)}, {40, 0, white}, {0, 20, white}}},
        {"zoomed and centred", [&] { control.SetZoom(2); control.SetCenter(true); },
         {{10, 10, pic(0, 0)}, {9, 10, white}, {49, 29, pic(19, 9)}, {50, 29, white}}},
        {"fitted", [&] { control.SetStretchRatio(true); },
         {{0, 0, pic(0, 0)}, {59, 29, pic(19, 9)}, {0, 30, white}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        control.SetScrolling(true);
        control.SetCenter(false);
        control.SetStretch(false);
        control.SetStretchRatio(false);
        control.SetZoom(1);
        c.set();
        const QImage shot = control.grab().toImage();
        for (const Spot& s : c.spots)
            EXPECT_EQ(shot.pixel(s.x, s.y) | 0xff000000u, s.expected) << s.x << ", " << s.y;
    }
    control.SetPicture(Bitmap());
    EXPECT_EQ(at(30, 20), white);
}

TEST_F(ImageControl, ScrollBarsAndTheGrabHandMoveTheView)
{
    control.resize(100, 60);
    control.SetPicture(Bitmap{gradient(200, 100), 24});
    show();
    ASSERT_TRUE(control.ScrollbarsShown());
    EXPECT_EQ(control.HorzScrollBar()->maximum(), 112);
    EXPECT_EQ(control.VertScrollBar()->maximum(), 52);
    EXPECT_EQ(control.HorzScrollBar()->geometry(), QRect(1, 48, 87, 12));
    control.HorzScrollBar()->setValue(30);
    EXPECT_EQ(control.Origin(), QPoint(30, 0));
    EXPECT_EQ(at(0, 0), qRgb(30, 0, 50));

    // The grab hand is this control's own cursor; another control keeps its own.
    TPMultiImage other;
    other.setCursor(Qt::IBeamCursor);
    control.setCursor(Qt::CrossCursor);
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(50, 30));
    EXPECT_TRUE(control.Dragging());
    EXPECT_EQ(control.cursor().shape(), Qt::ClosedHandCursor);
    EXPECT_EQ(other.cursor().shape(), Qt::IBeamCursor);
    QTest::mouseMove(&control, QPoint(40, 25));
    EXPECT_EQ(control.Origin(), QPoint(40, 5));
    EXPECT_EQ(control.HorzScrollBar()->value(), 40);
    // Far past the right and bottom edges: the last pixels stay at the edge of the view.
    QTest::mouseMove(&control, QPoint(-300, -300));
    EXPECT_EQ(control.Origin(), QPoint(200 - 88, 100 - 48));
    EXPECT_EQ(at(87, 47), qRgb(199, 99, 50));
    // Back past the start: never before the first pixel.
    QTest::mouseMove(&control, QPoint(600, 600));
    EXPECT_EQ(control.Origin(), QPoint(0, 0));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(600, 600));
    EXPECT_FALSE(control.Dragging());
    EXPECT_EQ(control.cursor().shape(), Qt::CrossCursor);

    // A picture smaller than the control: no bars, no dragging.
    control.SetPicture(Bitmap{gradient(50, 30), 24});
    EXPECT_FALSE(control.ScrollbarsShown());
    EXPECT_FALSE(control.HorzScrollBar()->isVisible());
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(control.Dragging());
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(10, 10));
}

TEST_F(ImageControl, HidingTheBarsNeverMovesTheOriginBeforeTheFirstPixel)
{
    // 34 pixels at zoom 3 are 102 wide in a control of 101: the bars pull the view back.
    control.resize(101, 60);
    control.SetPicture(Bitmap{gradient(34, 10), 24});
    control.SetZoom(3);
    control.SetOrigin(QPoint(1, 0));
    ASSERT_TRUE(control.ScrollbarsShown());
    control.SetShowScrollbars(false);
    EXPECT_EQ(control.Origin(), QPoint(0, 0));

    // A picture without pixels keeps zoom 1.0 when fitted.
    control.SetPicture(Bitmap());
    control.SetZoom(1);
    control.SetStretchRatio(true);
    EXPECT_EQ(control.Zoom(), 1.0);
    // Stretch and StretchRatio exclude each other.
    control.SetStretch(true);
    EXPECT_FALSE(control.StretchRatio());
    control.SetStretchRatio(true);
    EXPECT_FALSE(control.Stretch());
}

TEST_F(ImageControl, AFailedReadClearsThePictureAndAMissingFileSaysNothing)
{
    int finished = 0;
    control.OnFinishedLoadSave = [&] { ++finished; };
    const QString good = writeBmp("good.bmp", gradient(20, 10));
    control.SetImageName(good);
    ASSERT_FALSE(control.Empty());
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(control.ImageInfo().format, QStringLiteral("BMP"));

    // An unknown format: the picture read before does not stay (it would be saved as this one).
    const QString junk = dir.filePath("notes.xyz");
    testsupport::writeBytes(junk, QByteArray(100, 'z'));
    control.SetImageName(junk);
    EXPECT_TRUE(control.Empty());
    EXPECT_EQ(finished, 2);

    // With an error handler the handler hears of it; the picture is cleared all the same.
    control.SetImageName(good);
    QList<int> codes;
    control.OnIlibError = [&](int code, const QString&) { codes << code; };
    control.SetImageName(junk);
    EXPECT_TRUE(control.Empty());
    EXPECT_EQ(codes.size(), 1);

    control.SetImageName(good);
    finished = 0;
    control.SetImageName(dir.filePath("file not found"));
    EXPECT_TRUE(control.Empty());
    EXPECT_EQ(finished, 0);
}

TEST_F(ImageControl, SaveAsBmpAnswersWhetherItWroteTheFile)
{
    control.SetPicture(Bitmap{gradient(20, 10), 24});
    const QString first = dir.filePath("first.bmp");
    EXPECT_TRUE(control.SaveAsBmp(first));
    EXPECT_EQ(control.DefSaveFilename, first);
    QFile::remove(first);
    EXPECT_TRUE(control.SaveAsBmp());
    ASSERT_TRUE(QFileInfo::exists(first));
    EXPECT_EQ(QImage(first).pixel(5, 5), qRgb(5, 5, 50));

    EXPECT_FALSE(control.SaveAsBmp(dir.filePath("no/such/folder/x.bmp")));
    control.SetPicture(Bitmap());
    EXPECT_FALSE(control.SaveAsBmp(dir.filePath("empty.bmp")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("empty.bmp")));
}

TEST_F(ImageControl, RotationTurnsThePictureAndAlwaysRestoresTheCursor)
{
    control.SetPicture(Bitmap{gradient(20, 10, 10, 20), 24});
    control.RotateBackColor = platform::clWhite;
    control.SetScrolling(false);
    control.RotateImage(0, 0, 90, 0, 0);
    ASSERT_EQ(control.Picture().image.size(), QSize(10, 20));
    // Counter-clockwise: the right column is now the top row.
    EXPECT_EQ(at(0, 0), pic(19, 0));
    EXPECT_EQ(at(9, 19), pic(0, 9));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    control.SetPicture(Bitmap());
    EXPECT_THROW(control.RotateImage(0, 0, 90, 0, 0), ErrorInvalid);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(control.Empty());
}

TEST_F(ImageControl, AScanFromSanesTestBackendBecomesThePicture)
{
    imagingtest::useSaneBackends("test\n");
    chosenScanDevice().clear();
    setScanResolution(75);
    ASSERT_TRUE(control.SelectScanSource()) << qPrintable(binding().ImgLastErrorText);
    ASSERT_TRUE(control.ScanImage()) << qPrintable(binding().ImgLastErrorText);
    EXPECT_EQ(control.Picture().image.size(), QSize(236, 295));
    EXPECT_TRUE(ImgUndoRing().available);
    setScanResolution(150);
    chosenScanDevice().clear();
}

TEST_F(ImageControl, AStretchedTransitionLeavesThePictureAtTheControlsSize)
{
    const QString path = writeBmp("small.bmp", gradient(20, 10));
    control.FXMethod = FXHorizontal;
    control.FXDelay = 0;
    control.SetStretch(true);
    show();
    control.SetImageName(path);
    EXPECT_EQ(control.Picture().image.size(), QSize(60, 40));
    control.SetStretch(false);
    control.FXMethod = FXNone;
    control.SetImageName(path);
    EXPECT_EQ(control.Picture().image.size(), QSize(20, 10));
}

TEST_F(ImageControl, AScrollingTextShowsItsBackgroundAndEndsWithTheNextPicture)
{
    const QString banner = dir.filePath("banner.scm");
    testsupport::writeBytes(banner, "/fc|16777215/sp|0/sm|Hello/eo|");
    control.SetImageName(banner);
    EXPECT_TRUE(control.Scroll().lineMode());
    EXPECT_EQ(control.Color(), 128);
    EXPECT_EQ(at(30, 20), qRgb(128, 0, 0));
    for (int i = 0; i < 40; ++i)
        control.ScrollLineStep();
    const QImage shot = control.grab().toImage();
    bool text = false;
    for (int x = 0; x < 60 && !text; ++x)
        for (int y = 0; y < 40 && !text; ++y)
            text = (shot.pixel(x, y) | 0xff000000u) != qRgb(128, 0, 0);
    EXPECT_TRUE(text);

    control.SetImageName(writeBmp("after.bmp", gradient(20, 10)));
    EXPECT_FALSE(control.Scroll().active());
    EXPECT_EQ(control.Color(), platform::clWhite);
}

TEST_F(ImageControl, AScrollingTextTooLargeToShowIsReportedWithItsCode)
{
    const QString huge = dir.filePath("huge.scm");
    testsupport::writeBytes(huge, "/fh|-1000/fn|/sm|" + QByteArray(40, 'W') + "/eo|");
    QList<int> codes;
    QStringList texts;
    control.OnIlibError = [&](int code, const QString& text) {
        codes << code;
        texts << text;
    };
    control.SetImageName(huge);
    EXPECT_FALSE(control.Scroll().active());
    EXPECT_TRUE(control.Empty());
    EXPECT_EQ(codes, QList<int>{errTooLarge});
    EXPECT_TRUE(texts.value(0).contains(QStringLiteral("smaller font"))) << qPrintable(texts.value(0));
}

TEST_F(ImageControl, CopyCutAndPasteGoThroughTheClipboard)
{
    control.SetPicture(Bitmap{gradient(20, 10), 24});
    show();
    control.setFocus();
    QTest::keyClick(&control, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&control, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(control.Empty());
    QTest::keyClick(&control, Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_FALSE(control.Empty());
    EXPECT_EQ(control.Picture().image.convertToFormat(QImage::Format_RGB888), gradient(20, 10));
}

TEST_F(ImageControl, AnnotationsAreDrawnWithTheMouseAndKeptBesideTheirPicture)
{
    // A folder with a dot in its name: each picture keeps a file of its own.
    QDir(dir.path()).mkdir("my.pictures");
    const QString first = writeBmp("my.pictures/first.bmp", gradient(20, 10));
    const QString second = writeBmp("my.pictures/second.bmp", gradient(20, 10));
    control.AutoSaveAnno = true;
    control.AutoLoadAnno = true;
    control.SetImageName(first);
    show();
    int done = 0;
    control.OnAnnoDone = [&] { ++done; };
    control.SetEditAnnotat(true);
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseMove(&control, QPoint(8, 6));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(12, 8));
    EXPECT_FALSE(control.Dragging());
    ASSERT_EQ(control.Annotations().Items().size(), 1);
    EXPECT_EQ(control.Annotations().Items()[0].rect, QRect(QPoint(2, 2), QPoint(12, 8)));
    EXPECT_EQ(done, 1);
    // The frame is drawn over the picture, in red.
    EXPECT_EQ(at(2, 5), qRgb(255, 0, 0));

    // Reading the next picture saves these under the first one's name and starts empty.
    control.SetImageName(second);
    EXPECT_TRUE(control.Annotations().Items().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("my.pictures/first.ant")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("my.ant")));
    control.SetImageName(first);
    EXPECT_EQ(control.Annotations().Items().size(), 1);
    control.AutoSaveAnno = false;
}

TEST_F(ImageControl, NotesWithoutAPictureGoToTheProgramFolderNotTheCurrentOne)
{
    QTemporaryDir current;
    QTemporaryDir program;
    const QString oldCurrent = QDir::currentPath();
    const QString oldProgram = platform::programFolder();
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    platform::setProgramFolder(program.path());

    control.AutoSaveAnno = true;
    show();
    control.SetEditAnnotat(true);
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(12, 8));
    ASSERT_EQ(control.Annotations().Items().size(), 1);
    // Reading a picture saves the notes drawn so far under the name kept for no picture.
    control.SetImageName(writeBmp("a.bmp", gradient(20, 10)));
    control.AutoSaveAnno = false;

    const bool inProgram = QFileInfo::exists(program.filePath("default.ant"));
    const bool inCurrent = QFileInfo::exists(current.filePath("default.ant"));
    QDir::setCurrent(oldCurrent);
    platform::setProgramFolder(oldProgram);
    EXPECT_TRUE(inProgram);
    EXPECT_FALSE(inCurrent);
}

TEST_F(ImageControl, TheRubberBandKeepsTheControlsProportions)
{
    control.SetPicture(Bitmap{gradient(200, 100), 24});
    control.AllowRubberBand = true;
    show();
    QList<QRect> bands;
    control.OnRubberband = [&](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y, int xx, int yy) {
        bands << QRect(QPoint(x, y), QPoint(xx, yy));
    };
    // 30 pixels right of the start in a 60 x 40 control: a band of 25 x 17 (distance 30 along
    // the diagonal of proportion 2:3), and no dragging meanwhile.
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(&control, QPoint(40, 10));
    EXPECT_FALSE(control.Dragging());
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(40, 10));
    // Straight up: the band goes up, to the right.
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(50, 30));
    QTest::mouseMove(&control, QPoint(50, 0));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(50, 0));
    EXPECT_EQ(bands, (QList<QRect>{QRect(QPoint(10, 10), QPoint(35, 27)), QRect(QPoint(50, 30), QPoint(75, 13))}));
    EXPECT_EQ(control.Origin(), QPoint(0, 0));
}
