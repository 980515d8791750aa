// The weekly road through the window-less driver on the typical sample week:
// ① stores exactly the week's records, ② sorts them into the weekly store.
#include "common/fixed_text.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/records.h"
#include "sample/generator.h"
#include "support/driver.h"
#include "support/test_support.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::jv;
using rwtest::runPress;

namespace {

QTemporaryDir* dir = nullptr;
rwtest::PressResult download, structure;
QByteArray downloadedSe;  // SETHISWEEKN.dat as ① left it

QString file(const QString& rel) { return dir->path() + QLatin1Char('/') + rel; }
QList<QByteArray> stored(const char* name, Kind k) { return RecordFile::readAll(file(QLatin1String(name)), imageLength(k)); }

class PressEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new QTemporaryDir;
        rw::sample::Options o;
        o.scale = rw::sample::Scale::Typical;
        o.scenario = rw::sample::Scenario::Monday;
        rw::sample::generate(o, dir->path());
        download = runPress(dir->path(), {QStringLiteral("Command2")});
        downloadedSe = rwtest::readFile(file(QStringLiteral("SETHISWEEKN.dat")));
        structure = runPress(dir->path(), {QStringLiteral("Command4")});
    }
    static void TearDownTestSuite() { delete dir; }
};

}  // namespace

TEST_F(PressEndToEnd, DownloadStoresExactlyTheWeeksRecords) {
    ASSERT_EQ(download.exitCode, 0) << download.err.toStdString();
    QList<QByteArray> ra, se, um, ks, hr;
    for (const QByteArray& rec : rwtest::storedRecords(dir->path(), QStringLiteral("TOKURACETCVNRCVN"))) {
        const auto k = kindOf(rec);
        if (!k) continue;
        if (*k == Kind::UM && rec[2] == '9') continue;
        const QByteArray image = ToFixed(*k, rec);
        switch (*k) {
        case Kind::RA: ra << image; break;
        case Kind::SE: se << image; break;
        case Kind::UM: um << image; break;
        case Kind::KS: ks << image; break;
        case Kind::HR: hr << image; break;
        default: break;
        }
    }
    ASSERT_GT(ra.size(), 700);
    EXPECT_EQ(stored("RATHISWEEKN.dat", Kind::RA), ra);
    EXPECT_EQ(downloadedSe, se.join());
    EXPECT_EQ(stored("UMTHISWEEKN.dat", Kind::UM), um);
    EXPECT_EQ(stored("KSTHISWEEKN.dat", Kind::KS), ks);
    EXPECT_EQ(stored("HRTHISWEEKN.dat", Kind::HR), hr);
    EXPECT_EQ(download.line(QStringLiteral("Text1")), QString::fromUtf8("今週開催取得終了"));
    EXPECT_FALSE(download.out.contains(QStringLiteral("MsgBox:"))) << download.out.toStdString();
}

TEST_F(PressEndToEnd, StructureProcessingBuildsTheWeeklyStore) {
    ASSERT_EQ(structure.exitCode, 0) << structure.err.toStdString();
    const auto um = stored("UMTHISWEEKN.dat", Kind::UM);
    EXPECT_EQ(structure.line(QStringLiteral("Text4")),
              QString::fromUtf8("構造体処理終了  ") + QString::number(um.size()));

    // SETHISWEEKN.dat lost exactly its announced entries, in order.
    QByteArray kept;
    for (const QByteArray& r : rwtest::splitRecords(downloadedSe))
        if (r[2] != '1') kept += r;
    EXPECT_EQ(rwtest::readFile(file(QStringLiteral("SETHISWEEKN.dat"))), kept);

    EXPECT_EQ(rwtest::readFile(file(QStringLiteral("SETHISWEEKNNEW.dat"))),
              rwtest::readFile(file(QStringLiteral("SETHISWEEKNNEWd.dat"))));
    EXPECT_EQ(rwtest::readFile(file(QStringLiteral("RATHISWEEKNNEW.dat"))),
              rwtest::readFile(file(QStringLiteral("RATHISWEEKNNEWd.dat"))));
    const auto raNew = stored("RATHISWEEKNNEW.dat", Kind::RA);
    ASSERT_FALSE(raNew.isEmpty());
    for (const QByteArray& r : raNew) EXPECT_TRUE(r[2] != '1' && r[2] != '9');

    // One list line per horse; one run file per horse, its records the
    // horse's own, oldest first, ending with this week's entry or result.
    QSet<QByteArray> horses;
    for (const QByteArray& r : um) horses.insert(member(r, um::RegistrationNumber.pos, um::RegistrationNumber.width).toByteArray());
    const QList<QByteArray> list = readValues(file(QStringLiteral("KETTONUMTHISWEEKN.dat")));
    EXPECT_EQ(list.size(), horses.size());
    EXPECT_EQ(QDir(file(QStringLiteral("UMAGOTOTHISWEEKN"))).entryList(QDir::Files).size(), horses.size());
    int withRuns = 0;
    for (const QByteArray& h : list) {
        const auto runs = RecordFile::readAll(file(QStringLiteral("UMAGOTOTHISWEEKN/") + QLatin1String(h) + QStringLiteral(".dat")), 555);
        QByteArray lastDate;
        for (const QByteArray& r : runs) {
            EXPECT_EQ(member(r, se::RegistrationNumber.pos, se::RegistrationNumber.width), h);
            const QByteArray date = r.mid(head::Year.pos - 1, 8);  // year, month and day
            EXPECT_LE(lastDate, date);
            lastDate = date;
        }
        withRuns += !runs.isEmpty();
    }
    EXPECT_GT(withRuns, 1000);
}
