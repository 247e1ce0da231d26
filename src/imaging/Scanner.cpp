#include "imaging/Scanner.h"

#include "imaging/Dib.h"
#include "imaging/ImagingErrors.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <vector>

namespace imaging {

namespace {

// A page beyond this is a device that never stops sending.
constexpr qint64 kMaxPageBytes = 512LL * 1024 * 1024;

ScanSourceChooser& chooser()
{
    static ScanSourceChooser c;
    return c;
}

// SANE is started for each use and ended after it, so that a scanner plugged in between two
// uses is seen, and nothing stays open while the program runs.
class SaneSession {
public:
    SaneSession() { m_status = sane_init(nullptr, nullptr); }
    ~SaneSession()
    {
        if (m_status == SANE_STATUS_GOOD)
            sane_exit();
    }
    SaneSession(const SaneSession&) = delete;
    SaneSession& operator=(const SaneSession&) = delete;
    bool ok() const { return m_status == SANE_STATUS_GOOD; }
    SANE_Status status() const { return m_status; }

private:
    SANE_Status m_status;
};

QString text(SANE_Status status)
{
    return QString::fromUtf8(sane_strstatus(status));
}

bool refuse(QString* why, const QString& message)
{
    if (why != nullptr)
        *why = message;
    return false;
}

} // namespace

QString ScanDevice::label() const
{
    const QString maker = (vendor + QLatin1Char(' ') + model).trimmed();
    return maker.isEmpty() ? name : maker + QStringLiteral(" (") + name + QLatin1Char(')');
}

bool scanDevices(QList<ScanDevice>& devices, QString* why)
{
    devices.clear();
    SaneSession sane;
    if (!sane.ok())
        return refuse(why, QStringLiteral("SANE cannot start: %1").arg(text(sane.status())));
    const SANE_Device** list = nullptr;
    const SANE_Status status = sane_get_devices(&list, SANE_FALSE);
    if (status != SANE_STATUS_GOOD)
        return refuse(why, QStringLiteral("SANE cannot list the scanners: %1").arg(text(status)));
    for (int i = 0; list != nullptr && list[i] != nullptr; ++i)
        devices.append({QString::fromUtf8(list[i]->name), QString::fromUtf8(list[i]->vendor),
                        QString::fromUtf8(list[i]->model), QString::fromUtf8(list[i]->type)});
    return true;
}

void setScanSourceChooser(ScanSourceChooser c)
{
    chooser() = std::move(c);
}

int chooseScanSource(const QList<ScanDevice>& devices)
{
    if (devices.isEmpty())
        return -1;
    if (!chooser())
        return 0;
    return chooser()(devices);
}

namespace {
int& resolution()
{
    static int dpi = 150;
    return dpi;
}

// Sets the device's resolution option, whichever number type it has; a device without one
// scans at its own.
void applyResolution(SANE_Handle handle, int dpi)
{
    SANE_Int count = 0;
    if (sane_control_option(handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
        return;
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle, i);
        if (d == nullptr || d->name == nullptr || qstrcmp(d->name, SANE_NAME_SCAN_RESOLUTION) != 0
            || !SANE_OPTION_IS_SETTABLE(d->cap))
            continue;
        SANE_Word value = d->type == SANE_TYPE_FIXED ? SANE_FIX(dpi) : dpi;
        if (d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED)
            sane_control_option(handle, i, SANE_ACTION_SET_VALUE, &value, nullptr);
        return;
    }
}
} // namespace

void setScanResolution(int dotsPerInch)
{
    resolution() = dotsPerInch;
}

int scanResolution()
{
    return resolution();
}

QString& chosenScanDevice()
{
    static QString device;
    return device;
}

QImage scanPage(const QString& device, int* bits, QString* why,
                const std::function<bool(int)>& progress)
{
    SaneSession sane;
    if (!sane.ok())
        return refuse(why, QStringLiteral("SANE cannot start: %1").arg(text(sane.status()))), QImage();
    SANE_Handle handle = nullptr;
    SANE_Status status = sane_open(device.toUtf8().constData(), &handle);
    if (status != SANE_STATUS_GOOD)
        return refuse(why, QStringLiteral("the scanner %1 cannot be opened: %2")
                               .arg(device, text(status))),
               QImage();
    struct Closer {
        SANE_Handle h;
        ~Closer()
        {
            sane_cancel(h);
            sane_close(h);
        }
    } closer{handle};
    applyResolution(handle, resolution());

    // Frames: one grey or RGB frame, or three single-colour frames one after the other.
    SANE_Parameters params{};
    std::vector<std::vector<uchar>> frames(3);
    bool threePass = false;
    for (;;) {
        status = sane_start(handle);
        if (status != SANE_STATUS_GOOD)
            return refuse(why, QStringLiteral("the scanner does not start: %1").arg(text(status))),
                   QImage();
        status = sane_get_parameters(handle, &params);
        if (status != SANE_STATUS_GOOD || params.bytes_per_line <= 0 || params.pixels_per_line <= 0)
            return refuse(why, QStringLiteral("the scanner gives no page size")), QImage();
        int slot = 0;
        switch (params.format) {
        case SANE_FRAME_RED: slot = 0; threePass = true; break;
        case SANE_FRAME_GREEN: slot = 1; threePass = true; break;
        case SANE_FRAME_BLUE: slot = 2; threePass = true; break;
        default: slot = 0; break;
        }
        std::vector<uchar>& data = frames[size_t(slot)];
        data.clear();
        const qint64 expected = params.lines > 0 ? qint64(params.lines) * params.bytes_per_line : 0;
        uchar buffer[65536];
        for (;;) {
            SANE_Int got = 0;
            status = sane_read(handle, buffer, sizeof buffer, &got);
            if (status == SANE_STATUS_EOF)
                break;
            if (status != SANE_STATUS_GOOD)
                return refuse(why, QStringLiteral("the scan failed: %1").arg(text(status))), QImage();
            data.insert(data.end(), buffer, buffer + got);
            if (qint64(data.size()) > kMaxPageBytes)
                return refuse(why, QStringLiteral("the scanner sends a page without end")), QImage();
            if (progress && expected > 0 && !progress(int(qint64(data.size()) * 100 / expected)))
                return refuse(why, QStringLiteral("the scan was stopped")), QImage();
        }
        if (params.last_frame)
            break;
    }

    const int width = params.pixels_per_line;
    const qint64 stride = params.bytes_per_line;
    const int height = int(qint64(frames[0].size()) / stride);
    if (height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        return refuse(why, QStringLiteral("the scanner sent no picture")), QImage();
    const int depth = params.depth;
    const bool color = threePass || params.format == SANE_FRAME_RGB;
    if (threePass && (frames[1].size() < frames[0].size() || frames[2].size() < frames[0].size()))
        return refuse(why, QStringLiteral("the scanner sent incomplete colour frames")), QImage();
    const int samples = params.format == SANE_FRAME_RGB ? 3 : 1;
    if ((depth != 1 && depth != 8 && depth != 16) || (depth == 1 && color && !threePass)
        || stride < (qint64(width) * samples * depth + 7) / 8)
        return refuse(why, QStringLiteral("the scanner's %1-bit pixels are not supported").arg(depth)),
               QImage();

    // One sample (0..255) of pixel x, channel c, on line y.
    auto sample = [&](int frame, int y, int x, int c) -> int {
        const uchar* line = frames[size_t(frame)].data() + stride * y;
        const int index = x * samples + c;
        if (depth == 8)
            return line[index];
        if (depth == 16)
            return reinterpret_cast<const quint16*>(line)[index] >> 8;
        return ((line[index / 8] >> (7 - index % 8)) & 1) ? 0 : 255; // SANE's 1 is black
    };
    QImage image;
    if (!color && depth == 1) {
        image = QImage(width, height, QImage::Format_Mono);
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        for (int y = 0; y < height && !image.isNull(); ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, sample(0, y, x, 0) != 0 ? 1 : 0);
        if (bits != nullptr)
            *bits = 1;
    } else if (!color) {
        image = QImage(width, height, QImage::Format_Grayscale8);
        for (int y = 0; y < height && !image.isNull(); ++y)
            for (int x = 0; x < width; ++x)
                image.scanLine(y)[x] = uchar(sample(0, y, x, 0));
        if (bits != nullptr)
            *bits = 8;
    } else {
        image = QImage(width, height, QImage::Format_RGB888);
        for (int y = 0; y < height && !image.isNull(); ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    image.scanLine(y)[3 * x + c] =
                        uchar(threePass ? sample(c, y, x, 0) : sample(0, y, x, c));
        if (bits != nullptr)
            *bits = 24;
    }
    if (image.isNull())
        return refuse(why, imagingMessage(msgCantAllocate)), QImage();
    return image;
}

} // namespace imaging
