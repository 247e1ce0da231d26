#include "platform/TColor.h"

#include <array>

namespace platform {

namespace {

// The classic scheme, index by index (COLOR_SCROLLBAR .. COLOR_INFOBK), as 0x00BBGGRR.
constexpr std::array<TColor, 25> systemColors = {
    0xC0C0C0, // scroll bar
    0x808000, // desktop
    0x800000, // active caption
    0x808080, // inactive caption
    0xC0C0C0, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC0C0C0, // active border
    0xC0C0C0, // inactive border
    0x808080, // application work space
    0x800000, // highlight
    0xFFFFFF, // highlight text
    0xC0C0C0, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xC0C0C0, // inactive caption text
    0xFFFFFF, // button highlight
    0x000000, // 3D dark shadow
    0xC0C0C0, // 3D light
    0x000000, // tooltip text
    0xE1FFFF, // tooltip background
};

} // namespace

TColor ColorToRGB(TColor color)
{
    if (color < 0) {
        const int index = color & 0xFF;
        return index < static_cast<int>(systemColors.size()) ? systemColors[index] : clBlack;
    }
    return color & 0xFFFFFF;
}

QColor ToQColor(TColor color)
{
    const TColor c = ColorToRGB(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return RGB(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace platform
