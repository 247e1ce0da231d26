#include "SheetFormat.h"

#include "platform/Numbers.h"
#include "platform/TStringGrid.h"

#include <algorithm>
#include <limits>

namespace station {

namespace {

// Products of cells can leave the int range on absurd rows; keep the arithmetic defined.
int clampToInt(qint64 v)
{
    return static_cast<int>(std::clamp<qint64>(v, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

bool startsWithPrefix(const QString& name, const QString& prefix)
{
    return !prefix.isEmpty() && name.startsWith(prefix, Qt::CaseSensitive);
}

} // namespace

int ClampLabelCount(int count)
{
    return std::clamp(count, 1, MaxLabelCount);
}

int TLigneFormat::Integer(int cell) const
{
    return platform::StrToInt(Cells.at(static_cast<size_t>(cell)));
}

int TLigneFormat::NbColonnes() const
{
    return ClampLabelCount(Integer(cfColumns));
}

int TLigneFormat::NbLignes() const
{
    return ClampLabelCount(Integer(cfRows));
}

bool TLigneFormat::IsRound() const
{
    const int width = Integer(cfWidth);
    const int height = Integer(cfHeight);
    return width > 0 && height > 0 && Integer(cfEllipseWidth) == width
           && Integer(cfEllipseHeight) == height;
}

bool TLigneFormat::IsRoundAsText() const
{
    if (Cells[cfWidth] != Cells[cfEllipseWidth] || Cells[cfHeight] != Cells[cfEllipseHeight])
        return false;
    return platform::StrToIntDef(Cells[cfWidth], 0) > 0
           && platform::StrToIntDef(Cells[cfHeight], 0) > 0;
}

bool TLigneFormat::AllEmpty() const
{
    return std::all_of(Cells.begin(), Cells.end(), [](const QString& c) { return c.isEmpty(); });
}

TLigneFormat TLigneFormat::Default(const QString& name)
{
    TLigneFormat l;
    l.Cells = {name, QStringLiteral("7000"), QStringLiteral("4200"), QStringLiteral("3"),
               QStringLiteral("7"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
               QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    return l;
}

TLigneFormat TLigneFormat::FromGrid(const platform::TStringGrid& grid, int row)
{
    TLigneFormat l;
    for (int c = 0; c < FormatCellCount; ++c)
        l.Cells[static_cast<size_t>(c)] = grid.Cell(c, row);
    return l;
}

void TLigneFormat::ToGrid(platform::TStringGrid& grid, int row) const
{
    grid.SetRow(row, List());
}

QStringList TLigneFormat::List() const
{
    return QStringList(Cells.begin(), Cells.end());
}

TTypePapier TypePapier(const QString& name, const TPaperNames& names)
{
    // Reference names carry a numeric code; names made in the editor carry the paper's name.
    // Later tests win, so a name can only be one paper.
    const QString code = name.left(3);
    TTypePapier type = tpA4;
    if (code == u"114" || code == u"011" || code == u"012" || code == u"115" || name.startsWith(u"A5"))
        type = tpA5;
    if (code == u"120" || startsWithPrefix(name, names.Continuous12))
        type = tpContinuous12;
    if (code == u"020" || startsWithPrefix(name, names.Continuous6))
        type = tpContinuous6;
    if (code == u"190" || startsWithPrefix(name, names.Roll))
        type = tpRoll;
    return type;
}

QString NomPapier(TTypePapier type, const TPaperNames& names)
{
    switch (type) {
    case tpA4:
        return QStringLiteral("A4");
    case tpA5:
        return QStringLiteral("A5");
    case tpContinuous12:
        return names.Continuous12;
    case tpContinuous6:
        return names.Continuous6;
    case tpRoll:
        return names.Roll;
    }
    return QStringLiteral("A4");
}

int LargeurPage(const QString& name, int labelWidth, int columns, int gapHorizontal,
                const TPaperNames& names)
{
    const TTypePapier type = TypePapier(name, names);
    if (type == tpA4 || type == tpA5)
        return 21000;
    const qint64 n = ClampLabelCount(columns);
    return clampToInt(static_cast<qint64>(labelWidth) * n + static_cast<qint64>(gapHorizontal) * (n - 1));
}

int HauteurPage(const QString& name, int labelHeight, const TPaperNames& names)
{
    switch (TypePapier(name, names)) {
    case tpA4:
        return 29700;
    case tpA5:
        return 14850;
    case tpContinuous12:
        return 30480;
    case tpContinuous6:
        return 15240;
    case tpRoll:
        return labelHeight;
    }
    return 29700;
}

QString CalculerMarge(const QString& value, TMarginDirection direction, const TLigneFormat& format,
                      const TPaperNames& names)
{
    if (value != CentredMargin)
        return value;
    qint64 margin;
    if (direction == TMarginDirection::Hauteur) {
        const int height = format.Integer(cfHeight);
        const qint64 page = HauteurPage(format.Nom(), height, names);
        margin = (page - static_cast<qint64>(height) * format.NbLignes()) / 2;
    } else {
        const int width = format.Integer(cfWidth);
        const int columns = format.NbColonnes();
        const qint64 page = LargeurPage(format.Nom(), width, columns,
                                        format.Integer(cfGapHorizontal), names);
        margin = (page - static_cast<qint64>(width) * columns) / 2;
    }
    return QString::number(clampToInt(margin));
}

int ComputedMargin(const QString& value, TMarginDirection direction, const TLigneFormat& format,
                  const TPaperNames& names)
{
    return platform::StrToInt(CalculerMarge(value, direction, format, names));
}

TSheetPreview FillSheetPreview(const TLigneFormat& format, const TPaperNames& names)
{
    TSheetPreview a;
    a.LargeurEtiquette = format.Integer(cfWidth);
    a.HauteurEtiquette = format.Integer(cfHeight);
    a.NbColonnes = format.NbColonnes();
    a.NbLignes = format.NbLignes();
    a.EcartHorizontal = format.Integer(cfGapHorizontal);
    a.EcartVertical = format.Integer(cfGapVertical);
    a.LargeurPage = LargeurPage(format.Nom(), a.LargeurEtiquette, a.NbColonnes, a.EcartHorizontal, names);
    a.HauteurPage = HauteurPage(format.Nom(), a.HauteurEtiquette, names);
    a.MargeGauche = ComputedMargin(format.Cells[cfMarginLeft], TMarginDirection::Largeur, format, names);
    a.MargeHaut = ComputedMargin(format.Cells[cfMarginTop], TMarginDirection::Hauteur, format, names);
    a.EtiquetteRonde = format.IsRound();
    return a;
}

} // namespace station
