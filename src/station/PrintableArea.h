#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QPainter;

// Where the current printer can put ink on a sheet. Every sheet drawing outlines it in red, so the
// user sees which labels the printer's margins cut into.
namespace station {

// The printer as the sheet drawings need it, in the printer's own device pixels.
struct TPrinterInfo {
    int DpiX = 0;
    int DpiY = 0;
    // The printable area's size and its offset from the paper's top-left corner.
    QSize Printable;
    QPoint Offset;
};

// A4 paper with 5 mm margins: what is drawn while no printer is known.
TPrinterInfo DefaultPrinterInfo();

// The printer of the program; the printing code installs the real one. Until then, and whenever
// it answers a printer without a resolution, the default above is used.
std::function<TPrinterInfo()>& PrinterInfoSource();
TPrinterInfo CurrentPrinterInfo();

// The printable area in 1/100 mm from the paper's top-left corner; left and top are the offset,
// right and bottom add the printable size. A printer without a resolution gives an empty rect.
struct TArea100 {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};
TArea100 PrintableArea100(const TPrinterInfo& printer);

// Outlines the printable area in red at `scale` pixels per 1/100 mm on a drawing whose origin is
// the sheet's top-left corner, then leaves a white pen and a solid brush.
void DessinerZoneImprimable(QPainter& canvas, double scale, const TPrinterInfo& printer);

} // namespace station
