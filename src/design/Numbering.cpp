#include "Numbering.h"

#include "Dates.h"

#include "platform/Errors.h"
#include "platform/TIniFile.h"

namespace design {

namespace {

const QString NumAuto = QStringLiteral("NumAuto");
const QString StampsSection = QStringLiteral("Dateurs");

QString key(const char* base, int stamp)
{
    return QString::fromLatin1(base) + QString::number(stamp + 1);
}

} // namespace

NumberingSettings ReadNumberingSettings(const platform::TIniFile& ini, const QDate& today)
{
    NumberingSettings s;
    s.ByRow = ini.ReadBool(NumAuto, QStringLiteral("Méthode"), false);
    s.FirstNumber = ini.ReadInteger(NumAuto, QStringLiteral("Début"), 1);
    s.ContinueOverCopies = ini.ReadBool(NumAuto, QStringLiteral("ContNum"), false);
    for (int i = 0; i < 2; ++i) {
        DateStampSettings& d = s.Stamps[i];
        d.Memorise = ini.ReadBool(StampsSection, key("Memo", i), false);
        d.FormatDate = ini.ReadInteger(StampsSection, key("DateFormat", i), 0);
        if (d.FormatDate < 0 || d.FormatDate >= DatePatternCount)
            d.FormatDate = 0;
        d.DateReference = today;
        if (!d.Memorise)
            continue;
        const QString stored = ini.ReadString(StampsSection, key("Date", i), ShortDateString(today));
        try {
            d.DateReference = StrToDate(stored, today);
        } catch (const platform::EConvertError&) {
            d.DateReference = today;
        }
        d.OffsetKind = ini.ReadInteger(StampsSection, key("decal", i), OffsetDays);
        d.DayOffset = ini.ReadInteger(StampsSection, key("jdecal", i), 0);
        d.MonthOffset = ini.ReadInteger(StampsSection, key("mdecal", i), 0);
        d.YearOffset = ini.ReadInteger(StampsSection, key("adecal", i), 0);
    }
    return s;
}

void WriteNumberingSettings(platform::TIniFile& ini, const NumberingSettings& s)
{
    ini.WriteBool(NumAuto, QStringLiteral("Méthode"), s.ByRow);
    ini.WriteInteger(NumAuto, QStringLiteral("Début"), s.FirstNumber);
    ini.WriteBool(NumAuto, QStringLiteral("ContNum"), s.ContinueOverCopies);
    for (int i = 0; i < 2; ++i)
        ini.WriteBool(StampsSection, key("Memo", i), s.Stamps[i].Memorise);
    for (int i = 0; i < 2; ++i) {
        const QDate& r = s.Stamps[i].DateReference;
        ini.WriteString(StampsSection, key("Date", i), r.isValid() ? ShortDateString(r) : QString());
    }
    for (int i = 0; i < 2; ++i)
        ini.WriteInteger(StampsSection, key("DateFormat", i), s.Stamps[i].FormatDate);
    for (int i = 0; i < 2; ++i) {
        const int kind = s.Stamps[i].OffsetKind;
        if (kind >= OffsetDays && kind <= OffsetYears)
            ini.WriteInteger(StampsSection, key("decal", i), kind);
    }
    for (int i = 0; i < 2; ++i) {
        const DateStampSettings& d = s.Stamps[i];
        ini.WriteInteger(StampsSection, key("jdecal", i), d.DayOffset);
        ini.WriteInteger(StampsSection, key("mdecal", i), d.MonthOffset);
        ini.WriteInteger(StampsSection, key("adecal", i), d.YearOffset);
    }
}

QDate StampDate(const DateStampSettings& stamp)
{
    switch (stamp.OffsetKind) {
    case OffsetDays:
        return AddDays(stamp.DayOffset, stamp.DateReference);
    case OffsetMonths:
        return DecalerMois(stamp.MonthOffset, stamp.DateReference);
    case OffsetYears:
        return DecalerAns(stamp.YearOffset, stamp.DateReference);
    default:
        return stamp.DateReference;
    }
}

QString CalculerDate(const DateStampSettings& stamp)
{
    return FormatDate(DatePattern(stamp.FormatDate), StampDate(stamp));
}

QString DayUnitKey(int days)
{
    return days == 1 || days == -1 ? QStringLiteral("@3") : QStringLiteral("@4");
}

QString YearUnitKey(int years)
{
    return years == 1 || years == -1 ? QStringLiteral("@5") : QStringLiteral("@6");
}

long long AutoNumber(const MergeNumbering& numbering, int row, int printIndex)
{
    return numbering.ByRow ? row : static_cast<long long>(printIndex) + numbering.FirstNumber - 1;
}

} // namespace design
