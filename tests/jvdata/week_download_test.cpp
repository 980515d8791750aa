#include "common/kestrav_path.h"
#include "common/shell.h"
#include "common/file_ops.h"
#include "common/record_file.h"
#include "common/errors.h"
#include "support/recording_ui.h"
#include "jvdata/week_download.h"
#include "support/record_builder.h"
#include "support/scripted_jvlink.h"
#include "support/test_support.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::jv;
using rwtest::OpenOutcome;
using rwtest::ReadStep;
using rwtest::RecordBuilder;

namespace {

const QString kStart = QString::fromUtf8("今週開催取得開始しました。しばらくお待ち下さい。。。。。");
const QString kEnd = QString::fromUtf8("今週開催取得終了");

class WeekDownload : public ::testing::Test {
protected:
    void SetUp() override {
        app.write(QStringLiteral("OPTION1N\\STALLION.dat"), "x");
        shellWas = SetShellHandlers({[this](const QString& p) { started << p; return false; }, nullptr});
    }
    void TearDown() override {
        SetShellHandlers(shellWas);
        SetRemoveFileHook(nullptr);
    }
    void run() {
        jv.opens = opens;
        SkipLog log("download");
        DownloadThisWeek(ui, jv, state, log);
        skipped = log.skipped().size();
    }
    QList<QByteArray> stored(const char16_t* name, Kind k) {
        return RecordFile::readAll(AppFile(name), imageLength(k));
    }
    bool weekFileExists(const char16_t* name) { return QFile::exists(AppFile(name)); }

    rwtest::AppFolder app;
    RecordingUi ui;
    rwtest::ScriptedJvLink jv;
    std::deque<OpenOutcome> opens{{0, 2, 0}};
    DownloadState state;
    QStringList started;
    ShellHandlers shellWas;
    size_t skipped = 0;

    QByteArray ra1 = RecordBuilder(Kind::RA).raceKey("2024120705040101");
    QByteArray ra2 = RecordBuilder(Kind::RA).raceKey("2024120705040102");
    QByteArray se1 = RecordBuilder(Kind::SE).raceKey("2024120705040101");
    QByteArray um = RecordBuilder(Kind::UM, '1');
    QByteArray um9 = RecordBuilder(Kind::UM, '9');
    QByteArray ks = RecordBuilder(Kind::KS, '1');
    QByteArray hr = RecordBuilder(Kind::HR, '2');
};

}  // namespace

TEST_F(WeekDownload, StoresEachKindInItsFileAndDropsTheRest) {
    jv.reads = {ReadStep::rec(ra1), ReadStep::rec(se1), ReadStep::code(-1), ReadStep::rec(um),
                ReadStep::rec(um9), ReadStep::rec("TK1some other kind\r\n"), ReadStep::rec(ks),
                ReadStep::rec(hr), ReadStep::rec(ra2), ReadStep::code(0)};
    run();
    EXPECT_EQ(stored(u"RATHISWEEKN.dat", Kind::RA), (QList<QByteArray>{ra1, ra2}));
    EXPECT_EQ(stored(u"SETHISWEEKN.dat", Kind::SE), QList<QByteArray>{se1});
    EXPECT_EQ(stored(u"UMTHISWEEKN.dat", Kind::UM), QList<QByteArray>{um});  // data kind 9 dropped
    EXPECT_EQ(stored(u"KSTHISWEEKN.dat", Kind::KS), QList<QByteArray>{RecordBuilder(Kind::KS, '1').image()});
    EXPECT_EQ(stored(u"HRTHISWEEKN.dat", Kind::HR), QList<QByteArray>{hr});
    EXPECT_TRUE(ui.modalLog.isEmpty());  // download count 0: no dialog
    EXPECT_EQ(ui.textLog, (QStringList{QStringLiteral("KESF1THISWEEKNZ.Text1: ") + kStart,
                                       QStringLiteral("KESF1THISWEEKNZ.Text1: ") + kEnd}));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(jv.log.first(), QStringLiteral("JVInit(DEDERIDU1/20240629)"));
    EXPECT_EQ(jv.log[1], QStringLiteral("JVOpen(TOKURACETCVNRCVN,00000000000000,2)"));
    EXPECT_EQ(jv.log.last(), QStringLiteral("JVClose"));
    EXPECT_EQ(skipped, 0u);
}

TEST_F(WeekDownload, EndsWithoutFilesOnOpenErrorNoDataOrCancel) {
    struct Case {
        OpenOutcome open;
        bool cancel;
        const char* message;
    } cases[] = {
        {{-1, 0, 0}, false, "JVOpenエラー。RC=-1"},
        {{0, 0, 0}, false, "該当するデータがありません。"},
        {{0, 3, 3}, true, nullptr},
    };
    for (const Case& c : cases) {
        app.write(QStringLiteral("RATHISWEEKN.dat"), QByteArray(1272, 'x'));  // last week's
        ui = RecordingUi();
        jv = rwtest::ScriptedJvLink();
        opens = {c.open};
        jv.reads = {ReadStep::rec(ra1)};
        if (c.cancel) ui.onModalTick = [](TimedDialog&, int tick) { return tick == 0; };
        run();
        for (const WeekFile& wf : kWeekFiles) EXPECT_FALSE(weekFileExists(wf.name));
        if (c.message) {
            EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8(c.message)});
        } else {
            EXPECT_EQ(state.DialogResult, -1);
            EXPECT_EQ(jv.count(QStringLiteral("JVCancel")), 1);
            EXPECT_EQ(jv.count(QStringLiteral("JVRead")), 0);
        }
        EXPECT_EQ(jv.log.last(), QStringLiteral("JVClose"));
        EXPECT_EQ(ui.text(QStringLiteral("KESF1THISWEEKNZ.Text1")), kEnd);
    }
}

TEST_F(WeekDownload, ProgressDialogCountsUpAndAFailedStatusGoesOnToRead) {
    opens = {{0, 1, 3}};
    jv.statuses = {1, 2, 3};
    jv.reads = {ReadStep::rec(ra1), ReadStep::code(0)};
    run();
    EXPECT_EQ(ui.modalLog, QStringList{QStringLiteral("KESF2THISWEEKNZ over KESF1THISWEEKNZ")});
    EXPECT_EQ(ui.text(QStringLiteral("KESF2THISWEEKNZ.Label1")), QStringLiteral("3 / 3"));
    EXPECT_EQ(state.DialogResult, 0);
    EXPECT_EQ(stored(u"RATHISWEEKN.dat", Kind::RA).size(), 1);

    ui = RecordingUi();
    jv = rwtest::ScriptedJvLink();
    opens = {{0, 1, 3}};
    jv.statuses = {1, -502};
    jv.reads = {ReadStep::rec(ra2), ReadStep::code(0)};
    run();
    EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8("ダウンロード失敗。RC=-502")});
    EXPECT_EQ(stored(u"RATHISWEEKN.dat", Kind::RA), QList<QByteArray>{ra2});
}

TEST_F(WeekDownload, DamagedFileIsDeletedAndTheReadingResumesAfterTheStoredRecords) {
    opens = {{0, 3, 0}, {0, 1, 0}};
    jv.reads = {ReadStep::rec(ra1), ReadStep::code(-403, QStringLiteral("RACE2.jvd")), ReadStep::rec(ra2),
                ReadStep::code(0)};
    run();
    EXPECT_EQ(stored(u"RATHISWEEKN.dat", Kind::RA), (QList<QByteArray>{ra1, ra2}));
    const qsizetype del = jv.log.indexOf(QStringLiteral("JVFiledelete(RACE2.jvd)"));
    ASSERT_GE(del, 0);
    EXPECT_EQ(jv.log[del + 1], QStringLiteral("JVClose"));
    EXPECT_EQ(jv.log[del + 2], QStringLiteral("JVOpen(TOKURACETCVNRCVN,00000000000000,2)"));
    EXPECT_TRUE(ui.modalLog.isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(WeekDownload, TheSameFileDamagedAgainEndsAsAReadError) {
    // Without a bound a file damaged at every reopen would loop for ever.
    opens = {{0, 3, 0}};
    jv.defaultOpen = {0, 3, 0};
    jv.reads = {ReadStep::rec(ra1), ReadStep::code(-402, QStringLiteral("A.jvd")),
                ReadStep::code(-402, QStringLiteral("A.jvd")), ReadStep::rec(ra2)};
    run();
    EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8("JVReadエラー。 RC=-402")});
    EXPECT_EQ(stored(u"RATHISWEEKN.dat", Kind::RA), QList<QByteArray>{ra1});
    EXPECT_EQ(jv.count(QStringLiteral("JVFiledelete(A.jvd)")), 1);
}

TEST_F(WeekDownload, OtherReadErrorsEndTheDownloadKeepingWhatArrived) {
    jv.reads = {ReadStep::rec(ra1), ReadStep::code(-502), ReadStep::rec(ra2)};
    run();
    EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8("JVReadエラー。 RC=-502")});
    EXPECT_EQ(stored(u"RATHISWEEKN.dat", Kind::RA), QList<QByteArray>{ra1});
    EXPECT_EQ(ui.text(QStringLiteral("KESF1THISWEEKNZ.Text1")), kEnd);
}

TEST_F(WeekDownload, FailedInitIsShownAndTheRequestIsMadeAllTheSame) {
    jv.initResult = -101;
    jv.reads = {ReadStep::rec(ra1)};
    run();
    EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8("JVInitエラー。RC=-101")});
    EXPECT_EQ(stored(u"RATHISWEEKN.dat", Kind::RA).size(), 1);
}

TEST_F(WeekDownload, MissingPackageStartsTheArchiveAndDownloadsAllTheSame) {
    QFile::remove(app.file(QStringLiteral("OPTION1N\\STALLION.dat")));
    jv.reads = {ReadStep::rec(ra1)};
    run();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0], AppPath + QString::fromUtf8("に参照場所(展開フォルダ）に合わせてOKをクリックして初回予想因子パラメータをセットして下さい。"));
    EXPECT_EQ(ui.text(QStringLiteral("KESF1THISWEEKNZ.Label1")),
              QString::fromUtf8("まだ、予想因子ウエイトが展開されていません。タスクバーにある展開先の指定をクリックして自己解凍EXEを起動させて下さい。"));
    EXPECT_EQ(started, QStringList{AppPath + QStringLiteral("NEWSFX.EXE")});
    EXPECT_EQ(stored(u"RATHISWEEKN.dat", Kind::RA).size(), 1);
}

TEST_F(WeekDownload, WeekFilesThatCannotBeDeletedAreNotAppendedTo) {
    const QByteArray old(1272, 'o');
    app.write(QStringLiteral("RATHISWEEKN.dat"), old + old);
    SetRemoveFileHook([](const QString&) { return false; });
    jv.reads = {ReadStep::rec(ra1)};
    run();
    EXPECT_EQ(stored(u"RATHISWEEKN.dat", Kind::RA), QList<QByteArray>{ra1});

    // A cancelled download leaves no week's records of last week either.
    app.write(QStringLiteral("RATHISWEEKN.dat"), old);
    ui = RecordingUi();
    opens = {{0, 1, 2}};
    ui.onModalTick = [](TimedDialog&, int) { return true; };
    run();
    EXPECT_TRUE(stored(u"RATHISWEEKN.dat", Kind::RA).isEmpty());
}

TEST_F(WeekDownload, ADamagedFileWithoutANameIsReopenedOnce) {
    opens = {{0, 2, 0}, {0, 1, 0}};
    jv.reads = {ReadStep::rec(ra1), ReadStep::code(-403), ReadStep::rec(ra2), ReadStep::code(-403),
                ReadStep::rec(se1)};
    run();
    EXPECT_EQ(stored(u"RATHISWEEKN.dat", Kind::RA), (QList<QByteArray>{ra1, ra2}));
    EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8("JVReadエラー。 RC=-403")});
}

TEST_F(WeekDownload, AnOpenThatFailsAsAStatementReportsNoData) {
    struct Failing : rwtest::ScriptedJvLink {
        std::int32_t JVOpen(const QString&, const QString&, std::int32_t, std::int32_t&, std::int32_t&,
                            QString&) override {
            rw::fail("component gone");
        }
    } failing;
    SkipLog log("download");
    DownloadThisWeek(ui, failing, state, log);
    EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8("該当するデータがありません。")});
    for (const WeekFile& wf : kWeekFiles) EXPECT_FALSE(weekFileExists(wf.name));
    EXPECT_EQ(log.skipped().size(), 1u);
}
