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
#include "jvdata/records.h"
#include "prediction/race_key.h"
#include "prediction/run_files.h"
#include "prediction/runner_record.h"

#include <cmath>

namespace rw::prediction {
namespace {

using recordlayout::Field;

const QByteArray kCrLf("\r\n");


// A runner-record item as text: never-assigned zero bytes read as blanks.
QByteArray item(QByteArrayView rec, Field f) { return blankedMember(rec, f.pos, f.width); }
float single(QByteArrayView rec, Field f) { return getSingle(rec, f.pos); }

// Right(s, n): the last n bytes.
QByteArray right(const QByteArray& s, qsizetype n) { return s.size() <= n ? s : s.right(n); }
// Mid(s, start, n), 1-based, fewer where s ends.
QByteArray mid(const QByteArray& s, qsizetype start, qsizetype n) { return s.mid(start - 1, n); }

QByteArray twoDigits(int n) { return right(numberText(n + 100), 2); }

CsvValue txt(QByteArrayView b) { return CsvValue::text(b); }
CsvValue num(float v) { return CsvValue::number(singleText(v)); }
CsvValue num(double v) { return CsvValue::number(doubleText(v)); }
CsvValue num(std::int64_t v) { return CsvValue::number(numberText(v)); }

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

// One ticket sort line.
QByteArray sortLine(const QByteArray& id, const char* word, const QByteArray& combo, float score) {
    return csvLine({txt(id), txt(word), txt(combo), num(score)}) + kCrLf;
}

QByteArray dayLine1Part(const QByteArray& horse, const CodeTable& codes, QList<CsvValue>& values) {
    const QByteArray year = item(horse, s0::RaceYear);
    const QByteArray md = item(horse, s0::RaceMonthDay);
    values = {txt(year + cp932::encode(u"年")), txt(md.left(2) + cp932::encode(u"月")),
              txt(md.mid(2, 2) + cp932::encode(u"日")),
              txt(numberText(std::int64_t(valLenient(item(horse, s0::MeetingNo)))) + cp932::encode(u"回")),
              CodeNameItem(codes, "2001", item(horse, s0::CourseCode), 4),
              txt(numberText(std::int64_t(valLenient(item(horse, s0::DayNo)))) + cp932::encode(u"日目"))};
    return year;
}

// Int(a / b) × 0.1, 0 when b is 0.
double rate(double a, double b) { return b == 0 ? 0.0 : std::floor(a / b) * 0.1; }

void resetDayTotals(RunState& s) {
    s.TierHitTotals = {};
    PcTicketStats& p = s.PcTicketStats;
    for (PcTicketKind* k : {&p.Tansho1, &p.Tansho2, &p.Fukusho1, &p.Fukusho2, &p.UmarenF, &p.UmarenB, &p.UmatanF,
                            &p.SanrenpukuB, &p.Sanrentan12, &p.Sanrentan23, &p.Sanrentan13}) {
        k->HitCount = 0;
        k->PaySum = 0;
        k->TicketSum = 0;
    }
}

struct RaceFiles {
    QByteArray score, sort, lupSort, umarenSort, umatanSort, sanrenSort, sanrentanSort;
    QByteArray umaren, wide, umatan, sanrenpuku, sanrentan;
};

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
    const QByteArray& trio = checkedAt(s.TrioBets, s.CurIndex);
    s.TrioHorseA = mid(trio, 1, 2);
    s.TrioHorseB = mid(trio, 3, 2);
    s.TrioHorseC = mid(trio, 5, 2);
    auto speed = [&](const QByteArray& h) { return checkedAt(s.CompositeSpeed, h.toInt()); };
    auto exchange = [&](QByteArray& a, QByteArray& b) {
        s.TrioSwapText = a;
        a = b;
        b = s.TrioSwapText;
    };
    if (speed(s.TrioHorseB) < speed(s.TrioHorseC)) exchange(s.TrioHorseB, s.TrioHorseC);
    if (speed(s.TrioHorseA) < speed(s.TrioHorseB)) exchange(s.TrioHorseA, s.TrioHorseB);
    if (speed(s.TrioHorseB) < speed(s.TrioHorseC)) exchange(s.TrioHorseB, s.TrioHorseC);
}

QByteArray BetImportLine(QByteArrayView raceId, QByteArrayView ticketCode, QByteArrayView combination) {
    const QByteArray id = raceId.toByteArray();
    return id.left(8) + ',' + id.mid(8, 2) + ',' + id.mid(10, 2) + ',' + ticketCode.toByteArray() + ',' +
           combination.toByteArray() + ",100";
}

void WriteDayRateFiles(RunState& s) {
    const QByteArray& horse = s.CurrentHorse;
    const auto r = parseStrict(item(horse, s0::RaceNo));
    if (!r) fail("race number of the runner record is not a number");
    const double R = *r;
    const QByteArray dayKey = zerosAsBlanks(RaceKey::ofRunner(horse).dayKey());
    TierHitTotals& t = s.TierHitTotals;
    t.Umaren.KindHits = std::int64_t(R);

    PcTicketStats& p = s.PcTicketStats;
    for (PcTicketKind* k : {&p.Tansho1, &p.Tansho2, &p.Fukusho1, &p.Fukusho2})
        k->HitRate = rate(double(k->HitCount) * 1000, R), k->ReturnRate = rate(double(k->PaySum) * 10, R);
    for (PcTicketKind* k : {&p.UmarenF, &p.UmarenB, &p.UmatanF, &p.SanrenpukuB, &p.Sanrentan12, &p.Sanrentan23,
                            &p.Sanrentan13})
        k->HitRate = rate(double(k->HitCount) * 1000, R), k->ReturnRate = rate(double(k->PaySum) * 10, k->TicketSum);

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

    QList<CsvValue> head;
    dayLine1Part(horse, s.CodeTable, head);
    auto sj = [](const char16_t* u) { return txt(cp932::encode(QStringView(u))); };

    QByteArray kaiteki = csvLine(head) + kCrLf;
    kaiteki += csvLine({sj(u"　　"), sj(u"回収率"), sj(u"％"), sj(u"　　"), sj(u"的中率"), sj(u"％"), sj(u"　　")}) + kCrLf;
    kaiteki += csvLine({sj(u"券種"), sj(u"本線"), sj(u"準本線"), sj(u"伏兵"), sj(u"本線"), sj(u"準本線"), sj(u"伏兵")}) + kCrLf;
    auto rateLine = [&](const char16_t* name, const KaitekiKind& kk) {
        return csvLine({sj(name), num(kk.TierReturnRate[1]), num(kk.TierReturnRate[2]), num(kk.TierReturnRate[3]),
                        num(kk.TierHitRate[1]), num(kk.TierHitRate[2]), num(kk.TierHitRate[3])}) +
               kCrLf;
    };
    kaiteki += rateLine(u"馬連", k.Umaren);
    kaiteki += rateLine(u"馬単表", k.UmatanFwd);
    kaiteki += rateLine(u"馬単裏", k.UmatanRev);
    kaiteki += rateLine(u"３連複", k.Sanrenpuku);
    kaiteki += rateLine(u"３連単", k.Sanrentan);
    kaiteki += rateLine(u"ワイド", k.Wide);

    const std::array<const PcTicketKind*, 11> cols{&p.Tansho1,    &p.Fukusho1,    &p.Tansho2,     &p.Fukusho2,
                                                   &p.UmarenF,    &p.UmarenB,     &p.UmatanF,     &p.SanrenpukuB,
                                                   &p.Sanrentan12, &p.Sanrentan23, &p.Sanrentan13};
    QByteArray pc = csvLine(head) + kCrLf;
    pc += csvLine({sj(u"券種"), sj(u"単勝1"), sj(u"複勝1"), sj(u"単勝2"), sj(u"複勝2"), sj(u"馬連F"), sj(u"馬連B"),
                   sj(u"馬単F"), sj(u"  3連複B"), sj(u"  3連単12"), sj(u"  3連単23"), sj(u"  3連単13")}) +
          kCrLf;
    auto pcLine = [&](const char16_t* name, auto value) {
        QList<CsvValue> v{sj(name)};
        for (int c = 0; c < 11; ++c) v.append(value(c, *cols[size_t(c)]));
        return csvLine(v) + kCrLf;
    };
    const std::int64_t races = std::int64_t(R);
    pc += pcLine(u"予想R数", [&](int, const PcTicketKind&) { return num(races); });
    pc += pcLine(u"的中R数", [&](int, const PcTicketKind& x) { return num(std::int64_t(x.HitCount)); });
    pc += pcLine(u"的中率", [&](int, const PcTicketKind& x) { return num(x.HitRate); });
    pc += pcLine(u"購入点数",
                 [&](int c, const PcTicketKind& x) { return num(c < 4 ? races : std::int64_t(x.TicketSum)); });
    pc += pcLine(u"回収金額", [&](int, const PcTicketKind& x) { return num(std::int64_t(x.PaySum)); });
    pc += pcLine(u"回収率", [&](int, const PcTicketKind& x) { return num(x.ReturnRate); });

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
        const std::string raceName = "race " + std::to_string(race) + " (" + printable(id) + ")";
        auto step = [&](const char* what, auto&& f) { return log.step(std::string(what) + " of " + raceName, f); };

        // The race's payoff record.
        // Normal mode reads whatever payoff record has the race's number;
        // a week without payoffs simply has none (CurrentHR keeps its value).
        s.HorseCount = std::int32_t(work.payoffs.size());
        const qint64 payoff = work.payoffRecordNo.value(race) - 1;
        if (payoff >= 0 && payoff < work.payoffs.size())
            s.CurrentHR = work.payoffs[payoff];
        else if (s.ResultsMode != 0)
            log.record("payoff record of " + raceName, "no payoff record " + std::to_string(payoff + 1));
        if (member(s.CurrentHR, jv::head::RaceNumber.pos, 2) == "01") resetDayTotals(s);

        // The race's runner records.
        QList<QByteArray> records;
        step("runner file", [&] {
            if (work.unwritten.contains(id) || !work.runners.contains(id))
                records = RecordFile::readAll(RunnerFile(id), kRunnerRecordLength);
            else
                records = work.runners.value(id);
        });
        const int N = int(records.size());
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

        RaceFiles f;
        // Per-horse values and the horse lines of the score file.
        for (s.CurIndex = 1; s.CurIndex <= N; ++s.CurIndex) {
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
            f.score += csvLine({txt(id), num(std::int64_t(k)), num(s.CompositeSpeed[k]), num(s.PredSpeed[k]),
                                num(s.ResidualValue[k])}) +
                       kCrLf;
        }

        // The race's spread.
        step("spread", [&] {
            const std::optional<double> sd = [&]() -> std::optional<double> {
                try {
                    return PopulationStdDev(s.CompositeSpeed, N);
                } catch (const StepFailure&) {
                    return 0.0;  // a negative variance (equal speeds) is no spread
                }
            }();
            s.RaceSD = float(sd.value_or(0.0));
            s.RaceSD = float(std::floor(double(s.RaceSD) * 16.666));
            checkedAt(s.RaceTable, race)[rt::SD] = right(" " + singleText(s.RaceSD), 2);
        });

        // The predicted order and the two rank sort files.
        for (s.CurIndex = 1; s.CurIndex <= N; ++s.CurIndex) {
            s.RankedHorse[s.CurIndex] = twoDigits(s.CurIndex);
            s.SortValue[s.CurIndex] = s.CompositeSpeed[s.CurIndex];
        }
        QuickSortDesc(s.SortValue, s.RankedHorse, 1, N);
        for (s.CurIndex = 1; s.CurIndex <= N; ++s.CurIndex)
            s.PredRank[s.RankedHorse[s.CurIndex].toInt()] = right(" " + numberText(s.CurIndex), 2);
        for (s.CurIndex = 1; s.CurIndex <= N; ++s.CurIndex) {
            const int h = s.CurIndex;
            const auto age = parseStrict(s.HorseAge[h]);
            const QByteArray ageText = age ? right("  " + doubleText(std::floor(*age)), 2) : QByteArray("  ");
            const QByteArray name9 = cp932::firstChars(s.HorseName[h], 9);
            const QByteArray jockey4 = cp932::firstChars(s.JockeyName[h], 4);
            const auto& g = s.Grades[h];
            f.sort += csvLine({num(std::int64_t(h)), txt(s.FrameNo[h]), txt(right(" " + numberText(h), 2)),
                               txt(s.PredRank[h]), txt(s.SexName[h]), txt(ageText), txt(name9),
                               txt(s.CarriedWeight[h]), txt(g[0]), txt(g[1]), txt(g[2]), txt(g[3]), txt(jockey4),
                               txt(s.PredTimeText[h]),
                               txt(right(" " + doubleText(std::floor(double(s.CompositeSpeed[h]) * 16.666)), 4))}) +
                      kCrLf;
            f.lupSort += csvLine({num(std::int64_t(h)), txt(s.FrameNo[h]), txt(right(" " + numberText(h), 2)),
                                  txt(s.PredRank[h]), txt(s.SexName[h]), txt(ageText), txt(name9),
                                  txt(s.CarriedWeight[h]), txt(jockey4), txt(cp932::firstChars(s.TrainerName[h], 4)),
                                  txt(s.PredTimeText[h]), txt(s.PredLast3FText[h])}) +
                         kCrLf;
        }
        step("rank sort files", [&] {
            writeFile(KaimeFile(id, kRankSortSuffix), f.sort);
            writeFile(KaimeFile(id, kLupSortSuffix), f.lupSort);
        });

        // Pairs: enumeration, ranking, the 馬連 sort file.
        for (s.CurIndex = 1; s.CurIndex <= N; ++s.CurIndex)
            for (s.CurSubIndex = 1; s.CurSubIndex <= N; ++s.CurSubIndex) {
                const int i = s.CurIndex, j = s.CurSubIndex;
                if (i >= j) continue;
                const int p = ++s.PairCount;
                s.PairBets[p] = twoDigits(i) + twoDigits(j);
                s.PairPredSum[p] = float(s.PredSpeed[i] + s.PredSpeed[j]);
                s.PairResidSum[p] = float(s.ResidualValue[i] + s.ResidualValue[j]);
                s.PairScore[p] = float(float(float(s.PredSpeed[i] + s.ResidualValue[i]) + s.PredSpeed[j]) +
                                       s.ResidualValue[j]);
                f.score += csvLine({txt(id), txt("Umaren"), txt(s.PairBets[p]), num(s.PairScore[p]),
                                    num(s.PairPredSum[p]), num(s.PairResidSum[p])}) +
                           kCrLf;
            }
        QuickSortDesc(s.PairScore, s.PairBets, 1, s.PairCount);
        for (s.CurIndex = 1; s.CurIndex <= s.PairCount; ++s.CurIndex) {
            s.PairBetsAsc[s.CurIndex] = s.PairBets[s.CurIndex];
            f.umarenSort += sortLine(id, "Umaren", s.PairBets[s.CurIndex], s.PairScore[s.CurIndex]);
        }
        step("UMARENSORT.dat", [&] { writeFile(KaimeFile(id, kUmarenSortSuffix), f.umarenSort); });

        // Progress: the one turn of the window system's events per race.
        ui.processEvents();
        const QByteArray course = CodeName(s.CodeTable, "2001", id.mid(8, 2), 4);
        ui.setText(ctl::MenuText5,
                   cp932::decode(id.left(8) + course + id.mid(10, 2)) + QStringLiteral("R予想中"));

        // 馬連 and ワイド bet-import files.
        for (s.CurIndex = 1; s.CurIndex <= 7; ++s.CurIndex) {
            if (s.CurIndex > s.PairCount) continue;
            const QByteArray& pair = s.PairBetsAsc[s.CurIndex];
            const QByteArray combo = mid(pair, 1, 2) + "-" + mid(pair, 3, 2);
            f.umaren += BetImportLine(id, "04", combo) + kCrLf;
            if (s.CurIndex <= 3) f.wide += BetImportLine(id, "05", combo) + kCrLf;
        }
        step("UMAREN bet-import file", [&] { writeFile(BetImportFile(kUmarenFolder, id, course), f.umaren); });
        step("WIDE bet-import file", [&] { writeFile(BetImportFile(kWideFolder, id, course), f.wide); });

        // Pairs turned faster horse first; the 馬単 sort and bet-import files.
        for (s.CurIndex = 1; s.CurIndex <= s.PairCount; ++s.CurIndex) {
            QByteArray& pair = s.PairBets[s.CurIndex];
            s.PairHorseFirst = mid(pair, 1, 2);
            s.PairHorseSecond = mid(pair, 3, 2);
            if (s.CompositeSpeed[s.PairHorseSecond.toInt()] > s.CompositeSpeed[s.PairHorseFirst.toInt()])
                pair = s.PairHorseSecond + s.PairHorseFirst;
            f.umatanSort += sortLine(id, "Umatan", pair, s.PairScore[s.CurIndex]);
        }
        step("UMATANSORT.dat", [&] { writeFile(KaimeFile(id, kUmatanSortSuffix), f.umatanSort); });
        for (s.CurIndex = 1; s.CurIndex <= 7; ++s.CurIndex) {
            if (s.CurIndex > s.PairCount) continue;
            QByteArray first = mid(s.PairBets[s.CurIndex], 1, 2), second = mid(s.PairBets[s.CurIndex], 3, 2);
            if (s.CompositeSpeed[second.toInt()] > s.CompositeSpeed[first.toInt()]) std::swap(first, second);
            f.umatan += BetImportLine(id, "06", first + "-" + second) + kCrLf;
            f.umatan += BetImportLine(id, "06", second + "-" + first) + kCrLf;
        }
        step("UMATAN bet-import file", [&] { writeFile(BetImportFile(kUmatanFolder, id, course), f.umatan); });

        // Trios: enumeration, ranking, the 3連複 sort and bet-import files.
        for (s.CurIndex = 1; s.CurIndex <= N; ++s.CurIndex)
            for (s.CurSubIndex = 1; s.CurSubIndex <= N; ++s.CurSubIndex)
                for (s.EntryIndex = 1; s.EntryIndex <= N; ++s.EntryIndex) {
                    const int i = s.CurIndex, j = s.CurSubIndex, e = s.EntryIndex;
                    if (!(i < j && i < e && j < e)) continue;
                    const int t = ++s.TrioCount;
                    s.TrioBets[t] = twoDigits(i) + twoDigits(j) + twoDigits(e);
                    s.TrioPredSum[t] = float(float(s.PredSpeed[i] + s.PredSpeed[j]) + s.PredSpeed[e]);
                    s.TrioResidSum[t] = float(float(s.ResidualValue[i] + s.ResidualValue[j]) + s.ResidualValue[e]);
                    s.TrioScore[t] = float(s.TrioPredSum[t] + s.TrioResidSum[t]);
                    f.score += csvLine({txt(id), txt("Sanrenpuku"), txt(s.TrioBets[t]), num(s.TrioScore[t]),
                                        num(s.TrioPredSum[t]), num(s.TrioResidSum[t])}) +
                               kCrLf;
                }
        // The score file is complete: horse, pair and trio lines. A race
        // listed twice adds its lines again, as appending would.
        step("score file", [&] {
            const QString path = KaimeFile(id, kScoreSuffix);
            if (!scoreStarted.contains(id)) {
                writeFile(path, f.score);
                scoreStarted.insert(id, true);
            } else {
                TextOut(path, TextOut::Mode::Append).writeRaw(f.score);
            }
        });
        QuickSortDesc(s.TrioScore, s.TrioBets, 1, s.TrioCount);
        for (s.CurIndex = 1; s.CurIndex <= s.TrioCount; ++s.CurIndex) {
            s.TrioBetsAsc[s.CurIndex] = s.TrioBets[s.CurIndex];
            f.sanrenSort += sortLine(id, "Sanrenpuke", s.TrioBets[s.CurIndex], s.TrioScore[s.CurIndex]);
        }
        step("SANRENSORT.dat", [&] { writeFile(KaimeFile(id, kSanrenSortSuffix), f.sanrenSort); });
        for (s.CurIndex = 1; s.CurIndex <= 10; ++s.CurIndex) {
            if (s.CurIndex > s.TrioCount) continue;
            const QByteArray& trio = s.TrioBetsAsc[s.CurIndex];
            f.sanrenpuku += BetImportLine(id, "07", mid(trio, 1, 2) + "-" + mid(trio, 3, 2) + "-" + mid(trio, 5, 2)) + kCrLf;
        }
        step("SANRENPUKU bet-import file",
             [&] { writeFile(BetImportFile(kSanrenpukuFolder, id, course), f.sanrenpuku); });

        // Trios fastest first; the 3連単 sort and bet-import files.
        for (s.CurIndex = 1; s.CurIndex <= s.TrioCount; ++s.CurIndex) {
            OrderTrioBySpeed(s);
            s.TrioBets[s.CurIndex] = s.TrioHorseA + s.TrioHorseB + s.TrioHorseC;
            f.sanrentanSort += sortLine(id, "sanrentan", s.TrioBets[s.CurIndex], s.TrioScore[s.CurIndex]);
        }
        step("SANRENTANSORT.dat", [&] { writeFile(KaimeFile(id, kSanrentanSortSuffix), f.sanrentanSort); });
        for (s.CurIndex = 1; s.CurIndex <= 10; ++s.CurIndex) {
            if (s.CurIndex > s.TrioCount) continue;
            OrderTrioBySpeed(s);
            const QByteArray &a = s.TrioHorseA, &b = s.TrioHorseB, &c = s.TrioHorseC;
            for (const QByteArray& combo : {a + "-" + b + "-" + c, a + "-" + c + "-" + b, b + "-" + a + "-" + c,
                                            b + "-" + c + "-" + a, c + "-" + a + "-" + b, c + "-" + b + "-" + a})
                f.sanrentan += BetImportLine(id, "08", combo) + kCrLf;
        }
        step("SANRENTAN bet-import file", [&] { writeFile(BetImportFile(kSanrentanFolder, id, course), f.sanrentan); });

        // The writers find the counters where the loops left them: CurIndex
        // 11, CurSubIndex and EntryIndex N + 1 from the trio enumeration.
        CallRaceWriters(s, writers, log);

        if (s.ResultsMode != 0) {
            if (N == 0)
                log.record("rate files of " + raceName, "the race has no runner record; no rate file is written");
            else
                step("rate files", [&] { WriteDayRateFiles(s); });
        }
    }
}

}  // namespace rw::prediction
