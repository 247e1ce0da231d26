#include "FrameSelection.h"

#include "ObjectViews.h"
#include "TAligne.h"
#include "TStretchHandle.h"

using design::TDesignObject;

TFrameSelection::TFrameSelection(TStretchHandle& frame, std::function<QWidget*(const TDesignObject*)> viewOf,
                                 std::function<TDesignObject*(const QWidget*)> objectOf, QWidget* surface)
    : m_frame(frame), m_viewOf(std::move(viewOf)), m_objectOf(std::move(objectOf)), m_surface(surface)
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
    TAligne::RefreshSelection(m_frame, m_surface);
}

void TFrameSelection::Refresh(TDesignObject& object)
{
    if (auto* view = qobject_cast<TDesignObjectView*>(m_viewOf(&object)))
        view->Refresh();
}
