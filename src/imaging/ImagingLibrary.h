#pragma once

#include "imaging/Dib.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// The imaging library: one function per entry that the imaging binding calls, each answering a
// 16-bit result (above 0 for success, 0 or above for the scanner and the TIFF page information)
// and leaving its picture in a packed block. The binding owns the protocol around the calls
// (file test, progress text, exception guard, error texts); this class only does the work, so a
// test can put a library of its own in its place (one that fails, throws or lacks an entry).
namespace imaging {

// What "fileinfo" reports of a picture file. `format` is one of "BMP", "PNG", "GIF", "TIF",
// "TGA", "PCX", "EPS", "PCD", "DXF", "JPEG"; `bits` is the depth the file's header states, so a
// colour picture never reports fewer than 4 bits.
struct ImageFileInfo {
    QString format;
    qint32 width = 0;
    qint32 height = 0;
    qint16 bits = 0;
    qint16 value1 = 0; // horizontal resolution in dots per inch, 0 when the file gives none
    qint16 value2 = 0; // vertical resolution
    QString description;
};

// What "getinfo" reports of one TIFF page.
struct TiffPageInfo {
    qint32 width = 0;
    qint32 height = 0;
    qint16 compression = 0; // the TIFF code as a signed 16-bit value (PackBits arrives as -32763)
    qint16 unused = 0;
    qint16 pages = 0;
    qint16 bits = 0;
};

// Error codes of the library, each with its text in errorText.
enum ImagingError : qint16 {
    errUnknown = 0,
    errFileOpen = -1,
    errBadFormat = -2,
    errDamaged = -3,
    errNoMemory = -4,
    errWrite = -5,
    errDepth = -6,
    errCancelled = -7,
    errNoScanner = -8,
    errScanner = -9,
    errNoPage = -10,
    errEmptyPicture = -11,
    errFileTooShort = -12,
    errRender = -13,
    errTooLarge = -14,
    errTooManyScans = -15,
};

// Reports the progress of one call in percent; false when the user asked to stop.
using Progress = std::function<bool(int percent)>;

class ImagingLibrary {
public:
    ImagingLibrary() = default;
    virtual ~ImagingLibrary() = default;
    ImagingLibrary(const ImagingLibrary&) = delete;
    ImagingLibrary& operator=(const ImagingLibrary&) = delete;

    // The entry lookup: whether the library has an entry of that name.
    virtual bool hasEntry(const QString& entry) const;
    // The library's string table: the text of an error code (given as the unsigned 16-bit
    // identifier), with the detail of the last failure when it has one.
    virtual QString errorText(quint16 code) const;

    virtual qint16 fileinfo(const QString& name, ImageFileInfo& info);
    virtual qint16 getinfo(const QString& name, int page, TiffPageInfo& info);
    virtual qint16 getdxfinfo(const QString& name, qint32& width, qint32& height, qint16& bits);

    // Readers: the picture at `bits` (0 keeps the file's own depth; 1, 4, 8 or 24 otherwise).
    virtual qint16 rdbmpfiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                const Progress& progress);
    virtual qint16 rdpngfiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                const Progress& progress);
    virtual qint16 rdpcxfiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                const Progress& progress);
    virtual qint16 rdgiffiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                const Progress& progress);
    virtual qint16 rdjpgfiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                const Progress& progress);
    virtual qint16 readtgafiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                  const Progress& progress);
    virtual qint16 readepsfiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                  const Progress& progress);
    virtual qint16 readtiffiledib(const QString& name, int bits, bool dither, int page,
                                  QByteArray& dib, const Progress& progress);
    virtual qint16 readpcdfiledib(const QString& name, int bits, bool dither, int pcdMode,
                                  QByteArray& dib, const Progress& progress);
    virtual qint16 readdxftoddb(const QString& name, int bits, bool dither, Bitmap& bitmap,
                                const Progress& progress);

    // Writes the block as a BMP file at `bits` (1, 4, 8 or 24).
    virtual qint16 wrbmpfiledib(const QString& name, int bits, const QByteArray& dib,
                                const Progress& progress);

    // Scanning: the choice of the device, and one picture from it.
    virtual qint16 selectsource();
    virtual qint16 aquiredibimage(int bits, bool dither, int page, QByteArray& dib,
                                  const Progress& progress);

    // The depth converters "DIB1to4" ... "DIB8To24": a new block, empty on failure.
    virtual QByteArray convertDib(const QString& entry, const QByteArray& dib);
    // Run-length blocks to a picture; 1 when one came out.
    virtual qint16 DibtoDdb(const QByteArray& dib, Bitmap& bitmap);

protected:
    // Keeps the detail of a failure for errorText and answers its code.
    qint16 fail(qint16 code, const QString& detail);
    // One picture read: a picture whose header (of TIFF page `page`) states a side beyond what a
    // block holds is refused before it is decoded, and so is one that comes out so.
    qint16 readWith(const QString& name, int bits, bool dither, QByteArray& dib, int page,
                    const Progress& progress, const std::function<QImage(const QByteArray&, int*,
                                                                           QString*)>& decode);

private:
    QString m_detail;
};

// The library's name, as its messages give it.
QString imagingLibraryName();

} // namespace imaging
