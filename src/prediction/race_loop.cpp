#include "prediction/race_loop.h"

#include "common/control_names.h"
#include "common/cp932.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/quicksort.h"
#include "jvdata/race_key.h"
#include "jvdata/records.h"
#include "prediction/race_files.h"
#include "prediction/run_files.h"
#include "prediction/runner_record.h"

#include <cmath>

namespace rw::prediction {
namespace {

using recordlayout::Field;

// A runner-record item as text: never-assigned zero bytes read as blanks.
QByteArray item(QByteArrayView rec, Field f) { return blankedMember(rec, f.pos, f.width); }
float single(QByteArrayView rec, Field f) { return getSingle(rec, f.pos); }

// Right(s, n): the last n bytes.
QByteArray right(const QByteArray& s, qsizetype n) { return s.size() <= n ? s : s.right(n); }
// Mid(s, start, n), 1-based, fewer where s ends.
QByteArray mid(const QByteArray& s, qsizetype start, qsizetype n) { return s.mid(start - 1, n); }

template <class T>
void redim(QList<T>& list, qsizetype n) {
    list = QList<T>(n);
}
// The fixed per-horse arrays keep their values and grow where a race has
// more horses.
void ensure(QList<QByteArray>& list, qsizetype n) {
    if (list.size() < n) list.resize(n);
}

// " 3" from "03": a number of the record written right-aligned in two
// characters; " 0" when the item is not a number.
QByteArray rightAlignedNumber(QByteArrayView item) {
    const auto v = parseStrict(item);
    return right(" " + (v ? doubleText(*v) : QByteArray("0")), 2);
}

void writeFile(const QString& path, const QByteArray& bytes) { ReplaceFile(path, bytes); }

// Int(a / b) × 0.1, 0 when b is 0.
double rate(double a, double b) { return b == 0 ? 0.0 : std::floor(a / b) * 0.1; }

void resetDayTotals(RunState& s) {
    s.TierHitTotals = {};
    for (const PcTicketColumn& c : kPcTicketColumns) {
        PcTicketKind& k = s.PcTicketStats.*c.kind;
        k.HitCount = 0;
        k.PaySum = 0;
        k.TicketSum = 0;
    }
}

// One statement of the race run as a skip-and-continue step named with
// the race.
struct RaceSteps {
    SkipLog& log;
    std::string raceName;
    template <class F>
    bool operator()(const char* what, F&& f) const {
        return log.step(std::string(what) + " of " + raceName, std::forward<F>(f));
    }
};

// ---- The race's state, in the order the loop computes it -----------------------

// The per-race arrays sized for N horses, N(N-1) pairs and N(N-1)(N-2)
// trios (index 0 unused); the counts of pairs and trios back to 0.
void sizeRaceArrays(RunState& s, int N) {
    s.HorseCount = N;
    for (auto* a : {&s.FrameNo, &s.HorseName, &s.CarriedWeight, &s.JockeyName, &s.TrainerName, &s.SexName,
                    &s.HorseAge, &s.PredTimeText, &s.ActualTimeText, &s.ActualLast3FText, &s.PredLast3FText,
                    &s.RankedHorse})
        redim(*a, N + 1);
    for (auto* a : {&s.PredSpeed, &s.ResidualValue, &s.CompositeSpeed, &s.ActualSpeed, &s.SortValue})
        redim(*a, N + 1);
    redim(s.Grades, N + 1);
    for (auto* a : {&s.PredRank, &s.ArrivalOrder, &s.Popularity, &s.FinishPos}) ensure(*a, N + 1);
    const qsizetype pairSlots = qsizetype(N) * (N > 0 ? N - 1 : 0) + 1;
    const qsizetype trioSlots = qsizetype(N) * (N > 0 ? N - 1 : 0) * (N > 1 ? N - 2 : 0) + 1;
    redim(s.PairBets, pairSlots), redim(s.PairBetsAsc, pairSlots);
    for (auto* a : {&s.PairPredSum, &s.PairResidSum, &s.PairScore}) redim(*a, pairSlots);
    redim(s.TrioBets, trioSlots), redim(s.TrioBetsAsc, trioSlots);
    for (auto* a : {&s.TrioPredSum, &s.TrioResidSum, &s.TrioScore}) redim(*a, trioSlots);
    s.PairCount = 0;
    s.TrioCount = 0;
}

// The per-horse values of runner record k (CurIndex, as the callees read
// it, and CurrentHorse).
void fillHorseValues(RunState& s, const QList<QByteArray>& records, const RaceSteps& step) {
    for (s.CurIndex = 1; s.CurIndex <= s.HorseCount; ++s.CurIndex) {
        const int k = s.CurIndex;
        s.CurrentHorse = records[k - 1];
        const QByteArray& h = s.CurrentHorse;
        s.PredSpeed[k] = single(h, s0::Result6);
        s.ResidualValue[k] = single(h, rr::Residual);
        s.CompositeSpeed[k] = float(single(h, s0::Result6) + single(h, rr::Residual));
        s.ActualSpeed[k] = single(h, s0::Result2);
        s.PredLast3FText[k] = singleText(single(h, s0::Result3));
        const QByteArray t = item(h, s0::RaceTime), L = item(h, rr::Last3FTime(0));
        if (t == "0000") {
            s.ActualTimeText[k] = "    ";
        } else {
            s.ActualTimeText[k] = t == "    " ? QByteArray("    ") : mid(t, 1, 1) + "." + mid(t, 2, 2) + "." + mid(t, 4, 1) + " ";
            s.ActualLast3FText[k] = mid(L, 1, 2) + "." + mid(L, 3, 1) + " ";
        }
        s.FrameNo[k] = item(h, s0::FrameNo);
        s.HorseName[k] = item(h, rr::HorseName);
        s.TrainerName[k] = item(h, s0::TrainerShortName);
        const QByteArray cw = item(h, rr::CarriedWeight);
        s.CarriedWeight[k] = mid(cw, 1, 2) + "." + mid(cw, 3, 1);
        s.JockeyName[k] = item(h, s0::JockeyShortName);
        step("sex name", [&] { s.SexName[k] = cp932::firstChars(CodeName(s.CodeTable, "2202", item(h, rr::SexCode), 2), 1); });
        s.HorseAge[k] = item(h, rr::Age);
        step("reliability grades", [&] { SetReliabilityGrades(s); });
        // A predicted speed of 0 (a horse without expanded records)
        // has no time: the text keeps its value, as the division fails.
        if (const double v = parseStrict(s.PredLast3FText[k]).value_or(0.0); v != 0) {
            const bool flat = textBetween(item(h, s0::TrackCode), "00", "49");
            s.PredLast3FText[k] = doubleText(std::floor((flat ? 216000.0 : 72000.0) / v));
        }
        s.PredLast3FText[k] = mid(s.PredLast3FText[k], 1, 2) + "." + mid(s.PredLast3FText[k], 3, 2);
        s.SpeedArg = s.CompositeSpeed[k];
        if (s.SpeedArg != 0)
            step("predicted time", [&] { s.PredTimeText[k] = SpeedToTimeText(s.SpeedArg, item(h, s0::Distance)); });
        s.ArrivalOrder[k] = rightAlignedNumber(item(h, s0::ArrivalOrder));
        const QByteArray fp = item(h, s0::FinishPosition);
        s.FinishPos[k] = textBetween(fp, "01", "05") ? fp : QByteArray("**");
        s.Popularity[k] = rightAlignedNumber(item(h, s0::WinPopularity));
    }
}

// The race's spread in its RaceTable row.
void setRaceSpread(RunState& s) {
    const std::optional<double> sd = [&]() -> std::optional<double> {
        try {
            return PopulationStdDev(s.CompositeSpeed, s.HorseCount);
        } catch (const StepFailure&) {
            return 0.0;  // a negative variance (equal speeds) is no spread
        }
    }();
    s.RaceSD = float(sd.value_or(0.0));
    s.RaceSD = float(std::floor(double(s.RaceSD) * 16.666));
    checkedAt(s.RaceTable, s.RaceIndex)[rt::SD] = right(" " + singleText(s.RaceSD), 2);
}

// The predicted order: RankedHorse and SortValue by rank, PredRank by horse.
void rankHorses(RunState& s) {
    const int N = s.HorseCount;
    for (int h = 1; h <= N; ++h) {
        s.RankedHorse[h] = twoDigitText(h);
        s.SortValue[h] = s.CompositeSpeed[h];
    }
    QuickSortDesc(s.SortValue, s.RankedHorse, 1, N);
    for (int r = 1; r <= N; ++r) s.PredRank[s.RankedHorse[r].toInt()] = right(" " + numberText(r), 2);
}

// Pairs i < j ranked by score; PairBetsAsc keeps them smaller horse first,
// PairBets turns each faster horse first.
void rankPairs(RunState& s) {
    const int N = s.HorseCount;
    for (int i = 1; i <= N; ++i)
        for (int j = i + 1; j <= N; ++j) {
            const int p = ++s.PairCount;
            const ComboSums c = PairSums(s, i, j);
            s.PairBets[p] = ComboKey({i, j});
            s.PairPredSum[p] = c.predicted;
            s.PairResidSum[p] = c.residual;
            s.PairScore[p] = c.score;
        }
    QuickSortDesc(s.PairScore, s.PairBets, 1, s.PairCount);
    for (int p = 1; p <= s.PairCount; ++p) s.PairBetsAsc[p] = s.PairBets[p];
    for (int p = 1; p <= s.PairCount; ++p) {
        QByteArray& pair = s.PairBets[p];
        const QByteArray first = mid(pair, 1, 2), second = mid(pair, 3, 2);
        if (s.CompositeSpeed[second.toInt()] > s.CompositeSpeed[first.toInt()]) pair = second + first;
    }
}

// Trios i < j < e ranked by score; TrioBetsAsc keeps them ascending,
// TrioBets turns each fastest first.
void rankTrios(RunState& s) {
    const int N = s.HorseCount;
    for (int i = 1; i <= N; ++i)
        for (int j = i + 1; j <= N; ++j)
            for (int e = j + 1; e <= N; ++e) {
                const int t = ++s.TrioCount;
                const ComboSums c = TrioSums(s, i, j, e);
                s.TrioBets[t] = ComboKey({i, j, e});
                s.TrioPredSum[t] = c.predicted;
                s.TrioResidSum[t] = c.residual;
                s.TrioScore[t] = c.score;
            }
    QuickSortDesc(s.TrioScore, s.TrioBets, 1, s.TrioCount);
    for (int t = 1; t <= s.TrioCount; ++t) s.TrioBetsAsc[t] = s.TrioBets[t];
    for (int t = 1; t <= s.TrioCount; ++t) TurnFastestFirst(s, s.TrioBets[t]);
}

// The one place that sets the loop counters the writers are handed: as the
// race's own loops of the system leave them, CurIndex past the ten 3連単
// bets, CurSubIndex and EntryIndex past the last horse of the trio
// enumeration; a race without runners does not run that enumeration and
// leaves them as they were.
void handCountersToWriters(RunState& s) {
    s.CurIndex = 11;
    if (s.HorseCount > 0) s.CurSubIndex = s.EntryIndex = s.HorseCount + 1;
}

}  // namespace

void EmptyScoreFiles(const RunState& s, SkipLog& log) {
    for (int i = 1; i <= s.RaceCount; ++i)
        log.step("empty score file of race " + std::to_string(i),
                 [&] { emptyTextFile(KaimeFile(checkedAt(s.RaceIdList, i), kScoreSuffix)); });
}

QByteArray SpeedToTimeText(float speed, QByteArrayView distance) {
    const auto d = parseStrict(distance);
    if (!d) fail("distance \"" + printable(distance) + "\" is not a number");
    if (speed == 0) fail("division by zero: speed 0");
    float m = float(*d / double(speed));
    m = float(double(float(m * 60.0f)) / 1000.0);
    const float wholeM = std::floor(m);
    const float sec = float(float(m - wholeM) * 60.0f);
    const float wholeS = std::floor(sec);
    const float h = float(float(sec - wholeS) * 100.0f);
    return singleText(wholeM) + "." + right(singleText(float(wholeS + 100.0f)), 2) + "." +
           right(singleText(float(std::floor(h) + 100.0f)), 2);
}

std::optional<double> PopulationStdDev(const QList<float>& values, int n) {
    float sum = 0, sumsq = 0;
    std::int16_t count = 0;
    for (int i = 1; i <= n; ++i) {
        const float v = checkedAt(values, i);
        sum = float(sum + v);
        sumsq = float(sumsq + float(v * v));
        ++count;
    }
    if (count == 0) return std::nullopt;
    const float mean = float(sum / float(count));
    const double variance = double(sumsq) / count - double(float(mean * mean));
    if (variance < 0) fail("negative variance");
    return std::sqrt(variance);
}

void SetReliabilityGrades(RunState& s) {
    auto& grades = checkedAt(s.Grades, s.CurIndex);
    for (int g = 0; g < 5; ++g) {
        const double c = valLenient(item(s.CurrentHorse, s0::SampleCounts[size_t(g)]));
        if (c == 0 || (c >= 1 && c == std::floor(c))) grades[size_t(g)] = "A";
    }
}

void OrderTrioBySpeed(RunState& s) {
    const auto [a, b, c] = TrioFastestFirst(s, checkedAt(s.TrioBets, s.CurIndex));
    s.TrioHorseA = a;
    s.TrioHorseB = b;
    s.TrioHorseC = c;
}

void WriteDayRateFiles(RunState& s) {
    const QByteArray& horse = s.CurrentHorse;
    const auto r = parseStrict(item(horse, s0::RaceNo));
    if (!r) fail("race number of the runner record is not a number");
    const double R = *r;
    const QByteArray dayKey = zerosAsBlanks(RunnerRaceKey(horse).dayKey());
    TierHitTotals& t = s.TierHitTotals;
    t.Umaren.KindHits = std::int64_t(R);

    for (const PcTicketColumn& c : kPcTicketColumns) {
        PcTicketKind& k = s.PcTicketStats.*c.kind;
        k.HitRate = rate(double(k.HitCount) * 1000, R);
        k.ReturnRate = rate(double(k.PaySum) * 10, c.exotic ? double(k.TicketSum) : R);
    }

    auto tierRates = [](const TierHitKind& h, KaitekiKind& out, double D, double S) {
        for (int i = 1; i <= 3; ++i) {
            out.TierHitRate[size_t(i)] = rate(double(h.TierHits[size_t(i)]) * 1000, D);
            out.TierReturnRate[size_t(i)] = rate(double(h.TierPay[size_t(i)]) * 1000, D * S);
        }
    };
    KaitekiRates& k = s.KaitekiRates;
    const double D = double(t.Umaren.KindHits);
    tierRates(t.Umaren, k.Umaren, D, 600);
    tierRates(t.Wide, k.Wide, D, 600);
    tierRates(t.UmatanFwd, k.UmatanFwd, D, 600);
    tierRates(t.UmatanRev, k.UmatanRev, D, 600);
    tierRates(t.Sanrenpuku, k.Sanrenpuku, double(t.Sanrenpuku.KindHits), 700);
    tierRates(t.Sanrentan, k.Sanrentan, double(t.Sanrentan.KindHits), 4200);

    const QByteArray kaiteki = KaitekiBytes(s, dayKey);
    const QByteArray pc = KaitekiPcBytes(s, dayKey, std::int64_t(R));
    const QString kaitekiPath = TekichuDayFile(dayKey, kKaitekiSuffix);
    const QString pcPath = TekichuDayFile(dayKey, kKaitekiPcSuffix);
    writeFile(kaitekiPath, kaiteki);
    writeFile(pcPath, pc);
}

void RunRaceLoop(UiPort& ui, RunState& s, RunWork& work, const RaceWriterSlots& writers, SkipLog& log) {
    QHash<QByteArray, bool> scoreStarted;
    for (s.RaceIndex = 1; s.RaceIndex <= s.RaceCount; ++s.RaceIndex) {
        const int race = s.RaceIndex;
        const QByteArray id = s.RaceIdList.value(race);
        const RaceSteps step{log, "race " + std::to_string(race) + " (" + printable(id) + ")"};

        // The race's payoff record.
        // Normal mode reads whatever payoff record has the race's number;
        // a week without payoffs simply has none (CurrentHR keeps its value).
        s.HorseCount = std::int32_t(work.payoffs.size());
        const qint64 payoff = work.payoffRecordNo.value(race) - 1;
        if (payoff >= 0 && payoff < work.payoffs.size())
            s.CurrentHR = work.payoffs[payoff];
        else if (s.ResultsMode != 0)
            log.record("payoff record of " + step.raceName, "no payoff record " + std::to_string(payoff + 1));
        if (member(s.CurrentHR, jv::head::RaceNumber.pos, 2) == "01") resetDayTotals(s);

        // The race's runner records.
        QList<QByteArray> records;
        step("runner file", [&] {
            if (work.unwritten.contains(id) || !work.runners.contains(id))
                records = RecordFile::readAll(RunnerFile(id), kRunnerRecordLength);
            else
                records = work.runners.value(id);
        });

        // The race's state: horses, spread, order, pairs and trios.
        const int N = int(records.size());
        sizeRaceArrays(s, N);
        fillHorseValues(s, records, step);
        step("spread", [&] { setRaceSpread(s); });
        rankHorses(s);
        rankPairs(s);
        rankTrios(s);

        // The race's own files, each built from that state.
        step("rank sort files", [&] {
            writeFile(KaimeFile(id, kRankSortSuffix), RankSortBytes(s));
            writeFile(KaimeFile(id, kLupSortSuffix), LupSortBytes(s));
        });
        step("UMARENSORT.dat", [&] { writeFile(KaimeFile(id, kUmarenSortSuffix), UmarenSortBytes(s, id)); });

        // Progress: the one turn of the window system's events per race.
        ui.processEvents();
        const QByteArray course = CodeName(s.CodeTable, "2001", id.mid(8, 2), 4);
        ui.setText(ctl::MenuText5,
                   cp932::decode(id.left(8) + course + id.mid(10, 2)) + QStringLiteral("R予想中"));

        step("UMAREN bet-import file", [&] { writeFile(BetImportFile(kUmarenFolder, id, course), UmarenBetBytes(s, id)); });
        step("WIDE bet-import file", [&] { writeFile(BetImportFile(kWideFolder, id, course), WideBetBytes(s, id)); });
        step("UMATANSORT.dat", [&] { writeFile(KaimeFile(id, kUmatanSortSuffix), UmatanSortBytes(s, id)); });
        step("UMATAN bet-import file", [&] { writeFile(BetImportFile(kUmatanFolder, id, course), UmatanBetBytes(s, id)); });
        // A race listed twice adds its score lines again, as appending would.
        step("score file", [&] {
            const QString path = KaimeFile(id, kScoreSuffix);
            if (!scoreStarted.contains(id)) {
                writeFile(path, ScoreFileBytes(s, id));
                scoreStarted.insert(id, true);
            } else {
                appendBytes(path, ScoreFileBytes(s, id));
            }
        });
        step("SANRENSORT.dat", [&] { writeFile(KaimeFile(id, kSanrenSortSuffix), SanrenSortBytes(s, id)); });
        step("SANRENPUKU bet-import file",
             [&] { writeFile(BetImportFile(kSanrenpukuFolder, id, course), SanrenpukuBetBytes(s, id)); });
        step("SANRENTANSORT.dat", [&] { writeFile(KaimeFile(id, kSanrentanSortSuffix), SanrentanSortBytes(s, id)); });
        step("SANRENTAN bet-import file",
             [&] { writeFile(BetImportFile(kSanrentanFolder, id, course), SanrentanBetBytes(s, id)); });

        handCountersToWriters(s);
        CallRaceWriters(s, writers, log);

        if (s.ResultsMode != 0) {
            if (N == 0)
                log.record("rate files of " + step.raceName, "the race has no runner record; no rate file is written");
            else
                step("rate files", [&] { WriteDayRateFiles(s); });
        }
    }
}

}  // namespace rw::prediction
