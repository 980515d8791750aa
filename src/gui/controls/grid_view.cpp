#include "gui/controls/grid_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace rw::gui {

namespace {
QColor toColor(GridColor c, const QColor& standard) {
    if (c.isStandard()) return standard;
    const std::uint32_t v = c.rgb();
    return QColor((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

Qt::Alignment toAlignment(GridAlign a) {
    switch (a) {
    case GridAlign::LeftTop: return Qt::AlignLeft | Qt::AlignTop;
    case GridAlign::LeftCenter: return Qt::AlignLeft | Qt::AlignVCenter;
    case GridAlign::CenterCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case GridAlign::RightCenter: return Qt::AlignRight | Qt::AlignVCenter;
    case GridAlign::General: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// The first index whose edge interval [edges[i], edges[i+1]) holds v, among
// [from, to); -1 when none.
int findIndex(const std::vector<int>& edges, int from, int to, int v) {
    if (from >= to || v < edges[from] || v >= edges[to]) return -1;
    auto it = std::upper_bound(edges.begin() + from, edges.begin() + to + 1, v);
    return int(it - edges.begin()) - 1;
}
}  // namespace

GridView::GridView(QWidget* parent, GridModel* model) : QAbstractScrollArea(parent) {
    if (!model) {
        own_ = std::make_unique<GridModel>();
        model = own_.get();
    }
    model_ = model;
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

GridView::~GridView() = default;

void GridView::setModel(GridModel* model) {
    model_ = model ? model : own_.get();
    if (!model_) {
        own_ = std::make_unique<GridModel>();
        model_ = own_.get();
    }
    refresh();
}

int GridView::twipsToPixelsX(int twips) const { return (twips * logicalDpiX() + 720) / 1440; }
int GridView::twipsToPixelsY(int twips) const { return (twips * logicalDpiY() + 720) / 1440; }

int GridView::colWidthPx(int col) const {
    const int tw = model_->colWidth(col);
    return std::max(0, twipsToPixelsX(tw < 0 ? kStandardColTwips : tw));
}

int GridView::rowHeightPx(int row) const {
    const int tw = model_->rowHeight(row);
    if (tw >= 0) return twipsToPixelsY(tw);
    return std::max(twipsToPixelsY(kStandardRowTwips), fontMetrics().height() + 2);
}

void GridView::layoutIfChanged() const {
    // The font and the screen's resolution change sizes as the model does.
    const int look = fontMetrics().height() * 10000 + logicalDpiX();
    if (laidOutModel_ == model_ && laidOut_ == model_->revision() && laidOutLook_ == look &&
        int(colX_.size()) == model_->cols() + 1 && int(rowY_.size()) == model_->rows() + 1)
        return;
    laidOutLook_ = look;
    colX_.assign(size_t(model_->cols()) + 1, 0);
    for (int c = 0; c < model_->cols(); ++c) colX_[c + 1] = colX_[c] + colWidthPx(c);
    rowY_.assign(size_t(model_->rows()) + 1, 0);
    for (int r = 0; r < model_->rows(); ++r) rowY_[r + 1] = rowY_[r] + rowHeightPx(r);
    laidOut_ = model_->revision();
    laidOutModel_ = model_;
}

void GridView::updateScrollBars() {
    layoutIfChanged();
    const int fixedW = colX_[model_->fixedCols()];
    const int fixedH = rowY_[model_->fixedRows()];
    const int scrollW = colX_.back() - fixedW;
    const int scrollH = rowY_.back() - fixedH;
    const QSize vp = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, scrollW - (vp.width() - fixedW)));
    horizontalScrollBar()->setPageStep(std::max(1, vp.width() - fixedW));
    horizontalScrollBar()->setSingleStep(std::max(1, twipsToPixelsX(kStandardColTwips) / 2));
    verticalScrollBar()->setRange(0, std::max(0, scrollH - (vp.height() - fixedH)));
    verticalScrollBar()->setPageStep(std::max(1, vp.height() - fixedH));
    verticalScrollBar()->setSingleStep(std::max(1, rowHeightPx(model_->rows() > 0 ? model_->rows() - 1 : 0)));
}

void GridView::refresh() {
    layoutIfChanged();
    updateScrollBars();
    viewport()->update();
}

void GridView::refreshAll(QWidget* window) {
    for (GridView* g : window->findChildren<GridView*>()) g->refresh();
}

void GridView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

QSize GridView::sizeHint() const {
    layoutIfChanged();
    const int w = std::min(colX_.back(), 800) + 2 * frameWidth() + 20;
    const int h = std::min(rowY_.back(), 500) + 2 * frameWidth() + 20;
    return {w, h};
}

QRect GridView::cellRect(int row, int col) const {
    layoutIfChanged();
    if (row < 0 || row >= model_->rows() || col < 0 || col >= model_->cols()) return {};
    int x = colX_[col], y = rowY_[row];
    if (col >= model_->fixedCols()) x -= horizontalScrollBar()->value();
    if (row >= model_->fixedRows()) y -= verticalScrollBar()->value();
    return QRect(x, y, colX_[col + 1] - colX_[col], rowY_[row + 1] - rowY_[row]);
}

std::pair<int, int> GridView::cellAt(const QPoint& pos) const {
    layoutIfChanged();
    const int fc = model_->fixedCols(), fr = model_->fixedRows();
    int col = findIndex(colX_, 0, fc, pos.x());
    if (col < 0 && pos.x() >= colX_[fc])
        col = findIndex(colX_, fc, model_->cols(), pos.x() + horizontalScrollBar()->value());
    int row = findIndex(rowY_, 0, fr, pos.y());
    if (row < 0 && pos.y() >= rowY_[fr])
        row = findIndex(rowY_, fr, model_->rows(), pos.y() + verticalScrollBar()->value());
    if (row < 0 || col < 0) return {-1, -1};
    return {row, col};
}

void GridView::paintCell(QPainter& p, int row, int col, const QRect& rect) const {
    const bool fixed = row < model_->fixedRows() || col < model_->fixedCols();
    const QPalette& pal = palette();
    p.fillRect(rect, toColor(model_->back(row, col), fixed ? pal.color(QPalette::Button) : pal.color(QPalette::Base)));
    // Grid lines on the right and bottom edges, darker around captions.
    p.setPen(fixed ? pal.color(QPalette::Dark) : pal.color(QPalette::Midlight).darker(115));
    p.drawLine(rect.topRight(), rect.bottomRight());
    p.drawLine(rect.bottomLeft(), rect.bottomRight());
    const QString& text = model_->text(row, col);
    if (!text.isEmpty()) {
        p.setPen(toColor(model_->fore(row, col), fixed ? pal.color(QPalette::ButtonText) : pal.color(QPalette::Text)));
        const QRect inner = rect.adjusted(2, 1, -2, -1);
        p.save();
        p.setClipRect(rect.adjusted(0, 0, -1, -1), Qt::IntersectClip);
        // Normal cells: one line, clipped, never elided. A caption in a cell
        // tall enough for two lines or more wraps over them; when it needs
        // more than the cell holds, its first lines show.
        int flags = int(toAlignment(model_->colAlignment(col))) | Qt::TextSingleLine;
        if (fixed && inner.height() >= 2 * p.fontMetrics().lineSpacing()) {
            flags = (flags & ~int(Qt::TextSingleLine)) | Qt::TextWordWrap;
            if (p.boundingRect(inner, flags, text).height() > inner.height())
                flags = (flags & ~int(Qt::AlignVCenter)) | Qt::AlignTop;
        }
        p.drawText(inner, flags | Qt::TextDontClip, text);
        p.restore();
    }
}

void GridView::paintEvent(QPaintEvent*) {
    layoutIfChanged();
    QPainter p(viewport());
    const QRect vp = viewport()->rect();
    p.fillRect(vp, palette().color(QPalette::Dark).lighter(150));
    const int fr = model_->fixedRows(), fc = model_->fixedCols();
    const int fixedW = colX_[fc], fixedH = rowY_[fr];
    const int sx = horizontalScrollBar()->value(), sy = verticalScrollBar()->value();

    // Visible index ranges of the scrolled rows and columns.
    auto range = [](const std::vector<int>& e, int from, int to, int lo, int hi) {
        // [a, b): the indexes whose interval [e[i], e[i+1]) meets [lo, hi).
        const int a = int(std::upper_bound(e.begin() + from + 1, e.begin() + to + 1, lo) - e.begin()) - 1;
        const int b = int(std::lower_bound(e.begin() + a, e.begin() + to + 1, hi) - e.begin());
        return std::pair<int, int>(a, std::clamp(b, a, to));
    };
    const auto [c0, c1] = range(colX_, fc, model_->cols(), fixedW + sx, sx + vp.width());
    const auto [r0, r1] = range(rowY_, fr, model_->rows(), fixedH + sy, sy + vp.height());

    // Normal cells, then the fixed rows and columns over them, then the corner.
    p.save();
    p.setClipRect(QRect(fixedW, fixedH, vp.width() - fixedW, vp.height() - fixedH));
    for (int r = r0; r < r1; ++r)
        for (int c = c0; c < c1; ++c) paintCell(p, r, c, cellRect(r, c));
    p.restore();
    p.save();
    p.setClipRect(QRect(fixedW, 0, vp.width() - fixedW, fixedH));
    for (int r = 0; r < fr; ++r)
        for (int c = c0; c < c1; ++c) paintCell(p, r, c, cellRect(r, c));
    p.restore();
    p.save();
    p.setClipRect(QRect(0, fixedH, fixedW, vp.height() - fixedH));
    for (int r = r0; r < r1; ++r)
        for (int c = 0; c < fc; ++c) paintCell(p, r, c, cellRect(r, c));
    p.restore();
    for (int r = 0; r < fr; ++r)
        for (int c = 0; c < fc; ++c) paintCell(p, r, c, cellRect(r, c));

    // The current cell: a frame inside its edges, its colour left visible.
    const int cr = model_->row(), cc = model_->col();
    if (cr >= fr && cc >= fc && cr < model_->rows() && cc < model_->cols()) {
        const QRect rect = cellRect(cr, cc);
        p.save();
        p.setClipRect(QRect(fixedW, fixedH, vp.width() - fixedW, vp.height() - fixedH));
        QPen pen(palette().color(QPalette::Text));
        pen.setStyle(hasFocus() ? Qt::SolidLine : Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect.adjusted(0, 0, -2, -2));
        p.restore();
    }
}

void GridView::scrollToCell(int row, int col) {
    updateScrollBars();
    const QSize vp = viewport()->size();
    const int fixedW = colX_[model_->fixedCols()], fixedH = rowY_[model_->fixedRows()];
    if (col >= model_->fixedCols() && col < model_->cols()) {
        const int left = colX_[col] - fixedW, right = colX_[col + 1] - fixedW, room = vp.width() - fixedW;
        QScrollBar* h = horizontalScrollBar();
        if (left < h->value()) h->setValue(left);
        else if (right > h->value() + room)
            h->setValue(std::min(left, right - room));
    }
    if (row >= model_->fixedRows() && row < model_->rows()) {
        const int top = rowY_[row] - fixedH, bottom = rowY_[row + 1] - fixedH, room = vp.height() - fixedH;
        QScrollBar* v = verticalScrollBar();
        if (top < v->value()) v->setValue(top);
        else if (bottom > v->value() + room)
            v->setValue(std::min(top, bottom - room));
    }
}

bool GridView::pressCell(int row, int col) {
    if (row < 0 || row >= model_->rows() || col < 0 || col >= model_->cols()) return false;
    scrollToCell(row, col);
    if (row >= model_->fixedRows() && col >= model_->fixedCols()) model_->setCurrent(row, col);
    viewport()->update();
    emit cellClicked(row, col);
    return true;
}

void GridView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
    const auto [row, col] = cellAt(event->position().toPoint());
    if (row >= 0) pressCell(row, col);
}

}  // namespace rw::gui
