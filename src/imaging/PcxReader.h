#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Paintbrush (PCX) pictures: run-length rows of one to four colour planes. Read: 1-bit
// black-and-white, 2 to 4 one-bit planes and 2- or 4-bit pixels with the header's 16 colours,
// 8-bit pixels with the 256 colours at the end of the file (grey when they are missing), and
// 8-bit red, green, blue (and alpha, dropped) planes.
// Re-entrant: works on the bytes it is given and keeps no state.
namespace imaging {

struct PcxHeader {
    int width = 0;
    int height = 0;
    int bitsPerPlane = 0;
    int planes = 0;
    int bytesPerLine = 0;
    int bits() const { return bitsPerPlane * planes; }
};

// The header of a PCX file, checked; false with `why` for anything else.
bool readPcxHeader(const QByteArray& file, PcxHeader& header, QString* why = nullptr);

// The picture (Format_Mono, Format_Indexed8 or Format_RGB888), or a null image with `why`.
// `bits` receives the depth of a block that holds it without loss: 1, 4, 8 or 24.
QImage readPcx(const QByteArray& file, int* bits = nullptr, QString* why = nullptr);

} // namespace imaging
