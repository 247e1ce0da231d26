#include "FormatFamilies.h"

#include "platform/Errors.h"
#include "platform/TIniFile.h"
#include "platform/TStringGrid.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <exception>

namespace station {

namespace {

const QString LastFormatSection = QStringLiteral("Dernier format");

QString nfc(const QString& s)
{
    return s.normalized(QString::NormalizationForm_C);
}

// Windows-1252 code of a character, characters outside that set after all of it.
int sortCode(QChar c)
{
    const int code = platform::cp1252Code(c);
    return code >= 0 ? code : 0x100 + c.unicode();
}

int compareNames(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int d = sortCode(a[i]) - sortCode(b[i]);
        if (d != 0)
            return d;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

QString describe(std::exception_ptr e)
{
    try {
        std::rethrow_exception(e);
    } catch (const platform::Exception& x) {
        return x.message();
    } catch (const std::exception& x) {
        return QString::fromLocal8Bit(x.what());
    }
    return {};
}

} // namespace

bool IsCustomFamily(const QString& name)
{
    return nfc(name).compare(nfc(CustomFamilyName), Qt::CaseInsensitive) == 0;
}

void MettreFormatParDefaut(platform::TStringGrid& grid, const QString& defaultName)
{
    TLigneFormat::Default(defaultName).ToGrid(grid, 0);
}

void LireFamilleFormats(const QString& path, platform::TStringGrid& grid, const QString& defaultName)
{
    std::vector<QStringList> rows;
    if (QFileInfo::exists(path)) {
        platform::TextFileReader in(path);
        while (!in.eof()) {
            QStringList cells;
            for (int c = 0; c < FormatCellCount; ++c)
                cells << (in.eof() ? QString() : in.readLine());
            rows.push_back(cells);
        }
        // A blank line left at the end of a file is not a format.
        while (!rows.empty()
               && std::all_of(rows.back().cbegin(), rows.back().cend(),
                              [](const QString& s) { return s.isEmpty(); }))
            rows.pop_back();
    }

    grid.SetColCount(FormatCellCount);
    if (rows.empty()) {
        grid.SetRowCount(1);
        MettreFormatParDefaut(grid, defaultName);
        return;
    }
    grid.SetRowCount(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        grid.SetRow(static_cast<int>(r), rows[r]);
    if (grid.RowCount() >= 2)
        TrierGrille(grid, 0, grid.RowCount() - 1, cfName);
}

void EcrireFamilleFormats(const platform::TStringGrid& grid, const QString& path)
{
    platform::TextFileWriter out(path);
    for (int r = 0; r < grid.RowCount(); ++r)
        for (int c = 0; c < grid.ColCount(); ++c)
            out.writeLine(grid.Cell(c, r));
    out.commit();
}

void TrierGrille(platform::TStringGrid& grid, int first, int last, int column)
{
    first = std::max(first, 0);
    last = std::min(last, grid.RowCount() - 1);
    if (first >= last)
        return;
    // Stable: formats of the same name keep their file order, so the index of a remembered
    // format still points at it after the family is written and read again.
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(last - first + 1));
    for (int r = first; r <= last; ++r)
        rows.push_back(grid.Rows(r));
    std::stable_sort(rows.begin(), rows.end(), [column](const QStringList& a, const QStringList& b) {
        return compareNames(a.value(column), b.value(column)) < 0;
    });
    for (int r = first; r <= last; ++r)
        grid.SetRow(r, rows[static_cast<size_t>(r - first)]);
}

int DeleteFormat(platform::TStringGrid& grid, int row, const QString& defaultName)
{
    const int n = grid.RowCount();
    if (n < 2) {
        MettreFormatParDefaut(grid, defaultName);
        return 0;
    }
    if (row < 0 || row >= n)
        return 0;
    for (int r = row; r < n - 1; ++r)
        grid.SetRow(r, grid.Rows(r + 1));
    grid.SetRow(n - 1, QStringList());
    grid.SetRowCount(n - 1);
    return std::min(row, n - 2);
}

std::vector<TFamilyFile> ListFamilies(const QString& folder)
{
    std::vector<TFamilyFile> families;
    const QDir dir(folder);
    // Without QDir::CaseSensitive the pattern also takes "*.FOR", as the files were named on
    // systems that ignore letter case.
    const QFileInfoList infos = dir.entryInfoList({QStringLiteral("*.for")}, QDir::Files);
    for (const QFileInfo& fi : infos) {
        const QString file = fi.fileName();
        families.push_back({file.left(file.indexOf(u'.')), fi.filePath()});
    }
    std::stable_sort(families.begin(), families.end(), [](const TFamilyFile& a, const TFamilyFile& b) {
        const int c = a.Name.compare(b.Name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.Path < b.Path;
    });

    // The exactly spelt custom family wins over one differing only in letter case.
    auto custom = std::find_if(families.begin(), families.end(),
                              [](const TFamilyFile& f) { return nfc(f.Name) == nfc(CustomFamilyName); });
    if (custom == families.end())
        custom = std::find_if(families.begin(), families.end(),
                             [](const TFamilyFile& f) { return IsCustomFamily(f.Name); });
    if (custom == families.end()) {
        families.push_back({CustomFamilyName, dir.filePath(CustomFamilyName + QStringLiteral(".for"))});
    } else {
        const TFamilyFile f = *custom;
        families.erase(custom);
        families.push_back(f);
    }
    return families;
}

TFormatFamilies::TFormatFamilies() = default;
TFormatFamilies::~TFormatFamilies() = default;

QStringList TFormatFamilies::Load(const QString& folder, const QString& defaultName)
{
    return Load(ListFamilies(folder), defaultName);
}

QStringList TFormatFamilies::Load(const std::vector<TFamilyFile>& files, const QString& defaultName)
{
    QStringList errors;
    std::vector<TFamily> families;
    for (const TFamilyFile& f : files) {
        TFamily family;
        family.Name = f.Name;
        family.Path = f.Path;
        family.Grid = std::make_unique<platform::TStringGrid>();
        family.Grid->setObjectName(QStringLiteral("Grille%1").arg(families.size()));
        family.Grid->SetColCount(FormatCellCount);
        try {
            LireFamilleFormats(f.Path, *family.Grid, defaultName);
        } catch (...) {
            errors << describe(std::current_exception());
            family.Loaded = false;
            family.Grid->SetRowCount(1);
            MettreFormatParDefaut(*family.Grid, defaultName);
        }
        families.push_back(std::move(family));
    }
    m_families = std::move(families);
    return errors;
}

QStringList TFormatFamilies::Write() const
{
    QStringList errors;
    for (const TFamily& f : m_families) {
        if (!f.Loaded)
            continue;
        try {
            EcrireFamilleFormats(*f.Grid, f.Path);
        } catch (...) {
            errors << describe(std::current_exception());
        }
    }
    return errors;
}

platform::TStringGrid* TFormatFamilies::Grid(int n) const
{
    if (n < 0 || n >= Count())
        return nullptr;
    return m_families[static_cast<size_t>(n)].Grid.get();
}

TLastFormat ReadLastFormat(const platform::TIniFile& ini)
{
    TLastFormat d;
    d.Family = ini.ReadInteger(LastFormatSection, QStringLiteral("Famille"), 0);
    d.Format = ini.ReadInteger(LastFormatSection, QStringLiteral("Format"), 0);
    return d;
}

void WriteLastFormat(platform::TIniFile& ini, const TLastFormat& last)
{
    ini.EraseSection(LastFormatSection);
    ini.WriteInteger(LastFormatSection, QStringLiteral("Famille"), last.Family);
    ini.WriteInteger(LastFormatSection, QStringLiteral("Format"), last.Format);
}

int ValidIndex(int index, int count)
{
    return index >= 0 && index < count ? index : 0;
}

} // namespace station
