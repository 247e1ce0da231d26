#pragma once

#include "PreviewPort.h"
#include "station/SheetDrawing.h"

#include <QDialog>

#include <functional>
#include <memory>

class TMultiLang;

namespace Ui {
class TPrevis;
}

namespace station {

// The sheet preview: one sheet format drawn to scale with the printer's printable area. The
// format window and the editor show the format being chosen; the mailing lets the user click the
// cell at which printing starts on a partly used sheet.
class TPrevis : public QDialog, public TPreviewPort {
    Q_OBJECT
public:
    explicit TPrevis(QWidget* parent = nullptr);
    ~TPrevis() override;
    const std::unique_ptr<Ui::TPrevis> ui;
    TMultiLang* MultiLang1 = nullptr;

    // Pixels per 1/100 mm, from the frame's width when the window is made.
    double Echelle = 0;
    // The sheet, filled by the caller before drawing (1/100 mm).
    TSheetPreview Sheet;
    bool ChoixDepart = false;
    int ColonneDepart = 1;
    int LigneDepart = 1;
    // The mailing recomputes its layout when the first label changes.
    std::function<void()> OnFirstLabel;

    void DessinerPlanche();

    bool EstVisible() const override { return isVisible(); }
    void SetChoixDepart(bool choix) override { ChoixDepart = choix; }
    void Remplir(const TSheetPreview& apercu, const QString& caption) override;
    void Montrer(QWidget* owner) override;
    void Fermer() override { close(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectEvents();
    void PageMouseDown(QPoint p);
};

} // namespace station
