#include "CardRules.h"

#include "platform/TStringGrid.h"

#include <algorithm>

namespace addressbook {

int LetterOf(const QString& name)
{
    if (name.isEmpty())
        return -1;
    const char16_t c = name.front().unicode();
    if (c >= u'a' && c <= u'z')
        return c - u'a';
    if (c >= u'A' && c <= u'Z')
        return c - u'A';
    return -1;
}

std::array<bool, 26> LettersInUse(const platform::TStringGrid& grid)
{
    std::array<bool, 26> used{};
    for (int row = 1; row < grid.RowCount(); ++row)
        if (const int l = LetterOf(grid.Cell(0, row)); l >= 0)
            used[static_cast<size_t>(l)] = true;
    return used;
}

int FirstRowOfLetter(const platform::TStringGrid& grid, int letter)
{
    for (int row = 1; row < grid.RowCount(); ++row)
        if (LetterOf(grid.Cell(0, row)) == letter)
            return row;
    return -1;
}

int NextEntryRow(const platform::TStringGrid& grid, int row, int letter)
{
    const int last = grid.RowCount() - 1;
    if (letter >= 0)
        for (int r = row + 1; r <= last; ++r)
            if (LetterOf(grid.Cell(0, r)) == letter)
                return r;
    for (int l = std::max(letter + 1, 0); l < 26; ++l)
        if (const int r = FirstRowOfLetter(grid, l); r > 0)
            return r;
    return last;
}

int PreviousEntryRow(const platform::TStringGrid& grid, int row, int letter)
{
    const int last = grid.RowCount() - 1;
    if (letter >= 0)
        for (int r = std::min(row, last + 1) - 1; r >= 1; --r)
            if (LetterOf(grid.Cell(0, r)) == letter)
                return r;
    for (int l = std::min(letter, 26) - 1; l >= 0; --l)
        for (int r = last; r >= 1; --r)
            if (LetterOf(grid.Cell(0, r)) == l)
                return r;
    return 1;
}

QString SingleLine(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

TDateInsertion InsertDate(const QString& text, int caret, const QString& date)
{
    const int s = std::clamp(caret, 0, static_cast<int>(text.size()));
    return {text.left(s) + date + text.mid(s), s + static_cast<int>(date.size())};
}

} // namespace addressbook
