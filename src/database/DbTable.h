#pragma once

#include "TableFile.h"

#include "platform/TPrinter.h"
#include "platform/TStringGrid.h"

namespace platform {
class TFont;
}

#include <QDate>
#include <QString>

// The active database: one table of 1 to 40 named fields and at least one record, with what its
// file keeps besides the cells (widths, card layout, attributes, sort column). The cells live in
// `Grille`, the grid model the table window shows and the label merge reads; row 0 holds the field
// names. Every command keeps the invariants: at least one field and one record, and per-row lists
// at least as long as the grid, a row made by a command getting mark 0 and copies 1.
namespace database {

class DbTable {
public:
    DbTable();
    DbTable(const DbTable&) = delete;
    DbTable& operator=(const DbTable&) = delete;

    platform::TStringGrid Grille;
    int ColonneTri = 0;
    QList<int> ColWidths; // by field; ColCount entries
    std::array<int, MaxFields> AttributChamp{};
    TCardLayout Card;      // the card as it stands: saved with the table
    QString NomFichier;    // empty: an unnamed table
    bool Modifie = false;
    bool TriFait = false;

    int ColCount() const { return Grille.ColCount(); }
    int RowCount() const { return Grille.RowCount(); }
    int NbFiches() const { return Grille.RowCount() - 1; }
    QString FieldName(int col) const { return Grille.Cell(col, 0); }

    // --- Files ---
    // A new table of ten fields "<prefix>1".."<prefix>10" and one empty record, unnamed and
    // unmodified; the card back to its default layout.
    void New(const QString& fieldPrefix);
    // Reads the file into a table apart and takes it only when the whole file was read: on an
    // exception (thrown on) the table, its name and its modified flag are as they were.
    void Read(const QString& path);
    // Writes the file named `path` (all or nothing); on success this is the table's name and the
    // table is unmodified. On an exception the flag stays as it was.
    void SaveTo(const QString& path);
    // Everything the file holds, the rows copied out of the grid.
    TTableData Data() const;
    // The file's bytes, read straight from the grid.
    QByteArray FileBytes() const;
    void Adopt(TTableData data, const QString& path);

    // --- Records ---
    void SetListEntry(int row, int mark, int copies);
    // One empty record at the end, made current.
    void AddRecord();
    // A copy of the current record's cells (not its mark and copies) at the end, made current.
    void Duplicate();
    // Removes records first..last (clamped); rows below move up with their marks and copies. The
    // last record is never removed, only emptied.
    void DeleteRecords(int first, int last);
    // Empties every record's cells; the rows, field names and lists stay.
    void EraseAll();
    // Keeps the fields and the layout; one empty record, unnamed, unmodified.
    void CopyStructure();
    // A cell typed in: taken only for a record row and field that exist, and only when it differs;
    // line breaks become blanks (the file cannot hold them). True when the table changed.
    bool SetCell(int col, int row, const QString& text);

    // --- Fields ---
    // False (and nothing done) when the table already has 40 fields. The new field is named
    // "<prefix><its number>", gets the default width and becomes the current column.
    bool AddField(const QString& fieldPrefix);
    // Removes fields first..last: the texts right of them move left; widths, card positions and
    // attributes stay with their column number. The first field is only emptied, never removed.
    void DeleteFields(int first, int last);
    // True when the name changed.
    bool RenameField(int col, const QString& name);
    // The width of a field fitted to its widest record text (measured by the caller): widest + 4,
    // unchanged when every text is empty. The table counts as modified either way.
    void FitWidth(int col, int widestText);

    // --- Text exchange (".TXT" and ".CSV" files, shared with the address book) ---
    // Adds the records read from a file, each field k taking the record's field links[k] (-1: left
    // empty). They go after the last record, except that a table of a single record with every
    // cell empty takes the first one in that record: a record the user filled is never
    // overwritten. The last record becomes current; the table is modified. Returns the count.
    int Import(QList<QStringList> records, const QList<int>& links);
    // Every record (no title row), cells split by `separator`, CR LF after each.
    QByteArray ExportBytes(QChar separator) const;

    // --- Sort ---
    // Sorts the records on a field with the address book's quicksort; rows move with their marks
    // and copies. The caller says whether the table counts as changed.
    void Sort(int column);

private:
    // Takes everything of `d` but its rows, which `assignRows` puts into the grid.
    template <typename AssignRows> void adopt(const TTableData& d, const QString& path, AssignRows assignRows);
    // What the file holds besides the cells.
    TTableData fileHeader() const;
};

// The table printed as a list on a text printer: an empty line, a tab and the title, two empty
// lines, then for each row a tab and each cell of fields firstCol..lastCol followed by a blank,
// and an empty line after it.
QStringList TableListLines(const DbTable& table, int firstRow, int lastRow, int firstCol, int lastCol,
                           const QString& title);
// Prints `lines` as a text printer would, in `font`: line after line from the page's top, a
// leading tab as a fixed indent, a new page when a line no longer fits; what is wider than the
// page is cut at its edge, the sheet in landscape. The job is the printer's whole document: a
// failure part-way drops it and passes the error on. `range` says what the lines are of.
void PrintListLines(const QStringList& lines, const platform::TFont& font, platform::TPrinter& printer,
                    platform::TPrintRange range = platform::prAllPages);

// The window caption after a change of the record count: the caption up to its first "(", then
// the count, its word, ") - " and the date in the short form.
QString CaptionWithCount(const QString& caption, int count, const QString& oneWord, const QString& manyWord,
                         const QDate& today);
// The name the caption shows for a file: its name without folder, up to its first ".".
QString CaptionFileName(const QString& path);

} // namespace database
