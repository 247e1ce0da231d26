#include "DesignFileValues.h"

#include "platform/Errors.h"

#include <QFileInfo>

namespace design {

void TDesignValueReader::fail(const QString& what, int line) const
{
    throw platform::EConvertError(QStringLiteral("%1 (%2, line %3)")
                                      .arg(what, QFileInfo(m_r.fileName()).fileName())
                                      .arg(line > 0 ? line : m_r.lineNumber()));
}

void TDesignValueReader::check(int v, int maxAbs, const char* what, int line) const
{
    checked(v, 0, maxAbs, what, line);
}

int TDesignValueReader::checked(int value, std::int64_t offset, int maxAbs, const char* what,
                                int line) const
{
    const std::int64_t v = value + offset;
    if (v < -maxAbs || v > maxAbs) {
        const QString moved = offset == 0 ? QString() : QStringLiteral(" moved by %1").arg(offset);
        fail(QStringLiteral("%1%2 is beyond the largest %3 (%4)")
                 .arg(value)
                 .arg(moved, QLatin1String(what))
                 .arg(maxAbs),
             line);
    }
    return static_cast<int>(v);
}

} // namespace design
