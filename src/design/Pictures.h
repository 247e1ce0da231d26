#pragma once

#include "platform/Errors.h"
#include "platform/Graphics.h"

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>

#include <cstdint>
#include <map>

namespace platform {
class TCanvas;
}

// Pictures of image objects: where their files are, reading them, turning them, keeping them
// for a run of labels, and the placeholder a field-code image shows in the editor.
namespace design {

// The picture file of a reference: program folder + "images/" + name, else the examples folder +
// "images/" + name, each found without regard to letter case. Empty when neither exists, and for
// a name whose "../" (or "..\") leads out of those "images" folders.
QString FindPictureFile(const QString& reference, const QString& programFolder,
                        const QString& examplesFolder);

// A picture file the readers refuse. Reason is the reader's own words (too large, cut short...),
// the message names the file as well.
class EPictureRefused : public platform::EInOutError {
public:
    EPictureRefused(const QString& path, const QString& reason)
        : EInOutError(platform::readErrorMessage(path, reason)), Reason(reason) {}
    QString Reason;
};

// What to tell the user of a picture that could not be used: the reader's reason when a reader
// refused it, else the error's message.
QString PictureErrorReason(const std::exception& error);

// Reads a picture file through the imaging layer's readers (by extension, else by content; true
// colour, pictures stated with fewer than 4 bits in black and white); raises EPictureRefused
// when the file cannot be read or no reader takes it.
QImage LoadPicture(const QString& path);

// The picture turned counter-clockwise by `angle` degrees through the imaging layer's rotation,
// the uncovered corners white. An angle of 0 or below, or a rotation that fails, leaves it as
// it is.
QImage RotatePicture(const QImage& picture, int angle);

// Draws the placeholder of a field-code image in a box of the canvas, at the size it is shown:
// a crossed box on the tooltip colour with the code centred and word-wrapped in it, in the
// canvas's pen and font. The object keeps no picture for it, whatever its size.
void DrawFieldPlaceholder(platform::TCanvas& canvas, const platform::TRect& box, const QString& code);

// The pictures of a run of labels (a mailing, a print run, the previews of a design), so that a
// picture named by many records is read once and turned once per angle. A file is known by its
// resolved path and its modification time and size: a file changed on disk is read again. The
// pictures least recently used are let go when the cache holds more than its budget.
class TPictureCache {
public:
    explicit TPictureCache(std::int64_t budgetBytes = std::int64_t{256} << 20);

    // The picture of the file turned counter-clockwise by `angle` degrees (RotatePicture). Raises
    // platform::EInOutError as LoadPicture does; a file that fails is not remembered.
    QImage Picture(const QString& path, int angle);

    // Files decoded so far (tests and benchmarks).
    int Reads() const { return m_reads; }

private:
    struct Entry {
        QDateTime Modified;
        std::int64_t FileSize = 0;
        std::map<int, QImage> Turned; // by angle; 0 holds the picture as read
        std::int64_t Bytes = 0;
        std::uint64_t LastUse = 0;
    };
    void trim(const QString& keep);

    QHash<QString, Entry> m_entries;
    std::int64_t m_budget;
    std::int64_t m_bytes = 0;
    std::uint64_t m_clock = 0;
    int m_reads = 0;
};

} // namespace design
