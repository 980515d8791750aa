#pragma once
// KESTRAVEXPDTHISWEEKNZ: building the expanded run records, the first step
// of ⑤ after the horse files have been emptied.
//
// BuildExpandedRecords: for every horse of state.WeekList (1..WeekListCount)
// one ExpandedRunRecord per run of its run file, joined with
//   - the horse's UM image of "UMTHISWEEKNNEW.dat" (last matching row wins),
//   - the run's RA image of "RATHISWEEKNNEW.dat" by RaceJoinKey (racecourse,
//     year, month-day, race number; last matching row wins),
//   - the jockey's KS image, "KSTHISWEEKN.dat" then the package's
//     "OPTION1N\KS20200101NEW.dat" (last wins: the package's row), looked
//     up at every race join; a jockey in neither gets blanks.
// A failed join keeps the values of the last successful one (state's
// HorseJoinValues and RaceJoinValues, emptied at the start of every build,
// as is ExRecord: a second press writes what a first press in a new window
// writes). Members never assigned stay zero bytes, the computed block too.
// A last record whose make date (read leniently) is older than the one
// before it is dropped through "TEMPORARY". Every file is opened as a
// record file, so a missing input is created empty.
//
// The UM, RA and KS tables and the dam-foal list are indexed once per build;
// each horse's records are assembled in memory and its file written once.
//
// Screen: Text3 shows the last UM image's number, sire number and sire name;
// ProgressBar3 runs over the horses; events are processed once at the end.
// Failures: a list value that is not ten digits, a run file or horse file
// that cannot be read or written abandons that horse only (records written
// so far stay) and goes to `log`; an input table that cannot be read ends
// the build (StepFailure).
#include "common/skip.h"
#include "common/ui_port.h"
#include "model/expanded_state.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <memory>
#include <vector>

namespace rw::model {

void BuildExpandedRecords(UiPort& ui, ExpandedState& state, SkipLog& log);

// The builder one horse at a time. Its record buffer is its own (state's
// ExRecord is reset at the start and receives the buffer at the end of
// BuildExpandedRecords), so that ⑤ can compute each horse right after
// building it without the computed values reaching the next horse's
// records; the carried join values live in `state`.
class ExpandedBuilder {
public:
    // Resets state's buffer and carried values as a new window's first
    // build, then indexes the tables (StepFailure when one cannot be read).
    ExpandedBuilder(UiPort& ui, ExpandedState& state);
    ~ExpandedBuilder();
    ExpandedBuilder(const ExpandedBuilder&) = delete;
    ExpandedBuilder& operator=(const ExpandedBuilder&) = delete;

    // The horse's file built, as BuildExpandedRecords does for each horse.
    void buildFile(QByteArrayView registrationNo);
    // The same for a horse whose file is empty, without writing it:
    // `records` receives what buildFile would leave in the file, also when a
    // failure is thrown after the records are built (a stale last record
    // whose scratch copy or deletion failed). A stale last record is dropped
    // as buildFile drops it: the scratch file is written and the horse file
    // deleted, for the caller to create with the records.
    void buildRecords(QByteArrayView registrationNo, QList<QByteArray>& records);
    // ProgressBar3 after horse h of count, when its value changes.
    void horseDone(int h, int count);

    const QByteArray& record() const { return record_; }
    std::int16_t recordNo() const { return recordNo_; }

    struct Tables;

private:
    QByteArray readRuns(QByteArrayView registrationNo, qint64* n);
    void assemble(QByteArrayView registrationNo, const QByteArray& runs, qint64 n, QList<QByteArray>& out);

    UiPort& ui_;
    ExpandedState& s_;
    std::unique_ptr<Tables> t_;
    QByteArray record_;
    std::int16_t recordNo_ = 0;
    int shown_ = -1;
};

// "OPTION1N\HNSKOPTION1N.dat" indexed: the first record of every dam.
class DamFoalIndex {
public:
    // Reads the file (creating it empty when missing).
    void load();
    // The horse's position among the 21 records from its dam's first one,
    // "01" to "21"; "01" for a dam not listed or a horse not among them.
    QByteArray order(QByteArrayView damBreedingNo, QByteArrayView registrationNo) const;

private:
    QByteArray data_;
    qint64 count_ = 0;
    QHash<QByteArray, qint64> first_;
};

// DamFoalOrder for one UM image: its dam (second pedigree entry) and its
// registration number looked up in the index.
QByteArray DamFoalOrder(const DamFoalIndex& index, QByteArrayView umImage);

// The record of one run: `se` (a 555-byte SE image) joined with the carried
// values, every member below the computed block assigned as the record
// lays them out; the rest of `record` is left as it is.
void FillExpandedRecord(QByteArray& record, QByteArrayView se, const HorseJoin& horse, const RaceJoin& race);

// The values a UM image gives a horse, without its foal order.
HorseJoin HorseJoinOf(QByteArrayView umImage);

}  // namespace rw::model
