#include "design/Dates.h"

#include "platform/Errors.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace design;

namespace {

struct EnglishLocale {
    EnglishLocale() : saved(QLocale()) { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
    ~EnglishLocale() { QLocale::setDefault(saved); }
    QLocale saved;
};

} // namespace

TEST(Dates, LeapYearsAndMonthLengths)
{
    EXPECT_TRUE(AnneeBissextile(2000));
    EXPECT_FALSE(AnneeBissextile(1900));
    EXPECT_TRUE(AnneeBissextile(2024));
    EXPECT_FALSE(AnneeBissextile(2023));
    EXPECT_EQ(JoursParMois(2023, 2), 28);
    EXPECT_EQ(JoursParMois(2024, 2), 29);
    EXPECT_EQ(JoursParMois(1900, 2), 28);
    EXPECT_EQ(JoursParMois(2023, 4), 30);
    EXPECT_EQ(JoursParMois(2023, 12), 31);
    EXPECT_EQ(JoursParMois(2023, 13), 0);
}

TEST(Dates, MonthShiftClampsRoundByRound)
{
    EXPECT_EQ(DecalerMois(1, QDate(2023, 1, 31)), QDate(2023, 2, 28));
    EXPECT_EQ(DecalerMois(1, QDate(2024, 1, 31)), QDate(2024, 2, 29));
    // The day lost in February stays lost.
    EXPECT_EQ(DecalerMois(2, QDate(2023, 1, 31)), QDate(2023, 3, 28));
    EXPECT_EQ(DecalerMois(-1, QDate(2023, 3, 31)), QDate(2023, 2, 28));
    EXPECT_EQ(DecalerMois(-1, QDate(2024, 3, 31)), QDate(2024, 2, 29));
    EXPECT_EQ(DecalerMois(13, QDate(2023, 1, 15)), QDate(2024, 2, 15));
    EXPECT_EQ(DecalerMois(40, QDate(2023, 1, 15)), QDate(2026, 5, 15));
    EXPECT_EQ(DecalerMois(-13, QDate(2023, 1, 15)), QDate(2021, 12, 15));
    EXPECT_EQ(DecalerMois(0, QDate(2023, 1, 31)), QDate(2023, 1, 31));
    EXPECT_EQ(DecalerMois(1, QDate(2023, 12, 31)), QDate(2024, 1, 31));
}

TEST(Dates, YearShift)
{
    EXPECT_EQ(DecalerAns(4, QDate(2000, 2, 29)), QDate(2004, 2, 28));
    EXPECT_EQ(DecalerAns(1, QDate(2023, 2, 28)), QDate(2024, 2, 28));
    EXPECT_EQ(DecalerAns(-3, QDate(2023, 7, 14)), QDate(2020, 7, 14));
    // Offset 0 is the reference date itself, 29 February included.
    EXPECT_EQ(DecalerAns(0, QDate(2024, 2, 29)), QDate(2024, 2, 29));
}

TEST(Dates, ShiftsOutsideYears1To9999AreConversionErrors)
{
    EXPECT_THROW(DecalerAns(8000, QDate(2023, 1, 1)), platform::EConvertError);
    EXPECT_THROW(DecalerAns(-2023, QDate(2023, 1, 1)), platform::EConvertError);
    EXPECT_THROW(DecalerAns(2147483647, QDate(2023, 1, 1)), platform::EConvertError);
    EXPECT_THROW(DecalerMois(2147483647, QDate(2023, 1, 1)), platform::EConvertError);
    EXPECT_THROW(DecalerMois(-24276, QDate(2023, 1, 1)), platform::EConvertError);
    EXPECT_THROW(AddDays(3000000, QDate(2023, 1, 1)), platform::EConvertError);
    EXPECT_EQ(AddDays(-1, QDate(2024, 3, 1)), QDate(2024, 2, 29));
    EXPECT_EQ(DecalerMois(-12, QDate(2, 6, 30)), QDate(1, 6, 28)); // passes through February
}

TEST(Dates, SixPatternsWithLocaleNames)
{
    EnglishLocale english;
    const QDate d(2024, 3, 5);
    EXPECT_EQ(FormatDate(DatePattern(0), d), "05/03/24");
    EXPECT_EQ(FormatDate(DatePattern(1), d), "05-03-24");
    EXPECT_EQ(FormatDate(DatePattern(2), d), "05/03/2024");
    EXPECT_EQ(FormatDate(DatePattern(3), d), "05-03-2024");
    EXPECT_EQ(FormatDate(DatePattern(4), d), "05 March 2024");
    EXPECT_EQ(FormatDate(DatePattern(5), d), "Tuesday 05 March 2024");
    EXPECT_EQ(DatePattern(6), DatePattern(0));
    EXPECT_EQ(DatePattern(-1), DatePattern(0));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(FormatDate(DatePattern(5), d), "mardi 05 mars 2024");
    EXPECT_EQ(FormatDate(DatePattern(1), QDate(7, 1, 2)), "02-01-07");
    EXPECT_THROW(FormatDate(DatePattern(0), QDate()), platform::EConvertError);
}

TEST(Dates, ShortFormRoundTripAndOldTwoDigitYears)
{
    EXPECT_EQ(ShortDateString(QDate(2024, 2, 29)), "29/02/2024");
    EXPECT_EQ(StrToDate("29/02/2024"), QDate(2024, 2, 29));
    EXPECT_EQ(StrToDate(" 1/2/0987 "), QDate(987, 2, 1));
    const QDate today(2025, 6, 1);
    EXPECT_EQ(StrToDate("03/04/99", today), QDate(1999, 4, 3));
    EXPECT_EQ(StrToDate("03/04/05", today), QDate(2005, 4, 3));
    EXPECT_EQ(StrToDate("03.04.74", today), QDate(2074, 4, 3));
    EXPECT_EQ(StrToDate("03-04-75", today), QDate(1975, 4, 3));
    for (const char* bad : {"", "29/02/2023", "31/04/2024", "1/13/2024", "12/2024", "a/b/c", "0/1/2024",
                            "01/01/0000", "01/01/2024 x"})
        EXPECT_THROW(StrToDate(QString::fromLatin1(bad)), platform::EConvertError) << bad;
}
