// Annotation files: any bytes are read or refused with a reason, and what is read is written
// back and read again unchanged.
#include "FuzzSupport.h"

#include "imaging/Annotations.h"

using namespace imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    for (int page : {0, 1}) {
        QList<Annotation> items;
        QString why;
        if (!ParseAnnotations(bytes, page, items, &why)) {
            FUZZ_CHECK(!why.isEmpty());
            continue;
        }
        const QByteArray written = FormatAnnotations(bytes, page, items);
        QList<Annotation> again;
        FUZZ_CHECK(ParseAnnotations(written, page, again));
        FUZZ_CHECK(again.size() == items.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            FUZZ_CHECK(again[i].kind == items[i].kind && again[i].rect == items[i].rect);
            FUZZ_CHECK(again[i].color == items[i].color);
        }
    }
    return 0;
}
