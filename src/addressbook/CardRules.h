#pragma once

#include <QString>

#include <array>

namespace platform {
class TStringGrid;
}

// The record card's rules: its letter tabs, its moves by initial letter, its edits.
namespace addressbook {

// The tab (0 for A .. 25 for Z) of a name: its first character, a-z upper-cased; -1 when the
// name is empty or does not begin with a letter A-Z.
int LetterOf(const QString& name);

// For each letter, whether some record's name (column 0) begins with it.
std::array<bool, 26> LettersInUse(const platform::TStringGrid& grid);

// The first record whose name begins with letter `letter`; -1 when none does.
int FirstRowOfLetter(const platform::TStringGrid& grid, int letter);

// Next: a later record under the same letter, else the first record of the next letter that has
// one, else the last record. Previous: an earlier record under the same letter (nearest first),
// else the last record of the previous letter that has one (searched from the end), else the
// first record. `letter` is the selected tab.
int NextEntryRow(const platform::TStringGrid& grid, int row, int letter);
int PreviousEntryRow(const platform::TStringGrid& grid, int row, int letter);

// A field holds one line: a line break typed or pasted would shift every later value of the
// address-book file. Line breaks are dropped.
QString SingleLine(QString text);

// The date inserted at the caret: every character after it is kept, and the caret lands just
// after the date, however long the date is.
struct TDateInsertion {
    QString Text;
    int Caret = 0;
};
TDateInsertion InsertDate(const QString& text, int caret, const QString& date);

} // namespace addressbook
