// Encapsulated PostScript drawn by a real Ghostscript: what the PostScript may reach while it
// draws, the box its information states against the picture drawn, and what the program does
// meanwhile.
#include "ImagingTestSupport.h"

#include "imaging/Binding.h"
#include "imaging/EpsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace imaging;
using imagingtest::BindingFixture;
using imagingtest::near;

namespace {

// The temporary folder every program of the session shares, stood in for by a folder of the
// test's own: TMPDIR points at it while a test runs, so Ghostscript (and Qt) would take it.
class SharedTempFolder {
public:
    SharedTempFolder()
    {
        if (qEnvironmentVariableIsSet("TMPDIR"))
            m_saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_folder.path()));
    }
    ~SharedTempFolder()
    {
        if (m_saved)
            qputenv("TMPDIR", *m_saved);
        else
            qunsetenv("TMPDIR");
    }
    void empty() const
    {
        QDir folder(m_folder.path());
        for (const QString& name : folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            QFile::remove(folder.filePath(name));
    }
    QString filePath(const QString& name) const { return m_folder.filePath(name); }
    // The names in the folder, one string to compare and show.
    std::string entries() const
    {
        return QDir(m_folder.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)
            .join(QLatin1Char(' '))
            .toStdString();
    }

private:
    QTemporaryDir m_folder;
    std::optional<QByteArray> m_saved;
};

class Eps : public BindingFixture {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(Eps, ThePostScriptReachesNothingInTheSharedTemporaryFolder)
{
    SharedTempFolder shared;
    const QString planted = shared.filePath(QStringLiteral("planted"));
    const QString colour = shared.filePath(QStringLiteral("colour"));
    // Each tries its attack in `stopped`, then paints the box red: a refusal still draws.
    const struct {
        const char* what;
        QString attack;
    } cases[] = {
        {"writes a marker", QStringLiteral("(%1) (w) file dup (x) writestring closefile")
                                .arg(shared.filePath(QStringLiteral("marker")))},
        {"deletes a user's file", QStringLiteral("(%1) deletefile").arg(planted)},
        {"renames a user's file", QStringLiteral("(%1) (%2) renamefile")
                                      .arg(planted, shared.filePath(QStringLiteral("renamed")))},
        {"reads a file and paints with it",
         QStringLiteral("(%1) (r) file 64 string readstring pop cvx exec setrgbcolor "
                        "0 0 20 20 rectfill showpage stop").arg(colour)},
        {"sends the page there", QStringLiteral("<< /OutputFile (%1) >> setpagedevice")
                                     .arg(shared.filePath(QStringLiteral("page.png")))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        shared.empty();
        testsupport::writeBytes(planted, "a user's file\n");
        testsupport::writeBytes(colour, "0 1 0\n");
        testsupport::writeBytes(path("attack.eps"),
                                "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 20 20\n%%EndComments\n{ "
                                    + c.attack.toUtf8()
                                    + " } stopped pop\n1 0 0 setrgbcolor 0 0 20 20 rectfill\n");
        Bitmap bitmap;
        const bool read = ImgReadEpsBitmap(path("attack.eps"), 24, false, nullptr, bitmap);
        EXPECT_EQ(shared.entries(), "colour planted");
        if (QFile::exists(planted)) {
            EXPECT_EQ(testsupport::readBytes(planted), "a user's file\n");
        }
        if (read) {
            const QImage& image = bitmap.image;
            EXPECT_FALSE(near(image.pixel(image.width() / 2, image.height() / 2), qRgb(0, 255, 0), 64))
                << "the picture carries the file's colour";
        }
    }
    // A refused attack still leaves its picture, text and all: Ghostscript finds its fonts
    // without the program's environment.
    testsupport::writeBytes(path("attack.eps"),
                            QStringLiteral("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 40 20\n{ (%1) (r) "
                                           "file closefile } stopped pop\n1 0 0 setrgbcolor 0 0 20 20 rectfill\n"
                                           "0 setgray /Helvetica findfont 20 scalefont setfont 22 3 moveto (H) show\n")
                                .arg(colour).toUtf8());
    Bitmap bitmap;
    ASSERT_TRUE(ImgReadEpsBitmap(path("attack.eps"), 24, false, nullptr, bitmap))
        << qPrintable(binding().ImgLastErrorText);
    const QImage& image = bitmap.image;
    EXPECT_TRUE(near(image.pixel(20, 20), qRgb(255, 0, 0), 8));
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = image.width() / 2; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 64;
    EXPECT_GT(dark, 100);
}

TEST_F(Eps, TheChildsTemporaryFolderGoesWithTheRead)
{
    // The PostScript may write into its own temporary folder, there under a name of its
    // choosing (its own temporary file's name and "keep"); nothing of it outlives the read.
    SharedTempFolder shared;
    testsupport::writeBytes(path("scratch.eps"),
                            "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 20 20\n%%EndComments\n"
                            "null (w+) .tempfile closefile dup length 4 add string\n"
                            "dup 0 3 index putinterval dup 2 index length (keep) putinterval\n"
                            "exch pop (w) file dup (x) writestring closefile\n"
                            "0 0 1 setrgbcolor 0 0 20 20 rectfill\n");
    Bitmap bitmap;
    ASSERT_TRUE(ImgReadEpsBitmap(path("scratch.eps"), 24, false, nullptr, bitmap))
        << qPrintable(binding().ImgLastErrorText);
    EXPECT_EQ(shared.entries(), "");
}

TEST_F(Eps, TheInformationStatesTheBoxThePictureIsDrawnIn)
{
    // The drawing fills its box: red on the left half, blue on the right. The file's own page
    // request (a printer driver's A4) neither grows the picture nor moves the drawing.
    const QByteArray drawing = "<< /PageSize [595 842] >> setpagedevice\n"
                               "1 0 0 setrgbcolor 100 200 50 50 rectfill\n"
                               "0 0 1 setrgbcolor 150 200 50 50 rectfill\nshowpage\n";
    const QByteArray inner = "%%BeginDocument: inner.eps\n%!PS-Adobe-3.0 EPSF-3.0\n"
                             "%%BoundingBox: 0 0 30 30\n%%EndComments\n%%EOF\n%%EndDocument\n";
    const struct {
        const char* what;
        QByteArray file;
        QSize size; // at 150 dots per inch
    } cases[] = {
        {"a PostScript file with a box",
         "%!PS-Adobe-3.0\n%%BoundingBox: 100 200 200 250\n%%EndComments\n" + drawing, {208, 104}},
        {"the box at the end",
         "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: (atend)\n%%EndComments\n" + drawing
             + "%%Trailer\n%%BoundingBox: 100 200 200 250\n%%EOF\n",
         {208, 104}},
        {"the finer box at the end",
         "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 100 200 200 250\n%%HiResBoundingBox: (atend)\n"
         "%%EndComments\n" + drawing + "%%Trailer\n%%HiResBoundingBox: 100.2 200.3 199.7 249.6\n",
         {207, 103}},
        {"an embedded EPS after the header",
         "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 100 200 200 250\n%%EndComments\n" + inner + drawing,
         {208, 104}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::writeBytes(path("boxed.eps"), c.file);
        ImageFileInfo info;
        EXPECT_TRUE(ImgFileInfo(path("boxed.eps"), info)) << qPrintable(binding().ImgLastErrorText);
        EXPECT_EQ(QSize(info.width, info.height), c.size);
        Bitmap bitmap;
        EXPECT_TRUE(ImgReadEpsBitmap(path("boxed.eps"), 24, false, nullptr, bitmap))
            << qPrintable(binding().ImgLastErrorText);
        const QImage& image = bitmap.image;
        EXPECT_EQ(image.size(), c.size);
        if (image.size() != c.size)
            continue;
        const int w = image.width(), h = image.height();
        for (const int y : {2, h / 2, h - 3}) {
            EXPECT_TRUE(near(image.pixel(2, y), qRgb(255, 0, 0), 8)) << y;
            EXPECT_TRUE(near(image.pixel(w / 2 - 3, y), qRgb(255, 0, 0), 8)) << y;
            EXPECT_TRUE(near(image.pixel(w / 2 + 3, y), qRgb(0, 0, 255), 8)) << y;
            EXPECT_TRUE(near(image.pixel(w - 3, y), qRgb(0, 0, 255), 8)) << y;
        }
    }
}

TEST_F(Eps, NothingElseOfTheProgramRunsWhileGhostscriptDraws)
{
    // A posted event (a queued preview redraw, a timer of a print job) waits for the read:
    // it could start another read, or change what the read's caller is in the middle of.
    for (const int limitMs : {30000, 1000}) {
        SCOPED_TRACE(limitMs);
        setEpsTimeLimit(limitMs);
        const bool endless = limitMs < 30000;
        const QString file = endless ? path("loop.eps") : imagingtest::fixture(QStringLiteral("quads.eps"));
        testsupport::writeBytes(path("loop.eps"),
                                "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n{ } loop\n");
        bool ranDuringRead = false, reading = true;
        int timerShots = 0;
        QTimer::singleShot(0, [&] { ranDuringRead = ranDuringRead || reading; });
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { timerShots += reading; });
        timer.start(5);
        Bitmap bitmap;
        const bool read = ImgReadEpsBitmap(file, 24, false, nullptr, bitmap);
        reading = false;
        setEpsTimeLimit(30000);
        EXPECT_EQ(read, !endless) << qPrintable(binding().ImgLastErrorText);
        EXPECT_FALSE(ranDuringRead);
        EXPECT_EQ(timerShots, 0);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        // What waited runs once the read is over.
        bool ranAfter = false;
        QTimer::singleShot(0, [&] { ranAfter = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return ranAfter; }));
    }
}
