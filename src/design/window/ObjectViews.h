#pragma once

#include "design/DesignObjects.h"

#include <QWidget>

class QPainter;
class QPlainTextEdit;

#include <functional>
#include <memory>

class QMouseEvent;

namespace platform {
class TCanvas;
}

// Views of the design objects on the design surface, one kind each; MakeObjectView makes the right
// one for a record. A view shows one record at the record's place and size and holds nothing the
// record does not: after an edit of the record, Refresh() runs the record's layout (a tilted text
// becomes a square, a line takes its thickness, a circular text grows to its lowest character, a
// barcode takes its symbol's size), takes the new bounds and repaints. Painting only reads the
// record and never lets an error out.
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

    // The label's rectangle on the surface (parent coordinates); none: nothing is cut. The view
    // shows and takes presses only inside it, as print draws nothing past the label's edge.
    std::function<QRect()> LabelArea;
    // Shows and takes presses only where the object is, within the label (after a move, a resize
    // or a change of the label's size).
    void UpdateMask();

signals:
    void Click();
    // The part of the view that shows and takes presses changed (UpdateMask).
    void MaskChanged();

protected:
    // A view of a record held elsewhere (the design model), or of one of its own.
    TDesignObjectView(design::TDesignObject* object, std::unique_ptr<design::TDesignObject> owned,
                      QWidget* parent);
    ~TDesignObjectView() override;

    virtual void paintObject(platform::TCanvas& canvas) = 0;
    // Refresh's hook for views that show the record through child widgets.
    virtual void recordChanged() {}
    // Where the object is under the pointer, in the view's coordinates: its whole box, unless
    // the kind says otherwise.
    virtual QRegion hitRegion() const;
    // Whether the view is cut at the label's edge now.
    virtual bool cutAtLabel() const { return true; }
    // The view's part past the label's edge, and its outline there (view coordinates).
    QRegion pastLabel() const;
    QRegion outlinePastLabel() const;
    void paintOutlinePastLabel(QPainter& painter) const;
    // The outline's band changed (after UpdateMask): views drawn by child widgets keep them off it.
    virtual void outlineChanged() {}

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

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

// Views of the objects the renderer draws (pictures, shapes, simple texts, barcodes): they paint
// their record as designed through the renderer itself (DrawObject of PrepareAsDesigned), so the
// surface shows what prints.
class TRenderedObjectView : public TDesignObjectView {
    Q_OBJECT
protected:
    using TDesignObjectView::TDesignObjectView;
    void paintObject(platform::TCanvas& canvas) override;
};

// A picture; a field-code picture ("<Photo>") shows its placeholder, crossed, with the code.
class TImageView : public TRenderedObjectView {
    Q_OBJECT
public:
    explicit TImageView(design::TImage* image = nullptr, QWidget* parent = nullptr);
    design::TImage& Image() const { return static_cast<design::TImage&>(Object()); }

protected:
    void paintObject(platform::TCanvas& canvas) override;
};

// A rectangle, rounded rectangle or ellipse.
class TShapeView : public TRenderedObjectView {
    Q_OBJECT
public:
    explicit TShapeView(design::TShape* shape = nullptr, QWidget* parent = nullptr);
    design::TShape& Shape() const { return static_cast<design::TShape&>(Object()); }

protected:
    // A hollow shape (clear brush) is there only along its outline: a press inside it reaches
    // what lies underneath (a frame around the label must not hide the objects it frames).
    QRegion hitRegion() const override;
};

// A simple text, fitted to its box as printed.
class TLabelView : public TRenderedObjectView {
    Q_OBJECT
public:
    explicit TLabelView(design::TLabel* label = nullptr, QWidget* parent = nullptr);
    design::TLabel& Label() const { return static_cast<design::TLabel&>(Object()); }
};

// A barcode; settings that do not encode show a grey crossed frame (the barcode dialog tells why).
class TBarcodeObjectView : public TRenderedObjectView {
    Q_OBJECT
public:
    explicit TBarcodeObjectView(design::TBarcodeObject* barcode = nullptr, QWidget* parent = nullptr);
    design::TBarcodeObject& Barcode() const { return static_cast<design::TBarcodeObject&>(Object()); }

protected:
    void paintObject(platform::TCanvas& canvas) override;
};

// A text block: a real multi-line editor over the record. Typing writes the record's lines at
// once (then Edited); Refresh takes the record's font, colours, border, alignment, wrapping and,
// when they differ, its lines. The record's selection is applied when the view is made (a new
// block's default text is preselected, so typing replaces it). Presses and double clicks reach
// OnMouseDown (a double click has the type QEvent::MouseButtonDblClick) before the editor takes
// them, so the window can select the block on a double click and let a single click edit.
class TMemoView : public TDesignObjectView {
    Q_OBJECT
public:
    explicit TMemoView(design::TMemo* memo = nullptr, QWidget* parent = nullptr);
    design::TMemo& Memo() const { return static_cast<design::TMemo&>(Object()); }
    QPlainTextEdit* Editor() const { return m_editor; }
    // Shows the first line again (the editor scrolled while the user typed).
    void ScrollToTop();

signals:
    // The user changed the text; the record holds it already.
    void Edited();
    // The editor took or lost the keyboard focus (the window shows its field-code list meanwhile).
    void Entered();
    void Exited();

protected:
    void paintObject(platform::TCanvas&) override {}
    void recordChanged() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A block being typed into shows whole: placed past the label, it would take the keys unseen.
    bool cutAtLabel() const override { return !m_editing; }
    void outlineChanged() override;
    // A press on the outline past the label (the editor does not reach there) enters the block.
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPlainTextEdit* m_editor = nullptr;
    bool m_loading = false;
    bool m_editing = false;
};

// The view of a record, made for its kind, laid out and placed (Refresh); owned by `parent`. The
// record is not owned and must outlive the view.
TDesignObjectView* MakeObjectView(design::TDesignObject& object, QWidget* parent);
