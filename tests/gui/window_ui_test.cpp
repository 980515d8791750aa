// A window's own port and the program's port do the same to a control: a
// window of which several may be open reaches its own status boxes, text
// boxes and labels as the program's port reaches any other.
#include "gui/gui_ui.h"
#include "gui/window_ui.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <gtest/gtest.h>

using namespace rw::gui;

TEST(WindowUi, OwnControlsTakeTextsAsTheProgramsPortGivesThem) {
    QWidget window;
    window.setObjectName(QStringLiteral("OwnPortWindow"));
    auto* box = new QLineEdit(&window);
    box->setObjectName(QStringLiteral("Text1"));
    auto* note = new QPlainTextEdit(&window);
    note->setObjectName(QStringLiteral("Text2"));
    auto* label = new QLabel(&window);
    label->setObjectName(QStringLiteral("Label1"));
    Ui().registerWindow(&window);
    WindowUi own(&window);
    const QString longText = QString::fromUtf8("今週の予想の3つの操作を行って下さい。").repeated(6);
    const struct {
        rw::UiPort* port;
        const char* name;
    } ports[] = {{&own, "window's own"}, {&Ui(), "program's"}};
    for (const auto& p : ports) {
        for (const char* control : {"Text1", "Text2", "Label1"}) {
            const QString address = QStringLiteral("OwnPortWindow.") + QLatin1String(control);
            const QString text = longText + QLatin1String(p.name) + QLatin1String(control);
            p.port->setText(address, text);
            EXPECT_EQ(p.port->text(address), text) << p.name << " " << control;
        }
        // A status box shows the start of a long text, whichever port set it.
        EXPECT_EQ(box->cursorPosition(), 0) << p.name;
        EXPECT_EQ(note->toPlainText(), longText + QLatin1String(p.name) + QStringLiteral("Text2")) << p.name;
    }
}
