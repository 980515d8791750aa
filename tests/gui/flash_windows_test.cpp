// The flash window's "Ⅲ　速報着順等情報" and the flash-results window it opens.
#include "common/kestrav_path.h"
#include "gui/KESF1THISWEEKNZ.h"
#include "gui/KESHRRIALTIME.h"
#include "gui/KESP2RIALTIME.h"
#include "gui/gui_ui.h"
#include "prediction/runner_record.h"
#include "support/record_builder.h"
#include "support/runner_files.h"
#include "support/scripted_jvlink.h"
#include "support/test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::gui;
using rw::test::ReadStep;
using rwtest::RecordBuilder;

namespace {

const QByteArray kRace = "2024120805040111";

void press(const QString& control) {
    auto* b = qobject_cast<QAbstractButton*>(Ui().findControl(control));
    ASSERT_NE(b, nullptr) << control.toStdString();
    b->click();
}

QString text(const char* control) { return Ui().text(QLatin1String(control)); }

class FlashWindows : public ::testing::Test {
protected:
    void SetUp() override {
        Ui().autoAnswer = true;
        app.write(QStringLiteral("RACE\\202412080511.dat"), rwtest::runnerFile(kRace, 8));
        app.write(QStringLiteral("RATHISWEEKN.dat"), RecordBuilder(rw::jv::Kind::RA).raceKey(kRace));
        app.write(QStringLiteral("RATHISWEEKNNEW.dat"), RecordBuilder(rw::jv::Kind::RA).raceKey(kRace));
        const QByteArray o1 = RecordBuilder(rw::jv::Kind::O1, '1', ' ')
                                  .raceKey(kRace)
                                  .set(rw::jv::odds::WinHorse(0), "04")
                                  .set(rw::jv::odds::WinOdds(0), "0321")
                                  .set(rw::jv::odds::WinPopularity(0), "07");
        jv.link().addRealtime(QStringLiteral("0B30"), QString::fromLatin1(kRace), {ReadStep::rec(o1), ReadStep::code(-1)});
    }
    void TearDown() override {
        for (QWidget* w : {static_cast<QWidget*>(KESHRRIALTIME::instance()), static_cast<QWidget*>(KESP2RIALTIME::instance())})
            if (w) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    rwtest::AppFolder app;
    rw::test::ScriptedJvLinkInstall jv;
    KESF1THISWEEKNZ menu;
};

}  // namespace

TEST_F(FlashWindows, TheResultsWindowLoadsOnceWhileItStaysOpen) {
    press(QStringLiteral("KESF1THISWEEKNZ.Command12"));
    OddsSourceFlag = 0;
    press(QStringLiteral("KESP2RIALTIME.Command2"));
    KESHRRIALTIME* w = KESHRRIALTIME::instance();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("2024.6.29Z"));
    EXPECT_EQ(text("KESHRRIALTIME.Label1"), QString::fromUtf8("速報払戻・単勝･着順取得"));
    EXPECT_EQ(text("KESHRRIALTIME.Command1"), QString::fromUtf8("速報払戻単勝着順所得完了"));
    EXPECT_EQ(text("KESP2RIALTIME.Text1"), QString::fromUtf8("速報払戻等取得及び処理完了"));
    EXPECT_EQ(OddsSourceFlag, 1);
    EXPECT_EQ(jv.link().log.filter(QStringLiteral("JVRTOpen")),
              (QStringList{QStringLiteral("JVRTOpen(0B30,2024120805040111)"), QStringLiteral("JVRTOpen(0B12,20241208)")}));
    EXPECT_EQ(jv.link().count(QStringLiteral("JVInit(DEDERIDU1THISWEEKN/20190729)")), 2);
    const QByteArray runners = app.read(QStringLiteral("RACE\\202412080511.dat"));
    EXPECT_EQ(rwtest::runnerItem(runners, 4, rw::prediction::rr::WinOdds(0)), "0321");
    EXPECT_EQ(jv.created(), 3);  // the menu's, the flash window's and its own JVLink1

    // Open: a further press brings it to the front and fetches nothing.
    const int calls = int(jv.link().log.size());
    press(QStringLiteral("KESP2RIALTIME.Command2"));
    EXPECT_EQ(KESHRRIALTIME::instance(), w);
    EXPECT_EQ(int(jv.link().log.size()), calls);
    EXPECT_EQ(text("KESP2RIALTIME.Text1"), QString::fromUtf8("速報払戻等取得及び処理完了"));

    // Closed with its button: the next press fetches again.
    press(QStringLiteral("KESHRRIALTIME.Command1"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(KESHRRIALTIME::instance(), nullptr);
    press(QStringLiteral("KESP2RIALTIME.Command2"));
    EXPECT_EQ(jv.link().count(QStringLiteral("JVRTOpen(0B12,20241208)")), 2);
}
