#pragma once

// The screen's logical resolution, for rulers, pointer positions in millimetres and drawing on a
// device that reports none. Tests inject a value so nothing depends on the display they run on.
namespace platform {

int ScreenPixelsPerInch();
// 0 goes back to asking the screen.
void SetScreenPixelsPerInch(int ppi);

} // namespace platform
