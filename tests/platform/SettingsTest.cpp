#include "platform/Errors.h"
#include "platform/Numbers.h"
#include "platform/Paths.h"
#include "platform/TIniFile.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

TEST(IniFile, KeysAndSectionsIgnoreCaseAndKeepOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.ini");
    testsupport::writeBytes(path, QByteArray("[Options]\r\nLangue=1\r\nR\xC3\xA8gles=0\r\n"
                                             "Bad=abc\r\n\r\n[Fenetre]\r\nLeft = 12 \r\n"));
    {
        TIniFile ini(path);
        EXPECT_EQ(ini.ReadInteger("OPTIONS", "langue", 5), 1);
        EXPECT_FALSE(ini.ReadBool("options", QStringLiteral("Règles"), true));
        EXPECT_EQ(ini.ReadInteger("Options", "Bad", 7), 7);       // not a number: the default
        EXPECT_EQ(ini.ReadInteger("Options", "Missing", 9), 9);
        EXPECT_EQ(ini.ReadInteger("Fenetre", "Left", 0), 12);
        EXPECT_TRUE(ini.SectionExists("fenetre"));
        EXPECT_FALSE(ini.ValueExists("Fenetre", "Top"));
        EXPECT_EQ(ini.ReadSection("Options"), (QStringList{"Langue", QStringLiteral("Règles"), "Bad"}));

        ini.WriteInteger("options", "LANGUE", 2); // replaces in place, keeps the stored spelling
        ini.WriteString("Nouvelle section", QStringLiteral("Méthode de tri"), "nom");
        ini.EraseSection("FENETRE");
        ini.WriteBool("Options", "Flag", true);
        ini.UpdateFile();
    }
    EXPECT_EQ(testsupport::readBytes(path),
              QByteArray("[Options]\r\nLangue=2\r\nR\xC3\xA8gles=0\r\nBad=abc\r\nFlag=1\r\n\r\n"
                         "[Nouvelle section]\r\nM\xC3\xA9thode de tri=nom\r\n\r\n"));
    TIniFile again(path);
    EXPECT_EQ(again.ReadString("nouvelle SECTION", QStringLiteral("méthode de tri"), ""), "nom");
}

TEST(IniFile, LargeFilesKeepEveryRuleOfSmallOnes)
{
    // Tens of thousands of sections and of keys in one section: a reader that searched the
    // names read so far for each new one would take minutes here (past the tests' time limit).
    constexpr int sections = 20000;
    constexpr int keys = 250000;
    QByteArray text;
    for (int s = 0; s < sections; ++s)
        text += "[Section " + QByteArray::number(s) + "]\r\nk=" + QByteArray::number(s) + "\r\n";
    text += "[Big]\r\n";
    for (int k = 0; k < keys; ++k)
        text += "Key" + QByteArray::number(k) + "=" + QByteArray::number(k) + "\r\n";
    // A section met again merges into the first; a key met again is ignored.
    text += "[BIG]\r\nkey7=again\r\nLast=end\r\n[section 5]\r\nmore=1\r\n"
            "[\xC3\x89T\xC3\x89]\r\nA=1\r\n";
    QTemporaryDir dir;
    const QString path = dir.filePath("big.ini");
    testsupport::writeBytes(path, text);

    TIniFile ini(path);
    const QStringList names = ini.ReadSections();
    ASSERT_EQ(names.size(), sections + 2);
    EXPECT_EQ(names[0], "Section 0");
    EXPECT_EQ(names[sections], "Big");
    EXPECT_EQ(names.last(), QStringLiteral("ÉTÉ"));
    const QStringList big = ini.ReadSection("big");
    ASSERT_EQ(big.size(), keys + 1);
    EXPECT_EQ(big[12345], "Key12345");
    EXPECT_EQ(big.last(), "Last");
    EXPECT_EQ(ini.ReadString("BIG", "KEY7", ""), "7");
    EXPECT_EQ(ini.ReadSection("SECTION 5"), (QStringList{"k", "more"}));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("été"), "a", 0), 1); // letter case of any script

    // Erasing and deleting in the middle leaves every other name where it was.
    ini.EraseSection("section 3");
    ini.DeleteKey("Big", "key2");
    EXPECT_FALSE(ini.SectionExists("Section 3"));
    EXPECT_EQ(ini.ReadString("Section 4", "k", ""), "4");
    EXPECT_EQ(ini.ReadSections()[3], "Section 4");
    EXPECT_FALSE(ini.ValueExists("Big", "Key2"));
    EXPECT_EQ(ini.ReadString("Big", "Key3", ""), "3");
    ini.WriteString("big", "key249999", "changed");
    EXPECT_EQ(ini.ReadSection("Big").size(), keys);
    EXPECT_EQ(ini.ReadString("Big", "Key249999", ""), "changed");
}

TEST(IniFile, OldWindows1252FilesStillRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.ini");
    testsupport::writeBytes(path, QByteArray("[Dateurs]\r\nR\xE8gles=1\r\n"));
    TIniFile ini(path);
    EXPECT_TRUE(ini.ReadBool("Dateurs", QStringLiteral("Règles"), false));
}

TEST(Numbers, CommaIsTheDecimalSeparator)
{
    EXPECT_EQ(FormatFixed(2.5, 2), "2,50");
    EXPECT_EQ(FormatFixed(-0.001, 1), "0,0");
    EXPECT_EQ(FormatFixed(1234.0, 0), "1234");
    bool ok;
    EXPECT_DOUBLE_EQ(ParseDecimal(" -3,25 ", &ok), -3.25);
    EXPECT_TRUE(ok);
    ParseDecimal("3.25", &ok);
    EXPECT_FALSE(ok);
    ParseDecimal("1,2,3", &ok);
    EXPECT_FALSE(ok);
    ParseDecimal(",", &ok);
    EXPECT_FALSE(ok);
    EXPECT_THROW(StrToFloat("x"), EConvertError);
    EXPECT_EQ(StrToInt(" 17 "), 17);
    EXPECT_THROW(StrToInt("1,5"), EConvertError);
    EXPECT_EQ(StrToIntDef("", 4), 4);
}

// A value that should have been a number is quoted printable: a file's line as plain ASCII,
// what the user typed as typed but for control codes; a long one is cut.
TEST(ConvertMessage, QuotesTheValuePrintable)
{
    const struct {
        QString text;
        QString file;
        QString message;
    } cases[] = {
        {"12a", "", "'12a' is not a valid integer value"},
        {"\u00E9t\u00E9\u0007", "", "'\u00E9t\u00E9?' is not a valid integer value"},
        {"\u20AC*\u00A3\u0153\u00BD\u2021\u2026\u001B", "a.car", "'?*\?\?\?\?\?\?' is not a valid integer value (a.car)"},
        {QString(50, u'7') + "x", "a.car", "'" + QString(40, u'7') + "...' is not a valid integer value (a.car)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(convertMessage(c.text, c.file), c.message);
}

TEST(Paths, JoinsBackslashPathsAndFindsFilesIgnoringCase)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("Perso");
    testsupport::writeBytes(dir.filePath("Perso/Carte.CAR"), "x");
    EXPECT_EQ(joinPath(dir.path(), "perso\\temp.car"), dir.path() + "/perso/temp.car");
    EXPECT_EQ(joinPath(dir.path() + "/", "a"), dir.path() + "/a");
    EXPECT_EQ(findExisting(joinPath(dir.path(), "perso\\carte.car")), dir.path() + "/Perso/Carte.CAR");
    EXPECT_EQ(findExisting(dir.path() + "/Perso/Carte.CAR"), dir.path() + "/Perso/Carte.CAR");
    EXPECT_TRUE(findExisting(dir.path() + "/perso/autre.car").isEmpty());
    EXPECT_FALSE(fileExistsAnyCase(dir.path() + "/nope/carte.car"));

    setProgramFolder(dir.path());
    EXPECT_EQ(programFolder(), QDir::cleanPath(dir.path()));
    EXPECT_TRUE(settingsFilePath().startsWith(dir.path() + "/"));
    EXPECT_TRUE(settingsFilePath().endsWith(".ini"));
}
