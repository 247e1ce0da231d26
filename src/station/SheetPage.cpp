#include "SheetPage.h"

namespace station {

namespace {

bool inPage(int column, int row)
{
    return column >= 1 && column <= MaxPageCells && row >= 1 && row <= MaxPageCells;
}

} // namespace

QString TSheetPage::Cell(int column, int row) const
{
    return inPage(column, row) ? m_planche[column - 1][row - 1] : QString();
}

void TSheetPage::SetCell(int column, int row, const QString& model)
{
    if (!inPage(column, row))
        return;
    QString& cell = m_planche[column - 1][row - 1];
    if (cell == model)
        return;
    m_filled += (model.isEmpty() ? 0 : 1) - (cell.isEmpty() ? 0 : 1);
    cell = model;
    changed();
}

void TSheetPage::Clear()
{
    for (auto& column : m_planche)
        column.fill(QString());
    m_filled = 0;
    changed();
}

void TSheetPage::changeOnce(const std::function<void()>& edit)
{
    ++m_editing;
    try {
        edit();
    } catch (...) {
        --m_editing;
        tell();
        throw;
    }
    --m_editing;
    tell();
}

void TSheetPage::changed()
{
    m_untold = true;
    tell();
}

void TSheetPage::tell()
{
    if (m_editing > 0 || !m_untold)
        return;
    m_untold = false;
    if (Changed)
        Changed();
}

} // namespace station
