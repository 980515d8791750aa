#pragma once
// Small run states for the export and web writer tests: a race as the
// prediction run leaves it when it calls the writers (race key in slot 0 of
// CurrentHorse, its RaceTable row, the per-horse arrays, the pair bets and
// the race-card writer's trio keys), and the code table rows of the
// racecourses.
#include "common/fixed_text.h"
#include "prediction/code_table.h"
#include "prediction/run_state.h"
#include "prediction/runner_record.h"
#include "support/test_support.h"

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>
#include <string>
#include <vector>

namespace rwtest::publish {

struct Runner {
    const char* frame;
    const char* name;  // UTF-8; stored as the 36-byte field
    const char* sex;
    const char* age;
    const char* weight;
    const char* jockey;   // 8-byte field
    const char* trainer;  // 8-byte field
    int rank;
    float speed = 60.0f;
    const char* popularity = " 1";
    const char* arrival = " 1";
};

struct Race {
    QByteArray key16;  // year, month-day, course, meeting, day, race number
    QByteArray start = "1000";
    const char* track = "芝";
    const char* distance = "1600";
    std::vector<Runner> runners;
    std::vector<const char*> pairs;   // PairBets from position 1
    std::vector<const char*> trios;   // SLineTrios entries 1..7
    int trioCount = -1;               // -1: the number of trios of the field
    const char* raceName = "サンプル特別";
    const char* typeName = "３歳";
    const char* conditionName = "未勝利";
    const char* gradeName = "";
};

inline QByteArray padded(const char* utf8, qsizetype width) { return rw::fixedBytes(sj(utf8), width); }

// The code table of the tests: Nakayama (capitalised in column 6), Hanshin,
// Tokyo; course 07 has no row.
inline void FillTestCodeTable(rw::prediction::RunState& s) {
    QList<QByteArray> v;
    auto row = [&](const char* code, const char* name, const char* latin) {
        v << "2001" << code << "" << "" << sj(name) << "" << QByteArray(latin) << "";
    };
    row("06", "中山", "Nakayama");
    row("09", "阪神", "hanshin");
    row("05", "東京", "TOKYO");
    rw::prediction::FillCodeTable(s.CodeTable, v);
}

// Puts `race` into the state as race `index` of the run.
inline void LoadRace(rw::prediction::RunState& s, const Race& race, int index = 1) {
    namespace rr = rw::prediction::rr;
    namespace rt = rw::prediction::rt;
    const rw::recordlayout::Field key = rr::RunRaceKey(0);
    rw::putFixed(s.CurrentHorse, key.pos, key.width, race.key16);
    while (s.RaceTable.size() <= index) s.RaceTable.append(rw::prediction::RaceRow{});
    auto& row = s.RaceTable[index];
    row[rt::RaceId] = race.key16.left(8) + race.key16.mid(8, 2) + race.key16.mid(14, 2);
    row[rt::StartTime] = race.start;
    row[rt::RaceNum] = race.key16.mid(14, 2);
    row[rt::RaceName] = sj(race.raceName);
    row[rt::RaceTypeName] = sj(race.typeName);
    row[rt::ConditionName] = sj(race.conditionName);
    row[rt::GradeName] = sj(race.gradeName);
    row[rt::TrackName] = sj(race.track);
    row[rt::Distance] = race.distance;
    s.RaceIndex = index;
    const int n = int(race.runners.size());
    s.HorseCount = n;
    for (auto* a : {&s.FrameNo, &s.HorseName, &s.CarriedWeight, &s.JockeyName, &s.TrainerName, &s.SexName,
                    &s.HorseAge})
        *a = QList<QByteArray>(n + 1);
    s.CompositeSpeed = QList<float>(n + 1);
    for (auto* a : {&s.PredRank, &s.ArrivalOrder, &s.Popularity, &s.FinishPos})
        if (a->size() < n + 1) a->resize(n + 1);
    for (int h = 1; h <= n; ++h) {
        const Runner& r = race.runners[size_t(h - 1)];
        s.FrameNo[h] = r.frame;
        s.HorseName[h] = padded(r.name, 36);
        s.SexName[h] = sj(r.sex);
        s.HorseAge[h] = r.age;
        s.CarriedWeight[h] = r.weight;
        s.JockeyName[h] = padded(r.jockey, 8);
        s.TrainerName[h] = padded(r.trainer, 8);
        s.PredRank[h] = QByteArray::number(r.rank).rightJustified(2, ' ');
        s.CompositeSpeed[h] = r.speed;
        s.Popularity[h] = r.popularity;
        s.ArrivalOrder[h] = r.arrival;
    }
    s.PairCount = n * (n - 1) / 2;
    s.PairBets = QList<QByteArray>{QByteArray()};
    for (const char* p : race.pairs) s.PairBets.append(p);
    while (s.PairBets.size() <= s.PairCount) s.PairBets.append("0000");
    s.TrioCount = race.trioCount >= 0 ? race.trioCount : n * (n - 1) * (n - 2) / 6;
    for (size_t i = 0; i < race.trios.size() && i < 7; ++i) s.SLineTrios[i] = race.trios[i];
}

// The run's folders of the exports.
inline void MakeExportFolders(const AppFolder& app) {
    for (const char* f : {"TANFUKU", "TANFUKU2", "TANSHO", "FUKUSHO", "SOKUDO", "ravelmont_wp", "ravelmont_yosou"})
        QDir().mkpath(app.path() + QString::fromLatin1(f));
}

inline QByteArray golden(const char* name) {
    return readFile(QStringLiteral(RACEWEEK_SOURCE_DIR "/tests/publish/golden/") + QString::fromLatin1(name));
}

// The races of the tests.
inline Race RaceA() {  // Saturday 1 June 2024, Nakayama, meeting 3, day 1, race 1; a morning start
    Race r;
    r.key16 = "2024060106030101";
    r.start = "0950";
    r.distance = "2000";
    r.runners = {{"1", "アイウエオカキクケコサシ", "牡", "03", "55.0", "武豊", "藤沢和雄", 2, 60.1239f, " 3", " 2"},
                 {"2", "ウマ", "牝", "10", "54.0", "ルメール", "国枝栄", 1, 61.5f, " 1", " 1"},
                 {"3", "サクラバクシンオー", "セ", "05", "57.5", "横山典弘", "堀宣行", 3, 59.999f, " 2", " 3"},
                 {"4", "ミホノブルボン", "牡", "04", "56.0", "小島貞博", "戸山為夫", 5, 58.25f, " 5", " 5"},
                 {"5", "Ｔｅｓｔ", "牝", "06", "53.0", "田中勝春", "伊藤正徳", 4, 58.5f, " 4", " 4"}};
    r.pairs = {"0201", "0203", "0103", "0205", "0204", "0105", "0305", "0304", "0104", "0504"};
    r.trios = {"020103", "020305", "010305", "020104", "020504", "030401", "050401"};
    return r;
}

inline Race RaceB() {  // Wednesday 15 May 2024, course 07 (no code table row), meeting 5, day 8, race 11
    Race r;
    r.key16 = "2024051507050811";
    r.start = "1545";
    r.track = "ダ";
    r.distance = "1800";
    r.runners = {{"6", "ゴールドシップ", "牡", "07", "57.0", "内田博幸", "須貝尚介", 1},
                 {"7", "オルフェーヴル", "牡", "04", "58.0", "池添謙一", "池江泰寿", 3},
                 {"8", "ジェンティルドンナ", "牝", "05", "55.0", "岩田康誠", "石坂正", 2},
                 {"9", "キタサンブラック", "牡", "03", "57.0", "北村宏司", "清水久詞", 4}};
    r.pairs = {"0103", "0102", "0302", "0104", "0304", "0204"};
    r.trios = {"010302", "010304", "010204", "030204", "", "", ""};
    return r;
}

inline Race RaceC() {  // Tuesday 3 December 2024, Hanshin, meeting 1, day 1, race 12
    Race r;
    r.key16 = "2024120309010112";
    r.start = "1625";
    r.distance = "1200";
    r.runners = {{"1", "ダイワスカーレット", "牝", "04", "55.0", "安藤勝己", "松田国英", 2},
                 {"2", "ウオッカ", "牝", "04", "55.0", "四位洋文", "角居勝彦", 1},
                 {"3", "ディープインパクト", "牡", "04", "57.0", "武豊", "池江泰郎", 3}};
    r.pairs = {"0201", "0203", "0103"};
    // Entries 2-7 hold another race's trios: a field of three has one trio.
    r.trios = {"020103", "050401", "050401", "050401", "050401", "050401", "050401"};
    return r;
}

// Race n (2..12) of the day of RaceA, one runner.
inline Race OneRunnerRace(int n, const char* dayKey = "20240601060301") {
    Race r;
    r.key16 = QByteArray(dayKey) + QByteArray::number(n).rightJustified(2, '0');
    r.start = QByteArray::number(9 + n).rightJustified(2, '0') + "00";
    r.runners = {{"1", "ウマ", "牡", "03", "56.0", "武豊", "国枝栄", 1}};
    r.trios = {"", "", "", "", "", "", ""};
    return r;
}

}  // namespace rwtest::publish
