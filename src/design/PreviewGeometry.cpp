#include "PreviewGeometry.h"

#include "platform/Rounding.h"

#include <algorithm>

namespace design {

namespace {

constexpr int MinimumSide = 180;

}

QSize PreviewShowSize(QSize screen, QMargins frame, QSize client, int w, int h, int toolbar)
{
    if (w <= 0 || h <= 0)
        return client;
    QSize out = client;
    if (h >= w) {
        out.setHeight(platform::R(screen.height() / 1.5) - frame.top() - frame.bottom());
        out.setWidth(platform::R(static_cast<double>(out.height() - toolbar) * w / h));
    }
    if (w >= h) {
        out.setWidth(platform::R(screen.width() / 1.5) - frame.left() - frame.right());
        out.setHeight(platform::R(static_cast<double>(out.width()) * h / w) + toolbar);
    }
    return out;
}

QSize PreviewResizeSize(QSize client, int w, int h, int toolbar)
{
    if (w <= 0 || h <= 0)
        return client;
    if (h < w) {
        const int width = std::max(client.width(), MinimumSide);
        return {width, platform::R(static_cast<double>(width) * h / w) + toolbar};
    }
    const int inner = std::max(client.height() - toolbar, MinimumSide);
    return {platform::R(static_cast<double>(inner) * w / h), inner + toolbar};
}

namespace {

// A picture larger than `room` takes four fifths of the panel along its longer side.
QRect fitIn(QSize picture, QSize panel, QSize room)
{
    if (picture.isEmpty() || panel.isEmpty())
        return {};
    QSize size = picture;
    if (picture.width() > room.width() || picture.height() > room.height()) {
        if (picture.width() > picture.height()) {
            const int w = platform::R(panel.width() * 4 / 5.0);
            size = {w, platform::R(static_cast<double>(w) * picture.height() / picture.width())};
        } else {
            const int h = platform::R(panel.height() * 4 / 5.0);
            size = {platform::R(static_cast<double>(h) * picture.width() / picture.height()), h};
        }
    }
    return {(panel.width() - size.width()) / 2, (panel.height() - size.height()) / 2, size.width(), size.height()};
}

} // namespace

QRect FitPictureInPanel(QSize picture, QSize panel)
{
    return fitIn(picture, panel, panel);
}

QRect FitThumbnailInPanel(QSize picture, QSize panel)
{
    return fitIn(picture, panel, {platform::R(panel.width() * 4 / 5.0), platform::R(panel.height() * 4 / 5.0)});
}

} // namespace design
