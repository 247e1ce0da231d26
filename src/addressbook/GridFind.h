#pragma once

#include <QString>

namespace platform {
class TStringGrid;
}

// Finding a text in the records of a grid, one hit at a time.
namespace addressbook {

// Upper-cases the letters a-z only: find ignores their case and no other.
QString UpperAscii(QString text);

// Where the next search starts; a changed text starts again from the first record.
struct TFindState {
    int ColDepart = 0;
    int LigneDepart = 1;
    QString DernierTexte;
    void Restart()
    {
        ColDepart = 0;
        LigneDepart = 1;
    }
};

struct TFindHit {
    int Col = -1;
    int Row = -1;
    bool Found() const { return Row >= 0; }
};

// The first cell at or after the state's start (row by row, column by column) whose text holds
// `text` (letters a-z without case); the title row is never searched. A hit moves the start
// just past it, wrapping to the first record after the last cell; no hit sends it back to the
// first record.
TFindHit FindNext(const platform::TStringGrid& grid, TFindState& state, const QString& text);

} // namespace addressbook
