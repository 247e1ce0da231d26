#include "imaging/PcxReader.h"

#include "imaging/Dib.h"
#include "imaging/ImagingErrors.h"
#include "platform/Heap.h"

#include <QList>

#include <algorithm>

namespace imaging {

namespace {

constexpr int kHeaderSize = 128;
// Beyond QImage's reach, and far beyond any picture a label holds.
constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

int u16(const QByteArray& b, int at)
{
    return uchar(b[at]) | uchar(b[at + 1]) << 8;
}

bool refuse(QString* why, const QString& text)
{
    if (why != nullptr)
        *why = text;
    return false;
}

QList<QRgb> headerColors(const QByteArray& file, int count)
{
    QList<QRgb> colors;
    for (int i = 0; i < count; ++i)
        colors.append(qRgb(uchar(file[16 + 3 * i]), uchar(file[17 + 3 * i]), uchar(file[18 + 3 * i])));
    return colors;
}

} // namespace

bool readPcxHeader(const QByteArray& file, PcxHeader& h, QString* why)
{
    if (file.size() < kHeaderSize || uchar(file[0]) != 0x0A)
        return refuse(why, QStringLiteral("not a PCX file"));
    if (uchar(file[2]) > 1)
        return refuse(why, QStringLiteral("PCX encoding %1 is unknown").arg(uchar(file[2])));
    const int xMin = u16(file, 4), yMin = u16(file, 6), xMax = u16(file, 8), yMax = u16(file, 10);
    if (xMax < xMin || yMax < yMin)
        return refuse(why, QStringLiteral("PCX picture has no pixels"));
    h.width = xMax - xMin + 1;
    h.height = yMax - yMin + 1;
    h.bitsPerPlane = uchar(file[3]);
    h.planes = uchar(file[65]);
    h.bytesPerLine = u16(file, 66);
    const bool known = (h.bitsPerPlane == 1 && h.planes >= 1 && h.planes <= 4)
                       || ((h.bitsPerPlane == 2 || h.bitsPerPlane == 4) && h.planes == 1)
                       || (h.bitsPerPlane == 8 && (h.planes == 1 || h.planes == 3 || h.planes == 4));
    if (!known)
        return refuse(why, QStringLiteral("PCX depth of %1 bits in %2 planes is not supported")
                               .arg(h.bitsPerPlane).arg(h.planes));
    if (h.bytesPerLine < (qint64(h.width) * h.bitsPerPlane + 7) / 8)
        return refuse(why, QStringLiteral("PCX lines of %1 bytes are too short for %2 pixels")
                               .arg(h.bytesPerLine).arg(h.width));
    if (qint64(h.width) * h.height > kMaxPixels)
        return refuse(why, QStringLiteral("PCX picture too large"));
    return true;
}

QImage readPcx(const QByteArray& file, int* bits, QString* why)
{
    PcxHeader h;
    if (!readPcxHeader(file, h, why))
        return {};
    const bool encoded = uchar(file[2]) == 1;
    const qint64 lineBytes = qint64(h.bytesPerLine) * h.planes;
    const qint64 total = lineBytes * h.height;
    // A run of two bytes gives at most 63: a file too short to hold the rows even so is
    // refused before anything is allocated for them.
    const qint64 available = file.size() - kHeaderSize;
    if ((encoded ? available * 63 / 2 + 1 : available) < total) {
        refuse(why, QStringLiteral("PCX file is truncated"));
        return {};
    }
    // The picture is made first and each line decoded into it through a buffer of one line:
    // a file that compresses far costs its picture, not the picture twice.
    QImage image;
    int depth = 0;
    if (h.planes == 1 && h.bitsPerPlane == 1) {
        image = QImage(h.width, h.height, QImage::Format_Mono);
        if (!image.isNull())
            image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        depth = 1;
    } else if (h.planes >= 3 && h.bitsPerPlane == 8) {
        image = QImage(h.width, h.height, QImage::Format_RGB888);
        depth = 24;
    } else {
        image = QImage(h.width, h.height, QImage::Format_Indexed8);
        if (h.bitsPerPlane == 8) {
            QList<QRgb> colors = greyTable();
            const qint64 tableAt = file.size() - 769;
            const auto* in = reinterpret_cast<const uchar*>(file.constData());
            if (tableAt >= kHeaderSize && uchar(file[tableAt]) == 0x0C)
                for (int i = 0; i < 256; ++i)
                    colors[i] = qRgb(in[tableAt + 1 + 3 * i], in[tableAt + 2 + 3 * i], in[tableAt + 3 + 3 * i]);
            image.setColorTable(colors);
            depth = 8;
        } else {
            image.setColorTable(headerColors(file, 1 << h.bits()));
            depth = 4;
        }
    }
    if (image.isNull()) {
        refuse(why, imagingMessage(msgCantAllocate));
        return {};
    }
    platform::PreferHugePages(image);

    QByteArray lineBuffer(qsizetype(lineBytes), '\0');
    auto* line = reinterpret_cast<uchar*>(lineBuffer.data());
    const auto* in = reinterpret_cast<const uchar*>(file.constData());
    qint64 at = kHeaderSize;
    const auto next = [&](uchar& b) {
        if (at >= file.size())
            return false;
        b = in[at++];
        return true;
    };
    // A run may go on into the next line.
    qint64 runLeft = 0;
    uchar runByte = 0;
    for (int y = 0; y < h.height; ++y) {
        qint64 filled = 0;
        while (filled < lineBytes) {
            if (runLeft == 0) {
                bool whole = next(runByte);
                runLeft = 1;
                if (whole && encoded && (runByte & 0xC0) == 0xC0) {
                    runLeft = runByte & 0x3F;
                    whole = next(runByte);
                }
                if (!whole) {
                    refuse(why, QStringLiteral("PCX file is truncated"));
                    return {};
                }
            }
            const qint64 count = qMin(runLeft, lineBytes - filled);
            std::fill(line + filled, line + filled + count, runByte);
            filled += count;
            runLeft -= count;
        }
        uchar* d = image.scanLine(y);
        if (depth == 1) {
            std::copy_n(line, (h.width + 7) / 8, d);
        } else if (depth == 24) {
            for (int x = 0; x < h.width; ++x)
                for (int c = 0; c < 3; ++c)
                    d[3 * x + c] = line[c * h.bytesPerLine + x];
        } else {
            for (int x = 0; x < h.width; ++x) {
                int index = 0;
                if (h.bitsPerPlane == 8) {
                    index = line[x];
                } else if (h.bitsPerPlane == 1) { // one bit per plane, plane p is bit p
                    for (int p = 0; p < h.planes; ++p)
                        index |= ((line[p * h.bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << p;
                } else {
                    const int perByte = 8 / h.bitsPerPlane;
                    const int shift = 8 - h.bitsPerPlane * (x % perByte + 1);
                    index = (line[x / perByte] >> shift) & ((1 << h.bitsPerPlane) - 1);
                }
                d[x] = uchar(index);
            }
        }
    }
    if (bits != nullptr)
        *bits = depth;
    return image;
}

} // namespace imaging
