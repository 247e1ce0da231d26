#pragma once

#include <QDialog>

#include <memory>

class TCircleLabelView;
class TMultiLang;

namespace Ui {
class TCircLabDial;
}

namespace design {
class TCircleLabel;
}

// The circular text's dialog: it edits a preview circular text of its own (CircleLabel), which
// the caller loads from the design's object before showing (Load) and copies back after OK
// (design::ApplyCircleLabelDialog). Every control writes the preview at once, through the
// object's own setters: an arc below 45 degrees is refused and the label shows the arc kept.
class TCircLabDial : public QDialog {
    Q_OBJECT
public:
    explicit TCircLabDial(QWidget* parent = nullptr);
    ~TCircLabDial() override;

    const std::unique_ptr<Ui::TCircLabDial> ui;
    TMultiLang* MultiLang1 = nullptr;

    design::TCircleLabel& CircleLabel() const;
    TCircleLabelView* CircleLabelView() const { return m_view; }
    // Copies the object into the preview.
    void Load(const design::TCircleLabel& object);
    // The field codes of the merge source.
    void SetFieldCodes(const QStringList& codes);

    // The controls from the preview (also run when the dialog is shown).
    void FormShow();
    void CheckBox1Click();
    void ArcScrollBarScroll();
    void StartScrollBarScroll();
    void FontBtnClick();
    void TexteChange();
    void InsertFieldCode();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void connectEvents();
    void enableArc();
    void previewChanged();
    TCircleLabelView* m_view = nullptr;
    bool m_loading = false;
};
