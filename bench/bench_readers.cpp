// Reading hostile-sized files: a settings file of 600 KB in many sections and keys, and a
// translation table of 200,000 rows that claims 255 languages (and one that claims 7). Prints the time and the peak
// memory of each read; both must grow with the file, not with its square or its claims.
// Then pictures that compress far: an 8000 x 8000 TIFF (deflate, in one strip, and in tiles with
// an alpha channel), TGA (run-length), PCX and PNG of one colour, read to a picture; the read's
// peak memory beside the picture's own size (at most twice), and its time and memory beside
// netpbm's decoder on the same file (at most twice its time). netpbm is a benchmark-only
// package: without it, its figures are left out and said so.
// Files that state far more work than they hold: a progressive JPEG of 4000 x 4000 whose last
// scan is repeated 8000 times, DXF drawings stating 10^8 vertices and 4 x 10^8 knots; each is
// refused, in under 0.1 s and 10 MB.
// And a text import of a first line of many separators over as many empty lines.
//   bench_readers [scale=1] [side=8000]   (scale multiplies the text sizes)
#include "MultiLang/TranslationTable.h"
#include "addressbook/AddressBook.h"
#include "addressbook/TextExchange.h"
#include "imaging/Binding.h"
#include "platform/Errors.h"
#include "platform/TIniFile.h"

#include "BenchSupport.h"
#include "RunLengthPictures.h"
#include "ScanBomb.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <tiffio.h>
#include <unistd.h>

extern char** environ;

namespace {


void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::exit(1);
}

void settings(const QTemporaryDir& dir, int scale)
{
    // Half the bytes in sections of one key, half in one section of many keys: the two ways a
    // reader that searches what it has read so far turns quadratic.
    QByteArray text;
    const int sections = 10000 * scale;
    const int keys = 20000 * scale;
    for (int s = 0; s < sections; ++s)
        text += "[Section " + QByteArray::number(s) + "]\r\nk=" + QByteArray::number(s) + "\r\n";
    text += "[Big]\r\n";
    for (int k = 0; k < keys; ++k)
        text += "Key" + QByteArray::number(k) + "=" + QByteArray::number(k) + "\r\n";
    const QString path = dir.filePath("big.ini");
    write(path, text);
    QElapsedTimer t;
    t.start();
    const platform::TIniFile ini(path);
    const int found = static_cast<int>(ini.ReadSections().size() + ini.ReadSection("big").size());
    std::printf("settings file   %7.0f KB  %6d sections, %6d keys  read in %6.3f s  peak RSS %6.1f MB  (%d names)\n",
                text.size() / 1024.0, sections + 1, sections + keys, t.elapsed() / 1000.0, bench::peakKb() / 1024.0,
                found);
}

void translation(const QTemporaryDir& dir, int scale, int languages)
{
    const int rows = 200000 * scale;
    QByteArray text = "!Languages\t" + QByteArray::number(languages) + "\r\n";
    for (int r = 0; r < rows; ++r)
        text += "Key" + QByteArray::number(r) + "\tun\tone\r\n";
    const QString path = dir.filePath("big.txt");
    write(path, text);
    QElapsedTimer t;
    t.start();
    QString outcome;
    try {
        const TranslationTable table = readTranslationTable(path);
        outcome = QStringLiteral("%1 words").arg(table.Words.size());
    } catch (const std::exception& e) {
        outcome = QStringLiteral("refused: %1").arg(QString::fromLocal8Bit(e.what()).left(60));
    }
    std::printf("translation     %7.0f KB  %6d rows claiming %3d languages  read in %6.3f s  peak RSS %6.1f MB  (%s)\n",
                text.size() / 1024.0, rows, languages, t.elapsed() / 1000.0, bench::peakKb() / 1024.0, qPrintable(outcome));
}

// The shapes of TIFF a reader meets: eight-bit RGB in strips, read straight into the picture, and
// tiles of RGB with an alpha channel, which go through libtiff's RGBA reader.
enum class TiffShape { Strips, TiledAlpha };

bool writeBombTiff(const QString& path, int side, TiffShape shape)
{
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (tiff == nullptr)
        return false;
    const int samples = shape == TiffShape::TiledAlpha ? 4 : 3;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, side);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, side);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
    TIFFSetField(tiff, TIFFTAG_ZIPQUALITY, 9);
    QByteArray pixels(qsizetype(side) * samples, '\0');
    for (int x = 0; x < side; ++x) {
        pixels[samples * x] = '\x30';
        pixels[samples * x + 1] = '\x60';
        pixels[samples * x + 2] = '\x90';
        if (samples == 4)
            pixels[samples * x + 3] = '\xc0';
    }
    bool ok = true;
    if (shape == TiffShape::TiledAlpha) {
        const uint16_t kinds[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, kinds);
        constexpr int tile = 256;
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, tile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, tile);
        // Every tile alike: one tile's bytes, rows of the one-colour line.
        QByteArray one;
        for (int y = 0; y < tile; ++y)
            one += pixels.left(tile * samples);
        for (int y = 0; ok && y < side; y += tile)
            for (int x = 0; ok && x < side; x += tile)
                ok = TIFFWriteTile(tiff, one.data(), uint32_t(x), uint32_t(y), 0, 0) >= 0;
    } else {
        // A hostile file puts the whole picture in one strip: the most a decoder is asked to hold.
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, side);
        for (int y = 0; ok && y < side; ++y)
            ok = TIFFWriteScanline(tiff, pixels.data(), uint32_t(y), 0) >= 0;
    }
    TIFFClose(tiff);
    return ok;
}

struct Outside {
    bool ran = false;
    double seconds = 0;
    long peakKb = -1; // -1: not measured
};

// The outside decoder on the file, its output thrown away: wall time and its peak memory. A
// child of this process would report this process's own peak as its own (the two share memory
// until the decoder starts), so the peak is taken by GNU time, a small process, when installed.
Outside runOutside(const char* program, const QString& file, const QTemporaryDir& dir)
{
    Outside o;
    const QByteArray path = QByteArray("/usr/bin/") + program;
    if (access(path.constData(), X_OK) != 0)
        return o;
    const QByteArray input = QFile::encodeName(file);
    const QByteArray timer = "/usr/bin/time";
    const QByteArray report = QFile::encodeName(dir.filePath("outside-peak"));
    const bool timed = access(timer.constData(), X_OK) == 0;
    QList<QByteArray> args;
    if (timed)
        args << timer << "-f" << "%M" << "-o" << report;
    args << path << input;
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    QElapsedTimer t;
    t.start();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return o;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return o;
    o.ran = true;
    o.seconds = t.elapsed() / 1000.0;
    if (timed) {
        QFile peak(QString::fromLocal8Bit(report));
        if (peak.open(QIODevice::ReadOnly))
            o.peakKb = peak.readAll().trimmed().split('\n').last().toLong();
    }
    return o;
}

using BitmapReader = bool (*)(const QString&, int, bool, imaging::ProgressContext*, imaging::Bitmap&);

bool readTiffPage0(const QString& n, int b, bool d, imaging::ProgressContext* c, imaging::Bitmap& m)
{
    return imaging::ImgReadTiffBitmap(n, b, d, 0, c, m);
}

void bomb(const char* what, const QString& path, BitmapReader read, const char* outside, int side,
          const QTemporaryDir& dir)
{
    const double pictureMb = double(side) * side * 3 / (1024.0 * 1024.0);
    const double fileKb = QFileInfo(path).size() / 1024.0;
    // Times are the best of a few runs each, taken in turns, so that a busy machine weighs on
    // both alike; the peak is the first read's.
    constexpr int kRuns = 3;
    Outside o;
    double seconds = 1e9;
    double peakMb = 0;
    bool ok = true;
    for (int run = 0; run < kRuns; ++run) {
        const Outside once = runOutside(outside, path, dir);
        if (once.ran && (!o.ran || once.seconds < o.seconds))
            o = once;
        bench::resetPeak();
        const long before = bench::rssKb();
        QElapsedTimer t;
        t.start();
        {
            imaging::Bitmap bitmap;
            const bool read1 = read(path, 24, false, nullptr, bitmap);
            seconds = std::min(seconds, t.elapsed() / 1000.0);
            ok = ok && read1 && bitmap.image.width() == side && bitmap.image.height() == side;
        }
        if (run == 0)
            peakMb = (bench::peakKb() - before) / 1024.0;
    }
    std::printf("%-5s bomb %6.0f KB  %d x %d (picture %5.0f MB)  read %s in %6.3f s (best of %d), peak %6.0f MB (%.2f x the picture)",
                what, fileKb, side, side, pictureMb, ok ? "whole" : "FAILED", seconds, kRuns, peakMb, peakMb / pictureMb);
    if (o.ran && o.peakKb >= 0)
        std::printf("  |  %s %6.3f s, peak %6.0f MB  (time %.2f x %s)\n", outside, o.seconds, o.peakKb / 1024.0,
                    seconds / std::max(o.seconds, 0.001), outside);
    else if (o.ran)
        std::printf("  |  %s %6.3f s, peak not measured (no GNU time)  (time %.2f x %s)\n", outside, o.seconds,
                    seconds / std::max(o.seconds, 0.001), outside);
    else
        std::printf("  |  %s not installed (netpbm): no outside figure\n", outside);
}

void bombs(const QTemporaryDir& dir, int side)
{
    const QString tif = dir.filePath("bomb.tif");
    const QString tga = dir.filePath("bomb.tga");
    const QString pcx = dir.filePath("bomb.pcx");
    const QString tiled = dir.filePath("bomb-tiled.tif");
    if (!writeBombTiff(tif, side, TiffShape::Strips) || !writeBombTiff(tiled, side, TiffShape::TiledAlpha))
        std::exit(1);
    write(tga, runlength::tga(side, side, 24));
    write(pcx, runlength::pcx(side, side, 3));
    bomb("TIFF", tif, readTiffPage0, "tifftopnm", side, dir);
    bomb("TIFFt", tiled, readTiffPage0, "tifftopnm", side, dir);
    bomb("TGA", tga, imaging::ImgReadTgaBitmap, "tgatoppm", side, dir);
    bomb("PCX", pcx, imaging::ImgReadPcxBitmap, "pcxtoppm", side, dir);
    // Qt's readers give four bytes a pixel, and refuse a picture of more than 128 MB so: a PNG
    // of 5000 x 5000 is the bomb of those formats.
    const int pngSide = std::min(side, 5000);
    const QString png = dir.filePath("bomb.png");
    QImage plain(pngSide, pngSide, QImage::Format_RGB32);
    plain.fill(qRgb(0x30, 0x60, 0x90));
    if (!plain.save(png))
        std::exit(1);
    plain = QImage();
    bomb("PNG", png, imaging::ImgReadPngBitmap, "pngtopnm", pngSide, dir);
}

// A file refused for what it states: its time and the memory the refusal took.
void refused(const char* what, const QString& path, BitmapReader read)
{
    bench::resetPeak();
    const long before = bench::rssKb();
    QElapsedTimer t;
    t.start();
    imaging::Bitmap bitmap;
    const bool read1 = read(path, 24, false, nullptr, bitmap);
    const double seconds = t.elapsed() / 1000.0;
    std::printf("%-28s %7.0f KB  %s in %6.3f s  peak %6.1f MB  (%s)\n", what, QFileInfo(path).size() / 1024.0,
                read1 ? "READ" : "refused", seconds, (bench::peakKb() - before) / 1024.0,
                qPrintable(imaging::binding().ImgLastErrorText));
}

bool readDxfBitmap(const QString& n, int b, bool d, imaging::ProgressContext* c, imaging::Bitmap& m)
{
    return imaging::ImgReadDxf(n, b, d, m, c);
}

void statedWork(const QTemporaryDir& dir)
{
    const QString jpeg = dir.filePath("scans.jpg");
    write(jpeg, scanbomb::progressiveJpeg(4000, 4000, 8000));
    refused("JPEG of 8000 scans", jpeg, imaging::ImgReadJpegBitmap);
    const QString vertices = dir.filePath("vertices.dxf");
    write(vertices, "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n90\n100000000\n0\nENDSEC\n0\nEOF\n");
    refused("DXF of 10^8 stated vertices", vertices, readDxfBitmap);
    const QString knots = dir.filePath("knots.dxf");
    write(knots, "0\nSECTION\n2\nENTITIES\n0\nSPLINE\n72\n400000000\n0\nENDSEC\n0\nEOF\n");
    refused("DXF of 4 x 10^8 stated knots", knots, readDxfBitmap);
}

// A text to import whose first line holds N separators, then N empty lines: what the import
// keeps, and its time, must grow with the file (twice the file, twice the cost), not with N x N.
void wideImport(int separators)
{
    const QByteArray file = QByteArray(separators, ';') + "\n" + QByteArray(separators, '\n');
    bench::resetPeak();
    const long before = bench::rssKb();
    QElapsedTimer t;
    t.start();
    int entries = 0;
    {
        addressbook::TAddressBook book;
        book.Importer(addressbook::ReadExchangeRecords(file, u';'), {0, 1, 2});
        entries = book.NbFiches();
    }
    std::printf("text import     %7.0f KB  first line of %d separators, %d empty lines  read in %6.3f s  peak %6.1f MB  (%d entries)\n",
                file.size() / 1024.0, separators, separators, t.elapsed() / 1000.0,
                (bench::peakKb() - before) / 1024.0, entries);
}

// A text whose lines end in a carriage return alone, as old Mac files do: its time grows with
// the file, and is that of the same file with line feeds.
void lineEndImport(int lines, const char* end)
{
    QByteArray file;
    file.reserve(2 * lines);
    for (int i = 0; i < lines; ++i)
        file += 'a' + QByteArray(end);
    QElapsedTimer t;
    t.start();
    const qsizetype records = addressbook::ReadExchangeRecords(file, u';').size();
    std::printf("text import     %7.0f KB  lines ending in %-2s                            read in %6.3f s  (%lld records)\n",
                file.size() / 1024.0, end[0] == '\r' ? "CR" : "LF", t.elapsed() / 1000.0, static_cast<long long>(records));
}

} // namespace

int main(int argc, char** argv)
{
    bench::takeProgramHeap(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int scale = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const int side = argc > 2 ? std::clamp(std::atoi(argv[2]), 16, 8192) : 8000;
    QTemporaryDir dir;
    // The pictures first: the text files' peaks would hide theirs.
    bombs(dir, side);
    statedWork(dir);
    bench::resetPeak();
    wideImport(10000 * scale);
    wideImport(20000 * scale);
    for (const char* end : {"\r", "\n"}) {
        lineEndImport(500000 * scale, end);
        lineEndImport(1000000 * scale, end);
    }
    settings(dir, scale);
    translation(dir, scale, 255);
    translation(dir, scale, 7);
    return 0;
}
