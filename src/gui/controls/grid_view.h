#pragma once
// The grid control: shows a GridModel (common/grid_model.h) that core code
// fills. Fixed rows and columns stay in view when the rest scrolls and look
// like captions; every cell shows its own text and colours (the standard
// colour is the window colour for normal cells, the button face for fixed
// ones); texts are clipped at the cell's edge, never elided; a normal cell
// shows one line, a fixed cell two lines tall or more wraps its text over
// the lines it holds; the current cell gets a thin frame that leaves its
// colour visible.
// Sizes are twips, turned into pixels at the screen's resolution.
//
// A click on a normal cell makes it current and then emits cellClicked; a
// click on a fixed cell emits cellClicked and leaves the current cell.
// The view paints from the model at every paint; after core code changed
// the model, call refresh() so sizes and scroll ranges follow.
#include "common/grid_model.h"

#include <QAbstractScrollArea>
#include <memory>
#include <vector>

namespace rw::gui {

class GridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Without a model the view holds a fresh one of its own.
    explicit GridView(QWidget* parent = nullptr, GridModel* model = nullptr);
    ~GridView() override;

    // The model shown; not owned (it outlives the view, or setModel is
    // called again first).
    void setModel(GridModel* model);
    GridModel& model() const { return *model_; }

    // Sizes and scroll ranges re-read from the model, then a repaint.
    void refresh();
    // refresh() for every grid of a window, after core code filled its models.
    static void refreshAll(QWidget* window);

    // What a mouse click on cell (row, col) does, also for the window-less
    // driver: the cell is scrolled into view, a normal cell becomes current,
    // cellClicked is emitted. False (and nothing happens) outside the grid.
    bool pressCell(int row, int col);
    // Scrolls so that a normal cell shows beside the fixed ones.
    void scrollToCell(int row, int col);

    // The cell under a point of the viewport, or (-1, -1).
    std::pair<int, int> cellAt(const QPoint& viewportPos) const;
    // The cell's rectangle in viewport coordinates, as painted now.
    QRect cellRect(int row, int col) const;

    // Pixels of a twips size at this screen; the standard sizes of a
    // column and a row when the model says -1.
    int twipsToPixelsX(int twips) const;
    int twipsToPixelsY(int twips) const;
    static constexpr int kStandardColTwips = 960;
    static constexpr int kStandardRowTwips = 255;

signals:
    void cellClicked(int row, int col);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QSize sizeHint() const override;

private:
    void layoutIfChanged() const;
    void updateScrollBars();
    int colWidthPx(int col) const;
    int rowHeightPx(int row) const;
    void paintCell(QPainter& p, int row, int col, const QRect& rect) const;

    std::unique_ptr<GridModel> own_;
    GridModel* model_ = nullptr;
    // Left edges of the columns and top edges of the rows, unscrolled, with
    // one more entry for the far edge.
    mutable std::vector<int> colX_, rowY_;
    mutable std::uint64_t laidOut_ = ~std::uint64_t(0);
    mutable const GridModel* laidOutModel_ = nullptr;
    mutable int laidOutLook_ = 0;
};

}  // namespace rw::gui
