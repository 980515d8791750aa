#include "reference/past_day_view.h"

#include "common/cp932.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "prediction/run_files.h"
#include "reference/value_cursor.h"
#include "reports/tagged_day_file.h"

#include <cmath>
#include <optional>

namespace rw::reference {
namespace {

constexpr int kYellow = 14, kCyan = 11, kLightRed = 12, kLightGreen = 10, kLightBlue = 9, kMagenta = 13, kBlue = 1,
              kWhite = 15;

struct HorseColumn {
    const char* title;
    int width;
};
constexpr HorseColumn kHorseColumns[14] = {
    {"枠・馬番", 500},    {"予想順位", 500},  {"単勝人気", 500},  {"入線順位", 500}, {"性別", 500},
    {"馬齢", 500},        {"馬名", 1700},     {"ハンデKg", 500},  {"騎手名", 1000},  {"調教師名", 1000},
    {"推定タイム", 1000}, {"実タイム", 1000}, {"推定上3F", 1000}, {"実上3F", 1000},
};
constexpr const char* kKindRows[8] = {"券種", "馬連", "ワイド1", "ワイド2", "ワイド3", "馬単", "３連複", "３連単"};
constexpr const char* kHitTitles[3] = {"的中順位", "当たり目", "配当（円）"};

QString u(const char* utf8) { return QString::fromUtf8(utf8); }
QString text(const QByteArray& cp932) { return cp932::decode(cp932); }

// The number a cell's text begins with, leading blanks skipped; 0 when none.
double numberOf(const QString& cellText) { return valLenient(cellText.toUtf8()); }

// A value shown as two digits: the number plus 100, its last two characters.
std::optional<QString> twoDigits(const QByteArray& value) {
    const std::optional<double> v = parseStrict(value);
    if (!v) return std::nullopt;
    return QString::fromLatin1(doubleText(*v + 100).right(2));
}

// The day's files: a missing one, or one of a day without a DayKey, gives no
// values.
QList<QByteArray> dayValues(const QByteArray& dayKey, const char16_t* suffix, SkipLog& log) {
    QList<QByteArray> values;
    if (!isDayKey(dayKey)) return values;
    log.step("read " + QString::fromUtf16(suffix).toStdString(),
             [&] { values = readValues(prediction::TekichuDayFile(dayKey, suffix)); });
    return values;
}

// Tier of a bet number: the size of one tier per column of KakoSeiFG.
int tierColour(int col, double n) {
    const int size = col == 2 ? 12 : col == 3 ? 7 : col == 4 ? 42 : 6;
    if (n >= 1 && n <= size) return kYellow;
    if (n >= size + 1 && n <= 2 * size) return kCyan;
    if (n >= 2 * size + 1 && n <= 3 * size) return kLightRed;
    return 0;
}

// The bet number of a bet-number cell: the text before its first blank,
// looked for among the first ten characters; no blank there, no number.
double betNumber(const QString& t) {
    if (t.isEmpty()) return 0;
    const qsizetype blank = t.left(10).indexOf(u' ');
    if (blank < 0) return 0;
    return numberOf(t.left(blank));
}

void fillHits(const QList<QByteArray>& values, GridModel& g) {
    g.setColWidth(2, 1100);
    g.setColWidth(4, 1200);
    for (int r = 2; r <= 46; r += 4)
        for (int c = 1; c <= 7; ++c) g.setBack(r, c, QbColor(kWhite));
    for (int r = 0; r < 50; ++r)
        for (int c = 0; c < 8; ++c) g.setText(r, c, QString());
    // The day table: row 1 the six values of the day line, then 8 per row.
    qsizetype at = 0;
    for (int c = 0; c < 6 && at < values.size(); ++c) g.setText(0, c, text(values[at++]));
    for (int r = 1; r < 50 && at < values.size(); ++r)
        for (int c = 0; c < 8 && at < values.size(); ++c) g.setText(r, c, text(values[at++]));
    for (int b = 0; b < 12; ++b)
        for (int c = 1; c <= 7; ++c) {
            const int colour = tierColour(c, betNumber(g.text(5 + 4 * b, c)));
            if (colour) g.setBack(2 + 4 * b, c, QbColor(colour));
        }
}

void fillRates(const QList<QByteArray>& values, GridModel& g) {
    qsizetype at = 0;
    auto next = [&] { return at < values.size() ? text(values[at++]) : QString(); };
    for (int c = 0; c < 6; ++c) g.setText(0, c, next());
    for (int r = 1; r <= 8; ++r)
        for (int c = 0; c < 7; ++c) g.setText(r, c, next());
    for (int r = 3; r <= 8; ++r) {
        for (int c = 4; c <= 6; ++c) g.setFore(r, c, QbColor(numberOf(g.text(r, c)) > 30 ? kBlue : 0));
        for (int c = 1; c <= 3; ++c) g.setFore(r, c, QbColor(numberOf(g.text(r, c)) > 100 ? kLightRed : 0));
    }
}

void selectionWidths(GridModel& g) {
    for (int c = 1; c <= 7; ++c) g.setColWidth(c, 600);
    for (int c = 9; c <= 11; ++c) g.setColWidth(c, 950);
}

void fillSelections(const QList<QByteArray>& values, GridModel& g) {
    selectionWidths(g);
    qsizetype at = 0;
    auto next = [&] { return at < values.size() ? text(values[at++]) : QString(); };
    for (int c = 0; c < 6; ++c) g.setText(0, c, next());
    for (int r = 1; r <= 37; ++r)
        for (int c = 0; c < 12; ++c) g.setText(r, c, next());
    for (int b = 0; b < 12; ++b) {
        const int p = 4 + 3 * b;
        for (int c = 1; c <= 11; ++c) {
            const double paid = numberOf(g.text(p, c));
            const GridColor back = QbColor(paid > 0 ? kYellow : 0);
            for (int r = p - 2; r <= p; ++r) g.setBack(r, c, back);
            if (paid > 0) g.setFore(p, c, QbColor(paid > 10000 ? kLightRed : 0));
        }
    }
}

void fillSelectionRates(const QList<QByteArray>& values, GridModel& g) {
    selectionWidths(g);
    qsizetype at = 6;  // the day line is dropped
    auto next = [&] { return at < values.size() ? text(values[at++]) : QString(); };
    for (int r = 0; r <= 6; ++r)
        for (int c = 0; c < 12; ++c) g.setText(r, c, next());
    for (int c = 1; c <= 11; ++c) {
        g.setFore(3, c, QbColor(numberOf(g.text(3, c)) > 30 ? kBlue : 0));
        g.setFore(6, c, QbColor(numberOf(g.text(6, c)) > 100 ? kLightRed : 0));
    }
}

void prepareRaceTabs(PastDayControls& c) {
    for (int i = 0; i < kRaceTabs; ++i) {
        c.Text2[i].clear();
        GridModel& tk = c.TKFG[i];
        GridModel& race = c.RACEFG[i];
        tk.setColWidth(1, 1700);
        tk.setColWidth(2, 1700);
        for (int r = 0; r < 8; ++r) tk.setText(r, 0, u(kKindRows[r]));
        for (int k = 0; k < 3; ++k) tk.setText(0, k + 1, u(kHitTitles[k]));
        for (int k = 0; k < 14; ++k) race.setText(0, k, u(kHorseColumns[k].title));
        for (int r = 1; r <= 18; ++r)
            for (int k = 0; k < 14; ++k) {
                race.setBack(r, k, QbColor(kWhite));
                race.setText(r, k, QString());
            }
        for (int r = 1; r <= 7; ++r)
            for (int k = 1; k <= 3; ++k) tk.setText(r, k, QString());
        race.setRowHeight(0, 500);
        for (int k = 0; k < 14; ++k) race.setColWidth(k, kHorseColumns[k].width);
    }
}

void fillHeaders(const QList<QByteArray>& values, const QString& item, PastDayControls& c) {
    ValueCursor in(values);
    for (int i = 0; i < kRaceTabs; ++i) {
        for (QByteArray v; in.next(v) && v != "RC";) {}
        QString& h = c.Text2[i];
        h = item.left(20);
        QByteArray rc[12];
        for (int k = 1; k <= 11; ++k) rc[k] = in.take();
        if (rc[3].isEmpty()) continue;
        h += text(rc[3]) + QStringLiteral("R ");
        for (int k = 4; k <= 8; ++k) h += text(rc[k]);
        h += text(rc[9]) + QStringLiteral("m  SD=") + text(rc[10]) + u' ' + text(rc[11]);
    }
}

int backOfRank(const QString& two) {
    if (two == u"01") return kYellow;
    if (two == u"02") return kCyan;
    if (two == u"03") return kLightGreen;
    if (two == u"04") return kLightBlue;
    if (two == u"05") return kMagenta;
    return 0;
}

// Every line of `tag` in a race day file, with the race it belongs to (the
// RR lines before it counted) and its `count` values from 1; a line whose
// first value is empty is passed over.
template <class F>
void forEachRaceLine(const QList<QByteArray>& values, const char* tag, int count, F&& f) {
    ValueCursor in(values);
    int race = 0;
    QList<QByteArray> line(count + 1);
    for (QByteArray v; in.next(v);) {
        if (v == "RR") {
            ++race;
            continue;
        }
        if (v != tag || in.atEnd()) continue;
        line[1] = in.take();
        if (line[1].isEmpty()) continue;
        for (int k = 2; k <= count; ++k) line[k] = in.take();
        f(race, line);
    }
}

// A grid row number of a line: a whole number from 1 to `last`.
std::optional<int> rowNumber(const QByteArray& v, int last) {
    const std::optional<double> row = parseStrict(v);
    if (!row || *row < 1 || *row > last || *row != std::floor(*row)) return std::nullopt;
    return int(*row);
}

void fillHorses(const QList<QByteArray>& values, PastDayControls& c) {
    forEachRaceLine(values, "HS", 16, [&](int race, const QList<QByteArray>& hs) {
        const std::optional<int> row = rowNumber(hs[1], 18);
        // A line outside the tabs or the table's rows is not shown.
        if (race < 1 || race > kRaceTabs || !row) return;
        GridModel& g = c.RACEFG[race - 1];
        const int r = *row;
        g.setText(r, 0, text(hs[2]));
        if (const auto horse = twoDigits(hs[3])) g.setText(r, 0, g.text(r, 0) + QStringLiteral("  ") + *horse);
        for (int k = 4; k <= 6; ++k) {
            const auto two = twoDigits(hs[k]);
            if (!two) continue;
            g.setText(r, k - 3, *two);
            if (const int colour = backOfRank(*two)) g.setBack(r, k - 3, QbColor(colour));
        }
        for (int k = 7; k <= 16; ++k) g.setText(r, k - 3, text(hs[k]));
    });
}

void fillRaceHits(const QList<QByteArray>& values, PastDayControls& c) {
    forEachRaceLine(values, "AT", 5, [&](int race, const QList<QByteArray>& at) {
        const std::optional<int> row = rowNumber(at[2], 7);
        if (race < 1 || race > kRaceTabs || !row) return;
        GridModel& g = c.TKFG[race - 1];
        for (int k = 3; k <= 5; ++k) g.setText(*row, k - 2, text(at[k]));
    });
}

}  // namespace

GridColor QbColor(int n) {
    static constexpr std::uint32_t rgb[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                              0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                              0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    if (n <= 0 || n > 15) return GridColor::standard();
    return GridColor::rgb(rgb[n]);
}

PastDayControls::PastDayControls() {
    for (auto& g : TKFG) g = GridModel(8, 4, 1, 1);
    for (auto& g : RACEFG) g = GridModel(19, 14, 1, 1);
}

QString RatesExplanation() {
    return QStringLiteral(
        "回収率・的中率は一場の全レース（通常12レース）を計算対象としています。馬連・ "
        "馬単表（正順）・馬単裏（逆順）・ワイドは本線・準本線・伏兵ともに6点均等買い、3連複は7点均等買い、3連単は42点(7"
        "点ｘ6順）均等買いを想定して回収率を求めています。的中率は通常一日一場の全12レースを分母として計算しています。例"
        "えば4レース的中していれば4/12で的中率は 33.3％となります。なお、ワイドの的中率は一レースにつき最大3点を計数しま"
        "すので、的中率が100％を超える事が有りますのでご注意下さい。なお、2008年2月9日と11日の京都2回3日は続行競馬となり"
        "ましたので計算が不成立となり正確な値ではありません。また、1日12レースでない日は計算が少し正しくない場合があります"
        "。");
}

QString RaceTabCaption(int index) { return QString::number(index + 1) + QStringLiteral("　R"); }

void List1Click(const QString& item, PastDayControls& c, SkipLog& log) {
    const QByteArray dayKey = item.right(14).toLatin1();
    if (!isDayKey(dayKey)) log.record("race-day list item", "no DayKey at its end");
    fillHits(dayValues(dayKey, reports::kUploadDayFile.hitTable, log), c.KakoSeiFG);
    fillRates(dayValues(dayKey, prediction::kKaitekiSuffix, log), c.TekiKaiFG);
    c.Text1 = RatesExplanation();
    fillSelections(dayValues(dayKey, reports::kSelectionDayFile.hitTable, log), c.TanFukuFG);
    fillSelectionRates(dayValues(dayKey, prediction::kKaitekiPcSuffix, log), c.TFTekiKaiFG);
    prepareRaceTabs(c);
    const QList<QByteArray> race = dayValues(dayKey, reports::kUploadDayFile.resultsSuffix, log);
    fillHeaders(race, item, c);
    fillHorses(race, c);
    fillRaceHits(race, c);
}

}  // namespace rw::reference
