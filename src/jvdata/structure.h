#pragma once
// ② structure processing: the load of the window KOUZOUTAIZ. Sorts and
// de-duplicates the week's race, entry and horse records into the NEW and
// NEWd files, writes the horse and dam lists and rebuilds one run file per
// horse of the list in UMAGOTOTHISWEEKN.
#include "common/skip.h"
#include "common/ui_port.h"
#include "jvdata/store_files.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace rw::jv {

// The tasks that rewrite the weekly store (structure and cancellation
// processing) let the window system process events inside their loops, so
// a second press could start one while another is running. Whoever holds
// this guard owns the store; a task that cannot acquire it does nothing.
class WeeklyStoreGuard {
public:
    WeeklyStoreGuard();
    ~WeeklyStoreGuard();
    WeeklyStoreGuard(const WeeklyStoreGuard&) = delete;
    WeeklyStoreGuard& operator=(const WeeklyStoreGuard&) = delete;
    bool acquired() const { return acquired_; }
    static bool busy();

private:
    bool acquired_ = false;
};

// A press refused because another task holds the guard says so on screen,
// in `box` (the status box of the step pressed), and on stderr naming
// `task`; nothing else is done.
void SayPressRefused(UiPort& ui, const QString& box, const char* task);

// Which run-file record a new delivery of the same run replaces when
// several have a make date not newer than its own: structure processing
// replaces the last of them, cancellation processing the first.
enum class RunMatch { Last, First };

// The load of KOUZOUTAIZ: the package check, the start message in the
// menu's Text4, the RA, SE (after removing data kind "1" from
// "SETHISWEEKN.dat") and UM phases, HorseList, DamList, the run files, and
// the end messages in the menu's Text4 and the window's Text1. From the RA
// phase on, a phase that fails is recorded in `log` and the next one runs;
// the caller reports the log.
// Returns false, having touched nothing but the menu's Text4 (which says
// so), when the weekly store is already being rewritten (a second press
// during the event turns of a running one).
bool RunStructureProcessing(UiPort& ui, SkipLog& log);

// The run-file phase (cancellation processing reuses it with RunMatch::First):
// reads HorseList back, and rewrites the run file of every listed horse
// with the records of "SETHISWEEKNNEW.dat" placed in it: each record goes
// into the file of its registration number; it replaces the last (or
// first) record of the same run (everything of its RunKey but the make
// date) whose make date is not newer than its own, or is appended. A horse
// without entries gets an empty file; entries of horses not listed go
// nowhere. Events are processed once per entry record. Each file is written
// once, in its final state. List values and entries whose registration
// number is not ten digits are skipped and recorded in `log`.
// The caller holds the WeeklyStoreGuard.
void FillHorseRunFiles(UiPort& ui, SkipLog& log, RunMatch match);

}  // namespace rw::jv
