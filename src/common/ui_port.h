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

// A modal dialog driven by a timer (the download progress dialog): the
// screen loads it, calls tick() every intervalMs() until it closes itself,
// and calls cancel() when its cancel button is pressed.
class TimedDialog {
public:
    virtual ~TimedDialog() = default;
    virtual QString windowName() const = 0;  // "KESF2THISWEEKNZ"
    virtual int intervalMs() const = 0;
    virtual void load() = 0;
    virtual void tick() = 0;
    virtual void cancel() = 0;
    virtual bool isClosed() const = 0;
};

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
    // Shows the dialog modally over `owner` ("KESF1THISWEEKNZ") and returns
    // when it has closed.
    virtual void runModal(TimedDialog& dialog, const QString& owner) = 0;
};

}  // namespace rw
