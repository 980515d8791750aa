#pragma once
// KESTRAVEXPDTHISWEEKNZ: the state of one expanded-records window, held in
// one core object so that two windows share nothing and ③ ④ ⑤ run without a
// screen. Everything is empty or zero when the window is created.
//
//   TurfModel, DirtModel, JumpModel  the package's models, read by the load
//   CurrentModel     working copy of one surface's model (compute pass)
//   WeekList, WeekListCount  ⑤'s list (the dam list, then the horse list);
//                    entries 1..WeekListCount are WeekList[0..count-1]; a
//                    longer earlier list leaves its tail beyond the count
//   ExRecord         the one record buffer (2603 bytes) of the builder, the
//                    compute pass and the categorisers; ExRecordNo its number
//   ItemNo, CategoryNo, SearchCode, FoundIndex, SurfaceIndex, the six sums:
//                    working values of the compute pass and the lookups
//   HorseJoinValues  the UM columns of the last horse that joined
//   RaceJoinValues   the RA columns and weekday of the last race that joined,
//                    with the jockey's KS columns of that join
//   Stats            statistics index; lives at most one press of ⑤
//   FixHorseList, FixRaceIds, ResultsModeFlag, PayoffCount: ④'s work tables
//   PressRunning     a press of ④ or ⑤ is running in this window
#include "model/expanded_record.h"
#include "model/factor_model.h"
#include "model/stats_files.h"

#include <QByteArray>
#include <QList>
#include <array>
#include <cstdint>

namespace rw::model {

// UM columns carried from horse to horse (empty texts before the first join;
// written as blanks).
struct HorseJoin {
    QByteArray BirthDate;       // 8: year, month, day
    QByteArray SireNo;          // 10
    QByteArray SireName;        // 36
    QByteArray SireDamName;     // 36: name of the fourth pedigree entry
    QByteArray BreederCode;     // 8
    QByteArray BreederName;     // 72
    QByteArray ProductionArea;  // 20
    QByteArray InvitedArea;     // 20
    QByteArray FoalOrder;       // 2
};

// RA and KS columns carried from run to run.
struct RaceJoin {
    // The RA items of the record, laid out as ExpandedRunRecord holds them
    // from GradeCode to the corner groups; empty before the first join.
    QByteArray RaceItems;
    QByteArray WeekdayCode;              // 1
    QByteArray JockeyBirthDate;          // 8
    QByteArray JockeyInvitedArea;        // 20
    QByteArray JockeySexCode;            // 1
    QByteArray JockeyQualificationCode;  // 1
};

struct ExpandedState {
    FactorModel TurfModel, DirtModel, JumpModel;
    FactorModel CurrentModel;

    QList<QByteArray> WeekList;
    int WeekListCount = 0;

    QByteArray ExRecord = QByteArray(kExRecordLength, '\0');
    std::int16_t ExRecordNo = 0;

    int ItemNo = 0;
    std::int32_t CategoryNo = 0;
    QByteArray SearchCode;
    std::array<std::int16_t, kItemCount + 1> FoundIndex{};
    std::array<std::int16_t, kItemCount + 1> SurfaceIndex{};
    float AgariSumTurf = 0, AgariSumDirt = 0, AgariSumJump = 0;
    float PaceSumTurf = 0, PaceSumDirt = 0, PaceSumJump = 0;

    HorseJoin HorseJoinValues;
    RaceJoin RaceJoinValues;

    StatsIndex Stats;

    QList<QByteArray> FixHorseList;
    QList<QByteArray> FixRaceIds;
    int ResultsModeFlag = 0;
    int PayoffCount = 0;

    bool PressRunning = false;
};

}  // namespace rw::model
