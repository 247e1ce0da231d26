#pragma once

#include "imaging/Binding.h"
#include "imaging/Dib.h"

#include <QSize>
#include <QString>

// Reading a picture file the way the image control reads it, without a control: the reader
// chosen by the extension (by the format the file states when the extension is not a picture
// extension), the depth asked, and the rule that a picture stated with fewer than 4 bits (3 for
// GIF) is read in black and white. The design core reads its pictures through here, so a
// picture shows the same in the editor, the preview and on paper.
namespace imaging {

// What the control knows of the last file read.
struct TImageInfo {
    QString format;
    qint32 width = 0;
    qint32 height = 0;
    qint16 bits = 0;    // 0: not stated by the file; -1: the file could not be examined
    qint16 value1 = 0;
    qint16 value2 = 0;
    qint32 imageSize = 0;
    QString description;
    qint16 tiffPages = 0;
};

// The image information of a file. `current` is the size of the picture shown, which the
// graphic kinds (icons, scrolling texts) and program bitmaps report. False when the file cannot
// be examined; the library's error is left in the binding's state.
bool ImgGetImageInfo(const QString& path, int tiffPage, const QSize& current, TImageInfo& info);

enum class PictureKind {
    Missing,    // no such file (nor a program bitmap): the picture is cleared, nothing reported
    Bitmap,     // a picture read by one of the readers
    Graphic,    // an icon: drawn as a graphic, not as a bitmap
    ScrollLine, // ".SCM": one line of scrolling text; the caller shows it
    ScrollList, // ".CMS": lines of scrolling text
    Failed,     // a reader failed or no reader applies; the error is in the binding's state
};

struct PictureReadOptions {
    int bits = 24;      // depth asked (ImgReadBitsFor)
    bool dither = false;
    int pcdMode = 1;    // 0 Base/16, 1 Base/4, 2 Base
    int tiffPage = 0;   // lowered to the file's last page
    ProgressContext* ctx = nullptr;
};

struct PictureRead {
    PictureKind kind = PictureKind::Missing;
    Bitmap bitmap;
    TImageInfo info;
    int tiffPage = 0; // the page read, as lowered
};

// Reads a picture file. A file whose format no reader takes (an unknown extension and content,
// a metafile) is a failure like a reader's, never a silent success.
PictureRead ImgReadPictureFile(const QString& path, const PictureReadOptions& options);

// The page a TIFF read asks for: `page` lowered to the last of `pages` (0 when there are none).
int ImgTiffPageFor(int page, int pages);

} // namespace imaging
