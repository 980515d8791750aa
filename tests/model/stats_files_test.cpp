#include "common/errors.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/record_file.h"
#include "model/package_files.h"
#include "model/stats_files.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::model;

namespace {

// The plain search: open, count to the nearest whole record, compare records
// 1, 2, … and stop at the first equal key.
std::optional<QByteArray> searchFromRecordOne(QStringView file, int length, QByteArrayView key) {
    RecordFile f(AppFile(file), length);
    QFile probe(AppFile(file));
    const qint64 count = StatsRecordCount(probe.size(), length);
    const int w = StatsKeyWidth(length);
    for (qint64 n = 1; n <= count; ++n) {
        const QByteArray rec = f.read(n);
        if (key.size() == w && QByteArrayView(rec).first(w) == key) return rec;
    }
    return std::nullopt;
}

QByteArray record(int length, QByteArrayView key, char fill) {
    QByteArray r(length, fill);
    putFixed(r, 1, key.size(), key);
    r[length - 2] = '\r';
    r[length - 1] = '\n';
    return r;
}

TEST(StatsLayouts, FieldsLieWhereThePackagePutsThem) {
    EXPECT_EQ(SireStatsRecord::kLength, 402);
    EXPECT_EQ(SireStatsRecord::FlatStarts.offset(), 34);
    EXPECT_EQ(SireStatsRecord::ThirdAmount.offset(), 64);
    EXPECT_EQ(SireStatsRecord::JumpPlaceRate.offset(), 118);
    EXPECT_EQ(SireStatsRecord::TurfGoingRates(4).offset(), 142);
    EXPECT_EQ(SireStatsRecord::JumpGoingRates(1).offset(), 172);
    EXPECT_EQ(SireStatsRecord::DirtDistanceRates(3).offset(), 226);
    EXPECT_EQ(SireStatsRecord::RecordEnd.offset(), 400);
    EXPECT_EQ(HorseStatsRecord::FlatEarnings.offset(), 34);
    EXPECT_EQ(HorseStatsRecord::JumpEarnings.width, 9);
    EXPECT_EQ(HorseStatsRecord::JumpPlaceRate.offset(), 106);
    EXPECT_EQ(HorseStatsRecord::RecordEnd.offset(), 226);
    EXPECT_EQ(PeopleStatsRecord::StatsCode.width, 5);
    EXPECT_EQ(PeopleStatsRecord::OtherPlaceRate.offset(), 41);
    EXPECT_EQ(PeopleStatsRecord::RecordEnd.offset(), 119);
    EXPECT_EQ(DamFoalRecord::FoalRegistrationNo.offset(), 10);
}

TEST(StatsRecords, NumbersReadLeniently) {
    QByteArray r = record(228, "0000000001", ' ');
    EXPECT_EQ(statsNumber(r, HorseStatsRecord::FlatPlaceRate), 0.0);  // blanks
    putFixed(r, HorseStatsRecord::FlatPlaceRate.pos, 6, "  1234");
    EXPECT_EQ(statsNumber(r, HorseStatsRecord::FlatPlaceRate), 1234.0);
}

TEST(StatsRecords, CountIsTheNearestWholeNumberOfRecords) {
    EXPECT_EQ(StatsRecordCount(0, 402), 0);
    EXPECT_EQ(StatsRecordCount(402 * 3, 402), 3);
    EXPECT_EQ(StatsRecordCount(402 * 3 + 200, 402), 3);
    EXPECT_EQ(StatsRecordCount(402 * 3 + 202, 402), 4);
    EXPECT_EQ(StatsRecordCount(402 * 2 + 201, 402), 2);  // a half rounds to even
    EXPECT_EQ(StatsRecordCount(402 * 3 + 201, 402), 4);
}

class FindStats : public ::testing::Test {
protected:
    void SetUp() override { QDir().mkpath(app.file(QString::fromUtf16(kPackageFolder))); }
    rwtest::AppFolder app;
    StatsIndex index;
};

TEST_F(FindStats, FirstMatchWinsAndKeysCompareAsWholeTexts) {
    QByteArray file = record(228, "0000000001", 'a') + record(228, "0000000002", 'b') +
                      record(228, "0000000001", 'c') + record(228, "00000003  ", 'd');
    app.write(QString::fromUtf16(kHorseStatsFile), file);
    auto hit = FindStatsRecord(index, kHorseStatsFile, 228, "0000000001");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->at(20), 'a');
    EXPECT_FALSE(FindStatsRecord(index, kHorseStatsFile, 228, "00000003"));    // trailing blanks differ
    EXPECT_FALSE(FindStatsRecord(index, kHorseStatsFile, 228, "000000003 "));  // leading zero differs
    EXPECT_TRUE(FindStatsRecord(index, kHorseStatsFile, 228, "00000003  "));
    EXPECT_FALSE(FindStatsRecord(index, kHorseStatsFile, 228, "000000000001"));
}

TEST_F(FindStats, AMissingFileGivesNothingAndExistsAfterwards) {
    EXPECT_FALSE(FindStatsRecord(index, kJockeyStatsFile, 121, "01001"));
    EXPECT_TRUE(app.exists(QString::fromUtf16(kJockeyStatsFile)));
    EXPECT_EQ(app.read(QString::fromUtf16(kJockeyStatsFile)).size(), 0);
}

TEST_F(FindStats, WithoutThePackageFolderTheSearchFails) {
    QDir(app.file(QString::fromUtf16(kPackageFolder))).removeRecursively();
    EXPECT_THROW(FindStatsRecord(index, kJockeyStatsFile, 121, "01001"), StepFailure);
}

TEST_F(FindStats, APartLastRecordCountsFromHalfItsLength) {
    const QByteArray full = record(121, "11111", 'x');
    app.write(QString::fromUtf16(kTrainerStatsFile), full + record(121, "22222", 'y').left(61));
    auto hit = FindStatsRecord(index, kTrainerStatsFile, 121, "22222");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->size(), 121);
    EXPECT_EQ(hit->at(60), 'y');
    EXPECT_EQ(hit->at(61), '\0');  // beyond the file's end
    index.clear();
    app.write(QString::fromUtf16(kTrainerStatsFile), full + record(121, "22222", 'y').left(60));
    EXPECT_FALSE(FindStatsRecord(index, kTrainerStatsFile, 121, "22222"));
}

TEST_F(FindStats, TheIndexAnswersAsASearchFromRecordOne) {
    QRandomGenerator rng(7);
    for (int round = 0; round < 40; ++round) {
        const int length = round % 2 ? 402 : 121;
        const int w = StatsKeyWidth(length);
        const QString name = QString::fromUtf16(round % 2 ? kSireStatsFile : kJockeyStatsFile);
        QByteArray file;
        QList<QByteArray> keys;
        const int n = int(rng.bounded(0, 30));
        for (int i = 0; i < n; ++i) {
            QByteArray key = QByteArray::number(rng.bounded(1, 12)).rightJustified(w, '0');
            if (rng.bounded(5) == 0) key = key.mid(1) + ' ';  // a trailing blank
            keys << key;
            file += record(length, key, char('a' + i % 26));
        }
        if (n && rng.bounded(3) == 0) file.chop(int(rng.bounded(1, length)));  // a part record at the end
        app.write(name, file);
        StatsIndex fresh;
        keys << QByteArray(w, ' ') << QByteArray::number(99).rightJustified(w, '0') << QByteArray("1");
        for (const QByteArray& k : keys) {
            const auto a = FindStatsRecord(fresh, name, length, k);
            const auto b = searchFromRecordOne(name, length, k);
            ASSERT_EQ(a.has_value(), b.has_value()) << round << " " << k.constData();
            if (a) {
                EXPECT_EQ(*a, *b);
            }
        }
    }
}

}  // namespace
