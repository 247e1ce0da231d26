#include "DbTable.h"

#include "addressbook/GridSort.h"
#include "addressbook/TextExchange.h"
#include "platform/TPrinter.h"
#include "platform/TextFile.h"

#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace database {

namespace {

QString withoutLineBreaks(QString text)
{
    if (text.contains(u'\r') || text.contains(u'\n')) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        text.replace(u'\r', u' ');
        text.replace(u'\n', u' ');
    }
    return text;
}

} // namespace

DbTable::DbTable()
{
    New(QStringLiteral("Field "));
}

template <typename AssignRows> void DbTable::adopt(const TTableData& d, const QString& path, AssignRows assignRows)
{
    ColonneTri = d.ColonneTri;
    ColWidths = d.ColWidths;
    AttributChamp = d.AttributChamp;
    Card = d.Card;
    Grille.Marques = d.Marques;
    Grille.Copies = d.Copies;
    assignRows();
    NomFichier = path;
    Modifie = false;
    Grille.SetCol(0);
    Grille.SetRow(1);
}

void DbTable::New(const QString& fieldPrefix)
{
    TTableData d;
    for (int i = 0; i < 10; ++i)
        d.ColWidths << DefaultColWidth;
    QStringList names;
    for (int i = 0; i < 10; ++i)
        names << fieldPrefix + QString::number(i + 1);
    d.Rows << names << QStringList(QList<QString>(10));
    d.Marques = {0, 0};
    d.Copies = {1, 1};
    d.AttributChamp.fill(1);
    d.Card = TCardLayout::Defaults();
    Adopt(std::move(d), {});
}

void DbTable::Read(const QString& path)
{
    QList<platform::TCellRow> rows;
    TTableData d = ReadTableFile(path, rows);
    adopt(d, path, [&] { Grille.Assign(d.ColCount(), std::move(rows)); });
}

void DbTable::Adopt(TTableData d, const QString& path)
{
    adopt(d, path, [&] { Grille.Assign(d.ColCount(), std::move(d.Rows)); });
}

TTableData DbTable::fileHeader() const
{
    TTableData d;
    d.ColonneTri = ColonneTri;
    d.ColWidths = ColWidths;
    d.AttributChamp = AttributChamp;
    d.Card = Card;
    d.Marques = Grille.Marques;
    d.Copies = Grille.Copies;
    return d;
}

TTableData DbTable::Data() const
{
    TTableData d = fileHeader();
    d.Rows.reserve(RowCount());
    for (int r = 0; r < RowCount(); ++r)
        d.Rows << Grille.Rows(r);
    return d;
}

QByteArray DbTable::FileBytes() const
{
    return TableFileBytes(fileHeader(), Grille);
}

void DbTable::SaveTo(const QString& path)
{
    platform::writeFileAtomically(path, FileBytes());
    NomFichier = path;
    Modifie = false;
}

void DbTable::SetListEntry(int row, int mark, int copies)
{
    // By row number: the lists may be longer than the grid, and a row made now must not inherit
    // the mark or copies of a record removed earlier.
    while (Grille.Marques.size() <= row)
        Grille.Marques << 0;
    while (Grille.Copies.size() <= row)
        Grille.Copies << 1;
    Grille.Marques[row] = mark;
    Grille.Copies[row] = copies;
}

void DbTable::AddRecord()
{
    const int row = RowCount();
    Grille.SetRowCount(row + 1);
    SetListEntry(row, 0, 1);
    Grille.SetCol(0);
    Grille.SetRow(row);
    Modifie = true;
}

void DbTable::Duplicate()
{
    const QStringList cells = Grille.Rows(Grille.Row() >= 1 ? Grille.Row() : 1);
    const int row = RowCount();
    Grille.SetRowCount(row + 1);
    SetListEntry(row, 0, 1);
    Grille.SetRow(row, cells);
    Grille.SetCol(0);
    Grille.SetRow(row);
    Modifie = true;
}

void DbTable::DeleteRecords(int first, int last)
{
    const int rows = RowCount();
    first = std::clamp(first, 1, rows - 1);
    last = std::clamp(last, first, rows - 1);
    const int n = last - first + 1;
    // The lists move up with their rows; the entries freed at the end go back to (0, 1).
    QList<int>& marks = Grille.Marques;
    QList<int>& copies = Grille.Copies;
    SetListEntry(rows - 1, marks.value(rows - 1, 0), copies.value(rows - 1, 1));
    for (int r = first; r + n < rows; ++r) {
        marks[r] = marks[r + n];
        copies[r] = copies[r + n];
    }
    for (int r = rows - n; r < rows; ++r) {
        marks[r] = 0;
        copies[r] = 1;
    }
    if (n >= rows - 1) {
        // Every record goes: one empty record stays.
        Grille.RemoveRows(2, rows - 2);
        Grille.SetRow(1, QStringList());
    } else {
        Grille.RemoveRows(first, n);
    }
    Grille.SetCol(0);
    Modifie = true;
}

void DbTable::EraseAll()
{
    // Rows past the titles come in empty: Assign pads them with empty cells.
    QList<QStringList> rows{Grille.Rows(0)};
    rows.resize(RowCount());
    Grille.Assign(ColCount(), std::move(rows));
    Modifie = true;
}

void DbTable::CopyStructure()
{
    QList<QStringList> rows{Grille.Rows(0), QStringList()};
    Grille.Assign(ColCount(), std::move(rows));
    SetListEntry(1, 0, 1);
    NomFichier.clear();
    Modifie = false;
    Grille.SetCol(0);
    Grille.SetRow(1);
}

bool DbTable::SetCell(int col, int row, const QString& text)
{
    if (row < 1 || row >= RowCount() || col < 0 || col >= ColCount())
        return false;
    const QString value = withoutLineBreaks(text);
    if (Grille.Cell(col, row) == value)
        return false;
    Grille.SetCell(col, row, value);
    Modifie = true;
    return true;
}

bool DbTable::AddField(const QString& fieldPrefix)
{
    const int count = ColCount();
    if (count >= MaxFields)
        return false;
    Grille.SetColCount(count + 1);
    while (ColWidths.size() < count + 1)
        ColWidths << DefaultColWidth;
    Grille.SetCell(count, 0, fieldPrefix + QString::number(count + 1));
    Grille.SetCol(count);
    Modifie = true;
    return true;
}

void DbTable::DeleteFields(int first, int last)
{
    const int cols = ColCount();
    first = std::clamp(first, 0, cols - 1);
    last = std::clamp(last, first, cols - 1);
    const int n = last - first + 1;
    Grille.RemoveCols(first, n);
    ColWidths.resize(Grille.ColCount());
    Modifie = true;
}

bool DbTable::RenameField(int col, const QString& name)
{
    if (col < 0 || col >= ColCount())
        return false;
    const QString value = withoutLineBreaks(name);
    if (Grille.Cell(col, 0) == value)
        return false;
    Grille.SetCell(col, 0, value);
    Modifie = true;
    return true;
}

void DbTable::FitWidth(int col, int widestText)
{
    if (col >= 0 && col < ColWidths.size() && widestText > 0)
        ColWidths[col] = widestText + 4;
    Modifie = true;
}

int DbTable::Import(QList<QStringList> records, const QList<int>& links)
{
    const int count = addressbook::AppendRecords(Grille, std::move(records), links);
    if (count == 0)
        return 0;
    Modifie = true;
    Grille.SetCol(0);
    Grille.SetRow(RowCount() - 1);
    return count;
}

QByteArray DbTable::ExportBytes(QChar separator) const
{
    return addressbook::ExchangeBytes(Grille, 1, RowCount() - 1, separator);
}

void DbTable::Sort(int column)
{
    addressbook::TriRapide(Grille, 1, RowCount() - 1, column);
}

QStringList TableListLines(const DbTable& table, int firstRow, int lastRow, int firstCol, int lastCol,
                           const QString& title)
{
    QStringList lines{QString(), u'\t' + title, QString(), QString()};
    lastRow = std::min(lastRow, table.RowCount() - 1);
    lastCol = std::min(lastCol, table.ColCount() - 1);
    for (int r = std::max(1, firstRow); r <= lastRow; ++r) {
        QString line(u'\t');
        for (int c = std::max(0, firstCol); c <= lastCol; ++c)
            line += table.Grille.Cell(c, r) + u' ';
        lines << line << QString();
    }
    return lines;
}

void PrintListLines(const QStringList& lines, const platform::TFont& font, platform::TPrinter& printer,
                    platform::TPrintRange range)
{
    // A list is printed across the sheet, for that job only: the printer keeps the user's choice.
    printer.BeginDoc({platform::poLandscape, range});
    try {
        platform::TCanvas& canvas = printer.Canvas();
        canvas.Font = font;
        canvas.SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
        canvas.SetBkMode(platform::TRANSPARENT);
        const int lineHeight = canvas.TextHeight(QString());
        const int indent = canvas.TextWidth(QStringLiteral("        "));
        int y = 0;
        for (const QString& line : lines) {
            // A page holds at least one line, however large the font.
            if (y > 0 && y + lineHeight > printer.PageHeight()) {
                printer.NewPage();
                y = 0;
            }
            qsizetype tabs = 0;
            while (tabs < line.size() && line[tabs] == u'\t')
                ++tabs;
            if (tabs < line.size())
                canvas.TextOut(int(tabs) * indent, y, line.mid(tabs));
            y += lineHeight;
        }
        printer.EndDoc();
    } catch (...) {
        printer.Abort();
        throw;
    }
}

QString CaptionWithCount(const QString& caption, int count, const QString& oneWord, const QString& manyWord,
                         const QDate& today)
{
    const qsizetype open = caption.indexOf(u'(');
    const QString head = open >= 0 ? caption.left(open + 1) : QString();
    return head + QString::number(count) + u' ' + (count >= 2 ? manyWord : oneWord) + QStringLiteral(") - ")
           + QLocale().toString(today, QLocale::ShortFormat);
}

QString CaptionFileName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    // Up to the first "." as the caption always took it: a name without one shows as empty.
    return name.left(std::max<qsizetype>(0, name.indexOf(u'.')));
}

} // namespace database
