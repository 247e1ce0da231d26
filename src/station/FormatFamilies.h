#pragma once

#include "SheetFormat.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace platform {
class TIniFile;
class TStringGrid;
}

// Sheet-format families: one ".for" file per family in the program folder, 11 lines per format,
// read once at start into one grid per family and written back once at exit.
namespace station {

// The one family whose formats the user may create, change and delete. It is told by its name,
// letter case ignored, and always stands last in the family list.
inline const QString CustomFamilyName = QStringLiteral("Formats personnalisés");
bool IsCustomFamily(const QString& name);

// Writes the default row into row 0 of the grid (the row count is left alone).
void MettreFormatParDefaut(platform::TStringGrid& grid, const QString& defaultName);

// Reads a family file into the grid and sorts it by name. A missing file, or one that holds no
// format, leaves the single default row. A record cut short by the end of the file gets empty
// cells; an all-empty record at the end (a stray blank line) is dropped. The grid is changed
// only when the whole file was read: EInOutError leaves it as it was.
void LireFamilleFormats(const QString& path, platform::TStringGrid& grid, const QString& defaultName);

// Writes every row of the grid, 11 lines a row, through a temporary file; EInOutError on failure.
void EcrireFamilleFormats(const platform::TStringGrid& grid, const QString& path);

// Sorts rows first..last ascending by one column, whole rows moved, rows of equal names kept in
// their order. Names are compared character by character on their Windows-1252 codes, as the
// family files were first written (case-sensitive, a prefix first); characters outside that set
// sort after it.
void TrierGrille(platform::TStringGrid& grid, int first, int last, int column);

// Deletes one format of a family. A family never becomes empty: its last format is replaced by
// the default row. Returns the row to select afterwards.
int DeleteFormat(platform::TStringGrid& grid, int row, const QString& defaultName);

// A family file found in the program folder.
struct TFamilyFile {
    QString Name;    // the file name up to its first "."
    QString Path; // the file's real path, read from and written back to
};

// The family files of a folder ("*.for", any letter case), sorted by name without letter case,
// with the custom family last; it is added (with the path it will be written to) when missing.
std::vector<TFamilyFile> ListFamilies(const QString& folder);

struct TFamily {
    QString Name;
    QString Path;
    std::unique_ptr<platform::TStringGrid> Grid;
    // False when the file could not be read: its grid holds the default row only, and the file
    // is never overwritten with it.
    bool Loaded = true;
};

class TFormatFamilies {
public:
    TFormatFamilies();
    ~TFormatFamilies();
    TFormatFamilies(const TFormatFamilies&) = delete;
    TFormatFamilies& operator=(const TFormatFamilies&) = delete;

    // Lists and reads every family of the folder. A file that cannot be read does not stop the
    // others; the returned messages name each one that failed.
    QStringList Load(const QString& folder, const QString& defaultName);
    QStringList Load(const std::vector<TFamilyFile>& files, const QString& defaultName);
    // Writes each family on its own; a failure does not stop the others. Returns one message per
    // family that could not be written (empty when all were).
    QStringList Write() const;

    int Count() const { return static_cast<int>(m_families.size()); }
    const TFamily& Family(int n) const { return m_families.at(static_cast<size_t>(n)); }
    platform::TStringGrid* Grid(int n) const;
    // The editable family: the last one.
    int CustomIndex() const { return Count() - 1; }

private:
    std::vector<TFamily> m_families;
};

// The family and format selected at the last exit: section "Dernier format" of the settings file.
struct TLastFormat {
    int Family = 0;
    int Format = 0;
};
TLastFormat ReadLastFormat(const platform::TIniFile& ini);
// Erases the section, then writes both keys.
void WriteLastFormat(platform::TIniFile& ini, const TLastFormat& last);
// A remembered index that no longer exists falls back to the first entry.
int ValidIndex(int index, int count);

} // namespace station
