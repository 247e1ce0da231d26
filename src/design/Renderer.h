#pragma once

#include "DesignObjects.h"
#include "FieldCodes.h"
#include "Numbering.h"
#include "PreparedLabel.h"

#include "platform/Graphics.h"

#include <QImage>
#include <QString>

#include <functional>

namespace platform {
class TCanvas;
}

// The one renderer of label designs: draws the design held in a model on any canvas (screen,
// image, PDF, printer) at any scale and origin, for one record of the merge source. The station's
// thumbnail, the print dialog's picture, sheet printing, the live preview and the mailing all
// come here; the design window's DrawDesign only gathers the inputs below. A run of labels makes
// one TFieldMerge and one TPictureCache, then for each label PrepareLabel and DrawDesign.
namespace design {

class TDesignModel;

// What painting takes from outside the design: whether the canvas is the printer's and the
// station's barcode option.
struct TDrawTarget {
    // The station's "wysiwyg" option: barcodes go to the printer as a stretched bitmap of
    // design resolution, as on screen, instead of being drawn at the printer's resolution.
    bool Wysiwyg = false;
    // The target is the printer's canvas: bitmaps go as device-independent bitmaps and barcodes
    // are drawn at the printer's resolution (unless Wysiwyg).
    bool Printer = false;
};

// Everything a run of labels takes from outside the design: the target, and for the
// preparation the merge record's source and the numbering settings.
struct TDrawInputs : TDrawTarget {
    MergeSource Source;
    MergeNumbering Numbering;
};

// Draws a label prepared from the design (PrepareLabel). A design value v lands at
// R(v * scale) - origin (X scale and origin.X for left, width and the label width; Y scale and
// origin.Y for top, height, font heights and the label height). Drawing is clipped to the
// label's rectangle; `outline` draws the label's outline last (an ellipse for a round label).
// A scale of 0 (or not a number) or a label of no size draws nothing. Painting reads the design
// and the prepared label only: no file, no cursor, no write to the design. Errors of the barcode
// encoder pass to the caller; the clipping is put back on every path. A label prepared from
// another design (or from this one before objects were added or freed) raises std::logic_error.
void DrawDesign(platform::TCanvas& canvas, const TDesignModel& model, const TPreparedLabel& label,
                const TDrawTarget& target, platform::TPoint origin, double scaleX, double scaleY,
                bool outline);

// Draws one object by itself, as DrawDesign would at scale 1, with the object's top-left corner at
// (0, 0) of the canvas: the views of the design surface paint their objects with it, so the
// screen shows what prints. An image is drawn only within its own box. Errors of the barcode
// encoder pass to the caller.
void DrawObject(platform::TCanvas& canvas, const TPreparedObject& prepared, const TDrawTarget& target);

// Where objects of a kind lie when a label is drawn: kinds are drawn one after the other, a higher
// layer over a lower one, and the objects of one kind in design order.
int PrintLayer(TDesignObjectKind kind);

// Device pixels per design pixel for a device resolution; 0 (draw nothing) when either is 0.
double DesignScale(int devicePixelsPerInch, int designPixelsPerInch);

// Sets the canvas font to the largest size, from the font's own size down to 3, at which the
// text fits the box when drawn with `format` (DrawText flags); a text that fits at no size is
// left at size 3. The canvas font height is the font's height at that size times `scaleY`.
void FitTextFont(const platform::TFont& font, const platform::TRect& box, unsigned format,
                 const QString& text, platform::TCanvas& canvas, double scaleY);

// The search behind FitTextFont: the font height (before scaling) it chooses, `fits` telling
// whether the text fits at a canvas font height. A larger size never fits where a smaller one
// does not, so the sizes are bisected; a size whose character height, scaled, is taller than
// the box (`boxHeight`) cannot fit and is not measured.
int FittingFontHeight(const platform::TFont& font, int boxHeight, double scaleY,
                      const std::function<bool(int canvasHeight)>& fits);

// TextOut with the canvas font turned by `escapement` tenths of a degree (a 16-bit value);
// the canvas font is left as it was.
void DrawRotatedText(platform::TCanvas& canvas, int x, int y, const QString& text, int escapement);

// Sends a bitmap to a printer canvas, stretched to (x, y, width, height); a width or height
// below 1 takes the bitmap's own. Palette images go as true colour.
void PrintBitmap(const QImage& bitmap, platform::TCanvas& canvas, int x, int y, int width, int height);

} // namespace design
