#include "gui/gui_ui.h"

#include "gui/KESF2THISWEEKNZ.h"

#include <QApplication>
#include <QMessageBox>
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

void GuiUi::messageBox(const QString& text) {
    if (autoAnswer) {
        std::printf("MsgBox: %s\n", text.toUtf8().constData());
        std::fflush(stdout);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void GuiUi::processEvents() {
    if (turnIntervalMs_ > 0 && lastTurn_.isValid() && !lastTurn_.hasExpired(turnIntervalMs_)) return;
    QCoreApplication::processEvents();
    lastTurn_.start();
}

void GuiUi::runModal(TimedDialog& dialog, const QString& owner) {
    KESF2THISWEEKNZ window(dialog, findWindow(owner));
    window.exec();
}

}  // namespace rw::gui
