#include "imaging/PictureFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImageReader>

namespace imaging {

namespace {

QString upperExtension(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? QString() : QStringLiteral(".") + suffix.toUpper();
}

// The program's own bitmap named like the file (".RES" pictures): a resource under bitmaps/,
// letter case ignored.
QImage resourceBitmap(const QString& path)
{
    const QString stem = QFileInfo(path).completeBaseName();
    QDirIterator it(QStringLiteral(":/bitmaps"));
    while (it.hasNext()) {
        const QString file = it.next();
        if (QFileInfo(file).completeBaseName().compare(stem, Qt::CaseInsensitive) == 0)
            return QImage(file);
    }
    return {};
}

void failWith(ImagingError code, const QString& text)
{
    binding().ImgLastErrorCode = code;
    binding().ImgLastErrorText = text;
}

using Reader = bool (*)(const QString&, int, bool, ProgressContext*, Bitmap&);

Reader readerFor(const QString& format)
{
    if (format == u"BMP") return ImgReadBmpBitmap;
    if (format == u"PNG") return ImgReadPngBitmap;
    if (format == u"GIF") return ImgReadGifBitmap;
    if (format == u"TGA") return ImgReadTgaBitmap;
    if (format == u"PCX") return ImgReadPcxBitmap;
    if (format == u"EPS") return ImgReadEpsBitmap;
    if (format == u"JPEG" || format == u"JPG") return ImgReadJpegBitmap;
    return nullptr;
}

QString formatOfExtension(const QString& ext)
{
    static const char* const known[][2] = {
        {".BMP", "BMP"}, {".PNG", "PNG"}, {".GIF", "GIF"}, {".TIF", "TIF"}, {".TIFF", "TIF"},
        {".TGA", "TGA"}, {".PCX", "PCX"}, {".EPS", "EPS"}, {".PCD", "PCD"}, {".DXF", "DXF"},
        {".JPEG", "JPEG"}, {".JPG", "JPEG"}, {".THB", "BMP"}, {".THJ", "JPEG"},
    };
    for (const auto& k : known)
        if (ext == QLatin1String(k[0]))
            return QLatin1String(k[1]);
    return {};
}

} // namespace

int ImgTiffPageFor(int page, int pages)
{
    return qMax(0, qMin(page, pages - 1));
}

bool ImgGetImageInfo(const QString& path, int tiffPage, const QSize& current, TImageInfo& info)
{
    info = TImageInfo();
    const QString ext = upperExtension(path).left(4);
    if (ext == u".RES") {
        info.format = QStringLiteral("RES");
        info.width = current.width();
        info.height = current.height();
        info.description = QStringLiteral("BMP");
        info.imageSize = qint32(kBitmapInfoHeaderSize + qint64(dibStride(current.width(), 24)) * current.height());
        return true;
    }
    if (ext == u".WMF" || ext == u".ICO" || ext == u".SCM" || ext == u".CMS") {
        if (!QFileInfo::exists(path)) {
            info.format = info.description = QStringLiteral("ERR");
            info.width = info.height = info.imageSize = -1;
            info.bits = info.value1 = info.value2 = -1;
            return false;
        }
        info.format = info.description = ext.mid(1);
        info.width = current.width();
        info.height = current.height();
        return true;
    }
    if (ext == u".TIF") {
        info.format = QStringLiteral("TIF");
        TiffPageInfo page;
        // A damaged file stops the read here: the error is this file's, not the last one.
        const bool ok = ImgTiffInfo(path, tiffPage, page, true);
        info.tiffPages = page.pages;
        info.width = page.width;
        info.height = page.height;
        info.bits = page.bits;
        info.description = ImgTiffCompressionName(page.compression);
        return ok;
    }
    if (ext == u".DXF") {
        info.format = info.description = QStringLiteral("DXF");
        return ImgDxfInfo(path, info.width, info.height, info.bits);
    }
    ImageFileInfo file;
    if (!ImgFileInfo(path, file))
        return false;
    info.format = file.format;
    info.width = file.width;
    info.height = file.height;
    info.bits = file.bits;
    info.value1 = file.value1;
    info.value2 = file.value2;
    info.description = file.description;
    return true;
}

PictureRead ImgReadPictureFile(const QString& path, const PictureReadOptions& options)
{
    PictureRead read;
    read.tiffPage = options.tiffPage;
    const QString ext = upperExtension(path);
    if (ext == u".RES") {
        const QImage image = resourceBitmap(path);
        if (image.isNull()) {
            failWith(errFileOpen, QStringLiteral("No program bitmap named ") + QFileInfo(path).completeBaseName());
            read.kind = PictureKind::Failed;
            return read;
        }
        read.kind = PictureKind::Bitmap;
        read.bitmap = Bitmap{image.convertToFormat(QImage::Format_RGB888), 24};
        ImgGetImageInfo(path, 0, image.size(), read.info);
        return read;
    }
    if (!QFileInfo(path).isFile()) {
        read.kind = PictureKind::Missing;
        return read;
    }
    if (ext == u".SCM" || ext == u".CMS") {
        read.kind = ext == u".SCM" ? PictureKind::ScrollLine : PictureKind::ScrollList;
        ImgGetImageInfo(path, 0, QSize(), read.info);
        return read;
    }
    if (ext == u".ICO") {
        QImageReader reader(path, "ico");
        const QImage icon = reader.read();
        if (icon.isNull()) {
            failWith(errBadFormat, reader.errorString());
            read.kind = PictureKind::Failed;
            return read;
        }
        read.kind = PictureKind::Graphic;
        read.bitmap = Bitmap{icon, 32};
        ImgGetImageInfo(path, 0, icon.size(), read.info);
        return read;
    }
    if (ext == u".WMF") {
        failWith(errBadFormat, QStringLiteral("Metafiles cannot be read"));
        read.kind = PictureKind::Failed;
        return read;
    }

    read.kind = PictureKind::Failed;
    QString format = formatOfExtension(ext);
    const bool byContent = format.isEmpty();
    // A TIFF file is first asked for its page count (page 0 always exists), so a page beyond
    // the last is lowered instead of failing.
    const bool tiff = format == u"TIF";
    if (!ImgGetImageInfo(path, tiff ? 0 : options.tiffPage, QSize(), read.info))
        return read;
    if (byContent)
        format = read.info.format;
    int bits = options.bits;
    const int fewest = format == u"GIF" ? 3 : 4;
    if (read.info.bits < fewest)
        bits = 1;

    bool ok = false;
    Bitmap bitmap;
    if (format == u"TIF") {
        read.tiffPage = ImgTiffPageFor(options.tiffPage, read.info.tiffPages);
        if (read.tiffPage != 0 && !ImgGetImageInfo(path, read.tiffPage, QSize(), read.info))
            return read;
        ok = ImgReadTiffBitmap(path, bits, options.dither, read.tiffPage, options.ctx, bitmap);
    } else if (format == u"PCD") {
        ok = ImgReadPcdBitmap(path, bits, options.dither, options.pcdMode, options.ctx, bitmap);
    } else if (format == u"DXF") {
        ok = ImgReadDxf(path, bits, options.dither, bitmap, options.ctx);
    } else if (const Reader reader = readerFor(format)) {
        ok = reader(path, bits, options.dither, options.ctx, bitmap);
    } else {
        // A format no reader takes: an error, so the caller never keeps the previous picture.
        failWith(errBadFormat, QStringLiteral("Unknown picture format ") + format);
        return read;
    }
    if (!ok || !bitmap.HasHandle())
        return read;
    read.kind = PictureKind::Bitmap;
    read.bitmap = bitmap;
    return read;
}

} // namespace imaging
