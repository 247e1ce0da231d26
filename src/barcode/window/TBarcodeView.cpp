#include "barcode/window/TBarcodeView.h"

#include "barcode/Barcode.h"
#include "platform/TCanvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace barcode {

TBarcodeView::TBarcodeView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

TBarcodeView::~TBarcodeView()
{
    release();
}

void TBarcodeView::release()
{
    // The barcode's callbacks point at this view; a barcode that outlives it must not call them.
    // A barcode destroyed first has already cleared m_barcode through OnDestroy.
    if (!m_barcode)
        return;
    m_barcode->OnInvalidate = nullptr;
    m_barcode->OnDestroy = nullptr;
    m_barcode = nullptr;
}

void TBarcodeView::SetBarcode(TCustomBarcode* barcode)
{
    release();
    m_barcode = barcode;
    if (m_barcode) {
        m_barcode->OnInvalidate = [this] { Refresh(); };
        m_barcode->OnDestroy = [this] {
            m_barcode = nullptr;
            update();
        };
        // Shown means drawn: a barcode no setting has touched yet takes its symbol's size too.
        m_barcode->Measure();
    }
    Refresh();
}

void TBarcodeView::Refresh()
{
    if (m_barcode)
        resize(std::max(1, m_barcode->Width()), std::max(1, m_barcode->Height()));
    update();
}

void TBarcodeView::paintEvent(QPaintEvent*)
{
    if (!m_barcode)
        return;
    QPainter painter(this);
    bool drawn = false;
    // Nothing may leave a paint event: an encoder error is kept for the dialog and shown as a
    // crossed frame.
    try {
        platform::TCanvas canvas(&painter);
        canvas.SetLogPixels(TCustomBarcode::DesignPixelsPerInch, TCustomBarcode::DesignPixelsPerInch);
        m_barcode->Paint(canvas);
        m_barcode->SetLastError({});
        drawn = true;
    } catch (const platform::Exception& e) {
        m_barcode->SetLastError(e.message());
    } catch (const std::exception& e) {
        m_barcode->SetLastError(QString::fromLocal8Bit(e.what()));
    }
    if (!drawn) {
        painter.resetTransform();
        painter.setPen(QPen(Qt::gray, 1));
        painter.setBrush(Qt::NoBrush);
        const QRect frame = rect().adjusted(0, 0, -1, -1);
        painter.drawRect(frame);
        painter.drawLine(frame.topLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomLeft());
    }
}

void TBarcodeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
    QWidget::mouseReleaseEvent(event);
}

void TBarcodeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit DblClick();
    QWidget::mouseDoubleClickEvent(event);
}

} // namespace barcode
