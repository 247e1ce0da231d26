#include "design/DesignSurface.h"

#include "platform/Errors.h"

#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace design;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

TEST(DesignSurface, SizesGridAndPointer)
{
    // The largest sheet, 335 mm, at the design resolution and at another one.
    EXPECT_EQ(WorkSurfaceSide(33500, 96), 1266);
    EXPECT_EQ(WorkSurfaceSide(33500, 120), 1583);
    // 33550 is 335.5 mm: rounded to an even 336 mm first.
    EXPECT_EQ(WorkSurfaceSide(33550, 96), 1270);

    EXPECT_EQ(SnapPoint({21, 13}, 8, 8), QPoint(16, 8));
    EXPECT_EQ(SnapPoint({-3, 31}, 8, 16), QPoint(0, 16)); // truncation toward zero
    EXPECT_EQ(SnapPoint({21, 13}, 0, 1), QPoint(21, 13));

    EXPECT_EQ(PointerPositionText(38, 19, 96), "x=10mm, y=5mm");
    // 6 px = 1.5875 mm -> 2; 2,5 mm rounds to the even 2.
    EXPECT_EQ(PointerPositionText(6, 0, 96), "x=2mm, y=0mm");
    EXPECT_EQ(PointerPositionText(5, 0, 50.8), "x=2mm, y=0mm");

    EXPECT_EQ(GridDots(20, 10, 8, 8),
              (std::vector<QPoint>{{1, 1}, {9, 1}, {17, 1}, {1, 9}, {9, 9}, {17, 9}}));
    EXPECT_EQ(GridDots(0, 0, 8, 8), (std::vector<QPoint>{{1, 1}}));
    EXPECT_EQ(GridDots(10, 2, 5, 5), (std::vector<QPoint>{{1, 1}, {6, 1}}));
}

TEST(DesignSurface, RubberBandSelectsWhatItCovers)
{
    TCurrentFormat format;
    TDesignModel model(format);
    TShape* a = PlaceShape(model, 40, 40, stRectangle); // 65 x 65
    a->Width = 10;
    a->Height = 10;
    TShape* b = PlaceShape(model, 200, 10, stEllipse);
    using V = std::vector<TDesignObject*>;
    // One pixel of overlap is enough; the corners may come in any order.
    EXPECT_EQ(ObjectsInRect(model, OrderedRect(0, 0, 41, 41)), V{a});
    EXPECT_EQ(ObjectsInRect(model, OrderedRect(41, 41, 0, 0)), V{a});
    EXPECT_EQ(ObjectsInRect(model, OrderedRect(0, 0, 40, 40)), V{});
    // A click without a drag is a band of no area.
    EXPECT_EQ(ObjectsInRect(model, OrderedRect(45, 45, 45, 45)), V{});
    EXPECT_EQ(ObjectsInRect(model, OrderedRect(0, 0, 300, 300)), (V{a, b}));
}

TEST(DesignSurface, FormatComparisonCoversTheTenValues)
{
    const TCurrentFormat base{"A", 7000, 4200, 3, 7, 0, 0, 100, 200, false, false};
    EXPECT_TRUE(SameFormat(base, base));
    const std::vector<std::function<void(TCurrentFormat&)>> changes = {
        [](TCurrentFormat& f) { f.NomFormat = "a"; },       [](TCurrentFormat& f) { f.LargeurEtiquette++; },
        [](TCurrentFormat& f) { f.HauteurEtiquette++; },    [](TCurrentFormat& f) { f.NbColonnes++; },
        [](TCurrentFormat& f) { f.NbLignes++; },            [](TCurrentFormat& f) { f.EcartHorizontal++; },
        [](TCurrentFormat& f) { f.EcartVertical++; },       [](TCurrentFormat& f) { f.MargeGauche++; },
        [](TCurrentFormat& f) { f.MargeHaut++; },           [](TCurrentFormat& f) { f.EtiquetteRonde = true; },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        TCurrentFormat other = base;
        changes[i](other);
        EXPECT_FALSE(SameFormat(base, other)) << "value " << i;
    }
}

// A picture chosen from a file goes into the program's pictures folder.
struct PictureImport : ::testing::Test {
    QTemporaryDir source;
    QTemporaryDir program;
    QString images() const { return program.filePath("images"); }
    QString picture(const QString& name, const char* format)
    {
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QString path = source.filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
};

TEST_F(PictureImport, ConvertsOtherFormatsToABitmapTwinOnce)
{
    const QString jpg = picture("photo.jpg", "JPG");
    EXPECT_EQ(ImportPictureFile(jpg, images()), "photo.bmp");
    const QImage twin(images() + "/photo.bmp");
    EXPECT_EQ(twin.size(), QSize(30, 20));
    // An existing twin is used as it is, not converted again.
    writeBytes(images() + "/photo.bmp", "kept");
    EXPECT_EQ(ImportPictureFile(jpg, images()), "photo.bmp");
    EXPECT_EQ(readBytes(images() + "/photo.bmp"), "kept");
}

TEST_F(PictureImport, CopiesBitmapsUnderTheirOwnName)
{
    const QString bmp = picture("logo.Bmp", "BMP");
    EXPECT_EQ(ImportPictureFile(bmp, images()), "logo.Bmp");
    EXPECT_EQ(readBytes(images() + "/logo.Bmp"), readBytes(bmp));
}

TEST_F(PictureImport, AnUnreadablePictureLeavesNoTwin)
{
    const QString broken = source.filePath("broken.png");
    writeBytes(broken, "not a picture at all");
    EXPECT_THROW(ImportPictureFile(broken, images()), platform::EInOutError);
    EXPECT_FALSE(QFileInfo::exists(images() + "/broken.bmp"));
}

} // namespace
