// Scrolling text: the tagged ".SCM" line and the ".CMS" list, their defaults and failures, the
// step pacing and the geometry of each step.
#include "ImagingTestSupport.h"

#include "imaging/ScrollText.h"

#include <QFontMetrics>

using namespace imaging;

TEST(ScrollFiles, ATaggedLineTakesItsValuesAndDefaults)
{
    const struct {
        const char* file;
        int colour, height, background, speed, size;
        const char* font;
        const char* message;
        bool bold, italic, underline, strike;
    } cases[] = {
        {"/sm|Hello/eo|", 255, -13, 128, 1, 0, "SYSTEM", "Hello", false, false, false, false},
        {"/sm|Hello", 255, -13, 128, 1, 0, "SYSTEM", " Invallid message format ! ", false, false, false, false},
        {"/fc|65280/fh|-20/fn|Liberation Sans/fs|/ft|0101/bc|0/sp|3/sm|Hi/eo|", 65280, -20, 0, 3, 0,
         "Liberation Sans", "Hi", false, true, false, true},
        // A style shorter than four characters: the missing ones are off.
        {"/fs|12/ft|1/bc|", 255, -13, 128, 1, 12, "SYSTEM", " Invallid message format ! ", true, false, false, false},
        // The next tag before the tag: the value is empty and changes nothing.
        {"/fn|/fc|", 255, -13, 128, 1, 0, "SYSTEM", " Invallid message format ! ", false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ScrollSettings s;
        ASSERT_TRUE(ImgParseScrollLine(c.file, s));
        EXPECT_EQ(s.fontColor, c.colour);
        EXPECT_EQ(s.fontHeight, c.height);
        EXPECT_EQ(s.background, c.background);
        EXPECT_EQ(s.speed, c.speed);
        EXPECT_EQ(s.fontSize, c.size);
        EXPECT_EQ(s.fontName, QString(c.font));
        EXPECT_EQ(s.message, QString(c.message));
        EXPECT_EQ(std::tuple(s.bold, s.italic, s.underline, s.strikeOut),
                  std::tuple(c.bold, c.italic, c.underline, c.strike));
    }
    ScrollSettings s;
    EXPECT_FALSE(ImgParseScrollLine("/sp|fast/sm|x/eo|", s));
    EXPECT_FALSE(ImgParseScrollLine("/fh|-4000/fn|", s));
}

TEST(ScrollFiles, AListNeedsEightLinesOfNumbersWhereNumbersBelong)
{
    const QByteArray head = "title\r\n255\r\n-13\r\nSYSTEM\r\n10\r\n10\r\n128\r\n2\r\n";
    ScrollSettings s;
    ASSERT_TRUE(ImgParseScrollList(head, s));
    EXPECT_TRUE(s.lines.isEmpty());
    EXPECT_TRUE(s.bold);
    EXPECT_FALSE(s.italic);
    EXPECT_EQ(s.speed, 2);

    ASSERT_TRUE(ImgParseScrollList(head + "one\ntwo\n", s));
    EXPECT_EQ(s.lines, (QStringList{"one", "two"}));

    for (const QByteArray& bad : {QByteArray("title\n255\n-13\nSYSTEM\n10\n1111\n128\n"),
                                  // a font of 10012 points would need a text picture of gigabytes
                                  QByteArray("title\n255\n-13\nSYSTEM\n10012\n1111\n128\n1\nx\n"),
                                  QByteArray("title\n255\n5280\nSYSTEM\n0\n1111\n128\n1\nx\n"),
                                  QByteArray("title\nred\n-13\nSYSTEM\n10\n1111\n128\n1\n"),
                                  QByteArray()}) {
        SCOPED_TRACE(bad.constData());
        EXPECT_FALSE(ImgParseScrollList(bad, s));
    }
}

TEST(ScrollFiles, ListLinesGetTheirBlanks)
{
    const struct {
        const char* line;
        const char* shown;
    } cases[] = {{"Hello", "  Hello "}, {" Hello", " Hello "}, {"Hello ", "  Hello "}, {"  ", "  "}, {" ", " "}};
    for (const auto& c : cases)
        EXPECT_EQ(ImgScrollListText(c.line), QString(c.shown)) << c.line;
}

TEST(ScrollText, StepsComeEverySpeedPlusOneMessages)
{
    for (int speed : {0, 1, 3}) {
        SCOPED_TRACE(speed);
        ScrollText text;
        QList<int> moved;
        for (int message = 1; message <= 12; ++message)
            if (text.tick(speed))
                moved << message;
        QList<int> expected;
        for (int m = speed + 1; m <= 12; m += speed + 1)
            expected << m;
        EXPECT_EQ(moved, expected);
    }
}

TEST(ScrollText, ALineEntersFromTheRightAndWrapsAround)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("banner.scm");
    testsupport::writeBytes(path, "/sp|0/sm|Hi/eo|");
    ScrollText text;
    ASSERT_TRUE(text.startLine(path, QSize(50, 30)));
    EXPECT_TRUE(text.lineMode());
    EXPECT_FALSE(text.stepped());
    const int width = text.textWidth();
    ASSERT_GT(width, 0);
    EXPECT_EQ(text.position(), QPoint(50, (30 - text.lineHeight()) / 2));
    EXPECT_TRUE(text.lineStep());
    EXPECT_EQ(text.position().x(), 49);
    // x end (50 + width) falls below 0 after 51 + width steps; the text starts again at the edge.
    for (int i = 1; i < 51 + width; ++i)
        text.lineStep();
    EXPECT_EQ(text.position().x(), 50);

    ScrollText missing;
    EXPECT_FALSE(missing.startLine(dir.filePath("missing.scm"), QSize(50, 30)));
    EXPECT_FALSE(missing.active());
}

TEST(ScrollText, AListRisesLineByLineAndLinesOfBlanksAreSafe)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("credits.cms");
    testsupport::writeBytes(path, "t\n255\n-13\nSYSTEM\n10\n0000\n128\n0\nfirst\n  \n");
    ScrollText text;
    ASSERT_TRUE(text.startList(path, QSize(80, 40)));
    ASSERT_TRUE(text.listMode());
    EXPECT_EQ(text.position().y(), 40);
    const QFontMetrics metrics(text.settings().font());
    const int plain = metrics.horizontalAdvance(QStringLiteral("  first "));
    EXPECT_EQ(text.textWidth(), plain + plain / 6);
    // Up past its own height and 5 more, then the next line: two blanks, no division by zero.
    const int climb = 40 + text.lineHeight() + 6;
    for (int i = 0; i < climb; ++i)
        text.listStep(QSize(80, 40));
    EXPECT_EQ(text.lineIndex(), 1);
    EXPECT_EQ(text.textWidth(), metrics.horizontalAdvance(QStringLiteral("  ")));

    // Exactly eight lines: nothing to show, the list mode stays off.
    const QString empty = dir.filePath("empty.cms");
    testsupport::writeBytes(empty, "t\n255\n-13\nSYSTEM\n10\n0000\n128\n0\n");
    ScrollText none;
    EXPECT_TRUE(none.startList(empty, QSize(80, 40)));
    EXPECT_FALSE(none.listMode());
}

// A few bytes may name a huge font over a long line: the text is refused, with its reason,
// before its picture is made, and no mode is on.
TEST(ScrollText, TextsTooLargeForTheirPictureAreRefusedBeforeItIsMade)
{
    QTemporaryDir dir;
    const QByteArray listHead = "t\n255\n-1000\nSYSTEM\n0\n0000\n128\n0\n";
    const struct {
        const char* what;
        const char* file;
        QByteArray bytes;
        bool shown;
    } cases[] = {
        {"huge font, short line", "a.scm", "/fh|-1000/fn|/sm|" + QByteArray(40, 'W') + "/eo|", false},
        {"small font, too many characters", "b.scm", "/sm|" + QByteArray(kLongestScrollText + 1, 'x') + "/eo|", false},
        {"small font, the most characters", "c.scm", "/sm|" + QByteArray(kLongestScrollText, 'x') + "/eo|", true},
        {"huge font, a later list line", "d.cms", listHead + "W\n" + QByteArray(40, 'W') + "\n", false},
        {"huge font, short list lines", "e.cms", listHead + "W\nW\n", true},
        {"a list line of too many characters", "f.cms",
         "t\n255\n-13\nSYSTEM\n0\n0000\n128\n0\nok\n" + QByteArray(kLongestScrollText, 'x') + "\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = dir.filePath(QString::fromLatin1(c.file));
        testsupport::writeBytes(path, c.bytes);
        ScrollText text;
        const bool started = path.endsWith(QStringLiteral(".scm")) ? text.startLine(path, QSize(80, 40))
                                                                   : text.startList(path, QSize(80, 40));
        EXPECT_EQ(started, c.shown);
        EXPECT_EQ(text.active(), c.shown);
        EXPECT_EQ(text.refusal().isEmpty(), c.shown) << qPrintable(text.refusal());
        if (c.shown) {
            EXPECT_LE(qint64(text.textPicture().width()) * text.textPicture().height(), kMaxScrollPixels);
            EXPECT_LE(text.textPicture().width(), kMaxPictureSide);
        }
    }
}
