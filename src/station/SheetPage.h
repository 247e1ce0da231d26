#pragma once

#include "design/DesignModel.h"

#include <QString>

#include <array>

// The station's sheet page: which label model stands in each cell of one sheet, and the sheet
// format they share. The page window, the print loop, the print dialog's picture and the sheet
// preview all read it.
namespace station {

// The page holds at most this many columns and rows; formats with more are drawn and printed
// with this many.
constexpr int MaxPageCells = 50;

struct TSheetPage {
    // The page's sheet format; while the page is empty it follows the current-model format.
    design::TCurrentFormat FormatPage;
    // The label's size in design pixels when the format was adopted.
    int LabelWidthPx = 0;
    int LabelHeightPx = 0;

    // The model name in a cell, column and row 1-based; empty outside 1..MaxPageCells.
    QString Cell(int column, int row) const;
    // Sets a cell (an empty name empties it), keeping NbCasesRemplies the count of filled cells.
    // A cell outside 1..MaxPageCells is ignored.
    void SetCell(int column, int row, const QString& model);
    void Clear();
    int NbCasesRemplies() const { return m_filled; }
    bool IsEmpty() const { return m_filled == 0; }

private:
    // Planche[column - 1][row - 1]
    std::array<std::array<QString, MaxPageCells>, MaxPageCells> m_planche;
    int m_filled = 0;
};

} // namespace station
