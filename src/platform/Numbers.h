#pragma once

#include <QString>

// Numbers as the program shows and reads them: ',' is the decimal separator everywhere,
// whatever the locale.
namespace platform {

// The one decimal separator: what FormatFixed writes, ParseDecimal reads and decimal edit boxes
// accept.
inline constexpr QChar DecimalSeparator = u',';

// Fixed number of decimals with the ',' separator: FormatFixed(2.5, 2) == "2,50".
QString FormatFixed(double value, int decimals);
// Parses "12", "-3,5", " 7,25 "; '.' is not a separator. Sets ok.
double ParseDecimal(const QString& text, bool* ok);
// Throws EConvertError ("'x' is not a valid floating point value") when not a number.
double StrToFloat(const QString& text);

// Decimal integer with optional blanks around and a sign; throws EConvertError otherwise.
int StrToInt(const QString& text);
int StrToIntDef(const QString& text, int def);
inline QString IntToStr(int v) { return QString::number(v); }

} // namespace platform

using platform::IntToStr;
using platform::StrToInt;
using platform::StrToIntDef;
