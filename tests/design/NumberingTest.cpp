#include "design/FieldCodes.h"
#include "design/Numbering.h"

#include "platform/Errors.h"
#include "platform/TIniFile.h"
#include "platform/TStringGrid.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace design;

namespace {

QString iniWith(const QTemporaryDir& dir, const QByteArray& content)
{
    const QString path = dir.filePath("settings.ini");
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(content);
    return path;
}

} // namespace

TEST(Numbering, DefaultsWhenNothingIsStored)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath("none.ini"));
    const QDate today(2024, 5, 17);
    const NumberingSettings s = ReadNumberingSettings(ini, today);
    EXPECT_FALSE(s.ByRow);
    EXPECT_EQ(s.FirstNumber, 1);
    EXPECT_FALSE(s.ContinueOverCopies);
    for (const DateStampSettings& d : s.Stamps) {
        EXPECT_FALSE(d.Memorise);
        EXPECT_EQ(d.DateReference, today);
        EXPECT_EQ(d.FormatDate, 0);
        EXPECT_EQ(d.OffsetKind, OffsetDays);
        EXPECT_EQ(d.DayOffset + d.MonthOffset + d.YearOffset, 0);
    }
}

TEST(Numbering, StampsAreReadOnlyWhenRemembered)
{
    QTemporaryDir dir;
    const QString path = iniWith(dir, "[NumAuto]\r\nMéthode=1\r\nDébut=10\r\nContNum=1\r\n"
                                      "[Dateurs]\r\nMemo1=1\r\nMemo2=0\r\nDate1=31/01/23\r\nDate2=01/01/2001\r\n"
                                      "DateFormat1=4\r\nDateFormat2=9\r\ndecal1=2\r\ndecal2=3\r\n"
                                      "jdecal1=-1\r\nmdecal1=1\r\nadecal1=5\r\njdecal2=7\r\nmdecal2=7\r\nadecal2=7\r\n");
    TIniFile ini(path);
    const QDate today(2024, 5, 17);
    const NumberingSettings s = ReadNumberingSettings(ini, today);
    EXPECT_TRUE(s.ByRow);
    EXPECT_EQ(s.FirstNumber, 10);
    EXPECT_TRUE(s.ContinueOverCopies);
    const DateStampSettings& d1 = s.Stamps[0];
    EXPECT_EQ(d1.DateReference, QDate(2023, 1, 31)); // a two-digit year from an older file
    EXPECT_EQ(d1.FormatDate, 4);
    EXPECT_EQ(d1.OffsetKind, OffsetMonths);
    EXPECT_EQ(d1.DayOffset, -1);
    EXPECT_EQ(d1.MonthOffset, 1);
    EXPECT_EQ(d1.YearOffset, 5);
    // Not remembered: today, days, no offsets; the pattern is always read (9 is out of range: 0).
    const DateStampSettings& d2 = s.Stamps[1];
    EXPECT_EQ(d2.DateReference, today);
    EXPECT_EQ(d2.FormatDate, 0);
    EXPECT_EQ(d2.OffsetKind, OffsetDays);
    EXPECT_EQ(d2.DayOffset + d2.MonthOffset + d2.YearOffset, 0);

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(CalculerDate(d1), "28 February 2023");
    QLocale::setDefault(QLocale::system());
}

TEST(Numbering, DamagedReferenceDateFallsBackToToday)
{
    QTemporaryDir dir;
    TIniFile ini(iniWith(dir, "[Dateurs]\r\nMemo1=1\r\nDate1=30/02/2024\r\nMemo2=1\r\nDate2=soon\r\n"));
    const QDate today(2024, 5, 17);
    const NumberingSettings s = ReadNumberingSettings(ini, today);
    EXPECT_EQ(s.Stamps[0].DateReference, today);
    EXPECT_EQ(s.Stamps[1].DateReference, today);
}

TEST(Numbering, WriterRoundTripsAndSkipsAnUncheckedKind)
{
    QTemporaryDir dir;
    NumberingSettings s;
    s.ByRow = true;
    s.FirstNumber = -4;
    s.ContinueOverCopies = true;
    s.Stamps[0] = {true, QDate(1999, 12, 31), 5, OffsetYears, 3, -2, 1};
    s.Stamps[1] = {true, QDate(2024, 2, 29), 2, 0, 0, 0, 0};
    const QString path = dir.filePath("out.ini");
    {
        TIniFile ini(path);
        WriteNumberingSettings(ini, s);
        ini.UpdateFile();
    }
    TIniFile back(path);
    EXPECT_EQ(back.ReadString("Dateurs", "Date1", ""), "31/12/1999");
    EXPECT_FALSE(back.ValueExists("Dateurs", "decal2"));
    EXPECT_EQ(back.ReadSection("Dateurs"),
              QStringList({"Memo1", "Memo2", "Date1", "Date2", "DateFormat1", "DateFormat2", "decal1",
                           "jdecal1", "mdecal1", "adecal1", "jdecal2", "mdecal2", "adecal2"}));
    const NumberingSettings r = ReadNumberingSettings(back, QDate(2030, 1, 1));
    EXPECT_EQ(r.ByRow, s.ByRow);
    EXPECT_EQ(r.FirstNumber, s.FirstNumber);
    EXPECT_EQ(r.ContinueOverCopies, s.ContinueOverCopies);
    EXPECT_EQ(r.Stamps[0].DateReference, s.Stamps[0].DateReference);
    EXPECT_EQ(r.Stamps[0].FormatDate, 5);
    EXPECT_EQ(r.Stamps[0].OffsetKind, OffsetYears);
    EXPECT_EQ(r.Stamps[0].DayOffset, 3);
    EXPECT_EQ(r.Stamps[0].MonthOffset, -2);
    EXPECT_EQ(r.Stamps[0].YearOffset, 1);
    EXPECT_EQ(r.Stamps[1].DateReference, QDate(2024, 2, 29));
    EXPECT_EQ(r.Stamps[1].OffsetKind, OffsetDays); // the missing key reads as its default
}

TEST(Numbering, PrintedDateByOffsetKind)
{
    DateStampSettings d;
    d.DateReference = QDate(2024, 2, 29);
    d.FormatDate = 2;
    d.DayOffset = 1;
    d.MonthOffset = 12;
    d.YearOffset = 0;
    d.OffsetKind = OffsetDays;
    EXPECT_EQ(CalculerDate(d), "01/03/2024");
    d.OffsetKind = OffsetMonths;
    EXPECT_EQ(CalculerDate(d), "28/02/2025");
    d.OffsetKind = OffsetYears;
    EXPECT_EQ(CalculerDate(d), "29/02/2024"); // offset 0 prints the reference date itself
    d.YearOffset = 1;
    EXPECT_EQ(CalculerDate(d), "28/02/2025");
    d.OffsetKind = 0; // no kind chosen: the reference date
    EXPECT_EQ(CalculerDate(d), "29/02/2024");
    d.OffsetKind = OffsetYears;
    d.YearOffset = 9000;
    EXPECT_THROW(CalculerDate(d), platform::EConvertError);
}

TEST(Numbering, UnitLabelsAndAutoNumber)
{
    EXPECT_EQ(DayUnitKey(-1), "@3");
    EXPECT_EQ(DayUnitKey(1), "@3");
    EXPECT_EQ(DayUnitKey(-2), "@4");
    EXPECT_EQ(DayUnitKey(0), "@4");
    EXPECT_EQ(YearUnitKey(-1), "@5");
    EXPECT_EQ(YearUnitKey(2), "@6");

    MergeNumbering n;
    n.FirstNumber = 10;
    EXPECT_EQ(AutoNumber(n, 7, 3), 12);
    n.ByRow = true;
    EXPECT_EQ(AutoNumber(n, 7, 3), 7);
    EXPECT_EQ(AutoNumber(n, 7, 250), 7);
    // A start number at the edge of the spin box's range goes on counting instead of wrapping.
    n.ByRow = false;
    n.FirstNumber = 2147483647;
    EXPECT_EQ(AutoNumber(n, 7, 3), 2147483649LL);
    TStringGrid g;
    EXPECT_EQ(MergeFields("<Autonum>", {&g, false, RepertItemsEnglish()}, 1, 2, n), "2147483648");
}
