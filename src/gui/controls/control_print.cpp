#include "gui/controls/control_print.h"

#include "gui/controls/chart_view.h"
#include "gui/controls/grid_view.h"
#include "gui/controls/tab_control.h"

#include <QAbstractButton>
#include <QGlyphRun>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextLayout>

namespace rw::gui {

namespace {
QString hexColor(std::uint32_t rgb) {
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}
}  // namespace

std::uint32_t backColorOf(const QWidget* control) {
    const QVariant v = control->property("backColor");
    if (v.isValid()) return v.toUInt();
    return control->palette().color(QPalette::Base).rgb() & 0xFFFFFF;
}

QStringList describeControl(QWidget* control, const QString& name) {
    QStringList lines;
    if (auto* e = qobject_cast<QLineEdit*>(control)) {
        lines << name + QStringLiteral(": ") + e->text() + QLatin1Char('\t') + hexColor(backColorOf(e));
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(control)) {
        lines << name + QStringLiteral(": ") + p->toPlainText() + QLatin1Char('\t') + hexColor(backColorOf(p));
    } else if (auto* l = qobject_cast<QListWidget*>(control)) {
        for (int i = 0; i < l->count(); ++i)
            lines << QStringLiteral("%1(%2): %3").arg(name).arg(i + 1).arg(l->item(i)->text());
        lines << QStringLiteral("%1: selected %2").arg(name).arg(l->currentRow() + 1);
    } else if (auto* g = qobject_cast<GridView*>(control)) {
        const GridModel& m = g->model();
        for (int r = 0; r < m.rows(); ++r)
            for (int c = 0; c < m.cols(); ++c) {
                const QString& text = m.text(r, c);
                const GridColor back = m.back(r, c);
                const bool coloured = !back.isStandard() && back != kGridWhite;
                if (text.isEmpty() && !coloured) continue;
                QString line = QStringLiteral("%1(%2,%3): %4").arg(name).arg(r).arg(c).arg(text);
                if (coloured) line += QLatin1Char('\t') + hexColor(back.rgb());
                lines << line;
            }
    } else if (auto* t = qobject_cast<TabControl*>(control)) {
        for (int i = 0; i < t->count(); ++i)
            lines << QStringLiteral("%1(%2): %3").arg(name).arg(i + 1).arg(t->tabText(i));
        lines << QStringLiteral("%1: front %2").arg(name).arg(t->currentIndex() + 1);
    } else if (auto* chart = qobject_cast<ChartView*>(control)) {
        for (const QString& line : chart->model().describe()) lines << name + QStringLiteral(": ") + line;
    } else if (auto* la = qobject_cast<QLabel*>(control)) {
        lines << name + QStringLiteral(": ") + la->text();
    } else if (auto* b = qobject_cast<QAbstractButton*>(control)) {
        lines << name + QStringLiteral(": ") + b->text();
    } else if (control) {
        lines << name + QStringLiteral(": ") + control->windowTitle();
    }
    return lines;
}

QStringList describeGridColours(QWidget* control, const QString& name) {
    QStringList lines;
    auto* g = qobject_cast<GridView*>(control);
    if (!g) return lines;
    auto colour = [](GridColor c) { return c.isStandard() ? QStringLiteral("standard") : hexColor(c.rgb()); };
    const GridModel& m = g->model();
    for (int r = 0; r < m.rows(); ++r)
        for (int c = 0; c < m.cols(); ++c) {
            const GridColor back = m.back(r, c), fore = m.fore(r, c);
            if (m.text(r, c).isEmpty() && back.isStandard() && fore.isStandard()) continue;
            lines << QStringLiteral("%1(%2,%3): %4\tback %5\tfore %6")
                         .arg(name)
                         .arg(r)
                         .arg(c)
                         .arg(m.text(r, c), colour(back), colour(fore));
        }
    return lines;
}

bool drawsMissingGlyph(const QFont& font, const QString& text) {
    QString checked = text;
    checked.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    checked.replace(QLatin1Char('\t'), QLatin1Char(' '));
    if (checked.trimmed().isEmpty()) return false;
    QTextLayout layout(checked, font);
    layout.beginLayout();
    while (layout.createLine().isValid()) {}
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns())
        for (quint32 glyph : run.glyphIndexes())
            if (glyph == 0) return true;
    return false;
}

QStringList describeLayout(QWidget* control, const QString& name) {
    auto* g = qobject_cast<GridView*>(control);
    if (!g) return {};
    const GridModel& m = g->model();
    QStringList widths;
    for (int c = 0; c < m.cols(); ++c) widths << QString::number(m.colWidth(c));
    return {QStringLiteral("%1: rows %2, cols %3, fixed rows %4, fixed cols %5, widths %6")
                .arg(name)
                .arg(m.rows())
                .arg(m.cols())
                .arg(m.fixedRows())
                .arg(m.fixedCols())
                .arg(widths.join(QLatin1Char(' ')))};
}

QList<ShownText> shownTexts(QWidget* window) {
    QList<ShownText> out;
    const QString wname = window->objectName();
    out.append({wname, window->windowTitle(), window->font()});
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() && !qobject_cast<TabControl*>(w->parentWidget())) continue;
        const QString at = wname + QLatin1Char('.') + w->objectName();
        if (auto* e = qobject_cast<QLineEdit*>(w)) out.append({at, e->text(), e->font()});
        else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
            out.append({at, p->toPlainText(), p->font()});
        else if (auto* chart = qobject_cast<ChartView*>(w)) {
            const ChartModel& m = chart->model();
            for (int i = 1; i <= m.seriesCount(); ++i)
                out.append({QStringLiteral("%1(series %2)").arg(at).arg(i), m.seriesLabel(i), chart->font()});
            for (int i = 1; i <= m.rowCount(); ++i)
                out.append({QStringLiteral("%1(row %2)").arg(at).arg(i), m.rowLabel(i), chart->font()});
        } else if (auto* la = qobject_cast<QLabel*>(w))
            out.append({at, la->text(), la->font()});
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            out.append({at, b->text(), b->font()});
        else if (auto* l = qobject_cast<QListWidget*>(w)) {
            for (int i = 0; i < l->count(); ++i)
                out.append({QStringLiteral("%1(%2)").arg(at).arg(i + 1), l->item(i)->text(), l->font()});
        } else if (auto* g = qobject_cast<GridView*>(w)) {
            const GridModel& m = g->model();
            for (int r = 0; r < m.rows(); ++r)
                for (int c = 0; c < m.cols(); ++c)
                    if (!m.text(r, c).isEmpty())
                        out.append({QStringLiteral("%1(%2,%3)").arg(at).arg(r).arg(c), m.text(r, c), g->font()});
        }
    }
    return out;
}

}  // namespace rw::gui
