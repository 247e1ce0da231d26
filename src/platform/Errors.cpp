#include "Errors.h"

namespace platform {

QString convertMessage(const QString& text, const QString& file, int line)
{
    QString m = QStringLiteral("'%1' is not a valid integer value").arg(text);
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
