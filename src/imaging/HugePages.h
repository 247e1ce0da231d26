#pragma once

#include <QImage>
#include <QtGlobal>

// A picture of many MB is written once, page by page, as soon as it is made; with pages of 4 KB
// the kernel's page faults then cost more than decoding it. Such a buffer asks for large pages
// before its first write (Linux; nothing elsewhere, nor for small buffers).
namespace imaging {

void preferHugePages(void* data, qint64 bytes);

inline void preferHugePages(QImage& image)
{
    if (!image.isNull())
        preferHugePages(image.bits(), image.sizeInBytes());
}

} // namespace imaging
