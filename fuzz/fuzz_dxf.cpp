// DXF drawings: any bytes, reached through the file information as any file name reaches it,
// are refused with a reason or read into strokes of a bounded picture, quickly: no line length
// or entity parameter makes the reading loop.
#include "FuzzSupport.h"

#include "imaging/DxfFile.h"
#include "imaging/ImageFiles.h"

#include <QFile>

using namespace imaging;

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
    // The information and the picture are each checked on their own: dxflib can read a damaged
    // file differently from one time to the next.
    if (known && info.format == QLatin1String("DXF"))
        FUZZ_CHECK(info.width > 0 && info.width <= 2048 + 5 && info.height > 0 && info.height <= 2048 + 5);
    const QImage picture = renderDxf(drawing);
    FUZZ_CHECK(picture.size() == side);
    return 0;
}
