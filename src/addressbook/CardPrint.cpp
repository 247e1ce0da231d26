#include "CardPrint.h"

#include "design/Renderer.h"
#include "platform/TPrinter.h"

#include <algorithm>

namespace addressbook {

void PrintCardImage(const QImage& card, int screenPixelsPerInch, platform::TPrinter& printer)
{
    const int screen = std::max(1, screenPixelsPerInch);
    printer.BeginDoc();
    try {
        const int width = card.width() * printer.PixelsPerInchX() / screen;
        const int height = card.height() * printer.PixelsPerInchY() / screen;
        design::PrintBitmap(card, printer.Canvas(), 0, 0, width, height);
        printer.EndDoc();
    } catch (...) {
        printer.Abort();
        throw;
    }
}

} // namespace addressbook
