#pragma once

#include "DesignModel.h"

#include "platform/Graphics.h"

#include <QPoint>
#include <QString>

#include <vector>

namespace platform {
class TCanvas;
}

// The rules of the design window's work surface that need no widget: its size, grid snapping and
// the grid dots, the pointer position in millimetres, the rubber band's selection, the picture
// files a placed picture refers to, and whether the sheet format changed.
namespace design {

// Side in pixels of the square surface that holds the largest sheet (`largestSheetHundredthsMm`),
// at `pixelsPerInch`: the sheet rounded to whole millimetres first, both roundings halves to even.
int WorkSurfaceSide(int largestSheetHundredthsMm, int pixelsPerInch);

// A point on the grid: each coordinate down to a multiple of its step (truncating toward zero).
// A step below 1 leaves the coordinate.
QPoint SnapPoint(QPoint p, int gridX, int gridY);

// "x=<mm>mm, y=<mm>mm" for a surface pixel, halves to even.
QString PointerPositionText(int x, int y, double screenPixelsPerInch);

// The grid dots of a label of width x height pixels: from (1, 1) every gridX across and gridY
// down while inside the label; the first dot always stands, so a label of no size still shows one.
std::vector<QPoint> GridDots(int labelWidth, int labelHeight, int gridX, int gridY);
void DrawGrid(platform::TCanvas& canvas, int labelWidth, int labelHeight, int gridX, int gridY);

// The rectangle of a rubber band whose corners may come in any order.
platform::TRect OrderedRect(int x1, int y1, int x2, int y2);
// The objects, in model order, whose bounds share at least one pixel with the rectangle.
std::vector<TDesignObject*> ObjectsInRect(const TDesignModel& model, const platform::TRect& rect);

// The reference a picture chosen from a file takes, after putting the file into the program's
// pictures folder: bitmaps, metafiles and icons are copied under their own name, other formats
// are converted to a ".bmp" twin. An existing copy or twin is used as it is. A file that cannot
// be read raises platform::EInOutError (EPictureRefused when a reader refused it) and leaves
// nothing behind. `made`, when given, tells whether this call put a file into the folder.
QString ImportPictureFile(const QString& sourcePath, const QString& imagesFolder, bool* made = nullptr);
// The name a scanned picture is saved under in the pictures folder: "scan" + the first number
// from 1 whose file does not exist + ".bmp".
QString NextScanFileName(const QString& imagesFolder);

// The ten values of a sheet format the format command compares (the name as text, case kept).
bool SameFormat(const TCurrentFormat& a, const TCurrentFormat& b);

} // namespace design
