#pragma once

#include <QDialog>
#include <QWidget>

#include <functional>
#include <memory>

class QButtonGroup;
class TMultiLang;

namespace Ui {
class TFBarCode;
}

namespace barcode {
class TBarcode;
}

namespace design {
class TBarcodeObject;
}

// The barcode dialog's preview: a barcode record of its own, drawn by the renderer as printed.
// Settings that do not encode draw nothing (the dialog says why).
class TBarcodePreview : public QWidget {
    Q_OBJECT
public:
    explicit TBarcodePreview(QWidget* parent = nullptr);
    ~TBarcodePreview() override;
    design::TBarcodeObject& Record() const { return *m_record; }
    // Lays the record out again (its size follows the symbol) and repaints.
    void Refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<design::TBarcodeObject> m_record;
};

// The barcode's dialog: it edits the preview barcode Barcode1, which the caller loads from the
// design's barcode before showing (Load) and copies back after OK (design::ApplyBarcodeDialog).
// Every control writes Barcode1 at once, so the preview follows each change. A value the barcode
// refuses shows the barcode's message and the controls go back to the value kept; settings that
// do not encode leave the preview empty and say why under it.
class TFBarCode : public QDialog {
    Q_OBJECT
public:
    explicit TFBarCode(QWidget* parent = nullptr);
    ~TFBarCode() override;

    const std::unique_ptr<Ui::TFBarCode> ui;
    TMultiLang* MultiLang1 = nullptr;

    barcode::TBarcode& Barcode1() const;
    TBarcodePreview* Preview() const { return m_preview; }
    // Copies the design's barcode into the preview.
    void Load(const design::TBarcodeObject& object);
    // The field codes of the merge source, for both lists.
    void SetFieldCodes(const QStringList& codes);

    // The controls from Barcode1 (also run when the dialog is shown).
    void FormShow();
    void RGCodetypClick(int tag);
    void InsertFieldCode(int edit);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void connectEvents();
    void change(const std::function<void(barcode::TBarcode&)>& set);
    void showControls();
    void enableAddon();
    void afterChange();

    TBarcodePreview* m_preview = nullptr;
    QButtonGroup* m_types = nullptr;
    QButtonGroup* m_moduleWidths = nullptr;
    QButtonGroup* m_rotations = nullptr;
    bool m_loading = false;
};
