#pragma once
// KESTRAVEXPDTHISWEEKNZ: the compute pass, the last step of ⑤.
//
// ComputeRunFactors: for each horse of state.WeekList (entries 1 to
// WeekListCount) three passes over its file "UMAGOTOEXTHISWEEKN\" + number +
// "EX.dat" (an absent file is created empty):
//   1. the last four records (all when fewer): SpeedTexts(0)-(2) from the
//      measured speeds, then Category1 to Category30 from the categorisers,
//      in item order, each seeing the record as rewritten after the item
//      before it;
//   2. every record: CategoryIndex(1..30), the first category of the item's
//      code in the model of the record's surface ("0" and three blanks when
//      none), item 2 retried with "6";
//   3. every record: weights, predicted speeds, sample counts and result
//      block (ApplyFactorWeights).
// Scope, tested in this order: the run date (RaceYear and RaceMonthDay as
// one number, read strictly) from 20110101; CourseCode "01"-"10" as text;
// TrackCode "10"-"59" in pass 1, and "10"-"22" turf, "23"-"29" dirt or
// "50"-"59" jump in passes 2 and 3. Out of scope, pass 1 blanks the speeds
// and codes (a record dated before 20110101 does not move the progress bar),
// pass 2 writes four blanks per index, pass 3 blanks SpeedTexts(6)-(9) and
// zeroes the 90 weights, leaving SpeedTexts(3)-(5), (10) and the result
// block as they were. Records older than the last four keep the builder's
// speeds and codes.
//
// Progress: ProgressBar4 per pass-1 record, ProgressBar3 per horse; pending
// events are processed after pass 1, after pass 2 and after each horse.
//
// How it differs from the system's record-by-record reading, with identical
// files as the result: each surface's model is read once per call, when
// first needed, into a copy of the pass's own (the window's models, which
// items 17 and 29 weigh in, never see item 1's substitution); a model file
// that cannot be read fails every record that needs it, as a re-read would,
// and is reported once. Categories and statistics are looked up through
// indexes. Each horse file is read once and written once; state.ExRecord,
// ExRecordNo, ItemNo, SearchCode, FoundIndex and the surface-aware values
// change as the system changes them, state.CurrentModel is not used.
//
// Failures: a failing horse (a speed or categoriser failure, a model file
// that cannot be read, a field that cannot be read as a number where one
// is read, a list value that is not ten digits) is abandoned with its
// records as far as written; the failure is recorded in `log` with the
// horse's number and the pass goes on with the next horse.
#include "common/skip.h"
#include "common/ui_port.h"
#include "model/expanded_state.h"

#include <QByteArray>
#include <QList>
#include <array>
#include <memory>

namespace rw::model {

void ComputeRunFactors(UiPort& ui, ExpandedState& state, SkipLog& log);

// The pass one horse at a time, as ComputeRunFactors runs it; ⑤ also gives
// it a horse's records straight from the builder. The models, category
// tables and statistics index of one pass are kept from horse to horse.
class RunFactorPass {
public:
    // Clears state.Stats: the package's statistics as they are now.
    RunFactorPass(UiPort& ui, ExpandedState& state, SkipLog& log);
    ~RunFactorPass();
    RunFactorPass(const RunFactorPass&) = delete;
    RunFactorPass& operator=(const RunFactorPass&) = delete;

    // The three passes over one horse's records; on a failure `records`
    // hold what was written before it and the failure is thrown.
    void compute(QList<QByteArray>& records);
    // The same over the horse's file, read once and written back once.
    void computeFile(QByteArrayView registrationNo);
    // After horse i of n: pending events, then ProgressBar3.
    void horseDone(int i, int n);
    // Whether any record has been opened into state.ExRecord.
    bool openedRecord() const { return opened_; }

    // The working values of state that computing a horse changes, to put
    // back when its result is not kept.
    struct Working {
        QByteArray ExRecord, SearchCode;
        std::int16_t ExRecordNo = 0;
        int ItemNo = 0;
        std::int32_t CategoryNo = 0;
        std::array<std::int16_t, kItemCount + 1> FoundIndex{}, SurfaceIndex{};
        std::array<float, 6> Sums{};
        bool opened = false;
    };
    Working working() const;
    void restore(const Working& w);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    bool opened_ = false;
};

// The scope of a record in passes 2 and 3 (the surface of its model), and
// in pass 1. Throw StepFailure when the run date is not a number.
enum class RunScope { Out, Turf, Dirt, Jump };
RunScope ModelScope(const QByteArray& record);
bool ClassifiedScope(const QByteArray& record);
bool DatedInScope(const QByteArray& record);

}  // namespace rw::model
