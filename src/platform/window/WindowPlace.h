#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where the program's windows reopen. The settings keep a window's place as the top-left corner
// of its frame and the size of its inside, which is what QWidget::move and resize take; the frame
// the window system draws around it is added when the window is fitted to the screen.
namespace platform {

// What the window system draws around a window: its frame less its inside (none while the
// window system has not told it).
QMargins FrameMargins(const QWidget* window);

// The place of a shown window as the settings keep it; a maximised window gives the place it goes
// back to.
QRect SavedWindowPlace(const QWidget* window);

// The frame rectangle `frame` fitted into `area`: no larger than the area, then moved inside it
// by as little as needed.
QRect FitFrame(const QRect& frame, const QRect& area);

// A place (frame corner and inside size) of a window whose frame adds `margins` to its inside,
// fitted with its frame into `area`: the corner to give to move and the size to give to resize.
QRect FitPlace(const QRect& place, const QMargins& margins, const QRect& area);

// Where a window of `size` (frame included) opens beside the window `owner` (its frame) within the
// screen's `available` area: at the owner's right, else at its left, top edges level; when
// neither side has room, at the right edge of the screen below `keepClear` (a part of the owner
// that stays usable, such as its menu and tool bar) or, with none, at the owner's top. Always
// within `available` as far as the size allows.
QPoint BesidePlace(QRect owner, QRect keepClear, QSize size, QRect available);

// Moves a window beside `owner` as BesidePlace says, on the owner's screen. A window the window
// system has not framed yet is taken to have the owner's frame.
void PlaceBeside(QWidget* window, const QWidget* owner, const QRect& keepClear = {});

// Puts a window at a saved place, fitted with its frame into the available area of the screen
// the place lies on (the primary screen when it lies on none). The window system tells the size
// of the frame only once the window is shown: the fit is made again then, once.
void RestoreWindowPlace(QWidget* window, const QRect& place);

} // namespace platform
