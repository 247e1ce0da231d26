#include "design/FieldCodes.h"

#include "platform/TStringGrid.h"

#include <gtest/gtest.h>

using namespace design;

namespace {

// An address-book grid of 16 columns with one record in row 1.
void fillAddressBook(TStringGrid& g)
{
    g.SetColCount(16);
    g.SetRowCount(3);
    g.SetCell(0, 1, "Dupont");
    g.SetCell(1, 1, "Jean");
    g.SetCell(6, 1, "Paris");
    g.SetCell(9, 1, "ACME");
    g.SetCell(0, 2, "Martin");
}

} // namespace

TEST(FieldCodes, ReplaceFoldsAsciiCaseOnly)
{
    EXPECT_EQ(ReplaceAllText("<surname> & <SURNAME>", "<Surname>", "Dupont"), "Dupont & Dupont");
    EXPECT_EQ(ReplaceAllText("<Surname><Surname>", "<Surname>", "X"), "XX");
    EXPECT_EQ(ReplaceAllText("<SOCIÉTÉ>", "<Société>", "ACME"), "<SOCIÉTÉ>");
    EXPECT_EQ(ReplaceAllText("<société>", "<Société>", "ACME"), "ACME");
    EXPECT_EQ(ReplaceAllText("<SOCIéTé>", "<Société>", "ACME"), "ACME");
    // A value holding the code is inserted once, never expanded again.
    EXPECT_EQ(ReplaceAllText("a<Nom>b<Nom>", "<Nom>", "<nom>!"), "a<nom>!b<nom>!");
    EXPECT_EQ(ReplaceAllText("<Nom", "<Nom>", "x"), "<Nom");
    EXPECT_EQ(ReplaceAllText("<Nom><Nom>", "<Nom>", ""), "");
    EXPECT_EQ(ReplaceAllText("<Code>", "", "x"), "<Code>");
    // A code that starts with a letter is found in either case too.
    EXPECT_EQ(ReplaceAllText("xa-A-a<", "a", "b"), "xb-b-b<");
    EXPECT_EQ(ReplaceAllText("<N<Nom>>", "<NOM>", "1"), "<N1>");
}

TEST(FieldCodes, AddressBookCodesByColumnAndListOrder)
{
    EXPECT_EQ(GetRepertFieldCode(0), "<Surname>");
    EXPECT_EQ(GetRepertFieldCode(2), "<Title>");
    EXPECT_EQ(GetRepertFieldCode(11), "<Fax>");
    EXPECT_EQ(GetRepertFieldCode(12), "<Miscellaneous>");
    EXPECT_EQ(GetRepertFieldCode(14), "<MobilePhone>");
    EXPECT_EQ(GetRepertFieldCode(1, RepertItemsFrench()), "<Prénom>");
    EXPECT_EQ(GetRepertFieldCode(13, RepertItemsFrench()), "<Tél2>");
    EXPECT_EQ(GetRepertFieldCode(16), "");
    EXPECT_EQ(GetRepertFieldCode(-1), "");
    // Every list position is used exactly once.
    QStringList byColumn;
    for (int c = 0; c < 16; ++c)
        byColumn << GetRepertFieldCode(c, RepertItemsFrench());
    byColumn.sort();
    QStringList items = RepertItemsFrench();
    items.sort();
    EXPECT_EQ(byColumn, items);
}

TEST(FieldCodes, MergeWithTheAddressBook)
{
    TStringGrid g;
    fillAddressBook(g);
    MergeSource src{&g, false, RepertItemsEnglish()};
    MergeNumbering n{false, 10, "01/02/2024", "03/04/2025"};
    EXPECT_EQ(MergeFields("<FirstName> <surname>, <TOWN>", src, 1, -1, n), "Jean Dupont, Paris");
    // On screen "<Autonum>" stays as typed; the dates are always replaced.
    EXPECT_EQ(MergeFields("<Autonum> <Date1> <date2>", src, 1, -1, n), "<Autonum> 01/02/2024 03/04/2025");
    EXPECT_EQ(MergeFields("#<Autonum>", src, 2, 3, n), "#12");
    n.ByRow = true;
    EXPECT_EQ(MergeFields("#<Autonum>", src, 2, 3, n), "#2");
    // A record value holding a special code is replaced after the columns.
    g.SetCell(9, 1, "<Date1>");
    EXPECT_EQ(MergeFields("<Company>", src, 1, -1, n), "01/02/2024");
    // So is one holding the code of a column after its own.
    g.SetCell(0, 1, "<Town>");
    EXPECT_EQ(MergeFields("<Surname>", src, 1, -1, n), "Paris");
    // French codes follow the list the window holds.
    MergeSource fr{&g, false, RepertItemsFrench()};
    EXPECT_EQ(MergeFields("<Prénom> <Surname>", fr, 1, -1, n), "Jean <Surname>");
}

TEST(FieldCodes, MergeWithADatabase)
{
    TStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(2);
    g.SetCell(0, 0, "Société");
    g.SetCell(1, 0, "Ville");
    g.SetCell(2, 0, "");
    g.SetRow(1, {"ACME", "Lyon", "blank"});
    MergeSource src{&g, true, {}};
    EXPECT_EQ(ColumnFieldCode(src, 2), "<>");
    EXPECT_EQ(MergeFields("<Société>|<SOCIÉTÉ>|<ville>|<>", src, 1, -1, {}), "ACME|<SOCIÉTÉ>|Lyon|blank");
    // A row beyond the grid merges empty values.
    EXPECT_EQ(MergeFields("[<Ville>]", src, 5, -1, {}), "[]");
}

TEST(FieldCodes, ListsOfCodes)
{
    TStringGrid g;
    fillAddressBook(g);
    const FieldLists book = FieldListItems({&g, false, RepertItemsEnglish()});
    ASSERT_EQ(book.TextCodes.size(), 19);
    EXPECT_EQ(book.TextCodes.first(), "<Title>");
    EXPECT_EQ(book.TextCodes.mid(16), QStringList({"<Autonum>", "<Date1>", "<Date2>"}));
    EXPECT_EQ(book.ImageCodes, RepertItemsEnglish());

    g.SetColCount(2);
    g.SetCell(0, 0, "Réf");
    g.SetCell(1, 0, "Prix");
    const FieldLists db = FieldListItems({&g, true, {}});
    EXPECT_EQ(db.TextCodes, QStringList({"<Réf>", "<Prix>", "<Autonum>", "<Date1>", "<Date2>"}));
    EXPECT_EQ(db.ImageCodes, QStringList({"<Réf>", "<Prix>"}));
}

TEST(FieldCodes, InsertAtCaret)
{
    const CodeInsertion a = InsertFieldCode("Dear ,", 5, "<Surname>");
    EXPECT_EQ(a.Text, "Dear <Surname>,");
    EXPECT_EQ(a.Caret, 14);
    EXPECT_EQ(InsertFieldCode("", 0, "<Fax>").Caret, 5);
    EXPECT_EQ(InsertFieldCode("ab", 99, "<X>").Text, "ab<X>");
    EXPECT_EQ(InsertFieldCode("ab", -3, "<X>").Text, "<X>ab");
}

// A run finds each text's codes once (a plan) and fills them in for every record: that gives what
// searching the text code after code gives, also where a value or a stray '<' could make a code
// the search would then replace, and those texts are left to the search.
TEST(FieldCodes, APlanMergesAsTheSearchDoes)
{
    TStringGrid g;
    fillAddressBook(g);
    g.SetCell(3, 1, "a <b> c"); // a value holding a '<' that names no code
    g.SetCell(4, 1, "<Town>");  // a value holding a later column's code
    g.SetCell(7, 1, "name>");   // a value closing a stray '<' before it
    MergeSource src{&g, false, RepertItemsEnglish()};
    MergeNumbering n{false, 10, "01/02/2024", "03/04/2025"};
    const TFieldMerge merge(src, n);
    struct Case {
        const char* text;
        bool searched; // left to the search
    };
    const Case cases[] = {
        {"no code at all", false},
        {"<FirstName> <surname>, <TOWN>", false},
        {"<Surname><Surname>|<Autonum>|<Date1> <date2>", false},
        {"<Address1> and <Address2>", false}, // values with '<' fall back when merged
        {"<Sur<Country>", true},              // a stray '<' before a code
        {"a < b <Town>", true},
        {"<Unknown> <Town>", true}, // a code of no column
        {"<Town", true},
        {"<Prénom>", true},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const TMergePlan plan = merge.Plan(text);
        EXPECT_EQ(plan.Searched, c.searched) << c.text;
        for (int row = 0; row <= 3; ++row)
            for (int printIndex : {-1, 1, 7})
                EXPECT_EQ(merge.Merge(plan, row, printIndex), merge.Merge(text, row, printIndex))
                    << c.text << " row " << row << " index " << printIndex;
    }
    // Each code of a planned text is a piece of its own, its literal parts kept between.
    const TMergePlan plan = merge.Plan("<FirstName> <surname>!");
    ASSERT_EQ(plan.Pieces.size(), 4u);
    EXPECT_EQ(plan.Pieces[0].Code, 1);
    EXPECT_EQ(plan.Pieces[1].Code, TMergePlan::Literal);
    EXPECT_EQ(plan.Pieces[2].Code, 0);
    EXPECT_EQ(plan.Pieces[3].Code, TMergePlan::Literal);
    EXPECT_EQ(merge.Merge(plan, 1, -1), "Jean Dupont!");

    // Database titles that are no plain names between angle brackets, and dates holding codes,
    // leave every text to the search.
    TStringGrid db;
    db.SetColCount(2);
    db.SetRowCount(2);
    db.SetCell(0, 0, "a>b");
    db.SetCell(1, 0, "Town");
    db.SetRow(1, {"1", "Lyon"});
    const TFieldMerge odd({&db, true, {}}, {});
    EXPECT_TRUE(odd.Plan("<Town>").Searched);
    EXPECT_EQ(odd.Merge(odd.Plan("<a>b> <Town>"), 1, -1), "1 Lyon");
    const TFieldMerge dates(src, {false, 1, "<Date2>", "today"});
    EXPECT_TRUE(dates.Plan("<Date1>").Searched);
    EXPECT_EQ(dates.Merge(dates.Plan("<Date1>"), 1, -1), "today");
}
