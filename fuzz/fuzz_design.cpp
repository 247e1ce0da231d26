// Design files of every version: any bytes opened as a design and pasted into it, then the
// design written out and read back.
#include "FuzzSupport.h"

#include "design/DesignFileFormat.h"
#include "design/DesignHeader.h"
#include "design/DesignModel.h"
#include "platform/Errors.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

using namespace design;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = platform::decodeText(fuzzsupport::bytesOf(data, size));
    try {
        platform::TextFileReader header = platform::TextFileReader::fromText(text, QStringLiteral("fuzz.car"));
        ReadDesignHeader(header);
    } catch (const platform::Exception&) {
    }
    TCurrentFormat format;
    TDesignModel model(format);
    try {
        platform::TextFileReader reader = platform::TextFileReader::fromText(text, QStringLiteral("fuzz.car"));
        LoadDesignFrom(model, reader, false);
    } catch (const platform::Exception&) {
        // the objects read before the error stay
    }
    try {
        platform::TextFileReader reader = platform::TextFileReader::fromText(text, QStringLiteral("fuzz.car"));
        model.NbCollages = 1;
        LoadDesignFrom(model, reader, true);
    } catch (const platform::Exception&) {
    }

    // What the program writes it reads back whole.
    const QByteArray written = DesignFileBytes(model, TDesignScope::WholeDesign);
    TCurrentFormat format2;
    TDesignModel again(format2);
    platform::TextFileReader reader = platform::TextFileReader::fromText(platform::decodeText(written), QStringLiteral("again.car"));
    try {
        LoadDesignFrom(again, reader, false);
    } catch (const platform::Exception&) {
        fuzzsupport::fail("a design written by the program does not read back");
    }
    FUZZ_CHECK(again.Objects().size() == model.Objects().size());
    return 0;
}
