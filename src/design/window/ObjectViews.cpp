#include "ObjectViews.h"

#include "design/ObjectGeometry.h"

#include "platform/TCanvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <exception>

using namespace design;

TDesignObjectView::TDesignObjectView(TDesignObject* object, std::unique_ptr<TDesignObject> owned,
                                     QWidget* parent)
    : QWidget(parent), m_owned(std::move(owned)), m_object(object != nullptr ? object : m_owned.get())
{
}

TDesignObjectView::~TDesignObjectView() = default;

void TDesignObjectView::Refresh()
{
    LayoutObject(*m_object);
    setGeometry(m_object->Left, m_object->Top, m_object->Width, m_object->Height);
    setVisible(m_object->Visible);
    update();
}

void TDesignObjectView::SetObjectBounds(const QRect& bounds)
{
    m_object->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    Refresh();
}

void TDesignObjectView::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        platform::TCanvas canvas(&painter);
        paintObject(canvas);
    } catch (const std::exception&) {
        // A paint event draws what it can and reports nothing.
    }
}

void TDesignObjectView::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    if (OnMouseDown)
        OnMouseDown(event);
    else
        QWidget::mousePressEvent(event);
}

void TDesignObjectView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit Click();
}

TRotateLabelView::TRotateLabelView(TRotateLabel* label, QWidget* parent)
    : TDesignObjectView(label, label != nullptr ? nullptr : std::make_unique<TRotateLabel>(), parent)
{
}

TRotateLabelView::TRotateLabelView(QWidget* parent) : TRotateLabelView(nullptr, parent) {}

void TRotateLabelView::SetCaption(const QString& caption)
{
    Label().Caption = caption;
    Refresh();
}

void TRotateLabelView::paintObject(platform::TCanvas& canvas)
{
    PaintRotateLabel(canvas, Label());
}

TLineView::TLineView(TLine* line, QWidget* parent)
    : TDesignObjectView(line, line != nullptr ? nullptr : std::make_unique<TLine>(), parent)
{
}

void TLineView::paintObject(platform::TCanvas& canvas)
{
    PaintLine(canvas, Line());
}

TCircleLabelView::TCircleLabelView(TCircleLabel* label, QWidget* parent)
    : TDesignObjectView(label, label != nullptr ? nullptr : std::make_unique<TCircleLabel>(), parent)
{
}

void TCircleLabelView::paintObject(platform::TCanvas& canvas)
{
    PaintCircleLabel(canvas, Label());
}
