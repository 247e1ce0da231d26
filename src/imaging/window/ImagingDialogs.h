#pragma once

// The imaging layer's dialogs: its messages in the message box, and the choice of the scanner
// among the devices SANE sees. Installed once at start-up.
namespace imaging {

void installImagingDialogs();

} // namespace imaging
