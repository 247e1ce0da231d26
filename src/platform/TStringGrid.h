#pragma once

#include "TCellRow.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The cells of a string grid, kept apart from any widget so that the address book, the database
// tables, the mailing and the label merge can work on them without a window. Row 0 holds the
// column titles; records start at row 1. Cells are addressed [col][row] as in the grid they stand
// for. `Marques` (1 = chosen for a mailing) and `Copies` (labels per record, at least 1) are
// indexed by row, item 0 belonging to the title row; they may be longer than the grid.
// Each row is a TCellRow (one text for all its cells), so a sort exchanges two rows without
// touching their cells.
namespace platform {

class TStringGrid : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TStringGrid(QObject* parent = nullptr);

    int ColCount() const { return m_colCount; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    void SetColCount(int count);
    // Growing adds empty rows; shrinking drops the last rows (never below 1: the title row).
    void SetRowCount(int count);
    int FixedRows() const { return 1; }

    QString Cell(int col, int row) const;
    // The cell where it is kept, for loops over many rows (a sort compares millions of cells, a
    // writer reads them all) without a copy; empty outside the grid. Valid until the row changes.
    QStringView CellView(int col, int row) const;
    void SetCell(int col, int row, const QString& text);
    // The cells of a row (empty outside the grid).
    QStringList Rows(int row) const;
    // Sets the row's cells at once (cut or padded to the column count), making the row first
    // when it is past the last one.
    void SetRow(int row, const QStringList& cells);
    // Replaces the whole table at once (one reset for the views, whatever its size). Rows are cut
    // or padded to `colCount` cells; an empty list leaves the title row alone. The current cell
    // stays where it was, moved inside the new table when it falls outside; the lists are not
    // touched.
    void Assign(int colCount, QList<QStringList> rows);
    // The same with rows already packed, as a reader makes them: nothing is copied.
    void Assign(int colCount, QList<TCellRow> rows);
    // Keeps rows 0..first-1 and puts `rows` in place of every row from `first` on, announced as
    // Assign is; for appending records without copying the rows already there.
    void ReplaceRowsFrom(int first, QList<TCellRow> rows);
    // Removes `count` columns from `first` on, the cells right of them moving left; one column
    // always stays, emptied when every column goes. The current cell moves as with Assign.
    void RemoveCols(int first, int count);

    // The current cell; moving it to another row or column emits currentChanged, which the
    // windows treat as a click. Setting the current value again emits nothing.
    int Row() const { return m_row; }
    int Col() const { return m_col; }
    void SetRow(int row);
    void SetCol(int col);

    void InsertRow(int before);
    void DeleteRow(int row);
    // Removes `count` rows from `first` on (never the title row) in one step; the lists are not
    // touched, their caller keeps them in step.
    void RemoveRows(int first, int count);
    // Keeps the title row, removes every record.
    void ClearRecords();

    // Replaces every row at once (titles included), each cut or padded to the column count; the
    // views are told once, not once per cell. The current cell stays where it was when it still
    // exists.
    void Assign(QList<QStringList> rows);
    // A run of changes made with the plain calls below, announced to the views once at the end:
    // sorting a book of 100,000 rows must not signal every exchange.
    void BeginUpdate();
    void EndUpdate();
    // Exchanges two rows with their `Marques` and `Copies` items; between BeginUpdate and
    // EndUpdate only.
    void SwapRows(int a, int b);
    // Pads `Marques` with 0 and `Copies` with 1 until both cover every row.
    void PadLists();

    QList<int> Marques;
    QList<int> Copies;
    // Reads the lists with their defaults where they are shorter than the grid.
    int MarkOf(int row) const { return row >= 0 && row < Marques.size() ? Marques[row] : 0; }
    int CopiesOf(int row) const { return row >= 0 && row < Copies.size() ? std::max(1, Copies[row]) : 1; }

    // QAbstractTableModel: the view shows the same cells, titles included.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Columns are headed by their titles (row 0), rows by their numbers.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void currentChanged(int col, int row);

private:
    // Adds the rows after the last one, each cut or padded to the column count; at least one row
    // is left.
    void appendRows(QList<TCellRow> rows);
    // Brings the current cell inside the table after a reset, announcing the move.
    void keepCurrentInside();

    int m_colCount = 1;
    QList<TCellRow> m_rows;
    int m_row = 0;
    int m_col = 0;
    int m_updates = 0;
};

inline QStringView TStringGrid::CellView(int col, int row) const
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= m_colCount)
        return {};
    return m_rows[row][col];
}

} // namespace platform

using platform::TStringGrid;
