#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// Settings file in the classic "[Section]" / "Key=Value" form. Sections and keys are compared
// without letter case and keep their order; keys may hold spaces and accented letters, stored as
// typed. Writes change the file in memory; UpdateFile (or destruction) writes it all at once,
// so a crash never leaves half a settings file.
namespace platform {

class TIniFile {
public:
    explicit TIniFile(const QString& fileName);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const QString& FileName() const { return m_fileName; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // A missing key or a value that is not a whole number gives the default.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    void EraseSection(const QString& section);
    void DeleteKey(const QString& section, const QString& key);
    QStringList ReadSection(const QString& section) const;
    QStringList ReadSections() const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    // Writes pending changes; throws EInOutError when the file cannot be written.
    void UpdateFile();
    QByteArray bytes() const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    // Entries in file order, found through an index of their case-folded keys: a settings file
    // of many keys or sections reads in time proportional to its size.
    struct Section {
        QString name;
        std::vector<Entry> entries;
        QHash<QString, qsizetype> index;
        qsizetype find(const QString& key) const;
        void reindex();
    };

    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;
    Section& sectionFor(const QString& name);
    const Entry* findEntry(const QString& section, const QString& key) const;
    void reindexSections();

    QString m_fileName;
    std::vector<Section> m_sections;
    QHash<QString, qsizetype> m_sectionIndex;
    bool m_dirty = false;
};

} // namespace platform

using platform::TIniFile;
