// The menu's "②　構造・中止処理" with Option1 chosen, and the cancellation
// window it opens after structure processing.
#include "common/kestrav_path.h"
#include "common/shell.h"
#include "gui/CHUSIRIALTIME.h"
#include "gui/KESF1THISWEEKNZ.h"
#include "gui/gui_ui.h"
#include "jvdata/records.h"
#include "support/record_builder.h"
#include "support/scripted_jvlink.h"
#include "support/test_support.h"
#include "support/window_press.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::gui;
using rw::test::ReadStep;
using rwtest::RecordBuilder;

namespace {

using rwtest::press;

QList<QWidget*> windows(const char* name) {
    QList<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible()) out.append(w);
    return out;
}

class CancellationWindow : public ::testing::Test {
protected:
    void SetUp() override {
        Ui().autoAnswer = true;
        app.write(QStringLiteral("OPTION1N\\KYOSOBA.dat"), "x");
        const QByteArray keyA = "2024120705040101", keyB = "2024120705040102";
        using namespace rw::jv;
        app.write(QStringLiteral("RATHISWEEKN.dat"), RecordBuilder(Kind::RA).raceKey(keyA).bytes() + RecordBuilder(Kind::RA).raceKey(keyB).bytes());
        QByteArray entries;
        for (const QByteArray& key : {keyA, keyB})
            for (const char* h : {"01", "02"})
                entries += RecordBuilder(Kind::SE).raceKey(key).set(se::HorseNumber, h).set(se::RegistrationNumber, QByteArray("20191000") + h);
        app.write(QStringLiteral("SETHISWEEKN.dat"), entries);
        app.write(QStringLiteral("UMTHISWEEKN.dat"), RecordBuilder(Kind::UM).set(um::RegistrationNumber, "2019100001").bytes() +
                                                         RecordBuilder(Kind::UM).set(um::RegistrationNumber, "2019100002").bytes());
        jv.link().addRealtime(QStringLiteral("0B12"), QStringLiteral("20241207"),
                              {ReadStep::rec(RecordBuilder(Kind::RA, '9').raceKey(keyB)), ReadStep::code(-203)});
    }
    void TearDown() override {
        for (const char* name : {"CHUSIRIALTIME", "KOUZOUTAIZ"})
            for (QWidget* w : windows(name)) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    rwtest::AppFolder app;
    rw::test::ScriptedJvLinkInstall jv;
    KESF1THISWEEKNZ menu;
};

}  // namespace

TEST_F(CancellationWindow, OpensAfterStructureProcessingOnlyWithTheOption) {
    press(&menu, "Command4");
    EXPECT_EQ(menu.ZansaFlag, 1);
    EXPECT_EQ(windows("KOUZOUTAIZ").size(), 1);
    EXPECT_TRUE(windows("CHUSIRIALTIME").isEmpty());
    EXPECT_TRUE(jv.link().log.isEmpty());

    menu.setOption1(true);
    press(&menu, "Command4");
    EXPECT_EQ(menu.ZansaFlag, 0);
    EXPECT_EQ(windows("KOUZOUTAIZ").size(), 2);
    ASSERT_EQ(windows("CHUSIRIALTIME").size(), 1);
    QWidget* w = windows("CHUSIRIALTIME")[0];
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("中止処理 Ver.2024.6.29Z"));
    EXPECT_EQ(Ui().text(QStringLiteral("CHUSIRIALTIME.Command1")), QString::fromUtf8("触れないで"));
    EXPECT_EQ(Ui().text(QStringLiteral("CHUSIRIALTIME.Text1")),
              QString::fromUtf8("中止処理終了コマンドボタンはソフトを完全に終了する時まではクリックしないで下さい。"));
    EXPECT_EQ(jv.link().log.filter(QStringLiteral("JVRTOpen")), QStringList{QStringLiteral("JVRTOpen(0B12,20241207)")});
    EXPECT_EQ(app.read(QStringLiteral("RATHISWEEKNNEW.dat")).size(), 1272) << "the cancelled race is gone";
    EXPECT_EQ(jv.created(), 2);  // the menu's and the cancellation window's own JVLink1

    press(w, "Command1");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(windows("CHUSIRIALTIME").isEmpty());
}

TEST_F(CancellationWindow, AClickWhileTheStoreIsRewrittenIsIgnored) {
    menu.setOption1(true);
    press(&menu, "Command4");
    ASSERT_EQ(windows("CHUSIRIALTIME").size(), 1);
    QWidget* first = windows("CHUSIRIALTIME")[0];
    // The next run's event turns let the user click the open window's
    // button: here once the new cancellation window is loading.
    int clicks = 0;
    std::function<void()> watch = [&] {
        if (Ui().findWindow(QStringLiteral("CHUSIRIALTIME")) == first) {
            QTimer::singleShot(0, first, watch);
            return;
        }
        ++clicks;
        press(first, "Command1");
    };
    QTimer::singleShot(0, first, watch);
    press(&menu, "Command4");
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(windows("CHUSIRIALTIME").size(), 2);
    press(first, "Command1");  // afterwards it closes
    EXPECT_FALSE(first->isVisible());
}

TEST_F(CancellationWindow, APressIgnoredAsBusyStartsNoCancellation) {
    menu.setOption1(true);
    int inner = 0;
    QString said;
    QTimer::singleShot(0, &menu, [&] {
        ++inner;
        press(&menu, "Command4");
        said = Ui().text(QStringLiteral("KESF1THISWEEKNZ.Text4"));
    });
    press(&menu, "Command4");
    EXPECT_EQ(inner, 1);
    // The refused press says so in ②'s status box on the menu.
    EXPECT_TRUE(said.startsWith(QStringLiteral("他の処理の実行中"))) << said.toStdString();
    EXPECT_EQ(windows("KOUZOUTAIZ").size(), 1);
    EXPECT_EQ(windows("CHUSIRIALTIME").size(), 1);
    EXPECT_EQ(jv.link().count(QStringLiteral("JVRTOpen(0B12,20241207)")), 1);
}
