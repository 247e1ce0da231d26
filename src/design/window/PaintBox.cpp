#include "PaintBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <exception>

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

void TPaintBox::paintEvent(QPaintEvent* event)
{
    if (!OnPaint)
        return;
    try {
        QPainter painter(this);
        OnPaint(painter, event->rect());
    } catch (const std::exception&) {
        // Nothing may leave a paint event: what was drawn stays.
    }
}

void TPaintBox::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(event);
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event)
{
    if (OnMouseMove)
        OnMouseMove(event);
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (OnMouseUp)
        OnMouseUp(event);
}
