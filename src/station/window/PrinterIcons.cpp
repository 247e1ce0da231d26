#include "PrinterIcons.h"

#include <QPainter>
#include <QPixmap>

namespace station {

namespace {

// A printer seen from the front, drawn on a 32-unit square: the paper going in at the back, the
// body, and the sheet coming out, printed for the print command; the printer set-up command's
// has a cog wheel over it instead.
QPixmap drawPrinter(int side, bool setup)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 32.0, side / 32.0);
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 2.5, 15, 10));
    p.setBrush(QColor(150, 155, 165));
    p.drawRoundedRect(QRectF(2.5, 11.5, 27, 12), 2, 2);
    p.setBrush(QColor(90, 200, 90));
    p.drawEllipse(QRectF(24, 14, 3, 3));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 18.5, 15, 11));
    if (!setup) {
        p.setPen(QPen(QColor(40, 40, 40), 1));
        for (double y : {22.0, 24.5, 27.0})
            p.drawLine(QPointF(11, y), QPointF(21, y));
        return pixmap;
    }
    p.translate(23, 23);
    p.setPen(QPen(QColor(30, 60, 140), 1));
    p.setBrush(QColor(60, 100, 200));
    for (int tooth = 0; tooth < 8; ++tooth) {
        p.drawRect(QRectF(-1.5, -8, 3, 4));
        p.rotate(45);
    }
    p.drawEllipse(QRectF(-6, -6, 12, 12));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(-2.2, -2.2, 4.4, 4.4));
    return pixmap;
}

// The theme's icon when it has one; else ours, drawn at the usual sizes.
QIcon themedIcon(const QString& name, bool setup)
{
    QIcon drawn;
    for (int side : {16, 24, 32, 48})
        drawn.addPixmap(drawPrinter(side, setup));
    return QIcon::fromTheme(name, drawn);
}

} // namespace

QIcon PrintIcon()
{
    return themedIcon(QStringLiteral("document-print"), false);
}

QIcon PrinterSetupIcon()
{
    return themedIcon(QStringLiteral("printer"), true);
}

} // namespace station
