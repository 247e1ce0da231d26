#include "MailingLayout.h"

#include "platform/Rounding.h"
#include "platform/TStringGrid.h"
#include "station/Station.h"

#include <algorithm>

namespace addressbook {

namespace {

// Company, title, first name, name, address 1, address 2, postal code, town, country.
constexpr int AddressColumns[] = {9, 2, 1, 0, 3, 4, 5, 6, 7};

void appendField(QString& line, QStringView field)
{
    if (field.isEmpty())
        return;
    line += field;
    if (!line.endsWith(u' '))
        line += u' ';
}

int checkedCount(int count, const char* what)
{
    if (count < 1)
        throw EMailingFormat(QStringLiteral("This sheet format has no label %1: choose or correct another format.")
                                 .arg(QLatin1String(what)));
    return station::ClampLabelCount(count);
}

} // namespace

TChoiceList RemplirChoix(const platform::TStringGrid& grid, bool database, const TChoiceTexts& texts)
{
    TChoiceList list;
    for (int r = 1; r < grid.RowCount(); ++r) {
        QString line = texts.Entry + QString::number(r) + QStringLiteral(" : ");
        if (database) {
            for (int c = 0; c < grid.ColCount(); ++c)
                appendField(line, grid.CellView(c, r));
        } else {
            for (int c : AddressColumns)
                appendField(line, grid.CellView(c, r));
        }
        list.Lines.append(line);
        list.Chosen.append(grid.MarkOf(r) == 1);
    }
    return list;
}

QString SelectionCount(int count, const TChoiceTexts& texts)
{
    if (count <= 0)
        return texts.NoneSelected;
    if (count == 1)
        return texts.OneSelected;
    return QStringLiteral("  (") + QString::number(count) + texts.ManySelected;
}

int FicheCourante(int line, const QList<bool>& chosen)
{
    const int n = static_cast<int>(chosen.size());
    for (int k = std::min(line, n - 1); k >= 0; --k)
        if (chosen[k])
            return k;
    for (int k = std::max(line + 1, 0); k < n; ++k)
        if (chosen[k])
            return k;
    return -1;
}

TMailingSelection MarquerSelection(platform::TStringGrid& grid, const QList<bool>& chosen)
{
    TMailingSelection s;
    const int rows = grid.RowCount();
    if (grid.Marques.size() < rows)
        grid.Marques.resize(rows);
    for (int r = 1; r < rows; ++r) {
        const bool on = r - 1 < chosen.size() && chosen[r - 1];
        grid.Marques[r] = on ? 1 : 0;
        if (on) {
            ++s.NbFichesChoisies;
            s.TotalEtiquettes += grid.CopiesOf(r);
        }
    }
    return s;
}

TMailingSelection SelectionOfMarks(const platform::TStringGrid& grid)
{
    TMailingSelection s;
    for (int r = 1; r < grid.RowCount(); ++r)
        if (grid.MarkOf(r) == 1) {
            ++s.NbFichesChoisies;
            s.TotalEtiquettes += grid.CopiesOf(r);
        }
    return s;
}

design::TCurrentFormat MailingFormat(const station::TLigneFormat& row, const station::TPaperNames& names)
{
    checkedCount(row.Integer(station::cfColumns), "across");
    checkedCount(row.Integer(station::cfRows), "down");
    design::TCurrentFormat f;
    int widthPx = 0;
    int heightPx = 0;
    station::AdoptFormat(row, names, f, widthPx, heightPx);
    f.EtiquetteRonde = row.IsRoundAsText();
    return f;
}

design::TCurrentFormat MailingFormat(const design::TCurrentFormat& format)
{
    design::TCurrentFormat f = format;
    f.NbColonnes = checkedCount(format.NbColonnes, "across");
    f.NbLignes = checkedCount(format.NbLignes, "down");
    return f;
}

TFirstLabel ClampFirstLabel(TFirstLabel first, const design::TCurrentFormat& format)
{
    first.Ligne = std::clamp(first.Ligne, 1, std::max(1, format.NbLignes));
    first.Colonne = std::clamp(first.Colonne, 1, std::max(1, format.NbColonnes));
    return first;
}

long long TMailingLayout::LabelsBefore(int sheet) const
{
    if (sheet <= 1)
        return 0;
    return std::max(0LL, static_cast<long long>(sheet - 1) * CellsPerSheet() - Skipped);
}

TMailingLayout CalculerMiseEnPage(const design::TCurrentFormat& format, const TMailingSelection& selection,
                                  int ppi, TFirstLabel& first)
{
    TMailingLayout l;
    l.Format = MailingFormat(format);
    l.Selection = selection;
    l.LargeurEtiquettePx = platform::R(l.Format.LargeurEtiquette * static_cast<double>(ppi) / 2540);
    l.HauteurEtiquettePx = platform::R(l.Format.HauteurEtiquette * static_cast<double>(ppi) / 2540);
    first = ClampFirstLabel(first, l.Format);
    l.First = first;
    l.Skipped = (first.Ligne - 1) * l.Format.NbColonnes + first.Colonne - 1;
    const long long cells = static_cast<long long>(selection.TotalEtiquettes) + l.Skipped;
    const int perSheet = l.CellsPerSheet();
    l.NbFeuilles = static_cast<int>((cells + perSheet - 1) / perSheet);
    return l;
}

QString MajMessagePlanches(station::TTypePapier paper, int seriesCopies, int nbFeuilles, const TInsertTexts& texts)
{
    const long long n = static_cast<long long>(std::max(1, seriesCopies)) * nbFeuilles;
    if (paper == station::tpRoll)
        return n == 1 ? texts.OneRollLabel : texts.Roll + QString::number(n) + texts.RollLabels;
    return n == 1 ? texts.OneSheet : texts.Insert + QString::number(n) + texts.Sheets;
}

} // namespace addressbook
