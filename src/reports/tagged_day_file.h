#pragma once
// YOSOKEKKATHISWEEKNZ: the family of tagged day files that four per-race
// writers keep, one file per course-day (DayKey): the race card
// "SHUTSUBAHYO\<DayKey>mmk.txt", the upload day file "TEKICHU\<DayKey>lup.txt"
// with its hit table "tekichu.txt", the selection day file "lupPC.txt" with
// "tekichuPC.txt", and the labelled day file "twi.txt"; in results mode the
// names carry "RCM" ("mmkRCM.txt", "lupRCM.txt", "lupRCMPC.txt", "twiRCM.txt").
//
// The frame of one writer call (WriteDayFileBlock):
// - the DayKey is year, month-day, racecourse, meeting and day of
//   CurrentHorse slot 0; a key that is not fourteen digits fails the writer
//   before any file is named by it;
// - a key other than the writer's last key (empty at the start of every run)
//   starts the day file anew, and its hit table with it, with the head lines
//   DY and PL (and the hit table's own head); the same key appends;
// - the writer adds the race's lines; they are written when it returns and
//   also when it fails, so the lines made before a failure stay; the failure
//   then passes on to the run, which goes on with its next writer.
// Each line is formed whole: items separated by commas, texts in double
// quotes, a lookup without value as nothing, CR LF; code page 932.
//
// The shared lines: DY, PL, RC (plain and named forms), RR and HS of the
// upload, selection and labelled day files. Readers take these files item by
// item across line ends, so every line's item count is part of the format.
#include "common/fixed_text.h"
#include "common/layout_table.h"
#include "common/text_file.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "prediction/run_state.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <string_view>

namespace rw::reports {

enum class DayFileKind { RaceCard, Upload, Selection, Labelled };

// One member of the family: where it lives, its names by mode, its hit
// table (none for the race card and the labelled file) and the last-key
// member of the run that belongs to its writer.
struct DayFileMember {
    DayFileKind kind;
    const char16_t* folder;
    const char16_t* normalSuffix;
    const char16_t* resultsSuffix;
    const char16_t* hitTable;  // nullptr: none
    QString prediction::LastKeys::*lastKey;
};

inline const DayFileMember kRaceCardFile{DayFileKind::RaceCard, jv::kShutsubahyoFolder, u"mmk.txt", u"mmkRCM.txt",
                                         nullptr, &prediction::LastKeys::LastDayKeyMmk};
inline const DayFileMember kUploadDayFile{DayFileKind::Upload, jv::kTekichuFolder, u"lup.txt", u"lupRCM.txt",
                                          u"tekichu.txt", &prediction::LastKeys::LastDayKeyLup};
inline const DayFileMember kSelectionDayFile{DayFileKind::Selection, jv::kTekichuFolder, u"lupPC.txt", u"lupRCMPC.txt",
                                             u"tekichuPC.txt", &prediction::LastKeys::LastDayKeyPc};
inline const DayFileMember kLabelledDayFile{DayFileKind::Labelled, jv::kTekichuFolder, u"twi.txt", u"twiRCM.txt",
                                            nullptr, &prediction::LastKeys::LastDayKeyTwi};

// ---- Reading the race's records --------------------------------------------

// A race-level member of CurrentHorse slot 0 (rw::prediction::rr fields);
// StepFailure when the image ends before it.
QByteArray RaceField(const prediction::RunState& s, recordlayout::Field f);
// A member of the payoff record CurrentHR (rw::jv fields of the HR layout,
// positions from 1); StepFailure when the image ends before it.
QByteArray PayoffField(const prediction::RunState& s, recordlayout::Field f);

// One payoff entry of CurrentHR: its combination (or horse number), payout
// and popularity fields as stored.
struct PayoffEntry {
    QByteArray combination, payout, popularity;
};
// The payoff groups of the HR layout (jvdata/records.h), with their entry
// counts.
using PayoffKind = jv::hr::PayoffGroup;
namespace payoff = jv::hr;
// Entry i (from 1) of a kind; StepFailure when the image ends before it.
PayoffEntry PayoffEntryAt(const prediction::RunState& s, const PayoffKind& k, int i);
// Every entry of a kind, in order.
QList<PayoffEntry> PayoffEntries(const prediction::RunState& s, const PayoffKind& k);

// The race's DayKey, fourteen digits, or StepFailure naming the bad value.
QByteArray DayKey(const prediction::RunState& s);

// The result-lines rule: results mode, and CurrentHR is the race's own
// payoff record (year, month-day, racecourse and race number equal those of
// CurrentHorse slot 0; meeting and day are not compared).
bool ResultLinesApply(const prediction::RunState& s);

// The registered runner count of the race, two characters as stored.
QByteArray RegisteredCount(const prediction::RunState& s);

// ---- Lines ----------------------------------------------------------------

// The lines of one file for one race, each formed whole.
using DayLines = TextLines;

// Shorthand for a text item of code page 932 bytes.
inline CsvValue T(QByteArrayView cp932) { return CsvValue::text(cp932); }
// A text item from a UTF-8 literal of the system's own texts.
CsvValue TU(const char* utf8);

// DY: "DY", "1", year and month-day of the DayKey.
QList<CsvValue> DyLine(const QByteArray& dayKey);
// PL: "PL", "1", meeting, racecourse name (no value when the code table has
// no row for the racecourse), day, "11".
QList<CsvValue> PlLine(const prediction::RunState& s, const QByteArray& dayKey);

enum class RcForm { Plain, Named };
// RC of RaceTable row RaceIndex; `extraEmpty` adds the one more empty text
// of "mmkRCM.txt", "lupRCMPC.txt" and "lupRCM.txt".
QList<CsvValue> RaceLine(const prediction::RunState& s, RcForm form, bool extraEmpty);

// RR of the upload, selection and labelled day files by mode; the last-3F
// labels follow the track code of CurrentHorse slot 0.
QList<CsvValue> RunnerHeader(const prediction::RunState& s, DayFileKind kind, bool results);
// The HS lines of the upload, selection and labelled day files, in predicted
// order (rank r = 1 .. HorseCount, the horse whose PredRank reads r), with
// CurIndex and CurSubIndex as the loop counters.
void AddRunnerLines(prediction::RunState& s, DayFileKind kind, bool results, DayLines& out);

// ---- The frame ---------------------------------------------------------------

// What a writer sees during its call.
class TaggedDayFile {
public:
    TaggedDayFile(const prediction::RunState& s, const DayFileMember& member);
    const DayFileMember& member() const { return member_; }
    const QByteArray& dayKey() const { return dayKey_; }
    bool isNew() const { return isNew_; }        // this race starts the day file
    bool resultsMode() const { return results_; }  // ResultsMode ≠ 0
    bool hasHitTable() const { return results_ && member_.hitTable; }

    QString dayFilePath() const;
    QString hitTablePath() const;  // empty when there is none

    DayLines head;      // DY and PL when the file is new
    DayLines lines;     // the race's block
    DayLines hitHead;   // the hit table's head lines (written only when new)
    DayLines hitLines;  // the race's rows of the hit table

    // Writes what has been made: the day file, then the hit table.
    void write(prediction::RunState& s);

private:
    const DayFileMember& member_;
    QByteArray dayKey_;
    bool isNew_ = false;
    bool results_ = false;
};

// One writer call for one race (see the header comment).
void WriteDayFileBlock(prediction::RunState& s, const DayFileMember& member,
                       const std::function<void(TaggedDayFile&)>& block);

}  // namespace rw::reports
