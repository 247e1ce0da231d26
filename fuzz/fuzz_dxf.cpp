// DXF drawings: any bytes, reached through the file information as any file name reaches it,
// are refused with a reason or read into strokes of a bounded picture, quickly and the same every
// time: no line length, entity parameter or stated count makes the reading loop or allocate.
#include "FuzzSupport.h"

#include "imaging/DxfFile.h"
#include "imaging/ImageFiles.h"

#include <QFile>

using namespace imaging;

namespace {

// dxflib's conversions run in frames below the caller's, and a number they leave unset takes
// what the stack held there: read again from a deeper frame, such a number shows as a second
// drawing of the same file.
__attribute__((noinline)) bool readDeeper(const QString& path, DxfDrawing& drawing, QString* why)
{
    volatile char room[4096];
    room[0] = 0;
    const bool read = readDxf(path, drawing, why);
    room[sizeof room - 1] = 1;
    return read;
}

bool sameStrokes(const DxfDrawing& a, const DxfDrawing& b)
{
    if (a.strokes.size() != b.strokes.size())
        return false;
    for (qsizetype i = 0; i < a.strokes.size(); ++i) {
        const QPainterPath& p = a.strokes[i].path;
        const QPainterPath& q = b.strokes[i].path;
        if (a.strokes[i].color != b.strokes[i].color || p.elementCount() != q.elementCount())
            return false;
        for (int e = 0; e < p.elementCount(); ++e)
            if (p.elementAt(e).x != q.elementAt(e).x || p.elementAt(e).y != q.elementAt(e).y)
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::startGuiApplication();
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    static const std::unique_ptr<QTemporaryDir> folder = fuzzsupport::scratchFolder();
    const QString path = folder->filePath(QStringLiteral("drawing.bin"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();

    ImageFileInfo info;
    QString why;
    const bool known = fileInfoOf(path, bytes, info, &why);
    FUZZ_CHECK(known || !why.isEmpty());

    DxfDrawing drawing;
    why.clear();
    if (!readDxf(path, drawing, &why)) {
        FUZZ_CHECK(!why.isEmpty());
        return 0;
    }
    FUZZ_CHECK(!drawing.strokes.isEmpty());
    const QSize side = dxfPixelSize(drawing);
    FUZZ_CHECK(side.width() > 0 && side.height() > 0);
    FUZZ_CHECK(side.width() <= 2048 + 5 && side.height() <= 2048 + 5);
    // The same file gives the same drawing every time (dxflib leaves a number unset for a value
    // line that holds none), so the information states the picture's size.
    DxfDrawing again;
    FUZZ_CHECK(readDeeper(path, again, &why));
    FUZZ_CHECK(sameStrokes(drawing, again));
    if (known && info.format == QLatin1String("DXF"))
        FUZZ_CHECK(info.width == side.width() && info.height == side.height());
    const QImage picture = renderDxf(drawing);
    FUZZ_CHECK(picture.size() == side);
    return 0;
}
