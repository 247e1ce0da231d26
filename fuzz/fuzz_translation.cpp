// Translation tables: any text gives a table of whole rows, or an error naming the line.
#include "FuzzSupport.h"

#include "MultiLang/TranslationTable.h"
#include "platform/Errors.h"
#include "platform/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = platform::decodeText(fuzzsupport::bytesOf(data, size));
    try {
        const TranslationTable table = parseTranslationTable(text, QStringLiteral("fuzz.txt"));
        FUZZ_CHECK(table.Languages >= 1);
        FUZZ_CHECK(table.Words.size() % (table.Languages + 1) == 0);
        for (qsizetype row = 0; row < table.Words.size(); row += table.Languages + 1)
            FUZZ_CHECK(!table.Words[row].isEmpty());
    } catch (const platform::EInOutError&) {
    }
    return 0;
}
