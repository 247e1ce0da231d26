#include "PrintableArea.h"

#include "platform/Rounding.h"

#include <QPainter>

namespace station {

using platform::R;

TPrinterInfo DefaultPrinterInfo()
{
    // 210 x 297 mm less 5 mm all round, at ten pixels a millimetre so that it converts exactly.
    TPrinterInfo p;
    p.DpiX = 254;
    p.DpiY = 254;
    p.Offset = QPoint(50, 50);
    p.Printable = QSize(2000, 2870);
    return p;
}

std::function<TPrinterInfo()>& PrinterInfoSource()
{
    static std::function<TPrinterInfo()> source = DefaultPrinterInfo;
    return source;
}

TPrinterInfo CurrentPrinterInfo()
{
    const std::function<TPrinterInfo()>& source = PrinterInfoSource();
    TPrinterInfo p = source ? source() : DefaultPrinterInfo();
    if (p.DpiX <= 0 || p.DpiY <= 0)
        p = DefaultPrinterInfo();
    return p;
}

TArea100 PrintableArea100(const TPrinterInfo& p)
{
    TArea100 a;
    if (p.DpiX <= 0 || p.DpiY <= 0)
        return a;
    a.Left = R(p.Offset.x() * 2540.0 / p.DpiX);
    a.Top = R(p.Offset.y() * 2540.0 / p.DpiY);
    a.Right = R(p.Printable.width() * 2540.0 / p.DpiX) + a.Left;
    a.Bottom = R(p.Printable.height() * 2540.0 / p.DpiY) + a.Top;
    return a;
}

void DessinerZoneImprimable(QPainter& canvas, double s, const TPrinterInfo& printer)
{
    const TArea100 a = PrintableArea100(printer);
    if (a.Right > a.Left && a.Bottom > a.Top) {
        canvas.setPen(QPen(Qt::red, 1));
        canvas.setBrush(Qt::NoBrush);
        // The outline's right and bottom edges stand one pixel inside the far corner.
        const QPoint from(R(s * a.Left), R(s * a.Top));
        const QPoint to(R(s * a.Right), R(s * a.Bottom));
        canvas.drawRect(from.x(), from.y(), to.x() - from.x() - 1, to.y() - from.y() - 1);
    }
    canvas.setPen(QPen(Qt::white, 1));
    canvas.setBrush(QBrush(Qt::white, Qt::SolidPattern));
}

} // namespace station
