#include "MailingWalk.h"

#include "platform/TStringGrid.h"

#include <algorithm>

namespace addressbook {

TLabelWalk::TLabelWalk(const platform::TStringGrid& grid, int chosenRecords)
    : m_grid(grid), m_chosen(chosenRecords)
{
}

int TLabelWalk::Next()
{
    if (m_placed == 0 || m_placed >= m_copies) {
        m_placed = 0;
        bool begun = false;
        if (m_begun < m_chosen) {
            const int rows = m_grid.RowCount();
            while (m_row + 1 < rows) {
                ++m_row;
                if (m_grid.MarkOf(m_row) == 1) {
                    ++m_begun;
                    begun = true;
                    break;
                }
            }
        }
        if (!begun)
            return 0;
        m_copies = m_grid.CopiesOf(m_row);
    }
    ++m_placed;
    ++m_counter;
    return m_row;
}

void TLabelWalk::Skip(long long labels)
{
    while (labels > 0) {
        if (m_placed > 0 && m_placed < m_copies) {
            const long long step = std::min<long long>(labels, m_copies - m_placed);
            m_placed += static_cast<int>(step);
            m_counter += step;
            labels -= step;
            continue;
        }
        if (Next() == 0)
            return;
        --labels;
    }
}

int WalkSheet(const TMailingLayout& layout, int sheet, TLabelWalk& walk,
              const std::function<void(const TWalkCell&)>& cell)
{
    const int columns = layout.NbColonnes();
    const int skipped = sheet == 1 ? layout.Skipped : 0;
    int given = 0;
    for (int r = 1; r <= layout.NbLignes(); ++r)
        for (int c = 1; c <= columns; ++c) {
            if ((r - 1) * columns + c - 1 < skipped)
                continue;
            const int record = walk.Next();
            if (record == 0)
                return given;
            ++given;
            cell(TWalkCell{c, r, record, walk.Counter()});
        }
    return given;
}

void WalkToSheet(const TMailingLayout& layout, int sheet, TLabelWalk& walk)
{
    walk.Skip(layout.LabelsBefore(sheet));
}

} // namespace addressbook
