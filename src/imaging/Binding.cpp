#include "imaging/Binding.h"

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/TIniFile.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QScreen>
#include <QStandardPaths>

namespace imaging {

namespace {

constexpr qint64 kShortestFile = 30;
// The library's texts fit a buffer of 256 bytes.
constexpr int kLongestErrorText = 255;

std::unique_ptr<ImagingLibrary>& loaded()
{
    static std::unique_ptr<ImagingLibrary> library;
    return library;
}

LibraryFactory& factory()
{
    static LibraryFactory f;
    return f;
}

std::function<void(const QString&)>& sink()
{
    static std::function<void(const QString&)> s;
    return s;
}

QString& configFolder()
{
    static QString folder;
    return folder;
}

Progress progressOf(ProgressContext* ctx)
{
    return [ctx](int percent) { return ImgProgressHook(percent, ctx) != 0; };
}

enum class Call { Reader, Info, Writer, Scanner, Other };

// The protocol of one library call: lookup, file test, progress text, guard, result, release.
// `zeroIsSuccess` for the scanner and the TIFF page information; `reportFailure` false for the
// entries whose failure leaves no error behind.
template <class Entry>
bool callEntry(const QString& entry, const QString& name, Call kind, bool zeroIsSuccess,
               Entry&& call, bool reportFailure = true)
{
    if (!ImgLoadDllProc(entry))
        return false;
    if (kind == Call::Reader || kind == Call::Info) {
        if (!ImgFileLongEnough(name)) {
            // Its own code and text, not the text some earlier failure left.
            binding().ImgLastErrorCode = errFileTooShort;
            binding().ImgLastErrorText = QStringLiteral("File too short");
            return false;
        }
    }
    switch (kind) {
    case Call::Reader: binding().ImgProgressText = imagingMessage(msgReading) + name; break;
    case Call::Writer: binding().ImgProgressText = imagingMessage(msgWriting) + name; break;
    case Call::Scanner: binding().ImgProgressText = imagingMessage(msgAcquiring); break;
    default: break;
    }
    qint16 result = 0;
    try {
        result = call(*loaded());
    } catch (...) {
        ImgDllRelease();
        ShowImagingMessage(imagingMessage(msgLibraryException));
        return false;
    }
    const bool ok = zeroIsSuccess ? result >= 0 : result > 0;
    if (!ok && reportFailure)
        ImgSetLastError(result);
    ImgDllRelease();
    return ok;
}

// The scanner entries keep out a second call while one runs, also after an exception.
class BusyScanner {
public:
    BusyScanner() : m_entered(!binding().twainBusy) { binding().twainBusy = true; }
    ~BusyScanner()
    {
        if (m_entered)
            binding().twainBusy = false;
    }
    BusyScanner(const BusyScanner&) = delete;
    BusyScanner& operator=(const BusyScanner&) = delete;
    bool entered() const { return m_entered; }

private:
    bool m_entered;
};

// The picture wrappers: the block read, then the picture made of it.
template <class Read>
bool readToBitmap(int bits, bool dither, ProgressContext* ctx, Bitmap& bitmap, Read&& read)
{
    QByteArray dib;
    if (!read(dib))
        return false;
    return ImgDibToBitmap(dib, bits, dither, ctx, bitmap);
}

int bitsOfImage(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return 1;
    case QImage::Format_Indexed8: return 8;
    default: return 24;
    }
}

} // namespace

BindingState& binding()
{
    static BindingState state;
    return state;
}

int ImgProgressHook(int percent, ProgressContext* context)
{
    return context != nullptr ? context->Progress(percent) : 1;
}

void setImagingLibraryFactory(LibraryFactory f)
{
    factory() = std::move(f);
    loaded().reset();
}

void setImagingMessageSink(std::function<void(const QString&)> s)
{
    sink() = std::move(s);
}

void ShowImagingMessage(const QString& text)
{
    if (sink())
        sink()(text);
    else
        qWarning("%s", qPrintable(text));
}

bool ImgLoadDllProc(const QString& entry)
{
    if (!loaded()) {
        loaded() = factory() ? factory()() : std::make_unique<ImagingLibrary>();
        if (!loaded())
            throw ErrorInvalid(imagingMessage(msgCantLoad) + imagingLibraryName()
                               + imagingMessage(msgSearchPath));
    }
    return loaded()->hasEntry(entry);
}

void ImgDllRelease() {}

void ImgFreeLibrary()
{
    loaded().reset();
}

bool ImgLibraryLoaded()
{
    return loaded() != nullptr;
}

bool ImgFileLongEnough(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::EInOutError(platform::readErrorMessage(name, file.errorString()));
    return file.size() >= kShortestFile;
}

void ImgSetLastError(int code)
{
    binding().ImgLastErrorCode = qint16(code);
    binding().ImgLastErrorText =
        loaded() ? loaded()->errorText(quint16(code)).left(kLongestErrorText) : QString();
}

int ImgScreenBits(int bitsPerPixel)
{
    if (bitsPerPixel <= 4)
        return 4;
    if (bitsPerPixel < 16)
        return 8;
    return 24;
}

int ImgScreenBits()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return ImgScreenBits(screen != nullptr ? screen->depth() : 24);
}

int ImgSaveBitsFor(const QString& extension, TSaveResolution r, int screenBits)
{
    const QString ext = extension.toLower();
    if (ext == QLatin1String("jpg"))
        return r == sJpegGray || r == sMonoChrome ? 1 : 24;
    if (ext == QLatin1String("tga"))
        return qMax(8, r == sAutoMatic ? screenBits : r == sColorTrue ? 24 : 8);
    if (ext == QLatin1String("dic"))
        return qMax(8, r == sAutoMatic ? screenBits : 8);
    if (ext == QLatin1String("gif")) {
        int bits = 8;
        switch (r) {
        case sAutoMatic: bits = screenBits; break;
        case sColorVga: bits = 0; break;
        case sMonoChrome: bits = 1; break;
        case sColor16: bits = 4; break;
        default: bits = 8; break;
        }
        return qMin(8, bits);
    }
    switch (r) {
    case sAutoMatic: return screenBits;
    case sColorTrue: return 24;
    case sColor256: return 8;
    case sColor16: return 4;
    case sMonoChrome: return 1;
    case sColorVga: return 0;
    case sJpegGray: return 8;
    }
    return screenBits;
}

int ImgReadBitsFor(TLoadResolution r, int screenBits)
{
    switch (r) {
    case lColorVga: return 0;
    case lMonoChrome: return 1;
    case lColor16: return 4;
    case lColor256: return 8;
    case lColorTrue: return 24;
    case lAutoMatic: return screenBits;
    }
    return screenBits;
}

QString ImgFileStem(const QString& path)
{
    const QString name = path.mid(qMax(path.lastIndexOf(QLatin1Char('/')),
                                       path.lastIndexOf(QLatin1Char('\\'))) + 1);
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString ImgFileNameOnly(const QString& path)
{
    const qsizetype cut = qMax(qMax(path.lastIndexOf(QLatin1Char('/')),
                                    path.lastIndexOf(QLatin1Char('\\'))),
                               path.lastIndexOf(QLatin1Char(':')));
    return path.mid(cut + 1).left(64);
}

QString ImgTiffCompressionName(int code)
{
    switch (code) {
    case 1: return QStringLiteral("NONE");
    case 2: return QStringLiteral("CCITT3");
    case 3: return QStringLiteral("FAXCCITT3");
    case 4: return QStringLiteral("FAXCCITT4");
    case 5: return QStringLiteral("LZW");
    case 32763:
    case -32763:
    case 32773: return QStringLiteral("PACKBITS");
    default: return QStringLiteral("UNKNOWN");
    }
}

// --- file information --------------------------------------------------------------------

bool ImgFileInfo(const QString& name, ImageFileInfo& info)
{
    return callEntry(QStringLiteral("fileinfo"), name, Call::Info, false,
                     [&](ImagingLibrary& lib) { return lib.fileinfo(name, info); });
}

bool ImgTiffInfo(const QString& name, int page, TiffPageInfo& info, bool reportFailure)
{
    info.unused = 0;
    return callEntry(QStringLiteral("getinfo"), name, Call::Info, true,
                     [&](ImagingLibrary& lib) { return lib.getinfo(name, page, info); },
                     reportFailure);
}

bool ImgDxfInfo(const QString& name, qint32& width, qint32& height, qint16& bits)
{
    // The result of this entry is not a success test: whatever it filled in is taken.
    return callEntry(QStringLiteral("getdxfinfo"), name, Call::Info, true,
                     [&](ImagingLibrary& lib) {
                         lib.getdxfinfo(name, width, height, bits);
                         return qint16(0);
                     });
}

// --- readers -----------------------------------------------------------------------------

#define IMG_READER(Wrapper, entry, method)                                                        \
    bool Wrapper(const QString& name, int bits, bool dither, QByteArray& dib, ProgressContext* ctx) \
    {                                                                                             \
        return callEntry(QStringLiteral(entry), name, Call::Reader, false, [&](ImagingLibrary& lib) { \
            return lib.method(name, bits, dither, dib, progressOf(ctx));                          \
        });                                                                                       \
    }

IMG_READER(ImgReadBmp, "rdbmpfiledib", rdbmpfiledib)
IMG_READER(ImgReadPng, "rdpngfiledib", rdpngfiledib)
IMG_READER(ImgReadPcx, "rdpcxfiledib", rdpcxfiledib)
IMG_READER(ImgReadGif, "rdgiffiledib", rdgiffiledib)
IMG_READER(ImgReadTga, "readtgafiledib", readtgafiledib)
IMG_READER(ImgReadEps, "readepsfiledib", readepsfiledib)
#undef IMG_READER

bool ImgReadJpeg(const QString& name, int bits, bool dither, QByteArray& dib, ProgressContext* ctx)
{
    bool failedInside = false;
    const bool ok = callEntry(QStringLiteral("rdjpgfiledib"), name, Call::Reader, false,
                              [&](ImagingLibrary& lib) {
                                  const qint16 r = lib.rdjpgfiledib(name, bits, dither, dib,
                                                                    progressOf(ctx));
                                  failedInside = r <= 0;
                                  return r;
                              });
    // After a failed JPEG read the library is loaded afresh by the next call.
    if (failedInside)
        ImgFreeLibrary();
    return ok;
}

bool ImgReadTiff(const QString& name, int bits, bool dither, int page, QByteArray& dib,
                 ProgressContext* ctx)
{
    return callEntry(QStringLiteral("readtiffiledib"), name, Call::Reader, false,
                     [&](ImagingLibrary& lib) {
                         return lib.readtiffiledib(name, bits, dither, page, dib, progressOf(ctx));
                     });
}

bool ImgReadPcd(const QString& name, int bits, bool dither, int pcdMode, QByteArray& dib,
                ProgressContext* ctx)
{
    return callEntry(QStringLiteral("readpcdfiledib"), name, Call::Reader, false,
                     [&](ImagingLibrary& lib) {
                         return lib.readpcdfiledib(name, bits, dither, pcdMode, dib, progressOf(ctx));
                     });
}

bool ImgReadDxf(const QString& name, int bits, bool dither, Bitmap& bitmap, ProgressContext* ctx)
{
    Bitmap read;
    const bool ok = callEntry(QStringLiteral("readdxftoddb"), name, Call::Reader, false,
                              [&](ImagingLibrary& lib) {
                                  return lib.readdxftoddb(name, bits, dither, read, progressOf(ctx));
                              });
    if (ok && read.HasHandle())
        bitmap = read;
    return ok && read.HasHandle();
}

#define IMG_READER_BITMAP(Wrapper, Reader)                                                        \
    bool Wrapper(const QString& name, int bits, bool dither, ProgressContext* ctx, Bitmap& bitmap) \
    {                                                                                             \
        return readToBitmap(bits, dither, ctx, bitmap,                                            \
                            [&](QByteArray& dib) { return Reader(name, bits, dither, dib, ctx); }); \
    }

IMG_READER_BITMAP(ImgReadBmpBitmap, ImgReadBmp)
IMG_READER_BITMAP(ImgReadPngBitmap, ImgReadPng)
IMG_READER_BITMAP(ImgReadPcxBitmap, ImgReadPcx)
IMG_READER_BITMAP(ImgReadGifBitmap, ImgReadGif)
IMG_READER_BITMAP(ImgReadJpegBitmap, ImgReadJpeg)
IMG_READER_BITMAP(ImgReadTgaBitmap, ImgReadTga)
IMG_READER_BITMAP(ImgReadEpsBitmap, ImgReadEps)
#undef IMG_READER_BITMAP

bool ImgReadTiffBitmap(const QString& name, int bits, bool dither, int page, ProgressContext* ctx,
                       Bitmap& bitmap)
{
    return readToBitmap(bits, dither, ctx, bitmap, [&](QByteArray& dib) {
        return ImgReadTiff(name, bits, dither, page, dib, ctx);
    });
}

bool ImgReadPcdBitmap(const QString& name, int bits, bool dither, int pcdMode, ProgressContext* ctx,
                      Bitmap& bitmap)
{
    return readToBitmap(bits, dither, ctx, bitmap, [&](QByteArray& dib) {
        return ImgReadPcd(name, bits, dither, pcdMode, dib, ctx);
    });
}

// --- writer ------------------------------------------------------------------------------

bool ImgWriteBmp(const QString& name, int bits, const QByteArray& dib, ProgressContext* ctx)
{
    return callEntry(QStringLiteral("wrbmpfiledib"), name, Call::Writer, false,
                     [&](ImagingLibrary& lib) {
                         return lib.wrbmpfiledib(name, bits, dib, progressOf(ctx));
                     });
}

bool ImgWriteBmpBitmap(const QString& name, int bits, const Bitmap& bitmap, ProgressContext* ctx)
{
    QByteArray dib;
    if (!ImgBitmapToDib(bitmap, dib))
        return false;
    return ImgWriteBmp(name, bits, dib, ctx);
}

// --- scanning ----------------------------------------------------------------------------

bool ImgSelectSource()
{
    BusyScanner busy;
    if (!busy.entered())
        return false;
    return callEntry(QStringLiteral("selectsource"), QString(), Call::Other, true,
                     [](ImagingLibrary& lib) { return lib.selectsource(); });
}

bool ImgAcquire(int bits, bool dither, int page, QByteArray& dib, ProgressContext* ctx)
{
    BusyScanner busy;
    if (!busy.entered())
        return false;
    return callEntry(QStringLiteral("aquiredibimage"), QString(), Call::Scanner, true,
                     [&](ImagingLibrary& lib) {
                         return lib.aquiredibimage(bits, dither, page, dib, progressOf(ctx));
                     });
}

bool ImgAcquireBitmap(int bits, bool dither, int page, ProgressContext* ctx, Bitmap& bitmap)
{
    return readToBitmap(bits, dither, ctx, bitmap, [&](QByteArray& dib) {
        return ImgAcquire(bits, dither, page, dib, ctx);
    });
}

// --- converters --------------------------------------------------------------------------

QByteArray ImgDibConvert(const QString& entry, const QByteArray& dib)
{
    QByteArray result;
    if (!ImgLoadDllProc(entry))
        return {};
    try {
        result = loaded()->convertDib(entry, dib);
    } catch (...) {
        ImgDllRelease();
        ShowImagingMessage(imagingMessage(msgLibraryException));
        return {};
    }
    ImgDllRelease();
    return result;
}

QByteArray ImgDib1To4(const QByteArray& dib) { return ImgDibConvert(QStringLiteral("DIB1to4"), dib); }
QByteArray ImgDib1To8(const QByteArray& dib) { return ImgDibConvert(QStringLiteral("DIB1To8"), dib); }
QByteArray ImgDib1To24(const QByteArray& dib) { return ImgDibConvert(QStringLiteral("DIB1To24"), dib); }
QByteArray ImgDib4To8(const QByteArray& dib) { return ImgDibConvert(QStringLiteral("DIB4To8"), dib); }
QByteArray ImgDib4To24(const QByteArray& dib) { return ImgDibConvert(QStringLiteral("DIB4To24"), dib); }
QByteArray ImgDib8To24(const QByteArray& dib) { return ImgDibConvert(QStringLiteral("DIB8To24"), dib); }
QByteArray ImgDib16To24(const QByteArray& dib) { return ImgDibConvert(QStringLiteral("DIB16To24"), dib); }
QByteArray ImgDib32To24(const QByteArray& dib) { return ImgDibConvert(QStringLiteral("DIB32To24"), dib); }

bool ImgDibToDdb(const QByteArray& dib, Bitmap& bitmap)
{
    if (!ImgLoadDllProc(QStringLiteral("DibtoDdb")))
        return false;
    Bitmap made;
    try {
        loaded()->DibtoDdb(dib, made);
    } catch (...) {
        ImgDllRelease();
        ShowImagingMessage(imagingMessage(msgLibraryException));
        return false;
    }
    ImgDllRelease();
    // A decode that gives no picture is a failure, never an empty picture read well.
    if (!made.HasHandle())
        return false;
    bitmap = made;
    return true;
}

// --- pictures and blocks -----------------------------------------------------------------

bool ImgBitmapToDib(const Bitmap& bitmap, QByteArray& dib)
{
    if (!bitmap.HasHandle())
        throw ErrorInvalid(imagingMessage(msgInputImageEmpty));
    int bits = bitmap.bits != 0 ? bitmap.bits : bitsOfImage(bitmap.image);
    switch (bits) {
    case 1: case 4: case 8: case 24: break;
    case 16: case 32: bits = 24; break;
    default: return false; // a picture whose depth cannot be told is not written as anything
    }
    const QByteArray block = imageToDib(bitmap.image, bits);
    if (block.isEmpty())
        return false;
    dib = block;
    return true;
}

bool ImgDibToBitmap(const QByteArray& dib, int bits, bool dither, ProgressContext* ctx,
                    Bitmap& bitmap)
{
    if (dib.isEmpty())
        return false;
    const std::optional<DibLayout> layout = checkDib(dib);
    if (!layout)
        return false;
    Bitmap own;
    if (layout->compression == BI_RLE8 || layout->compression == BI_RLE4) {
        if (!ImgDibToDdb(dib, own))
            return false;
    } else {
        own.image = dibToImage(dib, &own.bits);
        if (own.image.isNull())
            return false;
    }
    int target = bits == 0 ? own.bits : bits;
    if (target == 16 || target == 32)
        target = own.bits >= 16 ? own.bits : 24;
    if (target == own.bits) {
        bitmap = own;
        return true;
    }
    binding().ImgProgressText = imagingMessage(target > own.bits ? msgIncreasingColors
                                                                 : msgReducingColors);
    if (ImgProgressHook(0, ctx) == 0)
        return false;
    const QImage converted = imageAtDepth(own.image, target, dither);
    if (converted.isNull())
        return false;
    ImgProgressHook(100, ctx);
    bitmap = Bitmap{converted, target >= 16 ? 24 : target};
    return true;
}

bool ImgDibHandleToBitmap(const QByteArray& dib, Bitmap& bitmap)
{
    // The depth is read only from a whole header.
    if (dib.size() < kBitmapInfoHeaderSize)
        return false;
    return ImgDibToBitmap(dib, ILTDib(dib).BitCount(), false, nullptr, bitmap);
}

// --- clipboard ---------------------------------------------------------------------------

void ImgCopyDibToClipboard(const QByteArray& dib)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QImage image = dibToImage(dib);
    if (clipboard == nullptr || image.isNull())
        return;
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/bmp"), bmpFileOf(dib));
    data->setImageData(image);
    clipboard->setMimeData(data);
}

QByteArray ImgDibFromClipboard()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    if (data == nullptr)
        return {};
    if (data->hasFormat(QStringLiteral("image/bmp"))) {
        const QByteArray bytes = data->data(QStringLiteral("image/bmp"));
        // A BMP file, or a bare packed block as some programs put it there.
        const QByteArray block = bytes.startsWith("BM") ? dibOfBmpFile(bytes) : bytes;
        if (checkDib(block))
            return block;
    }
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        return imageToDib(image, bitsOfImage(image));
    }
    return {};
}

// --- start and end -----------------------------------------------------------------------

QString ImgConfigFolder()
{
    if (!configFolder().isEmpty())
        return configFolder();
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

void ImgSetConfigFolder(const QString& folder)
{
    configFolder() = folder;
}

QString ImgTwainIniPath()
{
    return QDir(ImgConfigFolder()).filePath(QStringLiteral("iltwain.ini"));
}

QString ImgAnnoIniPath()
{
    return QDir(ImgConfigFolder()).filePath(QStringLiteral("il_anno.ini"));
}

void ImgStartBinding(const QString& programPath)
{
    binding() = BindingState();
    loaded().reset();
    if (!platform::ensureFolder(ImgConfigFolder()))
        return;
    try {
        TIniFile ini(ImgTwainIniPath());
        const QString section = QStringLiteral("Imaging Twain");
        const QString key = QStringLiteral("App Name");
        const QString name = QFileInfo(programPath).completeBaseName().toLower();
        // Written once, not at every start: the name changes only with the program's own.
        if (ini.ReadString(section, key, QString()) == name)
            return;
        ini.WriteString(section, key, name);
        ini.UpdateFile();
    } catch (const platform::Exception& e) {
        // Nothing reads this file on this system: a read-only config folder costs nothing.
        qWarning("%s", qPrintable(e.message()));
    }
}

void ImgEndBinding()
{
    loaded().reset();
    binding().ImgProgressText.clear();
    binding().ImgLastErrorText.clear();
}

} // namespace imaging
