#pragma once
// What a screen port does to a control once its address has led to a
// widget: the texts, colours and progress values of every kind of control,
// said once for the program's port and for the ports of single windows. A
// port says only how an address finds its widget and which repaint
// throttle its status controls go through.
#include "common/ui_port.h"

class QWidget;

namespace rw::gui {

class RepaintThrottle;

class WidgetUi : public UiPort {
public:
    void setText(const QString& control, const QString& text) override;
    QString text(const QString& control) const override;
    void setBackColor(const QString& control, std::uint32_t rgb) override;
    void setProgress(const QString& control, int value, int maximum) override;

    // The widget of "WINDOW.CONTROL" (or of "WINDOW"), else nullptr.
    virtual QWidget* findControl(const QString& control) const = 0;
    virtual RepaintThrottle& repaints() = 0;
};

}  // namespace rw::gui
