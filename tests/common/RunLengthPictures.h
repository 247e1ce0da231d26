#pragma once

#include <QByteArray>

#include <algorithm>

// Pictures of one colour in runs as long as each format allows: a few bytes that stand for a
// great many pixels, the files that try a reader's bounds (a side too long, a bomb).
namespace runlength {

inline void put16(QByteArray& b, int at, int v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

// PCX at 8 bits a plane: one plane (grey through the palette) or three (RGB). Runs never cross
// a line's plane.
inline QByteArray pcx(int width, int height, int planes)
{
    QByteArray b(128, '\0');
    b[0] = 0x0A;
    b[1] = 5;
    b[2] = 1;
    b[3] = 8;
    put16(b, 8, width - 1);
    put16(b, 10, height - 1);
    b[65] = char(planes);
    put16(b, 66, width);
    for (int y = 0; y < height; ++y)
        for (int plane = 0; plane < planes; ++plane)
            for (int left = width; left > 0; left -= 63)
                b += QByteArray(1, char(0xC0 | std::min(left, 63))) + char(0x30 * (plane + 1));
    return b;
}

// Run-length TGA, top row first: 8-bit grey or 24-bit colour.
inline QByteArray tga(int width, int height, int bits)
{
    QByteArray b(18, '\0');
    b[2] = bits == 8 ? 11 : 10;
    put16(b, 12, width);
    put16(b, 14, height);
    b[16] = char(bits);
    b[17] = 0x20;
    const QByteArray pixel = bits == 8 ? QByteArray("\x40", 1) : QByteArray("\x30\x60\x90", 3);
    const qint64 total = qint64(width) * height;
    b.reserve(qsizetype(18 + (total / 128 + 1) * (1 + pixel.size())));
    for (qint64 left = total; left > 0; left -= 128)
        b += QByteArray(1, char(0x80 | (std::min<qint64>(left, 128) - 1))) + pixel;
    return b;
}

} // namespace runlength
