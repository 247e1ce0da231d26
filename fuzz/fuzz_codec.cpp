// The text codec: whatever the bytes, decoding gives text, and the two encodings round-trip.
#include "FuzzSupport.h"

#include "platform/TextCodec.h"

#include <QString>

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);

    // Windows-1252 covers every byte, the five unassigned codes included.
    const QString latin = fromCp1252(bytes);
    FUZZ_CHECK(latin.size() == bytes.size());
    FUZZ_CHECK(toCp1252(latin) == bytes);
    for (const char b : bytes) {
        const auto code = static_cast<unsigned char>(b);
        FUZZ_CHECK(cp1252Code(cp1252Char(code)) == code);
    }

    // Decoding drops one byte-order mark and nothing else: UTF-8 comes back byte for byte, and
    // anything else is Windows-1252.
    const QString text = decodeText(bytes);
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    if (isValidUtf8(body))
        FUZZ_CHECK(text.toUtf8() == body);
    else
        FUZZ_CHECK(text == fromCp1252(body));

    // A text's Windows-1252 form never grows, and characters it lacks become '?'.
    const QByteArray encoded = toCp1252(text);
    FUZZ_CHECK(encoded.size() == text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        if (cp1252Code(text[i]) < 0)
            FUZZ_CHECK(encoded[i] == '?');
        else
            FUZZ_CHECK(cp1252Char(static_cast<unsigned char>(encoded[i])) == text[i]);
    return 0;
}
