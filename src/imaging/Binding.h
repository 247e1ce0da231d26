#pragma once

#include "imaging/Dib.h"
#include "imaging/ImagingErrors.h"
#include "imaging/ImagingLibrary.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

// The imaging binding: every picture read, written, scanned or converted goes through one of
// these wrappers, which keep one protocol around the library call: the entry is looked up, a
// file is tested for length, the progress text is set, the call is guarded so that nothing it
// throws gets out (the user is told once), and a failure leaves its code and text behind.
namespace imaging {

// Bit depth asked when reading and when saving, as the image control names them.
enum TLoadResolution { lColorVga, lMonoChrome, lColor16, lColor256, lColorTrue, lAutoMatic };
enum TSaveResolution { sColorVga, sMonoChrome, sColor16, sColor256, sColorTrue, sJpegGray, sAutoMatic };

// The state of the binding, one per process.
struct BindingState {
    QString ImgProgressText;
    qint16 ImgLastErrorCode = 0;
    QString ImgLastErrorText;
    bool twainBusy = false;
    // Colours handed to readers for converted pictures; nothing in the program sets them.
    QList<QRgb> ImgFixedPalette;
    // A folder searched first for the library; nothing in the program sets it.
    QString ImgDllSearchDir;
};
BindingState& binding();

// What receives a library's progress reports: the image control. Progress answers 1 to go on
// and 0 to stop.
class ProgressContext {
public:
    virtual ~ProgressContext() = default;
    virtual int Progress(int percent) = 0;
};
// The progress hook: with a context it answers what the context answers, without one 1.
int ImgProgressHook(int percent, ProgressContext* context);

// The seams of the binding. The library factory makes the library when it is first needed
// (nullptr: it cannot be loaded); the message sink shows the binding's own messages (the
// window layer shows a box, the default writes a warning). Empty functions restore the
// defaults.
using LibraryFactory = std::function<std::unique_ptr<ImagingLibrary>()>;
void setImagingLibraryFactory(LibraryFactory factory);
void setImagingMessageSink(std::function<void(const QString&)> sink);
void ShowImagingMessage(const QString& text);

// Loads the library when needed and looks the entry up; throws ErrorInvalid "Can't load ..."
// when the library cannot be loaded.
bool ImgLoadDllProc(const QString& entry);
// The step after every call; the library stays loaded.
void ImgDllRelease();
// Frees the library; the next call loads it again.
void ImgFreeLibrary();
bool ImgLibraryLoaded();

// True when the file has at least 30 bytes; throws platform::EInOutError when it cannot be opened.
bool ImgFileLongEnough(const QString& name);
// Keeps the code and the library's text for it.
void ImgSetLastError(int code);

int ImgScreenBits(int bitsPerPixel);
// Bits per pixel of the primary screen, as ImgScreenBits gives it.
int ImgScreenBits();
int ImgSaveBitsFor(const QString& extension, TSaveResolution resolution, int screenBits);
// The depth a read asks for.
int ImgReadBitsFor(TLoadResolution resolution, int screenBits);
QString ImgFileStem(const QString& path);
QString ImgFileNameOnly(const QString& path);
QString ImgTiffCompressionName(int code);

// File information.
bool ImgFileInfo(const QString& name, ImageFileInfo& info);
// The TIFF entry leaves no error behind unless `reportFailure`: a picture read that stops at it
// states its own.
bool ImgTiffInfo(const QString& name, int page, TiffPageInfo& info, bool reportFailure = false);
bool ImgDxfInfo(const QString& name, qint32& width, qint32& height, qint16& bits);

// Readers into a packed block.
bool ImgReadBmp(const QString& name, int bits, bool dither, QByteArray& dib, ProgressContext* ctx = nullptr);
bool ImgReadPng(const QString& name, int bits, bool dither, QByteArray& dib, ProgressContext* ctx = nullptr);
bool ImgReadPcx(const QString& name, int bits, bool dither, QByteArray& dib, ProgressContext* ctx = nullptr);
bool ImgReadGif(const QString& name, int bits, bool dither, QByteArray& dib, ProgressContext* ctx = nullptr);
bool ImgReadJpeg(const QString& name, int bits, bool dither, QByteArray& dib, ProgressContext* ctx = nullptr);
bool ImgReadTga(const QString& name, int bits, bool dither, QByteArray& dib, ProgressContext* ctx = nullptr);
bool ImgReadEps(const QString& name, int bits, bool dither, QByteArray& dib, ProgressContext* ctx = nullptr);
bool ImgReadTiff(const QString& name, int bits, bool dither, int page, QByteArray& dib,
                 ProgressContext* ctx = nullptr);
bool ImgReadPcd(const QString& name, int bits, bool dither, int pcdMode, QByteArray& dib,
                ProgressContext* ctx = nullptr);
// DXF drawings come as a picture directly.
bool ImgReadDxf(const QString& name, int bits, bool dither, Bitmap& bitmap, ProgressContext* ctx = nullptr);

// The same readers into a picture at `bits`: true only when both the read and the conversion
// succeeded.
bool ImgReadBmpBitmap(const QString& name, int bits, bool dither, ProgressContext* ctx, Bitmap& bitmap);
bool ImgReadPngBitmap(const QString& name, int bits, bool dither, ProgressContext* ctx, Bitmap& bitmap);
bool ImgReadPcxBitmap(const QString& name, int bits, bool dither, ProgressContext* ctx, Bitmap& bitmap);
bool ImgReadGifBitmap(const QString& name, int bits, bool dither, ProgressContext* ctx, Bitmap& bitmap);
bool ImgReadJpegBitmap(const QString& name, int bits, bool dither, ProgressContext* ctx, Bitmap& bitmap);
bool ImgReadTgaBitmap(const QString& name, int bits, bool dither, ProgressContext* ctx, Bitmap& bitmap);
bool ImgReadEpsBitmap(const QString& name, int bits, bool dither, ProgressContext* ctx, Bitmap& bitmap);
bool ImgReadTiffBitmap(const QString& name, int bits, bool dither, int page, ProgressContext* ctx,
                       Bitmap& bitmap);
bool ImgReadPcdBitmap(const QString& name, int bits, bool dither, int pcdMode, ProgressContext* ctx,
                      Bitmap& bitmap);

// The BMP writer at 1, 4, 8 or 24 bits.
bool ImgWriteBmp(const QString& name, int bits, const QByteArray& dib, ProgressContext* ctx = nullptr);
bool ImgWriteBmpBitmap(const QString& name, int bits, const Bitmap& bitmap, ProgressContext* ctx = nullptr);

// Scanning: the choice of the source and one picture from it. Neither runs while the other is
// running (a scanner dialog may let the user start a second one).
bool ImgSelectSource();
bool ImgAcquire(int bits, bool dither, int page, QByteArray& dib, ProgressContext* ctx = nullptr);
bool ImgAcquireBitmap(int bits, bool dither, int page, ProgressContext* ctx, Bitmap& bitmap);

// Depth converters: a new block of the higher depth, empty on failure; the source stays.
QByteArray ImgDibConvert(const QString& entry, const QByteArray& dib);
QByteArray ImgDib1To4(const QByteArray& dib);
QByteArray ImgDib1To8(const QByteArray& dib);
QByteArray ImgDib1To24(const QByteArray& dib);
QByteArray ImgDib4To8(const QByteArray& dib);
QByteArray ImgDib4To24(const QByteArray& dib);
QByteArray ImgDib8To24(const QByteArray& dib);
QByteArray ImgDib16To24(const QByteArray& dib);
QByteArray ImgDib32To24(const QByteArray& dib);
// Run-length blocks to a picture: true only when a picture came out.
bool ImgDibToDdb(const QByteArray& dib, Bitmap& bitmap);

// Conversions between a picture and a block. ImgBitmapToDib throws ErrorInvalid "Input image is
// empty" for a picture without an image and answers false for one whose depth is not a
// bitmap depth; 16- and 32-bit pictures give 24-bit blocks.
bool ImgBitmapToDib(const Bitmap& bitmap, QByteArray& dib);
// The block as a picture at `bits` (0: its own depth), raised or lowered as needed; false for
// an empty, damaged or refused block and for a depth no picture has, the target left alone.
bool ImgDibToBitmap(const QByteArray& dib, int bits, bool dither, ProgressContext* ctx, Bitmap& bitmap);
// The block at its own depth.
bool ImgDibHandleToBitmap(const QByteArray& dib, Bitmap& bitmap);

// The clipboard's bitmap: a BMP file under "image/bmp" (and the picture itself for programs
// that take images), and back.
void ImgCopyDibToClipboard(const QByteArray& dib);
// The clipboard's bitmap as a checked block; empty when it holds none.
QByteArray ImgDibFromClipboard();

// Start and end of the binding. The start writes the scanner settings file (section
// "Imaging Twain", key "App Name": the program's file name without folder and extension, in
// lower case) in the per-user config folder.
void ImgStartBinding(const QString& programPath);
void ImgEndBinding();
// The per-user config folder for the binding's settings files; tests may set it.
QString ImgConfigFolder();
void ImgSetConfigFolder(const QString& folder);
QString ImgTwainIniPath();
QString ImgAnnoIniPath();

} // namespace imaging
