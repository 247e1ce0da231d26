#pragma once

#include "imaging/ImagingLibrary.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// What a picture file is, from its first bytes, and the depth its header states. The format is
// taken from the content, never from the name, so a file with a wrong extension is still known.
// Re-entrant: each read makes its own Qt image reader (BMP, PNG, GIF, JPEG) and keeps no state.
namespace imaging {

// "BMP", "PNG", "GIF", "TIF", "TGA", "PCX", "EPS", "PCD", "DXF", "JPEG", or empty.
QString sniffFormat(const QByteArray& file);

// File information from the header: format, size, bits per pixel, resolution, a description.
// False with `why` when the format is unknown or its header is damaged.
bool fileInfoOf(const QString& path, const QByteArray& file, ImageFileInfo& info,
                QString* why = nullptr);

// The scans of a JPEG file, counted from its markers without decoding: each scan of a
// progressive picture costs a pass over all its blocks.
int jpegScanCount(const QByteArray& file);

// A picture read by Qt's image readers (BMP, PNG, GIF, JPEG): `format` is Qt's name of it.
// `bits` receives the depth of a block that holds it without loss (1, 4, 8 or 24), from the
// header's depth where the format states one.
QImage readWithQt(const QByteArray& file, const char* format, int* bits, QString* why = nullptr);

// A BMP file: 16-bit ones through the project's own bit-field decoder, which scales each channel
// to its full range; any other through Qt's.
QImage readBmp(const QByteArray& file, int* bits, QString* why = nullptr);

} // namespace imaging
