#pragma once

#include "station/FormatEditor.h"
#include "station/SheetFormat.h"

#include <QDialog>

#include <memory>

class TMultiLang;
class QButtonGroup;
class QLineEdit;

namespace Ui {
class TNewFor;
}

namespace station {

class TPreviewPort;

// The sheet-format editor: creates a format of the custom family or changes one, in millimetres.
// The format window fills it from a row, shows it modally and reads the row back on OK.
class TNewFor : public QDialog {
    Q_OBJECT
public:
    explicit TNewFor(QWidget* parent = nullptr);
    ~TNewFor() override;

    // The controls, by their names (resources/ui/TNewFor.ui): the name `Edit1`, the papers
    // `RadioButton1`..`RadioButton5`, the millimetre edits `FloatEdit1` (width) .. `FloatEdit6`
    // (vertical gap), the counts `SpinEdit1` and `SpinEdit2`, `RoundCB`, `BitBtn1` (preview).
    const std::unique_ptr<Ui::TNewFor> ui;
    TMultiLang* MultiLang1 = nullptr;

    // The format window's paper names, which prefix the names made here.
    void SetPaperNames(const TPaperNames& names);
    // The sheet preview, owned elsewhere; none disables the preview button.
    void SetPreview(TPreviewPort* preview);

    // Shows `row`: its paper checked, centring margins as the margins they give.
    void Charger(const TLigneFormat& row);
    // The fields as they stand, and the row they make.
    TEditorFields Fields() const;
    TLigneFormat Ligne() const { return RowFromEditorFields(Fields()); }

    TTypePapier SupportChoisi() const;
    void PrefixerNom();
    void Previsualiser();

    void PaperClick();
    void Edit1Exit();
    void Edit1Change();
    void FloatEditExit(QLineEdit* edit);
    void SpinEditChange(int which);
    void RoundCBClick();
    void BitBtn1Click();
    void OKBtnClick();

public slots:
    void done(int r) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectEvents();
    void adaptToPaper();
    void refreshPreview();
    QList<QLineEdit*> millimetreEdits() const;

    QButtonGroup* m_papers = nullptr;
    TPaperNames m_paperNames;
    TPreviewPort* m_preview = nullptr;
};

} // namespace station
