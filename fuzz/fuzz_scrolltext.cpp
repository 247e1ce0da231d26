// Scrolling-text files: any bytes are read or refused without a fault, a line is shown within
// its picture's bounds or refused with the reason, and a list that is read lays each of its
// lines out with a width of at least the line's own, blanks-only lines too.
#include "FuzzSupport.h"

#include "imaging/ScrollText.h"

#include <QFile>
#include <QFontMetrics>

using namespace imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::startGuiApplication();
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    ScrollSettings line;
    // A line that is read names a font of a size a picture can hold.
    if (ImgParseScrollLine(bytes, line))
        FUZZ_CHECK(!line.fontName.isNull() && QFontMetrics(line.font()).height() < 4000);

    static const std::unique_ptr<QTemporaryDir> folder = fuzzsupport::scratchFolder();
    // A line that is read is shown within the picture's bounds, or refused with the reason.
    if (ImgParseScrollLine(bytes, line)) {
        const QString linePath = folder->filePath(QStringLiteral("line.scm"));
        QFile lineFile(linePath);
        if (lineFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            lineFile.write(bytes);
            lineFile.close();
            ScrollText shown;
            if (shown.startLine(linePath, QSize(64, 32)))
                FUZZ_CHECK(shown.textPicture().width() <= kMaxPictureSide
                           && qint64(shown.textPicture().width()) * shown.textPicture().height() <= kMaxScrollPixels);
            else
                FUZZ_CHECK(!shown.refusal().isEmpty());
        }
    }

    ScrollSettings list;
    if (!ImgParseScrollList(bytes, list))
        return 0;
    const QString path = folder->filePath(QStringLiteral("list.cms"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();
    ScrollText text;
    // A list is shown, or refused for the size of its pictures with the reason.
    if (!text.startList(path, QSize(64, 32))) {
        FUZZ_CHECK(!text.refusal().isEmpty());
        return 0;
    }
    const bool firstShown = !list.lines.isEmpty() && !list.lines.first().isEmpty();
    FUZZ_CHECK(text.listMode() == firstShown);
    // Step through a few lines: each one prepared is at least as wide as its text.
    for (int i = 0; i < 200 && text.listMode(); ++i)
        text.listStep(QSize(64, 32));
    if (text.listMode() && !list.lines.value(text.lineIndex()).isEmpty()) {
        const QString shown = ImgScrollListText(list.lines.value(text.lineIndex()));
        FUZZ_CHECK(text.textWidth() >= QFontMetrics(text.settings().font()).horizontalAdvance(shown));
    }
    return 0;
}
