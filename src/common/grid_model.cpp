#include "common/grid_model.h"

#include "common/errors.h"

#include <string>

namespace rw {

namespace {
// A grid bigger than this is a hostile count, not a design.
constexpr long long kMaxCells = 20'000'000;
}  // namespace

GridModel::GridModel() : GridModel(2, 2, 1, 1) {}

GridModel::GridModel(int rows, int cols, int fixedRows, int fixedCols) {
    resize(rows, cols);
    setFixedRows(fixedRows);
    setFixedCols(fixedCols);
    row_ = fixedRows_ < rows_ ? fixedRows_ : 0;
    col_ = fixedCols_ < cols_ ? fixedCols_ : 0;
}

void GridModel::resize(int rows, int cols) {
    if (rows < 0 || cols < 0 || static_cast<long long>(rows) * cols > kMaxCells)
        fail("grid size " + std::to_string(rows) + " x " + std::to_string(cols) + " is invalid");
    if (rows < fixedRows_ || cols < fixedCols_)
        fail("grid size " + std::to_string(rows) + " x " + std::to_string(cols) + " below its fixed rows or columns");
    std::vector<Cell> cells(static_cast<size_t>(rows) * cols);
    for (int r = 0; r < rows && r < rows_; ++r)
        for (int c = 0; c < cols && c < cols_; ++c) cells[static_cast<size_t>(r) * cols + c] = std::move(cell(r, c));
    cells_ = std::move(cells);
    rows_ = rows;
    cols_ = cols;
    colWidths_.resize(cols, -1);
    colAligns_.resize(cols, GridAlign::General);
    rowHeights_.resize(rows, -1);
    if (row_ >= rows_) row_ = rows_ > 0 ? rows_ - 1 : 0;
    if (col_ >= cols_) col_ = cols_ > 0 ? cols_ - 1 : 0;
    ++revision_;
}

void GridModel::setRows(int rows) { resize(rows, cols_); }
void GridModel::setCols(int cols) { resize(rows_, cols); }

void GridModel::setFixedRows(int fixed) {
    if (fixed < 0 || fixed > rows_) fail("fixed rows " + std::to_string(fixed) + " outside the grid");
    fixedRows_ = fixed;
    ++revision_;
}

void GridModel::setFixedCols(int fixed) {
    if (fixed < 0 || fixed > cols_) fail("fixed columns " + std::to_string(fixed) + " outside the grid");
    fixedCols_ = fixed;
    ++revision_;
}

void GridModel::checkRow(int row) const {
    if (row < 0 || row >= rows_)
        fail("grid row " + std::to_string(row) + " outside 0.." + std::to_string(rows_ - 1));
}

void GridModel::checkCol(int col) const {
    if (col < 0 || col >= cols_)
        fail("grid column " + std::to_string(col) + " outside 0.." + std::to_string(cols_ - 1));
}

void GridModel::checkCell(int row, int col) const {
    checkRow(row);
    checkCol(col);
}

const QString& GridModel::text(int row, int col) const {
    checkCell(row, col);
    return cell(row, col).text;
}

void GridModel::setText(int row, int col, const QString& text) {
    checkCell(row, col);
    cell(row, col).text = text;
    ++revision_;
}

GridColor GridModel::back(int row, int col) const {
    checkCell(row, col);
    return cell(row, col).back;
}

void GridModel::setBack(int row, int col, GridColor color) {
    checkCell(row, col);
    cell(row, col).back = color;
    ++revision_;
}

GridColor GridModel::fore(int row, int col) const {
    checkCell(row, col);
    return cell(row, col).fore;
}

void GridModel::setFore(int row, int col, GridColor color) {
    checkCell(row, col);
    cell(row, col).fore = color;
    ++revision_;
}

int GridModel::colWidth(int col) const {
    checkCol(col);
    return colWidths_[col];
}

void GridModel::setColWidth(int col, int twips) {
    checkCol(col);
    colWidths_[col] = twips;
    ++revision_;
}

int GridModel::rowHeight(int row) const {
    checkRow(row);
    return rowHeights_[row];
}

void GridModel::setRowHeight(int row, int twips) {
    checkRow(row);
    rowHeights_[row] = twips;
    ++revision_;
}

GridAlign GridModel::colAlignment(int col) const {
    checkCol(col);
    return colAligns_[col];
}

void GridModel::setColAlignment(int col, GridAlign align) {
    checkCol(col);
    colAligns_[col] = align;
    ++revision_;
}

void GridModel::setCurrent(int row, int col) {
    checkCell(row, col);
    row_ = row;
    col_ = col;
    ++revision_;
}

void GridModel::clear() {
    for (Cell& c : cells_) c = Cell{};
    ++revision_;
}

}  // namespace rw
