#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>

// Encapsulated PostScript pictures, drawn by Ghostscript's library at a resolution that keeps
// the longer side within bounds.
// Re-entrant: each read has its own child process and folders, and runs no event loop.
namespace imaging {

// The box the picture is drawn in, in points, from the file's header comments (also inside a
// DOS EPS binary header): its %%HiResBoundingBox, else its %%BoundingBox, each taken from the
// trailer when the header says "(atend)". An empty rectangle when there is none.
QRectF epsBoundingBox(const QByteArray& file);

// Dots per inch at which a box is drawn, and the picture's size in pixels at it.
double epsResolution(const QRectF& box);
QSize epsPixelSize(const QRectF& box);

// How long Ghostscript may draw one picture before the reading gives up (30 s unless set).
void setEpsTimeLimit(int milliseconds);

// The picture as RGB32, of epsPixelSize(epsBoundingBox()), or a null image with `why`.
// Ghostscript draws in a child process with a temporary folder of its own, so a PostScript
// program reaches no file but its own, and one that never ends is stopped at the time limit.
// The wait serves none of the application's events (nor paints its windows).
QImage renderEps(const QString& path, QString* why = nullptr);

} // namespace imaging
