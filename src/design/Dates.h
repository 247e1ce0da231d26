#pragma once

#include <QDate>
#include <QString>

// Calendar arithmetic and date texts of the date stamps "<Date1>" and "<Date2>".
// Dates are written in the short form dd/mm/yyyy (four-digit years); the reader also takes the
// two-digit years of older settings files.
namespace design {

// Separator that stands for every '/' of a date pattern and of the short date form.
inline constexpr char16_t DateSeparator = u'/';

bool AnneeBissextile(int year);
// Days of a month 1-12 of a year; 0 for a month outside 1-12.
int JoursParMois(int year, int month);

// Moves a date by whole months, one month a round. The day is clamped to each month passed
// through, so a day lost in a short month stays lost (31 Jan + 2 months = 28 Mar).
// Throws EConvertError when the date leaves the years 1-9999.
QDate DecalerMois(int months, const QDate& date);
// Same month and day `years` later; 29 February becomes 28 February (for a non-zero offset).
// Throws EConvertError when the year leaves 1-9999.
QDate DecalerAns(int years, const QDate& date);
// `days` later; throws EConvertError when the date leaves the years 1-9999.
QDate AddDays(int days, const QDate& date);

// The six date patterns offered for a stamp; an index outside 0-5 gives pattern 0.
inline constexpr int DatePatternCount = 6;
QString DatePattern(int index);

// Formats a date with a pattern made of dd, dddd, mm, mmmm, yy, yyyy, '/' (the date separator)
// and literal characters. Day and month names are the default locale's.
// Throws EConvertError for an invalid date or a year outside 1-9999.
QString FormatDate(const QString& pattern, const QDate& date);

// The short date form used in the settings file: dd/mm/yyyy.
QString ShortDateString(const QDate& date);
// Reads a short date: day, month, year separated by '/', '.' or '-'; a year of one or two digits
// is taken in the century window around `today` (within 50 years of it).
// Throws EConvertError ("'x' is not a valid date") for anything else.
QDate StrToDate(const QString& text, const QDate& today = QDate::currentDate());

} // namespace design
