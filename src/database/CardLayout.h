#pragma once

#include "TableFile.h"

#include <QPoint>

#include <vector>

// The card's layout rules: captions dragged by the mouse, snapped to a grid of 8 pixels, never
// into the tool bar, and the edits' tab order following their places on the card.
namespace database {

inline constexpr int CardToolbarBottom = 40; // no caption goes higher
inline constexpr int CardEditBelow = 16;     // an edit sits this far below its caption

// A caption at `captionPos` dragged while the mouse, pressed at `pressedAt` inside it, is now at
// `mouseAt` (both inside the caption's own coordinates).
QPoint DragCaption(QPoint captionPos, QPoint pressedAt, QPoint mouseAt);
// Where a dropped caption settles: each coordinate down to a multiple of 8, toward zero.
QPoint SnapCaption(QPoint captionPos);
// The fields in tab order, all 40: by the edits' top, then their left. An edit on exactly the
// same place as an earlier one is passed over and goes after all the others.
std::vector<int> CardTabOrder(const TCardLayout& card);

} // namespace database
