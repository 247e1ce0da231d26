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
                    std::function<design::TDesignObject*(const QWidget*)> objectOf, QWidget* surface = nullptr);

    std::vector<design::TDesignObject*> Selection() const override;
    void Detach() override;
    void Attach(design::TDesignObject& object) override;
    // The views read their records again, the frame fits them and the surface repaints.
    void RefreshSelection() override;
    void Refresh(design::TDesignObject& object) override;

private:
    TStretchHandle& m_frame;
    std::function<QWidget*(const design::TDesignObject*)> m_viewOf;
    std::function<design::TDesignObject*(const QWidget*)> m_objectOf;
    QWidget* m_surface;
};
