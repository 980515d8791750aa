// Window tests need a QApplication; they run on the offscreen platform unless
// told otherwise.
#include "gui/gui_ui.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A message box is answered at once (and printed), so that a test whose
    // press skips something is not held by the box that says so.
    rw::gui::Ui().autoAnswer = true;
    // Tests click at chosen event turns of a running press: every turn the
    // work asks for is taken.
    rw::gui::Ui().setEventTurnInterval(0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
