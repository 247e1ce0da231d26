#pragma once

#include "design/DesignModel.h"

#include <QString>

#include <array>
#include <functional>
#include <type_traits>

// The station's sheet page: which label model stands in each cell of one sheet, and the sheet
// format they share. The page window, the print loop, the print dialog's picture and the sheet
// preview all read it.
namespace station {

// The page holds at most this many columns and rows; formats with more are drawn and printed
// with this many.
constexpr int MaxPageCells = 50;

struct TSheetPage {
    TSheetPage() = default;
    // One page has one listener: a copy would tell it about cells it does not show.
    TSheetPage(const TSheetPage&) = delete;
    TSheetPage& operator=(const TSheetPage&) = delete;

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
    // Empties every cell. A clear is a change even of an empty page: whoever shows the page
    // comes to its empty state.
    void Clear();
    int NbCasesRemplies() const { return m_filled; }
    bool IsEmpty() const { return m_filled == 0; }

    // Told after the cells changed, whoever changed them, so the window that shows the page and
    // its commands follows. A cell set to what it held is no change.
    std::function<void()> Changed;
    // Runs `edit` as one change and answers what it answers: Changed is told once, when the
    // outermost Change ends (also by an exception), and only when a cell changed; the page is
    // never told in a half-done state.
    template <class Edit> auto Change(Edit&& edit) -> decltype(edit())
    {
        using Result = decltype(edit());
        if constexpr (std::is_void_v<Result>) {
            changeOnce(edit);
        } else {
            Result result{};
            changeOnce([&] { result = edit(); });
            return result;
        }
    }

private:
    void changeOnce(const std::function<void()>& edit);
    void changed();
    void tell();
    // Planche[column - 1][row - 1]
    std::array<std::array<QString, MaxPageCells>, MaxPageCells> m_planche;
    int m_filled = 0;
    int m_editing = 0;
    bool m_untold = false;
};

} // namespace station
