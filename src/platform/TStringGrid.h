#pragma once

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
//
// A row keeps its cells one after another in one text, with where each cell ends beside it: a
// book of 100,000 records then costs two blocks a row instead of one per cell (a third of the
// memory), and a sort exchanges two rows without touching their cells. No character is taken as
// a separator, so a cell holds any text a file can carry.
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
    // Keeps rows 0..first-1 and puts `rows` in place of every row from `first` on, announced as
    // Assign is; for appending records without copying the rows already there.
    void ReplaceRowsFrom(int first, QList<QStringList> rows);
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
    struct TRow {
        QString Text;    // the cells one after another
        QList<int> Ends; // where each cell ends in Text: one item per column
    };
    // A row of empty cells; rows made together share their offsets until one is written.
    TRow blankRow() const { return {QString(), QList<int>(m_colCount, 0)}; }
    TRow packRow(const QStringList& cells) const;
    // Assign's work without the announcement: rows from `first` on replaced by `rows`, at least
    // one row left.
    void replaceRows(int first, QList<QStringList> rows);
    // Brings the current cell inside the table after a reset, announcing the move.
    void keepCurrentInside();

    int m_colCount = 1;
    QList<TRow> m_rows;
    int m_row = 0;
    int m_col = 0;
    int m_updates = 0;
};

inline QStringView TStringGrid::CellView(int col, int row) const
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= m_colCount)
        return {};
    const TRow& r = m_rows[row];
    const int start = col == 0 ? 0 : r.Ends[col - 1];
    return QStringView(r.Text).sliced(start, r.Ends[col] - start);
}

} // namespace platform

using platform::TStringGrid;
