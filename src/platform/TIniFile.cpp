#include "TIniFile.h"

#include "TextCodec.h"
#include "TextFile.h"

#include <QFile>

namespace platform {

namespace {
bool same(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

TIniFile::TIniFile(const QString& fileName) : m_fileName(fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return; // a missing file reads as empty, as the platform's profile functions do
    Section* current = nullptr;
    for (const QString& raw : splitLines(decodeText(f.readAll()))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            current = &sectionFor(line.mid(1, line.size() - 2).trimmed());
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (current == nullptr || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        bool found = false;
        for (Entry& e : current->entries)
            if (same(e.key, key)) {
                found = true; // the first occurrence wins, as the platform reads it
                break;
            }
        if (!found)
            current->entries.push_back({key, line.mid(eq + 1).trimmed()});
    }
}

TIniFile::~TIniFile()
{
    try {
        UpdateFile();
    } catch (...) {
        // A destructor cannot report; callers that care call UpdateFile themselves.
    }
}

const TIniFile::Section* TIniFile::findSection(const QString& name) const
{
    for (const Section& s : m_sections)
        if (same(s.name, name))
            return &s;
    return nullptr;
}

TIniFile::Section& TIniFile::sectionFor(const QString& name)
{
    for (Section& s : m_sections)
        if (same(s.name, name))
            return s;
    m_sections.push_back({name, {}});
    return m_sections.back();
}

const TIniFile::Entry* TIniFile::findEntry(const QString& section, const QString& key) const
{
    const Section* s = findSection(section);
    if (s == nullptr)
        return nullptr;
    for (const Entry& e : s->entries)
        if (same(e.key, key))
            return &e;
    return nullptr;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const Entry* e = findEntry(section, key);
    return e ? e->value : def;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const Entry* e = findEntry(section, key);
    if (e == nullptr)
        return def;
    bool ok;
    const int v = parseIntegerLine(e->value, &ok);
    return ok ? v : def;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    Section& s = sectionFor(section);
    m_dirty = true;
    for (Entry& e : s.entries)
        if (same(e.key, key)) {
            e.value = value;
            return;
        }
    s.entries.push_back({key, value});
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::EraseSection(const QString& section)
{
    for (auto it = m_sections.begin(); it != m_sections.end(); ++it)
        if (same(it->name, section)) {
            m_sections.erase(it);
            m_dirty = true;
            return;
        }
}

void TIniFile::DeleteKey(const QString& section, const QString& key)
{
    for (Section& s : m_sections)
        if (same(s.name, section))
            for (auto it = s.entries.begin(); it != s.entries.end(); ++it)
                if (same(it->key, key)) {
                    s.entries.erase(it);
                    m_dirty = true;
                    return;
                }
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    QStringList keys;
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            keys << e.key;
    return keys;
}

QStringList TIniFile::ReadSections() const
{
    QStringList names;
    for (const Section& s : m_sections)
        names << s.name;
    return names;
}

bool TIniFile::SectionExists(const QString& section) const
{
    return findSection(section) != nullptr;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return findEntry(section, key) != nullptr;
}

QByteArray TIniFile::bytes() const
{
    QString text;
    for (const Section& s : m_sections) {
        text += u'[' + s.name + QStringLiteral("]\r\n");
        for (const Entry& e : s.entries)
            text += e.key + u'=' + e.value + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

void TIniFile::UpdateFile()
{
    if (!m_dirty)
        return;
    writeFileAtomically(m_fileName, bytes());
    m_dirty = false;
}

} // namespace platform
