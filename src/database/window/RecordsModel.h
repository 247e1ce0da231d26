#pragma once

#include <QSortFilterProxyModel>

#include <functional>

namespace database {

class DbTable;

// The grid's view of a table: the records as rows, the field names (row 0 of the table) as the
// column headers, so the title row stays in sight and out of cell editing. An edit goes through
// the table, which takes it only when it changes the cell and marks the table modified.
class TRecordsModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit TRecordsModel(DbTable& table, QObject* parent = nullptr);

    // Called after an edit the table took.
    std::function<void(int col, int row)> CellEdited;

    // View row of a table row and back.
    static int viewRow(int tableRow) { return tableRow - 1; }
    static int tableRow(int viewRow) { return viewRow + 1; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    DbTable& m_table;
};

} // namespace database
