#include "RecordsModel.h"

#include "database/DbTable.h"

namespace database {

TRecordsModel::TRecordsModel(DbTable& table, QObject* parent) : QSortFilterProxyModel(parent), m_table(table)
{
    setSourceModel(&table.Grille);
    setDynamicSortFilter(false);
    // A renamed field shows in its header.
    connect(&table.Grille, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
                if (from.row() == 0)
                    emit headerDataChanged(Qt::Horizontal, from.column(), to.column());
            });
}

bool TRecordsModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    return sourceRow > 0;
}

QVariant TRecordsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QSortFilterProxyModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return m_table.FieldName(section);
    return section + 1;
}

bool TRecordsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const int col = index.column();
    const int row = tableRow(index.row());
    if (m_table.SetCell(col, row, value.toString()) && CellEdited)
        CellEdited(col, row);
    return true;
}

} // namespace database
