#include "imaging/ImageFiles.h"

#include "imaging/DxfFile.h"
#include "imaging/EpsFile.h"
#include "imaging/PcdReader.h"
#include "imaging/PcxReader.h"
#include "imaging/TiffFile.h"

#include <QBuffer>
#include <QImageReader>

namespace imaging {

namespace {

quint32 le32(const QByteArray& b, qint64 at)
{
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
int le16(const QByteArray& b, qint64 at)
{
    return uchar(b[at]) | uchar(b[at + 1]) << 8;
}
int be16(const QByteArray& b, qint64 at)
{
    return uchar(b[at]) << 8 | uchar(b[at + 1]);
}
quint32 be32(const QByteArray& b, qint64 at)
{
    return quint32(be16(b, at)) << 16 | quint32(be16(b, at + 2));
}

bool refuse(QString* why, const QString& text)
{
    if (why != nullptr)
        *why = text;
    return false;
}

// A Truevision header has no signature: it is taken for one when every field is in range.
bool plausibleTga(const QByteArray& f)
{
    if (f.size() < 18)
        return false;
    const int mapType = uchar(f[1]), type = uchar(f[2]), depth = uchar(f[16]);
    const bool typeOk = type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
    const bool depthOk = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    return mapType <= 1 && typeOk && depthOk && le16(f, 12) > 0 && le16(f, 14) > 0
           && ((type & 3) == 1) == (mapType == 1);
}

bool isDxf(const QByteArray& f)
{
    const QByteArray head = f.left(256).simplified();
    return head.startsWith("0 SECTION") || head.startsWith("999 ");
}

// The depth a GIF states: its global colour table, else the first image's local one.
int gifBits(const QByteArray& f)
{
    if (f.size() < 13)
        return 0;
    const int packed = uchar(f[10]);
    if (packed & 0x80)
        return (packed & 7) + 1;
    qint64 at = 13;
    while (at < f.size()) {
        const int block = uchar(f[at]);
        if (block == 0x2C) { // image descriptor
            if (at + 10 > f.size())
                return 0;
            const int local = uchar(f[at + 9]);
            return (local & 0x80) ? (local & 7) + 1 : 8;
        }
        if (block != 0x21 || at + 2 >= f.size()) // only extensions may come before
            return 0;
        at += 2;
        while (at < f.size() && uchar(f[at]) != 0)
            at += uchar(f[at]) + 1;
        ++at;
    }
    return 0;
}

// Size and depth from a JPEG's frame header.
bool jpegFrame(const QByteArray& f, int& width, int& height, int& bits)
{
    qint64 at = 2;
    while (at + 4 <= f.size()) {
        if (uchar(f[at]) != 0xFF)
            return false;
        const int marker = uchar(f[at + 1]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const int length = be16(f, at + 2);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8
                           && marker != 0xCC;
        if (frame) {
            if (at + 10 > f.size())
                return false;
            height = be16(f, at + 5);
            width = be16(f, at + 7);
            bits = uchar(f[at + 4]) * uchar(f[at + 9]);
            return width > 0 && height > 0 && bits > 0;
        }
        if (length < 2)
            return false;
        at += 2 + length;
    }
    return false;
}

} // namespace

int jpegScanCount(const QByteArray& f)
{
    // Marker segments carry their length; a scan's coded data runs to the next marker, where a
    // 0xFF in the data is followed by 0 (a stuffed byte) or a restart marker. Bytes between
    // segments are skipped up to the next 0xFF, as the JPEG library skips them.
    int scans = 0;
    qint64 at = 2;
    const qint64 size = f.size();
    while (at + 1 < size) {
        if (uchar(f[at]) != 0xFF || uchar(f[at + 1]) == 0xFF || uchar(f[at + 1]) == 0) {
            ++at;
            continue;
        }
        const int marker = uchar(f[at + 1]);
        if (marker == 0xD9) // end of image: the library reads no further
            break;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (at + 4 > size)
            break;
        at += 2 + be16(f, at + 2);
        if (marker != 0xDA)
            continue;
        ++scans;
        while (at + 1 < size
               && !(uchar(f[at]) == 0xFF && uchar(f[at + 1]) != 0 && (uchar(f[at + 1]) < 0xD0 || uchar(f[at + 1]) > 0xD7)))
            ++at;
    }
    return scans;
}

namespace {

// Qt's readers draw what they have of a cut file and fill the rest; a cut file is an error
// here, found by the end each format must have.
bool complete(const QByteArray& f, const char* format, QString* why)
{
    const QByteArray name(format);
    bool ok = true;
    if (name == "bmp") {
        if (f.size() >= 18 && le32(f, 14) >= 40)
            return !dibOfBmpFile(f, why).isEmpty();
    } else if (name == "png") {
        ok = f.contains("IEND");
    } else if (name == "gif") {
        ok = f.lastIndexOf(';') >= f.size() - 16;
    } else if (name == "jpeg") {
        // The last end-of-image marker comes after the last scan (a thumbnail has its own).
        ok = f.lastIndexOf("\xFF\xD9") > f.lastIndexOf("\xFF\xDA");
    }
    if (!ok)
        refuse(why, QStringLiteral("%1 file is truncated").arg(QString::fromLatin1(format).toUpper()));
    return ok;
}

} // namespace

QString sniffFormat(const QByteArray& f)
{
    if (f.startsWith("BM"))
        return QStringLiteral("BMP");
    if (f.startsWith("\x89PNG\r\n\x1a\n"))
        return QStringLiteral("PNG");
    if (f.startsWith("GIF87a") || f.startsWith("GIF89a"))
        return QStringLiteral("GIF");
    if (f.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("JPEG");
    if (f.startsWith("II*\0") || f.startsWith("MM\0*"))
        return QStringLiteral("TIF");
    if (f.size() > 0x807 && f.mid(0x800, 7) == "PCD_IPI")
        return QStringLiteral("PCD");
    if (f.startsWith("%!PS") || f.startsWith("\xC5\xD0\xD3\xC6"))
        return QStringLiteral("EPS");
    if (PcxHeader h; readPcxHeader(f, h))
        return QStringLiteral("PCX");
    if (isDxf(f))
        return QStringLiteral("DXF");
    if (plausibleTga(f))
        return QStringLiteral("TGA");
    return {};
}

bool fileInfoOf(const QString& path, const QByteArray& f, ImageFileInfo& info, QString* why)
{
    info = ImageFileInfo();
    info.format = sniffFormat(f);
    const QString& format = info.format;
    if (format == QLatin1String("BMP")) {
        if (f.size() < 30)
            return refuse(why, QStringLiteral("BMP header is truncated"));
        const quint32 header = le32(f, 14);
        if (header == 12) {
            info.width = le16(f, 18);
            info.height = le16(f, 20);
            info.bits = qint16(le16(f, 24));
        } else if (header >= 40 && f.size() >= 54) {
            info.width = qint32(le32(f, 18));
            // A top-down file states a negative height; the most negative has no positive.
            info.height = qint32(qMin<qint64>(qAbs(qint64(qint32(le32(f, 22)))), 0x7FFFFFFF));
            info.bits = qint16(le16(f, 28));
            info.value1 = qint16(qMin<quint64>(quint64(le32(f, 38)) * 254 / 10000, 32767));
            info.value2 = qint16(qMin<quint64>(quint64(le32(f, 42)) * 254 / 10000, 32767));
        } else {
            return refuse(why, QStringLiteral("BMP header is damaged"));
        }
        info.description = QStringLiteral("Windows bitmap");
    } else if (format == QLatin1String("PNG")) {
        if (f.size() < 33 || f.mid(12, 4) != "IHDR")
            return refuse(why, QStringLiteral("PNG header is damaged"));
        info.width = qint32(be32(f, 16));
        info.height = qint32(be32(f, 20));
        const int depth = uchar(f[24]);
        const int type = uchar(f[25]);
        const int channels = type == 2 ? 3 : type == 4 ? 2 : type == 6 ? 4 : 1;
        info.bits = qint16(depth * channels);
        info.description = QStringLiteral("Portable Network Graphics");
    } else if (format == QLatin1String("GIF")) {
        if (f.size() < 13)
            return refuse(why, QStringLiteral("GIF header is truncated"));
        info.width = le16(f, 6);
        info.height = le16(f, 8);
        info.bits = qint16(gifBits(f));
        if (info.bits == 0)
            return refuse(why, QStringLiteral("GIF header is damaged"));
        info.description = QStringLiteral("CompuServe GIF");
    } else if (format == QLatin1String("JPEG")) {
        int w = 0, h = 0, bits = 0;
        if (!jpegFrame(f, w, h, bits))
            return refuse(why, QStringLiteral("JPEG frame header is missing"));
        info.width = w;
        info.height = h;
        info.bits = qint16(bits);
        info.description = QStringLiteral("JPEG");
    } else if (format == QLatin1String("TIF")) {
        TiffFacts facts;
        if (!tiffFacts(path, 0, facts, why))
            return false;
        info.width = facts.width;
        info.height = facts.height;
        info.bits = qint16(facts.bits);
        info.value1 = qint16(qMin(facts.dpiX, 32767));
        info.value2 = qint16(qMin(facts.dpiY, 32767));
        info.description = QStringLiteral("TIFF");
    } else if (format == QLatin1String("TGA")) {
        info.width = le16(f, 12);
        info.height = le16(f, 14);
        info.bits = qint16(uchar(f[16]));
        info.description = (uchar(f[2]) & 8) ? QStringLiteral("Truevision, run-length")
                                              : QStringLiteral("Truevision");
    } else if (format == QLatin1String("PCX")) {
        PcxHeader h;
        readPcxHeader(f, h);
        info.width = h.width;
        info.height = h.height;
        info.bits = qint16(h.bits());
        info.value1 = qint16(le16(f, 12));
        info.value2 = qint16(le16(f, 14));
        info.description = QStringLiteral("Paintbrush");
    } else if (format == QLatin1String("PCD")) {
        const QSize size = pcdSize(f, pcd_BASE);
        info.width = size.width();
        info.height = size.height();
        info.bits = 24;
        info.description = QStringLiteral("Photo CD");
    } else if (format == QLatin1String("EPS")) {
        const QRectF box = epsBoundingBox(f);
        if (box.isEmpty())
            return refuse(why, QStringLiteral("EPS file has no bounding box"));
        const QSize size = epsPixelSize(box);
        info.width = size.width();
        info.height = size.height();
        info.bits = 24;
        info.value1 = info.value2 = qint16(epsResolution(box));
        info.description = QStringLiteral("Encapsulated PostScript");
    } else if (format == QLatin1String("DXF")) {
        DxfDrawing drawing;
        if (!readDxf(path, drawing, why))
            return false;
        const QSize size = dxfPixelSize(drawing);
        info.width = size.width();
        info.height = size.height();
        info.bits = 24;
        info.description = QStringLiteral("DXF");
    } else {
        return refuse(why, QStringLiteral("not a picture format that can be read"));
    }
    if (info.width <= 0 || info.height <= 0 || info.bits <= 0)
        return refuse(why, QStringLiteral("%1 header is damaged").arg(format));
    return true;
}

QImage readWithQt(const QByteArray& file, const char* format, int* bits, QString* why)
{
    if (!complete(file, format, why))
        return {};
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull()) {
        refuse(why, QStringLiteral("%1 file cannot be read: %2")
                        .arg(QString::fromLatin1(format).toUpper(), reader.errorString()));
        return {};
    }
    // The depth of the file where it states one (a 4-bit BMP is read by Qt as an 8-bit
    // indexed image), else what Qt's picture holds.
    ImageFileInfo info;
    int stated = 0;
    if (fileInfoOf(QString(), file, info) && info.bits > 0)
        stated = info.bits;
    else
        stated = image.depth();
    if (bits != nullptr)
        *bits = stated <= 1 ? 1 : stated <= 4 ? 4 : stated <= 8 ? 8 : 24;
    return image;
}

QImage readBmp(const QByteArray& file, int* bits, QString* why)
{
    // Qt widens 5- and 6-bit channels by a shift, so white would read #f8fcf8.
    if (file.size() >= 30 && file.startsWith("BM") && le32(file, 14) >= 40 && le16(file, 28) == 16) {
        const QByteArray dib = dibOfBmpFile(file, why);
        if (dib.isEmpty())
            return {};
        return dibToImage(dib, bits, why);
    }
    return readWithQt(file, "bmp", bits, why);
}

} // namespace imaging
