#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QString>

// AutoCAD exchange drawings (DXF), read by dxflib and drawn with QPainter: lines, polylines,
// circles, arcs, ellipses and points, in their colour, black on white. Text, hatches and blocks
// are not drawn.
// Re-entrant: each read has its own dxflib parser and keeps no state between calls.
namespace imaging {

struct DxfDrawing {
    struct Stroke {
        QPainterPath path; // in drawing units, y upwards
        QColor color;
    };
    QList<Stroke> strokes;
    QRectF bounds() const;
};

// The drawing in the file, or false with `why` when the file cannot be read or draws nothing.
bool readDxf(const QString& path, DxfDrawing& drawing, QString* why = nullptr);

// The size of the picture a drawing gives: one pixel per drawing unit, the longer side brought
// within 64 to 2048 pixels.
QSize dxfPixelSize(const DxfDrawing& drawing);

QImage renderDxf(const DxfDrawing& drawing);

} // namespace imaging
