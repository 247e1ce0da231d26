#pragma once

#include <QWidget>

#include <functional>

class QMouseEvent;
class QPainter;

// A widget that only paints through its owner and reports the mouse: the design window's paint box
// under the objects of the work surface. The pointer is tracked without a button held, so that
// the owner can show where it is.
class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent = nullptr);

    std::function<void(QPainter&, const QRect& exposed)> OnPaint;
    std::function<void(QMouseEvent*)> OnMouseDown;
    std::function<void(QMouseEvent*)> OnMouseMove;
    std::function<void(QMouseEvent*)> OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
