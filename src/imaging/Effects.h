#pragma once

#include "imaging/Binding.h"
#include "imaging/Dib.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QRgb>
#include <QSize>
#include <QString>

#include <array>
#include <functional>
#include <memory>

// The effects half of the imaging layer: transitions that reveal a new picture, rotation by any
// angle, raising and lowering a block's depth, and the undo ring the image controls push to
// before they replace a picture. The effects library is a seam like the imaging library: a test
// can put one in its place that fails, throws or cannot be loaded.
namespace imaging {

enum TFXMethod { FXNone, FXHorizontal, FXVertical, FXDiagonal, FXDiagonalSquares, FXRectangles };

class EffectsLibrary {
public:
    EffectsLibrary() = default;
    virtual ~EffectsLibrary() = default;
    EffectsLibrary(const EffectsLibrary&) = delete;
    EffectsLibrary& operator=(const EffectsLibrary&) = delete;

    virtual bool hasEntry(const QString& entry) const;

    // "ILRotate": the part `area` of the block turned counter-clockwise by `angle` degrees
    // around its centre, on a canvas just large enough to hold it, the uncovered corners in
    // `background`; a 24-bit block. Right angles move pixels exactly; other angles are
    // resampled smoothly. Empty when the area holds no pixel of the block.
    virtual QByteArray ILRotate(const QByteArray& dib, double angle, const QRect& area, QRgb background);

    // "ReduceDib": the block at 1, 4 or 8 bits, dithered when asked. Empty on failure.
    virtual QByteArray ReduceDib(const QByteArray& dib, int bits, bool dither, const Progress& progress);

    // The transitions ("FXSkipHorizontal" ...): the part of a picture of `size` revealed after
    // `step` of `Steps` steps, in bands `thickness` pixels thick. The whole picture after the
    // last step.
    virtual int FxSteps(TFXMethod method, const QSize& size, int thickness) const;
    virtual QRegion FxReveal(TFXMethod method, const QSize& size, int thickness, int step) const;
};

// The entry name of a transition, empty for FXNone.
QString ImgFxEntry(TFXMethod method);

// nullptr from the factory: the effects library cannot be loaded. An empty function restores
// the built-in one.
using EffectsLibraryFactory = std::function<std::unique_ptr<EffectsLibrary>()>;
void setEffectsLibraryFactory(EffectsLibraryFactory factory);
QString effectsLibraryName();

// Loads the effects library when needed and looks the entry up. When the library cannot be
// loaded the user is told ("Can't load ...") and the answer is false; no exception.
bool ImgLoadEffectsProc(const QString& entry);
// The loaded effects library (after ImgLoadEffectsProc answered true).
EffectsLibrary* ImgEffects();

// The undo ring, shared by every image control: slot 0 the newest copy, slot 3 the oldest.
// Pictures are implicitly shared, so a push copies no pixels.
struct UndoRing {
    std::array<Bitmap, 4> copies;
    bool available = false;
};
UndoRing& ImgUndoRing();
void ImgUndoPush(const Bitmap& bitmap);

// Replaces the block by its rotation; the part rotated is X, Y, X + W, Y + H (W or H 0: the
// whole block). False, the block unchanged, when the rotation gives nothing or the effects
// library cannot be loaded or throws.
bool ImgRotateDib(QByteArray& dib, int x, int y, QRgb background, double angle, int w, int h);
// Rotates a picture in place through its block; it comes back at the rotated block's depth.
// Throws ErrorInvalid "Input image is empty" for a picture without an image; false, the
// picture unchanged, when the rotation failed.
bool ImgRotateBitmap(Bitmap& bitmap, int x, int y, QRgb background, double angle, int w, int h);

// The block raised to `bits` through the converters; empty when no conversion applies (24-bit
// blocks, a request at or below the block's depth, or a depth no converter gives).
QByteArray ImgIncreaseColors(const QByteArray& dib, int bits);
// The block lowered to `bits`; a 32-bit block goes through 24 bits first. Empty for an empty
// block or on failure; the source is never changed.
QByteArray ImgReduceColors(const QByteArray& dib, int bits, bool dither, ProgressContext* ctx = nullptr);

// The target a picture of `picture` size takes when fitted into `area` with its proportions
// kept, centred (the image control's StretchRatio view and transition).
QRect ImgFitRect(const QSize& picture, const QSize& area);

} // namespace imaging
