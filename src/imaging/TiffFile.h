#pragma once

#include <QImage>
#include <QString>

// TIFF files through libtiff: the facts of one page and its picture.
// Re-entrant: each call opens its own libtiff handle (the silenced message handlers are set once).
namespace imaging {

struct TiffFacts {
    int width = 0;
    int height = 0;
    int compression = 0; // the TIFF code, unsigned (PackBits 32773)
    int pages = 0;
    int bits = 0;        // bits per sample x samples per pixel
    int dpiX = 0;
    int dpiY = 0;
};

// The facts of page `page` (from 0); false with `why` when the file or the page cannot be read.
bool tiffFacts(const QString& path, int page, TiffFacts& facts, QString* why = nullptr);

// The page as an RGB32 picture (or Format_Mono for a 1-bit page); `bits` receives the depth of
// a block that holds it without loss: 1, 4, 8 or 24.
QImage readTiff(const QString& path, int page, int* bits = nullptr, QString* why = nullptr);

} // namespace imaging
