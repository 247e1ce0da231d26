#pragma once

#include <QImage>

namespace platform {
class TPrinter;
}

namespace addressbook {

// Prints the picture of the record card as one page, at its size on screen: the picture's
// pixels are scaled by the printer's resolution over the screen's, from the page's top-left
// corner. A failure part-way drops the job and passes the error on.
void PrintCardImage(const QImage& card, int screenPixelsPerInch, platform::TPrinter& printer);

} // namespace addressbook
