#include "gui/gui_ui.h"

#include "gui/KESF2THISWEEKNZ.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <cstdio>
#include <cstdlib>

namespace rw::gui {

GuiUi& Ui() {
    static GuiUi ui;
    return ui;
}

namespace {
std::function<void()>& endHandler() {
    static std::function<void()> h;
    return h;
}
}  // namespace

void SetEndProgramHandler(std::function<void()> handler) { endHandler() = std::move(handler); }

void EndProgram() {
    if (endHandler()) endHandler()();
    // At once: no window, no running task gets to do anything more. Files
    // are written unbuffered, so nothing written so far is lost.
    std::fflush(nullptr);
    std::_Exit(0);
}


void GuiUi::registerWindow(QWidget* window) {
    windows_.removeAll(QPointer<QWidget>());
    windows_.append(window);
}

QWidget* GuiUi::findWindow(const QString& name) const {
    for (auto it = windows_.crbegin(); it != windows_.crend(); ++it)
        if (*it && (*it)->objectName() == name) return *it;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

QWidget* GuiUi::findControl(const QString& control) const {
    const qsizetype dot = control.indexOf(QLatin1Char('.'));
    QWidget* win = findWindow(dot < 0 ? control : control.left(dot));
    if (!win || dot < 0) return win;
    return win->findChild<QWidget*>(control.mid(dot + 1));
}

void GuiUi::setText(const QString& control, const QString& text) {
    QWidget* w = findControl(control);
    if (!w) return;
    if (w->isWindow()) return w->setWindowTitle(text);
    repaints_.change(w, [&] {
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

QString GuiUi::text(const QString& control) const {
    QWidget* w = findControl(control);
    if (!w) return {};
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    return w->windowTitle();
}

void GuiUi::setBackColor(const QString& control, std::uint32_t rgb) {
    QWidget* w = findControl(control);
    if (!w) return;
    // Kept beside the style sheet, so that the driver can print it.
    w->setProperty("backColor", QVariant::fromValue(rgb));
    w->setStyleSheet(QStringLiteral("background-color: #%1;").arg(rgb, 6, 16, QLatin1Char('0')));
}

void GuiUi::messageBox(const QString& text) {
    if (autoAnswer) {
        std::printf("MsgBox: %s\n", text.toUtf8().constData());
        std::fflush(stdout);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void GuiUi::setProgress(const QString& control, int value, int maximum) {
    if (auto* p = qobject_cast<QProgressBar*>(findControl(control))) {
        repaints_.change(p, [&] {
            p->setRange(0, std::max(0, maximum));
            p->setValue(std::clamp(value, 0, std::max(0, maximum)));
        });
    }
}

void GuiUi::processEvents() { QCoreApplication::processEvents(); }

void GuiUi::runModal(TimedDialog& dialog, const QString& owner) {
    KESF2THISWEEKNZ window(dialog, findWindow(owner));
    window.exec();
}

}  // namespace rw::gui
