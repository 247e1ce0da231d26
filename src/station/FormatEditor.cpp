#include "FormatEditor.h"

#include "platform/Numbers.h"

#include <algorithm>
#include <QRegularExpression>

namespace station {

namespace {

// Past this many integer digits a number is saturated: it is refused long before.
constexpr int MaxIntegerDigits = 13;

qint64 heldLength(const QString& text)
{
    return std::clamp<qint64>(MillimetreHundredths(text).value_or(0), -MaxEditorLength, MaxEditorLength);
}

QString lengthCell(const QString& text)
{
    return QString::number(heldLength(text));
}

// A margin of exactly 999,99 mm would be stored as the centring mark and come back centred; one
// hundredth less keeps it a margin.
QString marginCell(const QString& text)
{
    const QString cell = lengthCell(text);
    return cell == CentredMargin ? QString::number(CentredMargin.toInt() - 1) : cell;
}

} // namespace

bool IsReferenceName(const QString& name)
{
    static const QStringList codes = {"119", "129", "130", "118", "114", "120",
                                      "020", "190", "011", "012", "115"};
    return codes.contains(name.left(3));
}

QString PrefixerNom(const QString& name, const QString& paperName)
{
    static const QString separator = QStringLiteral(" - ");
    if (IsReferenceName(name))
        return name;
    if (name.isEmpty())
        return paperName + separator;
    const qsizetype at = name.indexOf(separator);
    if (at >= 0)
        return paperName + name.mid(at);
    return paperName + separator + name;
}

QString MillimetreText(int hundredths)
{
    const qint64 v = hundredths;
    const qint64 a = v < 0 ? -v : v;
    return QStringLiteral("%1%2%3%4")
        .arg(v < 0 ? QStringLiteral("-") : QString())
        .arg(a / 100)
        .arg(platform::DecimalSeparator)
        .arg(a % 100, 2, 10, QLatin1Char('0'));
}

std::optional<qint64> MillimetreHundredths(const QString& text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    QString whole;
    QString fraction;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
        whole += text[i++];
    if (i < text.size() && text[i] == platform::DecimalSeparator) {
        ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
            fraction += text[i++];
    }
    if (i != text.size() || (whole.isEmpty() && fraction.isEmpty()))
        return std::nullopt;

    while (whole.size() > 1 && whole.front() == u'0')
        whole.remove(0, 1);
    if (whole.size() > MaxIntegerDigits)
        return negative ? -1000000000000000LL : 1000000000000000LL;

    const QString cents = (fraction + QStringLiteral("00")).left(2);
    const QString rest = fraction.mid(2);
    qint64 v = whole.toLongLong() * 100 + cents.toLongLong();
    // The digits past the hundredths decide the rounding, exactly.
    if (!rest.isEmpty()) {
        const bool pastHalf = rest[0] > u'5' || (rest[0] == u'5' && rest.mid(1).contains(QRegularExpression("[1-9]")));
        const bool half = rest[0] == u'5' && !pastHalf;
        if (pastHalf || (half && v % 2 != 0))
            ++v;
    }
    return negative ? -v : v;
}

QString CheckedMillimetreText(const QString& text)
{
    return MillimetreHundredths(text) ? text : QStringLiteral("0");
}

int CheckedCount(int value)
{
    return value < 1 ? 1 : value;
}

QString ContinuousGap(int columns)
{
    return columns == 1 ? QStringLiteral("0") : MillimetreText(500);
}

TPaperFields AdaptToPaper(TTypePapier paper, int columns)
{
    TPaperFields f;
    switch (paper) {
    case tpContinuous12:
    case tpContinuous6:
        f.MarginsEnabled = false;
        f.Margins = QStringLiteral("0");
        f.GapHorizontalEnabled = false;
        f.GapHorizontal = ContinuousGap(columns);
        break;
    case tpRoll:
        f.CountsEnabled = false;
        f.Count = 1;
        f.MarginsEnabled = false;
        f.Margins = QStringLiteral("0");
        f.GapHorizontalEnabled = false;
        f.GapHorizontal = QStringLiteral("0");
        break;
    case tpA4:
    case tpA5:
        break;
    }
    return f;
}

TEditorFields EditorFieldsFromRow(const TLigneFormat& row, const TPaperNames& names)
{
    TEditorFields f;
    f.Name = row.Nom();
    f.Width = MillimetreText(row.Integer(cfWidth));
    f.Height = MillimetreText(row.Integer(cfHeight));
    f.Columns = row.NbColonnes();
    f.Rows = row.NbLignes();
    f.MarginTop = MillimetreText(ComputedMargin(row.Cells[cfMarginTop], TMarginDirection::Hauteur, row, names));
    f.MarginLeft = MillimetreText(ComputedMargin(row.Cells[cfMarginLeft], TMarginDirection::Largeur, row, names));
    f.GapHorizontal = MillimetreText(row.Integer(cfGapHorizontal));
    f.GapVertical = MillimetreText(row.Integer(cfGapVertical));
    f.Round = row.IsRoundAsText();
    return f;
}

TEditorRefusal CheckEditorFields(const TEditorFields& fields)
{
    for (const QString* text : {&fields.Width, &fields.Height, &fields.MarginTop, &fields.MarginLeft,
                                &fields.GapHorizontal, &fields.GapVertical}) {
        const std::optional<qint64> v = MillimetreHundredths(*text);
        if (!v || *v > MaxEditorLength || *v < -MaxEditorLength)
            return TEditorRefusal::OutOfRange;
    }
    if (heldLength(fields.Width) <= 0 || heldLength(fields.Height) <= 0)
        return TEditorRefusal::LabelSize;
    return TEditorRefusal::None;
}

TLigneFormat RowFromEditorFields(const TEditorFields& fields)
{
    TLigneFormat l;
    l.Cells[cfName] = fields.Name;
    l.Cells[cfWidth] = lengthCell(fields.Width);
    l.Cells[cfHeight] = lengthCell(fields.Height);
    l.Cells[cfColumns] = QString::number(ClampLabelCount(fields.Columns));
    l.Cells[cfRows] = QString::number(ClampLabelCount(fields.Rows));
    l.Cells[cfGapHorizontal] = lengthCell(fields.GapHorizontal);
    l.Cells[cfGapVertical] = lengthCell(fields.GapVertical);
    l.Cells[cfMarginLeft] = marginCell(fields.MarginLeft);
    l.Cells[cfMarginTop] = marginCell(fields.MarginTop);
    l.Cells[cfEllipseWidth] = fields.Round ? l.Cells[cfWidth] : QStringLiteral("0");
    l.Cells[cfEllipseHeight] = fields.Round ? l.Cells[cfHeight] : QStringLiteral("0");
    return l;
}

TSheetPreview EditorPreview(const TEditorFields& fields, const TPaperNames& names)
{
    // Margins come straight from the fields: a typed 999,99 mm is a margin, not "centre".
    TSheetPreview a;
    a.LargeurEtiquette = static_cast<int>(heldLength(fields.Width));
    a.HauteurEtiquette = static_cast<int>(heldLength(fields.Height));
    a.NbColonnes = ClampLabelCount(fields.Columns);
    a.NbLignes = ClampLabelCount(fields.Rows);
    a.EcartHorizontal = static_cast<int>(heldLength(fields.GapHorizontal));
    a.EcartVertical = static_cast<int>(heldLength(fields.GapVertical));
    a.MargeGauche = static_cast<int>(heldLength(fields.MarginLeft));
    a.MargeHaut = static_cast<int>(heldLength(fields.MarginTop));
    a.LargeurPage = LargeurPage(fields.Name, a.LargeurEtiquette, a.NbColonnes, a.EcartHorizontal, names);
    a.HauteurPage = HauteurPage(fields.Name, a.HauteurEtiquette, names);
    a.EtiquetteRonde = fields.Round;
    return a;
}

} // namespace station
