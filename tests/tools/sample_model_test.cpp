// The sample package's factor model: the 16 files read back through the
// system's reader, item 1's years and samples, codes at their widths, and
// the codes that the simple items give on the week's records found in the
// lists (item 2 through its "6" retry for the racecourse left out).
#include "common/kestrav_path.h"
#include "common/text_file.h"
#include "jvdata/records.h"
#include "model/expanded_record.h"
#include "model/factor_model.h"
#include "sample/generator.h"
#include "support/driver.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace rw;
using namespace rw::model;
namespace jvh = rw::jv::head;
namespace jra = rw::jv::ra;
namespace jse = rw::jv::se;

namespace {

struct SampleModel : ::testing::Test {
    static void SetUpTestSuite() {
        dir = std::make_unique<QTemporaryDir>();
        summary = std::make_unique<sample::Summary>(
            sample::generate({sample::Scale::Typical, sample::Scenario::Friday, 1}, dir->path()));
        SetProgramFolder(dir->path());
        AppPath = GetAppPath();
        for (Surface s : kSurfaces) failures[int(s)] = LoadFactorModel(s, models[int(s)]);
        SetProgramFolder(QString());
        AppPath.clear();
    }
    static void TearDownTestSuite() { dir.reset(); }
    static const FactorModel& model(Surface s) { return models[int(s)]; }
    static bool listed(Surface s, int item, QByteArrayView code) {
        const FactorModel& m = model(s);
        const QByteArray padded = code.toByteArray().leftJustified(kCategoryWidths[item], ' ', true);
        for (int j = 1; j <= m.CategoryCount[size_t(item)]; ++j)
            if (m.code(item, j) == padded) return true;
        return false;
    }
    // Item 2's retry: "6" and characters 2 to 5 against the first five.
    static bool listedOnRetry(Surface s, QByteArrayView code) {
        const QByteArray padded = code.toByteArray().leftJustified(11, ' ', true);
        const QByteArray retry = "6" + padded.mid(1, 4);
        const FactorModel& m = model(s);
        for (int j = 1; j <= m.CategoryCount[2]; ++j)
            if (m.code(2, j).first(5) == retry) return true;
        return false;
    }

    static inline std::unique_ptr<QTemporaryDir> dir;
    static inline std::unique_ptr<sample::Summary> summary;
    static inline FactorModel models[3];
    static inline std::optional<ModelLoadFailure> failures[3];
};

TEST_F(SampleModel, EverySurfaceReadsWholeThroughTheSystemsReader) {
    for (Surface s : kSurfaces) {
        EXPECT_FALSE(failures[int(s)]) << failures[int(s)]->text().toStdString();
        for (int item = 2; item <= 30; ++item) EXPECT_GT(model(s).CategoryCount[size_t(item)], 0) << item;
        EXPECT_GT(summary->modelCategories.at(SurfaceWord(s)), 500);
    }
    EXPECT_FALSE(QFile::exists(dir->path() + QStringLiteral("/OPTION1N/QA1ShogAgariWeightData201401N2018.dat")));
    EXPECT_FALSE(QFile::exists(dir->path() + QStringLiteral("/OPTION1N/QA1ShogPaceWeightData201401N2018.dat")));
    // The fit's figures follow the 30 counts.
    const QList<QByteArray> total = rw::splitValues(
        rwtest::readFile(dir->path() + QStringLiteral("/OPTION1N/QA1SibaTotalData201401N2018.dat")));
    EXPECT_GT(total.size(), 30);
    EXPECT_EQ(summary->modelLeftOut.size(), 5);
}

TEST_F(SampleModel, ItemOneListsThePackageYearsWithSamplesAndLaterOnesWithout) {
    for (Surface s : kSurfaces) {
        const FactorModel& m = model(s);
        ASSERT_EQ(m.CategoryCount[1], 10);
        for (int j = 1; j <= 10; ++j) {
            EXPECT_EQ(m.code(1, j), QByteArray::number(2013 + j) + "     ");
            if (2013 + j <= 2018) EXPECT_GT(m.samples(1, j), 0);
            else EXPECT_EQ(m.samples(1, j), 0);
        }
        EXPECT_FALSE(listed(s, 1, "2024"));  // the week's year
        EXPECT_GT(m.soha(1, 1), 40.0f);
        EXPECT_LT(m.soha(1, 1), 70.0f);
    }
}

TEST_F(SampleModel, CodesSitAtTheirWidthsAndSampleCountsArePositive) {
    for (Surface s : kSurfaces)
        for (int item = 1; item <= 30; ++item)
            for (int j = 1; j <= model(s).CategoryCount[size_t(item)]; ++j) {
                EXPECT_EQ(model(s).code(item, j).size(), kCategoryWidths[item]) << item;
                const std::int32_t n = model(s).samples(item, j);
                EXPECT_TRUE(item == 1 ? n >= 0 : n > 0) << item;
                EXPECT_LE(n, 9999999);
            }
    // Jump: the three tables of the soha file.
    EXPECT_EQ(model(Surface::Jump).AgariWeight[22], model(Surface::Jump).SohaWeight[22]);
}

TEST_F(SampleModel, TheSimpleItemsOfTheWeeksRecordsFindTheirCategories) {
    const QList<QByteArray> records = rwtest::storedRecords(dir->path(), QStringLiteral("TOKURACETCVNRCVN"));
    std::map<QByteArray, QByteArray> races;  // RaceKey16 -> last RA
    for (const QByteArray& r : records)
        if (r.startsWith("RA")) races[r.mid(jvh::RaceKey16.offset(), 16)] = r;
    int checked = 0, retried = 0, big = 0;
    for (const QByteArray& se : records) {
        if (!se.startsWith("SE")) continue;
        const QByteArray& ra = races.at(se.mid(jvh::RaceKey16.offset(), 16));
        auto at = [](const QByteArray& r, Field f) { return r.mid(f.offset(), f.width); };
        const QByteArray track = at(ra, jra::TrackCode);
        const int t = track.toInt();
        const Surface s = t <= 22 ? Surface::Turf : t <= 29 ? Surface::Dirt : Surface::Jump;
        const QByteArray course = at(se, jvh::Racecourse);
        const QByteArray c = course == "10" ? QByteArray("A") : course.right(1);
        const QByteArray wd = at(ra, jra::WeekdayCode);
        const QByteArray d = wd == "1" || wd == "2" ? wd : QByteArray("2");
        const QByteArray frame = at(se, jse::FrameNumber), horseNo = at(se, jse::HorseNumber);
        QByteArray item2 = t == 10                                         ? c + d + horseNo + track
                           : t == 11 || t == 12 || t == 17 || t == 18      ? c + d + frame + track
                           : t == 21                                       ? c + d + frame + "17"
                           : t == 22                                       ? c + d + frame + "18"
                           : t >= 23 && t <= 29                            ? c + d + frame
                                                                           : c + track + d;
        if (listed(s, 2, item2)) {
        } else {
            EXPECT_EQ(course, "09") << item2.constData();
            EXPECT_TRUE(listedOnRetry(s, item2)) << item2.constData();
            ++retried;
        }
        EXPECT_TRUE(listed(s, 4, at(se, jse::WeightCarried)));
        QByteArray symbol = at(ra, rw::jv::findField(rw::jv::kRA, "race symbol code")).left(2);
        if ((t == 23 || t == 24) && symbol == "N2") symbol = "N0";
        EXPECT_TRUE(listed(s, 6, symbol));
        const QByteArray grade = at(ra, jra::GradeCode);
        EXPECT_TRUE(listed(s, 21, t <= 24 ? at(ra, jvh::RaceNumber) + grade : grade));
        const QByteArray dist = at(ra, jra::Distance);
        if (t <= 29) {
            EXPECT_TRUE(listed(s, 22, dist));
        }
        EXPECT_TRUE(listed(s, 24, t <= 24 ? horseNo + "1" : horseNo.toInt() > 14 ? QByteArray("14") : horseNo));
        EXPECT_TRUE(listed(s, 27, at(ra, jvh::Meeting) + at(ra, jvh::Day)));
        const QByteArray reg = at(ra, jra::RegisteredRunners);
        EXPECT_TRUE(listed(s, 28, reg <= "08" ? QByteArray("08") : t >= 30 && reg > "14" ? QByteArray("14") : reg));
        // Weights beyond 20 km/h in a category the week uses.
        const FactorModel& m = model(s);
        for (int j = 1; j <= m.CategoryCount[27]; ++j)
            if (m.code(27, j).first(4) == at(ra, jvh::Meeting) + at(ra, jvh::Day) && std::abs(m.agari(27, j)) > 20) ++big;
        ++checked;
    }
    EXPECT_GT(checked, 5000);
    EXPECT_GT(retried, 100);
    EXPECT_GT(big, 0);
}

}  // namespace

namespace {

// The age charts of the model-weight viewers take item 12 by position:
// turf and dirt males aged 27 to 59 months at 1 to 33, females at 34 to 66;
// jump males aged 40 to 59 at 1 to 20. A few weights lie beyond the charts'
// axis of ±2.5 km/h, and codes with leading zeros stay in the package.
TEST_F(SampleModel, ItemTwelveListsTheAgesAsTheChartsTakeThem) {
    for (Surface s : kSurfaces) {
        SCOPED_TRACE(SurfaceWord(s).toStdString());
        const FactorModel& m = model(s);
        const bool flat = s != Surface::Jump;
        const int males = flat ? 33 : 20, first = flat ? 27 : 40;
        ASSERT_GE(m.CategoryCount[12], flat ? 66 : 20);
        for (int i = 1; i <= males; ++i)
            EXPECT_EQ(m.code(12, i).trimmed(), "1" + QByteArray::number(first - 1 + i)) << i;
        if (flat) {
            for (int i = 1; i <= 33; ++i)
                EXPECT_EQ(m.code(12, 33 + i).trimmed(), "2" + QByteArray::number(26 + i)) << i;
        }
        int beyond = 0;
        for (int c = 1; c <= (flat ? 66 : 20); ++c)
            for (float w : {m.agari(12, c), m.pace(12, c), m.soha(12, c)}) beyond += w > 2.5f || w < -2.5f;
        EXPECT_GE(beyond, 3);
        int leadingZeros = 0;
        for (int k = 1; k <= 30; ++k)
            for (int j = 1; j <= m.CategoryCount[size_t(k)]; ++j) {
                const QByteArray code = m.code(k, j).trimmed().toByteArray();
                leadingZeros += code.size() > 1 && code.startsWith('0');
            }
        EXPECT_GT(leadingZeros, 10);
    }
}

}  // namespace
