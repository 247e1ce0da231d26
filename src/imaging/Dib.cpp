#include "imaging/Dib.h"

#include "imaging/ImagingErrors.h"
#include "platform/Heap.h"

#include <QPainter>
#include <QSet>

#include <bit>
#include <cstring>
#include <limits>
#include <new>

namespace imaging {

namespace {

// Run-length blocks do not carry their rows, so nothing in the block bounds the picture: this
// does, far above any label picture.
constexpr qint64 kMaxRlePixels = 64LL * 1024 * 1024;
quint32 u32(const QByteArray& b, qint64 at)
{
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 u16(const QByteArray& b, qint64 at)
{
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
    return quint16(p[0] | p[1] << 8);
}

void put32(uchar* p, quint32 v)
{
    p[0] = uchar(v);
    p[1] = uchar(v >> 8);
    p[2] = uchar(v >> 16);
    p[3] = uchar(v >> 24);
}

void put16(uchar* p, quint16 v)
{
    p[0] = uchar(v);
    p[1] = uchar(v >> 8);
}

bool refuse(QString* why, const QString& text)
{
    if (why != nullptr)
        *why = text;
    return false;
}

// One channel of a bit-field pixel, scaled to 0..255.
int channel(quint32 value, quint32 mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const quint32 m = mask >> shift;
    const int width = std::countr_one(m);
    const quint64 max = (quint64(1) << width) - 1;
    return int(((value >> shift) & max) * 255 / max);
}

// Decodes run-length rows into an 8-bit index buffer, bottom-up as the block stores them.
// Pixels that a run would put outside the picture are dropped; running out of data ends the
// picture where it is, as the format's end marker would.
bool decodeRle(const uchar* data, qint64 size, bool fourBits, QImage& out)
{
    const int w = out.width();
    const int h = out.height();
    int x = 0;
    int y = 0; // counted from the bottom row
    auto put = [&](int index) {
        if (x < w && y < h)
            out.scanLine(h - 1 - y)[x] = uchar(index);
        ++x;
    };
    qint64 i = 0;
    while (i + 1 < size) {
        const int count = data[i];
        const int value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                put(fourBits ? ((k & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of picture
            return true;
        } else if (value == 2) { // move right and up
            if (i + 1 >= size)
                return true;
            x += data[i];
            y += data[i + 1];
            i += 2;
        } else { // `value` pixels as they stand, padded to a 16-bit boundary
            const qint64 bytes = fourBits ? (value + 1) / 2 : value;
            if (i + bytes > size)
                return false;
            for (int k = 0; k < value; ++k)
                put(fourBits ? ((k & 1) ? data[i + k / 2] & 0x0F : data[i + k / 2] >> 4)
                             : data[i + k]);
            i += bytes + (bytes & 1);
        }
        if (y >= h)
            return true;
    }
    return true;
}

QList<QRgb> tableOf(const QByteArray& block, const DibLayout& l, int entries)
{
    QList<QRgb> table;
    table.reserve(entries);
    for (int i = 0; i < entries; ++i) {
        if (i < l.colorCount) {
            const auto* p = reinterpret_cast<const uchar*>(block.constData()) + l.tableOffset + 4 * i;
            table.append(qRgb(p[2], p[1], p[0]));
        } else {
            table.append(qRgb(0, 0, 0));
        }
    }
    return table;
}

QImage onWhite(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image;
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter p(&flat);
    p.drawImage(0, 0, image);
    return flat;
}

// An indexed picture's see-through colours made the white they show on, as every other kind
// of picture is flattened onto white.
QImage paletteOnWhite(const QImage& image)
{
    QList<QRgb> table = image.colorTable();
    bool changed = false;
    for (QRgb& c : table) {
        const int a = qAlpha(c);
        if (a == 255)
            continue;
        auto blend = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
        c = qRgb(blend(qRed(c)), blend(qGreen(c)), blend(qBlue(c)));
        changed = true;
    }
    if (!changed)
        return image;
    QImage flat = image;
    flat.setColorTable(table);
    return flat;
}

} // namespace

QList<QRgb> greyTable()
{
    QList<QRgb> greys;
    greys.reserve(256);
    for (int i = 0; i < 256; ++i)
        greys.append(qRgb(i, i, i));
    return greys;
}

std::optional<DibLayout> checkDib(const QByteArray& block, QString* why)
{
    const qint64 size = block.size();
    if (size < kBitmapInfoHeaderSize)
        return refuse(why, QStringLiteral("bitmap block shorter than its header")), std::nullopt;
    DibLayout l;
    const quint32 headerSize = u32(block, 0);
    if (headerSize < quint32(kBitmapInfoHeaderSize) || headerSize > quint64(size))
        return refuse(why, QStringLiteral("bitmap header size %1 is wrong").arg(headerSize)),
               std::nullopt;
    l.headerSize = int(headerSize);
    const qint32 width = qint32(u32(block, 4));
    const qint32 height = qint32(u32(block, 8));
    l.bits = u16(block, 14);
    l.compression = int(u32(block, 16));
    const quint32 colorsUsed = u32(block, 32);
    if (width <= 0 || width > kMaxPictureSide || height == 0 || height < -kMaxPictureSide || height > kMaxPictureSide)
        return refuse(why, QStringLiteral("bitmap size %1 x %2 is wrong").arg(width).arg(height)),
               std::nullopt;
    l.width = width;
    l.height = height < 0 ? -height : height;
    l.topDown = height < 0;
    switch (l.bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default:
        return refuse(why, QStringLiteral("%1 bits per pixel is not a bitmap depth").arg(l.bits)),
               std::nullopt;
    }
    const bool rle = l.compression == BI_RLE8 || l.compression == BI_RLE4;
    const bool fits = l.compression == BI_RGB
                      || (l.compression == BI_RLE8 && l.bits == 8)
                      || (l.compression == BI_RLE4 && l.bits == 4)
                      || (l.compression == BI_BITFIELDS && (l.bits == 16 || l.bits == 32));
    if (!fits || (rle && l.topDown))
        return refuse(why, QStringLiteral("compression %1 at %2 bits is not supported")
                               .arg(l.compression).arg(l.bits)),
               std::nullopt;
    if (l.bits <= 8) {
        const quint32 most = 1u << l.bits;
        if (colorsUsed > most)
            return refuse(why, QStringLiteral("%1 colours for %2 bits per pixel")
                                   .arg(colorsUsed).arg(l.bits)),
                   std::nullopt;
        l.colorCount = colorsUsed == 0 ? int(most) : int(colorsUsed);
    } else {
        // Deep blocks may carry a table as a hint for palette displays; it is skipped.
        if (colorsUsed > 256)
            return refuse(why, QStringLiteral("%1 colours in a %2-bit bitmap")
                                   .arg(colorsUsed).arg(l.bits)),
                   std::nullopt;
        l.colorCount = int(colorsUsed);
    }
    l.tableOffset = l.headerSize;
    if (l.compression == BI_BITFIELDS) {
        if (l.headerSize == kBitmapInfoHeaderSize)
            l.tableOffset += 12; // the masks follow a plain header
        if (l.tableOffset > size || kBitmapInfoHeaderSize + 12 > size)
            return refuse(why, QStringLiteral("bitmap block ends in its colour masks")),
                   std::nullopt;
        for (int i = 0; i < 3; ++i)
            l.masks[i] = u32(block, kBitmapInfoHeaderSize + 4 * i);
        if (l.bits == 16 && (l.masks[0] | l.masks[1] | l.masks[2]) > 0xFFFF)
            return refuse(why, QStringLiteral("colour masks wider than 16 bits")), std::nullopt;
    }
    l.bitsOffset = l.tableOffset + 4LL * l.colorCount;
    if (l.bitsOffset > size)
        return refuse(why, QStringLiteral("bitmap block ends in its colour table")), std::nullopt;
    if (rle) {
        if (qint64(l.width) * l.height > kMaxRlePixels)
            return refuse(why, QStringLiteral("run-length bitmap too large")), std::nullopt;
        l.bitsSize = size - l.bitsOffset;
        const quint32 stated = u32(block, 20);
        if (stated != 0 && stated < quint64(l.bitsSize))
            l.bitsSize = stated;
    } else {
        const qint64 rows = dibStride(l.width, l.bits) * l.height;
        if (size - l.bitsOffset < rows)
            return refuse(why, QStringLiteral("bitmap block holds %1 of its %2 bytes of pixels")
                                   .arg(size - l.bitsOffset).arg(rows)),
                   std::nullopt;
        l.bitsSize = rows;
    }
    return l;
}

QImage dibToImage(const QByteArray& block, int* bits, QString* why)
{
    const std::optional<DibLayout> checked = checkDib(block, why);
    if (!checked)
        return {};
    const DibLayout& l = *checked;
    const auto* data = reinterpret_cast<const uchar*>(block.constData());
    const uchar* pixels = data + l.bitsOffset;
    const qint64 stride = dibStride(l.width, l.bits);
    auto sourceRow = [&](int y) { return pixels + stride * (l.topDown ? y : l.height - 1 - y); };

    QImage image;
    switch (l.bits) {
    case 1:
        image = QImage(l.width, l.height, QImage::Format_Mono);
        if (image.isNull())
            break;
        image.setColorTable(tableOf(block, l, 2));
        for (int y = 0; y < l.height; ++y)
            std::memcpy(image.scanLine(y), sourceRow(y), size_t((l.width + 7) / 8));
        break;
    case 4:
    case 8:
        image = QImage(l.width, l.height, QImage::Format_Indexed8);
        if (image.isNull())
            break;
        image.setColorTable(tableOf(block, l, 1 << l.bits));
        if (l.compression != BI_RGB) {
            image.fill(0);
            if (!decodeRle(pixels, l.bitsSize, l.bits == 4, image)) {
                refuse(why, QStringLiteral("run-length data is damaged"));
                return {};
            }
            break;
        }
        for (int y = 0; y < l.height; ++y) {
            const uchar* s = sourceRow(y);
            uchar* d = image.scanLine(y);
            if (l.bits == 8)
                std::memcpy(d, s, size_t(l.width));
            else
                for (int x = 0; x < l.width; ++x)
                    d[x] = (x & 1) ? s[x / 2] & 0x0F : s[x / 2] >> 4;
        }
        break;
    case 24:
        image = QImage(l.width, l.height, QImage::Format_RGB888);
        if (image.isNull())
            break;
        platform::PreferHugePages(image);
        for (int y = 0; y < l.height; ++y) {
            const uchar* s = sourceRow(y);
            uchar* d = image.scanLine(y);
            for (int x = 0; x < l.width; ++x) {
                d[3 * x] = s[3 * x + 2];
                d[3 * x + 1] = s[3 * x + 1];
                d[3 * x + 2] = s[3 * x];
            }
        }
        break;
    default: { // 16 and 32
        image = QImage(l.width, l.height, QImage::Format_RGB32);
        if (image.isNull())
            break;
        quint32 masks[3] = {l.masks[0], l.masks[1], l.masks[2]};
        if (l.compression == BI_RGB) {
            if (l.bits == 16) {
                masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
            } else {
                masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF;
            }
        }
        for (int y = 0; y < l.height; ++y) {
            const uchar* s = sourceRow(y);
            auto* d = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < l.width; ++x) {
                const quint32 v = l.bits == 16
                    ? quint32(s[2 * x] | s[2 * x + 1] << 8)
                    : quint32(s[4 * x]) | quint32(s[4 * x + 1]) << 8
                          | quint32(s[4 * x + 2]) << 16 | quint32(s[4 * x + 3]) << 24;
                d[x] = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
            }
        }
        break;
    }
    }
    if (image.isNull()) {
        refuse(why, imagingMessage(msgCantAllocate));
        return {};
    }
    if (bits != nullptr)
        *bits = l.bits;
    return image;
}

const QList<QRgb>& vga16Colors()
{
    static const QList<QRgb> colors = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return colors;
}

QImage imageAtDepth(const QImage& source, int bits, bool dither)
{
    if (source.isNull())
        return {};
    const Qt::ImageConversionFlags flags =
        dither ? Qt::ImageConversionFlags(Qt::DiffuseDither)
               : Qt::ImageConversionFlags(Qt::ThresholdDither | Qt::AvoidDither);
    const bool indexed =
        source.format() == QImage::Format_Indexed8 || source.format() == QImage::Format_Mono
        || source.format() == QImage::Format_MonoLSB;
    if (indexed && source.hasAlphaChannel())
        return imageAtDepth(paletteOnWhite(source), bits, dither);
    switch (bits) {
    case 1:
        if (source.format() == QImage::Format_Mono && source.colorCount() == 2)
            return source;
        return onWhite(source).convertToFormat(QImage::Format_Mono, flags | Qt::MonoOnly);
    case 4: {
        if (indexed && source.colorCount() <= 16)
            return source.convertToFormat(QImage::Format_Indexed8);
        // A picture of 16 colours or fewer keeps them; any other is brought to the VGA colours.
        const QImage rgb = onWhite(source).convertToFormat(QImage::Format_RGB32);
        QList<QRgb> colors;
        QSet<QRgb> seen;
        for (int y = 0; y < rgb.height() && colors.size() <= 16; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width() && colors.size() <= 16; ++x)
                if (!seen.contains(line[x])) {
                    seen.insert(line[x]);
                    colors.append(line[x]);
                }
        }
        return rgb.convertToFormat(QImage::Format_Indexed8,
                                   colors.size() <= 16 ? colors : vga16Colors(), flags);
    }
    case 8:
        if (indexed)
            return source.convertToFormat(QImage::Format_Indexed8);
        return onWhite(source).convertToFormat(QImage::Format_Indexed8, flags);
    case 16:
    case 24:
    case 32:
        return onWhite(source).convertToFormat(QImage::Format_RGB888);
    default:
        return {};
    }
}

QByteArray imageToDib(const QImage& source, int bits, bool dither)
{
    if (bits == 16 || bits == 32)
        bits = 24;
    if (source.isNull() || (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return {};
    const QImage image = imageAtDepth(source, bits, dither);
    if (image.isNull())
        return {};
    const QList<QRgb> table = image.colorTable();
    QByteArray block;
    qint64 bitsOffset = 0;
    {
        ILTDib dib;
        if (!dib.Allocate(bits <= 8 ? &table : nullptr, image.width(), bits, image.height()))
            return {};
        bitsOffset = dib.BitsOffset();
        block = dib.Dib();
    } // the wrapper lets the block go: writing its rows copies nothing
    uchar* pixels = reinterpret_cast<uchar*>(block.data()) + bitsOffset;
    const qint64 stride = dibStride(image.width(), bits);
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const uchar* s = image.constScanLine(y);
        uchar* d = pixels + stride * (image.height() - 1 - y);
        switch (bits) {
        case 1: std::memcpy(d, s, size_t((w + 7) / 8)); break;
        case 4:
            for (int x = 0; x < w; ++x)
                d[x / 2] |= (x & 1) ? (s[x] & 0x0F) : uchar(s[x] << 4);
            break;
        case 8: std::memcpy(d, s, size_t(w)); break;
        default:
            for (int x = 0; x < w; ++x) {
                d[3 * x] = s[3 * x + 2];
                d[3 * x + 1] = s[3 * x + 1];
                d[3 * x + 2] = s[3 * x];
            }
        }
    }
    return block;
}

QByteArray bmpFileOf(const QByteArray& block)
{
    const std::optional<DibLayout> l = checkDib(block);
    const qint64 pixelsAt = kBitmapFileHeaderSize + (l ? l->bitsOffset : ILTDib(block).BitsOffset());
    QByteArray file(kBitmapFileHeaderSize, '\0');
    auto* p = reinterpret_cast<uchar*>(file.data());
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, quint32(kBitmapFileHeaderSize + block.size()));
    put32(p + 10, quint32(pixelsAt));
    return file + block;
}

QByteArray dibOfBmpFile(const QByteArray& file, QString* why)
{
    if (file.size() < kBitmapFileHeaderSize + kBitmapInfoHeaderSize || !file.startsWith("BM")) {
        refuse(why, QStringLiteral("not a BMP file"));
        return {};
    }
    const QByteArray block = file.mid(kBitmapFileHeaderSize);
    // Where the header and its colour table end, as the header states them.
    const quint32 headerSize = u32(block, 0);
    const int bits = u16(block, 14);
    const quint32 used = u32(block, 32);
    const quint64 colors = bits <= 8 && used == 0 ? (1u << bits) : used;
    const quint64 tableEnd = quint64(headerSize)
                             + (u32(block, 16) == BI_BITFIELDS && headerSize == 40 ? 12 : 0)
                             + 4 * qMin<quint64>(colors, 65536);
    // Some writers leave a gap between the colour table and the pixels: the file header's
    // offset says where they are.
    const quint64 pixelsAt = u32(file, 10);
    if (pixelsAt > kBitmapFileHeaderSize + tableEnd && pixelsAt <= quint64(file.size())
        && tableEnd <= quint64(block.size())) {
        const QByteArray joined = block.left(qsizetype(tableEnd)) + file.mid(qsizetype(pixelsAt));
        if (checkDib(joined, why))
            return joined;
        return {};
    }
    if (checkDib(block, why))
        return block;
    return {};
}

// --- ILTDib -------------------------------------------------------------------------------

void ILTDib::SetDib(const QByteArray& block)
{
    m_block = block;
}

quint32 ILTDib::field(int offset, int size) const
{
    if (m_block.size() < kBitmapInfoHeaderSize)
        return 0;
    return size == 2 ? u16(m_block, offset) : u32(m_block, offset);
}

int ILTDib::BitCount() const { return int(field(14, 2)); }
int ILTDib::Width() const { return qint32(field(4, 4)); }
int ILTDib::Height() const { return qint32(field(8, 4)); }
int ILTDib::Compression() const { return int(field(16, 4)); }

int ILTDib::ColorCount() const
{
    if (m_block.size() < kBitmapInfoHeaderSize)
        return 0;
    const quint32 used = field(32, 4);
    if (used != 0)
        return used > 65536 ? 65536 : int(used);
    const int bits = BitCount();
    return bits <= 8 ? 1 << bits : 0;
}

qint64 ILTDib::TotalSize()
{
    if (m_block.size() < kBitmapInfoHeaderSize)
        return 0;
    quint32 image = field(20, 4);
    if (image == 0) {
        // Any header may arrive here: the product is kept from overflowing, and a size beyond
        // what the field holds is written as its largest value.
        const quint64 stride = quint64(dibStride(qMax(0, Width()), BitCount()));
        const quint64 height = quint64(qAbs(qint64(Height())));
        const quint64 most = std::numeric_limits<quint32>::max();
        image = quint32(stride != 0 && height > most / stride ? most : qMin(stride * height, most));
        put32(reinterpret_cast<uchar*>(m_block.data()) + 20, image);
    }
    return HeaderSize() + qint64(image);
}

int ILTDib::ColorsForBits(int bits)
{
    switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

QList<QRgb> ILTDib::Palette() const
{
    QList<QRgb> colors;
    const int n = ColorCount();
    for (int i = 0; i < n; ++i) {
        const qint64 at = kBitmapInfoHeaderSize + 4LL * i;
        if (at + 4 > m_block.size())
            break;
        const auto* p = reinterpret_cast<const uchar*>(m_block.constData()) + at;
        colors.append(qRgb(p[2], p[1], p[0]));
    }
    return colors;
}

bool ILTDib::Allocate(const QList<QRgb>* palette, int width, int bits, int height)
{
    if (width < 0 || height < 0)
        return false;
    const qint64 rows = qint64(height) * dibStride(width, bits);
    int entries = 0;
    int stored = bits;
    switch (bits) {
    case 1: case 2: entries = 2; stored = 1; break;
    case 4: entries = 16; break;
    case 8: entries = 256; break;
    case 16: case 24: case 32: break;
    default: return false;
    }
    const qint64 total = kBitmapInfoHeaderSize + 4LL * entries + rows;
    if (total > std::numeric_limits<qsizetype>::max() / 2 || rows > std::numeric_limits<quint32>::max())
        throw ErrorInvalid(imagingMessage(msgCantAllocate));
    QByteArray block;
    try {
        block = QByteArray(qsizetype(total), Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        throw ErrorInvalid(imagingMessage(msgCantAllocate));
    }
    platform::PreferHugePages(block.data(), total);
    std::memset(block.data(), 0, size_t(total));
    auto* p = reinterpret_cast<uchar*>(block.data());
    put32(p, kBitmapInfoHeaderSize);
    put32(p + 4, quint32(width));
    put32(p + 8, quint32(height));
    put16(p + 12, 1);
    put16(p + 14, quint16(stored));
    put32(p + 16, BI_RGB);
    put32(p + 20, quint32(rows));
    put32(p + 24, kPelsPerMeter);
    put32(p + 28, kPelsPerMeter);
    put32(p + 32, quint32(entries));
    put32(p + 36, quint32(entries));
    if (palette != nullptr)
        for (int i = 0; i < entries && i < palette->size(); ++i) {
            uchar* e = p + kBitmapInfoHeaderSize + 4 * i;
            const QRgb c = palette->at(i);
            e[0] = uchar(qBlue(c));
            e[1] = uchar(qGreen(c));
            e[2] = uchar(qRed(c));
        }
    SetDib(block);
    return true;
}

} // namespace imaging
