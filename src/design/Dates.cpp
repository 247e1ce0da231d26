#include "Dates.h"

#include "platform/Errors.h"

#include <QLocale>
#include <QRegularExpression>

namespace design {

namespace {

constexpr int MinYear = 1;
constexpr int MaxYear = 9999;

[[noreturn]] void outOfRange()
{
    throw platform::EConvertError(QStringLiteral("Invalid argument to date encode"));
}

void checkYear(long long year)
{
    if (year < MinYear || year > MaxYear)
        outOfRange();
}

QString twoDigits(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

bool AnneeBissextile(int year)
{
    return year % 4 == 0 && !(year % 100 == 0 && year % 400 != 0);
}

int JoursParMois(int year, int month)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return days[month - 1] + (month == 2 && AnneeBissextile(year) ? 1 : 0);
}

QDate DecalerMois(int months, const QDate& date)
{
    if (months == 0)
        return date;
    int y = date.year();
    int m = date.month();
    int d = date.day();
    const int step = months > 0 ? 1 : -1;
    // Round by round, as the clamp must see every month on the way. The range check bounds the
    // loop to about 120 000 rounds whatever the offset typed.
    for (long long left = months > 0 ? months : -static_cast<long long>(months); left > 0; --left) {
        m += step;
        if (m > 12) {
            m = 1;
            ++y;
        } else if (m < 1) {
            m = 12;
            --y;
        }
        checkYear(y);
        const int last = JoursParMois(y, m);
        if (d >= last)
            d = last;
    }
    return QDate(y, m, d);
}

QDate DecalerAns(int years, const QDate& date)
{
    // An offset of 0 is the reference date itself: turning 29 February into 28 would print a
    // date the user never asked for.
    if (years == 0)
        return date;
    const long long y = static_cast<long long>(date.year()) + years;
    checkYear(y);
    const int d = date.month() == 2 && date.day() == 29 ? 28 : date.day();
    return QDate(static_cast<int>(y), date.month(), d);
}

QDate AddDays(int days, const QDate& date)
{
    const QDate r = date.addDays(days);
    if (!r.isValid())
        outOfRange();
    checkYear(r.year());
    return r;
}

QString DatePattern(int index)
{
    static const char* const patterns[DatePatternCount] = {
        "dd/mm/yy", "dd-mm-yy", "dd/mm/yyyy", "dd-mm-yyyy", "dd mmmm yyyy", "dddd dd mmmm yyyy",
    };
    if (index < 0 || index >= DatePatternCount)
        index = 0;
    return QString::fromLatin1(patterns[index]);
}

QString FormatDate(const QString& pattern, const QDate& date)
{
    if (!date.isValid())
        outOfRange();
    checkYear(date.year());
    const QLocale locale;
    QString out;
    const qsizetype n = pattern.size();
    qsizetype i = 0;
    auto run = [&](QChar c) {
        qsizetype k = i;
        while (k < n && pattern[k].toLower() == c)
            ++k;
        return k - i;
    };
    while (i < n) {
        const QChar c = pattern[i].toLower();
        if (c == u'd') {
            const qsizetype k = run(u'd');
            if (k >= 4)
                out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
            else if (k == 3)
                out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
            else if (k == 2)
                out += twoDigits(date.day());
            else
                out += QString::number(date.day());
            i += k;
        } else if (c == u'm') {
            const qsizetype k = run(u'm');
            if (k >= 4)
                out += locale.monthName(date.month(), QLocale::LongFormat);
            else if (k == 3)
                out += locale.monthName(date.month(), QLocale::ShortFormat);
            else if (k == 2)
                out += twoDigits(date.month());
            else
                out += QString::number(date.month());
            i += k;
        } else if (c == u'y') {
            const qsizetype k = run(u'y');
            out += k <= 2 ? twoDigits(date.year() % 100)
                          : QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            i += k;
        } else if (c == u'/') {
            out += QChar(DateSeparator);
            ++i;
        } else {
            out += pattern[i];
            ++i;
        }
    }
    return out;
}

QString ShortDateString(const QDate& date)
{
    return FormatDate(QStringLiteral("dd/mm/yyyy"), date);
}

QDate StrToDate(const QString& text, const QDate& today)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{1,2})\\s*[/.-]\\s*(\\d{1,2})\\s*[/.-]\\s*(\\d{1,4})\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    auto fail = [&]() -> QDate {
        throw platform::EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    };
    if (!m.hasMatch())
        return fail();
    const int d = m.captured(1).toInt();
    const int mo = m.captured(2).toInt();
    int y = m.captured(3).toInt();
    if (m.captured(3).size() <= 2) {
        // Older files wrote two-digit years: place them within 50 years of today.
        const int base = (today.isValid() ? today.year() : QDate::currentDate().year()) - 50;
        y += base / 100 * 100;
        if (y < base)
            y += 100;
    }
    if (y < MinYear || y > MaxYear || mo < 1 || mo > 12 || d < 1 || d > JoursParMois(y, mo))
        return fail();
    return QDate(y, mo, d);
}

} // namespace design
