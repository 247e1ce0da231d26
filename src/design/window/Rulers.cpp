#include "Rulers.h"

#include "design/RulerTicks.h"
#include "platform/Screen.h"

#include <QPainter>

TRuler::TRuler(Qt::Orientation orientation, QWidget* parent) : QWidget(parent), m_orientation(orientation)
{
    if (orientation == Qt::Horizontal)
        resize(768, 33);
    else
        resize(33, 1008);
}

void TRuler::SetOrig(int millimetre)
{
    if (millimetre == m_orig)
        return;
    m_orig = millimetre;
    repaint();
}

void TRuler::SetZoom(int percent)
{
    if (percent <= 0 || percent == m_zoom)
        return;
    m_zoom = percent;
    repaint();
}

void TRuler::SetColor(platform::TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void TRuler::setAlign(TRulerAlign align, TRulerAlign side1, TRulerAlign side2)
{
    if (align == alNone || align == side1 || align == side2)
        m_align = align;
}

void TRuler::paintEvent(QPaintEvent*)
{
    ++m_paints;
    QPainter p(this);
    p.setFont(font());
    p.fillRect(rect(), platform::ToQColor(m_color));
    p.setPen(Qt::black);
    p.drawRect(0, 0, width() - 1, height() - 1);
    const bool horizontal = m_orientation == Qt::Horizontal;
    const int extent = horizontal ? width() : height();
    const int textRoom = 1000;
    for (const design::TRulerTick& t :
         design::RulerTicks(m_orig, m_zoom, platform::ScreenPixelsPerInch(), extent)) {
        // A mark of length n covers pixels 1 to n - 1: the line's end pixel is left out, as the
        // rectangle's right and bottom edges are.
        if (horizontal)
            p.drawLine(t.Position, 1, t.Position, t.Length - 1);
        else
            p.drawLine(1, t.Position, t.Length - 1, t.Position);
        if (!t.Labelled)
            continue;
        const QString number = QString::number(t.Centimetres);
        const QRect box = horizontal ? QRect(t.Position + 3, 5, textRoom, textRoom)
                                     : QRect(5, t.Position + 3, textRoom, textRoom);
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop, number);
    }
}

THRuler::THRuler(QWidget* parent) : TRuler(Qt::Horizontal, parent) {}

TVRuler::TVRuler(QWidget* parent) : TRuler(Qt::Vertical, parent) {}
