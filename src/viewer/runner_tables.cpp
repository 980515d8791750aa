#include "viewer/runner_tables.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/fixed_text.h"
#include "common/numbers.h"
#include "jvdata/race_key.h"
#include "model/expanded_record.h"
#include "prediction/race_loop.h"
#include "prediction/runner_record.h"

#include <array>
#include <cmath>
#include <optional>
#include <string>

namespace rw::viewer {
namespace {

using prediction::Field;

constexpr GridColor kYellow = GridColor::rgb(0xFFFF00);
constexpr GridColor kCyan = GridColor::rgb(0x00FFFF);
constexpr GridColor kGreen = GridColor::rgb(0x00FF00);
constexpr GridColor kBlue = GridColor::rgb(0x0000FF);
constexpr GridColor kMagenta = GridColor::rgb(0xFF00FF);
constexpr GridColor kRed = GridColor::rgb(0xFF0000);
namespace rr = prediction::rr;

// Slot 0 and the per-horse members, looked up once.
namespace s0 {
using namespace prediction::s0;
constexpr Field AgariJockey = rr::AgariW(0, 6), AgariTrainer = rr::AgariW(0, 19), AgariDamSire = rr::AgariW(0, 21),
                AgariSire = rr::AgariW(0, 23);
constexpr Field PaceJockey = rr::PaceW(0, 6), PaceTrainer = rr::PaceW(0, 19), PaceDamSire = rr::PaceW(0, 21),
                PaceSire = rr::PaceW(0, 23);
constexpr Field PredAgari = rr::Result(0, 3), PredPace = rr::Result(0, 4), Composite = rr::Result(0, 6);
}  // namespace s0

// Slots 1 to 64: racecourse code, track code and residual, looked up once.
struct SlotFields {
    Field course, track, residual;
};
constexpr auto kSlots = [] {
    std::array<SlotFields, kResidualSlots + 1> a{};
    for (int n = 0; n <= kResidualSlots; ++n) a[size_t(n)] = {rr::CourseCode(n), rr::TrackCode(n), rr::Result(n, 7)};
    return a;
}();

// A runner-record member as bytes; never-assigned zero bytes read as blanks.
QByteArray item(QByteArrayView rec, Field f) { return blankedMember(rec, f.pos, f.width); }
QString text(QByteArrayView rec, Field f) { return cp932::decode(item(rec, f)); }
float single(QByteArrayView rec, Field f) { return getSingle(rec, f.pos); }

// The RaceID of the record's slot-0 race key.
QString raceIdOf(QByteArrayView rec) { return qtext(zerosAsBlanks(prediction::RunnerRaceKey(rec).raceId())); }

// Column 0 of a runner row: frame number, four blanks, horse number.
QString rowLabel(QByteArrayView rec) {
    return text(rec, s0::FrameNo) + QStringLiteral("    ") + text(rec, s0::HorseNo);
}

// The predicted rank as two digits ("01"): its value plus 100, last two
// characters.
QString twoDigitRank(QByteArrayView rank) { return qtext(doubleText(valLenient(rank) + 100).right(2)); }

// "騎A・調A・父父A・母父A・生A".
QString gradesText(const std::array<QByteArray, 5>& g) {
    static const char16_t* const kPrefix[5] = {u"騎", u"調", u"父父", u"母父", u"生"};
    QString t;
    for (int i = 0; i < 5; ++i) {
        if (i) t += u'・';
        t += QStringView(kPrefix[i]);
        t += cp932::decode(g[size_t(i)]);
    }
    return t;
}

// "1345" -> "1.34.50".
QString raceTimeText(QByteArrayView field) {
    const QString f = cp932::decode(field);
    return f.mid(0, 1) + u'.' + f.mid(1, 2) + u'.' + f.mid(3, 1) + u'0';
}

// Ranks and placings: "01" yellow, "02" cyan, "03" green, "04" blue, "05"
// magenta; `upTo` is the last of them the rule knows.
std::optional<GridColor> placeColour(QByteArrayView v, int upTo) {
    static const GridColor kColours[5] = {kYellow, kCyan, kGreen, kBlue, kMagenta};
    static const char* const kCodes[5] = {"01", "02", "03", "04", "05"};
    for (int i = 0; i < upTo; ++i)
        if (v == QByteArrayView(kCodes[i])) return kColours[i];
    return std::nullopt;
}

const char16_t* const kFactorCaptions[kFactorCols] = {
    u"",
    u"入線",
    u"予想順位",
    u"単勝人気",
    u"予想人気",
    u"単勝オッズ",
    u"馬名",
    u"信頼度",
    u"実タイム",
    u"実上3Fタイム",
    u"合成タイム",
    u"予上3Fタイム",
    u"予ペ-スタイム",
    u"騎手",
    u"騎手上がり時速",
    u"騎手ペース時速",
    u"父馬",
    u"父馬上がり時速",
    u"父馬ペース時速",
    u"調教師",
    u"調教師上がり時速",
    u"調教師ペース時速",
    u"母父馬",
    u"母父馬上がり時速",
    u"母父馬ペース時速",
};

const char16_t* const kResidualCaptions[11] = {
    u"",         u"入線",       u"予想順位",   u"単勝人気",       u"人気-予想",        u"馬名",
    u"推定時速", u"推定タイム", u"合成タイム", u"実-合成(時速）", u"残差平均（時速）",
};

class RowWriter {
public:
    RowWriter(GridModel& g, int row, SkipLog& log, const char* table) : g_(g), row_(row), log_(log), table_(table) {}
    template <class F>
    void cell(int col, F&& value) {
        log_.step(std::string(table_) + " (" + std::to_string(row_) + "," + std::to_string(col) + ")",
                  [&] { g_.setText(row_, col, value()); });
    }
    void paint(int col, GridColor c) {
        log_.step(std::string(table_) + " colour (" + std::to_string(row_) + "," + std::to_string(col) + ")",
                  [&] { g_.setBack(row_, col, c); });
    }
    const QString& textAt(int col) const { return g_.text(row_, col); }

private:
    GridModel& g_;
    int row_;
    SkipLog& log_;
    const char* table_;
};

void emptyRows(GridModel& g, int lastCol, SkipLog& log, const char* table) {
    log.step(std::string("empty ") + table, [&] {
        for (int r = 1; r <= 18; ++r) {
            g.setText(r, 0, QString());
            for (int c = 1; c <= lastCol; ++c) {
                g.setText(r, c, QString());
                g.setBack(r, c, kGridWhite);
            }
        }
    });
}

void factorRow(GridModel& g, prediction::RunState& s, SkipLog& log) {
    const QByteArray& h = s.CurrentHorse;
    const int w = s.CurIndex;
    log.step("factor captions", [&] {
        for (int c = 1; c < kFactorCols; ++c) g.setText(0, c, QString::fromUtf16(kFactorCaptions[c]));
        g.setText(0, 0, raceIdOf(h));
    });
    auto rank = [&] { return checkedAt(s.PredRank, w); };
    const QByteArray pop = item(h, s0::WinPopularity);
    const QByteArray distance = item(h, s0::Distance);
    RowWriter r(g, w, log, "factor");
    r.cell(0, [&] { return rowLabel(h); });
    r.cell(1, [&] { return text(h, s0::ArrivalOrder); });
    r.cell(2, [&] { return twoDigitRank(rank()); });
    r.cell(3, [&] { return text(h, s0::WinPopularity); });
    r.cell(4, [&] { return qtext(doubleText(valLenient(pop) - valLenient(rank()))); });
    r.cell(5, [&] { return qtext(TenthsText(item(h, s0::WinOdds))); });
    r.cell(6, [&] { return HorseCellText(item(h, rr::HorseName), item(h, s0::RegistrationNo)); });
    log.step("reliability grades", [&] { prediction::SetReliabilityGrades(s); });
    r.cell(7, [&] { return gradesText(checkedAt(s.Grades, w)); });
    r.cell(8, [&] { return raceTimeText(item(h, s0::RaceTime)); });
    r.cell(9, [&] { return qtext(TenthsText(item(h, s0::Last3FTime))); });
    r.cell(10, [&] { return qtext(TimeCellText(single(h, s0::Composite), distance)); });
    r.cell(11, [&] { return qtext(PredictedLast3FText(single(h, s0::PredAgari))); });
    r.cell(12, [&] {
        const double metres = std::floor(strictNumber(distance, "distance"));
        const QByteArray shorter = numberText(std::int64_t(metres) - 600);
        return qtext(TimeCellText(single(h, s0::PredPace), shorter));
    });
    r.cell(13, [&] { return text(h, s0::JockeyShortName); });
    r.cell(14, [&] { return qtext(ThreeDecimalSpeed(single(h, s0::AgariJockey))); });
    r.cell(15, [&] { return qtext(ThreeDecimalSpeed(single(h, s0::PaceJockey))); });
    r.cell(16, [&] { return text(h, rr::SireName); });
    r.cell(17, [&] { return qtext(ThreeDecimalSpeed(single(h, s0::AgariSire))); });
    r.cell(18, [&] { return qtext(ThreeDecimalSpeed(single(h, s0::PaceSire))); });
    r.cell(19, [&] { return text(h, s0::TrainerShortName); });
    r.cell(20, [&] { return qtext(ThreeDecimalSpeed(single(h, s0::AgariTrainer))); });
    r.cell(21, [&] { return qtext(ThreeDecimalSpeed(single(h, s0::PaceTrainer))); });
    r.cell(22, [&] { return text(h, rr::DamSireName); });
    r.cell(23, [&] { return qtext(ThreeDecimalSpeed(single(h, s0::AgariDamSire))); });
    r.cell(24, [&] { return qtext(ThreeDecimalSpeed(single(h, s0::PaceDamSire))); });

    log.step("factor colour (4)", [&] {
        const double v = valLenient(r.textAt(4).toLatin1());
        if (v >= 4) r.paint(4, kYellow);
        else if (v <= -7)
            r.paint(4, kRed);
    });
    if (const auto c = placeColour(item(h, s0::ArrivalOrder), 3)) r.paint(1, *c);
    log.step("factor colour (2)", [&] {
        if (const auto c = placeColour(r.textAt(2).toLatin1(), 5)) r.paint(2, *c);
    });
    if (const auto c = placeColour(pop, 5)) r.paint(3, *c);
}

void residualRow(GridModel& g, prediction::RunState& s, SkipLog& log) {
    const QByteArray& h = s.CurrentHorse;
    const int w = s.CurIndex;
    log.step("residual layout", [&] {
        g.setRowHeight(0, 500);
        for (int c = 1; c <= 3; ++c) g.setColWidth(c, 500);
        g.setColWidth(4, 1000);
        g.setColWidth(5, 1700);
        for (int c = 6; c < kResidualCols; ++c) g.setColWidth(c, 1000);
        g.setText(0, 0, raceIdOf(h));
        for (int c = 1; c <= 10; ++c) g.setText(0, c, QString::fromUtf16(kResidualCaptions[c]));
        for (int n = 1; n <= kResidualSlots; ++n)
            g.setText(0, 10 + n, QStringLiteral("前") + QString::number(n) + QStringLiteral("残差"));
    });
    auto rank = [&] { return checkedAt(s.PredRank, w); };
    const QByteArray pop = item(h, s0::WinPopularity);
    const QByteArray distance = item(h, s0::Distance);
    const float composite = single(h, s0::Composite);
    const float estimated = float(single(h, rr::Residual) + composite);
    RowWriter r(g, w, log, "residual");
    r.cell(0, [&] { return rowLabel(h); });
    r.cell(1, [&] { return text(h, s0::ArrivalOrder); });
    r.cell(2, [&] { return twoDigitRank(rank()); });
    r.cell(3, [&] { return text(h, s0::WinPopularity); });
    r.cell(4, [&] {
        if (pop == "--" || pop == "**") return qtext(pop);
        return qtext(doubleText(valLenient(pop) - valLenient(rank())));
    });
    r.cell(5, [&] { return HorseCellText(item(h, rr::HorseName), item(h, s0::RegistrationNo)); });
    r.cell(6, [&] { return qtext(ThreeDecimalSpeed(estimated)); });
    r.cell(7, [&] { return qtext(TimeCellText(estimated, distance)); });
    r.cell(8, [&] { return qtext(TimeCellText(composite, distance)); });
    r.cell(9, [&] { return qtext(ThreeDecimalSpeed(single(h, kSlots[0].residual))); });
    r.cell(10, [&] { return qtext(ThreeDecimalSpeed(single(h, rr::Residual))); });

    if (const auto c = placeColour(item(h, s0::ArrivalOrder), 3)) r.paint(1, *c);
    log.step("residual colour (2)", [&] {
        if (const auto c = placeColour(r.textAt(2).toLatin1(), 5)) r.paint(2, *c);
    });
    if (const auto c = placeColour(pop, 5)) r.paint(3, *c);

    for (int n = 1; n <= kResidualSlots; ++n) {
        const SlotFields& f = kSlots[size_t(n)];
        r.cell(10 + n, [&] { return qtext(ThreeDecimalSpeed(single(h, f.residual))); });
        const QByteArray course = item(h, f.course);
        if (!textBetween(course, "01", "10")) continue;
        const QByteArray track = item(h, f.track);
        if (textBetween(track, "00", "22")) r.paint(10 + n, kGreen);
        else if (textBetween(track, "23", "29"))
            r.paint(10 + n, kYellow);
        else if (textBetween(track, "30", "59"))
            r.paint(10 + n, kCyan);
    }
}

}  // namespace

GridModel DesignFactorTable() { return GridModel(kFactorRows, kFactorCols, 1, 1); }
GridModel DesignResidualTable() { return GridModel(kFactorRows, kResidualCols, 1, 1); }

QString FactorTabCaption1() {
    return QStringLiteral("馬名をクリックすればその馬の全過去走の予想因子詳細がご覧になれます。");
}
QString FactorTabCaption2() {
    return QStringLiteral(
        "信頼度はサンプル数を表しAが一番多くFはゼロ、左端より騎手・調教師・父馬・母父馬・生産牧場の信頼度となります");
}

void PrepareRunnerTables(GridModel& factor, GridModel& residual, const QString& raceId, SkipLog& log) {
    log.step("factor layout", [&] {
        factor.setRowHeight(0, 500);
        for (int c = 1; c <= 4; ++c) factor.setColWidth(c, 500);
        factor.setColWidth(5, 1700);
        factor.setColWidth(6, 2500);
        for (int c = 7; c <= 14; ++c) factor.setColWidth(c, 1000);
        factor.setColWidth(15, 1700);
        for (int c = 16; c <= 20; ++c) factor.setColWidth(c, 1000);
        factor.setColWidth(21, 1700);
        factor.setColWidth(22, 1000);
    });
    emptyRows(factor, kFactorCols - 1, log, "factor");
    emptyRows(residual, kResidualCols - 1, log, "residual");
    log.step("factor (0,0)", [&] { factor.setText(0, 0, raceId); });
}

void FillRunnerRow(GridModel& factor, GridModel& residual, prediction::RunState& s, SkipLog& log) {
    factorRow(factor, s, log);
    residualRow(residual, s, log);
}

QByteArray ThreeDecimalSpeed(float x) {
    const float scaled = x * 1000.0f;  // the product in single precision
    return singleText(float(std::floor(double(scaled)) / 1000.0));
}

QByteArray TenthsText(QByteArrayView field) { return doubleText(valLenient(field) * 0.1); }

QString HorseCellText(QByteArrayView nameField, QByteArrayView registrationNo) {
    return cp932::decode(cp932::firstChars(zerosAsBlanks(nameField), 18)) + cp932::decode(zerosAsBlanks(registrationNo)) +
           QString::fromUtf16(model::kExFileEnding);
}

QByteArray TimeCellText(float speed, QByteArrayView distance) {
    if (speed == 0) return {};
    return prediction::SpeedToTimeText(speed, distance);
}

QByteArray PredictedLast3FText(float speed) {
    if (speed == 0) return {};
    const float hundredths = float(2160.0f / speed) * 100.0f;
    const QByteArray t = numberText(std::int64_t(std::floor(double(hundredths))));
    return t.mid(0, 2) + '.' + t.mid(2, 2);
}

}  // namespace rw::viewer
