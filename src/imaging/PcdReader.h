#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Photo CD image packs: the three base resolutions, stored uncompressed in luminance and
// chrominance at fixed places of the file. The larger resolutions need the pack's Huffman
// corrections and are not read.
// Re-entrant: works on the bytes it is given and keeps no state.
namespace imaging {

// The resolution asked of the reader, in the image control's order.
enum TPCDMode { pcd_BASE16 = 0, pcd_BASE4 = 1, pcd_BASE = 2 };

// The picture's size at a mode, turned as the pack says (a portrait pack is stored lying).
// An invalid size when the bytes are not an image pack.
QSize pcdSize(const QByteArray& file, int mode);

// The picture at `mode` as Format_RGB888, or a null image with `why`.
QImage readPcd(const QByteArray& file, int mode, QString* why = nullptr);

} // namespace imaging
