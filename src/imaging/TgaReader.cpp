#include "imaging/TgaReader.h"

#include "imaging/Dib.h"
#include "imaging/ImagingErrors.h"
#include "platform/Heap.h"

#include <QList>

#include <algorithm>

namespace imaging {

namespace {

constexpr int kHeaderSize = 18;
constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

int le16(const uchar* p)
{
    return p[0] | p[1] << 8;
}

// One stored colour of 15/16, 24 or 32 bits; `alpha` only for 32.
QRgb colorOf(const uchar* p, int bytes, bool alpha)
{
    switch (bytes) {
    case 2: {
        const int v = le16(p);
        auto five = [](int c) { return (c << 3) | (c >> 2); };
        return qRgb(five((v >> 10) & 31), five((v >> 5) & 31), five(v & 31));
    }
    case 3: return qRgb(p[2], p[1], p[0]);
    default: return alpha ? qRgba(p[2], p[1], p[0], p[3]) : qRgb(p[2], p[1], p[0]);
    }
}

} // namespace

QImage readTga(const QByteArray& file, int* bits, QString* why)
{
    auto refuse = [&](const QString& text) {
        if (why != nullptr)
            *why = text;
        return QImage();
    };
    if (file.size() < kHeaderSize)
        return refuse(QStringLiteral("not a TGA file"));
    const auto* data = reinterpret_cast<const uchar*>(file.constData());
    const qint64 size = file.size();
    const int idLength = data[0];
    const int mapType = data[1];
    const int type = data[2];
    const int mapFirst = le16(data + 3);
    const int mapLength = le16(data + 5);
    const int mapDepth = data[7];
    const int width = le16(data + 12);
    const int height = le16(data + 14);
    const int depth = data[16];
    const int descriptor = data[17];
    const bool rle = type >= 9;
    const int kind = type & 7; // 1 colour-mapped, 2 true-colour, 3 grey
    if ((type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11) || mapType > 1)
        return refuse(QStringLiteral("TGA picture type %1 is not supported").arg(type));
    if (width == 0 || height == 0 || qint64(width) * height > kMaxPixels)
        return refuse(QStringLiteral("TGA picture size %1 x %2 is not supported").arg(width).arg(height));
    const bool depthOk = kind == 1 ? (depth == 8 && mapType == 1 && mapLength > 0
                                      && (mapDepth == 15 || mapDepth == 16 || mapDepth == 24
                                          || mapDepth == 32))
                         : kind == 3 ? depth == 8
                                     : (depth == 15 || depth == 16 || depth == 24 || depth == 32);
    if (!depthOk)
        return refuse(QStringLiteral("TGA depth of %1 bits is not supported for type %2").arg(depth).arg(type));

    qint64 at = kHeaderSize + idLength;
    QList<QRgb> colors;
    if (mapType == 1) {
        const int entryBytes = (mapDepth + 7) / 8;
        if (at + qint64(mapLength) * entryBytes > size)
            return refuse(QStringLiteral("TGA file is truncated in its colour map"));
        if (kind == 1) {
            if (mapFirst + mapLength > 256)
                return refuse(QStringLiteral("TGA colour map does not fit 8-bit pixels"));
            colors.fill(qRgb(0, 0, 0), 256);
            for (int i = 0; i < mapLength; ++i)
                colors[mapFirst + i] = colorOf(data + at + i * entryBytes, entryBytes, false);
        }
        at += qint64(mapLength) * entryBytes;
    }
    const int pixelBytes = (depth + 7) / 8;
    const qint64 total = qint64(width) * height;
    if (!rle && at + total * pixelBytes > size)
        return refuse(QStringLiteral("TGA file is truncated"));
    if (rle && (size - at) * 128 < total)
        return refuse(QStringLiteral("TGA file is truncated"));

    // The picture is made first and each pixel stored in its place as it is decoded: a file
    // that compresses far costs its picture, not the picture twice. Colours without alpha take
    // three bytes a pixel, as the block made of them does.
    const bool alpha = depth == 32 && (descriptor & 15) != 0;
    QImage image(width, height, kind == 2 ? (alpha ? QImage::Format_ARGB32 : QImage::Format_RGB888)
                                          : QImage::Format_Indexed8);
    if (image.isNull())
        return refuse(imagingMessage(msgCantAllocate));
    platform::PreferHugePages(image);
    if (kind == 1) {
        image.setColorTable(colors);
    } else if (kind == 3) {
        image.setColorTable(greyTable());
    }
    const bool topDown = descriptor & 0x20;
    const bool rightToLeft = descriptor & 0x10;
    int row = 0, col = 0;
    uchar* line = image.scanLine(topDown ? 0 : height - 1);
    // Stores one stored pixel at the next place, in the file's order of rows and columns.
    const auto put = [&](const uchar* p) {
        const int x = rightToLeft ? width - 1 - col : col;
        if (kind != 2) {
            line[x] = p[0];
        } else if (alpha) {
            reinterpret_cast<QRgb*>(line)[x] = colorOf(p, pixelBytes, true);
        } else {
            const QRgb c = colorOf(p, pixelBytes, false);
            line[3 * x] = uchar(qRed(c));
            line[3 * x + 1] = uchar(qGreen(c));
            line[3 * x + 2] = uchar(qBlue(c));
        }
        if (++col == width && ++row < height) {
            col = 0;
            line = image.scanLine(topDown ? row : height - 1 - row);
        }
    };
    if (!rle) {
        for (qint64 i = 0; i < total; ++i)
            put(data + at + i * pixelBytes);
    } else {
        qint64 done = 0;
        while (done < total) {
            if (at >= size)
                return refuse(QStringLiteral("TGA file is truncated"));
            const int packet = data[at++];
            const qint64 count = qMin<qint64>((packet & 0x7F) + 1, total - done);
            if (packet & 0x80) {
                if (at + pixelBytes > size)
                    return refuse(QStringLiteral("TGA file is truncated"));
                for (qint64 i = 0; i < count; ++i)
                    put(data + at);
                at += pixelBytes;
            } else {
                if (at + count * pixelBytes > size)
                    return refuse(QStringLiteral("TGA file is truncated"));
                for (qint64 i = 0; i < count; ++i)
                    put(data + at + i * pixelBytes);
                at += count * pixelBytes;
            }
            done += count;
        }
    }
    if (bits != nullptr)
        *bits = kind == 2 ? 24 : 8;
    return image;
}

} // namespace imaging
