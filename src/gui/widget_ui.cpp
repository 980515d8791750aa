#include "gui/widget_ui.h"

#include "gui/repaint_throttle.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <algorithm>

namespace rw::gui {

void WidgetUi::setText(const QString& control, const QString& text) {
    QWidget* w = findControl(control);
    if (!w) return;
    if (w->isWindow()) return w->setWindowTitle(text);
    repaints().change(w, [&] {
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            e->setText(text);
            // A status box shows the start of a long text, not its end.
            e->setCursorPosition(0);
        } else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text);
        else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->setPlainText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(text);
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(text);
    });
}

QString WidgetUi::text(const QString& control) const {
    QWidget* w = findControl(control);
    if (!w) return {};
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    return w->windowTitle();
}

void WidgetUi::setBackColor(const QString& control, std::uint32_t rgb) {
    QWidget* w = findControl(control);
    if (!w) return;
    // Kept beside the style sheet, so that the driver can print it.
    w->setProperty("backColor", QVariant::fromValue(rgb));
    w->setStyleSheet(QStringLiteral("background-color: #%1;").arg(rgb, 6, 16, QLatin1Char('0')));
}

void WidgetUi::setProgress(const QString& control, int value, int maximum) {
    if (auto* p = qobject_cast<QProgressBar*>(findControl(control))) {
        repaints().change(p, [&] {
            p->setRange(0, std::max(0, maximum));
            p->setValue(std::clamp(value, 0, std::max(0, maximum)));
        });
    }
}

}  // namespace rw::gui
