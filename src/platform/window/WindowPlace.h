#pragma once

#include "platform/TWindowPlace.h"

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where the program's windows reopen. The settings keep a window's place as the top-left corner
// of its frame and the size of its inside, which is what QWidget::move and resize take; the frame
// the window system draws around it is added when the window is fitted to the screen. Every
// window's place is read with SaveWindowPlace and given back with RestoreWindowPlace, so the
// frame is counted once, in one place.
namespace platform {

// What the window system draws around a window: its frame less its inside (none while the
// window system has not told it).
QMargins FrameMargins(const QWidget* window);

// The place of a window whose inside stands at `inside` and whose frame adds `margins`.
TWindowPlace PlaceOf(const QRect& inside, const QMargins& margins, bool maximised = false);

// The place of a window as the settings keep it; a maximised window gives the place it goes back
// to (the place it was restored to while it has not been shown unmaximised since).
TWindowPlace SaveWindowPlace(const QWidget* window);

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

// The largest part of `available` lying wholly at the right, the left, below or above `keepClear`:
// the one in which a window of `size`'s proportions can be largest. Empty when `keepClear` covers
// the area.
QRect RoomBeside(const QRect& keepClear, QSize size, const QRect& available);

// Moves a window beside `owner` as BesidePlace says, on the owner's screen. A window the window
// system has not framed yet is taken to have the owner's frame.
void PlaceBeside(QWidget* window, const QWidget* owner, const QRect& keepClear = {});

// Shows `tool` as a tool window of the window `owner` belongs to: the window system keeps it above
// that window only (its transient parent), never above other windows. A modal owner would leave
// the tool deaf to the user: it takes the tool as its child, and gives it back to the parent the
// tool was made with when it hides (taking the tool down with it). A tool that was hidden is
// placed beside the owner, `keepClear` (global, a part of the owner that stays usable) left clear.
void ShowToolWindow(QWidget* tool, QWidget* owner, const QRect& keepClear = {});

// Puts a window at a saved place, fitted with its frame into the available area of the screen
// the place lies on (the primary screen when it lies on none); a maximised place maximises the
// window, the place kept to go back to. The window system tells the size of the frame only once
// the window is shown: the fit is made again then, once. The window then reopens as
// KeepWindowPlace says.
void RestoreWindowPlace(QWidget* window, const TWindowPlace& place);

// Hidden and shown again, the window stands where it stood (a dialog would otherwise be centred
// on its parent again at each showing, with a frame the window system may not have told yet, so
// it creeps by the frame's size). A place the program gives it while hidden still stands.
void KeepWindowPlace(QWidget* window);

} // namespace platform
