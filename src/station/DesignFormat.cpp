#include "DesignFormat.h"

#include "platform/TStringGrid.h"

namespace station {

TFormatPlace LocateDesignFormat(TFormatFamilies& families, const design::TCurrentFormat& format,
                                const QString& unlistedName)
{
    const QString name = format.NomFormat.isEmpty() ? unlistedName : format.NomFormat;
    for (int f = 0; f < families.Count(); ++f) {
        const platform::TStringGrid* grid = families.Grid(f);
        for (int r = 0; grid != nullptr && r < grid->RowCount(); ++r)
            if (grid->Cell(0, r).compare(name, Qt::CaseInsensitive) == 0)
                return {f, r};
    }
    platform::TStringGrid* custom = families.Count() > 0 ? families.Grid(families.CustomIndex()) : nullptr;
    if (custom == nullptr)
        return {};
    const auto n = [](int v) { return QString::number(v); };
    const int row = custom->RowCount();
    custom->SetRowCount(row + 1);
    custom->SetRow(row, {name, n(format.LargeurEtiquette), n(format.HauteurEtiquette), n(format.NbColonnes),
                         n(format.NbLignes), n(format.EcartHorizontal), n(format.EcartVertical),
                         n(format.MargeGauche), n(format.MargeHaut),
                         format.EtiquetteRonde ? n(format.LargeurEtiquette) : QStringLiteral("0"),
                         format.EtiquetteRonde ? n(format.HauteurEtiquette) : QStringLiteral("0")});
    return {families.CustomIndex(), row};
}

} // namespace station
