#pragma once
// What core code needs of the screen: the texts of status boxes and labels,
// label colours, OK-only message boxes, progress bars and a turn of the
// window system's pending events. The windows implement it over widgets;
// tests and the window-less driver record through it.
//
// Controls are named "WINDOW.CONTROL" ("KESF1THISWEEKNZ.Text1").
#include <QString>
#include <cstdint>

namespace rw {

class UiPort {
public:
    virtual ~UiPort() = default;
    virtual void setText(const QString& control, const QString& text) = 0;
    virtual QString text(const QString& control) const = 0;
    // 0xRRGGBB
    virtual void setBackColor(const QString& control, std::uint32_t rgb) = 0;
    // OK only, no title of its own; returns when answered.
    virtual void messageBox(const QString& text) = 0;
    virtual void setProgress(const QString& control, int value, int maximum) = 0;
    virtual void processEvents() = 0;
};

}  // namespace rw
