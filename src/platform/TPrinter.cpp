#include "platform/TPrinter.h"

namespace platform {

TPrinter::~TPrinter() = default;

void TPrinter::SetCopies(int copies)
{
    m_copies = copies < 1 ? 1 : copies;
}

void TPrinter::SetTitle(const QString& title)
{
    m_title = title;
}

void TPrinter::SetOrientation(TPrinterOrientation orientation)
{
    requireIdle("orientation");
    m_orientation = orientation;
}

void TPrinter::requireIdle(const char*) const
{
    if (m_printing)
        throw EPrinter(QStringLiteral("Printing in progress"));
}

void TPrinter::requirePrinting(const char*) const
{
    if (!m_printing)
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
}

} // namespace platform
