#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

// A progressive JPEG whose last scan is repeated until the file holds `scans` scans: a few bytes
// a scan, and each scan a pass of the decoder over every block of the picture. Empty when Qt
// cannot write a progressive JPEG of fewer scans.
namespace scanbomb {

inline QByteArray progressiveJpeg(int width, int height, int scans)
{
    QImage grey(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            grey.scanLine(y)[x] = uchar((x / 8 + y / 8) % 2 ? 0x30 : 0xC0);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.setQuality(90);
    if (!writer.write(grey))
        return {};
    // The scans in order: each from its marker to the next marker that is no restart.
    QList<qsizetype> starts;
    qsizetype end = -1;
    for (qsizetype at = 2; at + 1 < jpeg.size();) {
        const uchar marker = uchar(jpeg[at + 1]);
        if (marker == 0xD9) {
            end = at;
            break;
        }
        if (uchar(jpeg[at]) != 0xFF || at + 3 >= jpeg.size())
            break;
        const qsizetype length = (uchar(jpeg[at + 2]) << 8) | uchar(jpeg[at + 3]);
        at += 2 + length;
        if (marker != 0xDA)
            continue;
        starts << at - 2 - length;
        while (at + 1 < jpeg.size()
               && !(uchar(jpeg[at]) == 0xFF && jpeg[at + 1] != 0 && (uchar(jpeg[at + 1]) & 0xF8) != 0xD0))
            ++at;
    }
    if (end < 0 || starts.isEmpty() || starts.size() > scans)
        return {};
    const QByteArray last = jpeg.mid(starts.last(), end - starts.last());
    QByteArray bomb = jpeg.left(end);
    for (qsizetype n = starts.size(); n < scans; ++n)
        bomb += last;
    return bomb + jpeg.mid(end);
}

} // namespace scanbomb
