#include "reports/order_and_bet_lines.h"

#include "common/cp932.h"
#include "common/numbers.h"
#include "prediction/runner_record.h"
#include "reports/combination_texts.h"

#include <algorithm>
#include <optional>

namespace rw::reports {

using prediction::RunState;
namespace rr = prediction::rr;

const BetTagSet kUploadBetTags{
    {{"MUH", "MUJ", "MUF"}}, {{"MSH", "MSJ", "MSF"}}, {{"PUH", "PUJ", "PUF"}}, {{"PSH", "PSJ", "PSF"}}};
const BetTagSet kLabelledBetTags{{{"本線", "準本線", "伏兵"}},
                                 {{"本線", "準本線", "伏兵"}},
                                 {{"本線", "準本線", "伏兵"}},
                                 {{"本線", "準本線", "伏兵"}}};
const OrderTagSet kUploadOrderTags{{{"Q1", "Q2", "Q3", "Q4"}}, {{"ATQ1", "ATQ2", "ATQ3", "ATQ4"}}};
const OrderTagSet kLabelledOrderTags{{{"上位5頭", "中位5頭", "下位5頭", "最下位"}},
                                     {{"上位結果", "中位結果", "中位結果", "最下結果"}}};

int OfferedPairLines(QByteArrayView c) {
    if (textBetween(c, "00", "05")) return 6;
    if (c == "06") return 12;
    return 18;
}

int OfferedTrioLines(QByteArrayView c) {
    if (textBetween(c, "00", "04")) return 4;
    if (c == "05") return 7;
    if (c == "06") return 14;
    return 21;
}

namespace {

// The groups of predicted ranks that the lines show, first to last rank.
struct RankGroup {
    int first, last;
};

QList<RankGroup> rankGroups(int n) {
    if (n >= 1 && n <= 4) return {{1, 4}};
    if (n < 5 || n > 18) return {};
    QList<RankGroup> g;
    for (int first = 1; first <= n; first += 5) g.append({first, std::min(first + 4, n)});
    return g;
}

// The horse number at a rank, when the race has that rank.
std::optional<int> horseAtRank(const RunState& s, int rank) {
    if (rank < 1 || rank > s.HorseCount || rank >= s.RankedHorse.size()) return std::nullopt;
    return int(NineDigitNumber(s.RankedHorse[rank], "horse number"));
}

QList<CsvValue> opened(const BetTags& tags, int position, int block) {
    const int tier = (position - 1) / block;
    const int n = position - tier * block;
    return {CsvValue::text(cp932::encode(tags.tier[size_t(tier)]) + QByteArray::number(n)),
            T(QByteArray::number(position))};
}

bool holds(const QList<QByteArray>& list, int position, int count) {
    return position <= count && position < list.size() && !list[position].isEmpty();
}

}  // namespace

void AddPredictedOrderLines(const RunState& s, const OrderTagSet& tags, DayLines& out) {
    const int n = int(valLenient(RegisteredCount(s)));
    const QList<RankGroup> groups = rankGroups(n);
    for (qsizetype g = 0; g < groups.size(); ++g) {
        QList<CsvValue> line{TU(tags.rank[size_t(g)])};
        for (int r = groups[g].first; r <= groups[g].last; ++r)
            if (const auto h = horseAtRank(s, r)) line.append(T(PaddedNumber(*h)));
        out.add(line);
    }
    if (s.ResultsMode == 0) return;
    for (qsizetype g = 0; g < groups.size(); ++g) {
        QList<CsvValue> line{TU(tags.result[size_t(g)])};
        for (int r = groups[g].first; r <= groups[g].last; ++r)
            if (const auto h = horseAtRank(s, r)) line.append(T(checkedAt(s.FinishPos, *h)));
        out.add(line);
    }
}

void AddKaimeMLines(RunState& s, const BetTagSet& tags, DayLines& out) {
    const QByteArray c = RegisteredCount(s);
    const QByteArray race = RaceField(s, rr::RaceNo(0));
    s.WriterWork.OfferedLineCount = std::int16_t(OfferedPairLines(c));
    for (s.CurSubIndex = 1; s.CurSubIndex <= s.WriterWork.OfferedLineCount; ++s.CurSubIndex) {
        const int i = s.CurSubIndex;
        if (!holds(s.PairBets, i, s.PairCount)) continue;
        QList<CsvValue> line = opened(tags.mPair, i, 6);
        line.append(T(FormatUmaren(s.PairBets[i])));
        out.add(line);
    }
    s.WriterWork.OfferedLineCount = std::int16_t(OfferedTrioLines(c));
    for (s.CurSubIndex = 1; s.CurSubIndex <= s.WriterWork.OfferedLineCount; ++s.CurSubIndex) {
        const int i = s.CurSubIndex;
        if (!holds(s.TrioBets, i, s.TrioCount) || !holds(s.TrioBetsAsc, i, s.TrioCount)) continue;
        const bool predicted = i <= 14 ? textBetween(race, "01", "12") : textBetween(race, "09", "12");
        QList<CsvValue> line = opened(tags.mTrio, i, 7);
        line.append(T(predicted ? TrioBoxText(s, i) : FormatSanrenpuku(s.TrioBetsAsc[i])));
        out.add(line);
    }
}

void AddKaimePLines(RunState& s, const BetTagSet& tags, DayLines& out) {
    const QByteArray c = RegisteredCount(s);
    const bool longForm = textBetween(RaceField(s, rr::RaceNo(0)), "01", "12");
    s.WriterWork.OfferedLineCount = std::int16_t(OfferedPairLines(c));
    for (s.CurSubIndex = 1; s.CurSubIndex <= s.WriterWork.OfferedLineCount; ++s.CurSubIndex) {
        const int i = s.CurSubIndex;
        if (!holds(s.PairBets, i, s.PairCount) || !holds(s.PairBetsAsc, i, s.PairCount)) continue;
        const QByteArray& key = s.PairBets[i];
        QList<CsvValue> line = opened(tags.pPair, i, 6);
        line.append(T(FormatUmaren(s.PairBetsAsc[i])));
        line.append(T(FormatUmatan(key)));
        line.append(T(FormatUmatan(key.mid(2, 2) + key.left(2))));
        out.add(line);
    }
    s.WriterWork.OfferedLineCount = std::int16_t(OfferedTrioLines(c));
    for (s.CurSubIndex = 1; s.CurSubIndex <= s.WriterWork.OfferedLineCount; ++s.CurSubIndex) {
        const int i = s.CurSubIndex;
        if (!holds(s.TrioBets, i, s.TrioCount) || !holds(s.TrioBetsAsc, i, s.TrioCount)) continue;
        QList<CsvValue> line = opened(tags.pTrio, i, 7);
        line.append(T(FormatSanrenpuku(s.TrioBetsAsc[i])));
        if (longForm)
            for (int k = 1; k <= 6; ++k) line.append(T(TrioOrderText(s, i, k)));
        out.add(line);
    }
}

void WritePredictedOrderLines(const RunState& s, DayLines& out) { AddPredictedOrderLines(s, kUploadOrderTags, out); }
void WriteKaimeM(RunState& s, DayLines& out) { AddKaimeMLines(s, kUploadBetTags, out); }
void WriteKaimeP(RunState& s, DayLines& out) { AddKaimePLines(s, kUploadBetTags, out); }

void WritePredictedOrderLinesLabelled(const RunState& s, DayLines& dayFile) {
    AddPredictedOrderLines(s, kLabelledOrderTags, dayFile);
}
void WriteKaimeMLabelled(RunState& s, DayLines& dayFile) { AddKaimeMLines(s, kLabelledBetTags, dayFile); }
void WriteKaimePLabelled(RunState& s, DayLines& dayFile) { AddKaimePLines(s, kLabelledBetTags, dayFile); }

}  // namespace rw::reports
