#pragma once

#include "addressbook/MailingPrint.h"
#include "station/PrintableArea.h"

#include <QDialog>
#include <QRect>
#include <QSize>

#include <functional>
#include <memory>

class TMultiLang;

namespace Ui {
class TFpPrev;
}

namespace addressbook {

// The mailing preview: one sheet at a time as it will print, with the printer's printable area,
// navigation between the sheets and a view at the page's real size. Made for one preview.
class TFpPrev : public QDialog {
    Q_OBJECT
public:
    // `page` is the paper in 1/100 mm; `design` the design read for a design mailing (else null).
    TFpPrev(const TMailingJob& job, const TMailingDesign* design, QSize page, QWidget* parent = nullptr);
    ~TFpPrev() override;
    const std::unique_ptr<Ui::TFpPrev> ui;
    TMultiLang* MultiLang1 = nullptr;

    int PageCourante = 1;
    int NbPages = 0;
    double Echelle = 0;
    bool PremierAffichage = true;
    TPreviewLayout Layout;
    // The printer whose printable area is drawn.
    std::function<station::TPrinterInfo()> PrinterInfo = station::CurrentPrinterInfo;

    void CalculerMiseEnPage();
    void DessinerFeuille(int sheet);
    void AjusterDefilement();
    void BeginBtnClick();
    void RewBtnClick();
    void FFBtnClick();
    void EndBtnClick();
    void Zoom1BtnClick(bool down);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    const TMailingJob& m_job;
    const TMailingDesign* m_design;
    QSize m_page;
    QSize m_scrollSize;
    QSize m_bevelSize;
    QRect m_normalBounds;
};

} // namespace addressbook
