// Settings files: any bytes read, every value looked up, the file written and read back the same.
#include "FuzzSupport.h"

#include "platform/TIniFile.h"
#include "platform/TextFile.h"

#include <QTemporaryDir>

#include <memory>

using namespace platform;

namespace {

QString folder()
{
    static std::unique_ptr<QTemporaryDir> dir = fuzzsupport::scratchFolder();
    return dir->path();
}

struct Snapshot {
    QStringList sections;
    QList<QStringList> keys;
    QList<QStringList> values;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const TIniFile& ini)
{
    Snapshot s;
    s.sections = ini.ReadSections();
    for (const QString& section : s.sections) {
        FUZZ_CHECK(ini.SectionExists(section));
        const QStringList keys = ini.ReadSection(section);
        QStringList values;
        for (const QString& key : keys) {
            FUZZ_CHECK(ini.ValueExists(section, key));
            values << ini.ReadString(section, key, QStringLiteral("<missing>"));
        }
        s.keys << keys;
        s.values << values;
    }
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = folder() + QStringLiteral("/fuzz.ini");
    const QString copy = folder() + QStringLiteral("/copy.ini");
    writeFileAtomically(path, fuzzsupport::bytesOf(data, size));

    TIniFile ini(path);
    const Snapshot read = snapshot(ini);
    // Names are unique without letter case: a second one of a name merges into the first.
    for (qsizetype i = 0; i < read.sections.size(); ++i)
        for (qsizetype j = i + 1; j < read.sections.size(); ++j)
            FUZZ_CHECK(read.sections[i].compare(read.sections[j], Qt::CaseInsensitive) != 0);

    // What is written reads back the same.
    writeFileAtomically(copy, ini.bytes());
    {
        TIniFile again(copy);
        FUZZ_CHECK(snapshot(again) == read);
    }

    // Changes: a new key goes last in its section, a deleted one and an erased section are gone.
    if (!read.sections.isEmpty()) {
        const QString first = read.sections.first();
        ini.WriteString(first, QStringLiteral("fuzz key"), QStringLiteral("v"));
        const QStringList keys = ini.ReadSection(first);
        FUZZ_CHECK(!keys.isEmpty());
        if (keys.size() > read.keys.first().size())
            FUZZ_CHECK(keys.last() == QStringLiteral("fuzz key"));
        ini.DeleteKey(first, QStringLiteral("FUZZ KEY"));
        FUZZ_CHECK(!ini.ValueExists(first, QStringLiteral("fuzz key")));
        ini.EraseSection(first);
        FUZZ_CHECK(ini.ReadSections().size() == read.sections.size() - 1);
    }
    ini.WriteInteger(QStringLiteral("Fuzz"), QStringLiteral("n"), 42);
    FUZZ_CHECK(ini.ReadInteger(QStringLiteral("fuzz"), QStringLiteral("N"), 0) == 42);
    return 0;
}
