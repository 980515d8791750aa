// The three model-weight viewers through the window-less driver on the
// typical sample package: the menu's buttons, every tab's caption and text,
// the legends, the item grids' layout and both age charts, the glyph check,
// and a second press after closing.
#include "sample/generator.h"
#include "support/driver.h"
#include "support/test_support.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using rwtest::runPress;

namespace {

QString u8(const char* s) { return QString::fromUtf8(s); }

QTemporaryDir* dir = nullptr;
rwtest::PressResult viewers;

const char* kWindows[] = {"FactorTURF", "FactorDIRT", "FactorHURD"};

class FactorEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new QTemporaryDir;
        rw::sample::Options o;
        o.scale = rw::sample::Scale::Typical;
        o.scenario = rw::sample::Scenario::Friday;
        rw::sample::generate(o, dir->path());
        QStringList args = {QStringLiteral("Command5"), QStringLiteral("Command9"), QStringLiteral("Command10"),
                            // Named here so that their text boxes are printed.
                            QStringLiteral("FactorTURF.SSTab1=2"), QStringLiteral("FactorDIRT.SSTab1=2"),
                            QStringLiteral("FactorHURD.SSTab1=2")};
        const std::pair<const char*, QStringList> printed[] = {
            {"FactorTURF", {"SSTab1", "SSTab3", "TurfBonreiFG", "KijunSpeedFG", "MaleAgeChart", "FemaleAgeChart"}},
            {"FactorDIRT", {"SSTab1", "SSTab3", "DirtBonreiFG", "KyosokigoDirtFG", "FemaleAgeChart"}},
            {"FactorHURD",
             {"SSTab1", "SSTab5", "shogBonreiFG", "KijunSpeedHFG", "MaleAgeShogChart", "FemaleAgeShogChart"}},
        };
        for (const auto& [w, controls] : printed) {
            const QString win = QString::fromLatin1(w);
            args << QStringLiteral("--glyph-check") << win;
            for (const QString& c : controls) {
                args << QStringLiteral("--print") << win + QLatin1Char('.') + c;
                if (c.endsWith(QLatin1String("FG"))) args << QStringLiteral("--layout") << win + QLatin1Char('.') + c;
            }
        }
        viewers = runPress(dir->path(), args);
    }
    static void TearDownTestSuite() { delete dir; }
};

TEST_F(FactorEndToEnd, EveryViewerOpensWithoutASkip) {
    ASSERT_EQ(viewers.exitCode, 0) << viewers.err.toStdString();
    EXPECT_FALSE(viewers.err.contains(QLatin1String("skipped"))) << viewers.err.toStdString();
}

TEST_F(FactorEndToEnd, TabsCarryTheirCaptionsAndF2IsInFront) {
    const struct {
        const char* tag;
        const char* caption;
    } cases[] = {
        {"FactorTURF.SSTab1(10)", "F10 負担重量％"},
        {"FactorDIRT.SSTab1(10)", "F10 負担重量%"},
        {"FactorDIRT.SSTab1(12)", "F12 馬齢(月齢）"},
        {"FactorDIRT.SSTab1(28)", "F28 出走頭数"},
        {"FactorHURD.SSTab1(2)", "F2 場所距離TC"},
        {"FactorHURD.SSTab1(15)", "F15 前前走オッズ"},
        {"FactorHURD.SSTab1(21)", "F21 レース番号"},
        {"FactorHURD.SSTab1(27)", "F27 回次日次"},
        {"FactorHURD.SSTab1(28)", "F28\u3000登録頭数"},
        {"FactorTURF.SSTab3(3)", "馬齢（月齢）数値"},
        {"FactorHURD.SSTab5(3)", "F12\u3000馬齢（月齢）数値"},
        {"FactorTURF.SSTab1", "front 2"},
        {"FactorHURD.SSTab1", "front 2"},
        {"FactorTURF.SSTab3", "front 3"},
        {"FactorHURD.SSTab5", "front 3"},
    };
    for (const auto& c : cases) EXPECT_EQ(viewers.line(u8(c.tag)), u8(c.caption)) << c.tag;
}

TEST_F(FactorEndToEnd, TextBoxesShowTheirItemsTexts) {
    const QString e3 =
        u8("縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、中山"
           "ダート1200ｍが非常に特異なコースである事が分かると思います。");
    const QString e18 =
        u8("縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、X軸は出"
           "走頭数xブリンカーです。頭数が多くなれば全体としては速度が速くなりますが、ペース速度と上がり速度は逆にな"
           "ります。");
    const QString e20 =
        u8("縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。X軸は生まれた"
           "月です。");
    EXPECT_EQ(viewers.line(u8("FactorDIRT.Text5")), e3);
    EXPECT_EQ(viewers.line(u8("FactorHURD.Text6")), e3);
    EXPECT_EQ(viewers.line(u8("FactorDIRT.Text27")), e18);  // F28
    EXPECT_EQ(viewers.line(u8("FactorTURF.Text25")), e18);
    EXPECT_EQ(viewers.line(u8("FactorDIRT.Text25")), e20);  // F30
    EXPECT_EQ(viewers.line(u8("FactorHURD.Text8")), e20);
    // F22 stays empty everywhere.
    EXPECT_EQ(viewers.line(u8("FactorTURF.Text23")), QString());
    EXPECT_EQ(viewers.line(u8("FactorDIRT.Text23")), QString());
    EXPECT_EQ(viewers.line(u8("FactorHURD.Text24")), QString());
    EXPECT_FALSE(viewers.line(u8("FactorTURF.Text23")).isNull());
    // The jump viewer's tabs F15, F21 and F27 hold no box: 27 boxes in all.
    EXPECT_EQ(viewers.out.count(QLatin1String("\nFactorHURD.Text")), 27);
    EXPECT_EQ(viewers.out.count(QLatin1String("\nFactorTURF.Text")), 30);
}

TEST_F(FactorEndToEnd, LegendsAndGridLayouts) {
    EXPECT_EQ(viewers.line(u8("FactorHURD.shogBonreiFG")),
              u8("rows 2, cols 4, fixed rows 1, fixed cols 1, widths 2000 2000 2000 6000"));
    EXPECT_EQ(viewers.line(u8("FactorHURD.shogBonreiFG(0,0)")), u8("走破（１F平均）影響速度\t#FF0000"));
    EXPECT_EQ(viewers.line(u8("FactorHURD.shogBonreiFG(0,2)")), u8("走破（１F平均）影響速度\t#0000FF"));
    EXPECT_EQ(viewers.line(u8("FactorTURF.TurfBonreiFG")),
              u8("rows 1, cols 4, fixed rows 0, fixed cols 0, widths 2500 3000 3000 2500"));
    EXPECT_TRUE(viewers.line(u8("FactorTURF.KijunSpeedFG")).endsWith(u8("widths 1200 -1 -1 -1 -1 -1")));
    EXPECT_TRUE(viewers.line(u8("FactorDIRT.KyosokigoDirtFG")).contains(u8("cols 7, fixed rows 1, fixed cols 0")));
    EXPECT_EQ(viewers.line(u8("FactorTURF.KijunSpeedFG(0,5)")), u8("参照番地"));
    EXPECT_EQ(viewers.line(u8("FactorTURF.KijunSpeedFG(1,5)")), u8("1"));
    // The jump grid's three weight columns agree.
    for (int r = 1; r <= 5; ++r) {
        const QString at = QStringLiteral("FactorHURD.KijunSpeedHFG(%1,").arg(r);
        EXPECT_EQ(viewers.line(at + u8("1)")), viewers.line(at + u8("3)")));
        EXPECT_EQ(viewers.line(at + u8("2)")), viewers.line(at + u8("3)")));
    }
}

TEST_F(FactorEndToEnd, AgeChartsTakeTheFirstSixtySixAgesOnAFixedAxis) {
    for (const char* chart : {"FactorTURF.MaleAgeChart", "FactorDIRT.FemaleAgeChart", "FactorHURD.MaleAgeShogChart"}) {
        SCOPED_TRACE(chart);
        const QString at = u8(chart) + QStringLiteral(": ");
        EXPECT_TRUE(viewers.out.contains(at + u8("axis -2.5 to 2.5 in 10 divisions (fixed)")));
        EXPECT_TRUE(viewers.out.contains(at + u8("series 1 \"上がり\" #FF0000")));
        EXPECT_TRUE(viewers.out.contains(at + u8("series 3 \"走破\" #0000FF")));
    }
    EXPECT_TRUE(viewers.out.contains(u8("FactorTURF.MaleAgeChart: type line2d, rows 33, series 3")));
    EXPECT_TRUE(viewers.out.contains(u8("FactorHURD.FemaleAgeShogChart: type line2d, rows 20, series 3")));
    // The sample's youngest male age lies beyond the axis and stays as it is.
    EXPECT_TRUE(viewers.out.contains(u8("FactorTURF.MaleAgeChart: row 1 \"27\": 2.8, -2.9, 2.6")));
    EXPECT_TRUE(viewers.out.contains(u8("FactorHURD.MaleAgeShogChart: row 1 \"40\": 2.6, 2.6, 2.6")));
    EXPECT_TRUE(viewers.out.contains(u8("FactorTURF.FemaleAgeChart: row 33 \"59\": -2.7, 2.65, -2.55")));
    EXPECT_TRUE(viewers.out.contains(u8("FactorHURD.MaleAgeShogChart: row 20 \"59\": ")));
}

TEST_F(FactorEndToEnd, NoJapaneseTextIsDrawnAsTheMissingGlyphBox) {
    for (const char* w : kWindows) {
        EXPECT_TRUE(viewers.out.contains(QStringLiteral("GlyphCheck: %1 ").arg(u8(w)))) << w;
    }
    EXPECT_FALSE(viewers.out.contains(u8("MissingGlyph:"))) << viewers.out.toStdString();
    EXPECT_EQ(viewers.out.count(QRegularExpression(QStringLiteral("GlyphCheck: Factor\\w+ \\d+ texts, 0 missing"))), 3);
}

TEST_F(FactorEndToEnd, ClosingAViewerLetsTheNextPressReadAgain) {
    const rwtest::PressResult r = runPress(
        dir->path(), {QStringLiteral("Command5"), QStringLiteral("--close"), QStringLiteral("FactorTURF"),
                      QStringLiteral("Command5"), QStringLiteral("--print"), QStringLiteral("FactorTURF.SSTab1")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.line(u8("FactorTURF.SSTab1")), u8("front 2"));
}

}  // namespace
