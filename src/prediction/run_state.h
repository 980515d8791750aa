#pragma once
// YOSOKEKKATHISWEEKNZ: the state of the prediction run ⑥, one object that
// lives with the prediction window. The run fills it; the per-race writers
// (race card, day files, exports) read it while a race is handed to them,
// and the race viewer reads what the run leaves in it. Data only: the
// procedures that fill it live in the prediction folder, the writers in
// reports and publish.
//
// The groups are base classes, so every member reads as the system names it
// (state.RaceIndex, state.PairBets, state.LastDayKeyMmk); the statistics
// groups, whose entries share names (Umaren …), are members of their own.
// Writers that need members of their own add them here (data only), in the
// group the system names or in `WriterWork`.
//
// Texts taken from records, from the code table or from the run's own files
// are code page 932 bytes (QByteArray), so the writers put them into their
// files unchanged; only List1 holds display text. Arrays that the system
// fixes at a size grow where a week needs more; their index 0 is unused
// where the system numbers from 1. Use checkedAt() where an index comes
// from a record or a counter: an index outside the array is a failed
// statement, never undefined behaviour.
#include "common/errors.h"
#include "jvdata/layouts.h"
#include "model/expanded_record.h"
#include "prediction/code_table.h"
#include "prediction/runner_record.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <string>

namespace rw::prediction {

// The columns of a RaceTable row (RaceDetailRow).
namespace rt {
enum Column : int {
    RaceId = 0,
    RaceNoText = 1,     // race number without leading zero
    StartTime = 2,      // HHMM
    RaceNum = 3,        // "01".."12"
    RaceName = 4,       // first 12 characters of the main title
    RaceTypeName = 5,   // code table 2005
    ConditionName = 6,  // code table 2007
    GradeName = 7,      // code table 2003, first 4 characters
    TrackName = 8,      // code table 2009, first character
    Distance = 9,       // metres, 4 characters
    SD = 10,            // "SD", then the race's spread
    WeatherGoing = 11,  // weather name & going name
    Columns = 13        // column 12 stays empty
};
}  // namespace rt
using RaceRow = std::array<QByteArray, rt::Columns>;

// The week's races.
struct RaceListState {
    QList<QByteArray> RaceIdList{QByteArray()};  // 1..RaceCount, in List1 order
    int RaceCount = 0;
    QList<RaceRow> RaceTable{RaceRow{}};  // row i = race i; row 0 empty
    std::int16_t ResultsMode = 0;         // 1: official results
    QByteArray CourseName;                // racecourse of the race being listed
    QStringList List1;                    // the window's list box, one item per race
};

// Record images used as read and write buffers, zero bytes until assigned.
struct RecordBuffers {
    QByteArray CurrentRA = QByteArray(jv::kRA.imageLength, '\0');
    QByteArray CurrentHR = QByteArray(jv::kHR.imageLength, '\0');
    QByteArray CurrentSE = QByteArray(jv::kSE.imageLength, '\0');
    QByteArray CurrentEX = QByteArray(model::kExRecordLength, '\0');
    QByteArray CurrentHorse = QByteArray(kRunnerRecordLength, '\0');
};

// Counters shared by the run and every procedure it calls; a callee reads
// the current race, horse or trio from them and reuses them as its own.
struct LoopState {
    int RaceIndex = 0;
    std::int32_t HorseCount = 0;
    int CurIndex = 0;
    int CurSubIndex = 0;
    std::int32_t EntryIndex = 0;
    std::int32_t ExRecordCount = 0;  // expanded records of the horse being filled
};

// Per-horse values of the race being processed, indexed by horse number
// (0 unused). The per-race arrays are re-dimensioned for every race; the
// four fixed arrays (0..18, growing for larger fields) keep the values of
// horse numbers a race lacks.
struct HorseArrays {
    QList<QByteArray> FrameNo, HorseName, CarriedWeight, JockeyName, TrainerName, SexName, HorseAge;
    QList<QByteArray> PredTimeText, ActualTimeText, ActualLast3FText, PredLast3FText;
    QList<float> PredSpeed, ResidualValue, CompositeSpeed, ActualSpeed;
    QList<float> SortValue;           // by predicted rank: composite speed
    QList<QByteArray> RankedHorse;    // by predicted rank: horse number "01".."18"
    QList<std::array<QByteArray, 5>> Grades;  // jockey, trainer, sire, dam-sire, breeder
    QList<QByteArray> PredRank = QList<QByteArray>(19);
    QList<QByteArray> ArrivalOrder = QList<QByteArray>(19);
    QList<QByteArray> Popularity = QList<QByteArray>(19);
    QList<QByteArray> FinishPos = QList<QByteArray>(19);
    float RaceSD = 0;    // the race's spread before it becomes text
    float SpeedArg = 0;  // argument buffer of SpeedToTimeText
};

// The ranked pair and trio bets of the race (positions from 1).
struct BetLists {
    std::int32_t PairCount = 0;
    QList<QByteArray> PairBets, PairBetsAsc;  // "0105": faster first / smaller first
    QList<float> PairScore, PairPredSum, PairResidSum;
    std::int32_t TrioCount = 0;
    QList<QByteArray> TrioBets, TrioBetsAsc;  // "030405": fastest first / ascending
    QList<float> TrioScore, TrioPredSum, TrioResidSum;
    QByteArray TrioHorseA, TrioHorseB, TrioHorseC;
    QByteArray PairHorseFirst, PairHorseSecond;
    // Left by the race-card writer from its last trio line, read by the web
    // page writer; the run never touches them.
    std::array<QByteArray, 7> SLineTrios;
};

// The key each per-day or per-race writer wrote last; a writer starts its
// file anew when its key changes.
struct LastKeys {
    QString LastDayKeyMmk, LastDayKeyLup, LastDayKeyTwi, LastDayKeyPc;
    QString LastDayKeyTanfuku, LastDayKeyTanfuku2;
    QString LastRaceKeyTansho, LastRaceKeyFukusho, LastRaceKeySokudo, LastDateKeySokudo;
    QString LastPageKey, LastWpKey, LastPrintKey;
};

// The course-day's hits of one exotic kind (tiers 1..3; index 0 unused).
struct TierHitKind {
    std::array<std::int64_t, 4> TierHits{};
    std::int64_t KindHits = 0;  // Umaren: replaced by the race number before the rates
    std::array<std::int64_t, 4> TierPay{};
};
struct TierHitTotals {
    TierHitKind Umaren, Wide, UmatanFwd, UmatanRev, Sanrenpuku, Sanrentan;
};

// The hits of the current race, printed into "tekichu.txt".
struct TicketHit {
    QByteArray HitLabel, HitCombo, HitPay, RankPop;
};
struct TicketHitSummary {
    TicketHit Umaren, Wide1, Wide2, Wide3, Umatan, Sanrenpuku, Sanrentan;
};

// One selection kind of the selection file.
struct PcTicketKind {
    QByteArray HitText, PayText;
    std::int32_t HitCount = 0;
    std::int32_t PaySum = 0;  // yen per 100-yen ticket
    double HitRate = 0;
    double ReturnRate = 0;
    std::int16_t TicketCount = 0;  // exotic kinds only
    std::int16_t TicketSum = 0;    // exotic kinds only
};
struct PcTicketStats {
    PcTicketKind Tansho1, Tansho2, Fukusho1, Fukusho2, UmarenF, UmarenB, UmatanF, SanrenpukuB, Sanrentan12,
        Sanrentan23, Sanrentan13;
};
// The eleven selection kinds in the order of the selection files' columns
// ("tekichuPC.txt", "kaitekiPC.txt"), with their column labels (UTF-8).
// The win and place kinds count per race, the exotic ones per ticket.
struct PcTicketColumn {
    PcTicketKind PcTicketStats::*kind;
    const char* label;
    bool exotic;
};
inline constexpr std::array<PcTicketColumn, 11> kPcTicketColumns{{
    {&PcTicketStats::Tansho1, "単勝1", false},
    {&PcTicketStats::Fukusho1, "複勝1", false},
    {&PcTicketStats::Tansho2, "単勝2", false},
    {&PcTicketStats::Fukusho2, "複勝2", false},
    {&PcTicketStats::UmarenF, "馬連F", true},
    {&PcTicketStats::UmarenB, "馬連B", true},
    {&PcTicketStats::UmatanF, "馬単F", true},
    {&PcTicketStats::SanrenpukuB, "  3連複B", true},
    {&PcTicketStats::Sanrentan12, "  3連単12", true},
    {&PcTicketStats::Sanrentan23, "  3連単23", true},
    {&PcTicketStats::Sanrentan13, "  3連単13", true},
}};

// The course-day's rates per exotic kind and tier (1..3), percentages.
struct KaitekiKind {
    std::array<double, 4> TierHitRate{};
    std::array<double, 4> TierReturnRate{};
};
struct KaitekiRates {
    KaitekiKind Umaren, Wide, UmatanFwd, UmatanRev, Sanrenpuku, Sanrentan;
};

// The strings the web writers share for a race: set by SetPublishingStrings
// (the WordPress writer and the page writer each call it first), read by the
// WordPress blocks, the page and the print page; left in place between
// races. Code page 932 bytes. PubRaceLabel, CourseNaviClass and
// CourseNaviText are read but assigned by nothing, so they stay empty.
struct PublishingStrings {
    QByteArray PubMonth, PubDay, PubWeekday, PubRaceNo, PubMeetingDay;
    std::array<QByteArray, 12> RaceLinkClass;   // race numbers 1..12 at 0..11
    std::array<QByteArray, 12> PubPairHorses;   // pair k: 2k-2 first, 2k-1 second horse
    std::array<QByteArray, 21> PubTrioHorses;   // trio k: 3k-3 .. 3k-1
    QByteArray PubRaceLabel;
    std::array<QByteArray, 3> CourseNaviClass, CourseNaviText;  // nakayama, hanshin, chukyo
    // The race-card row being written by one of the three web writers.
    QByteArray RowFrameText, RowFrameClass, RowFontTag, RowRankText, RowAgeText;
};

// The week's payoff records indexed by race, built once per run by the
// first day-sheet row that needs payouts: the payoff file as read, its
// record count, and for every race (year, month-day, racecourse, race
// number: 12 bytes) the last record that names it.
struct PayoffIndex {
    bool built = false;
    QList<QByteArray> records;
    std::int16_t recordCount = 0;
    QHash<QByteArray, qsizetype> lastByRace;
};

// The past-run residual accumulation of the runner being processed: the
// caller sets the classes (1 turf, 2 dirt, 3 any other track) and the slot
// (CurSubIndex) before each call, and reads the sum and count afterwards.
struct ResidualAccumulation {
    float ResidualSum = 0;  // km/h
    std::int32_t ResidualCount = 0;
    int TodayClass = 0;  // this week's race
    int RunClass = 0;    // the past run in slot CurSubIndex
};

// Working values of individual writers that the system keeps in the window.
struct WriterWork {
    // The day sheets' payout strings: win and place of the rank-1 runner,
    // then of the rank-2 runner; empty or the nine payout digits as stored.
    QByteArray WinPay1, PlacePay1, WinPay2, PlacePay2;
    std::int16_t HrRecordCount = 0;
    std::int16_t RowWritten = 0;
    std::int16_t OfferedLineCount = 0;  // bet lines of the family being written
    PayoffIndex Payoffs;
};

struct RunState : RaceListState, RecordBuffers, LoopState, HorseArrays, BetLists, LastKeys, ResidualAccumulation {
    prediction::CodeTable CodeTable;
    prediction::TierHitTotals TierHitTotals;
    prediction::TicketHitSummary TicketHitSummary;
    prediction::PcTicketStats PcTicketStats;
    prediction::KaitekiRates KaitekiRates;
    prediction::PublishingStrings PublishingStrings;
    prediction::WriterWork WriterWork;
};

}  // namespace rw::prediction
