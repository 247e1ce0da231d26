#pragma once

#include <QDate>
#include <QString>

namespace platform {
class TIniFile;
}

// Settings of the automatic number "<Autonum>" and of the two date stamps "<Date1>" and
// "<Date2>", as kept in sections [NumAuto] and [Dateurs] of the settings file, and the
// computations made from them. The numbering dialog holds one NumberingSettings; the merge and
// the renderer take a MergeNumbering made from it.
namespace design {

// Which offset a stamp applies.
enum DateOffsetKind { OffsetDays = 1, OffsetMonths = 2, OffsetYears = 3 };

struct DateStampSettings {
    bool Memorise = false;       // remember the reference date and offsets between runs
    QDate DateReference;
    int FormatDate = 0;          // pattern index 0-5
    int OffsetKind = OffsetDays; // 1 days, 2 months, 3 years; any other value: no kind chosen
    int DayOffset = 0;
    int MonthOffset = 0;
    int YearOffset = 0;
};

struct NumberingSettings {
    bool ByRow = false;              // number by the record's row (else by print order)
    int FirstNumber = 1;             // first number of print-order numbering
    bool ContinueOverCopies = false; // kept, not used by the merge
    DateStampSettings Stamps[2];
};

// Reads [NumAuto] and [Dateurs]. A stamp that is not remembered starts from `today` with offset
// kind days and no offsets. A remembered date that cannot be read also falls back to `today`, so a
// damaged settings file never stops the program from starting. A pattern index outside 0-5 reads
// as 0.
NumberingSettings ReadNumberingSettings(const platform::TIniFile& ini, const QDate& today);
// Writes the same keys (sections not erased first); "decal1"/"decal2" only for a kind 1-3.
void WriteNumberingSettings(platform::TIniFile& ini, const NumberingSettings& settings);

// The date a stamp prints, before formatting. Throws EConvertError outside the years 1-9999.
QDate StampDate(const DateStampSettings& stamp);
// The printed text of a stamp: StampDate in the stamp's pattern. Throws EConvertError.
QString CalculerDate(const DateStampSettings& stamp);

// Translation keys of the unit labels beside the day and year offsets: singular for 1 and -1.
QString DayUnitKey(int days);   // "@3" day, "@4" days
QString YearUnitKey(int years); // "@5" year, "@6" years

// What the merge needs of the numbering: the rule, the first number and the printed dates.
struct MergeNumbering {
    bool ByRow = false;
    int FirstNumber = 1;
    QString Date1;
    QString Date2;
};

// The number "<Autonum>" prints for the record at `row`, printed `printIndex`-th (1-based).
// Counted in 64 bits: a start number near the top of its range goes on counting.
long long AutoNumber(const MergeNumbering& numbering, int row, int printIndex);

} // namespace design
