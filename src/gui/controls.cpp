#include "gui/controls.h"

#include "gui/gui_ui.h"

namespace rw::gui {

QPushButton* addButton(QWidget* window, QLayout* layout, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), window);
    b->setObjectName(QLatin1String(name));
    if (layout) layout->addWidget(b);
    return b;
}

QLineEdit* addTextBox(QWidget* window, QLayout* layout, const char* name, const char* initial) {
    auto* e = new QLineEdit(QString::fromUtf8(initial ? initial : name), window);
    e->setObjectName(QLatin1String(name));
    if (layout) layout->addWidget(e);
    return e;
}

void setUpWindow(QWidget* window, const char* name, const QString& caption) {
    window->setObjectName(QLatin1String(name));
    window->setWindowTitle(caption);
    Ui().registerWindow(window);
}

void ShowJvLinkSettings(jv::JvLink& JVLink1) {
    if (JVLink1.JVSetUIProperties() == -1)
        Ui().messageBox(QString::fromUtf8("エラーのためJV-Linkの設定に失敗しました。"));
}

}  // namespace rw::gui
