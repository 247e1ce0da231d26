#pragma once

#include "design/PropertyCommands.h"

#include <functional>

class QWidget;
class TStretchHandle;

// The property commands' view of the design surface: the selection frame over the objects'
// views. The window tells how an object and its view find each other.
class TFrameSelection : public design::TSelectionPort {
public:
    TFrameSelection(TStretchHandle& frame, std::function<QWidget*(const design::TDesignObject*)> viewOf,
                    std::function<design::TDesignObject*(const QWidget*)> objectOf);

    std::vector<design::TDesignObject*> Selection() const override;
    void Detach() override;
    void Attach(design::TDesignObject& object) override;
    // Attaches the same views again, so the frame fits their new bounds.
    void RefreshSelection() override;
    void Refresh(design::TDesignObject& object) override;

private:
    TStretchHandle& m_frame;
    std::function<QWidget*(const design::TDesignObject*)> m_viewOf;
    std::function<design::TDesignObject*(const QWidget*)> m_objectOf;
};
