#include "MultiLang/TranslationTable.h"
#include "TestSupport.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <QDirIterator>

namespace {

TEST(TranslationTable, RowsLoadAsFlatWordsWithMissingTextsEmpty)
{
    const TranslationTable t = parseTranslationTable(
        "# comment\r\n"
        "!Languages\t3\r\n"
        "\r\n"
        "%Form%\tTitre\tTitle\tTitel\r\n"
        "AgBtn\r\n"
        "\".Hint\tA gauche\tLeft\r\n"
        "@1\t\\sdegr\xc3\xa9s\t degrees\\s\tx\\\\y\\q\r\n",
        "mem");
    EXPECT_EQ(t.Languages, 3);
    EXPECT_EQ(t.Words, QStringList({"%Form%", "Titre", "Title", "Titel",
                                    "AgBtn", "", "", "",
                                    "\".Hint", "A gauche", "Left", "",
                                    "@1", QString::fromUtf8(" degrés"), " degrees ", "x\\y\\q"}));
}

TEST(TranslationTable, MalformedRowsAreRefusedWithTheirLine)
{
    EXPECT_THROW(parseTranslationTable("!Languages\t2\nKey\ta\tb\tc\n", "t"), platform::EInOutError);
    EXPECT_THROW(parseTranslationTable("\tno key\n", "t"), platform::EInOutError);
    EXPECT_THROW(parseTranslationTable("Key\ta\n!Languages\t2\n", "t"), platform::EInOutError);
    EXPECT_THROW(parseTranslationTable("!Languages\t0\n", "t"), platform::EInOutError);
    EXPECT_THROW(parseTranslationTable("!Languages\t8\n", "t"), platform::EInOutError);
    EXPECT_THROW(parseTranslationTable("!Language\t2\n", "t"), platform::EInOutError);
    try {
        parseTranslationTable("ok\na\nKey\t1\t2\t3\t4\t5\t6\t7\t8\n", "table.txt");
        FAIL() << "eight texts for seven languages were accepted";
    } catch (const platform::EInOutError& e) {
        EXPECT_TRUE(e.message().contains("table.txt")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("line 3")) << e.message().toStdString();
    }
    EXPECT_THROW(readTranslationTable(testsupport::dataPath("MultiLang/none.txt")), platform::EInOutError);
}

// The entries grow with the file, never with what a line claims: a table for more languages than
// the program has is refused before its rows are read.
TEST(TranslationTable, EntriesAreBoundedByTheFileSize)
{
    QString rows;
    for (int r = 0; r < 20000; ++r)
        rows += QStringLiteral("k\n");
    EXPECT_THROW(parseTranslationTable("!Languages\t255\n" + rows, "t"), platform::EInOutError);
    const TranslationTable seven = parseTranslationTable("!Languages\t7\n" + rows, "t");
    EXPECT_EQ(seven.Words.size(), 20000 * 8); // a key and seven texts per row
}

// Every table compiled into the program has French and English for each key that has any text
// (a control's row may be all empty: a button without a caption); the caption and the run-time
// texts always have both.
TEST(TranslationTable, ShippedTablesHaveFrenchAndEnglishEverywhere)
{
    int tables = 0;
    QDirIterator it(QStringLiteral(":/lang"), QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!it.fileInfo().isFile())
            continue;
        ++tables;
        const TranslationTable t = readTranslationTable(path);
        const int length = t.Languages + 1;
        for (qsizetype row = 0; row + length <= t.Words.size(); row += length) {
            const QStringList texts = t.Words.mid(row + 1, t.Languages);
            const bool anyText = std::any_of(texts.begin(), texts.end(), [](const QString& s) { return !s.isEmpty(); });
            const QString& key = t.Words[row];
            if (anyText || key == "%Form%" || key.startsWith('@')) {
                EXPECT_FALSE(texts.value(0).isEmpty()) << path.toStdString() << " " << t.Words[row].toStdString() << " lacks French";
                EXPECT_FALSE(texts.value(1).isEmpty()) << path.toStdString() << " " << t.Words[row].toStdString() << " lacks English";
            }
        }
    }
    if (tables == 0)
        GTEST_SKIP() << "no translation table is compiled in yet";
}

} // namespace
