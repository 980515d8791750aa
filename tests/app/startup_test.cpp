#include "common/clock.h"
#include "common/kestrav_path.h"
#include "jvdata/package_check.h"
#include "app/startup.h"
#include "support/recording_ui.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace rw;

namespace {

const QString kLabel1 = QStringLiteral("KESF1THISWEEKNZ.Label1");
const QString kReminder = QString::fromUtf8("今週の結果は必ず前に今週の予想の3つの操作を行って下さい。");

class Startup : public ::testing::Test {
protected:
    void TearDown() override { SetToday(QDate()); }
    void run() {
        SkipLog log("start-up");
        MenuStartup(ui, log);
    }
    // The package file, last modified `days` days before today (at noon).
    void package(int days) {
        app.write(QStringLiteral("OPTION1N\\KYOSOBA.dat"), "x");
        QFile f(app.file(QStringLiteral("OPTION1N\\KYOSOBA.dat")));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const QDate today(2024, 12, 6);
        SetToday(today);
        ASSERT_TRUE(f.setFileTime(QDateTime(today.addDays(-days), QTime(12, 0)), QFileDevice::FileModificationTime));
    }
    rwtest::AppFolder app;
    RecordingUi ui;
};

}  // namespace

TEST_F(Startup, CreatesTheFoldersAndShowsThePackageDate) {
    package(10);
    run();
    for (const QString& f : WorkingFolders()) EXPECT_TRUE(QDir(app.file(f)).exists()) << f.toStdString();
    EXPECT_EQ(WorkingFolders().size(), 19);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(ui.colors.value(kLabel1), 0x80FF80u);
    EXPECT_EQ(ui.text(kLabel1), QString::fromUtf8("予想因子ウエイトは展開されています。作成日は 2024/11/26 12:00:00 です。"
                                                  "これより新しい日付の予想因子ウエイトがあれば展開して上書きして下さい。"
                                                  "無ければそのまま続行して下さい。新しい日付のバージョンまたは最新因子ウエイトは"
                                                  "サポートサイトよりダウンロードして下さい。"));
    EXPECT_EQ(ui.text(QStringLiteral("KESF1THISWEEKNZ.Text2")), kReminder);

    // Starting again with everything present changes nothing and says nothing.
    app.write(QStringLiteral("KAIME\\keep.dat"), "keep");
    ui = RecordingUi();
    run();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(app.read(QStringLiteral("KAIME\\keep.dat")), "keep");
}

TEST_F(Startup, MissingPackageIsReportedAndTheLoadGoesOn) {
    for (const QString& f : FlashFiles()) app.write(f, "old");
    run();
    EXPECT_EQ(ui.messages, QStringList{AppPath + QString::fromUtf8("自己解凍EXEにある展開先の指定をクリックして予想因子パラメータをセットして下さい。")});
    EXPECT_EQ(ui.text(kLabel1), QString::fromUtf8("まだ、予想因子ウエイトが展開されていません。自己解凍EXEにある展開先の指定をクリックして起動させて下さい。"));
    EXPECT_FALSE(ui.colors.contains(kLabel1));  // keeps its initial colour
    for (const QString& f : FlashFiles()) EXPECT_FALSE(app.exists(f));
    EXPECT_EQ(ui.text(QStringLiteral("KESF1THISWEEKNZ.Text2")), kReminder);
}

TEST_F(Startup, AgeWarningFromOneThousandAndOneDays) {
    const QString warning =
        QString::fromUtf8("予想因子ウエイトが最新ではありません。さらに高精度の予想を望まれる場合、最新予想ウエイトを取得して下さい。");
    package(1000);
    run();
    EXPECT_TRUE(ui.messages.isEmpty());
    package(1001);
    ui = RecordingUi();
    run();
    EXPECT_EQ(ui.messages, QStringList{AppPath + warning});
}

TEST_F(Startup, DeletesTheFlashFilesThatExist) {
    app.write(QStringLiteral("HRRIALTIME.dat"), "x");
    app.write(QStringLiteral("O6RIALTIME.dat"), "x");
    app.write(QStringLiteral("RATHISWEEKN.dat"), "kept");
    SkipLog log("start-up");
    MenuStartup(ui, log);
    EXPECT_FALSE(app.exists(QStringLiteral("HRRIALTIME.dat")));
    EXPECT_FALSE(app.exists(QStringLiteral("O6RIALTIME.dat")));
    EXPECT_TRUE(app.exists(QStringLiteral("RATHISWEEKN.dat")));
    EXPECT_EQ(log.skipped().size(), 1u);  // only the age of the absent package
}

TEST(AppPath, OneTrailingSeparatorAndCached) {
    SetProgramFolder(QStringLiteral("/tmp/x/"));
    const QString a = GetAppPath();
    SetProgramFolder(QStringLiteral("/tmp/x"));
    EXPECT_EQ(GetAppPath(), a);
    EXPECT_EQ(a, QStringLiteral("/tmp/x/"));
    EXPECT_EQ(GetAppPath(), GetAppPath());
    SetProgramFolder(QString());
}

TEST_F(Startup, ExpansionCheckRefreshesTheLabelOrEnds) {
    EXPECT_FALSE(CheckPackageBeforeExpansion(ui));
    EXPECT_EQ(ui.messages, QStringList{AppPath + QString::fromUtf8("に参照場所(展開フォルダ）に初回予想因子ウエイトが有りませんので、ソフトを終了します。")});
    package(3);
    ui = RecordingUi();
    EXPECT_TRUE(CheckPackageBeforeExpansion(ui));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(ui.text(kLabel1).contains(QStringLiteral("2024/12/03 12:00:00")));
    EXPECT_EQ(ui.colors.value(kLabel1), 0x80FF80u);
}
