#include "DesignTools.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Every picture is drawn on a 20 x 20 grid.
void drawTool(QPainter& p, TDesignTool tool)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QPen ink(QColor(30, 30, 30), 1.6);
    p.setPen(ink);
    switch (tool) {
    case TDesignTool::Selection: {
        QPainterPath arrow;
        arrow.moveTo(5, 2);
        arrow.lineTo(5, 16);
        arrow.lineTo(8.5, 12.5);
        arrow.lineTo(11, 18);
        arrow.lineTo(13, 17);
        arrow.lineTo(10.5, 11.5);
        arrow.lineTo(15, 11.5);
        arrow.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(arrow);
        break;
    }
    case TDesignTool::Line:
        p.setPen(QPen(QColor(30, 30, 30), 2.2));
        p.drawLine(QPointF(3, 17), QPointF(17, 3));
        break;
    case TDesignTool::Rectangle:
        p.setBrush(QColor(170, 200, 240));
        p.drawRect(QRectF(3, 5, 14, 10));
        break;
    case TDesignTool::RoundRect:
        p.setBrush(QColor(170, 220, 170));
        p.drawRoundedRect(QRectF(3, 5, 14, 10), 4, 4);
        break;
    case TDesignTool::Ellipse:
        p.setBrush(QColor(240, 200, 150));
        p.drawEllipse(QRectF(2.5, 4.5, 15, 11));
        break;
    case TDesignTool::Text: {
        QFont f(QStringLiteral("Liberation Serif"));
        f.setPixelSize(16);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, QStringLiteral("A"));
        break;
    }
    case TDesignTool::Memo:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 2.5, 15, 15));
        p.setPen(QPen(QColor(30, 30, 30), 1.2));
        for (int y : {6, 9, 12, 15})
            p.drawLine(QPointF(5, y), QPointF(y == 15 ? 11 : 15, y));
        break;
    case TDesignTool::RotateLabel: {
        QFont f(QStringLiteral("Liberation Serif"));
        f.setPixelSize(14);
        f.setBold(true);
        p.setFont(f);
        p.translate(10, 10);
        p.rotate(-35);
        p.drawText(QRectF(-10, -10, 20, 20), Qt::AlignCenter, QStringLiteral("ab"));
        break;
    }
    case TDesignTool::CircleLabel: {
        p.setPen(QPen(QColor(150, 150, 150), 1, Qt::DotLine));
        p.drawEllipse(QRectF(3, 3, 14, 14));
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPixelSize(7);
        f.setBold(true);
        p.setFont(f);
        p.setPen(ink);
        for (int i = 0; i < 5; ++i) {
            p.save();
            p.translate(10, 10);
            p.rotate(-90 + i * 45);
            p.drawText(QRectF(-3, -10, 6, 7), Qt::AlignCenter, QString(QChar(u'a' + i)));
            p.restore();
        }
        break;
    }
    case TDesignTool::Image:
        p.setBrush(QColor(200, 230, 250));
        p.drawRect(QRectF(2.5, 4.5, 15, 12));
        p.setBrush(QColor(90, 150, 90));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(3.5, 15.5), QPointF(8.5, 9), QPointF(12, 13), QPointF(14, 11), QPointF(16.5, 15.5)}));
        p.setBrush(QColor(240, 200, 40));
        p.drawEllipse(QRectF(12, 6.5, 3, 3));
        break;
    case TDesignTool::Barcode: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 20, 20));
        const int bars[] = {1, 2, 1, 1, 3, 1, 2, 1, 1, 2};
        double x = 2.5;
        for (int i = 0; i < 10; ++i) {
            if (i % 2 == 0)
                p.drawRect(QRectF(x, 3, bars[i] * 0.9, 14));
            x += bars[i] * 0.9 + 0.6;
        }
        break;
    }
    }
}

QPixmap toolPixmap(TDesignTool tool, int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.scale(side / 20.0, side / 20.0);
    drawTool(p, tool);
    return pixmap;
}

} // namespace

QIcon DesignToolIcon(TDesignTool tool)
{
    QIcon icon;
    for (int side : {20, 40})
        icon.addPixmap(toolPixmap(tool, side));
    return icon;
}

QCursor DesignToolCursor(TDesignTool tool)
{
    switch (tool) {
    case TDesignTool::Selection:
        return Qt::ArrowCursor;
    case TDesignTool::Line:
    case TDesignTool::Memo:
    case TDesignTool::Barcode:
        return Qt::CrossCursor;
    default:
        break;
    }
    // A cross whose centre is the hot spot, the tool's picture beside it.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 7, 14, 7);
    p.drawLine(7, 0, 7, 14);
    p.setPen(QPen(Qt::white, 1));
    p.drawPoint(7, 7);
    p.translate(12, 12);
    p.scale(0.9, 0.9);
    drawTool(p, tool == TDesignTool::RotateLabel || tool == TDesignTool::CircleLabel ? TDesignTool::Text : tool);
    p.end();
    return QCursor(pixmap, 7, 7);
}

QIcon DesignCommandIcon(TDesignCommand command)
{
    QPixmap pixmap(40, 40);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2, 2);
    p.setPen(QPen(QColor(30, 30, 30), 1.4));
    switch (command) {
    case TDesignCommand::Save:
        p.setBrush(QColor(70, 110, 190));
        p.drawRoundedRect(QRectF(3, 3, 14, 14), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 3, 8, 5));
        p.drawRect(QRectF(5.5, 11, 9, 6));
        break;
    case TDesignCommand::EraseAll:
        p.setBrush(QColor(240, 170, 180));
        p.translate(10, 10);
        p.rotate(-35);
        p.drawRoundedRect(QRectF(-7, -4, 14, 8), 1.5, 1.5);
        p.drawLine(QPointF(-2, -4), QPointF(-2, 4));
        break;
    case TDesignCommand::Palette:
        p.setBrush(QColor(170, 200, 240));
        p.drawLine(QPointF(3, 2), QPointF(3, 18));
        p.drawRect(QRectF(3, 4, 12, 4));
        p.drawRect(QRectF(3, 11, 8, 4));
        break;
    case TDesignCommand::Format:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 2, 14, 16));
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.drawRect(QRectF(5, 4, 4.5, 3));
        p.drawRect(QRectF(10.5, 4, 4.5, 3));
        p.drawRect(QRectF(5, 8.5, 4.5, 3));
        p.drawRect(QRectF(10.5, 8.5, 4.5, 3));
        p.drawRect(QRectF(5, 13, 4.5, 3));
        p.drawRect(QRectF(10.5, 13, 4.5, 3));
        break;
    case TDesignCommand::Preview:
        p.setBrush(QColor(220, 235, 250));
        p.drawEllipse(QRectF(3, 3, 10, 10));
        p.setPen(QPen(QColor(30, 30, 30), 2.4));
        p.drawLine(QPointF(12, 12), QPointF(17, 17));
        break;
    case TDesignCommand::Help: {
        p.setBrush(QColor(250, 220, 90));
        p.drawEllipse(QRectF(2.5, 2.5, 15, 15));
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
    p.end();
    return QIcon(pixmap);
}
