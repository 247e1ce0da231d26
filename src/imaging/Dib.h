#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>

// Packed device-independent bitmaps: one block holding a 40-byte BITMAPINFOHEADER, the colour
// table and the pixel rows, bottom-up. Pictures travel between the readers, the BMP writer, the
// scanner and the clipboard in this form. A block that comes from outside (a file, the
// clipboard, a reader) is never trusted: every size in its header is checked against the
// block's real length before a byte is copied.
namespace imaging {

// The longest side of a picture the program holds, in pixels: a block counts its rows in 16 bits,
// and QImage takes no more. Every reader refuses a longer side before it decodes.
constexpr int kMaxPictureSide = 32767;

// The colour table of an 8-bit grey picture: black to white in 256 steps.
QList<QRgb> greyTable();

constexpr int kBitmapInfoHeaderSize = 40;
constexpr int kBitmapFileHeaderSize = 14;
// 75 dots per inch, the resolution every block we make states.
constexpr int kPelsPerMeter = 2953;

enum DibCompression { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

// A picture as the program holds it: the image, and the bit count of the block it came from
// (Qt has no 4-bit format, so a 4-bit picture is a 16-entry indexed image with bits 4).
struct Bitmap {
    QImage image;
    int bits = 0;
    bool HasHandle() const { return !image.isNull(); }
};

// Bytes per pixel row: rows are padded to whole 32-bit words.
constexpr qint64 dibStride(qint64 width, int bits) { return ((width * bits + 31) / 32) * 4; }

// What a checked block holds, with every offset inside the block.
struct DibLayout {
    int width = 0;
    int height = 0;        // always positive
    bool topDown = false;  // a negative biHeight
    int bits = 0;
    int compression = BI_RGB;
    int headerSize = 0;    // biSize
    int colorCount = 0;    // entries in the colour table
    qint64 tableOffset = 0;
    qint64 bitsOffset = 0; // first byte of the pixel data
    qint64 bitsSize = 0;   // bytes of pixel data inside the block
    quint32 masks[3] = {0, 0, 0}; // BI_BITFIELDS red, green, blue
};

// Checks a packed block; on failure `why` says what is wrong with it.
std::optional<DibLayout> checkDib(const QByteArray& block, QString* why = nullptr);

// The picture a packed block holds, or a null image when the block is refused or its
// run-length data is damaged. 1-bit blocks give Format_Mono, 4- and 8-bit ones Format_Indexed8
// with a table padded to 2^bits entries (so no pixel indexes past it), 16-bit ones RGB555 or
// RGB16, 24-bit ones RGB888 and 32-bit ones RGB32. `bits` receives the block's bit count.
QImage dibToImage(const QByteArray& block, int* bits = nullptr, QString* why = nullptr);

// The image in the form a block of `bits` (1, 4, 8 or 24) holds, dithered when asked. An
// indexed image of at most 2^bits colours keeps its own table.
QImage imageAtDepth(const QImage& image, int bits, bool dither);

// A packed block of the image at `bits` (1, 4, 8 or 24; 16 and 32 give 24). An empty block for
// a null image or any other depth.
QByteArray imageToDib(const QImage& image, int bits, bool dither = false);

// A BMP file: the 14-byte file header ("BM", file size, two zero words, the offset of the
// pixels) followed by the packed block.
QByteArray bmpFileOf(const QByteArray& block);
// The packed block inside a BMP file, checked; empty when the bytes are not one.
QByteArray dibOfBmpFile(const QByteArray& file, QString* why = nullptr);

// A wrapper around one packed block: it allocates, measures and gives the block out. The block
// is a value (implicitly shared), so a wrapper that does not own its block simply shares it;
// OwnsBlock is kept for the callers that hand a block over and take it back.
class ILTDib {
public:
    ILTDib() = default;
    explicit ILTDib(const QByteArray& block) : m_block(block) {}

    bool OwnsBlock = true;

    void SetDib(const QByteArray& block);
    const QByteArray& Dib() const { return m_block; }
    bool Empty() const { return m_block.isEmpty(); }

    // Read-outs of the header, 0 without a block (or a block shorter than the header).
    int BitCount() const;
    int Width() const;
    int Height() const;
    int Compression() const;
    // biClrUsed when not 0, else 2^bits up to 8 bits, else 0.
    int ColorCount() const;
    int HeaderSize() const { return kBitmapInfoHeaderSize + 4 * ColorCount(); }
    // HeaderSize + biSizeImage; a zero biSizeImage is computed from the rows and written.
    qint64 TotalSize();
    // Offset of the pixel rows in the block.
    qint64 BitsOffset() const { return HeaderSize(); }
    static int ColorsForBits(int bits);
    // The colour table as Qt colours (opaque).
    QList<QRgb> Palette() const;

    // A zeroed block of width x height at `bits` (1, 2, 4, 8, 16, 24, 32; 2 is stored as 1 bit
    // with rows sized for 2), its colour table from `palette` where it has entries. False for
    // any other depth or a size that does not fit in memory.
    bool Allocate(const QList<QRgb>* palette, int width, int bits, int height);

private:
    quint32 field(int offset, int size) const;

    QByteArray m_block;
};

// The 16 colours a 4-bit picture is reduced to when it has more: the classic VGA table.
const QList<QRgb>& vga16Colors();

} // namespace imaging
