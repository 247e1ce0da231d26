// Scanning through SANE: its "test" backend is a real (virtual) scanner, switched on by a
// dll.conf of the tests' own; with no backend at all, no device is found and the user is told.
#include "ImagingTestSupport.h"

#include "imaging/Binding.h"
#include "imaging/Scanner.h"


#include <cmath>

using namespace imaging;
using imagingtest::BindingFixture;

namespace {

class Scanner : public BindingFixture {
protected:
    void SetUp() override
    {
        BindingFixture::SetUp();
        chosenScanDevice().clear();
    }
    void TearDown() override
    {
        setScanSourceChooser({});
        setScanResolution(150);
        chosenScanDevice().clear();
        BindingFixture::TearDown();
    }
    void backends(const QByteArray& lines) { imagingtest::useSaneBackends(lines); }
};

} // namespace

TEST_F(Scanner, TheSourceListIsSanesDevicesAndTheScanHasTheTestPageSize)
{
    backends("test\n");
    QStringList offered;
    setScanSourceChooser([&](const QList<ScanDevice>& devices) {
        for (const ScanDevice& d : devices)
            offered << d.name;
        return int(devices.size()) - 1;
    });
    ASSERT_TRUE(ImgSelectSource()) << qPrintable(binding().ImgLastErrorText);
    EXPECT_EQ(offered, QStringList({QStringLiteral("test:0"), QStringLiteral("test:1")}));
    EXPECT_EQ(chosenScanDevice(), QStringLiteral("test:1"));

    // The test device's page is 80 x 100 mm, all black, in 8-bit grey.
    for (int dpi : {150, 75}) {
        SCOPED_TRACE(dpi);
        setScanResolution(dpi);
        Bitmap bitmap;
        ASSERT_TRUE(ImgAcquireBitmap(0, false, 0, nullptr, bitmap)) << qPrintable(binding().ImgLastErrorText);
        EXPECT_EQ(binding().ImgProgressText, QStringLiteral("Aquiring Image "));
        EXPECT_EQ(bitmap.image.width(), int(std::floor(80 / 25.4 * dpi)));
        EXPECT_EQ(bitmap.image.height(), int(std::floor(100 / 25.4 * dpi)));
        EXPECT_EQ(bitmap.bits, 8);
        EXPECT_EQ(bitmap.image.pixel(10, 10), qRgb(0, 0, 0));
    }
    // A scan asked at 24 bits comes as 24 bits.
    Bitmap color;
    ASSERT_TRUE(ImgAcquireBitmap(24, false, 0, nullptr, color));
    EXPECT_EQ(color.bits, 24);
    EXPECT_FALSE(binding().twainBusy);

    // Cancelling the choice keeps the source chosen before.
    setScanSourceChooser([](const QList<ScanDevice>&) { return -1; });
    EXPECT_FALSE(ImgSelectSource());
    EXPECT_EQ(chosenScanDevice(), QStringLiteral("test:1"));
}

TEST_F(Scanner, NoDeviceGivesAClearMessage)
{
    backends("");
    EXPECT_FALSE(ImgSelectSource());
    EXPECT_EQ(binding().ImgLastErrorCode, errNoScanner);
    EXPECT_TRUE(binding().ImgLastErrorText.startsWith(QStringLiteral("No scanner found")));
    QByteArray dib;
    EXPECT_FALSE(ImgAcquire(24, false, 0, dib));
    EXPECT_EQ(binding().ImgLastErrorCode, errNoScanner);
    EXPECT_TRUE(dib.isEmpty());
    EXPECT_FALSE(binding().twainBusy);
}
