// Text files of one value per line: reading any bytes line by line, as integers and as strings,
// and writing the lines back.
#include "FuzzSupport.h"

#include "platform/Errors.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

#include <QStringList>

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = decodeText(fuzzsupport::bytesOf(data, size));

    // Every line read as an integer, as the design and family readers do.
    TextFileReader numbers = TextFileReader::fromText(text, QStringLiteral("fuzz.txt"));
    while (!numbers.eof()) {
        const int before = numbers.lineNumber();
        try {
            const int v = numbers.readInteger();
            bool ok = false;
            FUZZ_CHECK(parseIntegerLine(QString::number(v), &ok) == v && ok);
        } catch (const EConvertError&) {
        }
        FUZZ_CHECK(numbers.lineNumber() == before + 1);
    }
    bool threw = false;
    try {
        numbers.readLine();
    } catch (const EInOutError&) {
        threw = true;
    }
    FUZZ_CHECK(threw);

    // The lines as strings, written and read back: one value per line, nothing gained or lost.
    TextFileReader lines = TextFileReader::fromText(text, QStringLiteral("fuzz.txt"));
    QStringList read;
    while (!lines.eof())
        read << lines.readLine();
    FUZZ_CHECK(read == splitLines(text));
    TextFileWriter writer(QStringLiteral("unused"));
    for (const QString& line : read)
        writer.writeLine(line);
    FUZZ_CHECK(splitLines(decodeText(writer.bytes())) == read);

    // A value holding line breaks still takes one line.
    TextFileWriter one(QStringLiteral("unused"));
    one.writeLine(text);
    FUZZ_CHECK(splitLines(decodeText(one.bytes())).size() == 1);
    return 0;
}
