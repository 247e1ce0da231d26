#include "TStringGrid.h"

#include <algorithm>

namespace platform {

TStringGrid::TStringGrid(QObject* parent) : QAbstractTableModel(parent)
{
    m_rows << TCellRow::Blank(m_colCount);
}

void TStringGrid::keepCurrentInside()
{
    const int row = std::min(m_row, RowCount() - 1);
    const int col = std::min(m_col, m_colCount - 1);
    if (row != m_row || col != m_col) {
        m_row = row;
        m_col = col;
        emit currentChanged(m_col, m_row);
    }
}

void TStringGrid::SetColCount(int count)
{
    count = std::max(1, count);
    if (count == m_colCount)
        return;
    beginResetModel();
    for (TCellRow& r : m_rows)
        r.Resize(count);
    m_colCount = count;
    m_col = std::min(m_col, count - 1);
    endResetModel();
}

void TStringGrid::SetRowCount(int count)
{
    count = std::max(1, count);
    const int old = RowCount();
    if (count == old)
        return;
    if (count > old) {
        beginInsertRows({}, old, count - 1);
        m_rows.insert(old, count - old, TCellRow::Blank(m_colCount));
        endInsertRows();
    } else {
        beginRemoveRows({}, count, old - 1);
        m_rows.resize(count);
        endRemoveRows();
        if (m_row >= count)
            SetRow(count - 1);
    }
}

QString TStringGrid::Cell(int col, int row) const
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= m_colCount)
        return {};
    return m_rows[row].Cell(col);
}

QStringList TStringGrid::Rows(int row) const
{
    if (row < 0 || row >= RowCount())
        return {};
    return m_rows[row].ToList();
}

void TStringGrid::SetCell(int col, int row, const QString& text)
{
    if (row < 0 || col < 0 || col >= m_colCount)
        return;
    if (row >= RowCount())
        SetRowCount(row + 1);
    m_rows[row].Set(col, text);
    const QModelIndex i = index(row, col);
    emit dataChanged(i, i);
}

void TStringGrid::SetRow(int row, const QStringList& cells)
{
    if (row < 0)
        return;
    if (row >= RowCount())
        SetRowCount(row + 1);
    m_rows[row] = TCellRow(cells, m_colCount);
    emit dataChanged(index(row, 0), index(row, m_colCount - 1));
}

void TStringGrid::SetRow(int row)
{
    row = std::clamp(row, 0, RowCount() - 1);
    if (row == m_row)
        return; // staying on the row is no move: the card is not shown again
    m_row = row;
    emit currentChanged(m_col, m_row);
}

void TStringGrid::SetCol(int col)
{
    col = std::clamp(col, 0, m_colCount - 1);
    if (col == m_col)
        return;
    m_col = col;
    emit currentChanged(m_col, m_row);
}

void TStringGrid::InsertRow(int before)
{
    before = std::clamp(before, 1, RowCount());
    beginInsertRows({}, before, before);
    m_rows.insert(before, TCellRow::Blank(m_colCount));
    endInsertRows();
    if (before <= Marques.size())
        Marques.insert(before, 0);
    if (before <= Copies.size())
        Copies.insert(before, 1);
}

void TStringGrid::DeleteRow(int row)
{
    if (row < 1 || row >= RowCount())
        return;
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
    if (row < Marques.size())
        Marques.removeAt(row);
    if (row < Copies.size())
        Copies.removeAt(row);
    if (m_row >= RowCount())
        SetRow(RowCount() - 1);
}

void TStringGrid::Assign(int colCount, QList<QStringList> rows)
{
    beginResetModel();
    m_colCount = std::max(1, colCount);
    m_rows.clear();
    m_rows.reserve(rows.size());
    for (QStringList& cells : rows) {
        m_rows << TCellRow(cells, m_colCount);
        cells = QStringList(); // each row goes once packed: a large table is never held twice
    }
    if (m_rows.isEmpty())
        m_rows << TCellRow::Blank(m_colCount);
    endResetModel();
    keepCurrentInside();
}

void TStringGrid::Assign(int colCount, QList<TCellRow> rows)
{
    beginResetModel();
    m_colCount = std::max(1, colCount);
    m_rows.clear();
    appendRows(std::move(rows));
    endResetModel();
    keepCurrentInside();
}

void TStringGrid::ReplaceRowsFrom(int first, QList<TCellRow> rows)
{
    beginResetModel();
    m_rows.resize(std::clamp<qsizetype>(first, 0, m_rows.size()));
    appendRows(std::move(rows));
    endResetModel();
    keepCurrentInside();
}

void TStringGrid::appendRows(QList<TCellRow> rows)
{
    const qsizetype first = m_rows.size();
    if (first == 0)
        m_rows = std::move(rows); // a whole table taken as it is, without a copy of its list
    else
        m_rows.append(std::move(rows));
    for (qsizetype r = first; r < m_rows.size(); ++r)
        if (m_rows[r].size() != m_colCount)
            m_rows[r].Resize(m_colCount);
    if (m_rows.isEmpty())
        m_rows << TCellRow::Blank(m_colCount);
}

void TStringGrid::RemoveCols(int first, int count)
{
    first = std::clamp(first, 0, m_colCount - 1);
    count = std::clamp(count, 0, m_colCount - first);
    if (count == 0)
        return;
    beginResetModel();
    const int kept = std::max(1, m_colCount - count);
    for (TCellRow& r : m_rows) {
        r.Remove(first, count);
        r.Resize(kept);
    }
    m_colCount = kept;
    endResetModel();
    keepCurrentInside();
}

void TStringGrid::RemoveRows(int first, int count)
{
    first = std::max(1, first);
    count = std::min(count, RowCount() - first);
    if (count <= 0)
        return;
    beginRemoveRows({}, first, first + count - 1);
    m_rows.remove(first, count);
    endRemoveRows();
    if (m_row >= RowCount())
        SetRow(RowCount() - 1);
}

void TStringGrid::ClearRecords()
{
    SetRowCount(1);
    Marques.clear();
    Copies.clear();
}

void TStringGrid::Assign(QList<QStringList> rows)
{
    Assign(m_colCount, std::move(rows));
}

void TStringGrid::BeginUpdate()
{
    if (m_updates++ == 0)
        beginResetModel();
}

void TStringGrid::EndUpdate()
{
    if (m_updates > 0 && --m_updates == 0)
        endResetModel();
}

void TStringGrid::SwapRows(int a, int b)
{
    if (a == b || a < 0 || b < 0 || a >= RowCount() || b >= RowCount())
        return;
    m_rows.swapItemsAt(a, b);
    if (a < Marques.size() && b < Marques.size())
        Marques.swapItemsAt(a, b);
    if (a < Copies.size() && b < Copies.size())
        Copies.swapItemsAt(a, b);
}

void TStringGrid::PadLists()
{
    while (Marques.size() < RowCount())
        Marques << 0;
    while (Copies.size() < RowCount())
        Copies << 1;
}

int TStringGrid::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int TStringGrid::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_colCount;
}

QVariant TStringGrid::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return Cell(index.column(), index.row());
}

bool TStringGrid::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    SetCell(index.column(), index.row(), value.toString());
    return true;
}

Qt::ItemFlags TStringGrid::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant TStringGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return Cell(section, 0);
    return section;
}

} // namespace platform
