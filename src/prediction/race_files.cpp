#include "prediction/race_files.h"

#include "common/cp932.h"
#include "common/numbers.h"
#include "common/text_file.h"
#include "prediction/day_head_line.h"
#include "prediction/trifecta_orders.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

namespace rw::prediction {
namespace {

const QByteArray kCrLf("\r\n");

QByteArray right(const QByteArray& s, qsizetype n) { return s.size() <= n ? s : s.right(n); }

// Horse k (0 to 2) of a combination key: its two characters and the number
// they read as (0 where they are not one).
QByteArrayView horseText(QByteArrayView key, int k) {
    const qsizetype at = 2 * qsizetype(k);
    return at >= key.size() ? QByteArrayView() : key.sliced(at, std::min<qsizetype>(2, key.size() - at));
}
int horseNumber(QByteArrayView two) {
    if (two.size() == 2 && two[0] >= '0' && two[0] <= '9' && two[1] >= '0' && two[1] <= '9')
        return (two[0] - '0') * 10 + (two[1] - '0');
    return two.toByteArray().toInt();
}

// The positions (0 to 2) of a trio key's horses, fastest first.
std::array<int, 3> fastestFirst(const RunState& s, QByteArrayView trio) {
    std::array<int, 3> at{0, 1, 2};
    std::array<float, 3> speed;
    for (int k = 0; k < 3; ++k) speed[size_t(k)] = checkedAt(s.CompositeSpeed, horseNumber(horseText(trio, k)));
    auto order = [&](size_t faster, size_t slower) {
        if (speed[faster] < speed[slower]) std::swap(speed[faster], speed[slower]), std::swap(at[faster], at[slower]);
    };
    order(1, 2);
    order(0, 1);
    order(1, 2);
    return at;
}

CsvValue txt(QByteArrayView b) { return CsvValue::text(b); }
CsvValue num(double v) { return CsvValue::number(doubleText(v)); }
CsvValue num(std::int64_t v) { return CsvValue::number(numberText(v)); }

// The texts of the Singles printed last, by their bits: a race's scores
// are printed in its score file and again in two sort files each.
class SingleTexts {
public:
    char* write(char* out, float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        Entry& e = entries_[(bits * 2654435761u) >> (32 - kBits)];
        if (!e.used || e.bits != bits) {
            e.length = std::uint8_t(writeSingleText(e.text, v) - e.text);
            e.bits = bits;
            e.used = true;
        }
        std::memcpy(out, e.text, e.length);
        return out + e.length;
    }

private:
    static constexpr int kBits = 12;
    struct Entry {
        std::uint32_t bits = 0;
        bool used = false;
        std::uint8_t length = 0;
        char text[32];
    };
    std::array<Entry, size_t(1) << kBits> entries_{};
};

char* writeSingle(char* out, float v) {
    thread_local std::unique_ptr<SingleTexts> texts;
    if (!texts) texts = std::make_unique<SingleTexts>();
    return texts->write(out, v);
}

// The bytes of a file of thousands of lines, appended through a buffer of
// their own (a QByteArray's append of a view goes through a general insert).
class Lines {
public:
    explicit Lines(qsizetype expected) : bytes_(std::max<qsizetype>(expected, 256), Qt::Uninitialized) {
        at_ = bytes_.data();
        end_ = at_ + bytes_.size();
    }
    void put(char c) {
        room(1);
        *at_++ = c;
    }
    void put(QByteArrayView v) {
        room(v.size());
        std::memcpy(at_, v.data(), size_t(v.size()));
        at_ += v.size();
    }
    void quoted(QByteArrayView text) {
        put('"');
        put(text);
        put('"');
    }
    void twoDigits(int n) {
        room(2);
        at_ = writeTwoDigitText(at_, n);
    }
    // ",v1,v2…" and the line end.
    void scores(std::initializer_list<float> values) {
        for (float v : values) {
            room(33);
            *at_++ = ',';
            at_ = writeSingle(at_, v);
        }
        put("\r\n");
    }
    // `"id","word",` before a combination key.
    void comboHead(QByteArrayView id, const char* word) {
        quoted(id);
        put(",\"");
        put(word);
        put("\",");
    }
    QByteArray take() && {
        bytes_.truncate(at_ - bytes_.constData());
        return std::move(bytes_);
    }

private:
    void room(qsizetype n) {
        if (end_ - at_ >= n) return;
        const qsizetype used = at_ - bytes_.constData();
        bytes_.resize(std::max(2 * bytes_.size(), used + n));
        at_ = bytes_.data() + used;
        end_ = bytes_.data() + bytes_.size();
    }
    QByteArray bytes_;
    char* at_;
    char* end_;
};

// One line per combination of a combination sort file.
QByteArray sortLines(QByteArrayView id, const char* word, const QList<QByteArray>& keys, const QList<float>& scores,
                     int count) {
    Lines out(qsizetype(count) * (id.size() + 36));
    for (int i = 1; i <= count; ++i) {
        out.comboHead(id, word);
        out.quoted(keys[i]);
        out.scores({scores[i]});
    }
    return std::move(out).take();
}

QByteArray horseKey(const QByteArray& key, qsizetype at) { return key.mid(at, 2); }

}  // namespace

QByteArray ComboKey(std::initializer_list<int> horses) {
    QByteArray key(qsizetype(horses.size()) * 2, Qt::Uninitialized);
    char* at = key.data();
    for (int h : horses) at = writeTwoDigitText(at, h);
    key.truncate(at - key.constData());
    return key;
}

QByteArray BetImportLine(QByteArrayView raceId, QByteArrayView ticketCode, QByteArrayView combination) {
    // Date, racecourse and race number of the id, each as Mid gives it
    // (shorter or empty where the id ends early).
    auto part = [&](qsizetype from, qsizetype n) {
        return from >= raceId.size() ? QByteArrayView() : raceId.sliced(from, std::min(n, raceId.size() - from));
    };
    QByteArray line;
    line.reserve(raceId.size() + ticketCode.size() + combination.size() + 8);
    line += part(0, 8);
    line += ',';
    line += part(8, 2);
    line += ',';
    line += part(10, 2);
    line += ',';
    line += ticketCode;
    line += ',';
    line += combination;
    line += ",100";
    return line;
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
    const std::array<int, 3> at = fastestFirst(s, trio);
    return {horseText(trio, at[0]).toByteArray(), horseText(trio, at[1]).toByteArray(),
            horseText(trio, at[2]).toByteArray()};
}

void TurnFastestFirst(const RunState& s, QByteArray& trio) {
    const std::array<int, 3> at = fastestFirst(s, trio);
    if (at == std::array<int, 3>{0, 1, 2}) return;
    if (trio.size() != 6) {
        const auto [a, b, c] = TrioFastestFirst(s, trio);
        trio = a + b + c;
        return;
    }
    char was[6];
    std::memcpy(was, trio.constData(), sizeof was);
    char* out = trio.data();
    for (int k = 0; k < 3; ++k) {
        out[2 * k] = was[2 * at[size_t(k)]];
        out[2 * k + 1] = was[2 * at[size_t(k)] + 1];
    }
}

QByteArray ScoreFileBytes(const RunState& s, QByteArrayView id) {
    const int N = s.HorseCount;
    Lines out((qsizetype(N) * N * N / 6 + N * N + N) * (id.size() + 48));
    for (int k = 1; k <= N; ++k) {
        out.quoted(id);
        out.put(',');
        out.put(QByteArray::number(k));
        out.scores({s.CompositeSpeed[k], s.PredSpeed[k], s.ResidualValue[k]});
    }
    for (int i = 1; i <= N; ++i)
        for (int j = i + 1; j <= N; ++j) {
            const ComboSums c = PairSums(s, i, j);
            out.comboHead(id, "Umaren");
            out.put('"');
            out.twoDigits(i), out.twoDigits(j);
            out.put('"');
            out.scores({c.score, c.predicted, c.residual});
        }
    for (int i = 1; i <= N; ++i)
        for (int j = i + 1; j <= N; ++j)
            for (int e = j + 1; e <= N; ++e) {
                const ComboSums c = TrioSums(s, i, j, e);
                out.comboHead(id, "Sanrenpuku");
                out.put('"');
                out.twoDigits(i), out.twoDigits(j), out.twoDigits(e);
                out.put('"');
                out.scores({c.score, c.predicted, c.residual});
            }
    return std::move(out).take();
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

namespace {
// The best `count` pairs, smaller horse first, as ticket `code`.
QByteArray pairBets(const RunState& s, QByteArrayView id, const char* code, int count) {
    QByteArray out;
    for (int i = 1; i <= count && i <= s.PairCount; ++i) {
        const QByteArray& pair = s.PairBetsAsc[i];
        out += BetImportLine(id, code, horseKey(pair, 0) + "-" + horseKey(pair, 2)) + kCrLf;
    }
    return out;
}
}  // namespace

QByteArray UmarenBetBytes(const RunState& s, QByteArrayView id) { return pairBets(s, id, "04", 7); }
QByteArray WideBetBytes(const RunState& s, QByteArrayView id) { return pairBets(s, id, "05", 3); }

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
        const std::array<QByteArray, 3> horses = TrioFastestFirst(s, s.TrioBets[i]);
        for (const auto& o : kTrifectaOrders) {
            const QByteArray combo = horses[size_t(o[0])] + "-" + horses[size_t(o[1])] + "-" + horses[size_t(o[2])];
            out += BetImportLine(id, "08", combo) + kCrLf;
        }
    }
    return out;
}

// ---- Rate files ----------------------------------------------------------------

namespace {
CsvValue sj(const char16_t* u) { return txt(cp932::encode(QStringView(u))); }
}  // namespace

QByteArray KaitekiBytes(const RunState& s, QByteArrayView dayKey) {
    const KaitekiRates& k = s.KaitekiRates;
    QByteArray out = csvLine(DayHeadLine(s.CodeTable, dayKey)) + kCrLf;
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
    QByteArray out = csvLine(DayHeadLine(s.CodeTable, dayKey)) + kCrLf;
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
