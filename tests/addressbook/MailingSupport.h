#pragma once

// Address books made up for mailing tests: records named by their surname (column 0), with their
// copies and whether they are chosen.
#include "addressbook/MailingLayout.h"
#include "design/DesignModel.h"
#include "platform/TStringGrid.h"

#include <vector>

namespace mailingtest {

struct Record {
    QString name;
    int copies = 1;
    bool chosen = true;
};

inline void fillBook(platform::TStringGrid& grid, const std::vector<Record>& records)
{
    grid.SetColCount(16);
    grid.SetRowCount(static_cast<int>(records.size()) + 1);
    grid.Marques = QList<int>(grid.RowCount(), 0);
    grid.Copies = QList<int>(grid.RowCount(), 1);
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
        grid.SetCell(0, i + 1, records[i].name);
        grid.Copies[i + 1] = records[i].copies;
        grid.Marques[i + 1] = records[i].chosen ? 1 : 0;
    }
}

// A sheet of `columns` x `rows` labels of 60 x 30 mm, margins 10 mm left and 15 mm top, 5 mm gaps.
inline design::TCurrentFormat format(int columns, int rows)
{
    design::TCurrentFormat f;
    f.NomFormat = "Test";
    f.LargeurEtiquette = 6000;
    f.HauteurEtiquette = 3000;
    f.NbColonnes = columns;
    f.NbLignes = rows;
    f.EcartHorizontal = 500;
    f.EcartVertical = 500;
    f.MargeGauche = 1000;
    f.MargeHaut = 1500;
    return f;
}

} // namespace mailingtest
