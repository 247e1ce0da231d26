#include "imaging/PcdReader.h"

#include "imaging/ImagingErrors.h"

#include <QTransform>

#include <algorithm>

namespace imaging {

namespace {

struct Base {
    qint64 offset;
    int width;
    int height;
};

// Where each base resolution lies: Base/16, Base/4 and Base, each in rows of two luminance
// lines followed by their two half-width chrominance lines.
constexpr Base kBases[3] = {{0x2000, 192, 128}, {0xB800, 384, 256}, {0x30000, 768, 512}};
constexpr qint64 kSignatureAt = 0x800;
constexpr qint64 kOrientationAt = 0xE02;

bool isPack(const QByteArray& file)
{
    return file.size() > kOrientationAt && file.mid(kSignatureAt, 7) == "PCD_IPI";
}

int orientation(const QByteArray& file)
{
    return uchar(file[kOrientationAt]) & 3;
}

uchar clamp(double v)
{
    return uchar(std::min(255.0, std::max(0.0, v) + 0.5));
}

} // namespace

QSize pcdSize(const QByteArray& file, int mode)
{
    if (!isPack(file) || mode < 0 || mode > 2)
        return {};
    const Base& b = kBases[mode];
    return (orientation(file) & 1) ? QSize(b.height, b.width) : QSize(b.width, b.height);
}

QImage readPcd(const QByteArray& file, int mode, QString* why)
{
    auto refuse = [&](const QString& text) {
        if (why != nullptr)
            *why = text;
        return QImage();
    };
    if (!isPack(file))
        return refuse(QStringLiteral("not a Photo CD image pack"));
    if (mode < 0 || mode > 2)
        return refuse(QStringLiteral("Photo CD resolution %1 is not one of the base ones").arg(mode));
    const Base& b = kBases[mode];
    const qint64 pairBytes = qint64(b.width) * 3; // two lines of Y, one of C1, one of C2
    if (file.size() < b.offset + pairBytes * (b.height / 2))
        return refuse(QStringLiteral("Photo CD file is truncated"));
    QImage image(b.width, b.height, QImage::Format_RGB888);
    if (image.isNull())
        return refuse(imagingMessage(msgCantAllocate));
    const auto* data = reinterpret_cast<const uchar*>(file.constData());
    for (int pair = 0; pair < b.height / 2; ++pair) {
        const uchar* block = data + b.offset + pairBytes * pair;
        const uchar* c1 = block + 2 * b.width;
        const uchar* c2 = c1 + b.width / 2;
        for (int line = 0; line < 2; ++line) {
            const uchar* luma = block + line * b.width;
            uchar* d = image.scanLine(2 * pair + line);
            for (int x = 0; x < b.width; ++x) {
                // Photo YCC to RGB, the chrominance shared by each 2 x 2 square.
                const double l = 1.3584 * luma[x];
                const double u = 2.2179 * (c1[x / 2] - 156);
                const double v = 1.8215 * (c2[x / 2] - 137);
                d[3 * x] = clamp(l + v);
                d[3 * x + 1] = clamp(l - 0.194 * u - 0.509 * v);
                d[3 * x + 2] = clamp(l + u);
            }
        }
    }
    switch (orientation(file)) {
    case 1: return image.transformed(QTransform().rotate(-90));
    case 2: return image.transformed(QTransform().rotate(180));
    case 3: return image.transformed(QTransform().rotate(90));
    default: return image;
    }
}

} // namespace imaging
