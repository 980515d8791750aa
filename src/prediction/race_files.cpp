#include "prediction/race_files.h"

#include "common/cp932.h"
#include "common/numbers.h"
#include "common/text_file.h"
#include "prediction/day_head_line.h"

#include <cmath>

namespace rw::prediction {
namespace {

const QByteArray kCrLf("\r\n");

QByteArray right(const QByteArray& s, qsizetype n) { return s.size() <= n ? s : s.right(n); }

CsvValue txt(QByteArrayView b) { return CsvValue::text(b); }
CsvValue num(double v) { return CsvValue::number(doubleText(v)); }
CsvValue num(std::int64_t v) { return CsvValue::number(numberText(v)); }

// The lines of the score and combination sort files, thousands per race,
// appended straight into the file's bytes.
void quoted(QByteArray& out, QByteArrayView text) {
    out += '"';
    out += text;
    out += '"';
}
void appendTwoDigits(QByteArray& out, int n) {
    if (n >= 0 && n < 100) {
        out += char('0' + n / 10);
        out += char('0' + n % 10);
    } else {
        out += TwoDigits(n);
    }
}
// `"id","word","key"` of a combination line.
void comboHead(QByteArray& out, QByteArrayView id, const char* word, QByteArrayView key) {
    quoted(out, id);
    out += ",\"";
    out += word;
    out += "\",";
    quoted(out, key);
}
void appendScores(QByteArray& out, std::initializer_list<float> values) {
    for (float v : values) {
        out += ',';
        appendSingleText(out, v);
    }
    out += kCrLf;
}

// One line of a combination sort file.
QByteArray sortLines(QByteArrayView id, const char* word, const QList<QByteArray>& keys, const QList<float>& scores,
                     int count) {
    QByteArray out;
    out.reserve(qsizetype(count) * (id.size() + 32));
    for (int i = 1; i <= count; ++i) {
        comboHead(out, id, word, keys[i]);
        appendScores(out, {scores[i]});
    }
    return out;
}

QByteArray horseKey(const QByteArray& key, qsizetype at) { return key.mid(at, 2); }

float speedOf(const RunState& s, const QByteArray& horse) { return checkedAt(s.CompositeSpeed, horse.toInt()); }

}  // namespace

QByteArray TwoDigits(int n) { return right(numberText(n + 100), 2); }

QByteArray BetImportLine(QByteArrayView raceId, QByteArrayView ticketCode, QByteArrayView combination) {
    const QByteArray id = raceId.toByteArray();
    return id.left(8) + ',' + id.mid(8, 2) + ',' + id.mid(10, 2) + ',' + ticketCode.toByteArray() + ',' +
           combination.toByteArray() + ",100";
}

ComboSums PairSums(const RunState& s, int i, int j) {
    const auto &P = s.PredSpeed, &R = s.ResidualValue;
    return {float(float(float(P[i] + R[i]) + P[j]) + R[j]), float(P[i] + P[j]), float(R[i] + R[j])};
}

ComboSums TrioSums(const RunState& s, int i, int j, int e) {
    const auto &P = s.PredSpeed, &R = s.ResidualValue;
    ComboSums c;
    c.predicted = float(float(P[i] + P[j]) + P[e]);
    c.residual = float(float(R[i] + R[j]) + R[e]);
    c.score = float(c.predicted + c.residual);
    return c;
}

std::array<QByteArray, 3> TrioFastestFirst(const RunState& s, const QByteArray& trio) {
    std::array<QByteArray, 3> h{trio.mid(0, 2), trio.mid(2, 2), trio.mid(4, 2)};
    auto order = [&](QByteArray& faster, QByteArray& slower) {
        if (speedOf(s, faster) < speedOf(s, slower)) std::swap(faster, slower);
    };
    order(h[1], h[2]);
    order(h[0], h[1]);
    order(h[1], h[2]);
    return h;
}

QByteArray ScoreFileBytes(const RunState& s, QByteArrayView id) {
    const int N = s.HorseCount;
    QByteArray out;
    out.reserve(qsizetype(N) * N * N * (id.size() + 48) / 6 + 4096);
    for (int k = 1; k <= N; ++k) {
        quoted(out, id);
        out += ',';
        out += QByteArray::number(k);
        appendScores(out, {s.CompositeSpeed[k], s.PredSpeed[k], s.ResidualValue[k]});
    }
    QByteArray key;
    for (int i = 1; i <= N; ++i)
        for (int j = i + 1; j <= N; ++j) {
            key.clear();
            appendTwoDigits(key, i);
            appendTwoDigits(key, j);
            const ComboSums c = PairSums(s, i, j);
            comboHead(out, id, "Umaren", key);
            appendScores(out, {c.score, c.predicted, c.residual});
        }
    for (int i = 1; i <= N; ++i)
        for (int j = i + 1; j <= N; ++j)
            for (int e = j + 1; e <= N; ++e) {
                key.clear();
                appendTwoDigits(key, i);
                appendTwoDigits(key, j);
                appendTwoDigits(key, e);
                const ComboSums c = TrioSums(s, i, j, e);
                comboHead(out, id, "Sanrenpuku", key);
                appendScores(out, {c.score, c.predicted, c.residual});
            }
    return out;
}

namespace {

struct RankTexts {
    QByteArray number, age, name9, jockey4;
};
RankTexts rankTexts(const RunState& s, int h) {
    const auto age = parseStrict(s.HorseAge[h]);
    return {right(" " + numberText(h), 2), age ? right("  " + doubleText(std::floor(*age)), 2) : QByteArray("  "),
            cp932::firstChars(s.HorseName[h], 9), cp932::firstChars(s.JockeyName[h], 4)};
}

}  // namespace

QByteArray RankSortBytes(const RunState& s) {
    QByteArray out;
    for (int h = 1; h <= s.HorseCount; ++h) {
        const RankTexts t = rankTexts(s, h);
        const auto& g = s.Grades[h];
        out += csvLine({num(std::int64_t(h)), txt(s.FrameNo[h]), txt(t.number), txt(s.PredRank[h]), txt(s.SexName[h]),
                        txt(t.age), txt(t.name9), txt(s.CarriedWeight[h]), txt(g[0]), txt(g[1]), txt(g[2]), txt(g[3]),
                        txt(t.jockey4), txt(s.PredTimeText[h]),
                        txt(right(" " + doubleText(std::floor(double(s.CompositeSpeed[h]) * 16.666)), 4))}) +
               kCrLf;
    }
    return out;
}

QByteArray LupSortBytes(const RunState& s) {
    QByteArray out;
    for (int h = 1; h <= s.HorseCount; ++h) {
        const RankTexts t = rankTexts(s, h);
        out += csvLine({num(std::int64_t(h)), txt(s.FrameNo[h]), txt(t.number), txt(s.PredRank[h]), txt(s.SexName[h]),
                        txt(t.age), txt(t.name9), txt(s.CarriedWeight[h]), txt(t.jockey4),
                        txt(cp932::firstChars(s.TrainerName[h], 4)), txt(s.PredTimeText[h]),
                        txt(s.PredLast3FText[h])}) +
               kCrLf;
    }
    return out;
}

QByteArray UmarenSortBytes(const RunState& s, QByteArrayView id) {
    return sortLines(id, "Umaren", s.PairBetsAsc, s.PairScore, s.PairCount);
}
QByteArray UmatanSortBytes(const RunState& s, QByteArrayView id) {
    return sortLines(id, "Umatan", s.PairBets, s.PairScore, s.PairCount);
}
QByteArray SanrenSortBytes(const RunState& s, QByteArrayView id) {
    return sortLines(id, "Sanrenpuke", s.TrioBetsAsc, s.TrioScore, s.TrioCount);
}
QByteArray SanrentanSortBytes(const RunState& s, QByteArrayView id) {
    return sortLines(id, "sanrentan", s.TrioBets, s.TrioScore, s.TrioCount);
}

QByteArray UmarenBetBytes(const RunState& s, QByteArrayView id) {
    QByteArray out;
    for (int i = 1; i <= 7 && i <= s.PairCount; ++i) {
        const QByteArray& pair = s.PairBetsAsc[i];
        out += BetImportLine(id, "04", horseKey(pair, 0) + "-" + horseKey(pair, 2)) + kCrLf;
    }
    return out;
}

QByteArray WideBetBytes(const RunState& s, QByteArrayView id) {
    QByteArray out;
    for (int i = 1; i <= 3 && i <= s.PairCount; ++i) {
        const QByteArray& pair = s.PairBetsAsc[i];
        out += BetImportLine(id, "05", horseKey(pair, 0) + "-" + horseKey(pair, 2)) + kCrLf;
    }
    return out;
}

QByteArray UmatanBetBytes(const RunState& s, QByteArrayView id) {
    QByteArray out;
    for (int i = 1; i <= 7 && i <= s.PairCount; ++i) {
        QByteArray first = horseKey(s.PairBets[i], 0), second = horseKey(s.PairBets[i], 2);
        if (s.CompositeSpeed[second.toInt()] > s.CompositeSpeed[first.toInt()]) std::swap(first, second);
        out += BetImportLine(id, "06", first + "-" + second) + kCrLf;
        out += BetImportLine(id, "06", second + "-" + first) + kCrLf;
    }
    return out;
}

QByteArray SanrenpukuBetBytes(const RunState& s, QByteArrayView id) {
    QByteArray out;
    for (int i = 1; i <= 10 && i <= s.TrioCount; ++i) {
        const QByteArray& trio = s.TrioBetsAsc[i];
        out += BetImportLine(id, "07", horseKey(trio, 0) + "-" + horseKey(trio, 2) + "-" + horseKey(trio, 4)) + kCrLf;
    }
    return out;
}

QByteArray SanrentanBetBytes(const RunState& s, QByteArrayView id) {
    QByteArray out;
    for (int i = 1; i <= 10 && i <= s.TrioCount; ++i) {
        const auto [a, b, c] = TrioFastestFirst(s, s.TrioBets[i]);
        for (const QByteArray& combo : {a + "-" + b + "-" + c, a + "-" + c + "-" + b, b + "-" + a + "-" + c,
                                        b + "-" + c + "-" + a, c + "-" + a + "-" + b, c + "-" + b + "-" + a})
            out += BetImportLine(id, "08", combo) + kCrLf;
    }
    return out;
}

// ---- Rate files ----------------------------------------------------------------

namespace {
CsvValue sj(const char16_t* u) { return txt(cp932::encode(QStringView(u))); }
}  // namespace

QByteArray KaitekiBytes(const RunState& s, QByteArrayView dayKey) {
    const KaitekiRates& k = s.KaitekiRates;
    QByteArray out = csvLine(DayHeadLine(s.CodeTable, dayKey, MissingCourse::EmptyText)) + kCrLf;
    out += csvLine({sj(u"　　"), sj(u"回収率"), sj(u"％"), sj(u"　　"), sj(u"的中率"), sj(u"％"), sj(u"　　")}) + kCrLf;
    out += csvLine({sj(u"券種"), sj(u"本線"), sj(u"準本線"), sj(u"伏兵"), sj(u"本線"), sj(u"準本線"), sj(u"伏兵")}) + kCrLf;
    auto rateLine = [&](const char16_t* name, const KaitekiKind& kk) {
        return csvLine({sj(name), num(kk.TierReturnRate[1]), num(kk.TierReturnRate[2]), num(kk.TierReturnRate[3]),
                        num(kk.TierHitRate[1]), num(kk.TierHitRate[2]), num(kk.TierHitRate[3])}) +
               kCrLf;
    };
    out += rateLine(u"馬連", k.Umaren);
    out += rateLine(u"馬単表", k.UmatanFwd);
    out += rateLine(u"馬単裏", k.UmatanRev);
    out += rateLine(u"３連複", k.Sanrenpuku);
    out += rateLine(u"３連単", k.Sanrentan);
    out += rateLine(u"ワイド", k.Wide);
    return out;
}

QByteArray KaitekiPcBytes(const RunState& s, QByteArrayView dayKey, std::int64_t races) {
    QByteArray out = csvLine(DayHeadLine(s.CodeTable, dayKey, MissingCourse::EmptyText)) + kCrLf;
    QList<CsvValue> head{sj(u"券種")};
    for (const PcTicketColumn& c : kPcTicketColumns) head.append(txt(cp932::encode(c.label)));
    out += csvLine(head) + kCrLf;
    auto line = [&](const char16_t* name, auto value) {
        QList<CsvValue> v{sj(name)};
        for (const PcTicketColumn& c : kPcTicketColumns) v.append(value(c, s.PcTicketStats.*c.kind));
        return csvLine(v) + kCrLf;
    };
    out += line(u"予想R数", [&](const PcTicketColumn&, const PcTicketKind&) { return num(races); });
    out += line(u"的中R数", [](const PcTicketColumn&, const PcTicketKind& x) { return num(std::int64_t(x.HitCount)); });
    out += line(u"的中率", [](const PcTicketColumn&, const PcTicketKind& x) { return num(x.HitRate); });
    out += line(u"購入点数", [&](const PcTicketColumn& c, const PcTicketKind& x) {
        return num(c.exotic ? std::int64_t(x.TicketSum) : races);
    });
    out += line(u"回収金額", [](const PcTicketColumn&, const PcTicketKind& x) { return num(std::int64_t(x.PaySum)); });
    out += line(u"回収率", [](const PcTicketColumn&, const PcTicketKind& x) { return num(x.ReturnRate); });
    return out;
}

}  // namespace rw::prediction
