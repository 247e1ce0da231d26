#pragma once

#include "SheetPage.h"
#include "StationFolders.h"

#include "design/FieldCodes.h"
#include "design/Numbering.h"
#include "platform/Graphics.h"
#include "platform/TPrinter.h"

#include <QImage>
#include <QString>
#include <QStringList>

// Printing the station's sheet page: every placed model drawn in its cell of one sheet, with
// optional cut lines and a label number that counts the labels of the sheet. The same loop
// draws the print dialog's picture of the sheet.
namespace station {

struct TSheetPrintOptions {
    int Copies = 1;
    bool CutLines = false; // dotted outline of each printed label, under its design
    bool Wysiwyg = false;
    // The sheet's orientation, for this job only.
    platform::TPrinterOrientation Orientation = platform::poPortrait;
    QString Title;         // the job's name in the print queue
    design::MergeSource Source;
    design::MergeNumbering Numbering;
    int Record = 1;        // the merge source's current record
};

struct TSheetPrintResult {
    int Labels = 0;         // labels drawn on the sheet, the last label number used
    int Pages = 0;          // pages sent (the copies the driver could not make)
    QStringList Unreadable; // the cells whose design could not be read: "name (column, row)"
};

// Prints the page on the printer: one job, one sheet, made `Copies` times by the driver when it
// can, else sent that many times with the same numbers. Rows are printed top to bottom and each
// row left to right; a cell is printed when its design file (perso/<name>.car in the folders,
// letter case ignored) exists and reads; one whose file is missing is skipped silently, one that
// fails to read is skipped without using a number and listed in the result. Labels land where
// the format puts them on the paper: the printer's printing offset is taken off every position.
// An error while drawing (a picture, a barcode) aborts the job and passes on: no job is left
// open. EPrinter when the job cannot start.
TSheetPrintResult PrintSheetPage(const TSheetPage& page, const TStationFolders& folders,
                                 platform::TPrinter& printer, const TSheetPrintOptions& options);

// The print dialog's picture of the sheet: the page (pageWidth x pageHeight in 1/100 mm) at
// `scale` pixels per 1/100 mm, white, each cell outlined and every printable label drawn, numbered
// as the print numbers them. `printable` (1/100 mm from the page's corner; empty when no printer
// is known) is drawn in red under and over the labels. A label size of 0 draws the outlines only.
QImage DrawSheetPicture(const TSheetPage& page, const TStationFolders& folders, int pageWidth,
                        int pageHeight, double scale, const QRectF& printable,
                        const TSheetPrintOptions& options);

// After the printer setup, the design open in the designer is saved to its file so that it
// keeps the orientation; only a design the user changed, and that has a file: one merely
// opened is left as its file stands (a load drops what it cannot read), and one never saved
// has no file to go to. True when it was saved.
bool SaveAfterPrinterSetup(design::TDesignModel& designer);

// The design file of a cell's model; empty when there is none.
QString SheetModelFile(const TStationFolders& folders, const QString& model);

} // namespace station
