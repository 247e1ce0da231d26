#pragma once

#include "design/DesignModel.h"
#include "platform/Errors.h"
#include "station/SheetFormat.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {
class TStringGrid;
}

// The computations of a mailing before anything is drawn: the list of records to choose from,
// the marks and the label total, the layout of the labels on the sheets with the sheet count, and
// the message asking for that many sheets. They work on the merge grid (address book or database)
// and plain values, so the dialogs of the mailing only show what these return.
namespace addressbook {

// Simple address labels (blocks of text), or a design drawn for each record.
enum class TMailingMode { Addresses, Design };

// A sheet format that cannot lay out labels: 0 labels across or down.
class EMailingFormat : public platform::Exception {
public:
    using Exception::Exception;
};

// --- Choosing the records ---

// The texts of the record list, in the interface language.
struct TChoiceTexts {
    QString Entry = QStringLiteral("Entry n°");
    QString NoneSelected = QStringLiteral("  (no entry selected)");
    QString OneSelected = QStringLiteral("  (1 entry selected)");
    QString ManySelected = QStringLiteral(" entries selected)"); // after "  (" + count
};

struct TChoiceList {
    QStringList Lines;   // line k is record row k + 1
    QList<bool> Chosen;  // the record's mark is 1
};

// One line per record: "Entry n°" + row + " : " and the record's non-empty fields, each followed
// by one blank unless the line already ends with one. Address book: company, title, first name,
// name, address 1, address 2, postal code, town, country; database: every field in order.
TChoiceList RemplirChoix(const platform::TStringGrid& grid, bool database,
                         const TChoiceTexts& texts = {});
// "  (no entry selected)", "  (1 entry selected)" or "  (n entries selected)".
QString SelectionCount(int count, const TChoiceTexts& texts = {});

// The line whose copies the record list shows for a line clicked or shown first: that line when
// chosen, else the nearest chosen line before it, else the first chosen after it; -1 when none is
// chosen. The copies shown are then always those of a chosen record, the one a change goes to.
int FicheCourante(int line, const QList<bool>& chosen);

// The chosen records and the labels they ask for.
struct TMailingSelection {
    int NbFichesChoisies = 0;
    int TotalEtiquettes = 0;
};

// Marks the records whose line is chosen (1) and unmarks the others (0); the label total is the
// sum of the chosen records' copies, each at least 1 as the walk places it.
TMailingSelection MarquerSelection(platform::TStringGrid& grid, const QList<bool>& chosen);
// The same count read from the marks already in the grid.
TMailingSelection SelectionOfMarks(const platform::TStringGrid& grid);

// --- Layout ---

// The sheet format of simple address labels, from a row of the format families: margins
// resolved ("99999" centres), round when cells 9 and 10 repeat cells 1 and 2 as text.
// EMailingFormat for 0 (or fewer) labels across or down, EConvertError for a cell that is not a
// number; counts above 50 are held to 50.
design::TCurrentFormat MailingFormat(const station::TLigneFormat& row, const station::TPaperNames& names);
// A format taken from the station: EMailingFormat for counts below 1, counts above 50 held to 50.
design::TCurrentFormat MailingFormat(const design::TCurrentFormat& format);

// The first label on the first sheet, 1-based; a position beyond the format's counts is brought
// back to its last row or column.
struct TFirstLabel {
    int Ligne = 1;
    int Colonne = 1;
};
TFirstLabel ClampFirstLabel(TFirstLabel first, const design::TCurrentFormat& format);

struct TMailingLayout {
    design::TCurrentFormat Format;  // lengths in 1/100 mm, counts 1..50
    TMailingSelection Selection;
    int LargeurEtiquettePx = 0;     // label size in the card's pixels
    int HauteurEtiquettePx = 0;
    TFirstLabel First;              // clamped to the counts
    int Skipped = 0;                // empty cells before the first label
    int NbFeuilles = 0;

    int NbColonnes() const { return Format.NbColonnes; }
    int NbLignes() const { return Format.NbLignes; }
    int CellsPerSheet() const { return Format.NbColonnes * Format.NbLignes; }
    // Labels placed on the sheets before `sheet` (1-based).
    long long LabelsBefore(int sheet) const;
};

// Lays the selection out on the format (MailingFormat's checks apply) at `ppi` pixels per inch of
// the card window. The first label is clamped to the format's counts, and `first` takes the
// clamped position: a stale choice from an earlier mailing on a larger sheet would otherwise
// leave whole sheets blank.
TMailingLayout CalculerMiseEnPage(const design::TCurrentFormat& format, const TMailingSelection& selection,
                                  int ppi, TFirstLabel& first);

// --- The insert message ---

struct TInsertTexts {
    QString OneSheet = QStringLiteral("Please insert a sheet of labels in your printer");
    QString Insert = QStringLiteral("Please insert ");
    QString Sheets = QStringLiteral(" sheets of labels in your printer");
    QString OneRollLabel = QStringLiteral("Please insert a roll with a new label in your printer.");
    QString Roll = QStringLiteral("Please insert a roll with ");
    QString RollLabels = QStringLiteral(" new labels in your printer.");
};

// The sheets to insert: series copies times the sheet count. On a roll each "sheet" is a row of
// labels, and the message counts those rows as labels.
QString MajMessagePlanches(station::TTypePapier paper, int seriesCopies, int nbFeuilles,
                           const TInsertTexts& texts = {});

} // namespace addressbook
