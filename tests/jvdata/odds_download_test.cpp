#include "common/kestrav_path.h"
#include "support/recording_ui.h"
#include "jvdata/odds_download.h"
#include "support/odds_records.h"
#include "support/scripted_jvlink.h"
#include "support/test_support.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::jv;
using rwtest::OpenOutcome;
using rwtest::ReadStep;
using rwtest::oddsRecord;

namespace {

const QString kText1 = QStringLiteral("KESFOTHISWEEKNZ.Text1");
const QString kDone = QString::fromUtf8("オッズ取得完了");
const QString kDone6 = QString::fromUtf8("3連単オッズ取得完了");

class OddsDownload : public ::testing::Test {
protected:
    void command2() { run(&DownloadWeekOdds); }
    void command3() { run(&DownloadWeekTrifectaOdds); }
    void run(void (*download)(UiPort&, JvLink&, OddsDownloadState&, SkipLog&)) {
        jv.opens = opens;
        SkipLog log("odds download");
        download(ui, jv, state, log);
        skipped = log.skipped().size();
    }
    QByteArray file(const char16_t* name) { return app.read(QString::fromUtf16(name)); }
    void reset() {
        ui = RecordingUi();
        jv = rwtest::ScriptedJvLink();
    }

    rwtest::AppFolder app;
    RecordingUi ui;
    rwtest::ScriptedJvLink jv;
    std::deque<OpenOutcome> opens{{0, 2, 0}};
    OddsDownloadState state;
    size_t skipped = 0;

    QByteArray o1 = rwtest::RecordBuilder(Kind::O1).raceKey("2024120705040101");
    QByteArray o2 = oddsRecord(Kind::O2, "2024120705040101", 8);
    QByteArray o2b = oddsRecord(Kind::O2, "2024120705040102", 10);
    QByteArray o4 = oddsRecord(Kind::O4, "2024120705040101", 8);
    QByteArray o5 = oddsRecord(Kind::O5, "2024120705040101", 8);
    QByteArray o6 = oddsRecord(Kind::O6, "2024120705040101", 8);
};

}  // namespace

TEST_F(OddsDownload, EachButtonKeepsItsKindsAsLines) {
    app.write(QStringLiteral("O2THISWEEKN.dat"), "last week's line\r\n");
    app.write(QStringLiteral("O6THISWEEKN.dat"), "kept\r\n");
    OddsSourceFlag = 1;
    jv.reads = {ReadStep::rec(o2), ReadStep::rec(o1), ReadStep::code(-1), ReadStep::rec(o4), ReadStep::rec(o6),
                ReadStep::rec(o5), ReadStep::rec(o2b), ReadStep::code(0)};
    command2();
    EXPECT_EQ(OddsSourceFlag, 0);
    EXPECT_EQ(file(kO2WeekFile), o2 + o2b);  // the record's own CR LF ends each line
    EXPECT_EQ(file(kO4WeekFile), o4);
    EXPECT_EQ(file(kO5WeekFile), o5);
    EXPECT_EQ(file(kO6WeekFile), "kept\r\n");
    EXPECT_EQ(jv.log.first(), QStringLiteral("JVInit(DEDERIDU1THISWEEKN/20190729)"));
    EXPECT_EQ(jv.log[1], QStringLiteral("JVOpen(TOKURACETCOVRCOV,00000000000000,2)"));
    EXPECT_EQ(jv.log.last(), QStringLiteral("JVClose"));
    EXPECT_EQ(ui.textLog, QStringList{kText1 + QStringLiteral(": ") + kDone});
    EXPECT_TRUE(ui.modalLog.isEmpty());  // download count 0: no dialog
    EXPECT_EQ(skipped, 0u);

    // Command3 afterwards: the four files all hold this week's lines.
    reset();
    OddsSourceFlag = 1;
    jv.reads = {ReadStep::rec(o2), ReadStep::rec(o6), ReadStep::rec(o6), ReadStep::code(0)};
    command3();
    EXPECT_EQ(OddsSourceFlag, 0);
    EXPECT_EQ(file(kO6WeekFile), o6 + o6);
    EXPECT_EQ(file(kO2WeekFile), o2 + o2b);
    EXPECT_EQ(jv.log.first(), QStringLiteral("JVInit(UNKNOWN)"));
    EXPECT_EQ(ui.text(kText1), kDone6);
}

TEST_F(OddsDownload, DialogOverTheOddsWindowAndCancel) {
    opens = {{0, 2, 3}};
    jv.reads = {ReadStep::rec(o2)};
    command2();
    EXPECT_EQ(ui.modalLog, QStringList{QStringLiteral("KESF2THISWEEKNZ over KESFOTHISWEEKNZ")});
    EXPECT_EQ(state.OddsDialogResult, 0);
    EXPECT_EQ(state.OddsDownloadCount, 3);
    EXPECT_EQ(file(kO2WeekFile), o2);

    app.write(QStringLiteral("O6THISWEEKN.dat"), o6);
    reset();
    opens = {{0, 2, 3}};
    jv.reads = {ReadStep::rec(o6)};
    jv.statuses = {1, 2};
    ui.onModalTick = [](TimedDialog&, int tick) { return tick == 1; };
    command3();
    EXPECT_EQ(state.OddsDialogResult, -1);
    EXPECT_EQ(jv.count(QStringLiteral("JVCancel")), 1);
    EXPECT_EQ(jv.count(QStringLiteral("JVRead")), 0);
    EXPECT_EQ(jv.log.last(), QStringLiteral("JVClose"));
    EXPECT_TRUE(app.exists(QStringLiteral("O6THISWEEKN.dat")));
    EXPECT_TRUE(file(kO6WeekFile).isEmpty());
    EXPECT_EQ(ui.text(kText1), kDone6);
}

TEST_F(OddsDownload, Read403ReopensWhile402EndsTheDownload) {
    opens = {{0, 3, 0}, {0, 1, 0}};
    jv.reads = {ReadStep::rec(o2), ReadStep::code(-403, QStringLiteral("O2A.jvd")), ReadStep::rec(o2b),
                ReadStep::code(0)};
    command2();
    EXPECT_EQ(file(kO2WeekFile), o2 + o2b);
    const qsizetype del = jv.log.indexOf(QStringLiteral("JVFiledelete(O2A.jvd)"));
    ASSERT_GE(del, 0);
    EXPECT_EQ(jv.log.mid(del + 1, 2),
              (QStringList{QStringLiteral("JVClose"), QStringLiteral("JVOpen(TOKURACETCOVRCOV,00000000000000,2)")}));
    EXPECT_TRUE(ui.messages.isEmpty());

    reset();
    opens = {{0, 3, 0}};
    jv.reads = {ReadStep::rec(o2), ReadStep::code(-402, QStringLiteral("O2A.jvd")), ReadStep::rec(o2b)};
    command2();
    EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8("JVReadエラー。 RC=-402")});
    EXPECT_EQ(file(kO2WeekFile), o2);
    EXPECT_EQ(jv.count(QStringLiteral("JVFiledelete(O2A.jvd)")), 0);
    EXPECT_EQ(jv.log.last(), QStringLiteral("JVClose"));
    EXPECT_EQ(ui.text(kText1), kDone);
}

TEST_F(OddsDownload, TheSameFileDamagedAgainEndsAsAReadError) {
    opens = {{0, 3, 0}};
    jv.defaultOpen = {0, 3, 0};
    jv.reads = {ReadStep::rec(o6), ReadStep::code(-403, QStringLiteral("B.jvd")),
                ReadStep::code(-403, QStringLiteral("B.jvd")), ReadStep::rec(o6)};
    command3();
    EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8("JVReadエラー。 RC=-403")});
    EXPECT_EQ(file(kO6WeekFile), o6);
    EXPECT_EQ(jv.count(QStringLiteral("JVFiledelete(B.jvd)")), 1);
}

TEST_F(OddsDownload, EndsEarlyOnOpenErrorNoDataAndOtherReadErrors) {
    struct Case {
        OpenOutcome open;
        std::deque<ReadStep> reads;
        const char* message;
    } cases[] = {
        {{-1, 0, 0}, {}, "JVOpenエラー。RC=-1"},
        {{0, 0, 0}, {}, "該当するデータがありません。"},
        {{0, 1, 0}, {ReadStep::code(-502)}, "JVReadエラー。 RC=-502"},
    };
    for (const Case& c : cases) {
        reset();
        app.write(QStringLiteral("O4THISWEEKN.dat"), o4);
        opens = {c.open};
        jv.reads = c.reads;
        jv.initResult = -201;
        command2();
        EXPECT_EQ(ui.messages, (QStringList{QString::fromUtf8("JVInitエラー。RC=-201"), QString::fromUtf8(c.message)}));
        EXPECT_TRUE(file(kO4WeekFile).isEmpty());
        EXPECT_EQ(jv.log.last(), QStringLiteral("JVClose"));
        EXPECT_EQ(ui.text(kText1), kDone);
    }
}

TEST_F(OddsDownload, ALongerBufferAddsOnlyTheRecord) {
    // A component may leave its buffer longer than the record it reports.
    struct LongBuffer : rwtest::ScriptedJvLink {
        std::int32_t JVRead(QByteArray& b, std::int32_t& s, QString& f) override {
            const std::int32_t r = ScriptedJvLink::JVRead(b, s, f);
            if (r > 0) b += QByteArray(50, '\0');
            return r;
        }
    } longJv;
    longJv.opens = {{0, 1, 0}};
    longJv.reads = {ReadStep::rec(o5)};
    SkipLog log("odds download");
    DownloadWeekOdds(ui, longJv, state, log);
    EXPECT_EQ(file(kO5WeekFile), o5);
}
