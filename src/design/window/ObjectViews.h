#pragma once

#include "design/DesignObjects.h"

#include <QWidget>

#include <functional>
#include <memory>

class QMouseEvent;

namespace platform {
class TCanvas;
}

// Views of the objects that draw themselves on the design surface: tilted text, line, circular
// text. A view shows one record at the record's place and size; after an edit of the record,
// Refresh() runs the record's layout (a tilted text becomes a square, a line takes its thickness,
// a circular text grows to its lowest character), takes the new bounds and repaints. Painting
// only reads the record and never lets an error out.
class TDesignObjectView : public QWidget {
    Q_OBJECT
public:
    design::TDesignObject& Object() const { return *m_object; }

    // Layout of the record, then its bounds on the parent, then a repaint.
    void Refresh();
    // Moves or resizes the object: the record takes the bounds, then Refresh (an object whose
    // layout decides its size, as a tilted text or a barcode, keeps its own).
    void SetObjectBounds(const QRect& bounds);

    // The design window's object handler (every object gets it when created).
    std::function<void(QMouseEvent*)> OnMouseDown;

signals:
    void Click();

protected:
    // A view of a record held elsewhere (the design model), or of one of its own.
    TDesignObjectView(design::TDesignObject* object, std::unique_ptr<design::TDesignObject> owned,
                      QWidget* parent);
    ~TDesignObjectView() override;

    virtual void paintObject(platform::TCanvas& canvas) = 0;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::unique_ptr<design::TDesignObject> m_owned;
    design::TDesignObject* m_object;
    bool m_pressed = false;
};

class TRotateLabelView : public TDesignObjectView {
    Q_OBJECT
    // The translation component sets captions through this property.
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    // Shows `label` (not owned), or, without one, a tilted text of its own.
    explicit TRotateLabelView(design::TRotateLabel* label = nullptr, QWidget* parent = nullptr);
    // A tilted text of its own, as a window layout places it.
    explicit TRotateLabelView(QWidget* parent);
    design::TRotateLabel& Label() const { return static_cast<design::TRotateLabel&>(Object()); }

    QString Caption() const { return Label().Caption; }
    void SetCaption(const QString& caption);

protected:
    void paintObject(platform::TCanvas& canvas) override;
};

class TLineView : public TDesignObjectView {
    Q_OBJECT
public:
    explicit TLineView(design::TLine* line = nullptr, QWidget* parent = nullptr);
    design::TLine& Line() const { return static_cast<design::TLine&>(Object()); }

protected:
    void paintObject(platform::TCanvas& canvas) override;
};

class TCircleLabelView : public TDesignObjectView {
    Q_OBJECT
public:
    explicit TCircleLabelView(design::TCircleLabel* label = nullptr, QWidget* parent = nullptr);
    design::TCircleLabel& Label() const { return static_cast<design::TCircleLabel&>(Object()); }

protected:
    void paintObject(platform::TCanvas& canvas) override;
};
