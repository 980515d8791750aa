#pragma once
// A grid as the windows' grid controls hold it, without a widget: sizes,
// fixed rows and columns, per-cell text and colours, column widths, row
// heights and alignment in twips, and the current cell. Core code fills
// grids through this; tests read them cell by cell; the grid widget of
// src/gui/controls shows one.
//
// An address outside the grid is a failed statement (StepFailure), never a
// crash and never a silent write.
#include <QString>
#include <cstdint>
#include <vector>

namespace rw {

// A cell or grid colour: either the grid's standard colour (what a fresh
// grid paints: window colour for normal cells, button face for fixed ones)
// or an explicit 0xRRGGBB.
class GridColor {
public:
    constexpr GridColor() = default;
    static constexpr GridColor standard() { return GridColor(); }
    static constexpr GridColor rgb(std::uint32_t rrggbb) { return GridColor(rrggbb & 0xFFFFFFu); }
    constexpr bool isStandard() const { return value_ == kStandard; }
    // 0xRRGGBB; meaningless for the standard colour.
    constexpr std::uint32_t rgb() const { return value_; }
    constexpr bool operator==(const GridColor&) const = default;

private:
    static constexpr std::uint32_t kStandard = 0xFF000000u;
    constexpr explicit GridColor(std::uint32_t v) : value_(v) {}
    std::uint32_t value_ = kStandard;
};

inline constexpr GridColor kGridWhite = GridColor::rgb(0xFFFFFF);

enum class GridAlign : std::uint8_t { LeftTop, LeftCenter, CenterCenter, RightCenter, General };

class GridModel {
public:
    // A fresh grid as the designer places one: 2 × 2 with one fixed row and
    // one fixed column.
    GridModel();
    GridModel(int rows, int cols, int fixedRows = 1, int fixedCols = 1);

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    // Growing keeps every cell; new cells are empty with standard colours.
    // Shrinking drops the cells beyond. A count below the fixed count, or
    // negative, fails.
    void setRows(int rows);
    void setCols(int cols);
    void setFixedRows(int fixed);
    void setFixedCols(int fixed);

    const QString& text(int row, int col) const;
    void setText(int row, int col, const QString& text);
    GridColor back(int row, int col) const;
    void setBack(int row, int col, GridColor color);
    GridColor fore(int row, int col) const;
    void setFore(int row, int col, GridColor color);

    // Twips; -1 (the default) means the control's standard size.
    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);
    GridAlign colAlignment(int col) const;
    void setColAlignment(int col, GridAlign align);

    // The current cell (row, col); a fresh grid's is the first normal cell.
    int row() const { return row_; }
    int col() const { return col_; }
    void setCurrent(int row, int col);
    // The current cell's text.
    const QString& currentText() const { return text(row_, col_); }

    // Every cell's text emptied and colours back to standard; sizes stay.
    void clear();

    // Changes with every write, so a view knows when to repaint.
    std::uint64_t revision() const { return revision_; }

private:
    struct Cell {
        QString text;
        GridColor back;
        GridColor fore;
    };
    void checkCell(int row, int col) const;
    void checkRow(int row) const;
    void checkCol(int col) const;
    void resize(int rows, int cols);
    Cell& cell(int row, int col) { return cells_[static_cast<size_t>(row) * cols_ + col]; }
    const Cell& cell(int row, int col) const { return cells_[static_cast<size_t>(row) * cols_ + col]; }

    int rows_ = 0;
    int cols_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    int row_ = 0;
    int col_ = 0;
    std::vector<Cell> cells_;
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    std::vector<GridAlign> colAligns_;
    std::uint64_t revision_ = 0;
};

}  // namespace rw
