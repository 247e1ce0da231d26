#include "DesignHeader.h"

#include "DesignFileValues.h"

#include "platform/Errors.h"
#include "platform/Rounding.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace design {

using namespace platform;

namespace {

// The lines after line 3, by version, for reading and writing alike.
template <class V, class H>
void headerFields(V& v, H& h)
{
    if (h.Version == 7) {
        v.length(h.TopMarginTenthsMm, MaxTenthsMm, "top margin");
        v.length(h.BottomMarginTenthsMm, MaxTenthsMm, "bottom margin");
        v.length(h.LeftMarginTenthsMm, MaxTenthsMm, "left margin");
        v.length(h.RightMarginTenthsMm, MaxTenthsMm, "right margin");
        v.length(h.VerticalGapTenthsMm, MaxTenthsMm, "vertical gap");
        v.length(h.HorizontalGapTenthsMm, MaxTenthsMm, "horizontal gap");
        v.integer(h.Orientation);
    } else if (h.Version >= 8) {
        v.string(h.FormatName);
        v.integer(h.Columns);
        v.integer(h.Rows);
        v.length(h.HorizontalGapHundredthsMm, MaxHundredthsMm, "horizontal gap");
        v.length(h.VerticalGapHundredthsMm, MaxHundredthsMm, "vertical gap");
        v.length(h.LeftMarginHundredthsMm, MaxHundredthsMm, "left margin");
        v.length(h.TopMarginHundredthsMm, MaxHundredthsMm, "top margin");
        v.length(h.EllipseWidthHundredthsMm, MaxHundredthsMm, "ellipse width");
        v.length(h.EllipseHeightHundredthsMm, MaxHundredthsMm, "ellipse height");
    }
}

// Holds a header built in code to the limits a file is held to.
struct LimitCheck {
    template <class T>
    void integer(const T&) {}
    void string(const QString&) {}
    void length(int v, int maxAbs, const char* what)
    {
        if (v < -maxAbs || v > maxAbs)
            throw EConvertError(QStringLiteral("%1 is beyond the largest %2 (%3)")
                                    .arg(v)
                                    .arg(QLatin1String(what))
                                    .arg(maxAbs));
    }
};

int tenthsToHundredths(int tenthsMm)
{
    // In 64 bits; within the limits ApplyDesignHeader checks first, the result fits an int.
    return static_cast<int>(std::int64_t{tenthsMm} * 10);
}

} // namespace

int MaxLabelSize(int version)
{
    if (version < 6)
        return MaxDesignPixels;
    if (version < 8)
        return MaxTenthsMm;
    return MaxHundredthsMm;
}

TDesignHeader ReadDesignHeader(TextFileReader& reader)
{
    TDesignValueReader in(reader);
    TDesignHeader h;
    in.integer(h.Width);
    in.integer(h.Height);
    QString versionLine;
    in.string(versionLine);
    if (versionLine.size() < 8 || versionLine.at(7) < u'0' || versionLine.at(7) > u'9')
        in.fail(QStringLiteral("'%1' is not a design file version").arg(versionLine));
    h.Version = versionLine.at(7).unicode() - u'0';
    // The unit of lines 1 and 2 is known only now.
    in.check(h.Width, MaxLabelSize(h.Version), "label width", 1);
    in.check(h.Height, MaxLabelSize(h.Version), "label height", 2);
    headerFields(in, h);
    return h;
}

TDesignHeader ReadDesignHeader(const QString& path)
{
    TextFileReader reader(path);
    return ReadDesignHeader(reader);
}

void WriteDesignHeader(TextFileWriter& writer, const TCurrentFormat& f)
{
    TDesignHeader h;
    h.Width = f.LargeurEtiquette;
    h.Height = f.HauteurEtiquette;
    h.FormatName = f.NomFormat;
    h.Columns = f.NbColonnes;
    h.Rows = f.NbLignes;
    h.HorizontalGapHundredthsMm = f.EcartHorizontal;
    h.VerticalGapHundredthsMm = f.EcartVertical;
    h.LeftMarginHundredthsMm = f.MargeGauche;
    h.TopMarginHundredthsMm = f.MargeHaut;
    h.EllipseWidthHundredthsMm = f.EtiquetteRonde ? f.LargeurEtiquette : 0;
    h.EllipseHeightHundredthsMm = f.EtiquetteRonde ? f.HauteurEtiquette : 0;

    TDesignValueWriter out(writer);
    out.integer(h.Width);
    out.integer(h.Height);
    out.string(QStringLiteral("version%1").arg(h.Version));
    headerFields(out, h);
}

int LabelsOnA4(int pageMm, int labelSizeHundredthsMm, int gapTenthsMm, int marginATenthsMm,
               int marginBTenthsMm)
{
    if (labelSizeHundredthsMm / 10.0 + gapTenthsMm == 0)
        return 1;
    const double count = RawLabelsOnA4(pageMm, labelSizeHundredthsMm, gapTenthsMm, marginATenthsMm,
                                       marginBTenthsMm);
    // Clamped as a double: a count beyond an int must not be converted first.
    return static_cast<int>(std::clamp(count, 1.0, 50.0));
}

double RawLabelsOnA4(int pageMm, int labelSizeHundredthsMm, int gapTenthsMm, int marginATenthsMm,
                     int marginBTenthsMm)
{
    const double pitchMm = (labelSizeHundredthsMm / 10.0 + gapTenthsMm) / 10.0;
    if (pitchMm == 0)
        return 0;
    const double marginsMm = (static_cast<double>(marginATenthsMm) + marginBTenthsMm) / 10.0;
    return std::trunc((gapTenthsMm / 10.0 + pageMm - marginsMm) / pitchMm);
}

void ApplyDesignHeader(const TDesignHeader& h, TCurrentFormat& f, int& widthPx, int& heightPx,
                       int ppi)
{
    LimitCheck check;
    check.length(h.Width, MaxLabelSize(h.Version), "label width");
    check.length(h.Height, MaxLabelSize(h.Version), "label height");
    headerFields(check, h);

    f.EtiquetteRonde = false;
    if (h.Version < 6) {
        f.LargeurEtiquette = R(h.Width * 2540.0 / ppi);
        f.HauteurEtiquette = R(h.Height * 2540.0 / ppi);
        widthPx = h.Width;
        heightPx = h.Height;
    } else if (h.Version < 8) {
        f.LargeurEtiquette = tenthsToHundredths(h.Width);
        f.HauteurEtiquette = tenthsToHundredths(h.Height);
        widthPx = R(ppi * static_cast<double>(h.Width) / 254);
        heightPx = R(ppi * static_cast<double>(h.Height) / 254);
    } else {
        f.LargeurEtiquette = h.Width;
        f.HauteurEtiquette = h.Height;
        widthPx = R(ppi * static_cast<double>(h.Width) / 2540);
        heightPx = R(ppi * static_cast<double>(h.Height) / 2540);
    }
    if (h.Version == 7) {
        f.MargeHaut = tenthsToHundredths(h.TopMarginTenthsMm);
        f.MargeGauche = tenthsToHundredths(h.LeftMarginTenthsMm);
        f.EcartVertical = tenthsToHundredths(h.VerticalGapTenthsMm);
        f.EcartHorizontal = tenthsToHundredths(h.HorizontalGapTenthsMm);
        f.Paysage = h.Orientation == 1;
        f.NbColonnes = LabelsOnA4(210, f.LargeurEtiquette, h.HorizontalGapTenthsMm,
                                  h.LeftMarginTenthsMm, h.RightMarginTenthsMm);
        f.NbLignes = LabelsOnA4(297, f.HauteurEtiquette, h.VerticalGapTenthsMm,
                                h.TopMarginTenthsMm, h.BottomMarginTenthsMm);
    }
    f.NomFormat.clear();
    if (h.Version >= 8) {
        f.NomFormat = h.FormatName;
        f.NbColonnes = h.Columns;
        f.NbLignes = h.Rows;
        f.EcartHorizontal = h.HorizontalGapHundredthsMm;
        f.EcartVertical = h.VerticalGapHundredthsMm;
        f.MargeGauche = h.LeftMarginHundredthsMm;
        f.MargeHaut = h.TopMarginHundredthsMm;
        f.EtiquetteRonde = h.EllipseWidthHundredthsMm == f.LargeurEtiquette
                           && f.LargeurEtiquette > 0
                           && h.EllipseHeightHundredthsMm == f.HauteurEtiquette
                           && f.HauteurEtiquette > 0;
    }
}

} // namespace design
