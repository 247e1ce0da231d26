#include "AddressBook.h"

#include "CardRules.h"
#include "GridSort.h"
#include "TextExchange.h"

#include "design/FieldCodes.h"
#include "platform/Errors.h"
#include "platform/HourGlass.h"
#include "platform/TIniFile.h"
#include "platform/TextFile.h"

#include <QFile>

#include <algorithm>

namespace addressbook {

QStringList DefaultTitles()
{
    QStringList titles;
    for (int col = 0; col < ColumnCount; ++col)
        titles << design::GetRepertFieldCode(col);
    return titles;
}

TAddressBook::TAddressBook(const QStringList& titles)
{
    Grille.SetColCount(ColumnCount);
    Grille.SetRowCount(2);
    Grille.SetRow(0, titles);
    Grille.Marques = {0, 0};
    Grille.Copies = {1, 1};
    Grille.SetRow(1);
}

void TAddressBook::keepOneRecord()
{
    if (Grille.RowCount() < 2)
        Grille.SetRowCount(2);
    Grille.PadLists();
    if (Grille.Row() < 1)
        Grille.SetRow(1);
}

QString TAddressBook::LireRepertoire(const QString& path)
{
    platform::HourGlass busy;
    TRepContents file;
    try {
        file = ParseRepertoire(platform::readFileBytes(path), path);
    } catch (const platform::Exception& e) {
        return e.message();
    }
    QList<platform::TCellRow> rows = std::move(file.Rows);
    if (rows.isEmpty())
        rows << platform::TCellRow(Grille.Rows(0), ColumnCount); // not even the titles: the book keeps its own
    QList<int> marks = std::move(file.Marques);
    QList<int> copies = std::move(file.Copies);
    marks.resize(rows.size());
    copies.resize(rows.size(), 1);
    marks[0] = 0;
    copies[0] = 1;
    if (rows.size() < 2) {
        rows << platform::TCellRow::Blank(ColumnCount);
        marks << 0;
        copies << 1;
    }
    Grille.Assign(ColumnCount, std::move(rows));
    Grille.Marques = std::move(marks);
    Grille.Copies = std::move(copies);
    ColonneTri = file.ColonneTri;
    NomFichier = path;
    Modifie = false;
    m_damagedFile = file.Error.isEmpty() ? QString() : path;
    Grille.SetCol(0);
    Grille.SetRow(std::clamp(DerniereLigne, 1, LastRow()));
    return file.Error;
}

void TAddressBook::EcrireRepertoire(const QString& path)
{
    platform::HourGlass busy;
    const QByteArray bytes = RepertoireBytes(Grille, ColonneTri);
    if (!m_damagedFile.isEmpty() && m_damagedFile == path && QFile::exists(path)) {
        // What could not be read may still be mended by hand: it goes aside before the book,
        // which holds only what was read of it, takes its place.
        platform::writeFileAtomically(path + QStringLiteral(".bak"), platform::readFileBytes(path));
        m_damagedFile.clear();
    }
    platform::writeFileAtomically(path, bytes);
    Modifie = false;
}

void TAddressBook::Ajouter()
{
    Grille.SetRowCount(Grille.RowCount() + 1);
    Grille.PadLists();
    Grille.Marques[LastRow()] = 0;
    Grille.Copies[LastRow()] = 1;
    Grille.SetCol(0);
    Grille.SetRow(LastRow());
    Modifie = true;
}

void TAddressBook::Enlever(int top, int bottom)
{
    platform::HourGlass busy;
    top = std::max(top, 1);
    bottom = std::min(bottom, LastRow());
    if (top > bottom)
        return;
    Grille.PadLists();
    const qsizetype listLength = Grille.Marques.size();
    // The first record stays when every record goes, emptied: the book never passes through a
    // state without one, which the card would have to show.
    const bool all = top == 1 && bottom == LastRow();
    for (int row = bottom; row >= (all ? 2 : top); --row)
        Grille.DeleteRow(row);
    if (all) {
        Grille.SetRow(1, QStringList());
        Grille.Marques[1] = 0;
        Grille.Copies[1] = 1;
    }
    // The lists keep their length, the items past the grid being those of new rows.
    while (Grille.Marques.size() < listLength)
        Grille.Marques << 0;
    while (Grille.Copies.size() < listLength)
        Grille.Copies << 1;
    keepOneRecord();
    Modifie = true;
}

void TAddressBook::Trier(int column)
{
    if (Grille.RowCount() < 3)
        return;
    {
        platform::HourGlass busy;
        TriRapide(Grille, 1, LastRow(), column);
    }
    Grille.SetRow(1);
    Grille.SetCol(0);
}

bool TAddressBook::ModifierCellule(int column, int row, const QString& text)
{
    if (row < 1 || row > LastRow() || column < 0 || column >= ColumnCount)
        return false;
    const QString value = SingleLine(text);
    if (Grille.Cell(column, row) == value)
        return false;
    Grille.SetCell(column, row, value);
    Modifie = true;
    return true;
}

void TAddressBook::Importer(QList<QStringList> records, const QList<int>& links)
{
    platform::HourGlass busy;
    Modifie = true;
    AppendRecords(Grille, std::move(records), links);
    keepOneRecord();
    Grille.SetCol(0);
    Grille.SetRow(LastRow());
}

void TAddressBook::ReadSettings(const platform::TIniFile& ini)
{
    for (int col = 0; col < ColumnCount; ++col)
        ColWidths[static_cast<size_t>(col)] =
            ini.ReadInteger(QStringLiteral("Colonnes"), QStringLiteral("Col%1").arg(col),
                            DefaultColumnWidths[static_cast<size_t>(col)]);
    DerniereLigne = ini.ReadInteger(QStringLiteral("Options"), QStringLiteral("LastRow"), 1);
}

void TAddressBook::WriteSettings(platform::TIniFile& ini)
{
    ini.EraseSection(QStringLiteral("Colonnes"));
    for (int col = 0; col < ColumnCount; ++col)
        ini.WriteInteger(QStringLiteral("Colonnes"), QStringLiteral("Col%1").arg(col),
                         ColWidths[static_cast<size_t>(col)]);
    DerniereLigne = Grille.Row();
    ini.WriteInteger(QStringLiteral("Options"), QStringLiteral("LastRow"), DerniereLigne);
}

} // namespace addressbook
