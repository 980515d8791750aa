#include "jvdata/cancellation.h"

#include "common/control_names.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/record_file.h"
#include "jvdata/flash_fetch.h"
#include "jvdata/records.h"
#include "jvdata/software_id.h"
#include "jvdata/store_files.h"
#include "jvdata/structure.h"

#include <cstdio>

namespace rw::jv {
namespace {

QByteArray itemOf(const QByteArray& rec, const Field& f) { return member(rec, f).toByteArray(); }

QByteArray raceMatchKey(const QByteArray& rec) {
    return itemOf(rec, head::Racecourse) + itemOf(rec, head::Year) + itemOf(rec, head::Meeting) +
           itemOf(rec, head::Day) + itemOf(rec, head::RaceNumber);
}

QByteArray runMatchKey(const QByteArray& rec) { return raceMatchKey(rec) + itemOf(rec, se::HorseNumber); }

// A record file read whole; a missing one is created empty, as opening it
// for records would.
QList<QByteArray> readRecords(const QString& path, Kind kind) {
    return RecordFile::readAll(path, imageLength(kind), RecordFile::PartRecord::Dropped, RecordFile::Missing::Created);
}

// Every cancellation record of the flash file overwrites the first
// record of the NEWd file with its match key. Returns the NEWd records as
// they are now.
template <class MatchKey>
QList<QByteArray> markCancelled(const char16_t* flashFile, const char16_t* newdFile, Kind kind, MatchKey matchKey) {
    const QList<QByteArray> flash = readRecords(AppFile(flashFile), kind);
    QList<QByteArray> newd = readRecords(AppFile(newdFile), kind);
    RecordFile out;
    for (const QByteArray& cancellation : flash) {
        if (dataKind(cancellation) != '9') continue;
        const QByteArray key = matchKey(cancellation);
        for (qsizetype k = 0; k < newd.size(); ++k) {
            if (matchKey(newd[k]) != key) continue;
            if (!out.isOpen()) out.open(AppFile(newdFile), imageLength(kind));
            out.write(k + 1, cancellation);
            newd[k] = cancellation;
            break;
        }
    }
    return newd;
}

// The NEW file as the NEWd records of neither kind "1" nor "9",
// written whole beside the old one, which it then replaces.
void rebuildNew(const char16_t* newFile, const QList<QByteArray>& newd) {
    QByteArray bytes;
    for (const QByteArray& r : newd)
        if (keptInNewFiles(r)) bytes += r;
    ReplaceFile(AppFile(newFile), bytes);
}

}  // namespace

bool ApplyCancellations(UiPort& ui, JvLink& JVLink1, SkipLog& log) {
    WeeklyStoreGuard guard;
    if (!guard.acquired()) {
        log.record("cancellation processing", "the weekly store is being rewritten; nothing is done");
        return false;
    }
    QList<QByteArray> days;
    if (!log.step("race days", [&] { days = FlashRaceDates(kRaNewFile); })) return true;
    if (!log.step("flash race days", [&] { FetchFlashDays(ui, JVLink1, SidFlash(), days, log); })) return true;
    // Races first, then runs: each marked in its NEWd file, then its NEW
    // file rebuilt.
    QList<QByteArray> races;
    if (!log.step("cancelled races", [&] { races = markCancelled(kRaFlashFile, kRaNewdFile, Kind::RA, raceMatchKey); }))
        return true;
    if (!log.step("race rebuild", [&] { rebuildNew(kRaNewFile, races); })) return true;
    QList<QByteArray> entries;
    if (!log.step("cancelled runs", [&] { entries = markCancelled(kSeFlashFile, kSeNewdFile, Kind::SE, runMatchKey); }))
        return true;
    if (!log.step("entry rebuild", [&] { rebuildNew(kSeNewFile, entries); })) return true;
    // The run files from the rebuilt entries, the first match replaced.
    FillHorseRunFiles(ui, log, RunMatch::First);
    return true;
}

void LoadCancellations(UiPort& ui, JvLink& JVLink1, SkipLog& log) {
    AppPath = GetAppPath();
    ui.setText(ctl::CancelText1, QString::fromUtf8("中止処理中。。"));
    ApplyCancellations(ui, JVLink1, log);
    ui.setText(ctl::CancelText1,
               QString::fromUtf8("中止処理終了コマンドボタンはソフトを完全に終了する時まではクリックしないで下さい。"));
}

bool CancellationWindowMayClose() {
    if (!WeeklyStoreGuard::busy()) return true;
    std::fprintf(stderr, "cancellation window: the weekly store is being rewritten; the click is ignored\n");
    return false;
}

}  // namespace rw::jv
