#include "TIniFile.h"

#include "TextCodec.h"
#include "TextFile.h"

#include <QFile>

namespace platform {

namespace {
// Two names are the same when QString::compare without case says so: it folds the case of each
// character (a surrogate pair as one), which this does once so that a hash finds the name.
QString folded(const QString& s)
{
    QString out;
    out.reserve(s.size());
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1].unicode())) {
            const char32_t f = QChar::toCaseFolded(QChar::surrogateToUcs4(c, s[i + 1].unicode()));
            out += QChar(QChar::highSurrogate(f));
            out += QChar(QChar::lowSurrogate(f));
            ++i;
        } else {
            out += QChar(static_cast<char16_t>(QChar::toCaseFolded(char32_t{c})));
        }
    }
    return out;
}
} // namespace

qsizetype TIniFile::Section::find(const QString& key) const
{
    return index.value(folded(key), -1);
}

void TIniFile::Section::reindex()
{
    index.clear();
    for (qsizetype i = 0; i < static_cast<qsizetype>(entries.size()); ++i)
        index.insert(folded(entries[static_cast<size_t>(i)].key), i);
}

void TIniFile::reindexSections()
{
    m_sectionIndex.clear();
    for (qsizetype i = 0; i < static_cast<qsizetype>(m_sections.size()); ++i)
        m_sectionIndex.insert(folded(m_sections[static_cast<size_t>(i)].name), i);
}

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
        const QString id = folded(key);
        if (current->index.contains(id))
            continue; // the first occurrence wins, as the platform reads it
        current->index.insert(id, static_cast<qsizetype>(current->entries.size()));
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

TIniFile::Section* TIniFile::findSection(const QString& name)
{
    const qsizetype i = m_sectionIndex.value(folded(name), -1);
    return i < 0 ? nullptr : &m_sections[static_cast<size_t>(i)];
}

const TIniFile::Section* TIniFile::findSection(const QString& name) const
{
    return const_cast<TIniFile*>(this)->findSection(name);
}

TIniFile::Section& TIniFile::sectionFor(const QString& name)
{
    if (Section* s = findSection(name))
        return *s;
    m_sectionIndex.insert(folded(name), static_cast<qsizetype>(m_sections.size()));
    m_sections.push_back({name, {}, {}});
    return m_sections.back();
}

const TIniFile::Entry* TIniFile::findEntry(const QString& section, const QString& key) const
{
    const Section* s = findSection(section);
    if (s == nullptr)
        return nullptr;
    const qsizetype i = s->find(key);
    return i < 0 ? nullptr : &s->entries[static_cast<size_t>(i)];
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
    const qsizetype i = s.find(key);
    if (i >= 0) {
        s.entries[static_cast<size_t>(i)].value = value;
        return;
    }
    s.index.insert(folded(key), static_cast<qsizetype>(s.entries.size()));
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
    const qsizetype i = m_sectionIndex.value(folded(section), -1);
    if (i < 0)
        return;
    m_sections.erase(m_sections.begin() + i);
    reindexSections();
    m_dirty = true;
}

void TIniFile::DeleteKey(const QString& section, const QString& key)
{
    Section* s = findSection(section);
    if (s == nullptr)
        return;
    const qsizetype i = s->find(key);
    if (i < 0)
        return;
    s->entries.erase(s->entries.begin() + i);
    s->reindex();
    m_dirty = true;
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
