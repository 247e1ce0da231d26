#include "platform/Errors.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

TEST(TextCodec, TakesUtf8WhenValidElseWindows1252)
{
    EXPECT_EQ(decodeText(QByteArray("Soci\xC3\xA9t\xC3\xA9")), QStringLiteral("Société"));
    // The same word written by an older version, in Windows-1252.
    EXPECT_EQ(decodeText(QByteArray("Soci\xE9t\xE9")), QStringLiteral("Société"));
    // 0x80-0x9F are the Windows-1252 letters, not C1 controls: euro, oe ligature, dagger.
    EXPECT_EQ(decodeText(QByteArray("\x80\x9C\x86")), QString::fromUtf8("€œ†"));
    EXPECT_EQ(decodeText(QByteArray("\xEF\xBB\xBFok")), QStringLiteral("ok"));
    // Only the file's own mark goes: a second one is the text's first character.
    EXPECT_EQ(decodeText(QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFok")), QString(QChar(0xFEFF)) + "ok");
    // Truncated or overlong sequences are not UTF-8.
    EXPECT_FALSE(isValidUtf8(QByteArray("ab\xC3")));
    EXPECT_FALSE(isValidUtf8(QByteArray("\xC0\xAF")));
    EXPECT_FALSE(isValidUtf8(QByteArray("\xED\xA0\x80"))); // a surrogate
    EXPECT_TRUE(isValidUtf8(QByteArray("\xF0\x9F\x98\x80")));
}

TEST(TextCodec, Windows1252RoundTripsItsOwnCodes)
{
    for (int code = 0; code < 256; ++code) {
        const QChar c = cp1252Char(static_cast<unsigned char>(code));
        EXPECT_EQ(cp1252Code(c), code) << code;
    }
    EXPECT_EQ(toCp1252(QString::fromUtf8("€\u2020é")), QByteArray("\x80\x86\xE9"));
    EXPECT_EQ(toCp1252(QString::fromUtf8("\u4E2D")), QByteArray("?"));
}

TEST(TextFile, SplitsEveryLineEnd)
{
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (QStringList{"a", "", "b"}));
    EXPECT_TRUE(splitLines("").isEmpty());
}

TEST(TextFile, ReadsIntegersAsTheOldReaderDid)
{
    auto r = TextFileReader::fromText("  42\n-7\n+3  \n5 copies\t9\n12abc\n", "design.car");
    EXPECT_EQ(r.readInteger(), 42);
    EXPECT_EQ(r.readInteger(), -7);
    EXPECT_EQ(r.readInteger(), 3);
    EXPECT_EQ(r.readInteger(), 5) << "the number ends at a blank; the rest of its line is skipped";
    try {
        r.readInteger();
        FAIL() << "a line that is not an integer must not read";
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.message().contains("12abc"));
        EXPECT_TRUE(e.message().contains("design.car"));
        EXPECT_TRUE(e.message().contains("line 5"));
    }
    EXPECT_TRUE(r.eof());
    EXPECT_THROW(r.readLine(), EInOutError);

    bool ok;
    parseIntegerLine("", &ok);
    EXPECT_FALSE(ok);
    parseIntegerLine("99999999999", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(parseIntegerLine("-2147483648", &ok), -2147483647 - 1);
    EXPECT_TRUE(ok);
}

TEST(TextFile, WritesUtf8WithCrLfAllOrNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    TextFileWriter w(path);
    w.writeLine(QStringLiteral("Étiquette"));
    w.writeInteger(-12);
    w.writeBool(true);
    w.writeLine(QString());
    w.writeLine(QStringLiteral("a\r\nb\rc\nd"));
    w.commit();
    // A line break inside a value would shift every later line: it becomes a blank.
    EXPECT_EQ(testsupport::readBytes(path),
              QByteArray("\xC3\x89tiquette\r\n-12\r\n1\r\n\r\na b c d\r\n"));

    TextFileReader r(path);
    EXPECT_EQ(r.readLine(), QStringLiteral("Étiquette"));
    EXPECT_EQ(r.readInteger(), -12);
    EXPECT_TRUE(r.readBool());
    EXPECT_EQ(r.readLine(), QString());
    EXPECT_EQ(r.readLine(), QStringLiteral("a b c d"));
    EXPECT_TRUE(r.eof());

    // A first value beginning with the byte-order mark character reads back with it.
    const QString marked = QString(QChar(0xFEFF)) + QStringLiteral("x");
    TextFileWriter m(path);
    m.writeLine(marked);
    m.commit();
    EXPECT_EQ(TextFileReader(path).readLine(), marked);

    // A write into a folder that does not exist fails loudly and leaves nothing behind.
    TextFileWriter bad(dir.filePath("missing/out.txt"));
    bad.writeLine("x");
    EXPECT_THROW(bad.commit(), EInOutError);
    EXPECT_THROW(TextFileReader(dir.filePath("nothing.txt")), EInOutError);
}
