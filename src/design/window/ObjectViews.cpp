#include "ObjectViews.h"

#include "design/DesignModel.h"
#include "design/ObjectGeometry.h"
#include "design/Pictures.h"
#include "design/PreparedLabel.h"
#include "design/Renderer.h"

#include "platform/FontEngine.h"

#include "platform/TCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
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
    recordChanged();
    // A new brush or pen may change where the object can be hit.
    UpdateMask();
    update();
}

void TDesignObjectView::SetObjectBounds(const QRect& bounds)
{
    m_object->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    Refresh();
}

QRegion TDesignObjectView::hitRegion() const
{
    return QRegion(rect());
}

QRegion TDesignObjectView::pastLabel() const
{
    if (!LabelArea || !cutAtLabel())
        return {};
    const QRect label = LabelArea();
    if (!label.isValid())
        return {};
    return QRegion(rect()) - QRegion(label.translated(-pos()));
}

namespace {
// The band of the outline past the label: the dotted line runs along its middle, and the band is
// wide enough to be grabbed.
constexpr int OutlineBand = 3;
} // namespace

QRegion TDesignObjectView::outlinePastLabel() const
{
    const QRegion past = pastLabel();
    if (past.isEmpty())
        return {};
    return (QRegion(rect()) - QRegion(rect().adjusted(OutlineBand, OutlineBand, -OutlineBand, -OutlineBand))) & past;
}

void TDesignObjectView::UpdateMask()
{
    // Past the label's edge, where print draws nothing, only the object's outline shows: what is
    // cut stays to be seen and grabbed, and an object placed wholly beside the label is not lost.
    const QRegion shown = (hitRegion() - pastLabel()) + outlinePastLabel();
    const QRegion before = mask();
    if (shown == QRegion(rect()))
        clearMask();
    else if (shown.isEmpty())
        // An empty mask would mean no mask at all: a pixel outside the view shows nothing.
        setMask(QRegion(-1, -1, 1, 1));
    else
        setMask(shown);
    outlineChanged();
    if (mask() != before)
        emit MaskChanged();
}

void TDesignObjectView::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    UpdateMask();
}

void TDesignObjectView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UpdateMask();
}

void TDesignObjectView::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        {
            platform::TCanvas canvas(&painter);
            paintObject(canvas);
        }
        paintOutlinePastLabel(painter);
    } catch (const std::exception&) {
        // A paint event draws what it can and reports nothing.
    }
}

void TDesignObjectView::paintOutlinePastLabel(QPainter& painter) const
{
    const QRegion outline = outlinePastLabel();
    if (outline.isEmpty())
        return;
    painter.save();
    painter.setClipRegion(outline);
    // The band lies on the surface beside the label, and takes its colour.
    painter.fillRect(rect(), platform::ToQColor(SurfaceColor));
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(OutlineBand / 2, OutlineBand / 2, -1 - OutlineBand / 2, -1 - OutlineBand / 2));
    painter.restore();
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

void TRenderedObjectView::paintObject(platform::TCanvas& canvas)
{
    DrawObject(canvas, PrepareAsDesigned(Object()), TDrawTarget{});
}

TImageView::TImageView(TImage* image, QWidget* parent)
    : TRenderedObjectView(image, image != nullptr ? nullptr : std::make_unique<TImage>(), parent)
{
}

void TImageView::paintObject(platform::TCanvas& canvas)
{
    const TImage& image = Image();
    if (image.Hint.startsWith(u'<'))
        DrawFieldPlaceholder(canvas, platform::Bounds(0, 0, image.Width, image.Height), image.Hint);
    else
        TRenderedObjectView::paintObject(canvas);
}

TShapeView::TShapeView(TShape* shape, QWidget* parent)
    : TRenderedObjectView(shape, shape != nullptr ? nullptr : std::make_unique<TShape>(), parent)
{
}

QRegion TShapeView::hitRegion() const
{
    const TShape& shape = Shape();
    if (shape.Brush.Style() != platform::bsClear)
        return TDesignObjectView::hitRegion();
    // The outline as drawn, widened so that a thin one can still be hit.
    const int band = std::max(1, shape.Pen.Width()) + 2;
    const auto outline = [&shape](const QRectF& r) {
        QPainterPath path;
        switch (shape.Shape) {
        case stEllipse:
            path.addEllipse(r);
            break;
        case stRoundRect: {
            const qreal radius = std::min(r.width(), r.height()) / 8.0;
            path.addRoundedRect(r, radius, radius);
            break;
        }
        case stRectangle:
            path.addRect(r);
            break;
        }
        return QRegion(path.toFillPolygon().toPolygon());
    };
    const QRectF outer(rect());
    const QRectF inner = outer.adjusted(band, band, -band, -band);
    if (inner.width() <= 0 || inner.height() <= 0)
        return QRegion(rect());
    return outline(outer) - outline(inner);
}

TLabelView::TLabelView(TLabel* label, QWidget* parent)
    : TRenderedObjectView(label, label != nullptr ? nullptr : std::make_unique<TLabel>(), parent)
{
}

TBarcodeObjectView::TBarcodeObjectView(TBarcodeObject* barcode, QWidget* parent)
    : TRenderedObjectView(barcode, barcode != nullptr ? nullptr : std::make_unique<TBarcodeObject>(), parent)
{
}

void TBarcodeObjectView::paintObject(platform::TCanvas& canvas)
{
    try {
        TRenderedObjectView::paintObject(canvas);
    } catch (const std::exception&) {
        // Left visible, so that it can still be selected and put right.
        canvas.Pen.SetColor(platform::clGray);
        canvas.Brush.SetStyle(platform::bsClear);
        const int w = width();
        const int h = height();
        canvas.Rectangle(0, 0, w, h);
        canvas.MoveTo(0, 0);
        canvas.LineTo(w, h);
        canvas.MoveTo(w, 0);
        canvas.LineTo(0, h);
    }
}

TMemoView::TMemoView(TMemo* memo, QWidget* parent)
    : TDesignObjectView(memo, memo != nullptr ? nullptr : std::make_unique<TMemo>(), parent),
      m_editor(new QPlainTextEdit(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // With the 1-pixel border the lines start 2 pixels in, as printed.
    m_editor->document()->setDocumentMargin(1);
    // A right click opens the block's property menu, not the editor's own.
    m_editor->setContextMenuPolicy(Qt::NoContextMenu);
    m_editor->installEventFilter(this);
    m_editor->viewport()->installEventFilter(this);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (m_loading)
            return;
        const QString text = m_editor->toPlainText();
        Memo().Lines = text.isEmpty() ? QStringList() : text.split(u'\n');
        emit Edited();
    });
    recordChanged();
    const TMemo& m = Memo();
    const int end = m_editor->document()->characterCount() - 1;
    QTextCursor cursor = m_editor->textCursor();
    cursor.setPosition(std::clamp(m.SelStart, 0, end));
    cursor.setPosition(std::clamp(m.SelStart + m.SelLength, 0, end), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
}

void TMemoView::outlineChanged()
{
    if (m_editor == nullptr)
        return;
    const QRegion band = outlinePastLabel().translated(-m_editor->pos());
    if (band.isEmpty())
        m_editor->clearMask();
    else
        m_editor->setMask(QRegion(m_editor->rect()) - band);
}

void TMemoView::mousePressEvent(QMouseEvent* event)
{
    TDesignObjectView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && m_editor != nullptr)
        m_editor->setFocus(Qt::MouseFocusReason);
}

void TMemoView::ScrollToTop()
{
    m_editor->verticalScrollBar()->setValue(0);
    m_editor->horizontalScrollBar()->setValue(0);
}

void TMemoView::recordChanged()
{
    const TMemo& m = Memo();
    m_loading = true;
    const platform::TFont& f = m.Font;
    m_editor->setFont(platform::fontengine::face(f.Name(), f.Height(), f.Style(), TDesignModel::DesignPixelsPerInch)->font);
    QPalette palette = m_editor->palette();
    palette.setColor(QPalette::Base, platform::ToQColor(m.Color));
    palette.setColor(QPalette::Text, platform::ToQColor(f.Color()));
    palette.setColor(QPalette::WindowText, Qt::black); // the border
    m_editor->setPalette(palette);
    m_editor->setFrameStyle(m.BorderStyle == bsSingle ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    m_editor->setLineWidth(1);
    m_editor->setLineWrapMode(m.WordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    QTextOption option = m_editor->document()->defaultTextOption();
    option.setAlignment(m.Alignment == taCenter         ? Qt::AlignHCenter
                        : m.Alignment == taRightJustify ? Qt::AlignRight
                                                        : Qt::AlignLeft);
    m_editor->document()->setDefaultTextOption(option);
    const QString text = m.Lines.join(u'\n');
    if (m_editor->toPlainText() != text)
        m_editor->setPlainText(text);
    m_loading = false;
}

bool TMemoView::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == m_editor->viewport() && OnMouseDown) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            OnMouseDown(mouse);
            // Other buttons than the left belong to the window (the property menu): the editor
            // would pass them on to this view, which would hand them to the window again.
            if (mouse->button() != Qt::LeftButton)
                return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == m_editor->viewport() && OnMouseDown) {
            OnMouseDown(static_cast<QMouseEvent*>(event));
            // A double click selects the block as an object: the editor does not select a word.
            return true;
        }
        break;
    case QEvent::FocusIn:
        if (watched == m_editor) {
            m_editing = true;
            UpdateMask();
            emit Entered();
        }
        break;
    case QEvent::FocusOut:
        if (watched == m_editor) {
            // Editing ends (not a menu or another program taking the keyboard for a moment): the
            // block shows its first line, as it prints.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                ScrollToTop();
                m_editing = false;
                UpdateMask();
            }
            emit Exited();
        }
        break;
    default:
        break;
    }
    return TDesignObjectView::eventFilter(watched, event);
}

TDesignObjectView* MakeObjectView(TDesignObject& object, QWidget* parent)
{
    TDesignObjectView* view = nullptr;
    switch (object.Kind()) {
    case TDesignObjectKind::Image:
        view = new TImageView(static_cast<TImage*>(&object), parent);
        break;
    case TDesignObjectKind::Shape:
        view = new TShapeView(static_cast<TShape*>(&object), parent);
        break;
    case TDesignObjectKind::Label:
        view = new TLabelView(static_cast<TLabel*>(&object), parent);
        break;
    case TDesignObjectKind::RotateLabel:
        view = new TRotateLabelView(static_cast<TRotateLabel*>(&object), parent);
        break;
    case TDesignObjectKind::Line:
        view = new TLineView(static_cast<TLine*>(&object), parent);
        break;
    case TDesignObjectKind::Memo:
        view = new TMemoView(static_cast<TMemo*>(&object), parent);
        break;
    case TDesignObjectKind::CircleLabel:
        view = new TCircleLabelView(static_cast<TCircleLabel*>(&object), parent);
        break;
    case TDesignObjectKind::Barcode:
        view = new TBarcodeObjectView(static_cast<TBarcodeObject*>(&object), parent);
        break;
    }
    view->Refresh();
    return view;
}
