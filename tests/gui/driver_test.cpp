// The window-less driver and the windows' own behaviour around it.
#include "support/recording_ui.h"
#include "gui/KESF2THISWEEKNZ.h"
#include "jvdata/download_progress.h"
#include "support/driver.h"
#include "support/scripted_jvlink.h"

#include <QFontMetrics>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using rwtest::runPress;

TEST(Driver, PressesThroughTheHandlersAndRejectsUnknownControls) {
    QTemporaryDir dir;
    auto r = runPress(dir.path(), {QStringLiteral("--today"), QStringLiteral("2024-12-06"), QStringLiteral("Command14"),
                                   QStringLiteral("NoSuchControl"), QStringLiteral("Command2")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("unknown control NoSuchControl")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("Browser: https://raceweek.example/blog")));
    EXPECT_EQ(r.line(QStringLiteral("Text1")), QStringLiteral("Text1"));  // the press after the error never ran
    EXPECT_EQ(r.line(QStringLiteral("Text2")), QString::fromUtf8("今週の結果は必ず前に今週の予想の3つの操作を行って下さい。"));
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("MsgBox: ")));  // no package in an empty folder
}

TEST(Driver, ThePictureEndsTheProgramAtOnce) {
    QTemporaryDir dir;
    auto r = runPress(dir.path(), {QStringLiteral("Picture1"), QStringLiteral("Command2")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.line(QStringLiteral("Text1")), QStringLiteral("Text1"));
    EXPECT_FALSE(r.out.contains(QString::fromUtf8("該当するデータがありません。")));
}

TEST(ProgressDialog, EscapeCancelsTheDownload) {
    rwtest::ScriptedJvLink jv;
    jv.statuses = {0, 0, 0};
    rw::RecordingUi ui;
    std::int16_t result = 0;
    rw::jv::DownloadProgress logic(ui, jv, 5, result);
    rw::gui::KESF2THISWEEKNZ dialog(logic, nullptr);
    logic.load();
    dialog.reject();
    EXPECT_EQ(result, -1);
    EXPECT_EQ(jv.count(QStringLiteral("JVCancel")), 1);
    EXPECT_TRUE(logic.isClosed());
}

TEST(Driver, ExpansionWithoutThePackageEndsTheProgram) {
    QTemporaryDir dir;
    auto r = runPress(dir.path(), {QStringLiteral("Command6"), QStringLiteral("Command14")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(QString::fromUtf8("ソフトを終了します。")));
    EXPECT_FALSE(r.out.contains(QStringLiteral("Browser:")));  // nothing ran after the end
}

TEST(ProgressDialog, IsWideEnoughForItsCaption) {
    rwtest::ScriptedJvLink jv;
    rw::RecordingUi ui;
    std::int16_t result = 0;
    rw::jv::DownloadProgress logic(ui, jv, 5, result);
    rw::gui::KESF2THISWEEKNZ dialog(logic, nullptr);
    QFont bold = dialog.font();
    bold.setBold(true);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("KESF2THISWEEKN:ダウンロード 2024.6.29Z"));
    EXPECT_GT(dialog.width(), QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 100);
}
