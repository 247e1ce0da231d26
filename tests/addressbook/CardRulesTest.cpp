#include "addressbook/AddressBook.h"
#include "addressbook/CardRules.h"

#include <gtest/gtest.h>

using namespace addressbook;

namespace {

void fill(TAddressBook& book, const QStringList& names)
{
    for (int i = 0; i < names.size(); ++i) {
        if (i > 0)
            book.Ajouter();
        book.Grille.SetCell(Nom, i + 1, names[i]);
    }
}

} // namespace

TEST(CardRules, MovesByInitialLetter)
{
    struct Case {
        const char* what;
        QStringList names;
        bool next;
        int from;
        int to;
    };
    const Case cases[] = {
        {"next within A..Z", {"Adam", "Bernard", "Bodin", "Zola"}, true, 1, 2},
        {"next within the letter", {"Adam", "Bernard", "Bodin", "Zola"}, true, 2, 3},
        {"next to the next letter", {"Adam", "Bernard", "Bodin", "Zola"}, true, 3, 4},
        {"next stays on the last", {"Adam", "Bernard", "Bodin", "Zola"}, true, 4, 4},
        {"previous", {"Adam", "Bernard", "Bodin", "Zola"}, false, 4, 3},
        {"previous to the first", {"Adam", "Bernard"}, false, 1, 1},
        {"unsorted: no later letter goes last", {"Bodin", "Adam"}, true, 1, 2},
        {"previous finds A on the last row", {"Bodin", "Carl", "Adam"}, false, 1, 3},
        {"a name without a letter", {"Adam", "1st", "Bob"}, true, 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TAddressBook book;
        fill(book, c.names);
        const int letter = LetterOf(book.Grille.Cell(Nom, c.from));
        EXPECT_EQ(c.next ? NextEntryRow(book.Grille, c.from, letter) : PreviousEntryRow(book.Grille, c.from, letter),
                  c.to);
    }
}

TEST(CardRules, LettersInUseAndFirstRow)
{
    TAddressBook book;
    fill(book, {"quentin", "Adam", "", "9 lives", "éric"});
    const std::array<bool, 26> used = LettersInUse(book.Grille);
    QString shown;
    for (int l = 0; l < 26; ++l)
        if (used[static_cast<size_t>(l)])
            shown += QChar(u'A' + l);
    EXPECT_EQ(shown, "AQ");
    EXPECT_EQ(FirstRowOfLetter(book.Grille, LetterOf("Quiz")), 1);
    EXPECT_EQ(FirstRowOfLetter(book.Grille, LetterOf("K")), -1);
}

TEST(CardRules, DateInsertionKeepsTheTail)
{
    const QString tail(300, u'x');
    const std::tuple<QString, int, QString, QString, int> cases[] = {
        {"abcdef", 3, "08/12/2026", "abc08/12/2026def", 13},
        {"abcdef", 3, "8/12/26", "abc8/12/26def", 10},
        {tail, 0, "08/12/2026", "08/12/2026" + tail, 10},
        {"ab", 99, "d", "abd", 3},
    };
    for (const auto& [text, caret, date, result, newCaret] : cases) {
        const TDateInsertion d = InsertDate(text, caret, date);
        EXPECT_EQ(d.Text, result);
        EXPECT_EQ(d.Caret, newCaret);
    }
    EXPECT_EQ(SingleLine("a\r\nb\nc\rd"), "abcd");
}
