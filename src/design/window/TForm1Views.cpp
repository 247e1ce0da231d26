// The design window's views of the objects, the selection over them, and what follows a change
// of the design: the views' cut at the label's edge and the live preview.
#include "TForm1.h"
#include "ui_TForm1.h"

#include "ObjectViews.h"
#include "TStretchHandle.h"

#include "design/Renderer.h"
#include "platform/window/Application.h"

#include <QComboBox>

using namespace design;

// --- A change of the design ---

void TForm1::DesignEdited()
{
    m_model->Modifie = true;
    DesignChanged();
}

void TForm1::DesignChanged()
{
    // The views are cut at once, before the surface paints again; the preview, which renders the
    // whole label (merge, barcodes, pictures), draws once when the current run of changes is over.
    followLabelSize();
    if (m_previewPending)
        return;
    m_previewPending = true;
    QMetaObject::invokeMethod(this, [this] {
        m_previewPending = false;
        followLabelSize();
        RefreshPreview();
    }, Qt::QueuedConnection);
}

void TForm1::followLabelSize()
{
    const QSize label(m_model->LargeurEtiquettePx, m_model->HauteurEtiquettePx);
    if (label == m_labelSize)
        return;
    m_labelSize = label;
    // Each view shows only its part within the label (the selection frame follows its views'
    // masks by itself); the preview takes the label's proportions when it draws.
    for (QWidget* view : std::as_const(m_views))
        if (auto* v = qobject_cast<TDesignObjectView*>(view))
            v->UpdateMask();
}

// --- Views ---

void TForm1::objectCreated(TDesignObject& object)
{
    TDesignObjectView* view = MakeObjectView(object, ui->Feuille);
    m_views.insert(&object, view);
    m_objects.insert(view, &object);
    view->OnMouseDown = [this, view](QMouseEvent* e) {
        platform::runReportingErrors([&] { ObjectMouseDown(view, e); });
    };
    if (auto* memo = qobject_cast<TMemoView*>(view)) {
        connect(memo, &TMemoView::Entered, this, [this, memo] { MemoEnter(memo); });
        connect(memo, &TMemoView::Exited, this, [this, memo] { MemoExit(memo); });
        connect(memo, &TMemoView::Edited, this, &TForm1::MemoChange);
    }
    view->LabelArea = [this] { return QRect(0, 0, m_model->LargeurEtiquettePx, m_model->HauteurEtiquettePx); };
    view->UpdateMask();
    view->show();
    // Objects come in design order, so a new view goes on top of its layer: under the lowest view
    // of a higher layer. Restacking every view at each creation would cost the square of the
    // objects when a design opens.
    const int layer = surfaceLayer(object);
    QWidget* higher = nullptr;
    for (QObject* child : ui->Feuille->children())
        if (child != view && child->isWidgetType())
            if (const TDesignObject* o = m_objects.value(static_cast<QWidget*>(child));
                o != nullptr && surfaceLayer(*o) > layer) {
                higher = static_cast<QWidget*>(child);
                break;
            }
    if (higher != nullptr)
        view->stackUnder(higher);
    else
        view->raise();
    SH->raise();
    ui->ComboBox->raise();
    // Placed, pasted or read: however an object came, the design changed.
    DesignChanged();
}

int TForm1::surfaceLayer(const TDesignObject& object)
{
    // The surface shows what prints: kinds lie over each other as they are drawn on the label, except
    // that a text block, edited in place, lies above everything so nothing covers what is typed.
    return Is<TMemo>(&object) ? DesignObjectKindCount : PrintLayer(object.Kind());
}

void TForm1::stackViews()
{
    // Layer by layer, each in design order (brought to the front: last), then the frame and the
    // field-code list above all.
    for (int layer = 0; layer <= DesignObjectKindCount; ++layer)
        for (const auto& o : m_model->Objects())
            if (surfaceLayer(*o) == layer)
                if (QWidget* view = m_views.value(o.get()))
                    view->raise();
    SH->raise();
    ui->ComboBox->raise();
}


void TForm1::objectFreeing(TDesignObject& object)
{
    QWidget* view = m_views.value(&object);
    if (view == nullptr)
        return;
    if (SH->IsAttached(view)) {
        std::vector<TDesignObject*> keep;
        for (TDesignObject* o : Selection())
            if (o != &object)
                keep.push_back(o);
        SH->Detach();
        for (TDesignObject* o : keep)
            SH->Attach(m_views.value(o));
    }
    if (MemoEnCours.data() == view) {
        ui->ComboBox->hide();
        MemoEnCours = nullptr;
    }
    m_views.remove(&object);
    m_objects.remove(view);
    view->hide();
    view->deleteLater();
    DesignChanged();
}

QWidget* TForm1::ViewOf(const TDesignObject* object) const
{
    return m_views.value(object);
}

TDesignObject* TForm1::ObjectOf(const QWidget* view) const
{
    return m_objects.value(view);
}

std::vector<TDesignObject*> TForm1::Selection() const
{
    std::vector<TDesignObject*> out;
    for (int i = 0; i < SH->AttachedCount(); ++i)
        if (TDesignObject* o = ObjectOf(SH->Attached(i)))
            out.push_back(o);
    return out;
}

void TForm1::Select(TDesignObject* object, bool add)
{
    if (!add)
        SH->Detach();
    QWidget* view = ViewOf(object);
    if (view == nullptr)
        return;
    SH->Attach(view);
    // The last object selected is the current one, whatever selected it.
    m_model->ObjetCourant = object;
    RectObjetCourant = object->BoundsRect();
    // Whatever changed the selection, the palette offers only what it can do.
    UpdateAlignPalette();
}

void TForm1::EmptySelection()
{
    SH->Detach();
    UpdateAlignPalette();
}

