#include "gui/controls/chart_view.h"

#include "common/numbers.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace rw::gui {

namespace {

QColor colorOf(std::uint32_t rgb) { return QColor(int(rgb >> 16) & 0xFF, int(rgb >> 8) & 0xFF, int(rgb) & 0xFF); }

// The axis range to draw: the fixed one, or one that takes every value.
std::pair<double, double> rangeOf(const ChartModel& m) {
    if (!m.autoScale()) return {m.axisMinimum(), m.axisMaximum()};
    double lo = 0, hi = 0;
    for (int r = 1; r <= m.rowCount(); ++r)
        for (int s = 1; s <= m.seriesCount(); ++s) {
            lo = std::min(lo, m.value(r, s));
            hi = std::max(hi, m.value(r, s));
        }
    if (hi <= lo) hi = lo + 1;
    return {lo, hi};
}

}  // namespace

ChartView::ChartView(const ChartModel& model, const QString& name, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(name);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void ChartView::paintEvent(QPaintEvent*) {
    const ChartModel& m = model_;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    const auto [lo, hi] = rangeOf(m);
    const int divisions = m.autoScale() ? 5 : m.axisDivisions();

    // Value labels on the left, the legend on the right, row labels below.
    int labelWidth = 0;
    for (int i = 0; i <= divisions; ++i)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(qtext(doubleText(lo + (hi - lo) * i / divisions))));
    int legendWidth = 0;
    for (int s = 1; s <= m.seriesCount(); ++s)
        legendWidth = std::max(legendWidth, fm.horizontalAdvance(m.seriesLabel(s)));
    legendWidth += legendWidth ? 40 : 0;
    const int pad = 8;
    const QRect plot(pad + labelWidth + 6, pad + fm.height() / 2, width() - (3 * pad + labelWidth + 6 + legendWidth),
                     height() - (2 * pad + fm.height() / 2 + fm.height() + 6));
    if (plot.width() < 10 || plot.height() < 10) return;

    auto yOf = [&](double v) { return plot.bottom() - (v - lo) / (hi - lo) * plot.height(); };
    const int rows = m.rowCount();
    auto xOf = [&](int row) { return plot.left() + (row - 0.5) * plot.width() / std::max(rows, 1); };

    // Grid lines and value labels.
    p.setPen(QColor(0xC0, 0xC0, 0xC0));
    for (int i = 0; i <= divisions; ++i) {
        const double v = lo + (hi - lo) * i / divisions;
        const double y = yOf(v);
        p.setPen(QColor(0xC0, 0xC0, 0xC0));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(pad, y - fm.height() / 2.0, labelWidth, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   qtext(doubleText(v)));
    }
    p.setPen(Qt::black);
    p.drawRect(plot);

    // Row labels, thinned where they would overlap.
    int widest = 1;
    for (int r = 1; r <= rows; ++r) widest = std::max(widest, fm.horizontalAdvance(m.rowLabel(r)));
    const int every = std::max(1, int((widest + 4) * rows / std::max(plot.width(), 1)) + 1);
    for (int r = 1; r <= rows; r += every)
        p.drawText(QRectF(xOf(r) - widest, plot.bottom() + 3, 2.0 * widest, fm.height()), Qt::AlignHCenter,
                   m.rowLabel(r));

    // The lines, clipped to the plot.
    p.save();
    p.setClipRect(plot.adjusted(1, 1, 0, 0));
    for (int s = 1; s <= m.seriesCount(); ++s) {
        QPainterPath path;
        for (int r = 1; r <= rows; ++r) {
            const QPointF pt(xOf(r), yOf(m.value(r, s)));
            if (r == 1) path.moveTo(pt);
            else
                path.lineTo(pt);
        }
        p.setPen(QPen(colorOf(m.seriesColor(s)), 2));
        p.drawPath(path);
    }
    p.restore();

    // Legend.
    int y = plot.top();
    for (int s = 1; s <= m.seriesCount(); ++s) {
        const int x = plot.right() + pad;
        p.setPen(QPen(colorOf(m.seriesColor(s)), 3));
        p.drawLine(x, y + fm.height() / 2, x + 24, y + fm.height() / 2);
        p.setPen(Qt::black);
        p.drawText(QRect(x + 30, y, legendWidth, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, m.seriesLabel(s));
        y += fm.height() + 4;
    }
}

}  // namespace rw::gui
