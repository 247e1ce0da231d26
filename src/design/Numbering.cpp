#include "Numbering.h"

#include "Dates.h"

#include "platform/Errors.h"
#include "platform/TIniFile.h"

namespace design {

namespace {

const QString NumAuto = QStringLiteral("NumAuto");
const QString Dateurs = QStringLiteral("Dateurs");

QString key(const char* base, int stamp)
{
    return QString::fromLatin1(base) + QString::number(stamp + 1);
}

} // namespace

NumberingSettings ReadNumberingSettings(const platform::TIniFile& ini, const QDate& today)
{
    NumberingSettings s;
    s.ParPosition = ini.ReadBool(NumAuto, QStringLiteral("Méthode"), false);
    s.Debut = ini.ReadInteger(NumAuto, QStringLiteral("Début"), 1);
    s.ContNum = ini.ReadBool(NumAuto, QStringLiteral("ContNum"), false);
    for (int i = 0; i < 2; ++i) {
        DateStampSettings& d = s.Dateurs[i];
        d.Memorise = ini.ReadBool(Dateurs, key("Memo", i), false);
        d.FormatDate = ini.ReadInteger(Dateurs, key("DateFormat", i), 0);
        if (d.FormatDate < 0 || d.FormatDate >= NbFormatsDate)
            d.FormatDate = 0;
        d.DateReference = today;
        if (!d.Memorise)
            continue;
        const QString stored = ini.ReadString(Dateurs, key("Date", i), ShortDateString(today));
        try {
            d.DateReference = StrToDate(stored, today);
        } catch (const platform::EConvertError&) {
            d.DateReference = today;
        }
        d.Decal = ini.ReadInteger(Dateurs, key("decal", i), OffsetDays);
        d.JDecal = ini.ReadInteger(Dateurs, key("jdecal", i), 0);
        d.MDecal = ini.ReadInteger(Dateurs, key("mdecal", i), 0);
        d.ADecal = ini.ReadInteger(Dateurs, key("adecal", i), 0);
    }
    return s;
}

void WriteNumberingSettings(platform::TIniFile& ini, const NumberingSettings& s)
{
    ini.WriteBool(NumAuto, QStringLiteral("Méthode"), s.ParPosition);
    ini.WriteInteger(NumAuto, QStringLiteral("Début"), s.Debut);
    ini.WriteBool(NumAuto, QStringLiteral("ContNum"), s.ContNum);
    for (int i = 0; i < 2; ++i)
        ini.WriteBool(Dateurs, key("Memo", i), s.Dateurs[i].Memorise);
    for (int i = 0; i < 2; ++i) {
        const QDate& r = s.Dateurs[i].DateReference;
        ini.WriteString(Dateurs, key("Date", i), r.isValid() ? ShortDateString(r) : QString());
    }
    for (int i = 0; i < 2; ++i)
        ini.WriteInteger(Dateurs, key("DateFormat", i), s.Dateurs[i].FormatDate);
    for (int i = 0; i < 2; ++i) {
        const int kind = s.Dateurs[i].Decal;
        if (kind >= OffsetDays && kind <= OffsetYears)
            ini.WriteInteger(Dateurs, key("decal", i), kind);
    }
    for (int i = 0; i < 2; ++i) {
        const DateStampSettings& d = s.Dateurs[i];
        ini.WriteInteger(Dateurs, key("jdecal", i), d.JDecal);
        ini.WriteInteger(Dateurs, key("mdecal", i), d.MDecal);
        ini.WriteInteger(Dateurs, key("adecal", i), d.ADecal);
    }
}

QDate StampDate(const DateStampSettings& stamp)
{
    switch (stamp.Decal) {
    case OffsetDays:
        return DecalerJours(stamp.JDecal, stamp.DateReference);
    case OffsetMonths:
        return DecalerMois(stamp.MDecal, stamp.DateReference);
    case OffsetYears:
        return DecalerAns(stamp.ADecal, stamp.DateReference);
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
    return numbering.ParPosition ? row : static_cast<long long>(printIndex) + numbering.Debut - 1;
}

} // namespace design
