#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>

// Encapsulated PostScript pictures, drawn by Ghostscript's library at a resolution that keeps
// the longer side within bounds.
namespace imaging {

// The %%HiResBoundingBox of the PostScript, else its %%BoundingBox (also inside a DOS EPS
// binary header), in points; an empty rectangle when there is none.
QRectF epsBoundingBox(const QByteArray& file);

// Dots per inch at which a box is drawn, and the picture's size in pixels at it.
double epsResolution(const QRectF& box);
QSize epsPixelSize(const QRectF& box);

// How long Ghostscript may draw one picture before the reading gives up (30 s unless set).
void setEpsTimeLimit(int milliseconds);

// The picture as RGB32, or a null image with `why`. Ghostscript draws in a child process, so a
// PostScript program that never ends is stopped at the time limit. While it waits, the
// application's events other than the user's input are served, so its windows still paint.
QImage renderEps(const QString& path, QString* why = nullptr);

} // namespace imaging
