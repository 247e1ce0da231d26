#include "FrameSelection.h"

#include "ObjectViews.h"
#include "TStretchHandle.h"

#include <QList>
#include <QPointer>

using design::TDesignObject;

TFrameSelection::TFrameSelection(TStretchHandle& frame, std::function<QWidget*(const TDesignObject*)> viewOf,
                                 std::function<TDesignObject*(const QWidget*)> objectOf)
    : m_frame(frame), m_viewOf(std::move(viewOf)), m_objectOf(std::move(objectOf))
{
}

std::vector<TDesignObject*> TFrameSelection::Selection() const
{
    std::vector<TDesignObject*> out;
    for (int i = 0; i < m_frame.AttachedCount(); ++i)
        if (TDesignObject* o = m_objectOf(m_frame.Attached(i)))
            out.push_back(o);
    return out;
}

void TFrameSelection::Detach()
{
    m_frame.Detach();
}

void TFrameSelection::Attach(TDesignObject& object)
{
    if (QWidget* view = m_viewOf(&object))
        m_frame.Attach(view);
}

void TFrameSelection::RefreshSelection()
{
    QList<QPointer<QWidget>> views;
    for (int i = 0; i < m_frame.AttachedCount(); ++i)
        views << m_frame.Attached(i);
    m_frame.Detach();
    for (const QPointer<QWidget>& view : views)
        if (view != nullptr)
            m_frame.Attach(view);
    if (QWidget* surface = m_frame.parentWidget())
        surface->update();
}

void TFrameSelection::Refresh(TDesignObject& object)
{
    if (auto* view = qobject_cast<TDesignObjectView*>(m_viewOf(&object)))
        view->Refresh();
}
