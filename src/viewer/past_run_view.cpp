#include "viewer/past_run_view.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "model/expanded_record.h"
#include "prediction/code_table.h"

#include <array>
#include <cmath>
#include <string>

namespace rw::viewer {
namespace {

using model::Field;
namespace ex = model::ex;

// Members the window shows as one text though the record table keeps them
// split: the make date, the race date, frame + horse number +
// registration number, the birth dates.
constexpr Field joined(Field first, Field last) {
    return Field{first.pos, last.pos + last.width - first.pos, first.imagePos,
                 last.imagePos + last.imageWidth - first.imagePos};
}
constexpr Field kMakeDate = joined(ex::MakeYear, ex::MakeDay);
constexpr Field kRaceDate = joined(ex::RaceYear, ex::RaceMonthDay);
constexpr Field kFrameHorseNumber = joined(ex::FrameNo, ex::RegistrationNo);
constexpr Field kBirthDate = joined(ex::BirthYear, ex::BirthDay);
constexpr Field kJockeyBirthDate = joined(ex::JockeyBirthYear, ex::at("JockeyBirthDay"));
static_assert(kMakeDate.offset() == 3 && kMakeDate.width == 8 && kRaceDate.offset() == 11 && kRaceDate.width == 8 &&
              kFrameHorseNumber.offset() == 27 && kFrameHorseNumber.width == 13 && kBirthDate.offset() == 206 &&
              kBirthDate.width == 8 && kJockeyBirthDate.offset() == 988 && kJockeyBirthDate.width == 8);

// One segment of an item row's text: a member as stored, a fixed text, or the
// code table's name of a member's code.
struct Segment {
    enum class Kind { None, Member, Literal, Lookup };
    Kind kind = Kind::None;
    Field member{};
    const char16_t* literal = nullptr;
    const char* table = nullptr;
    int column = 0;
};
constexpr Segment field(Field f) { return Segment{Segment::Kind::Member, f, nullptr, nullptr, 0}; }
constexpr Segment literal(const char16_t* t) { return Segment{Segment::Kind::Literal, {}, t, nullptr, 0}; }
constexpr Segment lookup(const char* table, Field code, int column) {
    return Segment{Segment::Kind::Lookup, code, nullptr, table, column};
}

struct ItemRow {
    const char16_t* title;
    std::array<Segment, 8> segments;
};

// Rows 1 to 141: the members of the record, one row each unless joined.
// clang-format off
constexpr ItemRow kItemRows[] = {
    {u"レコードスペック", {field(ex::at("RecordSpec"))}},  // 1
    {u"データ区分", {field(ex::at("DataKind"))}},  // 2
    {u"作成年月日", {field(kMakeDate)}},  // 3
    {u"レース年月日", {field(kRaceDate)}},  // 4
    {u"レース開催場所回日R", {lookup("2001", ex::CourseCode, 4), field(ex::MeetingNo), field(ex::DayNo), field(ex::RaceNo)}},  // 5
    {u"枠馬番血統番号", {field(kFrameHorseNumber)}},  // 6
    {u"馬名", {field(ex::at("HorseName"))}},  // 7
    {u"生年月日", {field(kBirthDate)}},  // 8
    {u"馬招待地区", {field(ex::at("InvitedArea"))}},  // 9
    {u"生産者コード", {field(ex::at("BreederCode"))}},  // 10
    {u"生産地", {field(ex::at("ProductionArea"))}},  // 11
    {u"父馬繁殖番号", {field(ex::at("SireNo"))}},  // 12
    {u"父馬生年", {field(ex::at("SireBirthYear"))}},  // 13
    {u"父馬生産地", {field(ex::at("SireArea"))}},  // 14
    {u"母馬繁殖番号", {field(ex::at("DamNo"))}},  // 15
    {u"母馬生年", {field(ex::at("DamBirthYear"))}},  // 16
    {u"母馬生産地", {field(ex::at("DamArea"))}},  // 17
    {u"母父馬繁殖番号", {field(ex::at("DamSireNo"))}},  // 18
    {u"母父馬生年", {field(ex::at("DamSireBirthYear"))}},  // 19
    {u"母父馬生産地", {field(ex::at("DamSireArea"))}},  // 20
    {u"馬記号", {field(ex::at("HorseSymbolCode"))}},  // 21
    {u"馬性別", {field(ex::at("SexCode"))}},  // 22
    {u"馬品種", {field(ex::at("BreedCode"))}},  // 23
    {u"馬毛色", {field(ex::at("CoatColourCode"))}},  // 24
    {u"東西所属", {field(ex::at("EastWestCode"))}},  // 25
    {u"調教師コード", {field(ex::at("TrainerCode"))}},  // 26
    {u"馬主コード", {field(ex::at("OwnerCode"))}},  // 27
    {u"服色表示", {field(ex::at("Colours"))}},  // 28
    {u"負担重量", {field(ex::at("CarriedWeight"))}},  // 29
    {u"変更前負担重量", {field(ex::at("CarriedWeightBefore"))}},  // 30
    {u"ブリンカー使用区分", {field(ex::at("BlinkerCode"))}},  // 31
    {u"曜日", {lookup("2002", ex::WeekdayCode, 4)}},  // 32
    {u"騎手コード", {field(ex::at("JockeyCode"))}},  // 33
    {u"騎手略称", {field(ex::at("JockeyShortName"))}},  // 34
    {u"騎手生年月日", {field(kJockeyBirthDate)}},  // 35
    {u"騎手性別", {field(ex::at("JockeySexCode"))}},  // 36
    {u"騎乗資格区分", {field(ex::at("JockeyQualificationCode"))}},  // 37
    {u"騎手招待地区", {field(ex::at("JockeyInvitedArea"))}},  // 38
    {u"変更前騎手コード", {field(ex::at("JockeyCodeBefore"))}},  // 39
    {u"変更前騎手略称", {field(ex::at("JockeyShortNameBefore"))}},  // 40
    {u"見習い区分", {field(ex::at("ApprenticeCode"))}},  // 41
    {u"変更前見習い区分", {field(ex::at("ApprenticeCodeBefore"))}},  // 42
    {u"馬体重", {field(ex::at("BodyWeight"))}},  // 43
    {u"前走増減符号", {field(ex::at("WeightChangeSign"))}},  // 44
    {u"前走増減差", {field(ex::at("WeightChange"))}},  // 45
    {u"異常区分", {field(ex::at("AbnormalityCode"))}},  // 46
    {u"入線順位　1着との秒差", {field(ex::at("ArrivalOrder")), literal(u" "), field(ex::at("TimeDiff"))}},  // 47
    {u"確定順位", {field(ex::at("FinishPosition"))}},  // 48
    {u"同着区分", {field(ex::at("DeadHeatCode"))}},  // 49
    {u"同着頭数", {field(ex::at("DeadHeatCount"))}},  // 50
    {u"走破タイム", {field(ex::at("RaceTime"))}},  // 51
    {u"着差コード", {field(ex::at("MarginCode"))}},  // 52
    {u"着差コード+", {field(ex::at("MarginCode2"))}},  // 53
    {u"着差コード++", {field(ex::at("MarginCode3"))}},  // 54
    {u"第1コーナー順位", {field(ex::at("Corner1Position"))}},  // 55
    {u"第2コーナー順位", {field(ex::at("Corner2Position"))}},  // 56
    {u"第3コーナー順位", {field(ex::at("Corner3Position"))}},  // 57
    {u"第4コーナー順位", {field(ex::at("Corner4Position"))}},  // 58
    {u"単勝オッズ", {field(ex::at("WinOdds"))}},  // 59
    {u"単勝人気", {field(ex::at("WinPopularity"))}},  // 60
    {u"本賞金", {field(ex::at("PrizeMoney"))}},  // 61
    {u"付加賞金", {field(ex::at("AddedPrizeMoney"))}},  // 62
    {u"予備", {field(ex::at("Spare1"))}},  // 63
    {u"予備", {field(ex::at("Spare2"))}},  // 64
    {u"後半4Fタイム", {field(ex::at("Last4FTime"))}},  // 65
    {u"後半3Fタイム", {field(ex::at("Last3FTime"))}},  // 66
    {u"レースグレイド", {field(ex::at("GradeCode"))}},  // 67
    {u"変更前レースグレイド", {field(ex::at("GradeCodeBefore"))}},  // 68
    {u"競走条件種別", {field(ex::at("RaceTypeCode"))}},  // 69
    {u"競走条件記号", {field(ex::at("RaceSymbolCode"))}},  // 70
    {u"競走重量種別", {field(ex::at("WeightRuleCode"))}},  // 71
    {u"競走2歳条件", {field(ex::at("ConditionCodes", 0))}},  // 72
    {u"競走3歳条件", {field(ex::at("ConditionCodes", 1))}},  // 73
    {u"競走4歳条件", {field(ex::at("ConditionCodes", 2))}},  // 74
    {u"競走5歳以上条件", {field(ex::at("ConditionCodes", 3))}},  // 75
    {u"競走最若年条件", {field(ex::at("ConditionCodes", 4))}},  // 76
    {u"距離(m)", {field(ex::at("Distance"))}},  // 77
    {u"変更前距離(m)", {field(ex::at("DistanceBefore"))}},  // 78
    {u"トラックコード", {field(ex::at("TrackCode"))}},  // 79
    {u"変更前トラックコード", {field(ex::at("TrackCodeBefore"))}},  // 80
    {u"コース区分", {field(ex::at("CourseSection"))}},  // 81
    {u"変更前コース区分", {field(ex::at("CourseSectionBefore"))}},  // 82
    {u"本賞金1着", {field(ex::at("Prizes", 0))}},  // 83
    {u"本賞金2着", {field(ex::at("Prizes", 1))}},  // 84
    {u"本賞金3着", {field(ex::at("Prizes", 2))}},  // 85
    {u"本賞金4着", {field(ex::at("Prizes", 3))}},  // 86
    {u"本賞金5着", {field(ex::at("Prizes", 4))}},  // 87
    {u"同着本賞金5着", {field(ex::at("Prizes", 5))}},  // 88
    {u"同着本賞金5着", {field(ex::at("Prizes", 6))}},  // 89
    {u"同着変更前1着本賞金", {field(ex::at("PrizesBefore", 0))}},  // 90
    {u"同着変更前2着本賞金", {field(ex::at("PrizesBefore", 1))}},  // 91
    {u"同着変更前3着本賞金", {field(ex::at("PrizesBefore", 2))}},  // 92
    {u"同着変更前4着本賞金", {field(ex::at("PrizesBefore", 3))}},  // 93
    {u"同着変更前5着本賞金", {field(ex::at("PrizesBefore", 4))}},  // 94
    {u"付加賞金1着", {field(ex::at("AddedPrizes", 0))}},  // 95
    {u"付加賞金2着", {field(ex::at("AddedPrizes", 1))}},  // 96
    {u"付加賞金3着", {field(ex::at("AddedPrizes", 2))}},  // 97
    {u"同着付加賞金3着", {field(ex::at("AddedPrizes", 3))}},  // 98
    {u"同着付加賞金3着", {field(ex::at("AddedPrizes", 4))}},  // 99
    {u"同着変更前1着付加賞金", {field(ex::at("AddedPrizesBefore", 0))}},  // 100
    {u"同着変更前2着付加賞金", {field(ex::at("AddedPrizesBefore", 1))}},  // 101
    {u"同着変更前3着付加賞金", {field(ex::at("AddedPrizesBefore", 2))}},  // 102
    {u"発走時刻", {field(ex::at("StartTime"))}},  // 103
    {u"変更前発走時刻", {field(ex::at("StartTimeBefore"))}},  // 104
    {u"登録頭数", {field(ex::at("RegisteredRunners"))}},  // 105
    {u"出走頭数", {field(ex::at("Starters"))}},  // 106
    {u"入線頭数", {field(ex::at("Finishers"))}},  // 107
    {u"天候コード", {field(ex::at("WeatherCode"))}},  // 108
    {u"芝馬場状態", {field(ex::at("TurfGoingCode"))}},  // 109
    {u"ダート馬場状態", {field(ex::at("DirtGoingCode"))}},  // 110
    {u"ハロン毎先頭馬タイム", {field(ex::at("LapTimes", 0)), literal(u"-"), field(ex::at("LapTimes", 1)), literal(u"-"), field(ex::at("LapTimes", 2)), literal(u"-"), field(ex::at("LapTimes", 3)), literal(u"-")}},  // 111
    {u"障害マイルタイム", {field(ex::at("HurdleMileTime"))}},  // 112
    {u"前半4Fラップタイム計", {field(ex::at("First4FLap"))}},  // 113
    {u"前半3Fラップタイム計", {field(ex::at("First3FLap"))}},  // 114
    {u"後半4Fラップタイム計", {field(ex::at("Last4FLap"))}},  // 115
    {u"後半3Fラップタイム計", {field(ex::at("Last3FLap"))}},  // 116
    {u"コ周回各馬通過順位0", {field(ex::at("Corners", 0))}},  // 117
    {u"コ周回各馬通過順位1", {field(ex::at("Corners", 1))}},  // 118
    {u"コ周回各馬通過順位2", {field(ex::at("Corners", 2))}},  // 119
    {u"コ周回各馬通過順位3", {field(ex::at("Corners", 3))}},  // 120
    {u"累計本賞金対数", {field(ex::at("FoalOrder"))}},  // 121
    {u"上がり時速", {field(ex::at("SpeedTexts", 0))}},  // 122
    {u"ペース時速", {field(ex::at("SpeedTexts", 1))}},  // 123
    {u"走破時速", {field(ex::at("SpeedTexts", 2))}},  // 124
    {u"予想上がり時速", {field(ex::at("SpeedTexts", 3))}},  // 125
    {u"予想ペース時速", {field(ex::at("SpeedTexts", 4))}},  // 126
    {u"予想走破時速", {field(ex::at("SpeedTexts", 5))}},  // 127
    {u"騎手サンプル数", {field(ex::at("SpeedTexts", 6))}},  // 128
    {u"生産者サンプル数", {field(ex::at("SpeedTexts", 7))}},  // 129
    {u"調教師サンプル数", {field(ex::at("SpeedTexts", 8))}},  // 130
    {u"父父馬サンプル数", {field(ex::at("SpeedTexts", 9))}},  // 131
    {u"母父馬サンプル数", {field(ex::at("SpeedTexts", 10))}},  // 132
    {u"生産者名", {field(ex::at("BreederName"))}},  // 133
    {u"調教師名", {field(ex::at("TrainerShortName"))}},  // 134
    {u"父馬名", {field(ex::at("SireName"))}},  // 135
    {u"母父馬名", {field(ex::at("DamSireName"))}},  // 136
    {u"市場コード", {field(ex::at("SaleCode"))}},  // 137
    {u"市場主催者", {field(ex::at("SaleHost"))}},  // 138
    {u"市場名", {field(ex::at("SaleName"))}},  // 139
    {u"取引馬齢開終", {field(ex::at("SaleAge")), literal(u" "), field(ex::at("SaleFrom")), field(ex::at("SaleTo"))}},  // 140
    {u"市場取引価格", {field(ex::at("SalePrice"))}},  // 141
};
// clang-format on
constexpr int kMemberRows = 141;
static_assert(std::size(kItemRows) == kMemberRows);
static_assert(kItemRows[46].segments[0].member.offset() == 1049 && kItemRows[46].segments[2].member.offset() == 1110 &&
              kItemRows[110].segments[6].member.offset() == 1339 && kItemRows[120].segments[0].member.offset() == 40 &&
              kItemRows[139].segments[3].member.offset() == 187 && kItemRows[140].segments[0].member.offset() == 196);

// Rows 142 to 161: Result(0) to Result(19); the first 13 titled.
constexpr int kResultRow = 142;
constexpr const char16_t* kResultTitles[13] = {
    u"上がり時速（単）",
    u"ペース時速（単）",
    u"走破時速（単）",
    u"予想上がり時速（単）",
    u"予想ペース時速（単）",
    u"予想走破時速（単）",
    u"合成予想走破時速（単）",
    u"実測走破時速-合成走破（単）",
    u"予想走破時速-合成走破（単）",
    u"実測上がり-予想上がり（単）",
    u"実測ペース-予想ペース（単）",
    u"実測走破-予想走破（単）",
    u"100*(sps-spa)/(spp-spa)",
};

// Rows 162 to 311: five groups of the 30 model items.
constexpr int kItemGroupRow = 162;
constexpr const char16_t* kGroupPrefixes[5] = {u"F", u"FC", u"AgariFW", u"PaceFW", u"SohaFW"};
constexpr const char16_t* kItemNames[31] = {
    u"",
    u" 年度",
    u" 開催場所距離",
    u" 前走走行情報",
    u" 負担重量",
    u" 本賞金",
    u" 馬競走記号",
    u" 騎手の複勝率",
    u" 競走馬の複勝率",
    u" 経験レース数",
    u" 性別馬体重斤量％",
    u" 馬体重",
    u" 月齢",
    u" 騎手アーニング",
    u" 競走間隔",
    u" 推定支持率（前前走）",
    u" 天候馬場状態",
    u" 調教師アーニング",
    u" 騎手年齢見習い",
    u" 調教師の複勝率",
    u" 種牡馬アーニング",
    u" 第何R",
    u" タイム着差（前前走）",
    u" 種牡馬距離複勝率",
    u" 馬番",
    u" 生れ月",
    u" 前走タイム差",
    u" 日次",
    u" 登録数",
    u" 前後ラップ比",
    u" 馬主アーニング",
};

// A member as the window shows it: decoded on its own, trailing blanks
// kept; never-assigned zero bytes show as blanks.
QString memberText(QByteArrayView rec, Field f) { return cp932::decode(blankedMember(rec, f.pos, f.width)); }

QString pieceText(const Segment& p, QByteArrayView rec, const prediction::CodeTable& codes) {
    switch (p.kind) {
    case Segment::Kind::Member: return memberText(rec, p.member);
    case Segment::Kind::Literal: return QString::fromUtf16(p.literal);
    case Segment::Kind::Lookup: {
        QByteArray code = member(rec, p.member.pos, p.member.width).toByteArray();
        return cp932::decode(prediction::CodeName(codes, p.table, code, p.column));
    }
    case Segment::Kind::None: break;
    }
    return {};
}

QString singleCell(QByteArrayView rec, Field f) { return PastRunNumberText(getSingle(rec, f.pos)); }

// Column c from record `rec`.
void fillColumn(GridModel& g, int c, QByteArrayView rec, const prediction::CodeTable& codes) {
    g.setText(0, c, QStringLiteral("前 ") + QString::number(c - 1) + QStringLiteral("走"));
    for (int i = 0; i < kMemberRows; ++i) {
        QString t;
        for (const Segment& p : kItemRows[i].segments) t += pieceText(p, rec, codes);
        g.setText(i + 1, c, t);
    }
    for (int i = 0; i < 20; ++i) g.setText(kResultRow + i, c, singleCell(rec, ex::Result(i)));
    for (int k = 1; k <= 30; ++k) {
        g.setText(kItemGroupRow + k - 1, c, memberText(rec, ex::Category(k)));
        g.setText(kItemGroupRow + 30 + k - 1, c, memberText(rec, ex::CategoryIndex(k)));
        g.setText(kItemGroupRow + 60 + k - 1, c, singleCell(rec, ex::AgariW(k)));
        g.setText(kItemGroupRow + 90 + k - 1, c, singleCell(rec, ex::PaceW(k)));
        g.setText(kItemGroupRow + 120 + k - 1, c, singleCell(rec, ex::SohaW(k)));
    }
}

// The window's own code table: the first 501 rows of the file.
prediction::CodeTable readCodeTable() {
    QList<QByteArray> values = readValues(AppFile(prediction::kCodeTableFile));
    if (values.size() > qsizetype(kCodeTableRows) * prediction::kCodeColumns)
        values.resize(qsizetype(kCodeTableRows) * prediction::kCodeColumns);
    prediction::CodeTable table;
    prediction::FillCodeTable(table, values);
    return table;
}

}  // namespace

GridModel DesignPastRunGrid() { return GridModel(kPastRunRows, 2, 1, 1); }

std::optional<QString> PastRunFile(const QString& cellText) {
    const QString last = cellText.right(16);
    if (last.size() != 16 || !last.endsWith(QString::fromUtf16(model::kExFileEnding))) return std::nullopt;
    const QByteArray number = last.left(10).toLatin1();
    if (!isRegistrationNumber(number)) return std::nullopt;
    return model::ExpandedRecordFile(number);
}

void LoadPastRuns(GridModel& grid, const QString& selectedCellText, SkipLog& log) {
    prediction::CodeTable codes;
    log.step("code table", [&] { codes = readCodeTable(); });
    const QString last = selectedCellText.right(16);
    if (last.isEmpty()) return;

    QList<QByteArray> records;
    if (const auto file = PastRunFile(last))
        log.step("horse file", [&] { records = RecordFile::readAll(*file, model::kExRecordLength); });
    if (!log.step("run columns", [&] { grid.setCols(int(records.size()) + 1); })) {
        records.clear();
        log.step("title column", [&] { grid.setCols(1); });
    }
    const int n = int(records.size());
    for (int k = n; k >= 1; --k)
        log.step("run " + std::to_string(k), [&] { fillColumn(grid, n - k + 1, records[k - 1], codes); });

    log.step("column widths", [&] {
        grid.setColWidth(0, kPastRunTitleWidth);
        for (int c = 1; c <= n; ++c) {
            grid.setColWidth(c, kPastRunColWidth);
            grid.setColAlignment(c, GridAlign::LeftTop);
        }
    });
    log.step("row titles", [&] {
        for (int r = 1; r < kPastRunRows; ++r) grid.setText(r, 0, PastRunRowTitle(r));
    });
}

QString PastRunRowTitle(int row) {
    if (row >= 1 && row <= kMemberRows) return QString::fromUtf16(kItemRows[row - 1].title);
    if (row >= kResultRow && row < kResultRow + 13) return QString::fromUtf16(kResultTitles[row - kResultRow]);
    if (row >= kItemGroupRow && row < kItemGroupRow + 150) {
        const int g = (row - kItemGroupRow) / 30, k = (row - kItemGroupRow) % 30 + 1;
        return QString::fromUtf16(kGroupPrefixes[g]) + QString::number(k) + QString::fromUtf16(kItemNames[k]);
    }
    return {};
}

QString PastRunNumberText(float v) {
    if (!std::isfinite(v)) return {};
    const double down = std::floor(double(v) * 10000.0);  // exact for a Single
    return QString::fromLatin1(singleText(float(down / 10000.0)));
}

}  // namespace rw::viewer
