// The effects: rotation on pixels at every right angle, the rotated part, failures that keep the
// picture, depth raising and lowering through the right converters, the undo ring and the
// transitions' reveal order.
#include "ImagingTestSupport.h"

#include "imaging/Effects.h"

using namespace imaging;
using imagingtest::BindingFixture;

namespace {

// 3 x 2, every pixel its own colour.
QImage sample()
{
    QImage image(3, 2, QImage::Format_RGB888);
    const QRgb colours[2][3] = {{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
                                {qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(255, 0, 255)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, colours[y][x]);
    return image;
}

QList<QRgb> pixels(const QImage& image)
{
    QList<QRgb> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            out << (image.pixel(x, y) | 0xff000000u);
    return out;
}

class Effects : public BindingFixture {
protected:
    void TearDown() override
    {
        setEffectsLibraryFactory({});
        ImgUndoRing() = UndoRing();
        BindingFixture::TearDown();
    }
};

// Remembers which converters were asked for.
class RecordingLibrary : public ImagingLibrary {
public:
    explicit RecordingLibrary(QStringList& calls) : m_calls(calls) {}
    QByteArray convertDib(const QString& entry, const QByteArray& dib) override
    {
        m_calls << entry;
        return ImagingLibrary::convertDib(entry, dib);
    }

private:
    QStringList& m_calls;
};

} // namespace

TEST_F(Effects, RightAnglesMoveEveryPixelExactlyCounterClockwise)
{
    const QRgb R = qRgb(255, 0, 0), G = qRgb(0, 255, 0), B = qRgb(0, 0, 255);
    const QRgb Y = qRgb(255, 255, 0), C = qRgb(0, 255, 255), M = qRgb(255, 0, 255);
    const struct {
        double angle;
        QSize size;
        QList<QRgb> expected;
    } cases[] = {
        {0, {3, 2}, {R, G, B, Y, C, M}},
        {90, {2, 3}, {B, M, G, C, R, Y}},
        {180, {3, 2}, {M, C, Y, B, G, R}},
        {270, {2, 3}, {Y, R, C, G, M, B}},
        {-90, {2, 3}, {Y, R, C, G, M, B}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.angle);
        Bitmap bitmap{sample(), 24};
        ASSERT_TRUE(ImgRotateBitmap(bitmap, 0, 0, qRgb(255, 255, 255), c.angle, 0, 0));
        EXPECT_EQ(bitmap.image.size(), c.size);
        EXPECT_EQ(pixels(bitmap.image), c.expected);
    }
}

TEST_F(Effects, FreeAnglesFillTheUncoveredCornersWithTheBackground)
{
    QImage square(40, 40, QImage::Format_RGB888);
    square.fill(Qt::black);
    Bitmap bitmap{square, 24};
    ASSERT_TRUE(ImgRotateBitmap(bitmap, 0, 0, qRgb(0, 128, 255), 45, 0, 0));
    EXPECT_GT(bitmap.image.width(), 55);
    const int w = bitmap.image.width() - 1, h = bitmap.image.height() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
        EXPECT_EQ(bitmap.image.pixel(corner) | 0xff000000u, qRgb(0, 128, 255)) << corner.x() << "," << corner.y();
    EXPECT_EQ(bitmap.image.pixel(w / 2, h / 2) | 0xff000000u, qRgb(0, 0, 0));
}

TEST_F(Effects, ThePartRotatedEndsAtXPlusWAndYPlusH)
{
    // The right half (2 x 2 from x 1) turned by 180 degrees.
    QByteArray dib = imageToDib(sample(), 24);
    ASSERT_TRUE(ImgRotateDib(dib, 1, 0, qRgb(255, 255, 255), 180, 2, 2));
    const QImage part = dibToImage(dib);
    EXPECT_EQ(part.size(), QSize(2, 2));
    EXPECT_EQ(pixels(part), (QList<QRgb>{qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(0, 0, 255), qRgb(0, 255, 0)}));
}

TEST_F(Effects, AFailedRotationKeepsThePicture)
{
    const QByteArray original = imageToDib(sample(), 24);
    // A part wholly outside the picture: the library gives nothing.
    QByteArray dib = original;
    EXPECT_FALSE(ImgRotateDib(dib, 10, 10, 0, 90, 2, 2));
    EXPECT_EQ(dib, original);

    // A library that throws: the user is told once, the block stays.
    class Throwing : public EffectsLibrary {
        QByteArray ILRotate(const QByteArray&, double, const QRect&, QRgb) override { throw 1; }
    };
    setEffectsLibraryFactory([] { return std::make_unique<Throwing>(); });
    Bitmap bitmap{sample(), 24};
    EXPECT_FALSE(ImgRotateBitmap(bitmap, 0, 0, 0, 90, 0, 0));
    EXPECT_EQ(bitmap.image.size(), QSize(3, 2));
    EXPECT_EQ(messages, QStringList{imagingMessage(msgLibraryException)});

    // No effects library: told so, nothing thrown, nothing turned.
    messages.clear();
    setEffectsLibraryFactory([] { return std::unique_ptr<EffectsLibrary>(); });
    EXPECT_FALSE(ImgRotateDib(dib, 0, 0, 0, 90, 0, 0));
    EXPECT_EQ(dib, original);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Can't load ISP2000.DLL")));

    Bitmap empty;
    EXPECT_THROW(ImgRotateBitmap(empty, 0, 0, 0, 90, 0, 0), ErrorInvalid);
}

TEST_F(Effects, RaisingAndLoweringUseTheirConverters)
{
    QStringList calls;
    setImagingLibraryFactory([&] { return std::make_unique<RecordingLibrary>(calls); });
    QImage mono(9, 3, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(1);
    const QByteArray one = imageToDib(mono, 1);
    const struct {
        QByteArray dib;
        int bits;
        QString entry; // empty: no conversion
        int resultBits;
    } cases[] = {
        {one, 8, "DIB1To8", 8},  {one, 4, "DIB1to4", 4},  {one, 24, "DIB1To24", 24},
        {one, 2, "", 0},         {one, 16, "", 0},        {one, 1, "", 0},
        {imageToDib(sample(), 8), 16, "DIB8To24", 24},    {imageToDib(sample(), 24), 32, "", 0},
        {imageToDib(sample(), 8), 4, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        calls.clear();
        const QByteArray raised = ImgIncreaseColors(c.dib, c.bits);
        EXPECT_EQ(calls, c.entry.isEmpty() ? QStringList() : QStringList{c.entry});
        EXPECT_EQ(ILTDib(raised).BitCount(), c.resultBits);
    }

    // Lowering: a 32-bit block goes through 24 bits; the source is left as it was.
    QImage wide(4, 4, QImage::Format_RGB32);
    wide.fill(qRgb(10, 200, 30));
    QByteArray source = imageToDib(wide, 24);
    // imageToDib gives 24 bits; make it a 32-bit block as the clipboard may hand one.
    ILTDib block;
    ASSERT_TRUE(block.Allocate(nullptr, 4, 32, 4));
    QByteArray thirtyTwo = block.Dib();
    const QByteArray before = thirtyTwo;
    calls.clear();
    const QByteArray reduced = ImgReduceColors(thirtyTwo, 8, false);
    EXPECT_EQ(calls, QStringList{"DIB32To24"});
    EXPECT_EQ(ILTDib(reduced).BitCount(), 8);
    EXPECT_EQ(thirtyTwo, before);
    EXPECT_EQ(ILTDib(ImgReduceColors(source, 1, true)).BitCount(), 1);
    EXPECT_TRUE(ImgReduceColors(QByteArray(), 8, false).isEmpty());
}

TEST_F(Effects, TheUndoRingKeepsFourShallowCopiesNewestFirst)
{
    EXPECT_FALSE(ImgUndoRing().available);
    QList<QImage> pushed;
    for (int i = 0; i < 5; ++i) {
        QImage image(4, 4, QImage::Format_RGB888);
        image.fill(qRgb(i * 40, 0, 0));
        pushed << image;
        ImgUndoPush(Bitmap{image, 24});
    }
    const UndoRing& ring = ImgUndoRing();
    EXPECT_TRUE(ring.available);
    for (int slot = 0; slot < 4; ++slot) {
        SCOPED_TRACE(slot);
        // The very pixels pushed, not a copy of them.
        EXPECT_EQ(ring.copies[slot].image.constBits(), pushed[4 - slot].constBits());
    }
}

TEST_F(Effects, TransitionsRevealMoreAtEachStepAndAllAtTheLast)
{
    EffectsLibrary fx;
    const QSize size(37, 23);
    for (TFXMethod m : {FXHorizontal, FXVertical, FXDiagonal, FXDiagonalSquares, FXRectangles}) {
        SCOPED_TRACE(int(m));
        const int steps = fx.FxSteps(m, size, 4);
        ASSERT_GT(steps, 1);
        QRegion before;
        for (int step = 1; step <= steps; ++step) {
            const QRegion shown = fx.FxReveal(m, size, 4, step);
            EXPECT_TRUE(shown.subtracted(QRect(QPoint(0, 0), size)).isEmpty());
            EXPECT_TRUE(before.subtracted(shown).isEmpty()) << "step " << step << " hides a part";
            EXPECT_NE(shown, before) << "step " << step << " shows nothing new";
            before = shown;
        }
        EXPECT_EQ(before, QRegion(QRect(QPoint(0, 0), size)));
    }
    EXPECT_EQ(ImgFitRect(QSize(200, 50), QSize(100, 50)), QRect(0, 12, 100, 25));
}
