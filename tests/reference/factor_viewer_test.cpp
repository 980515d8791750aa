#include "reference/factor_viewer.h"

#include "support/recording_ui.h"
#include "common/skip.h"
#include "reference/factor_viewer_design.h"
#include "support/factor_package.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <functional>

#include <gtest/gtest.h>

using namespace rw::reference;
using rw::GridColor;
using rw::model::ModelFiles;
using rw::model::Surface;

namespace {

QString u8(const char* s) { return QString::fromUtf8(s); }

struct Loaded {
    explicit Loaded(Surface s) : surface(s), view(s) {}
    Surface surface;
    FactorViewerModels view;
    rw::RecordingUi ui;
    rw::SkipLog log{"viewer"};
    void load() { LoadFactorViewer(surface, ui, view, log); }
    const rw::GridModel& item(int k) const { return view.items[size_t(k)]; }
    QString box(int k) const {
        const QString b = FactorViewerDesign(surface).items[size_t(k)].textBox;
        return ui.texts.value(ViewerControl(surface, b));
    }
    bool logNames(const QString& what) const {
        for (const auto& s : log.skipped())
            if (QString::fromStdString(s).contains(what)) return true;
        return false;
    }
};

// A small package: item 1 one year, item 2 two codes, item 12 as the charts
// expect it (few categories), item 30 one code; the rest empty.
rwtest::FixturePackage smallPackage() {
    rwtest::FixturePackage p;
    p.add(1, "2019", "57.5", "56.25", "58.125", "1200");
    p.add(2, "01", "0.7", "0.125", "-0.0004", "0");
    p.add(2, "A1081", "56.789", "3.1", "0", "7");
    p.add(12, "127", "0.7", "-0.7", "3.1", "5");
    p.add(12, "128", "-3.1", "0.25", "-0.0", "6");
    p.add(30, "19", "1", "2", "3", "4");
    return p;
}

// ---------------------------------------------------------------- format

TEST(FactorViewerWeightText, FloorsToThreeDecimalsAsASingle) {
    struct Case {
        float w;
        const char* shown;
    };
    const Case cases[] = {
        {0.7f, "0.699"}, {0.125f, "0.125"},   {-0.0004f, "-0.001"}, {0.0f, "0"},
        {-0.0f, "0"},    {56.789f, "56.789"}, {3.1f, "3.099"},      {-2.5f, "-2.5"},
        {1.0f, "1"},     {0.0005f, "0"},      {-56.789f, "-56.79"}, {57.5f, "57.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(WeightText(c.w), QString::fromLatin1(c.shown));
    }
}

TEST(FactorViewerWeightText, TheChartTakesTheSingleAsItsTextGivesIt) {
    EXPECT_EQ(ChartValue(0.7f), 0.7);
    EXPECT_EQ(ChartValue(3.1f), 3.1);
    EXPECT_EQ(ChartValue(-0.0004f), -0.0004);
    EXPECT_EQ(ChartValue(0.0f), 0.0);
}

// ---------------------------------------------------------------- design

TEST(FactorViewerDesign, SurfacesDifferInWindowLegendAndCharts) {
    const ViewerDesign& t = FactorViewerDesign(Surface::Turf);
    const ViewerDesign& d = FactorViewerDesign(Surface::Dirt);
    const ViewerDesign& j = FactorViewerDesign(Surface::Jump);
    EXPECT_EQ(t.window, u8("FactorTURF"));
    EXPECT_EQ(d.window, u8("FactorDIRT"));
    EXPECT_EQ(j.window, u8("FactorHURD"));
    EXPECT_EQ(t.caption, u8("芝予想因子 Ver.2020.7.21"));
    EXPECT_EQ(d.caption, u8("ダート予想因子\u3000Ver.2020.7.21"));
    EXPECT_EQ(j.caption, u8("障害予想因子\u3000Ver.2020.7.21"));
    EXPECT_EQ(t.legendGrid, u8("TurfBonreiFG"));
    EXPECT_EQ(d.legendGrid, u8("DirtBonreiFG"));
    EXPECT_EQ(j.legendGrid, u8("shogBonreiFG"));
    EXPECT_EQ(t.innerTabs, u8("SSTab3"));
    EXPECT_EQ(j.innerTabs, u8("SSTab5"));
    EXPECT_EQ(t.innerCaptions[2], u8("馬齢（月齢）数値"));
    EXPECT_EQ(j.innerCaptions[2], u8("F12\u3000馬齢（月齢）数値"));
    EXPECT_EQ(t.maleChart, u8("MaleAgeChart"));
    EXPECT_EQ(d.femaleChart, u8("FemaleAgeChart"));
    EXPECT_EQ(j.maleChart, u8("MaleAgeShogChart"));
    EXPECT_EQ(j.femaleChart, u8("FemaleAgeShogChart"));
    EXPECT_EQ(t.chartRows, 33);
    EXPECT_EQ(j.chartRows, 20);
}

TEST(FactorViewerDesign, CaptionsKeepTheirOwnSpacesAndSigns) {
    const auto& t = FactorViewerDesign(Surface::Turf).items;
    const auto& d = FactorViewerDesign(Surface::Dirt).items;
    const auto& j = FactorViewerDesign(Surface::Jump).items;
    EXPECT_EQ(t[10].caption, u8("F10 負担重量％"));
    EXPECT_EQ(d[10].caption, u8("F10 負担重量%"));
    EXPECT_EQ(j[10].caption, u8("F10 負担重量％"));
    EXPECT_EQ(t[12].caption, u8("F12 馬齢（月齢）"));
    EXPECT_EQ(d[12].caption, u8("F12 馬齢(月齢）"));
    EXPECT_EQ(d[17].caption, u8("F17\u3000調教師アーニング"));
    EXPECT_EQ(t[24].caption, u8("F24\u3000馬番土日"));
    EXPECT_EQ(j[28].caption, u8("F28\u3000登録頭数"));
    EXPECT_EQ(j[1].caption, u8("F1 開催年度"));
    // Grid names and their exceptions.
    EXPECT_EQ(t[1].grid, u8("YearTurfFG"));
    EXPECT_EQ(d[1].grid, u8("YearDirtFG"));
    EXPECT_EQ(j[1].grid, u8("YearHurdFG"));
    EXPECT_EQ(t[2].grid, u8("KijunSpeedFG"));
    EXPECT_EQ(d[2].grid, u8("KijunSpeedDFG"));
    EXPECT_EQ(j[2].grid, u8("KijunSpeedHFG"));
    EXPECT_EQ(d[10].grid, u8("FutanjuuryorituDirtFG"));
    EXPECT_EQ(j[20].grid, u8("FatherArningHurdFG"));
    EXPECT_EQ(d[23].grid, u8("FatherFukushorituDirtFG"));
    EXPECT_EQ(j[12].grid, u8("BareiHurdFG"));
}

TEST(FactorViewerDesign, GridsAreDesignedTwoBySixSaveItemSixAndJumpItemTwenty) {
    struct Case {
        Surface s;
        int item, rows, cols, fixedRows, fixedCols;
    };
    const Case cases[] = {
        {Surface::Turf, 1, 2, 6, 1, 1},  {Surface::Turf, 6, 2, 6, 1, 0},  {Surface::Dirt, 6, 2, 7, 1, 0},
        {Surface::Jump, 6, 2, 7, 1, 1},  {Surface::Jump, 20, 2, 6, 1, 0}, {Surface::Turf, 20, 2, 6, 1, 1},
        {Surface::Dirt, 20, 2, 6, 1, 1}, {Surface::Dirt, 12, 2, 6, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.s) << " item " << c.item);
        const FactorViewerModels v(c.s);
        const rw::GridModel& g = v.items[size_t(c.item)];
        EXPECT_EQ(g.rows(), c.rows);
        EXPECT_EQ(g.cols(), c.cols);
        EXPECT_EQ(g.fixedRows(), c.fixedRows);
        EXPECT_EQ(g.fixedCols(), c.fixedCols);
    }
}

// ---------------------------------------------------------------- load

class FactorViewerLoad : public ::testing::Test {
protected:
    rwtest::AppFolder app;
};

TEST_F(FactorViewerLoad, FillsEachItemGridByTheRule) {
    smallPackage().write(app, Surface::Turf);
    Loaded v(Surface::Turf);
    v.load();
    EXPECT_TRUE(v.log.empty()) << v.log.skipped().front();
    const rw::GridModel& g = v.item(2);
    ASSERT_EQ(g.rows(), 3);
    const QStringList headers = {u8("コード番号"), u8("上がり速度"), u8("ペース速度"),
                                 u8("走破速度"),   u8("延出走数"),   u8("参照番地")};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(g.text(0, c), headers[c]);
    const QStringList row1 = {u8("01"), u8("0.699"), u8("0.125"), u8("-0.001"), u8("0"), u8("1")};
    const QStringList row2 = {u8("A1081"), u8("56.789"), u8("3.099"), u8("0"), u8("7"), u8("2")};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(g.text(1, c), row1[c]);
        EXPECT_EQ(g.text(2, c), row2[c]);
    }
    EXPECT_EQ(v.item(1).text(1, 1), u8("57.5"));
    EXPECT_EQ(v.item(1).text(1, 4), u8("1200"));
}

TEST_F(FactorViewerLoad, AnItemWithoutCategoriesShowsItsHeaderAlone) {
    smallPackage().write(app, Surface::Dirt);
    Loaded v(Surface::Dirt);
    v.load();
    for (int k : {3, 9, 10, 16, 29}) {
        SCOPED_TRACE(k);
        EXPECT_EQ(v.item(k).rows(), 1);
        EXPECT_EQ(v.item(k).text(0, 4), u8("延出走数"));
        EXPECT_EQ(v.item(k).text(0, 5), u8("参照番地"));
    }
}

TEST_F(FactorViewerLoad, ReferenceColumnIsThePositionWhateverTheCode) {
    rwtest::FixturePackage p;
    for (const char* code : {"99", "01", "001", " 7", "3"}) p.add(5, code);
    p.write(app, Surface::Turf);
    Loaded v(Surface::Turf);
    v.load();
    const rw::GridModel& g = v.item(5);
    ASSERT_EQ(g.rows(), 6);
    const char* codes[] = {"99", "01", "001", " 7", "3"};
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(g.text(r, 0), u8(codes[r - 1]));
        EXPECT_EQ(g.text(r, 5), QString::number(r));
    }
}

TEST_F(FactorViewerLoad, OnlyItemTwoSetsAWidth) {
    smallPackage().write(app, Surface::Jump);
    Loaded v(Surface::Jump);
    v.load();
    EXPECT_EQ(v.item(2).colWidth(0), 1200);
    for (int k = 1; k <= 30; ++k)
        for (int c = 0; c < v.item(k).cols(); ++c)
            if (k != 2 || c != 0) {
                EXPECT_EQ(v.item(k).colWidth(c), -1) << k << "," << c;
            }
}

TEST_F(FactorViewerLoad, TheJumpViewerShowsItsSohaWeightsThreeTimesAndItsLegend) {
    smallPackage().write(app, Surface::Jump);
    Loaded v(Surface::Jump);
    v.load();
    EXPECT_TRUE(v.log.empty());
    const rw::GridModel& g = v.item(2);
    for (int r = 1; r <= 2; ++r) {
        EXPECT_EQ(g.text(r, 1), g.text(r, 3));
        EXPECT_EQ(g.text(r, 2), g.text(r, 3));
    }
    EXPECT_EQ(g.text(1, 3), u8("-0.001"));
    const rw::GridModel& l = v.view.legend;
    EXPECT_EQ(l.rows(), 2);
    EXPECT_EQ(l.cols(), 4);
    EXPECT_EQ(l.fixedRows(), 1);
    EXPECT_EQ(l.fixedCols(), 1);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(l.text(0, c), u8("走破（１F平均）影響速度"));
    EXPECT_EQ(l.text(0, 3), u8("単位はKm/hr(時速)、3つにしているのは計算精度チェックの為"));
    EXPECT_EQ(l.back(0, 0), GridColor::rgb(0xFF0000));
    EXPECT_EQ(l.back(0, 1), GridColor::rgb(0x00FF00));
    EXPECT_EQ(l.back(0, 2), GridColor::rgb(0x0000FF));
    EXPECT_TRUE(l.back(0, 3).isStandard());
    EXPECT_TRUE(l.text(1, 0).isEmpty());
    const int widths[] = {2000, 2000, 2000, 6000};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(l.colWidth(c), widths[c]);
    // The three lines of each chart lie on one another.
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(v.view.maleChart.value(i, 1), v.view.maleChart.value(i, 3));
        EXPECT_EQ(v.view.maleChart.value(i, 2), v.view.maleChart.value(i, 3));
    }
}

TEST_F(FactorViewerLoad, TheTurfLegendNamesItsThreeSpeeds) {
    smallPackage().write(app, Surface::Turf);
    Loaded v(Surface::Turf);
    v.load();
    const rw::GridModel& l = v.view.legend;
    EXPECT_EQ(l.rows(), 1);
    EXPECT_EQ(l.fixedRows(), 0);
    EXPECT_EQ(l.fixedCols(), 0);
    EXPECT_EQ(l.text(0, 0), u8("上がり(ゴール前3F）影響速度"));
    EXPECT_EQ(l.text(0, 1), u8("ペース(スタートから3F地点）影響速度"));
    EXPECT_EQ(l.text(0, 2), u8("走破(スタートからゴール）影響速度"));
    EXPECT_EQ(l.text(0, 3), u8("縦軸の単位はKm/hr(時速)"));
    const int widths[] = {2500, 3000, 3000, 2500};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(l.colWidth(c), widths[c]);
    EXPECT_TRUE(l.back(0, 3).isStandard());
}

TEST_F(FactorViewerLoad, ChartsTakeTheWeightsUnflooredByPosition) {
    smallPackage().write(app, Surface::Turf);
    Loaded v(Surface::Turf);
    v.load();
    const rw::ChartModel& male = v.view.maleChart;
    ASSERT_EQ(male.rowCount(), 33);
    ASSERT_EQ(male.seriesCount(), 3);
    EXPECT_EQ(male.value(1, 1), 0.7);  // "0.699" in the grid
    EXPECT_EQ(v.item(12).text(1, 1), u8("0.699"));
    EXPECT_EQ(male.value(1, 2), -0.7);
    EXPECT_EQ(male.value(1, 3), 3.1);
    EXPECT_EQ(male.value(2, 1), -3.1);
    // Beyond item 12's two categories every row shows 0.
    for (int i = 3; i <= 33; ++i)
        for (int s = 1; s <= 3; ++s) EXPECT_EQ(male.value(i, s), 0.0);
    const rw::ChartModel& female = v.view.femaleChart;
    ASSERT_EQ(female.rowCount(), 33);
    for (int i = 1; i <= 33; ++i)
        for (int s = 1; s <= 3; ++s) EXPECT_EQ(female.value(i, s), 0.0);
    // A weight of 3.1 leaves the axis where it is fixed.
    for (const rw::ChartModel* c : {&male, &female}) {
        EXPECT_FALSE(c->autoScale());
        EXPECT_EQ(c->axisMinimum(), -2.5);
        EXPECT_EQ(c->axisMaximum(), 2.5);
        EXPECT_EQ(c->axisDivisions(), 10);
        EXPECT_EQ(c->rowLabel(1), u8("27"));
        EXPECT_EQ(c->rowLabel(33), u8("59"));
        EXPECT_EQ(c->seriesLabel(1), u8("上がり"));
        EXPECT_EQ(c->seriesLabel(2), u8("ペース"));
        EXPECT_EQ(c->seriesLabel(3), u8("走破"));
        EXPECT_EQ(c->seriesColor(1), 0xFF0000u);
        EXPECT_EQ(c->seriesColor(2), 0x00FF00u);
        EXPECT_EQ(c->seriesColor(3), 0x0000FFu);
    }
    // The item-12 grid shows exactly its categories.
    EXPECT_EQ(v.item(12).rows(), 3);
}

TEST_F(FactorViewerLoad, FemaleChartsReadFromCategoryThirtyFour) {
    struct Case {
        Surface s;
        int rows, firstAge;
    };
    for (const Case c : {Case{Surface::Turf, 33, 27}, Case{Surface::Dirt, 33, 27}, Case{Surface::Jump, 20, 40}}) {
        SCOPED_TRACE(int(c.s));
        rwtest::AppFolder folder;
        rwtest::FixturePackage p;
        // Category j has the weights j, -j, j / 10 (jump: j / 10 thrice).
        for (int j = 1; j <= 70; ++j)
            p.add(12, QByteArray::number(j), QByteArray::number(j), QByteArray::number(-j),
                  QByteArray::number(j / 10.0));
        p.write(folder, c.s);
        Loaded v(c.s);
        v.load();
        const rw::ChartModel& male = v.view.maleChart;
        const rw::ChartModel& female = v.view.femaleChart;
        ASSERT_EQ(male.rowCount(), c.rows);
        ASSERT_EQ(female.rowCount(), c.rows);
        for (int i = 1; i <= c.rows; ++i) {
            EXPECT_EQ(male.rowLabel(i), QString::number(c.firstAge - 1 + i));
            EXPECT_EQ(female.rowLabel(i), QString::number(c.firstAge - 1 + i));
            EXPECT_EQ(male.value(i, 3), i / 10.0);
            EXPECT_EQ(female.value(i, 3), (33 + i) / 10.0);
            if (c.s != Surface::Jump) {
                EXPECT_EQ(male.value(i, 1), double(i));
                EXPECT_EQ(female.value(i, 2), -double(33 + i));
            }
        }
    }
}

TEST_F(FactorViewerLoad, ATurfPackageShortOfSixtySixAgesGivesZeroBeyond) {
    rwtest::FixturePackage p;
    for (int j = 1; j <= 40; ++j) p.add(12, QByteArray::number(j), "1.5", "1.25", "1.125");
    p.write(app, Surface::Turf);
    Loaded v(Surface::Turf);
    v.load();
    const rw::ChartModel& female = v.view.femaleChart;
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(female.value(i, 1), 1.5);
    for (int i = 8; i <= 33; ++i)
        for (int s = 1; s <= 3; ++s) EXPECT_EQ(female.value(i, s), 0.0) << i;
}

struct TextCase {
    Surface s;
    int tab;
    const char* box;  // "" for none
    int text;         // E number; 0 for none
};

TEST_F(FactorViewerLoad, EachTabsTextGoesToTheBoxOnItsOwnTab) {
    // Every text box of every viewer, from the tables of the tabs.
    const int turf[31] = {0,  1, 2, 4, 5, 6, 7, 8, 9,  10, 11, 12, 13, 14, 15, 7,
                          16, 7, 7, 7, 7, 7, 0, 7, 17, 12, 12, 7,  18, 19, 20};
    const int jump[31] = {0,  1, 3, 4, 5, 6, 7, 8, 9,  10, 11, 12, 13, 14, 15, 0,
                          16, 7, 7, 7, 7, 0, 0, 7, 17, 12, 12, 0,  18, 19, 20};
    const char* explanations[21] = {nullptr};
    explanations[1] = "数値の単位は時速(Km/hr)です。所謂定数です。時速55Kmから58Km辺りの数字を示します。";
    explanations[7] =
        "数値の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど、能力、技量が高いと考えて下さい。";
    explanations[13] =
        "縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、単位は月齢"
        "です。27は満2歳3ヶ月を意味します。43以上は3ヶ月を単位としています。";
    explanations[18] =
        "縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、X軸は出走頭"
        "数xブリンカーです。頭数が多くなれば全体としては速度が速くなりますが、ペース速度と上がり速度は逆になります。";
    explanations[20] =
        "縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。X軸は生まれた月で"
        "す。";
    for (Surface s : rw::model::kSurfaces) {
        rwtest::AppFolder folder;
        smallPackage().write(folder, s);
        Loaded v(s);
        v.load();
        const ViewerDesign& d = FactorViewerDesign(s);
        for (int k = 1; k <= 30; ++k) {
            SCOPED_TRACE(testing::Message() << d.window.toStdString() << " F" << k);
            const int e = s == Surface::Jump ? jump[k] : (s == Surface::Dirt && k == 2) ? 3 : turf[k];
            const ItemTab& tab = d.items[size_t(k)];
            if (e == 0) {
                if (!tab.textBox.isEmpty()) {
                    EXPECT_FALSE(v.ui.texts.contains(ViewerControl(s, tab.textBox)));
                }
                continue;
            }
            ASSERT_FALSE(tab.textBox.isEmpty());
            EXPECT_FALSE(v.box(k).isEmpty());
            if (explanations[e]) {
                EXPECT_EQ(v.box(k), u8(explanations[e]));
            }
        }
        // Nothing else is written: one text per box that gets one.
        int expected = 0;
        for (int k = 1; k <= 30; ++k) expected += (s == Surface::Jump ? jump[k] : turf[k]) != 0;
        EXPECT_EQ(v.ui.textLog.size(), expected);
    }
}

TEST_F(FactorViewerLoad, TextBoxesByTabAsDesigned) {
    const TextCase cases[] = {
        {Surface::Turf, 1, "Text11", 1},   {Surface::Jump, 1, "Text1", 1},    {Surface::Turf, 2, "Text5", 2},
        {Surface::Dirt, 2, "Text5", 3},    {Surface::Jump, 2, "Text6", 3},    {Surface::Dirt, 10, "Text14", 11},
        {Surface::Dirt, 12, "Text6", 13},  {Surface::Jump, 12, "Text16", 13}, {Surface::Jump, 15, "", 0},
        {Surface::Jump, 21, "", 0},        {Surface::Jump, 27, "", 0},        {Surface::Turf, 22, "Text23", 0},
        {Surface::Jump, 22, "Text24", 0},  {Surface::Dirt, 28, "Text27", 18}, {Surface::Turf, 28, "Text25", 18},
        {Surface::Dirt, 30, "Text25", 20}, {Surface::Turf, 30, "Text27", 20}, {Surface::Jump, 30, "Text8", 20},
    };
    for (const TextCase& c : cases) {
        const ItemTab& tab = FactorViewerDesign(c.s).items[size_t(c.tab)];
        SCOPED_TRACE(tab.caption.toStdString());
        EXPECT_EQ(tab.textBox, u8(c.box));
        EXPECT_EQ(tab.text.isEmpty(), c.text == 0);
    }
}

TEST_F(FactorViewerLoad, ItemTwelvesTextComesAfterTheChartsBetweenItemsElevenAndThirteen) {
    smallPackage().write(app, Surface::Turf);
    Loaded v(Surface::Turf);
    v.load();
    const QStringList& log = v.ui.textLog;
    auto at = [&](const char* box) {
        for (qsizetype i = 0; i < log.size(); ++i)
            if (log[i].startsWith(u8("FactorTURF.") + u8(box) + u8(":"))) return i;
        return qsizetype(-1);
    };
    EXPECT_LT(at("Text29"), at("Text6"));  // F11 before F12
    EXPECT_LT(at("Text6"), at("Text30"));  // F12 before F13
}

TEST_F(FactorViewerLoad, EveryLoadReadsTheFilesAfresh) {
    smallPackage().write(app, Surface::Turf);
    {
        Loaded v(Surface::Turf);
        v.load();
        EXPECT_EQ(v.item(2).text(1, 1), u8("0.699"));
    }
    rwtest::FixturePackage changed = smallPackage();
    changed.items[2][0].agari = "1.5";
    changed.write(app, Surface::Turf);
    Loaded v(Surface::Turf);
    v.load();
    EXPECT_EQ(v.item(2).text(1, 1), u8("1.5"));
}

// ---------------------------------------------------------------- bad input

struct BadCase {
    const char* name;
    Surface s;
    std::function<void(const rwtest::AppFolder&)> breakIt;  // after the small package is written
    std::function<void(const Loaded&)> check;               // what is still shown
    const char* named;                                      // in the log
};

TEST_F(FactorViewerLoad, BadPackagesOpenAndShowWhatCouldBeRead) {
    const auto t = ModelFiles(Surface::Turf);
    const auto j = ModelFiles(Surface::Jump);
    const rwtest::FixturePackage small = smallPackage();
    auto counts = [](const char* first) {
        QByteArray c = first;
        for (int k = 2; k <= 30; ++k) c += ",0";
        return c;
    };
    const std::vector<BadCase> cases = {
        {"counts file missing", Surface::Turf, [&](const auto& a) { QFile::remove(a.file(t.totalData)); },
         [](const Loaded& v) {
             for (int k = 1; k <= 30; ++k) EXPECT_EQ(v.item(k).rows(), 1);
             EXPECT_EQ(v.view.maleChart.rowCount(), 33);
         },
         "QA1SibaTotalData201401N2018.dat: missing: its 30 values shown empty or 0"},
        {"codes file missing", Surface::Turf, [&](const auto& a) { QFile::remove(a.file(t.codes)); },
         [](const Loaded& v) {
             EXPECT_EQ(v.item(2).rows(), 3);
             EXPECT_TRUE(v.item(2).text(1, 0).isEmpty());
             EXPECT_EQ(v.item(2).text(1, 1), u8("0.699"));
             EXPECT_EQ(v.item(2).text(2, 5), u8("2"));
         },
         "SibaItemCategory201401N2018.dat: missing: its 6 values"},
        {"pace file missing", Surface::Turf, [&](const auto& a) { QFile::remove(a.file(t.pace)); },
         [](const Loaded& v) {
             EXPECT_EQ(v.item(2).text(1, 0), u8("01"));
             EXPECT_EQ(v.item(2).text(1, 2), u8("0"));
             EXPECT_EQ(v.item(2).text(1, 1), u8("0.699"));
         },
         "QA1SibaPaceWeightData201401N2018.dat: missing"},
        {"jump soha file missing", Surface::Jump, [&](const auto& a) { QFile::remove(a.file(j.soha)); },
         [](const Loaded& v) {
             EXPECT_EQ(v.item(2).text(2, 0), u8("A1081"));
             EXPECT_EQ(v.item(2).text(2, 4), u8("7"));
             EXPECT_EQ(v.item(2).text(2, 3), u8("0"));
         },
         "QA1ShogSohaWeightData201401N2018.dat: missing"},
        {"sample file unreadable", Surface::Turf,
         [&](const auto& a) {
             QFile::remove(a.file(t.sampleCounts));
             QDir().mkpath(a.file(t.sampleCounts));
         },
         [](const Loaded& v) {
             EXPECT_EQ(v.item(2).text(2, 4), u8("0"));
             EXPECT_EQ(v.item(2).text(2, 1), u8("56.789"));
         },
         "SibaItemCategoryCount201401N2018.dat: unreadable ("},
        {"counts file short", Surface::Turf, [&](const auto& a) { a.write(t.totalData, "1,2"); },
         [](const Loaded& v) {
             EXPECT_EQ(v.item(1).rows(), 2);
             EXPECT_EQ(v.item(2).rows(), 3);
             EXPECT_EQ(v.item(12).rows(), 1);
         },
         "value missing"},
        {"a count not a number", Surface::Turf, [&](const auto& a) { a.write(t.totalData, counts("x")); },
         [](const Loaded& v) { EXPECT_EQ(v.item(1).rows(), 1); }, "not a number"},
        {"a negative count", Surface::Turf, [&](const auto& a) { a.write(t.totalData, counts("-3")); },
         [](const Loaded& v) { EXPECT_EQ(v.item(1).rows(), 1); }, "not a whole number from 0 to 6000"},
        {"a count above 6000 beyond the files", Surface::Turf,
         [&](const auto& a) { a.write(t.totalData, counts("6001")); },
         [](const Loaded& v) {
             // The files hold six values: item 1 takes all of them.
             EXPECT_EQ(v.item(1).rows(), 7);
             EXPECT_EQ(v.item(1).text(6, 0), u8("19"));
             EXPECT_EQ(v.item(1).text(6, 5), u8("6"));
         },
         "a count above 6000"},
        {"a hostile count", Surface::Dirt,
         [&](const auto& a) { a.write(ModelFiles(Surface::Dirt).totalData, counts("2000000000")); },
         [](const Loaded& v) { EXPECT_EQ(v.item(1).rows(), 7); }, "its files hold 6 more values"},
        {"codes file short", Surface::Turf, [&](const auto& a) { a.write(t.codes, "\"2019\",\"01\""); },
         [](const Loaded& v) {
             EXPECT_EQ(v.item(2).text(1, 0), u8("01"));
             EXPECT_TRUE(v.item(2).text(2, 0).isEmpty());
             EXPECT_EQ(v.item(2).text(2, 1), u8("56.789"));
             EXPECT_EQ(v.item(30).rows(), 2);
             EXPECT_EQ(v.item(30).text(1, 3), u8("3"));
         },
         "value missing (the file ends after 2 values)"},
        {"a weight not a number", Surface::Turf, [&](const auto& a) { a.write(t.agari, "57.5,abc,56.789,0.7,-3.1,1"); },
         [](const Loaded& v) {
             EXPECT_EQ(v.item(2).text(1, 1), u8("0"));
             EXPECT_EQ(v.item(2).text(2, 1), u8("56.789"));
             EXPECT_EQ(v.view.maleChart.value(1, 1), 0.7);
         },
         "QA1SibaAgariWeightData201401N2018.dat: not a number, read as 0 from value 2 on, 1 in all"},
        {"a weight beyond a Single", Surface::Turf, [&](const auto& a) { a.write(t.soha, "1e60,1,2,3,4,5"); },
         [](const Loaded& v) {
             EXPECT_EQ(v.item(1).text(1, 3), u8("0"));
             EXPECT_EQ(v.item(2).text(1, 3), u8("1"));
         },
         "beyond a Single"},
        {"a sample count not a whole number", Surface::Turf,
         [&](const auto& a) { a.write(t.sampleCounts, "1200,x,7.5,5,6,4e12"); },
         [](const Loaded& v) {
             EXPECT_EQ(v.item(1).text(1, 4), u8("1200"));
             EXPECT_EQ(v.item(2).text(1, 4), u8("0"));
             EXPECT_EQ(v.item(2).text(2, 4), u8("0"));
             EXPECT_EQ(v.item(12).text(1, 4), u8("5"));
             EXPECT_EQ(v.item(30).text(1, 4), u8("0"));
         },
         "a sample count that is not a 32-bit whole number"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        rwtest::AppFolder folder;
        small.write(folder, c.s);
        c.breakIt(folder);
        Loaded v(c.s);
        ASSERT_NO_THROW(v.load());
        c.check(v);
        EXPECT_TRUE(v.logNames(u8(c.named)));
        // The rest is shown: the legend and the explanation texts.
        EXPECT_FALSE(v.view.legend.text(0, 0).isEmpty());
        EXPECT_FALSE(v.box(1).isEmpty());
        EXPECT_EQ(v.view.femaleChart.axisMaximum(), 2.5);
    }
}

TEST_F(FactorViewerLoad, AFullCapacityPackageLoadsEveryCategory) {
    rwtest::writeFullPackage(app, 6000);
    Loaded v(Surface::Dirt);
    v.load();
    EXPECT_TRUE(v.log.empty());
    for (int k = 1; k <= 30; ++k) EXPECT_EQ(v.item(k).rows(), 6001);
    EXPECT_EQ(v.item(30).text(6000, 0), u8("6000"));
    EXPECT_EQ(v.item(30).text(1, 0), u8("0001"));
    EXPECT_EQ(v.item(30).text(6000, 5), u8("6000"));
}

}  // namespace
