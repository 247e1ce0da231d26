// The binding's protocol around every library call: the library that cannot be loaded, the
// file that is too short, the guard around a library that throws, the results that count as
// success, the error left behind, the scanner's busy flag, and the small tables of the binding.
#include "ImagingTestSupport.h"

#include "imaging/Binding.h"
#include "platform/TIniFile.h"

#include <QDir>
#include <QTemporaryDir>

using namespace imaging;
using imagingtest::BindingFixture;

namespace {

// A library that counts its calls and answers what the test says.
struct Script {
    int calls = 0;
    int made = 0;
    qint16 result = 1;
    bool raise = false;
    QString missingEntry;
    std::function<void()> during;
};

class ScriptedLibrary : public ImagingLibrary {
public:
    explicit ScriptedLibrary(Script& s) : m_s(s) {}
    bool hasEntry(const QString& entry) const override { return entry != m_s.missingEntry; }
    QString errorText(quint16 code) const override
    {
        return QStringLiteral("scripted error %1").arg(qint16(code));
    }
    qint16 rdbmpfiledib(const QString&, int, bool, QByteArray& dib, const Progress&) override
    {
        return answer(dib);
    }
    qint16 rdjpgfiledib(const QString&, int, bool, QByteArray& dib, const Progress&) override
    {
        return answer(dib);
    }
    qint16 getinfo(const QString&, int, TiffPageInfo&) override
    {
        QByteArray unused;
        return answer(unused);
    }
    qint16 aquiredibimage(int, bool, int, QByteArray& dib, const Progress&) override
    {
        return answer(dib);
    }
    qint16 selectsource() override
    {
        QByteArray unused;
        return answer(unused);
    }

private:
    qint16 answer(QByteArray& dib)
    {
        ++m_s.calls;
        if (m_s.during)
            m_s.during();
        if (m_s.raise)
            throw std::runtime_error("inside the library");
        dib = imageToDib(QImage(2, 2, QImage::Format_RGB32), 24);
        return m_s.result;
    }
    Script& m_s;
};

class Binding : public BindingFixture {
protected:
    void SetUp() override
    {
        BindingFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        setImagingLibraryFactory([this] {
            ++script.made;
            return std::make_unique<ScriptedLibrary>(script);
        });
    }
    QString fileOf(int size)
    {
        const QString path = dir.filePath(QStringLiteral("f%1.bmp").arg(size));
        testsupport::writeBytes(path, QByteArray(size, 'x'));
        return path;
    }
    QTemporaryDir dir;
    Script script;
};

} // namespace

TEST_F(Binding, AFileUnderThirtyBytesNeverReachesTheLibraryAndSaysSo)
{
    binding().ImgLastErrorCode = 77;
    binding().ImgLastErrorText = QStringLiteral("an earlier failure");
    QByteArray dib;
    EXPECT_FALSE(ImgReadBmp(fileOf(29), 24, false, dib));
    EXPECT_EQ(script.calls, 0);
    EXPECT_EQ(binding().ImgLastErrorCode, errFileTooShort);
    EXPECT_EQ(binding().ImgLastErrorText, QStringLiteral("File too short"));

    EXPECT_TRUE(ImgReadBmp(fileOf(30), 24, false, dib));
    EXPECT_EQ(script.calls, 1);
    EXPECT_EQ(binding().ImgProgressText, QStringLiteral("Reading ") + dir.filePath("f30.bmp"));

    // A file that cannot be opened is the platform's file error, not a quiet false.
    EXPECT_THROW(ImgReadBmp(dir.filePath("missing.bmp"), 24, false, dib), platform::EInOutError);
}

TEST_F(Binding, ResultsCountAsSuccessByEntry)
{
    const QString file = fileOf(40);
    QByteArray dib;
    TiffPageInfo page;
    const struct {
        qint16 result;
        bool reader, tiffInfo, scanner;
    } cases[] = {
        {1, true, true, true},
        {0, false, true, true}, // 0 fails a reader, not the page information or the scanner
        {-3, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        script.result = c.result;
        binding().ImgLastErrorCode = 0;
        binding().ImgLastErrorText.clear();
        EXPECT_EQ(ImgReadBmp(file, 24, false, dib), c.reader);
        if (!c.reader) {
            EXPECT_EQ(binding().ImgLastErrorCode, c.result);
            EXPECT_EQ(binding().ImgLastErrorText, QStringLiteral("scripted error %1").arg(c.result));
        }
        binding().ImgLastErrorText.clear();
        EXPECT_EQ(ImgTiffInfo(file, 0, page), c.tiffInfo);
        EXPECT_TRUE(binding().ImgLastErrorText.isEmpty()); // the page information leaves none
        EXPECT_EQ(ImgAcquire(24, false, 0, dib), c.scanner);
        EXPECT_EQ(ImgSelectSource(), c.scanner);
    }
}

TEST_F(Binding, ALibraryThatThrowsIsContainedAndTheUserToldOnce)
{
    script.raise = true;
    QByteArray dib;
    EXPECT_FALSE(ImgReadBmp(fileOf(40), 24, false, dib));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], imagingMessage(msgLibraryException));

    // The scanner is free again after an exception inside it.
    EXPECT_FALSE(ImgAcquire(24, false, 0, dib));
    EXPECT_FALSE(binding().twainBusy);
    script.raise = false;
    EXPECT_TRUE(ImgAcquire(24, false, 0, dib));
}

TEST_F(Binding, TheScannerIsNotEnteredTwice)
{
    QByteArray dib;
    bool inner = true;
    int innerCalls = -1;
    bool first = true;
    script.during = [&] {
        if (!first)
            return;
        first = false;
        innerCalls = script.calls;
        QByteArray again;
        inner = ImgAcquire(24, false, 0, again) || ImgSelectSource();
    };
    EXPECT_TRUE(ImgAcquire(24, false, 0, dib));
    EXPECT_FALSE(inner);
    EXPECT_EQ(script.calls, innerCalls); // the second call never reached the library
    EXPECT_FALSE(binding().twainBusy);
}

TEST_F(Binding, ALibraryThatCannotBeLoadedRaisesItsMessage)
{
    setImagingLibraryFactory([] { return std::unique_ptr<ImagingLibrary>(); });
    QByteArray dib;
    try {
        ImgReadBmp(fileOf(40), 24, false, dib);
        FAIL() << "no exception";
    } catch (const ErrorInvalid& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Can't load CRDE2000.DLL. Make sure its located in "
                                              "the application's searchpath."));
    }
    // An entry the library lacks is a quiet false.
    setImagingLibraryFactory([this] { return std::make_unique<ScriptedLibrary>(script); });
    script.missingEntry = QStringLiteral("rdbmpfiledib");
    EXPECT_FALSE(ImgReadBmp(fileOf(40), 24, false, dib));
    EXPECT_EQ(script.calls, 0);
}

TEST_F(Binding, OnlyAFailedJpegReadReloadsTheLibrary)
{
    const QString file = fileOf(40);
    QByteArray dib;
    script.result = -2;
    EXPECT_FALSE(ImgReadBmp(file, 24, false, dib));
    EXPECT_FALSE(ImgReadBmp(file, 24, false, dib));
    EXPECT_EQ(script.made, 1);
    EXPECT_FALSE(ImgReadJpeg(file, 24, false, dib));
    EXPECT_FALSE(ImgLibraryLoaded());
    EXPECT_EQ(binding().ImgLastErrorCode, -2); // the error was kept before the library went
    EXPECT_FALSE(ImgReadBmp(file, 24, false, dib));
    EXPECT_EQ(script.made, 2);
}

TEST_F(Binding, ProgressGoesToTheContextThatCanStopIt)
{
    setImagingLibraryFactory({});
    struct Stopper : ProgressContext {
        QList<int> seen;
        int answer = 1;
        int Progress(int percent) override
        {
            seen << percent;
            return answer;
        }
    } context;
    EXPECT_EQ(ImgProgressHook(40, nullptr), 1);
    const QString path = dir.filePath("q.bmp");
    ASSERT_TRUE(QImage(imagingtest::fixture("quads.png")).save(path));
    QByteArray dib;
    EXPECT_TRUE(ImgReadBmp(path, 24, false, dib, &context));
    EXPECT_EQ(context.seen, QList<int>({0, 100}));
    context.answer = 0;
    EXPECT_FALSE(ImgReadBmp(path, 24, false, dib, &context));
    EXPECT_EQ(binding().ImgLastErrorCode, errCancelled);
}

TEST_F(Binding, BitmapConversionsRefuseWhatTheyCannotTell)
{
    QByteArray dib;
    EXPECT_THROW(ImgBitmapToDib(Bitmap{}, dib), ErrorInvalid);
    // A depth that is no bitmap depth is a failure, never an empty success.
    EXPECT_FALSE(ImgBitmapToDib(Bitmap{QImage(4, 4, QImage::Format_RGB32), 12}, dib));
    EXPECT_TRUE(dib.isEmpty());
    EXPECT_TRUE(ImgBitmapToDib(Bitmap{QImage(4, 4, QImage::Format_RGB32), 32}, dib));
    EXPECT_EQ(ILTDib(dib).BitCount(), 24);

    Bitmap target;
    EXPECT_FALSE(ImgDibToBitmap(QByteArray(), 24, false, nullptr, target));
    EXPECT_FALSE(ImgDibHandleToBitmap(dib.left(20), target));
    // A run-length block whose runs are damaged gives no picture: false, not an empty read.
    QByteArray rle = imageToDib(QImage(4, 1, QImage::Format_Indexed8), 8).left(40 + 1024);
    rle[16] = BI_RLE8;
    rle += QByteArray("\x00\x09\x01", 3);
    EXPECT_FALSE(ImgDibToBitmap(rle, 8, false, nullptr, target));
    EXPECT_FALSE(target.HasHandle());
    // A depth no picture has (2 bits) fails and leaves the target alone.
    EXPECT_FALSE(ImgDibToBitmap(dib, 2, false, nullptr, target));
    EXPECT_TRUE(ImgDibHandleToBitmap(dib, target));
    EXPECT_EQ(target.bits, 24);
}

TEST_F(Binding, DepthConvertersRaiseOnlyTheirOwnDepth)
{
    setImagingLibraryFactory({});
    QImage mono(9, 3, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(1);
    mono.setPixel(4, 1, 0);
    const QByteArray one = imageToDib(mono, 1);
    const struct {
        QByteArray (*convert)(const QByteArray&);
        int bits;
    } cases[] = {{ImgDib1To4, 4}, {ImgDib1To8, 8}, {ImgDib1To24, 24}};
    for (const auto& c : cases) {
        const QByteArray raised = c.convert(one);
        EXPECT_EQ(ILTDib(raised).BitCount(), c.bits);
        const QImage back = dibToImage(raised);
        EXPECT_EQ(back.pixel(4, 1), qRgb(0, 0, 0));
        EXPECT_EQ(back.pixel(3, 1), qRgb(255, 255, 255));
        EXPECT_FALSE(one.isEmpty()); // the source stays
    }
    EXPECT_TRUE(ImgDib4To8(one).isEmpty()); // not a 4-bit block
}

TEST(BindingTables, TiffCompressionNames)
{
    const struct {
        int code;
        const char* name;
    } cases[] = {{1, "NONE"},       {2, "CCITT3"},      {3, "FAXCCITT3"},   {4, "FAXCCITT4"},
                 {5, "LZW"},        {32763, "PACKBITS"}, {-32763, "PACKBITS"}, {32773, "PACKBITS"},
                 {6, "UNKNOWN"},    {0, "UNKNOWN"}};
    for (const auto& c : cases)
        EXPECT_EQ(ImgTiffCompressionName(c.code), QLatin1String(c.name)) << c.code;
}

TEST(BindingTables, ScreenAndSaveDepths)
{
    const int screen[][2] = {{1, 4}, {4, 4}, {5, 8}, {8, 8}, {15, 8}, {16, 24}, {24, 24}, {32, 24}};
    for (const auto& s : screen)
        EXPECT_EQ(ImgScreenBits(s[0]), s[1]) << s[0];

    const struct {
        const char* ext;
        TSaveResolution r;
        int screenBits, bits;
    } save[] = {
        {"jpg", sJpegGray, 24, 1},  {"jpg", sMonoChrome, 24, 1}, {"JPG", sColor16, 24, 24},
        {"tga", sAutoMatic, 4, 8},  {"tga", sColorTrue, 4, 24},  {"tga", sMonoChrome, 24, 8},
        {"dic", sAutoMatic, 24, 24}, {"dic", sColorTrue, 24, 8},
        {"gif", sColorTrue, 24, 8}, {"gif", sAutoMatic, 24, 8},  {"gif", sColorVga, 24, 0},
        {"gif", sMonoChrome, 24, 1}, {"gif", sColor16, 24, 4},
        {"bmp", sAutoMatic, 8, 8},  {"bmp", sColorTrue, 8, 24},  {"bmp", sColor256, 24, 8},
        {"bmp", sColor16, 24, 4},   {"bmp", sMonoChrome, 24, 1}, {"bmp", sColorVga, 24, 0},
        {"bmp", sJpegGray, 24, 8},
    };
    for (const auto& s : save)
        EXPECT_EQ(ImgSaveBitsFor(QLatin1String(s.ext), s.r, s.screenBits), s.bits)
            << s.ext << " " << s.r;

    EXPECT_EQ(ImgFileStem(QStringLiteral("/a.b/photo.tar.gz")), QStringLiteral("photo"));
    EXPECT_EQ(ImgFileNameOnly(QStringLiteral("c:\\pictures\\logo.bmp")), QStringLiteral("logo.bmp"));
}

TEST_F(Binding, StartWritesTheScannerSettingsInTheUserConfigFolder)
{
    const QString folder = dir.filePath(QStringLiteral("config/Pravolis"));
    ImgSetConfigFolder(folder);
    binding().twainBusy = true;
    ImgStartBinding(QStringLiteral("/opt/Pravolis/Pravolis"));
    ImgSetConfigFolder({});
    EXPECT_FALSE(binding().twainBusy);
    TIniFile ini(QDir(folder).filePath(QStringLiteral("iltwain.ini")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Imaging Twain"), QStringLiteral("App Name"), {}),
              QStringLiteral("pravolis"));
    EXPECT_TRUE(testsupport::readBytes(ini.FileName()).contains("App Name=pravolis"));
}
