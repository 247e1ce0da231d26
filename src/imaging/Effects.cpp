#include "imaging/Effects.h"

#include "platform/Rounding.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace imaging {

namespace {

std::unique_ptr<EffectsLibrary>& loadedEffects()
{
    static std::unique_ptr<EffectsLibrary> library;
    return library;
}

EffectsLibraryFactory& effectsFactory()
{
    static EffectsLibraryFactory f;
    return f;
}

Progress progressOf(ProgressContext* ctx)
{
    return [ctx](int percent) { return ImgProgressHook(percent, ctx) != 0; };
}

// The bands of a skip transition in the order they are revealed: every other band first, then
// the ones left between them, so the picture shows through early.
int skipOrder(int index, int bands)
{
    const int evens = (bands + 1) / 2;
    return index < evens ? 2 * index : 2 * (index - evens) + 1;
}

} // namespace

bool EffectsLibrary::hasEntry(const QString&) const
{
    return true;
}

QByteArray EffectsLibrary::ILRotate(const QByteArray& dib, double angle, const QRect& area, QRgb background)
{
    const QImage source = dibToImage(dib);
    if (source.isNull())
        return {};
    const QRect part = area.intersected(source.rect());
    if (part.isEmpty())
        return {};
    const QImage piece = part == source.rect() ? source : source.copy(part);
    // Qt turns clockwise on a y-down surface; the program's angles turn counter-clockwise.
    QTransform turn;
    turn.rotate(-angle);
    const QRect bounds = turn.mapRect(QRectF(0, 0, piece.width(), piece.height())).toAlignedRect();
    QImage out(std::max(1, bounds.width()), std::max(1, bounds.height()), QImage::Format_RGB32);
    out.fill(background);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform, std::fmod(angle, 90.0) != 0.0);
    p.translate(-bounds.left(), -bounds.top());
    p.setTransform(turn, true);
    p.drawImage(0, 0, piece);
    p.end();
    return imageToDib(out, 24);
}

QByteArray EffectsLibrary::ReduceDib(const QByteArray& dib, int bits, bool dither, const Progress& progress)
{
    if (bits != 1 && bits != 4 && bits != 8)
        return {};
    const QImage source = dibToImage(dib);
    if (source.isNull())
        return {};
    if (progress && !progress(0))
        return {};
    QByteArray reduced = imageToDib(source, bits, dither);
    if (progress)
        progress(100);
    return reduced;
}

int EffectsLibrary::FxSteps(TFXMethod method, const QSize& size, int thickness) const
{
    const int t = std::max(1, thickness);
    const int w = std::max(1, size.width());
    const int h = std::max(1, size.height());
    switch (method) {
    case FXNone: return 0;
    case FXHorizontal: return (h + t - 1) / t;
    case FXVertical: return (w + t - 1) / t;
    case FXDiagonal: return (w + h + t - 1) / t;
    case FXDiagonalSquares: return (w + t - 1) / t + (h + t - 1) / t - 1;
    case FXRectangles: return std::max(2, (std::max(w, h) / 2 + t - 1) / t);
    }
    return 0;
}

QRegion EffectsLibrary::FxReveal(TFXMethod method, const QSize& size, int thickness, int step) const
{
    const int t = std::max(1, thickness);
    const int w = size.width();
    const int h = size.height();
    const int steps = FxSteps(method, size, thickness);
    if (step >= steps)
        return QRegion(0, 0, w, h);
    QRegion shown;
    switch (method) {
    case FXNone: return QRegion(0, 0, w, h);
    case FXHorizontal:
        for (int i = 0; i < step; ++i)
            shown += QRect(0, skipOrder(i, steps) * t, w, t);
        break;
    case FXVertical:
        for (int i = 0; i < step; ++i)
            shown += QRect(skipOrder(i, steps) * t, 0, t, h);
        break;
    case FXDiagonal:
        // Everything above the line x + y = step * thickness, as squares of the band's size.
        for (int y = 0; y < h; y += t)
            for (int x = 0; x < w; x += t)
                if (x + y < step * t)
                    shown += QRect(x, y, t, t);
        break;
    case FXDiagonalSquares:
        for (int row = 0; row * t < h; ++row)
            for (int col = 0; col * t < w; ++col)
                if (row + col < step)
                    shown += QRect(col * t, row * t, t, t);
        break;
    case FXRectangles: {
        const int grow = step * t;
        shown += QRect(w / 2 - grow, h / 2 - grow, 2 * grow, 2 * grow);
        break;
    }
    }
    return shown.intersected(QRect(0, 0, w, h));
}

QString ImgFxEntry(TFXMethod method)
{
    switch (method) {
    case FXNone: return {};
    case FXHorizontal: return QStringLiteral("FXSkipHorizontal");
    case FXVertical: return QStringLiteral("FXSkipVertical");
    case FXDiagonal: return QStringLiteral("FXSkipDiagonals");
    case FXDiagonalSquares: return QStringLiteral("FXSkipDiagonalSquares");
    case FXRectangles: return QStringLiteral("FXSkipRectangles");
    }
    return {};
}

void setEffectsLibraryFactory(EffectsLibraryFactory factory)
{
    effectsFactory() = std::move(factory);
    loadedEffects().reset();
}

QString effectsLibraryName()
{
    return QStringLiteral("ISP2000.DLL");
}

bool ImgLoadEffectsProc(const QString& entry)
{
    if (!loadedEffects()) {
        loadedEffects() = effectsFactory() ? effectsFactory()() : std::make_unique<EffectsLibrary>();
        if (!loadedEffects()) {
            ShowImagingMessage(imagingMessage(msgCantLoad) + effectsLibraryName()
                               + imagingMessage(msgSearchPath));
            return false;
        }
    }
    return loadedEffects()->hasEntry(entry);
}

EffectsLibrary* ImgEffects()
{
    return loadedEffects().get();
}

UndoRing& ImgUndoRing()
{
    static UndoRing ring;
    return ring;
}

void ImgUndoPush(const Bitmap& bitmap)
{
    UndoRing& ring = ImgUndoRing();
    for (std::size_t i = ring.copies.size() - 1; i > 0; --i)
        ring.copies[i] = ring.copies[i - 1];
    ring.copies[0] = bitmap;
    ring.available = true;
}

bool ImgRotateDib(QByteArray& dib, int x, int y, QRgb background, double angle, int w, int h)
{
    if (!ImgLoadEffectsProc(QStringLiteral("ILRotate")))
        return false;
    if (w == 0 || h == 0) {
        const ILTDib block(dib);
        w = block.Width();
        h = block.Height();
    }
    binding().ImgProgressText = imagingMessage(msgRotating);
    QByteArray rotated;
    try {
        rotated = loadedEffects()->ILRotate(dib, angle, QRect(QPoint(x, y), QPoint(x + w - 1, y + h - 1)),
                                            background);
    } catch (...) {
        ShowImagingMessage(imagingMessage(msgLibraryException));
        return false;
    }
    // A rotation that gives nothing leaves the picture as it was, never an empty one.
    if (rotated.isEmpty())
        return false;
    dib = rotated;
    return true;
}

bool ImgRotateBitmap(Bitmap& bitmap, int x, int y, QRgb background, double angle, int w, int h)
{
    QByteArray dib;
    if (!bitmap.HasHandle() || !ImgBitmapToDib(bitmap, dib) || dib.size() <= 4)
        throw ErrorInvalid(imagingMessage(msgInputImageEmpty));
    if (!ImgRotateDib(dib, x, y, background, angle, w, h))
        return false;
    Bitmap turned;
    if (!ImgDibHandleToBitmap(dib, turned))
        return false;
    bitmap = turned;
    return true;
}

QByteArray ImgIncreaseColors(const QByteArray& dib, int bits)
{
    const int b = ILTDib(dib).BitCount();
    if (b == 24 || bits <= b)
        return {};
    QString entry;
    switch (b) {
    case 1:
        entry = bits == 4 ? QStringLiteral("DIB1to4") : bits == 8 ? QStringLiteral("DIB1To8")
              : bits == 24 ? QStringLiteral("DIB1To24") : QString();
        break;
    case 4:
        entry = bits == 8 ? QStringLiteral("DIB4To8") : bits == 24 ? QStringLiteral("DIB4To24") : QString();
        break;
    case 8: entry = QStringLiteral("DIB8To24"); break;
    case 16: entry = QStringLiteral("DIB16To24"); break;
    default: break;
    }
    if (entry.isEmpty())
        return {};
    binding().ImgProgressText = imagingMessage(msgIncreasingColors);
    return ImgDibConvert(entry, dib);
}

QByteArray ImgReduceColors(const QByteArray& dib, int bits, bool dither, ProgressContext* ctx)
{
    if (dib.isEmpty() || !ImgLoadEffectsProc(QStringLiteral("ReduceDib")))
        return {};
    binding().ImgProgressText = imagingMessage(msgReducingColors);
    try {
        if (ILTDib(dib).BitCount() == 32) {
            const QByteArray wide = ImgDib32To24(dib);
            if (wide.isEmpty())
                return {};
            return loadedEffects()->ReduceDib(wide, bits, dither, progressOf(ctx));
        }
        return loadedEffects()->ReduceDib(dib, bits, dither, progressOf(ctx));
    } catch (...) {
        ShowImagingMessage(imagingMessage(msgLibraryException));
        return {};
    }
}

QRect ImgFitRect(const QSize& picture, const QSize& area)
{
    if (picture.isEmpty())
        return QRect(QPoint(0, 0), area);
    const double rw = double(area.width()) / picture.width();
    const double rh = double(area.height()) / picture.height();
    const double r = rh >= rw ? rw : rh;
    const int w = platform::R(picture.width() * r);
    const int h = platform::R(picture.height() * r);
    return QRect((area.width() - w) / 2, (area.height() - h) / 2, w, h);
}

} // namespace imaging
