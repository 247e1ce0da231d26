#include "Numbers.h"

#include "Errors.h"
#include "TextFile.h"

#include <QLocale>
#include <cmath>

namespace platform {

QString FormatFixed(double value, int decimals)
{
    // QString::number uses the shortest exact decimal of the double and rounds it half away
    // from zero at the given precision.
    QString s = QString::number(value, 'f', decimals);
    if (s.startsWith(u'-')) {
        bool allZero = true;
        for (QChar c : s)
            if (c.isDigit() && c != u'0')
                allZero = false;
        if (allZero)
            s.remove(0, 1); // "-0,00" reads as a fault to the user
    }
    s.replace(u'.', u',');
    return s;
}

double ParseDecimal(const QString& text, bool* ok)
{
    const QString t = text.trimmed();
    *ok = false;
    if (t.isEmpty() || t.contains(u'.'))
        return 0;
    qsizetype i = 0;
    if (t[0] == u'+' || t[0] == u'-')
        ++i;
    bool digits = false;
    bool comma = false;
    for (; i < t.size(); ++i) {
        if (t[i].isDigit() && t[i].unicode() < 128)
            digits = true;
        else if (t[i] == u',' && !comma)
            comma = true;
        else
            return 0;
    }
    if (!digits)
        return 0;
    QString c = t;
    c.replace(u',', u'.');
    return QLocale::c().toDouble(c, ok);
}

double StrToFloat(const QString& text)
{
    bool ok;
    const double v = ParseDecimal(text, &ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return v;
}

int StrToInt(const QString& text)
{
    bool ok;
    const int v = parseIntegerLine(text.trimmed(), &ok);
    if (!ok)
        throw EConvertError(convertMessage(text));
    return v;
}

int StrToIntDef(const QString& text, int def)
{
    bool ok;
    const int v = parseIntegerLine(text.trimmed(), &ok);
    return ok ? v : def;
}

} // namespace platform
