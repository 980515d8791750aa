#include "model/factor_model.h"
#include "common/errors.h"
#include "support/factor_package.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>
#include <functional>

#include <QStringList>
#include <gtest/gtest.h>

using namespace rw::model;

namespace {

// A model of the given per-item counts, written as a package would deliver
// it: codes quoted, weights and counts bare. Category j of item i has the
// code "i-j", agari i + j/10, pace i + j/100, soha i + j/1000 and j*7 samples.
struct ModelText {
    QList<int> counts = QList<int>(30, 0);
    QByteArray total, codes, agari, pace, soha, samples;
    void build() {
        total = codes = agari = pace = soha = samples = {};
        for (int i = 0; i < 30; ++i) total += QByteArray::number(counts[i]) + "\r\n";
        for (int i = 1; i <= 30; ++i)
            for (int j = 1; j <= counts[i - 1]; ++j) {
                codes += "\"" + QByteArray::number(i) + "-" + QByteArray::number(j) + "\",";
                agari += QByteArray::number(i + j / 10.0) + ",";
                pace += QByteArray::number(i + j / 100.0) + ",";
                soha += QByteArray::number(i + j / 1000.0) + ",";
                samples += QByteArray::number(j * 7) + ",";
            }
    }
    void write(const rwtest::AppFolder& app, Surface s) const {
        rwtest::writeModelFiles(app, s, {total, codes, agari, pace, soha, samples});
    }
};

class FactorModelLoad : public ::testing::Test {
protected:
    void SetUp() override {
        text.counts[0] = 3;   // item 1
        text.counts[1] = 2;   // item 2
        text.counts[29] = 1;  // item 30; item 3 and others have none
        text.build();
    }
    rwtest::AppFolder app;
    ModelText text;
};

TEST(ModelFileNamesTest, NameEachSurfacesFilesAsThePackageDoes) {
    const ModelFileNames t = ModelFiles(Surface::Turf);
    EXPECT_EQ(t.totalData, QStringLiteral("OPTION1N\\QA1SibaTotalData201401N2018.dat"));
    EXPECT_EQ(t.codes, QStringLiteral("OPTION1N\\SibaItemCategory201401N2018.dat"));
    EXPECT_EQ(t.agari, QStringLiteral("OPTION1N\\QA1SibaAgariWeightData201401N2018.dat"));
    EXPECT_EQ(t.pace, QStringLiteral("OPTION1N\\QA1SibaPaceWeightData201401N2018.dat"));
    EXPECT_EQ(t.soha, QStringLiteral("OPTION1N\\QA1SibaSohaWeightData201401N2018.dat"));
    EXPECT_EQ(t.sampleCounts, QStringLiteral("OPTION1N\\SibaItemCategoryCount201401N2018.dat"));
    EXPECT_EQ(ModelFiles(Surface::Dirt).codes, QStringLiteral("OPTION1N\\DirtItemCategory201401N2018.dat"));
    const ModelFileNames j = ModelFiles(Surface::Jump);
    EXPECT_EQ(j.soha, QStringLiteral("OPTION1N\\QA1ShogSohaWeightData201401N2018.dat"));
    EXPECT_EQ(j.agari, j.soha);
    EXPECT_EQ(j.pace, j.soha);
}

TEST_F(FactorModelLoad, ReadsEveryTableInModelOrder) {
    text.total += "99,98,97\r\n";  // values after the 30 counts are not read
    text.write(app, Surface::Turf);
    FactorModel m;
    EXPECT_FALSE(LoadFactorModel(Surface::Turf, m));
    EXPECT_EQ(m.CategoryCount[1], 3);
    EXPECT_EQ(m.CategoryCount[2], 2);
    EXPECT_EQ(m.CategoryCount[3], 0);
    EXPECT_EQ(m.CategoryCount[30], 1);
    EXPECT_EQ(m.code(1, 3), "1-3");
    EXPECT_EQ(m.code(2, 1), "2-1");
    EXPECT_EQ(m.code(30, 1), "30-1");
    EXPECT_FLOAT_EQ(m.agari(2, 2), 2.2f);
    EXPECT_FLOAT_EQ(m.pace(2, 2), 2.02f);
    EXPECT_FLOAT_EQ(m.soha(2, 2), 2.002f);
    EXPECT_EQ(m.samples(30, 1), 7);
    // Category 0 and anything beyond the counts: no code, weights 0.
    EXPECT_TRUE(m.code(1, 0).isEmpty());
    EXPECT_TRUE(m.code(3, 1).isEmpty());
    EXPECT_EQ(m.agari(1, 4), 0.0f);
    EXPECT_EQ(m.samples(31, 1), 0);
}

TEST_F(FactorModelLoad, QuotedCodesKeepTheirBlanks) {
    text.codes = "\"11  \",\" 12\",\"13\",\"2a\",\"2b\",\"30\"";
    text.write(app, Surface::Dirt);
    FactorModel m;
    ASSERT_FALSE(LoadFactorModel(Surface::Dirt, m));
    EXPECT_EQ(m.code(1, 1), "11  ");
    EXPECT_EQ(m.code(1, 2), " 12");
}

TEST_F(FactorModelLoad, JumpTablesAreAllTheSohaWeights) {
    text.write(app, Surface::Jump);
    FactorModel m;
    ASSERT_FALSE(LoadFactorModel(Surface::Jump, m));
    for (int i = 1; i <= 30; ++i) {
        EXPECT_EQ(m.AgariWeight[size_t(i)], m.SohaWeight[size_t(i)]);
        EXPECT_EQ(m.PaceWeight[size_t(i)], m.SohaWeight[size_t(i)]);
    }
    EXPECT_FLOAT_EQ(m.agari(1, 1), 1.001f);
}

TEST_F(FactorModelLoad, CountsAndCodesOnlyLeaveTheWeightsUnread) {
    text.write(app, Surface::Turf);
    app.write(ModelFiles(Surface::Turf).agari, "x");
    FactorModel m;
    EXPECT_FALSE(LoadFactorModel(Surface::Turf, m, ModelParts::CountsAndCodes));
    EXPECT_EQ(m.code(1, 2), "1-2");
    EXPECT_EQ(m.agari(1, 2), 0.0f);
}

struct BrokenCase {
    const char* name;
    std::function<void(ModelText&, const rwtest::AppFolder&)> breakIt;  // after writing
    QString file;                                                        // which file is named
    const char* reason;
};

TEST_F(FactorModelLoad, EachFailureStopsAtItsFileAndNamesIt) {
    const ModelFileNames f = ModelFiles(Surface::Turf);
    const std::vector<BrokenCase> cases = {
        {"missing codes", [&](ModelText&, const rwtest::AppFolder& a) { QFile::remove(a.file(f.codes)); }, f.codes,
         "missing"},
        {"short counts", [&](ModelText&, const rwtest::AppFolder& a) { a.write(f.totalData, "1,2,3"); }, f.totalData,
         "ends after 3 values"},
        {"count above 6000",
         [&](ModelText&, const rwtest::AppFolder& a) { a.write(f.totalData, "6001" + QByteArray(29 * 2, ',')); },
         f.totalData, "outside 0 to 6000"},
        {"count below 0", [&](ModelText&, const rwtest::AppFolder& a) { a.write(f.totalData, "-1,0,0"); },
         f.totalData, "outside 0 to 6000"},
        {"short pace file", [&](ModelText& t, const rwtest::AppFolder& a) { a.write(f.pace, t.pace.left(4)); },
         f.pace, "ends after"},
        {"weight not a number", [&](ModelText&, const rwtest::AppFolder& a) { a.write(f.soha, "1.5,abc,3"); },
         f.soha, "is not a number"},
        {"sample count not whole", [&](ModelText&, const rwtest::AppFolder& a) { a.write(f.sampleCounts, "1,2.5"); },
         f.sampleCounts, "not a whole number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ModelText t = text;
        t.write(app, Surface::Turf);
        c.breakIt(t, app);
        FactorModel m;
        const auto failure = LoadFactorModel(Surface::Turf, m);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->file, c.file);
        EXPECT_TRUE(failure->reason.contains(QString::fromUtf8(c.reason))) << failure->reason.toStdString();
        EXPECT_THROW(ReadFactorModel(Surface::Turf, m), rw::StepFailure);
    }
}

// A file that cannot be opened (a folder or a FIFO in its place) stops the
// load like a missing one, naming the file and the reason.
TEST_F(FactorModelLoad, AFileThatCannotBeOpenedStopsTheLoadAndIsNamed) {
    const ModelFileNames f = ModelFiles(Surface::Turf);
    struct Case {
        const char* name;
        QString file;
        std::function<bool(const QString& path)> put;
    };
    const Case cases[] = {
        {"a folder in place of the codes", f.codes, [](const QString& p) { return QDir().mkpath(p); }},
        {"a FIFO in place of the counts", f.totalData,
         [](const QString& p) { return mkfifo(QFile::encodeName(p).constData(), 0600) == 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rwtest::AppFolder own;
        text.write(own, Surface::Turf);
        ASSERT_TRUE(QFile::remove(own.file(c.file)));
        ASSERT_TRUE(c.put(own.file(c.file)));
        FactorModel m;
        std::optional<ModelLoadFailure> failure;
        EXPECT_NO_THROW(failure = LoadFactorModel(Surface::Turf, m));
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->file, c.file);
        EXPECT_TRUE(failure->reason.contains(QStringLiteral("not a regular file"))) << failure->reason.toStdString();
    }
}

TEST_F(FactorModelLoad, ValuesReadBeforeAFailureStay) {
    text.write(app, Surface::Turf);
    app.write(ModelFiles(Surface::Turf).sampleCounts, "5,6");
    FactorModel m;
    ASSERT_TRUE(LoadFactorModel(Surface::Turf, m));
    EXPECT_FLOAT_EQ(m.soha(30, 1), 30.001f);
    EXPECT_EQ(m.samples(1, 2), 6);
}

}  // namespace
