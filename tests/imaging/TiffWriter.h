#pragma once

#include <QFile>
#include <QList>
#include <QString>

#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

// TIFF files written by libtiff itself, the way other programs write them: pages of 8-bit samples
// (grey, RGB, RGB and alpha) or of one bit, in strips or square tiles, under any compression.
namespace tifftest {

struct Page {
    int width = 1, height = 1;
    int samples = 3; // 1, 3, or 4 (the fourth an extra sample of `extraSample`'s kind)
    int bits = 8;    // 8, or 1 with one sample: each pixel's sample is then 0 or 1 as stored
    uint16_t photometric = PHOTOMETRIC_RGB;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t extraSample = EXTRASAMPLE_UNASSALPHA;
    uint16_t orientation = 0; // 0: no tag, the reader's default
    uint16_t predictor = 0;   // 0: no tag
    uint32_t rowsPerStrip = 0; // 0: the page in one strip
    uint32_t tileSide = 0;     // non-zero: tiles of this side instead of strips
    // Writes pixel (x, y)'s `samples` values, as stored in the file, to `into`.
    std::function<void(int x, int y, uint8_t* into)> pixel;
};

// The bytes of `count` pixels of row y from column x0; pixels past the page's edges (a tile's
// padding) repeat its last column and row.
inline std::vector<uint8_t> packedRun(const Page& page, int x0, int y, int count)
{
    const int row = std::min(y, page.height - 1);
    std::vector<uint8_t> bytes(size_t(page.bits == 1 ? (count + 7) / 8 : count * page.samples), 0);
    uint8_t values[4] = {};
    for (int i = 0; i < count; ++i) {
        page.pixel(std::min(x0 + i, page.width - 1), row, values);
        if (page.bits == 1) {
            if (values[0] != 0)
                bytes[size_t(i / 8)] |= uint8_t(0x80 >> (i % 8));
        } else {
            std::copy(values, values + page.samples, bytes.begin() + i * page.samples);
        }
    }
    return bytes;
}

// The pages in order, each its own directory of a file at `path`.
inline void writeTiff(const QString& path, const QList<Page>& pages)
{
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    ASSERT_NE(tiff, nullptr);
    for (const Page& page : pages) {
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, page.width);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, page.height);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, page.bits);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, page.samples);
        if (page.samples == 4) {
            const uint16_t extra[] = {page.extraSample};
            TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
        }
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, page.photometric);
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, page.compression);
        TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        if (page.orientation != 0)
            TIFFSetField(tiff, TIFFTAG_ORIENTATION, page.orientation);
        if (page.predictor != 0)
            TIFFSetField(tiff, TIFFTAG_PREDICTOR, page.predictor);
        if (page.tileSide != 0) {
            const int side = int(page.tileSide);
            TIFFSetField(tiff, TIFFTAG_TILEWIDTH, page.tileSide);
            TIFFSetField(tiff, TIFFTAG_TILELENGTH, page.tileSide);
            for (int ty = 0; ty < page.height; ty += side)
                for (int tx = 0; tx < page.width; tx += side) {
                    std::vector<uint8_t> tile;
                    for (int y = ty; y < ty + side; ++y) {
                        const std::vector<uint8_t> run = packedRun(page, tx, y, side);
                        tile.insert(tile.end(), run.begin(), run.end());
                    }
                    ASSERT_GE(TIFFWriteTile(tiff, tile.data(), uint32_t(tx), uint32_t(ty), 0, 0), 0);
                }
        } else {
            TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, page.rowsPerStrip != 0 ? page.rowsPerStrip : uint32_t(page.height));
            for (int y = 0; y < page.height; ++y) {
                std::vector<uint8_t> row = packedRun(page, 0, y, page.width);
                ASSERT_GE(TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0), 0);
            }
        }
        ASSERT_TRUE(TIFFWriteDirectory(tiff));
    }
    TIFFClose(tiff);
}

} // namespace tifftest
