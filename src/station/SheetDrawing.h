#pragma once

#include "PrintableArea.h"
#include "SheetFormat.h"
#include "SheetPage.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

// Sheets drawn to scale: the station's page with the names of the placed models, and the sheet
// preview of one format. Both are pure functions of the format, the cells and the scale (pixels
// per 1/100 mm), so the windows only show the image and pass mouse positions back.
namespace station {

// A cell of a sheet, 1-based; column 0 means no cell.
struct TCellPos {
    int Column = 0;
    int Row = 0;
    bool Valid() const { return Column >= 1 && Row >= 1; }
    friend bool operator==(const TCellPos&, const TCellPos&) = default;
};

// The label cells of a sheet in pixels: each length rounded from 1/100 mm at the scale, the counts
// held to 1..50.
struct TSheetGeometry {
    int W = 0;  // label width
    int H = 0;  // label height
    int T = 0;  // top margin
    int L = 0;  // left margin
    int VG = 0; // vertical gap
    int HG = 0; // horizontal gap
    int Columns = 1;
    int Rows = 1;

    // Cell (c, r) spans x from (c - 1)(w + hg) + l to that + w and y likewise, both bounds
    // included (so a cell is one pixel wider than its label).
    QRect CellRect(int column, int row) const;
    // Rows from the top, columns from the left, the first cell containing the point: with zero
    // gaps a point on a shared edge belongs to the cell above or to the left.
    TCellPos HitTest(QPoint p) const;
};

TSheetGeometry SheetGeometry(const design::TCurrentFormat& format, double scale);
// The same on a device whose pixels are not square (a printer): lengths across take `scaleX`,
// lengths down `scaleY`.
TSheetGeometry SheetGeometry(const design::TCurrentFormat& format, double scaleX, double scaleY);
TSheetGeometry SheetGeometry(const TSheetPreview& format, double scale);

// The top-left corner of cell (column, row), 1-based, in 1/100 mm from the sheet's corner. A run
// of many rows converts this once to device pixels (DevicePixels): rounding each length first
// and adding them up would carry the rounding of one row into every row below it.
QPoint CellCorner100(const design::TCurrentFormat& format, int column, int row);
// A length in 1/100 mm on a device of `dpi` pixels per inch, rounded once.
int DevicePixels(int hundredthsMm, double dpi);

// The cell for a drop that hit no cell (a margin or a gap): the point divided by the page's size
// per cell, held to the page. No cell when a count is below 1; an axis whose page is narrower
// than its count of cells gives cell 1 on that axis.
TCellPos DropFallbackCell(QPoint p, QSize pageImage, int columns, int rows);
// The cell a drop lands in: the hit cell, else the fallback.
TCellPos DropCell(QPoint p, QSize pageImage, const TSheetGeometry& g);

// The page image's size: the paper of the format at the scale.
QSize PageImageSize(const design::TCurrentFormat& format, double scale, const TPaperNames& names);

// The station's page: grey paper outlined in black, white cells (ellipses for round labels) with
// the names of the placed models word-wrapped, centred and clipped to their cells in 8-point
// blue, then the printable area. `dpi` sizes the names' font as on the screen.
QImage DessinerPage(const TSheetPage& page, QSize imageSize, double scale, const TPrinterInfo& printer,
                    int dpi = 96);

// The sheet preview's picture is at most this many pixels a side: a continuous format of many
// wide labels would otherwise ask for a huge bitmap.
constexpr int MaxPreviewSide = 1200;

// The preview's image size: the page at the scale, each side held to MaxPreviewSide.
QSize PreviewImageSize(const TSheetPreview& sheet, double scale);
// The sheet preview: grey paper, the printable area, the cells (the first label lime when
// `first` is valid), the printable area again over them.
QImage DessinerPlanche(const TSheetPreview& sheet, double scale, const TPrinterInfo& printer,
                       TCellPos first = {});

} // namespace station
