#include "literal_prediction.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/quicksort.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "model/expanded_record.h"
#include "prediction/race_loop.h"
#include "prediction/run_files.h"
#include "prediction/runner_files.h"
#include "prediction/runner_record.h"

#include <QFile>
#include <cmath>

namespace predtest {

using namespace rw;
using namespace rw::prediction;
using rw::recordlayout::Field;

namespace {

// One record read by its own open, seek and close; zero bytes past the end.
QByteArray readRecord(const QString& path, qsizetype len, qint64 n) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || !f.seek((n - 1) * len)) fail("no record");
    QByteArray r = f.read(len);
    if (r.size() < len) fail("no record");
    return r;
}
qint64 countOf(const QString& path, qsizetype len) { return RecordFile::countOf(path, len); }

struct LiteralCodes {
    QList<std::array<QByteArray, 8>> rows;
    QByteArray lookup(QByteArrayView table, QByteArrayView code, int column) const {
        if (column < 0 || column > 7) fail("column");
        QByteArray found;
        for (const auto& r : rows)
            if (r[0] == table && r[1] == code) found = r[size_t(column)];
        return found;
    }
};

QByteArray at(QByteArrayView r, Field f) { return member(r, f.pos, f.width).toByteArray(); }
QByteArray blanked(QByteArrayView r, Field f) {
    QByteArray v = at(r, f);
    v.replace('\0', ' ');
    return v;
}
QByteArray idOf(QByteArrayView r) {
    return at(r, jv::head::Year) + at(r, jv::head::MonthDay) + at(r, jv::head::Racecourse) + at(r, jv::head::RaceNumber);
}
QByteArray right(const QByteArray& s, int n) { return s.size() <= n ? s : s.right(n); }
QByteArray two(int n) { return right(QByteArray::number(n + 100), 2); }
CsvValue t(QByteArrayView b) { return CsvValue::text(b); }
CsvValue nf(float v) { return CsvValue::number(singleText(v)); }
CsvValue ni(qint64 v) { return CsvValue::number(numberText(v)); }
template <class F>
void attempt(F&& f) {
    try {
        f();
    } catch (const StepFailure&) {
    }
}

struct Literal {
    RunState& s;
    LiteralCodes codes = {};
    QList<qint64> payoffNo{0};
    QList<bool> hasRow{false};

    QByteArray detail(QByteArrayView ra) {
        s.CourseName = codes.lookup("2001", at(ra, jv::head::Racecourse), 4);
        QByteArray name = cp932::firstChars(at(ra, jv::ra::RaceName), 12);
        if (name == QByteArray(12, ' ').replace(" ", "\x81\x40")) name.clear();
        const QByteArray track = at(ra, jv::ra::TrackCode);
        const bool dirt = track >= "23" && track <= "29";
        return csvLine({t(idOf(ra)), t(QByteArray::number(at(ra, jv::head::RaceNumber).toInt())),
                        t(at(ra, jv::ra::StartTime)), t(at(ra, jv::head::RaceNumber)), t(name),
                        t(codes.lookup("2005", at(ra, jv::ra::RaceTypeCode), 4)),
                        t(codes.lookup("2007", at(ra, jv::findField(jv::kRA, "race condition codes", {}, 4)), 2)),
                        t(cp932::firstChars(codes.lookup("2003", at(ra, jv::ra::GradeCode), 2), 4)),
                        t(cp932::firstChars(codes.lookup("2009", track, 3), 1)), t(at(ra, jv::ra::Distance)),
                        t("SD"),
                        t(codes.lookup("2011", at(ra, jv::ra::WeatherCode), 2) +
                          codes.lookup("2010", at(ra, dirt ? jv::ra::DirtGoingCode : jv::ra::TurfGoingCode), 2))});
    }
    QString item(QByteArrayView r, int blanks, const QByteArray& id) {
        const QByteArray md = at(r, jv::head::MonthDay);
        return cp932::decode(at(r, jv::head::Year) + cp932::encode(u"年") + md.left(2) + cp932::encode(u"月") +
                             md.mid(2) + cp932::encode(u"日") + at(r, jv::head::Racecourse) + s.CourseName +
                             at(r, jv::head::Meeting) + cp932::encode(u"回") + at(r, jv::head::Day) +
                             cp932::encode(u"日") + at(r, jv::head::RaceNumber) + "R" + QByteArray(blanks, ' ') + id);
    }
    void newRunnerFile(const QByteArray& id) {
        RemoveFile(RunnerFile(id));
        RecordFile(RunnerFile(id), kRunnerRecordLength).close();
    }

    void raceList() {
        const QString raPath = AppFile(jv::kRaNewFile);
        const qint64 n = countOf(raPath, 1272);
        if (s.ResultsMode == 0) {
            for (qint64 i = 1; i <= n; ++i) {
                s.CurrentRA = readRecord(raPath, 1272, i);
                const QByteArray kind = at(s.CurrentRA, jv::head::DataKind);
                if (kind < "2" || kind > "6") continue;
                const QByteArray id = idOf(s.CurrentRA);
                if (!isRaceId(id)) continue;
                ++s.RaceCount;
                const QByteArray line = detail(s.CurrentRA);
                s.RaceIdList.append(id);
                payoffNo.append(s.RaceCount);
                hasRow.append(true);
                appendLine(AppFile(kRaceKeyListFile), at(s.CurrentRA, jv::head::RaceKey16));
                appendValues(AppFile(kRaceListFile), {t(id)});
                appendLine(AppFile(kRaceDetailFile), line);
                newRunnerFile(id);
                s.List1.append(item(s.CurrentRA, 9, id));
            }
            return;
        }
        emptyTextFile(AppFile(kRaceListFile));
        const QString hrPath = AppFile(jv::kHrWeekFile);
        const qint64 h = countOf(hrPath, 719);
        for (qint64 i = 1; i <= h; ++i) {
            s.CurrentHR = readRecord(hrPath, 719, i);
            const QByteArray id = idOf(s.CurrentHR);
            if (!isRaceId(id)) continue;
            s.CourseName = codes.lookup("2001", at(s.CurrentHR, jv::head::Racecourse), 4);
            ++s.RaceCount;
            s.RaceIdList.append(id);
            payoffNo.append(i);
            appendValues(AppFile(kRaceListFile), {t(id)});
            newRunnerFile(id);
            s.List1.append(item(s.CurrentHR, 10, id));
        }
        for (int k = 1; k <= s.RaceCount; ++k) {
            qint64 last = 0;
            for (qint64 i = 1; i <= n; ++i)
                if (idOf(readRecord(raPath, 1272, i)) == s.RaceIdList[k]) last = i;
            hasRow.append(last != 0);
            if (!last) continue;
            s.CurrentRA = readRecord(raPath, 1272, last);
            appendLine(AppFile(kRaceKeyListFile), at(s.CurrentRA, jv::head::RaceKey16));
            appendLine(AppFile(kRaceDetailFile), detail(s.CurrentRA));
        }
    }

    void createRunners() {
        const QString sePath = AppFile(jv::kSeNewFile);
        const qint64 n = countOf(sePath, 555);
        for (qint64 i = 1; i <= n; ++i) {
            s.CurrentSE = readRecord(sePath, 555, i);
            for (int k = 1; k <= s.RaceCount; ++k) {
                if (s.RaceIdList[k] != idOf(s.CurrentSE)) continue;
                const auto no = parseStrict(at(s.CurrentSE, jv::se::HorseNumber));
                if (!no || *no < 1 || *no != std::floor(*no)) continue;
                RecordFile f(RunnerFile(s.RaceIdList[k]), kRunnerRecordLength);
                auto put = [&](Field fl, QByteArrayView v) { putFixed(s.CurrentHorse, fl.pos, fl.width, v); };
                put(rr::FrameNo(0), at(s.CurrentSE, jv::se::FrameNumber));
                put(rr::HorseNo(0), at(s.CurrentSE, jv::se::HorseNumber));
                put(rr::RegistrationNo(0), at(s.CurrentSE, jv::se::RegistrationNumber));
                put(rr::HorseName, at(s.CurrentSE, jv::se::HorseName));
                put(rr::RecordEnd, "\r\n");
                f.write(qint64(*no), s.CurrentHorse);
                f.close();
            }
        }
    }

    void loadTable() {
        const QList<QByteArray> values = readValues(AppFile(kRaceDetailFile));
        qsizetype v = 0;
        s.RaceTable = QList<RaceRow>(s.RaceCount + 1);
        for (int r = 1; r <= s.RaceCount; ++r) {
            if (!hasRow[r]) continue;
            for (int c = 0; c <= 11; ++c) s.RaceTable[r][size_t(c)] = values.value(v++);
        }
    }

    void fillRunners() {
        for (s.RaceIndex = 1; s.RaceIndex <= s.RaceCount; ++s.RaceIndex) {
            RecordFile f(RunnerFile(s.RaceIdList[s.RaceIndex]), kRunnerRecordLength);
            s.HorseCount = std::int32_t(f.count());
            for (s.CurIndex = 1; s.CurIndex <= s.HorseCount; ++s.CurIndex) {
                s.CurrentHorse = f.read(s.CurIndex);
                const QByteArray reg = at(s.CurrentHorse, rr::RegistrationNo(0));
                QList<QByteArray> expanded;
                if (isRegistrationNumber(reg)) {
                    const QString exPath = model::ExpandedRecordFile(reg);
                    const qint64 m = countOf(exPath, 2603);
                    for (qint64 j = 1; j <= m; ++j) expanded.append(readRecord(exPath, 2603, j));
                }
                FillRunnerRecord(s.CurrentHorse, expanded);
                const QByteArray track = at(s.CurrentHorse, rr::TrackCode(0));
                const Field g = track >= "00" && track <= "22"   ? rr::TurfGoingCode(0)
                                : track >= "23" && track <= "49" ? rr::DirtGoingCode(0)
                                                                 : rr::TurfGoingCode(0);
                s.RaceTable[s.RaceIndex][11] = codes.lookup("2011", at(s.CurrentHorse, rr::WeatherCode(0)), 2) +
                                               codes.lookup("2010", at(s.CurrentHorse, g), 2);
                f.write(s.CurIndex, s.CurrentHorse);
            }
        }
    }

    QByteArray rightNumber(const QByteArray& v) {
        const auto x = parseStrict(v);
        return right(" " + (x ? doubleText(*x) : QByteArray("0")), 2);
    }

    void raceLoop(const RaceWriterSlots& writers) {
        const QString hrPath = AppFile(jv::kHrWeekFile);
        for (s.RaceIndex = 1; s.RaceIndex <= s.RaceCount; ++s.RaceIndex) {
            const QByteArray id = s.RaceIdList[s.RaceIndex];
            attempt([&] { s.CurrentHR = readRecord(hrPath, 719, payoffNo[s.RaceIndex]); });
            if (at(s.CurrentHR, jv::head::RaceNumber) == "01") {
                s.TierHitTotals = {};
                for (PcTicketKind* k : {&s.PcTicketStats.Tansho1, &s.PcTicketStats.Tansho2, &s.PcTicketStats.Fukusho1,
                                        &s.PcTicketStats.Fukusho2, &s.PcTicketStats.UmarenF, &s.PcTicketStats.UmarenB,
                                        &s.PcTicketStats.UmatanF, &s.PcTicketStats.SanrenpukuB,
                                        &s.PcTicketStats.Sanrentan12, &s.PcTicketStats.Sanrentan23,
                                        &s.PcTicketStats.Sanrentan13})
                    k->HitCount = 0, k->PaySum = 0, k->TicketSum = 0;
            }
            RecordFile runner(RunnerFile(id), kRunnerRecordLength);
            const int N = int(runner.count());
            s.HorseCount = N;
            for (auto* a : {&s.FrameNo, &s.HorseName, &s.CarriedWeight, &s.JockeyName, &s.TrainerName, &s.SexName,
                            &s.HorseAge, &s.PredTimeText, &s.ActualTimeText, &s.ActualLast3FText, &s.PredLast3FText,
                            &s.RankedHorse})
                *a = QList<QByteArray>(N + 1);
            for (auto* a : {&s.PredSpeed, &s.ResidualValue, &s.CompositeSpeed, &s.ActualSpeed, &s.SortValue})
                *a = QList<float>(N + 1);
            s.Grades = QList<std::array<QByteArray, 5>>(N + 1);
            for (auto* a : {&s.PredRank, &s.ArrivalOrder, &s.Popularity, &s.FinishPos})
                if (a->size() < N + 1) a->resize(N + 1);
            const int pairs = N * std::max(N - 1, 0) + 1, trios = N * std::max(N - 1, 0) * std::max(N - 2, 0) + 1;
            s.PairBets = s.PairBetsAsc = QList<QByteArray>(pairs);
            s.PairScore = s.PairPredSum = s.PairResidSum = QList<float>(pairs);
            s.TrioBets = s.TrioBetsAsc = QList<QByteArray>(trios);
            s.TrioScore = s.TrioPredSum = s.TrioResidSum = QList<float>(trios);
            s.PairCount = s.TrioCount = 0;
            const QString score = KaimeFile(id, kScoreSuffix);
            for (s.CurIndex = 1; s.CurIndex <= N; ++s.CurIndex) {
                const int k = s.CurIndex;
                s.CurrentHorse = readRecord(RunnerFile(id), kRunnerRecordLength, k);
                const QByteArray& h = s.CurrentHorse;
                s.PredSpeed[k] = getSingle(h, rr::Result(0, 6).pos);
                s.ResidualValue[k] = getSingle(h, rr::Residual.pos);
                s.CompositeSpeed[k] = s.PredSpeed[k] + s.ResidualValue[k];
                s.ActualSpeed[k] = getSingle(h, rr::Result(0, 2).pos);
                s.PredLast3FText[k] = singleText(getSingle(h, rr::Result(0, 3).pos));
                const QByteArray tm = blanked(h, rr::RaceTime(0)), L = blanked(h, rr::Last3FTime(0));
                if (tm == "0000") {
                    s.ActualTimeText[k] = "    ";
                } else if (tm == "    ") {
                    s.ActualTimeText[k] = "    ";
                    s.ActualLast3FText[k] = L.left(2) + "." + L.mid(2, 1) + " ";
                } else {
                    s.ActualTimeText[k] = tm.left(1) + "." + tm.mid(1, 2) + "." + tm.mid(3, 1) + " ";
                    s.ActualLast3FText[k] = L.left(2) + "." + L.mid(2, 1) + " ";
                }
                s.FrameNo[k] = blanked(h, rr::FrameNo(0));
                s.HorseName[k] = blanked(h, rr::HorseName);
                s.TrainerName[k] = blanked(h, rr::TrainerShortName(0));
                const QByteArray cw = blanked(h, rr::CarriedWeight);
                s.CarriedWeight[k] = cw.left(2) + "." + cw.mid(2, 1);
                s.JockeyName[k] = blanked(h, rr::JockeyShortName(0));
                s.SexName[k] = cp932::firstChars(codes.lookup("2202", blanked(h, rr::SexCode), 2), 1);
                s.HorseAge[k] = blanked(h, rr::Age);
                attempt([&] { SetReliabilityGrades(s); });
                attempt([&] {
                    const double v = parseStrict(s.PredLast3FText[k]).value_or(0);
                    if (v == 0) fail("zero");
                    const QByteArray tr = blanked(h, rr::TrackCode(0));
                    s.PredLast3FText[k] = doubleText(std::floor((tr >= "00" && tr <= "49" ? 216000.0 : 72000.0) / v));
                });
                s.PredLast3FText[k] = s.PredLast3FText[k].left(2) + "." + s.PredLast3FText[k].mid(2, 2);
                s.SpeedArg = s.CompositeSpeed[k];
                attempt([&] { s.PredTimeText[k] = SpeedToTimeText(s.SpeedArg, blanked(h, rr::Distance(0))); });
                s.ArrivalOrder[k] = rightNumber(blanked(h, rr::ArrivalOrder(0)));
                const QByteArray fp = blanked(h, rr::FinishPosition(0));
                s.FinishPos[k] = fp >= "01" && fp <= "05" ? fp : QByteArray("**");
                s.Popularity[k] = rightNumber(blanked(h, rr::WinPopularity(0)));
                appendValues(score, {t(id), ni(k), nf(s.CompositeSpeed[k]), nf(s.PredSpeed[k]), nf(s.ResidualValue[k])});
            }
            double sd = 0;
            attempt([&] { sd = PopulationStdDev(s.CompositeSpeed, N).value_or(0); });
            s.RaceSD = float(sd);
            s.RaceSD = float(std::floor(double(s.RaceSD) * 16.666));
            s.RaceTable[s.RaceIndex][10] = right(" " + singleText(s.RaceSD), 2);

            for (int h = 1; h <= N; ++h) s.RankedHorse[h] = two(h), s.SortValue[h] = s.CompositeSpeed[h];
            QuickSortDesc(s.SortValue, s.RankedHorse, 1, N);
            for (int k = 1; k <= N; ++k) s.PredRank[s.RankedHorse[k].toInt()] = right(" " + QByteArray::number(k), 2);
            const QString sort = KaimeFile(id, kRankSortSuffix), lup = KaimeFile(id, kLupSortSuffix);
            emptyTextFile(sort);
            for (int h = 1; h <= N; ++h) {
                const auto age = parseStrict(s.HorseAge[h]);
                const QByteArray ageText = age ? right("  " + doubleText(std::floor(*age)), 2) : QByteArray("  ");
                appendValues(sort, {ni(h), t(s.FrameNo[h]), t(right(" " + QByteArray::number(h), 2)), t(s.PredRank[h]),
                                    t(s.SexName[h]), t(ageText), t(cp932::firstChars(s.HorseName[h], 9)),
                                    t(s.CarriedWeight[h]), t(s.Grades[h][0]), t(s.Grades[h][1]), t(s.Grades[h][2]),
                                    t(s.Grades[h][3]), t(cp932::firstChars(s.JockeyName[h], 4)), t(s.PredTimeText[h]),
                                    t(right(" " + doubleText(std::floor(double(s.CompositeSpeed[h]) * 16.666)), 4))});
            }
            emptyTextFile(lup);
            for (int h = 1; h <= N; ++h) {
                const auto age = parseStrict(s.HorseAge[h]);
                const QByteArray ageText = age ? right("  " + doubleText(std::floor(*age)), 2) : QByteArray("  ");
                appendValues(lup, {ni(h), t(s.FrameNo[h]), t(right(" " + QByteArray::number(h), 2)), t(s.PredRank[h]),
                                   t(s.SexName[h]), t(ageText), t(cp932::firstChars(s.HorseName[h], 9)),
                                   t(s.CarriedWeight[h]), t(cp932::firstChars(s.JockeyName[h], 4)),
                                   t(cp932::firstChars(s.TrainerName[h], 4)), t(s.PredTimeText[h]),
                                   t(s.PredLast3FText[h])});
            }
            // Pairs.
            for (s.CurIndex = 1; s.CurIndex <= N; ++s.CurIndex)
                for (s.CurSubIndex = 1; s.CurSubIndex <= N; ++s.CurSubIndex) {
                    const int i = s.CurIndex, j = s.CurSubIndex;
                    if (!(i < j)) continue;
                    const int p = ++s.PairCount;
                    s.PairBets[p] = two(i) + two(j);
                    s.PairPredSum[p] = s.PredSpeed[i] + s.PredSpeed[j];
                    s.PairResidSum[p] = s.ResidualValue[i] + s.ResidualValue[j];
                    float sc = s.PredSpeed[i] + s.ResidualValue[i];
                    sc = sc + s.PredSpeed[j];
                    sc = sc + s.ResidualValue[j];
                    s.PairScore[p] = sc;
                    appendValues(score, {t(id), t("Umaren"), t(s.PairBets[p]), nf(sc), nf(s.PairPredSum[p]),
                                         nf(s.PairResidSum[p])});
                }
            QuickSortDesc(s.PairScore, s.PairBets, 1, s.PairCount);
            for (int k = 1; k <= s.PairCount; ++k) s.PairBetsAsc[k] = s.PairBets[k];
            const QString umarenSort = KaimeFile(id, kUmarenSortSuffix);
            emptyTextFile(umarenSort);
            for (int k = 1; k <= s.PairCount; ++k)
                appendValues(umarenSort, {t(id), t("Umaren"), t(s.PairBets[k]), nf(s.PairScore[k])});
            const QByteArray course = codes.lookup("2001", id.mid(8, 2), 4);
            auto betFile = [&](const char16_t* folder, int count, int limit, auto lines) {
                QString path;
                attempt([&] { path = BetImportFile(folder, id, course); });
                if (path.isEmpty()) return;
                emptyTextFile(path);
                for (s.CurIndex = 1; s.CurIndex <= count; ++s.CurIndex)
                    if (s.CurIndex <= limit)
                        for (const QByteArray& l : lines(s.CurIndex)) appendLine(path, l);
            };
            auto pairCombo = [&](const QByteArray& p) { return p.left(2) + "-" + p.mid(2, 2); };
            betFile(kUmarenFolder, 7, s.PairCount,
                    [&](int k) { return QList<QByteArray>{BetImportLine(id, "04", pairCombo(s.PairBetsAsc[k]))}; });
            betFile(kWideFolder, 3, s.PairCount,
                    [&](int k) { return QList<QByteArray>{BetImportLine(id, "05", pairCombo(s.PairBetsAsc[k]))}; });
            const QString umatanSort = KaimeFile(id, kUmatanSortSuffix);
            emptyTextFile(umatanSort);
            for (int k = 1; k <= s.PairCount; ++k) {
                s.PairHorseFirst = s.PairBets[k].left(2);
                s.PairHorseSecond = s.PairBets[k].mid(2, 2);
                if (s.CompositeSpeed[s.PairHorseSecond.toInt()] > s.CompositeSpeed[s.PairHorseFirst.toInt()])
                    s.PairBets[k] = s.PairHorseSecond + s.PairHorseFirst;
                appendValues(umatanSort, {t(id), t("Umatan"), t(s.PairBets[k]), nf(s.PairScore[k])});
            }
            betFile(kUmatanFolder, 7, s.PairCount, [&](int k) {
                const QByteArray a = s.PairBets[k].left(2), b = s.PairBets[k].mid(2, 2);
                return QList<QByteArray>{BetImportLine(id, "06", a + "-" + b), BetImportLine(id, "06", b + "-" + a)};
            });
            // Trios.
            for (s.CurIndex = 1; s.CurIndex <= N; ++s.CurIndex)
                for (s.CurSubIndex = 1; s.CurSubIndex <= N; ++s.CurSubIndex)
                    for (s.EntryIndex = 1; s.EntryIndex <= N; ++s.EntryIndex) {
                        const int i = s.CurIndex, j = s.CurSubIndex, e = s.EntryIndex;
                        if (!(i < j && i < e && j < e)) continue;
                        const int q = ++s.TrioCount;
                        s.TrioBets[q] = two(i) + two(j) + two(e);
                        float ps = s.PredSpeed[i] + s.PredSpeed[j];
                        ps = ps + s.PredSpeed[e];
                        float rs = s.ResidualValue[i] + s.ResidualValue[j];
                        rs = rs + s.ResidualValue[e];
                        s.TrioPredSum[q] = ps, s.TrioResidSum[q] = rs, s.TrioScore[q] = ps + rs;
                        appendValues(score, {t(id), t("Sanrenpuku"), t(s.TrioBets[q]), nf(s.TrioScore[q]), nf(ps), nf(rs)});
                    }
            QuickSortDesc(s.TrioScore, s.TrioBets, 1, s.TrioCount);
            for (int k = 1; k <= s.TrioCount; ++k) s.TrioBetsAsc[k] = s.TrioBets[k];
            const QString sanrenSort = KaimeFile(id, kSanrenSortSuffix);
            emptyTextFile(sanrenSort);
            for (int k = 1; k <= s.TrioCount; ++k)
                appendValues(sanrenSort, {t(id), t("Sanrenpuke"), t(s.TrioBets[k]), nf(s.TrioScore[k])});
            betFile(kSanrenpukuFolder, 10, s.TrioCount, [&](int k) {
                const QByteArray& x = s.TrioBetsAsc[k];
                return QList<QByteArray>{BetImportLine(id, "07", x.left(2) + "-" + x.mid(2, 2) + "-" + x.mid(4, 2))};
            });
            const QString sanrentanSort = KaimeFile(id, kSanrentanSortSuffix);
            emptyTextFile(sanrentanSort);
            for (s.CurIndex = 1; s.CurIndex <= s.TrioCount; ++s.CurIndex) {
                OrderTrioBySpeed(s);
                s.TrioBets[s.CurIndex] = s.TrioHorseA + s.TrioHorseB + s.TrioHorseC;
                appendValues(sanrentanSort, {t(id), t("sanrentan"), t(s.TrioBets[s.CurIndex]), nf(s.TrioScore[s.CurIndex])});
            }
            betFile(kSanrentanFolder, 10, s.TrioCount, [&](int k) {
                const QByteArray& x = s.TrioBets[k];
                const QByteArray a = x.left(2), b = x.mid(2, 2), c = x.mid(4, 2);
                QList<QByteArray> out;
                for (const QByteArray& combo : {a + "-" + b + "-" + c, a + "-" + c + "-" + b, b + "-" + a + "-" + c,
                                                b + "-" + c + "-" + a, c + "-" + a + "-" + b, c + "-" + b + "-" + a})
                    out.append(BetImportLine(id, "08", combo));
                return out;
            });
            rw::SkipLog log("literal");
            CallRaceWriters(s, writers, log);
            if (s.ResultsMode != 0 && N > 0) attempt([&] { WriteDayRateFiles(s); });
        }
    }
};

}  // namespace

void LiteralPrediction(RunState& s, const RaceWriterSlots& writers) {
    AppPath = GetAppPath();
    Literal L{s};
    s.LastDayKeyLup.clear(), s.LastDayKeyMmk.clear(), s.LastDayKeyTwi.clear();
    s.RaceIndex = 0;
    const QList<QByteArray> values = readValues(AppFile(kCodeTableFile));
    for (qsizetype i = 0; i < values.size(); i += 8) {
        std::array<QByteArray, 8> row;
        for (int c = 0; c < 8 && i + c < values.size(); ++c) row[size_t(c)] = values[i + c];
        L.codes.rows.append(row);
    }
    FillCodeTable(s.CodeTable, values);  // for the shared rate-file step
    const QString raPath = AppFile(jv::kRaNewFile);
    const qint64 n = countOf(raPath, 1272);
    s.ResultsMode = n > 0 && at(readRecord(raPath, 1272, n), jv::head::DataKind) == "7" ? 1 : 0;
    for (const char16_t* f : {kRaceListFile, kRaceDetailFile, kRaceKeyListFile}) emptyTextFile(AppFile(f));
    L.raceList();
    L.createRunners();
    L.loadTable();
    L.fillRunners();
    for (int i = 1; i <= s.RaceCount; ++i) emptyTextFile(KaimeFile(s.RaceIdList[i], kScoreSuffix));
    L.raceLoop(writers);
}

}  // namespace predtest
