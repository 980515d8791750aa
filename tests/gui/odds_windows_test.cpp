#include "common/kestrav_path.h"
#include "gui/KESF1THISWEEKNZ.h"
#include "gui/KESFOTHISWEEKNZ.h"
#include "gui/KESP2RIALTIME.h"
#include "gui/KESTRAVODDSN.h"
#include "gui/gui_ui.h"
#include "jvdata/odds_tables.h"
#include "support/record_builder.h"
#include "support/scripted_jvlink.h"
#include "support/test_support.h"
#include "support/window_press.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::gui;
using rwtest::ReadStep;

namespace {

using rwtest::press;
using rwtest::closeWindow;

// An O2 record of race `key16` whose entries all have the odds `odds`.
QByteArray quinella(QByteArrayView key16, int runners, const char* odds) {
    using namespace rw::jv;
    rwtest::RecordBuilder rb(Kind::O2, '1', ' ');
    rb.raceKey(key16);
    int i = 0;
    for (int a = 1; a <= runners; ++a)
        for (int b = a + 1; b <= runners; ++b, ++i)
            rb.set(odds::Combination(kO2, i), QByteArray::number(a * 100 + b).rightJustified(4, '0'))
                .set(odds::Odds(kO2, i), odds);
    return rb;
}

QString text(const char* control) { return Ui().text(QLatin1String(control)); }

class OddsWindows : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(app.path()).mkpath(QStringLiteral("KAIME"));
        Ui().autoAnswer = true;
    }
    void TearDown() override {
        closeWindow(KESTRAVODDSN::instance());
        closeWindow(KESFOTHISWEEKNZ::instance());
        closeWindow(KESP2RIALTIME::instance());
    }
    QString table(const char* name) { return app.file(QStringLiteral("KAIME\\") + QLatin1String(name)); }
    QByteArray line(const char* name, int n) { return rwtest::readFile(table(name)).split('\n').value(n - 1); }

    rwtest::AppFolder app;
    rwtest::ScriptedJvLinkInstall jv;
    KESF1THISWEEKNZ menu;
};

}  // namespace

TEST_F(OddsWindows, ControlsCarryTheirCaptions) {
    press(&menu, "Command3");
    press(&menu, "Command12");
    press(&menu, "Command7");
    EXPECT_EQ(KESFOTHISWEEKNZ::instance()->windowTitle(), QString::fromUtf8("今週のオッズ Ver.2024.6.29Z"));
    EXPECT_EQ(KESP2RIALTIME::instance()->windowTitle(), QString::fromUtf8("速報 Ver.2024.7.8"));
    const std::pair<const char*, const char*> captions[] = {
        {"KESFOTHISWEEKNZ.Command1", "設定ＯＤＤＳ"},   {"KESFOTHISWEEKNZ.Command2", "今週のオッズ"},
        {"KESFOTHISWEEKNZ.Command3", "今週の3連単"},    {"KESFOTHISWEEKNZ.Text1", "Text1"},
        {"KESTRAVODDSN.Command1", "オッズセット終了"},  {"KESP2RIALTIME.Command1", "Ⅱ　速報オッズ情報"},
        {"KESP2RIALTIME.Command2", "Ⅲ　速報着順等情報"}, {"KESP2RIALTIME.Command3", "設定ODDS"},
        {"KESP2RIALTIME.Text1", "Text1"},
    };
    for (auto [control, caption] : captions) EXPECT_EQ(text(control), QString::fromUtf8(caption)) << control;
    // Each window that talks to JV-Link has its own JVLink1.
    EXPECT_EQ(jv.created(), 3);
}

TEST_F(OddsWindows, OddsWindowHasOneInstanceAndDownloadsThroughItsDialog) {
    press(&menu, "Command3");
    KESFOTHISWEEKNZ* w = KESFOTHISWEEKNZ::instance();
    press(&menu, "Command3");
    EXPECT_EQ(KESFOTHISWEEKNZ::instance(), w);
    EXPECT_EQ(jv.created(), 2);  // the menu's and the odds window's

    const QByteArray o2 = quinella("2024120705040101", 4, "000123");
    jv.link().opens = {{0, 1, 2}};
    jv.link().reads = {ReadStep::rec(o2), ReadStep::code(0)};
    OddsSourceFlag = 1;
    press(w, "Command2");
    EXPECT_EQ(app.read(QStringLiteral("O2THISWEEKN.dat")), o2);
    EXPECT_EQ(w->Download.OddsDownloadCount, 2);
    EXPECT_EQ(w->Download.OddsDialogResult, 0);
    EXPECT_GE(jv.link().count(QStringLiteral("JVStatus")), 1);  // the dialog polled
    EXPECT_EQ(OddsSourceFlag, 0);
    EXPECT_EQ(text("KESFOTHISWEEKNZ.Text1"), QString::fromUtf8("オッズ取得完了"));

    jv.link().uiResult = -1;
    testing::internal::CaptureStdout();
    press(w, "Command1");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "MsgBox: エラーのためJV-Linkの設定に失敗しました。\n");
}

TEST_F(OddsWindows, APressWhileTheTableWindowIsOpenBuildsNothing) {
    const QByteArray raceA = "2024120705040101", raceB = "2024120705040102";
    app.write(QStringLiteral("O2THISWEEKN.dat"), quinella(raceA, 5, "000045"));
    press(&menu, "Command7");
    EXPECT_EQ(text("KESF1THISWEEKNZ.Text2"), QString::fromUtf8("今週のオッズ処理終了"));
    ASSERT_NE(KESTRAVODDSN::instance(), nullptr);
    EXPECT_EQ(KESTRAVODDSN::instance()->TablesWritten, 1);
    EXPECT_EQ(line("202412070501UMARENODDS.dat", rw::jv::OddsGrids::pairLine(4, 5)), "4.5\r");

    // Open: only brought to the front; no table is built, from either button.
    QFile::remove(table("202412070501UMARENODDS.dat"));
    press(&menu, "Command7");
    app.write(QStringLiteral("O2RIALTIME.dat"), quinella(raceB, 3, "000012"));
    press(&menu, "Command13");
    EXPECT_EQ(OddsSourceFlag, 1);
    EXPECT_EQ(text("KESF1THISWEEKNZ.Text3"), QString::fromUtf8("速報オッズ処理終了"));
    EXPECT_TRUE(QDir(app.file(QStringLiteral("KAIME"))).entryList(QDir::Files).isEmpty());

    // Closed with its button: the next press loads it again, from the flash
    // files now, and the grids still hold race A's odds where B sets nothing.
    press(KESTRAVODDSN::instance(), "Command1");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(KESTRAVODDSN::instance(), nullptr);
    press(&menu, "Command13");
    EXPECT_FALSE(QFile::exists(table("202412070501UMARENODDS.dat")));
    EXPECT_EQ(line("202412070502UMARENODDS.dat", rw::jv::OddsGrids::pairLine(1, 2)), "1.2\r");
    EXPECT_EQ(line("202412070502UMARENODDS.dat", rw::jv::OddsGrids::pairLine(4, 5)), "4.5\r");
}

TEST_F(OddsWindows, FlashWindowFetchesTheFlashOdds) {
    const QByteArray key = "2024120705040101";
    app.write(QStringLiteral("RATHISWEEKNNEW.dat"), rwtest::RecordBuilder(rw::jv::Kind::RA).raceKey(key));
    const QByteArray o2 = quinella(key, 3, "000077");
    jv.link().addRealtime(QStringLiteral("0B30"), QString::fromLatin1(key), {ReadStep::rec(o2), ReadStep::code(-1)});
    press(&menu, "Command12");
    KESP2RIALTIME* w = KESP2RIALTIME::instance();
    press(&menu, "Command12");
    EXPECT_EQ(KESP2RIALTIME::instance(), w);
    OddsSourceFlag = 0;
    press(w, "Command1");
    EXPECT_EQ(app.read(QStringLiteral("O2RIALTIME.dat")), o2);
    EXPECT_EQ(OddsSourceFlag, 1);
    EXPECT_EQ(text("KESP2RIALTIME.Text1"), QString::fromUtf8("速報オッズ取得完了"));
    jv.link().uiResult = -1;
    testing::internal::CaptureStdout();
    press(w, "Command3");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "MsgBox: エラーのためJV-Linkの設定に失敗しました。\n");
}
