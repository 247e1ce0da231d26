#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

// The live preview's size rules: the preview keeps the label's proportions under its toolbar.
// Sizes are the window's client area; `frame` is what the window manager adds around it. A label
// of no size (a format typed as 0 mm) keeps the size given.
namespace design {

// The client size when the preview is shown: a label at least as high as wide takes a window two
// thirds of the screen's height, a label at least as wide as high two thirds of its width (a
// square label follows the second rule). Rounding halves to even.
QSize PreviewShowSize(QSize screen, QMargins frame, QSize client, int labelWidth, int labelHeight,
                      int toolbarHeight);

// The client size after the user resized the preview to `client`: a wide label keeps the width
// (at least 180) and takes the height from it; any other label keeps the height under the toolbar
// (at least 180) and takes the width from it.
QSize PreviewResizeSize(QSize client, int labelWidth, int labelHeight, int toolbarHeight);

// Where a picture stands in a preview panel: one that fits keeps its own size; a larger one takes
// four fifths of the panel along its longer side, the other side in proportion (rounded halves to
// even). Either way it is centred (halves truncated). An empty picture or panel gives an empty
// rectangle.
QRect FitPictureInPanel(QSize picture, QSize panel);
// The same for a thumbnail, which keeps its own size only when it fits in four fifths of the
// panel (rounded), so that a margin of the panel's colour always shows around it.
QRect FitThumbnailInPanel(QSize picture, QSize panel);

} // namespace design
