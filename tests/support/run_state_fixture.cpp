#include "support/run_state_fixture.h"

#include "common/cp932.h"
#include "common/fixed_text.h"
#include "prediction/code_table.h"
#include "prediction/runner_record.h"
#include "support/record_builder.h"

#include <algorithm>
#include <stdexcept>

namespace rwtest {

using namespace rw::prediction;

namespace {

QByteArray cp(const char* utf8) { return rw::cp932::encode(utf8); }
QByteArray two(int n) { return QByteArray::number(n).rightJustified(2, '0'); }
QByteArray padded(int n) { return QByteArray::number(n).rightJustified(2, ' '); }
QByteArray field(const char* utf8, int width) { return rw::fixedBytes(cp(utf8), width); }

// "M.SS.T " of a time in tenths of a second.
QByteArray timeText(int tenths) {
    return QByteArray::number(tenths / 600) + '.' + two(tenths % 600 / 10) + '.' + QByteArray::number(tenths % 10) +
           ' ';
}
// "SS.T " of a last-3F time in tenths.
QByteArray last3fText(int tenths) { return two(tenths / 10) + '.' + QByteArray::number(tenths % 10) + ' '; }

struct Horse {
    const char* frame;
    const char* name;
    const char* sex;
    const char* weight;
    const char* grades;  // jockey, trainer, sire, dam-sire, breeder
    int rank, popularity, arrival;
    const char* finish;
};

struct Race {
    const char* key16;
    const char* registered;
    const char* track;
    const char* row[11];  // RaceTable columns 1 to 11
    int predTime, actualTime, predL3f, actualL3f;  // of rank 1 / arrival 1, tenths
    QList<Horse> horses;  // horse numbers 1..N
};

const char* const kJockeys[] = {"横山武史", "武豊", "ルメール", "川田将雅", "戸崎圭太", "松山弘平",
                                "岩田望来", "坂井瑠星", "鮫島克駿", "西村淳也", "横山和生", "北村友一"};
const char* const kTrainers[] = {"国枝栄", "藤原英昭", "堀宣行", "矢作芳人", "友道康夫", "木村哲也",
                                 "中内田充", "池江泰寿", "杉山晴紀", "手塚貴久", "鹿戸雄一", "高野友和"};

const Race& race(int k) {
    static const Race races[kFixtureRaces] = {
        {"2026030706020501", "05", "24",
         {"1", "1005", "01", "", "サラ系３歳", "未勝利", "", "ダ", "1200", " 5", "晴良"},
         714, 712, 360, 358,
         {
             {"1", "アサクサキング", "牡", "56.0", "ABCDE", 2, 2, 2, "02"},
             {"2", "サクラバクシンオー", "牝", "54.0", "BBCCA", 4, 4, 3, "03"},
             {"3", "ドリームジャーニーズ", "牡", "56.0", "AACDB", 1, 1, 1, "01"},
             {"4", "タイキ", "セ", "56.0", "CDEEC", 5, 5, 5, "05"},
             {"5", "マチカネフクキタル", "牝", "54.0", "BCABD", 3, 3, 4, "04"},
         }},
        {"2026030706020502", "12", "11",
         {"2", "1035", "02", "若竹賞", "サラ系３歳", "１勝クラス", "", "芝", "1800", "12", "晴稍"},
         1068, 1065, 340, 338,
         {
             {"1", "イクイノックス", "牡", "57.0", "ABCDE", 6, 6, 8, "**"},
             {"2", "リバティアイランド", "牝", "55.0", "BCDEA", 3, 3, 5, "05"},
             {"3", "ドウデュース", "牡", "57.0", "CDEAB", 9, 9, 11, "**"},
             {"4", "ソールオリエンス", "牡", "57.0", "DEABC", 5, 5, 7, "**"},
             {"5", "タスティエーラ", "牡", "57.0", "EABCD", 8, 8, 10, "**"},
             {"5", "スターズオンアース", "牝", "55.0", "AABBC", 11, 11, 1, "01"},
             {"6", "ジャスティンパレス", "牡", "57.0", "BBCCD", 1, 1, 3, "03"},
             {"6", "タイトルホルダー", "牡", "57.0", "CCDDE", 12, 12, 2, "02"},
             {"7", "シャフリヤール", "牡", "57.0", "DDEEA", 4, 4, 6, "**"},
             {"7", "ダノンベルーガ", "牡", "57.0", "EEAAB", 10, 10, 12, "**"},
             {"8", "ジェラルディーナ", "牝", "55.0", "ABABA", 7, 7, 9, "**"},
             {"8", "ディープボンド", "牡", "57.0", "CDCDC", 2, 2, 4, "04"},
         }},
        {"2026030709010501", "08", "23",
         {"1", "0950", "01", "", "サラ系３歳", "未勝利", "", "ダ", "1400", " 8", "曇良"},
         840, 838, 370, 368,
         {
             {"1", "オルフェーヴル", "牡", "57.0", "ABCDE", 4, 4, 4, "04"},
             {"2", "ゴールドシップ", "牡", "57.0", "EDCBA", 2, 2, 1, "01"},
             {"3", "ジェンティルドンナ", "牝", "55.0", "AAAAA", 6, 6, 5, "05"},
             {"4", "キタサンブラック", "牡", "57.0", "BCBCB", 8, 8, 8, "**"},
             {"5", "アーモンドアイ", "牝", "55.0", "CACAC", 1, 1, 2, "02"},
             {"6", "コントレイル", "牡", "57.0", "DBDBD", 5, 5, 6, "**"},
             {"7", "クロノジェネシス", "牝", "55.0", "EEEEE", 7, 7, 7, "**"},
             {"8", "グランアレグリア", "牝", "55.0", "ABCAB", 3, 3, 2, "02"},
         }},
    };
    if (k < 1 || k > kFixtureRaces) throw std::out_of_range("fixture race");
    return races[k - 1];
}

// One payoff entry: combination, payout (yen), popularity.
struct Pay {
    const char* comb;
    int yen;
    int pop;
};
struct Payoffs {
    QList<Pay> win, place, bracket, quinella, wide, exacta, trio, trifecta;
};

const Payoffs& payoffs(int k) {
    static const Payoffs p[kFixtureRaces] = {
        {{{"03", 250, 1}},
         {{"03", 110, 1}, {"01", 130, 2}, {"02", 190, 4}},
         {{"13", 480, 1}},
         {{"0103", 520, 1}},
         {{"0102", 300, 3}, {"0103", 210, 1}, {"0203", 460, 6}},
         {{"0301", 900, 1}},
         {{"010203", 1240, 4}},
         {{"030102", 4870, 12}}},
        {{{"06", 5630, 11}},
         {{"06", 1250, 11}, {"08", 1880, 12}, {"07", 150, 1}},
         {{"56", 9870, 27}},
         {{"0608", 98760, 66}},
         {{"0607", 2540, 31}, {"0608", 23450, 66}, {"0708", 3120, 35}},
         {{"0608", 187650, 131}},
         {{"060708", 45670, 120}},
         {{"060807", 987650, 1234}}},
        {{{"02", 380, 2}},
         {{"02", 140, 2}, {"05", 110, 1}, {"08", 170, 3}},
         {{"25", 520, 1}, {"28", 860, 3}},
         {{"0205", 610, 1}, {"0208", 1030, 4}},
         {{"0205", 230, 1}, {"0208", 380, 4}, {"0508", 290, 2}},
         {{"0205", 1320, 2}, {"0208", 2450, 6}},
         {{"020508", 880, 1}},
         {{"020508", 3240, 3}, {"020805", 5120, 9}}},
    };
    return p[k - 1];
}

void putEntries(RecordBuilder& b, const char* row, const char* comb, const QList<Pay>& entries) {
    using rw::jv::findField;
    using rw::jv::kHR;
    for (int i = 0; i < entries.size(); ++i) {
        const Pay& e = entries[i];
        const auto popField = findField(kHR, row, "popularity", i);
        b.set(findField(kHR, row, comb, i), e.comb);
        b.set(findField(kHR, row, "payout", i), QByteArray::number(e.yen).rightJustified(9, '0'));
        b.set(popField, QByteArray::number(e.pop).rightJustified(popField.width, '0'));
    }
}

}  // namespace

QByteArray FixtureRaceKey16(int k) { return race(k).key16; }
QByteArray FixtureDayKey(int k) { return FixtureRaceKey16(k).left(14); }

QByteArray FixturePayoffRecord(int k) {
    const Payoffs& p = payoffs(k);
    RecordBuilder b(rw::jv::Kind::HR, '2', ' ');
    b.raceKey(FixtureRaceKey16(k));
    b.set(rw::jv::hr::RegisteredRunners, race(k).registered);
    putEntries(b, "win payouts", "horse number", p.win);
    putEntries(b, "place payouts", "horse number", p.place);
    putEntries(b, "bracket quinella payouts", "combination", p.bracket);
    putEntries(b, "quinella payouts", "combination", p.quinella);
    putEntries(b, "wide payouts", "combination", p.wide);
    putEntries(b, "exacta payouts", "combination", p.exacta);
    putEntries(b, "trio payouts", "combination", p.trio);
    putEntries(b, "trifecta payouts", "combination", p.trifecta);
    return b.image();
}

void FillLexicographicBets(BetLists& bets, const QList<int>& horseAtRank) {
    const int n = int(horseAtRank.size()) - 1;
    auto key = [](std::initializer_list<int> horses) {
        QByteArray k;
        for (int h : horses) k += two(h);
        return k;
    };
    bets.PairBets = {QByteArray()};
    bets.PairBetsAsc = {QByteArray()};
    bets.TrioBets = {QByteArray()};
    bets.TrioBetsAsc = {QByteArray()};
    for (int a = 1; a <= n; ++a)
        for (int b = a + 1; b <= n; ++b) {
            const int x = horseAtRank[a], y = horseAtRank[b];
            bets.PairBets.append(key({x, y}));
            bets.PairBetsAsc.append(key({std::min(x, y), std::max(x, y)}));
        }
    for (int a = 1; a <= n; ++a)
        for (int b = a + 1; b <= n; ++b)
            for (int c = b + 1; c <= n; ++c) {
                int t[3] = {horseAtRank[a], horseAtRank[b], horseAtRank[c]};
                bets.TrioBets.append(key({t[0], t[1], t[2]}));
                std::sort(std::begin(t), std::end(t));
                bets.TrioBetsAsc.append(key({t[0], t[1], t[2]}));
            }
    bets.PairCount = std::int32_t(bets.PairBets.size() - 1);
    bets.TrioCount = std::int32_t(bets.TrioBets.size() - 1);
}

RunState FixtureRun(bool results) {
    RunState s;
    QList<QByteArray> values;
    for (const char* v : {"2001", "06", "", "", "中山", "", "NAKAYAMA", "", "2001", "09", "", "", "阪神", "",
                          "HANSHIN", ""})
        values.append(cp(v));
    FillCodeTable(s.CodeTable, values);
    s.ResultsMode = results ? 1 : 0;
    s.RaceCount = kFixtureRaces;
    for (int k = 1; k <= kFixtureRaces; ++k) {
        const Race& r = race(k);
        const QByteArray key16 = r.key16;
        s.RaceIdList.append(key16.left(10) + key16.right(2));
        RaceRow row;
        row[rt::RaceId] = s.RaceIdList.last();
        for (int c = 1; c <= 11; ++c) row[size_t(c)] = cp(r.row[c - 1]);
        s.RaceTable.append(row);
    }
    return s;
}

void LoadFixtureRace(RunState& s, int k) {
    namespace rr = rw::prediction::rr;
    const Race& r = race(k);
    const int n = int(r.horses.size());
    const bool results = s.ResultsMode != 0;
    s.RaceIndex = k;
    s.HorseCount = n;

    auto perRace = [n](auto& list, auto value) { list = std::remove_reference_t<decltype(list)>(n + 1, value); };
    perRace(s.FrameNo, QByteArray());
    perRace(s.HorseName, QByteArray());
    perRace(s.CarriedWeight, QByteArray());
    perRace(s.JockeyName, QByteArray());
    perRace(s.TrainerName, QByteArray());
    perRace(s.SexName, QByteArray());
    perRace(s.HorseAge, QByteArray());
    perRace(s.PredTimeText, QByteArray());
    perRace(s.ActualTimeText, QByteArray());
    perRace(s.ActualLast3FText, QByteArray());
    perRace(s.PredLast3FText, QByteArray());
    perRace(s.PredSpeed, 0.0f);
    perRace(s.ResidualValue, 0.0f);
    perRace(s.CompositeSpeed, 0.0f);
    perRace(s.ActualSpeed, 0.0f);
    perRace(s.SortValue, 0.0f);
    perRace(s.RankedHorse, QByteArray());
    perRace(s.Grades, std::array<QByteArray, 5>{});

    QList<int> horseAtRank(n + 1, 0);
    for (int h = 1; h <= n; ++h) {
        const Horse& x = r.horses[h - 1];
        s.FrameNo[h] = x.frame;
        s.HorseName[h] = field(x.name, 36);
        s.SexName[h] = cp(x.sex);
        s.HorseAge[h] = "03";
        s.CarriedWeight[h] = x.weight;
        s.JockeyName[h] = field(kJockeys[h - 1], 8);
        s.TrainerName[h] = field(kTrainers[h - 1], 8);
        for (int g = 0; g < 5; ++g) s.Grades[h][size_t(g)] = QByteArray(1, x.grades[g]);
        s.PredTimeText[h] = timeText(r.predTime + 2 * (x.rank - 1));
        s.PredLast3FText[h] = last3fText(r.predL3f + (x.rank - 1));
        s.CompositeSpeed[h] = 60.5f - 0.25f * float(x.rank - 1);
        s.PredSpeed[h] = s.CompositeSpeed[h];
        s.PredRank[h] = padded(x.rank);
        if (results) {
            s.ArrivalOrder[h] = padded(x.arrival);
            s.Popularity[h] = padded(x.popularity);
            s.FinishPos[h] = x.finish;
            s.ActualTimeText[h] = timeText(r.actualTime + 2 * (x.arrival - 1));
            s.ActualLast3FText[h] = last3fText(r.actualL3f + (x.arrival - 1));
            s.ActualSpeed[h] = 61.0f - 0.5f * float(x.arrival - 1);
        } else {
            s.ArrivalOrder[h] = "  ";
            s.Popularity[h] = "  ";
            s.FinishPos[h] = "**";
            s.ActualTimeText[h] = "    ";
            s.ActualLast3FText[h] = "     ";
        }
        horseAtRank[x.rank] = h;
    }
    for (int rank = 1; rank <= n; ++rank) {
        s.RankedHorse[rank] = two(horseAtRank[rank]);
        s.SortValue[rank] = s.CompositeSpeed[horseAtRank[rank]];
    }
    FillLexicographicBets(s, horseAtRank);
    s.PairScore = QList<float>(s.PairCount + 1, 0.0f);
    s.TrioScore = QList<float>(s.TrioCount + 1, 0.0f);

    // The race's last runner record: the writers read slot 0's race fields.
    QByteArray horse(rr::RecordEnd.offset() + 2, '\0');
    const QByteArray key16 = r.key16;
    rw::putFixed(horse, rr::RunRaceKey(0).pos, 16, key16);
    rw::putFixed(horse, rr::HorseNo(0).pos, 2, two(n));
    rw::putFixed(horse, rr::RegisteredRunners(0).pos, 2, r.registered);
    rw::putFixed(horse, rr::TrackCode(0).pos, 2, r.track);
    rw::putFixed(horse, rr::Distance(0).pos, 4, cp(r.row[8]));
    rw::putFixed(horse, rr::RecordEnd.pos, 2, "\r\n");
    s.CurrentHorse = horse;

    s.CurrentHR = results ? FixturePayoffRecord(k) : QByteArray(719, '\0');
    s.CurIndex = 11;
    s.CurSubIndex = n + 1;
    s.EntryIndex = n + 1;
}

}  // namespace rwtest
