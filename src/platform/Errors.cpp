#include "Errors.h"

namespace platform {

QString quotedValue(const QString& text, bool fromFile)
{
    // A damaged or foreign file puts anything in a line meant for a number: its bytes read as
    // text are glyphs and control codes that say nothing to the user and can break the box. A
    // right number is plain ASCII, so a file's value is shown as such; a typed one as typed, but
    // for its control codes.
    constexpr qsizetype kLongest = 40;
    QString out;
    for (const QChar c : QStringView(text).left(kLongest)) {
        const bool shown = fromFile ? c.unicode() >= 0x20 && c.unicode() < 0x7F : c.isPrint();
        out += shown ? c : QChar(u'?');
    }
    if (text.size() > kLongest)
        out += QStringLiteral("...");
    return out;
}

QString convertMessage(const QString& text, const QString& file, int line)
{
    QString m = QStringLiteral("'%1' is not a valid integer value").arg(quotedValue(text, !file.isEmpty()));
    if (!file.isEmpty())
        m += line > 0 ? QStringLiteral(" (%1, line %2)").arg(file).arg(line)
                      : QStringLiteral(" (%1)").arg(file);
    return m;
}

QString readErrorMessage(const QString& file, const QString& reason)
{
    return QStringLiteral("Input/output error on %1: %2").arg(file, reason);
}

} // namespace platform
