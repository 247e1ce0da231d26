#pragma once

#include "AddressBookFile.h"

#include "platform/TStringGrid.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace platform {
class TIniFile;
}

// The address book: the addresses to print, one record of 16 fields per grid row, kept in one
// file next to the program. Its grid is the merge source the labels read, so the renderer and
// the windows share the one copy of the records.
namespace addressbook {

enum TColonneRepertoire {
    Nom, Prenom, Civil, Adresse1, Adresse2, CP, Ville, Pays,
    Fonction, Societe, Tel, Fax, Notes, Tel2, Portable, Internet
};

// The columns the sort offers, in the order of its list.
inline constexpr std::array<int, 7> SortColumns = {Nom, CP, Ville, Pays, Fonction, Societe, Notes};
inline constexpr std::array<int, ColumnCount> DefaultColumnWidths = {80, 60, 50, 150, 150, 50, 50, 50,
                                                                     50, 80, 70, 70, 212, 50, 50, 50};

// The English field codes, the titles of a book that has no file yet.
QStringList DefaultTitles();

class TAddressBook {
public:
    explicit TAddressBook(const QStringList& titles = DefaultTitles());
    TAddressBook(const TAddressBook&) = delete;
    TAddressBook& operator=(const TAddressBook&) = delete;

    // Row 0 holds the titles; there is always at least one record, blank in an empty book.
    platform::TStringGrid Grille;
    QString NomFichier;
    int ColonneTri = 0;
    int DerniereLigne = 1;
    bool Modifie = false;
    bool TriFait = false;
    std::array<int, ColumnCount> ColWidths = DefaultColumnWidths;

    int NbFiches() const { return Grille.RowCount() - 1; }
    int LastRow() const { return Grille.RowCount() - 1; }

    // Reads a file into the book. A damaged file gives its error, and the book keeps the records
    // read whole before it; the file is then copied to "<file>.bak" before it is first written
    // over. The current row becomes DerniereLigne, within the records.
    QString LireRepertoire(const QString& path);
    // Writes the book all at once; a failure throws EInOutError and leaves the previous file.
    void EcrireRepertoire(const QString& path);

    // A blank record at the end, made current.
    void Ajouter();
    // Removes records top..bottom; the last one left gives way to a blank record.
    void Enlever(int top, int bottom);
    // Sorts the records on a column (nothing for fewer than two); the first record is current.
    void Trier(int column);
    // An edit of a cell: line breaks are dropped; true when the cell changed.
    bool ModifierCellule(int column, int row, const QString& text);
    // Adds imported records (see AppendRecords); the last one becomes current.
    void Importer(QList<QStringList> records, const QList<int>& links);

    // [Colonnes] "Col0".."Col15" and [Options] "LastRow".
    void ReadSettings(const platform::TIniFile& ini);
    // The section of widths is written anew, and the current row as the last one shown.
    void WriteSettings(platform::TIniFile& ini);

private:
    void keepOneRecord();
    QString m_damagedFile; // a file that failed to read, not yet kept aside
};

} // namespace addressbook
