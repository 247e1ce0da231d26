#pragma once

#include "station/SheetPrint.h"

#include <QDialog>
#include <QRectF>

#include <functional>
#include <memory>

class TMultiLang;

namespace Ui {
class TPrintDial;
}

namespace station {

// The print dialog of the sheet page: a picture of the sheet with its labels, the number of
// copies, the numbering and dates, the printer setup. Made for one print and freed after it.
class TPrintDial : public QDialog {
    Q_OBJECT
public:
    TPrintDial(const TSheetPage& page, const TStationFolders& folders, QWidget* parent = nullptr);
    ~TPrintDial() override;

    const std::unique_ptr<Ui::TPrintDial> ui;
    TMultiLang* MultiLang1 = nullptr;

    // What the picture needs from the station, asked at each drawing: the paper's size (1/100 mm),
    // the printer's printable area on it (1/100 mm, empty when unknown), the merge and numbering.
    std::function<QSizeF()> PaperSource;
    std::function<QRectF()> PrintableSource;
    std::function<TSheetPrintOptions()> OptionsSource;
    // The numbering dialog and the printer setup, run by the station.
    std::function<void()> NumberingClick;
    std::function<void()> PrinterSetupClick;

    int Copies() const;
    // Pixels per 1/100 mm of the picture, fixed when the dialog is made.
    double Echelle() const { return m_echelle; }
    void DessinerPlanche();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectEvents();
    void NumBtnClick();
    void ConfigClick();

    const TSheetPage& m_page;
    const TStationFolders m_folders;
    double m_echelle = 0;
};

} // namespace station
