#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

class QWidget;

namespace testsupport {

// Path of a fixture under tests/data.
QString dataPath(const QString& relative);

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// The bytes of a file of one value per line: each value in UTF-8 followed by CR LF.
QByteArray crlfLines(const QStringList& values);

// A white ARGB image of the given size, the usual target of canvas tests.
QImage whiteImage(int width, int height);

// Makes a widget a white 400 x 300 surface, shown (offscreen), for views and frames to sit on.
void showWhiteSurface(QWidget& widget);

// Number of pixels darker than the threshold (sum of the three channels / 3) inside the rectangle.
int darkPixels(const QImage& image, int x0, int y0, int x1, int y1, int threshold = 128);

} // namespace testsupport
