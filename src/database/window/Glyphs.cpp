#include "Glyphs.h"

#include <QPainter>
#include <QPixmap>

namespace database {

QIcon GlyphIcon(const QString& text, const QColor& colour)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(text.size() > 2 ? 10 : 17);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(pixmap.rect(), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

QIcon PrinterIcon(const QColor& ink)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 3.5, 9, 7));   // the sheet going in
    p.setBrush(QColor(160, 160, 160));
    p.drawRoundedRect(QRectF(3.5, 9.5, 17, 8), 1.5, 1.5); // the body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 14.5, 9, 6));  // the sheet coming out
    p.drawLine(QPointF(9.5, 17), QPointF(14.5, 17));
    return QIcon(pixmap);
}

} // namespace database
