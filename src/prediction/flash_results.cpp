#include "prediction/flash_results.h"

#include "common/control_names.h"
#include "common/errors.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/flash_fetch.h"
#include "jvdata/race_key.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "prediction/runner_record.h"

#include <QFileInfo>

#include <cmath>
#include <map>
#include <memory>
#include <string>

namespace rw::prediction {
namespace {

using jv::Field;
using jv::Kind;
using jv::RaceKey;
namespace head = jv::head;

template <Kind K>
QByteArray raceIdOf(const jv::Parsed<K>& rec) { return RaceKey::ofRecord(rec.bytes).raceId(); }

// The runner files flash records name, each opened once and only when it
// exists: flash data never creates one. The records of a race without
// runner file are counted and reported once per race.
class RunnerFiles {
public:
    RunnerFiles(SkipLog& log, std::string what) : log_(log), what_(std::move(what)) {}

    // The race's runner file, or nullptr when it has none. StepFailure when
    // the RaceID is not twelve digits.
    RecordFile* of(const QByteArray& raceId) {
        auto it = files_.find(raceId);
        if (it == files_.end()) {
            const QString path = RunnerFile(raceId);
            std::unique_ptr<RecordFile> file;
            if (QFileInfo::exists(path)) file = std::make_unique<RecordFile>(path, kRunnerRecordLength);
            it = files_.emplace(raceId, std::move(file)).first;
        }
        if (!it->second) ++missing_[raceId];
        return it->second.get();
    }

    void reportMissing() const {
        for (const auto& [raceId, n] : missing_)
            log_.record(what_, "race " + raceId.toStdString() + " has no runner file; " + std::to_string(n) +
                                   " of its flash records not applied");
    }

private:
    SkipLog& log_;
    std::string what_;
    std::map<QByteArray, std::unique_ptr<RecordFile>> files_;
    std::map<QByteArray, int> missing_;
};

// The record number a horse number names in a runner file, or StepFailure:
// a number outside the file's records indexes nothing and never extends it.
qint64 runnerRecordOf(const RecordFile& runners, QByteArrayView horseNumber, const QByteArray& raceId) {
    const double n = valLenient(horseNumber);
    if (n < 1 || n > double(runners.count()) || n != std::floor(n))
        fail("horse number \"" + printable(horseNumber) + "\" is not a record of the runner file of race " +
             raceId.toStdString() + " (" + std::to_string(runners.count()) + " records)");
    return qint64(n);
}

void put(QByteArray& runner, const Field& member, QByteArrayView value) {
    putFixed(runner, member.pos, member.width, value);
}

}  // namespace

void RunFlashResults(UiPort& ui, const std::function<void()>& showWindow) {
    ui.setText(ctl::FlashText1, QString::fromUtf8("速報払戻等取得を開始します。。。。。"));
    ui.processEvents();
    OddsSourceFlag = 1;
    showWindow();
    ui.setText(ctl::FlashText1, QString::fromUtf8("速報払戻等取得及び処理完了"));
}

void LoadFlashResults(UiPort& ui, jv::JvLink& JVLink1, SkipLog& log) {
    AppPath = GetAppPath();
    log.step("FetchFlashWinOdds", [&] { jv::FetchFlashWinOdds(ui, JVLink1); });
    log.step("FetchFlashResults", [&] { jv::FetchFlashResults(ui, JVLink1, log); });
    ApplyFlashEntries(log);
    ApplyFlashWinOdds(log);
}

void ApplyFlashEntries(SkipLog& log) {
    RecordFile entries;
    if (!log.step("open SERIALTIME.dat", [&] { entries.open(AppFile(jv::kSeFlashFile), jv::imageLength(Kind::SE)); }))
        return;
    RunnerFiles files(log, "flash entries");
    const qint64 n = entries.count();
    for (qint64 i = 1; i <= n; ++i) {
        log.step("flash entry " + std::to_string(i), [&] {
            jv::ParsedSE se;
            jv::ParseSE(entries.read(i), se);
            const QByteArray raceId = raceIdOf(se);
            RecordFile* runners = files.of(raceId);
            if (!runners) return;
            const qint64 horse = runnerRecordOf(*runners, se.item(jv::se::HorseNumber), raceId);
            QByteArray runner = runners->read(horse);
            put(runner, rr::ArrivalOrder(0), se.item(jv::se::ArrivalOrder));
            put(runner, rr::RaceTime(0), se.item(jv::se::Time));
            put(runner, rr::WinPopularity(0), se.item(jv::se::WinPopularity));
            put(runner, rr::WinOdds(0), se.item(jv::se::WinOdds));
            put(runner, rr::Last3FTime(0), se.item(jv::se::Last3F));
            runners->write(horse, runner);
        });
    }
    files.reportMissing();
}

void ApplyFlashWinOdds(SkipLog& log) {
    LineReader lines(AppFile(jv::kO1FlashFile));
    if (!lines.open()) {
        // The failure names the file and the system's reason.
        if (lines.missing())
            log.record("open O1RIALTIME.dat", "the file is missing");
        else
            log.step("open O1RIALTIME.dat", [&] { lines.fail("open"); });
        return;
    }
    RunnerFiles files(log, "flash win odds");
    constexpr int kWinEntries = 28;
    QByteArray line;
    for (int lineNo = 1;; ++lineNo) {
        bool more = false;
        // A line that cannot be read ends the reading of the file.
        if (!log.step("read O1RIALTIME.dat", [&] { more = lines.next(line); }) || !more) break;
        log.step("flash win odds line " + std::to_string(lineNo), [&] {
            jv::ParsedO1 o1;
            jv::ParseO1(line, o1);
            const QByteArray raceId = raceIdOf(o1);
            RecordFile* runners = files.of(raceId);
            if (!runners) return;
            for (int e = 0; e < kWinEntries; ++e) {
                const QByteArrayView horseNumber = o1.item(jv::odds::WinHorse(e));
                if (valLenient(horseNumber) == 0) continue;
                log.step("win entry", [&] {
                    const qint64 horse = runnerRecordOf(*runners, horseNumber, raceId);
                    QByteArray runner = runners->read(horse);
                    put(runner, rr::WinPopularity(0), o1.item(jv::odds::WinPopularity(e)));
                    put(runner, rr::WinOdds(0), o1.item(jv::odds::WinOdds(e)));
                    runners->write(horse, runner);
                });
            }
        });
    }
    files.reportMissing();
}

}  // namespace rw::prediction
