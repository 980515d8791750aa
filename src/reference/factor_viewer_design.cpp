#include "reference/factor_viewer_design.h"

namespace rw::reference {

namespace {

using model::kItemCount;
using model::Surface;

QString q(const char16_t* s) { return s ? QString::fromUtf16(s) : QString(); }

// One tab of the table below: caption, grid, text box ("" where the tab has
// none) and the number of its explanation text (0 for none).
struct RawTab {
    const char16_t* caption;
    const char16_t* grid;
    const char16_t* box;
    int text;
};

// The explanation texts E1 to E20.
// clang-format off
const char16_t* const kExplanations[21] = {
    nullptr,
    /* E1 */ u"数値の単位は時速(Km/hr)です。所謂定数です。時速55Kmから58Km辺りの数字を示します。",
    /* E2 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、X軸は馬番です。新潟直線1000ｍについてはトラックコードの代わりに馬番を使用しています。",
    /* E3 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、中山ダート1200ｍが非常に特異なコースである事が分かると思います。",
    /* E4 */ u"数値の単位は時速(Km/hr)です。",
    /* E5 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、X軸はハンデキャップ(kg)です。",
    /* E6 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。X軸は平均本賞金の対数(常用対数）です。なお、00は初出走から連続2回勝てなかった馬、03は3回、04は4回、05は5回連続で本賞金が無かった馬となります。",
    /* E7 */ u"数値の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど、能力、技量が高いと考えて下さい。",
    /* E8 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。全体としては前走のコーナー順位を表します。一桁目は3コーナー先行したか後方に控えたかを表し、2桁目は4コーナー（最終）を先行したか後方にいたかを表します。3桁目は入線順位が上位か中位か下位かを表します。",
    /* E9 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、雨が重複していますが、右端の雨は小雨を意味します。また雪なども有りますが例数が少ないため省略しました。",
    /* E10 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。X軸はレース経験数（累積レース数）です。",
    /* E11 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、X軸は馬体重と負担重量の合計に対して負担重量の占める割合(%)です。",
    /* E12 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。",
    /* E13 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、単位は月齢です。27は満2歳3ヶ月を意味します。43以上は3ヶ月を単位としています。",
    /* E14 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。上位2桁が実日数、下位二桁は季節です",
    /* E15 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、連は連闘を意味します。02は中2週を、03は中3週を以下同様、27は中27週以上も含みます。スケールは天候馬場状態に合わせて有ります。また長期休養明けなども有りますが、例数が少ないため省略しました。",
    /* E16 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、ポイントは前走からの経過日数（レース間隔）で馬体重増減（Kg)を除したもので１日辺り333ｇが相当します。",
    /* E17 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、98はサンプルが一頭の為値の振れが大きくなっています。なお意味は９歳で第8子となります。",
    /* E18 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。なお、X軸は出走頭数xブリンカーです。頭数が多くなれば全体としては速度が速くなりますが、ペース速度と上がり速度は逆になります。",
    /* E19 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。X軸は前走1着馬とのタイム差ですが、-（マイナス）の場合は2着馬とのタイム差となります。",
    /* E20 */ u"縦軸の単位は時速(Km/hr)です。基本的な理解としては数値が大きいほど影響度が強いと考えて下さい。X軸は生まれた月です。",
};
// clang-format on

// Tabs F1 to F30 of each viewer.
const RawTab kTurfTabs[kItemCount + 1] = {
    {},
    {u"F1 開催年", u"YearTurfFG", u"Text11", 1},
    {u"F2 場所TC距離仮柵回次", u"KijunSpeedFG", u"Text5", 2},
    {u"F3 前走距離長短・格", u"ZensoKyoriCornerTurfFG", u"Text28", 4},
    {u"F4 負担重量", u"FutanjuryouTurfFG", u"Text13", 5},
    {u"F5 累計本賞金", u"RuikeiHonshokinTurfFG", u"Text12", 6},
    {u"F6 馬競走記号", u"KyosokigoTurfFG", u"Text1", 7},
    {u"F7 騎手複勝率", u"KishuFukushoTurfFG", u"Text24", 8},
    {u"F8 競走馬複勝率", u"KyosobaFukushorituTurfFG", u"Text2", 9},
    {u"F9 経験レース数", u"RaceSuuTurfFG", u"Text15", 10},
    {u"F10 負担重量％", u"FutanJuuryorituTurfFG", u"Text14", 11},
    {u"F11 馬体重", u"BataijuuTurfFG", u"Text29", 12},
    {u"F12 馬齢（月齢）", u"BareiTurfFG", u"Text6", 13},
    {u"F13 騎手アーニング", u"KishuArningTurfFG", u"Text30", 14},
    {u"F14 移動競走間隔", u"RaceKankakuTurfFG", u"Text3", 15},
    {u"F15 前前走オッズ", u"ZenzenOzzTurfFG", u"Text18", 7},
    {u"F16 天候馬場状態", u"TenkoBabaTurfFG", u"Text19", 16},
    {u"F17 調教師アーニング", u"ChoArningTurfFG", u"Text21", 7},
    {u"F18 騎手年齢", u"KishuNenreiTurfFG", u"Text7", 7},
    {u"F19 調教師複勝率", u"TrainerTurfFG", u"Text8", 7},
    {u"F20 種牡馬アーニング", u"FatherTurfFG", u"Text9", 7},
    {u"F21 レース番号", u"RaceNoTurfFG", u"Text10", 7},
    {u"F22 前前走着差", u"ZenzensoChakusaTurfFG", u"Text23", 0},
    {u"F23 父馬(種牡馬・距離）", u"FFatherTurfFG", u"Text22", 7},
    {u"F24　馬番土日", u"UmabanTurfFG", u"Text31", 17},
    {u"F25 馬記号誕生月", u"UmakigoTukiTurfFG", u"Text32", 12},
    {u"F26 前走タイム差", u"ZensoTimediffTurfFG", u"Text33", 12},
    {u"F27 日次", u"NichijiTurfFG", u"Text4", 7},
    {u"F28 出走頭数", u"ShussoTosuTurfFG", u"Text25", 18},
    {u"F29 前走3Fラップ比", u"LapTurfFG", u"Text26", 19},
    {u"F30 馬主アーニング", u"BanusiArningTurfFG", u"Text27", 20},
};
const RawTab kDirtTabs[kItemCount + 1] = {
    {},
    {u"F1 開催年", u"YearDirtFG", u"Text11", 1},
    {u"F2 場所TC距離回次", u"KijunSpeedDFG", u"Text5", 3},
    {u"F3 前走距離長短・格", u"ZensoKyoriCornerDirtFG", u"Text28", 4},
    {u"F4 負担重量", u"FutanjuryouDirtFG", u"Text13", 5},
    {u"F5 累計本賞金", u"RuikeiHonshokinDirtFG", u"Text12", 6},
    {u"F6 馬競走記号", u"KyosokigoDirtFG", u"Text1", 7},
    {u"F7 騎手複勝率", u"KishuFukushoDirtFG", u"Text24", 8},
    {u"F8 競走馬複勝率", u"KyosobaFukushorituDirtFG", u"Text2", 9},
    {u"F9 経験レース数", u"RaceSuuDirtFG", u"Text15", 10},
    {u"F10 負担重量%", u"FutanjuuryorituDirtFG", u"Text14", 11},
    {u"F11 馬体重", u"BataijuuDirtFG", u"Text29", 12},
    {u"F12 馬齢(月齢）", u"BareiDirtFG", u"Text6", 13},
    {u"F13 騎手アーニング", u"KishuArningDirtFG", u"Text30", 14},
    {u"F14 移動競走間隔", u"RaceKankakuDirtFG", u"Text3", 15},
    {u"F15 前前走オッズ", u"ZenzenOzzDirtFG", u"Text18", 7},
    {u"F16 天候馬場状態", u"TenkoBabaDirtFG", u"Text19", 16},
    {u"F17　調教師アーニング", u"ChoArningDirtFG", u"Text21", 7},
    {u"F18 騎手年齢", u"KishuNenreiDirtFG", u"Text7", 7},
    {u"F19 調教師複勝率", u"TrainerDirtFG", u"Text8", 7},
    {u"F20 種牡馬アーニング", u"FatherArningDirtFG", u"Text9", 7},
    {u"F21 レース番号", u"RaceNoDirtFG", u"Text10", 7},
    {u"F22 前前走着差", u"ZenzensoChakusaDirtFG", u"Text23", 0},
    {u"F23 種牡馬複勝率", u"FatherFukushorituDirtFG", u"Text22", 7},
    {u"F24　馬番土日", u"UmabanDirtFG", u"Text31", 17},
    {u"F25 馬記号誕生月", u"UmakigoTukiDirtFG", u"Text32", 12},
    {u"F26 前走タイム差", u"ZensoTimediffDirtFG", u"Text33", 12},
    {u"F27 日次", u"NichijiDirtFG", u"Text4", 7},
    {u"F28 出走頭数", u"ShussoTosuDirtFG", u"Text27", 18},
    {u"F29 前走3Fタイム比", u"LapDirtFG", u"Text26", 19},
    {u"F30 馬主アーニング", u"BanusiArningDirtFG", u"Text25", 20},
};
const RawTab kJumpTabs[kItemCount + 1] = {
    {},
    {u"F1 開催年度", u"YearHurdFG", u"Text1", 1},
    {u"F2 場所距離TC", u"KijunSpeedHFG", u"Text6", 3},
    {u"F3 前走距離乖離・格", u"ZensoKyoriCornerHurdFG", u"Text7", 4},
    {u"F4　負担重量", u"FutanjuryouHurdFG", u"Text11", 5},
    {u"F5 本賞金", u"RuikeiHonshokinHurdFG", u"Text3", 6},
    {u"F6　馬競走記号", u"KyosokigoHurdFG", u"Text12", 7},
    {u"F7　騎手複勝率", u"KishuFukushoHurdFG", u"Text13", 8},
    {u"F8 競走馬複勝率", u"KyosobaFukushorituHurdFG", u"Text2", 9},
    {u"F9 経験レース数", u"RaceSuuHurdFG", u"Text14", 10},
    {u"F10 負担重量％", u"FutanjuuryorituHurdFG", u"Text15", 11},
    {u"F11 馬体重", u"BataijuuHurdFG", u"Text17", 12},
    {u"F12 馬齢（月齢）", u"BareiHurdFG", u"Text16", 13},
    {u"F13 騎手アーニング", u"KishuArningHurdFG", u"Text18", 14},
    {u"F14 移動競走間隔", u"RaceKankakuHurdFG", u"Text19", 15},
    {u"F15 前前走オッズ", u"ZenzenOzzHurdFG", u"", 0},
    {u"F16 天候馬場状態", u"TenkoBabaHurdFG", u"Text20", 16},
    {u"F17 調教師アーニング", u"ChoArningHurdFG", u"Text21", 7},
    {u"F18 騎手年齢", u"KishuNenreiHurdFG", u"Text22", 7},
    {u"F19 調教師複勝率", u"TrainerHurdFG", u"Text23", 7},
    {u"F20　種牡馬アーニング", u"FatherArningHurdFG", u"Text10", 7},
    {u"F21 レース番号", u"RaceNoHurdFG", u"", 0},
    {u"F22 前前走着差", u"ZenzensoChakusaHurdFG", u"Text24", 0},
    {u"F23　種牡馬複勝率", u"FatherFukushorituHurdFG", u"Text9", 7},
    {u"F24 馬番", u"UmabanHurdFG", u"Text5", 17},
    {u"F25 馬記号誕生月", u"UmakigoTukiHurdFG", u"Text4", 12},
    {u"F26 前走タイム差", u"ZensoTimediffHurdFG", u"Text25", 12},
    {u"F27 回次日次", u"NichijiHurdFG", u"", 0},
    {u"F28　登録頭数", u"ShussoTosuHurdFG", u"Text26", 18},
    {u"F29 前走Fタイム比", u"LapHurdFG", u"Text27", 19},
    {u"F30 馬主アーニング", u"BanusiArningHurdFG", u"Text8", 20},
};

ViewerDesign build(Surface s) {
    const bool jump = s == Surface::Jump;
    ViewerDesign d;
    d.surface = s;
    d.outerTabs = QStringLiteral("SSTab1");
    const RawTab* tabs = kTurfTabs;
    switch (s) {
    case Surface::Turf:
        d.window = QStringLiteral("FactorTURF");
        d.caption = q(u"芝予想因子 Ver.2020.7.21");
        d.legendGrid = QStringLiteral("TurfBonreiFG");
        break;
    case Surface::Dirt:
        d.window = QStringLiteral("FactorDIRT");
        d.caption = q(u"ダート予想因子　Ver.2020.7.21");
        d.legendGrid = QStringLiteral("DirtBonreiFG");
        tabs = kDirtTabs;
        break;
    case Surface::Jump:
        d.window = QStringLiteral("FactorHURD");
        d.caption = q(u"障害予想因子　Ver.2020.7.21");
        d.legendGrid = QStringLiteral("shogBonreiFG");
        tabs = kJumpTabs;
        break;
    }
    if (jump) {
        d.legendDesign = {2, 4, 1, 1};
        d.legendWidths = {2000, 2000, 2000, 6000};
        const QString soha = q(u"走破（１F平均）影響速度");
        d.legendTexts = {soha, soha, soha, q(u"単位はKm/hr(時速)、3つにしているのは計算精度チェックの為")};
        d.innerTabs = QStringLiteral("SSTab5");
        d.innerCaptions = {q(u"牡馬"), q(u"牝馬"), q(u"F12　馬齢（月齢）数値")};
        d.maleChart = QStringLiteral("MaleAgeShogChart");
        d.femaleChart = QStringLiteral("FemaleAgeShogChart");
        d.chartRows = 20;
        d.firstAge = 40;
    } else {
        d.legendDesign = {1, 4, 0, 0};
        d.legendWidths = {2500, 3000, 3000, 2500};
        d.legendTexts = {q(u"上がり(ゴール前3F）影響速度"), q(u"ペース(スタートから3F地点）影響速度"),
                         q(u"走破(スタートからゴール）影響速度"), q(u"縦軸の単位はKm/hr(時速)")};
        d.innerTabs = QStringLiteral("SSTab3");
        d.innerCaptions = {q(u"牡馬"), q(u"牝馬"), q(u"馬齢（月齢）数値")};
        d.maleChart = QStringLiteral("MaleAgeChart");
        d.femaleChart = QStringLiteral("FemaleAgeChart");
        d.chartRows = 33;
        d.firstAge = 27;
    }
    // The turf and dirt packages list 33 male ages before the female ones;
    // the jump female chart takes the same offset.
    d.femaleOffset = 33;
    d.item12TextOnInnerTab = jump;
    for (int k = 1; k <= kItemCount; ++k) {
        const RawTab& t = tabs[k];
        ItemTab& item = d.items[size_t(k)];
        item.caption = q(t.caption);
        item.grid = q(t.grid);
        item.textBox = q(t.box);
        item.text = t.text ? q(kExplanations[t.text]) : QString();
    }
    // Item 6: turf without a fixed column; dirt 7 columns without one; jump
    // 7 columns with one. The jump item-20 grid has no fixed column.
    GridDesign& six = d.items[6].design;
    if (s == Surface::Turf) six.fixedCols = 0;
    if (s == Surface::Dirt) six = {2, 7, 1, 0};
    if (jump) six = {2, 7, 1, 1};
    if (jump) d.items[20].design.fixedCols = 0;
    return d;
}

}  // namespace

const ViewerDesign& FactorViewerDesign(Surface s) {
    static const std::array<ViewerDesign, 3> designs = {build(Surface::Turf), build(Surface::Dirt),
                                                        build(Surface::Jump)};
    return designs[s == Surface::Turf ? 0 : s == Surface::Dirt ? 1 : 2];
}

const std::array<QString, 3>& ChartSeriesLabels() {
    static const std::array<QString, 3> labels = {q(u"上がり"), q(u"ペース"), q(u"走破")};
    return labels;
}

const std::array<QString, 6>& ItemGridHeaders() {
    static const std::array<QString, 6> headers = {q(u"コード番号"), q(u"上がり速度"), q(u"ペース速度"),
                                                   q(u"走破速度"),   q(u"延出走数"),   q(u"参照番地")};
    return headers;
}

}  // namespace rw::reference
