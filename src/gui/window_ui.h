#pragma once
// The screen port of a window of which several may be open at once (a new
// one at every press): the addresses of its own name reach its own
// controls, every other address goes to the program's port. So a press in
// an older window never writes into a newer one of the same name.
#include "common/ui_port.h"

#include <QPointer>
#include <QWidget>

namespace rw::gui {

class WindowUi : public UiPort {
public:
    explicit WindowUi(QWidget* window) : window_(window) {}

    void setText(const QString& control, const QString& text) override;
    QString text(const QString& control) const override;
    void setBackColor(const QString& control, std::uint32_t rgb) override;
    void messageBox(const QString& text) override;
    void setProgress(const QString& control, int value, int maximum) override;
    void processEvents() override;
    void runModal(TimedDialog& dialog, const QString& owner) override;

private:
    // The window's own control for an address of its name, else nullptr.
    QWidget* own(const QString& control) const;
    QPointer<QWidget> window_;
};

}  // namespace rw::gui
