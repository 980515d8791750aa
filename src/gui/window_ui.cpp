#include "gui/window_ui.h"

#include "gui/gui_ui.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <algorithm>

namespace rw::gui {

QWidget* WindowUi::own(const QString& control) const {
    if (!window_) return nullptr;
    const QString prefix = window_->objectName() + QLatin1Char('.');
    if (!control.startsWith(prefix)) return nullptr;
    return window_->findChild<QWidget*>(control.mid(prefix.size()));
}

void WindowUi::setText(const QString& control, const QString& text) {
    QWidget* w = own(control);
    if (!w) return Ui().setText(control, text);
    Ui().repaints().change(w, [&] {
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
        else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text);
    });
}

QString WindowUi::text(const QString& control) const {
    QWidget* w = own(control);
    if (!w) return Ui().text(control);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    return {};
}

void WindowUi::setBackColor(const QString& control, std::uint32_t rgb) {
    QWidget* w = own(control);
    if (!w) return Ui().setBackColor(control, rgb);
    w->setProperty("backColor", QVariant::fromValue(rgb));
    w->setStyleSheet(QStringLiteral("background-color: #%1;").arg(rgb, 6, 16, QLatin1Char('0')));
}

void WindowUi::messageBox(const QString& text) { Ui().messageBox(text); }

void WindowUi::setProgress(const QString& control, int value, int maximum) {
    QWidget* w = own(control);
    if (!w) return Ui().setProgress(control, value, maximum);
    if (auto* p = qobject_cast<QProgressBar*>(w)) {
        Ui().repaints().change(p, [&] {
            p->setRange(0, std::max(0, maximum));
            p->setValue(std::clamp(value, 0, std::max(0, maximum)));
        });
    }
}

void WindowUi::processEvents() { Ui().processEvents(); }
void WindowUi::runModal(TimedDialog& dialog, const QString& owner) { Ui().runModal(dialog, owner); }

}  // namespace rw::gui
