#pragma once

#include <QWidget>

namespace barcode {

class TCustomBarcode;

// Shows one barcode object at the design resolution, at its measured size. The barcode is not
// owned, and either may be destroyed first: a barcode destroyed while shown leaves the view
// empty, with Barcode() null. A barcode whose settings do not encode shows a crossed frame; its
// error stays in the barcode's LastError for the dialog that edits it.
class TBarcodeView : public QWidget {
    Q_OBJECT

public:
    explicit TBarcodeView(QWidget* parent = nullptr);
    ~TBarcodeView() override;

    // Shows this barcode and follows its changes (the view takes its OnInvalidate and OnDestroy).
    void SetBarcode(TCustomBarcode* barcode);
    TCustomBarcode* Barcode() const { return m_barcode; }

    // Takes the barcode's size and repaints.
    void Refresh();

signals:
    void Click();
    void DblClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Gives the barcode's callbacks back and forgets it.
    void release();

    TCustomBarcode* m_barcode = nullptr;
};

} // namespace barcode
