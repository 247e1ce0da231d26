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

} // namespace design
