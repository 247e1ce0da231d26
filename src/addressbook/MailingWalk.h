#pragma once

#include "MailingLayout.h"

#include <functional>

namespace platform {
class TStringGrid;
}

// The order in which a mailing fills the cells of its sheets, shared by the print and the
// preview so that both put every label in the same cell with the same counter.
namespace addressbook {

// Gives each cell the next label: the marked records of the grid in grid order, each repeated as
// many times as its copies (at least 1), the chosen count of records at most. The grid is read as
// the walk goes and nothing is kept per record, so a run of any length takes the same memory.
class TLabelWalk {
public:
    TLabelWalk(const platform::TStringGrid& grid, int chosenRecords);

    // The record row of the next cell, 0 when the records have run out (the cell stays empty).
    int Next();
    // Passes over `labels` labels without giving them, a whole record at a time where it can:
    // where a sheet starts is found from the marks and copies alone.
    void Skip(long long labels);
    // Labels given (or passed over) so far: the print index of the last one.
    long long Counter() const { return m_counter; }

private:
    const platform::TStringGrid& m_grid;
    int m_chosen;
    int m_row = 0;     // the current record, 0 before the first
    int m_begun = 0;   // records begun
    int m_placed = 0;  // copies of the current record given
    int m_copies = 0;  // its copies
    long long m_counter = 0;
};

// A cell of a sheet and the label it gets.
struct TWalkCell {
    int Column = 0;   // 1-based
    int Row = 0;      // 1-based
    int Record = 0;   // the record row
    long long Index = 0; // the label counter: 1 for the mailing's first label
};

// Walks the cells of sheet `sheet` (1-based) in rows, each row left to right, and calls `cell`
// for every cell that gets a label; the cells before the first label are skipped on the first
// sheet. The walk must stand where the sheet starts (WalkToSheet). Returns the labels given.
int WalkSheet(const TMailingLayout& layout, int sheet, TLabelWalk& walk,
              const std::function<void(const TWalkCell&)>& cell);
// Brings a fresh walk to the start of sheet `sheet` without drawing anything.
void WalkToSheet(const TMailingLayout& layout, int sheet, TLabelWalk& walk);

} // namespace addressbook
