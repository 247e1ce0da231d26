#pragma once

#include <QString>
#include <ostream>

// Failure messages show texts rather than their bytes.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
