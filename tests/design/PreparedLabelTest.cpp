#include "RendererTestSupport.h"

#include "TestSupport.h"

#include "barcode/Barcode.h"
#include "design/Pictures.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace design;
using barcode::EAN_13;
using barcode::rotate_000;
using barcode::SC2;

namespace {

QString savePicture(const QTemporaryDir& dir, const QString& name, int width, int height, Qt::GlobalColor colour)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    const QString file = dir.filePath(name);
    EXPECT_TRUE(picture.save(file));
    return file;
}

} // namespace

TEST(PreparedLabel, AMailingReadsEachPictureOnceAndAFileChangedOnDiskAgain)
{
    QTemporaryDir dir;
    const QString shared = savePicture(dir, "shared.png", 40, 20, Qt::red);
    const QString own = savePicture(dir, "own.png", 10, 10, Qt::blue);
    RenderFixture f;
    f.grid.SetRowCount(5);
    for (int row = 1; row <= 4; ++row)
        f.grid.SetCell(6, row, row == 3 ? own : shared);
    // The same field picture twice, once upright and once turned by 90 degrees.
    ASSERT_NE(f.model.AddImage(0, 0, 0, false, "<Town>", true, false, false, 20, 40, false), nullptr);
    TImage* turned = f.model.AddImage(0, 0, 90, false, "<Town>", true, false, false, 20, 40, false);
    ASSERT_NE(turned, nullptr);

    TPictureCache pictures;
    const TFieldMerge merge(f.inputs.Source, f.inputs.Numbering);
    for (int row = 1; row <= 4; ++row) {
        const TPreparedLabel label = PrepareLabel(f.model, merge, row, row, pictures);
        ASSERT_EQ(label.Objects.size(), 2u);
        const QSize size = row == 3 ? QSize(10, 10) : QSize(40, 20);
        EXPECT_EQ(label.Objects[0].Picture.size(), size) << row;
        EXPECT_EQ(label.Objects[1].Picture.size(), size.transposed()) << row;
    }
    EXPECT_EQ(pictures.Reads(), 2);

    // Rewritten with another size and a later time: read again, the turned version too.
    savePicture(dir, "shared.png", 30, 60, Qt::green);
    QFile file(shared);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    file.close();
    const TPreparedLabel again = PrepareLabel(f.model, merge, 1, 5, pictures);
    EXPECT_EQ(again.Objects[0].Picture.size(), QSize(30, 60));
    EXPECT_EQ(again.Objects[1].Picture.size(), QSize(60, 30));
    EXPECT_EQ(pictures.Reads(), 3);

    // A file that cannot be read reaches the caller from the preparation.
    testsupport::writeBytes(own, "not a picture");
    EXPECT_ANY_THROW(PrepareLabel(f.model, merge, 3, 1, pictures));
}

TEST(PreparedLabel, PaintingReadsThePreparedLabelAndWritesNothing)
{
    RenderFixture f;
    TLabel* text = f.model.AddLabel(0, 0, true, {}, platform::clBlack, 10, "Arial", -13, platform::clWhite,
                                    "<Surname>", taLeftJustify, 0, 0, false);
    text->SetBounds(10, 60, 180, 30);
    TBarcodeObject* bar = f.model.AddBarcode(10, 2, 100, "Arial", false, false, "", rotate_000, EAN_13,
                                             "<Code>", 50, SC2, false);
    ASSERT_NE(bar, nullptr);
    f.grid.SetCell(5, 1, "4006381333931");
    int invalidated = 0;
    bar->Barcode().OnInvalidate = [&] { ++invalidated; };
    const int width = bar->Barcode().Width();
    const int height = bar->Barcode().Height();

    TPictureCache pictures;
    const TFieldMerge merge(f.inputs.Source, f.inputs.Numbering);
    const TPreparedLabel label = PrepareLabel(f.model, merge, 1, -1, pictures);
    auto draw = [&](const TPreparedLabel& prepared) {
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        platform::TCanvas canvas(&image);
        canvas.SetLogPixels(96, 96);
        DrawDesign(canvas, f.model, prepared, f.inputs, {0, 0}, 1, 1, false);
        canvas.End();
        return image;
    };
    const QImage first = draw(label);
    EXPECT_GT(testsupport::darkPixels(first, 10, 2, 190, 55), 100); // the merged barcode

    // The barcode was neither changed nor re-measured, and its view was told nothing.
    EXPECT_EQ(invalidated, 0);
    EXPECT_EQ(bar->Barcode().Bar_Caption(), "<Code>");
    EXPECT_EQ(bar->Barcode().Width(), width);
    EXPECT_EQ(bar->Barcode().Height(), height);

    // Painting merges nothing itself: the record changed since, the label shows what was prepared.
    f.grid.SetCell(0, 1, "Somebody else entirely");
    f.grid.SetCell(5, 1, "9780201379624");
    EXPECT_EQ(draw(label), first);
    EXPECT_NE(draw(PrepareLabel(f.model, merge, 1, -1, pictures)), first);

    // A label prepared before the design changed, or from another design, is refused.
    PlaceShape(f.model, 0, 0, stRectangle);
    EXPECT_THROW(draw(label), std::logic_error);
    RenderFixture other;
    EXPECT_THROW(draw(PrepareLabel(other.model, merge, 1, -1, pictures)), std::logic_error);
}

TEST(PreparedLabel, FieldPicturesAreReadAndTurnedByTheImagingLayer)
{
    // Formats Qt's own readers do not know come through the imaging layer's, turned counter-
    // clockwise at each right angle: the quarters red, green / blue, white move round.
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    const struct {
        int angle;
        QRgb topLeft, topRight, bottomLeft, bottomRight;
    } turns[] = {{0, red, green, blue, white},
                 {90, green, white, red, blue},
                 {180, white, blue, green, red},
                 {270, blue, red, white, green}};
    TPictureCache pictures;
    for (const char* fixture : {"imaging/rgb24.pcx", "imaging/quads24.tga"}) {
        const QString path = testsupport::dataPath(fixture);
        for (const auto& t : turns) {
            SCOPED_TRACE(std::string(fixture) + " " + std::to_string(t.angle));
            const QImage p = pictures.Picture(path, t.angle);
            ASSERT_FALSE(p.isNull());
            EXPECT_EQ(p.size(), t.angle % 180 == 0 ? QSize(40, 30) : QSize(30, 40));
            const int w = p.width(), h = p.height();
            EXPECT_EQ(p.pixel(w / 4, h / 4) | 0xff000000u, t.topLeft);
            EXPECT_EQ(p.pixel(3 * w / 4, h / 4) | 0xff000000u, t.topRight);
            EXPECT_EQ(p.pixel(w / 4, 3 * h / 4) | 0xff000000u, t.bottomLeft);
            EXPECT_EQ(p.pixel(3 * w / 4, 3 * h / 4) | 0xff000000u, t.bottomRight);
        }
    }
    // A file no reader takes is an error, not an empty picture.
    QTemporaryDir dir;
    const QString junk = dir.filePath("notes.xyz");
    testsupport::writeBytes(junk, QByteArray(100, 'z'));
    EXPECT_THROW(LoadPicture(junk), platform::EInOutError);
}

// A run prepares label after label into the same storage: each label holds its own record's
// texts and nothing of the one before, whatever codes its texts hold.
TEST(PreparedLabel, APreparationReusedFromLabelToLabelGivesEachItsOwnRecord)
{
    RenderFixture f;
    f.model.AddLabel(0, 0, true, {}, platform::clBlack, 10, "Arial", -13, platform::clWhite,
                     "<FirstName> <Surname> #<Autonum>", taLeftJustify, 20, 180, false);
    f.model.AddMemo(0, 30, bsSingle, {}, platform::clBlack, 8, "Arial", -11, platform::clWhite,
                    {"<Town>", "fixed", "<Date1>"}, taLeftJustify, 40, 180, false);
    f.model.AddBarcode(10, 70, 100, "Arial", false, false, "", rotate_000, EAN_13, "<Code>", 50, SC2, false);
    f.grid.SetCell(6, 2, "Lyon");

    TPictureCache pictures;
    const TFieldMerge merge(f.inputs.Source, f.inputs.Numbering);
    const TLabelPreparation preparation(f.model, merge);
    TPreparedLabel label;
    for (int row : {1, 2, 1, 3}) {
        preparation.Prepare(row, row + 1, pictures, label);
        const TPreparedLabel alone = PrepareLabel(f.model, merge, row, row + 1, pictures);
        ASSERT_EQ(label.Objects.size(), 3u);
        for (std::size_t k = 0; k < label.Objects.size(); ++k) {
            EXPECT_EQ(label.Objects[k].Object, f.model.Objects()[k].get());
            EXPECT_EQ(label.Objects[k].Text, alone.Objects[k].Text) << row;
            EXPECT_EQ(label.Objects[k].Lines, alone.Objects[k].Lines) << row;
        }
    }
    preparation.Prepare(2, 5, pictures, label);
    EXPECT_EQ(label.Objects[0].Text, " Martin #14");
    EXPECT_EQ(label.Objects[1].Lines, QStringList({"Lyon", "fixed", "01/02/2024"}));
    EXPECT_EQ(label.Objects[2].Text, "");
    preparation.Prepare(1, 1, pictures, label);
    EXPECT_EQ(label.Objects[0].Text, "Jean Dupont #10");
    EXPECT_EQ(label.Objects[1].Lines, QStringList({"Paris", "fixed", "01/02/2024"}));
    EXPECT_EQ(label.Objects[2].Text, "4006381333931");
}
