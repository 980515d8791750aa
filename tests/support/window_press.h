#pragma once
// Window tests press buttons and close windows as a user would. Header only:
// the support library itself has no windows, for the benchmarks' sake.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace rwtest {

// Clicks the button `control` (its object name) of `window`.
inline void press(QWidget* window, const char* control) {
    ASSERT_NE(window, nullptr) << control;
    auto* b = window->findChild<QAbstractButton*>(QLatin1String(control));
    ASSERT_NE(b, nullptr) << control;
    b->click();
}

// Closes a window (none: nothing) and lets it go, as the event loop would.
inline void closeWindow(QWidget* w) {
    if (w) w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace rwtest
