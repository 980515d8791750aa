#include "model/previous_day_fix.h"

#include "common/control_names.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/race_key.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "jvdata/structure.h"

#include <QFile>
#include <QSet>
#include <cstdio>

namespace rw::model {

namespace {

namespace se = jv::se;
namespace ra = jv::ra;

constexpr int kSeLength = jv::kSE.imageLength;
constexpr int kRaLength = jv::kRA.imageLength;
constexpr int kHrLength = jv::kHR.imageLength;

bool notZero(QByteArrayView v) { return valIgnoringBlanks(v) != 0.0; }

void applyJockeyAndWeightRules(QByteArray& rec) {
    if (notZero(member(rec, se::JockeyCodeBefore))) {
        putFixed(rec, se::JockeyCode.pos, se::JockeyCode.width, member(rec, se::JockeyCodeBefore).toByteArray());
        putFixed(rec, se::JockeyShortName.pos, se::JockeyShortName.width,
                 member(rec, se::JockeyShortNameBefore).toByteArray());
    }
    if (notZero(member(rec, se::WeightCarriedBefore)))
        putFixed(rec, se::WeightCarried.pos, se::WeightCarried.width, member(rec, se::WeightCarriedBefore).toByteArray());
}

// The records of a file read whole; a missing file is created empty, as
// opening it for records does.
QList<QByteArray> readRecords(const QString& path, qsizetype length) {
    return RecordFile::readAll(path, length, RecordFile::PartRecord::Dropped, RecordFile::Missing::Created);
}

}  // namespace

void FixPreviousDayEntries(ExpandedState& s, SkipLog& log) {
    const QString listPath = AppFile(jv::kHorseListFile);
    if (!QFile::exists(listPath)) failFile("open", listPath, QStringLiteral("the file does not exist"));
    s.FixHorseList = readValues(listPath);
    for (const QByteArray& reg : std::as_const(s.FixHorseList)) {
        if (!isRegistrationNumber(reg)) {
            log.record("fixing \"" + printable(reg) + "\"", "not a ten-digit registration number; no file is named by it");
            continue;
        }
        RecordFile runs(jv::HorseRunFile(reg), kSeLength);
        const qint64 c = runs.count();
        if (c == 0) continue;
        QByteArray bodyWeight = "440";
        if (c >= 2) bodyWeight = member(runs.read(c - 1), se::BodyWeight).toByteArray();
        QByteArray rec = runs.read(c);
        applyJockeyAndWeightRules(rec);
        putFixed(rec, se::TimeDifference.pos, se::TimeDifference.width, "0000");
        putFixed(rec, se::BodyWeight.pos, se::BodyWeight.width, bodyWeight);
        runs.write(c, rec);
    }
}

void FixPreviousDayRaces(UiPort& ui, ExpandedState& s) {
    const QString raPath = AppFile(jv::kRaNewFile);
    QList<QByteArray> races = readRecords(raPath, kRaLength);
    const qint64 m = races.size();
    s.ResultsModeFlag = m > 0 && jv::isResultsMode(races.last()) ? 1 : 0;

    if (s.ResultsModeFlag) {
        const QList<QByteArray> payoffs = readRecords(AppFile(jv::kHrWeekFile), kHrLength);
        s.PayoffCount = int(payoffs.size());
        s.FixRaceIds.clear();
        QByteArray list;
        for (const QByteArray& payoff : payoffs) {
            const QByteArray id = jv::RaceKey::raceIdOfRecord(payoff);
            s.FixRaceIds.append(id);
            list += csvLine({CsvValue::text(id)}) + "\r\n";
        }
        ReplaceFile(AppFile(jv::kRaceListFile), list);

        const QSet<QByteArray> paid(s.FixRaceIds.cbegin(), s.FixRaceIds.cend());
        bool changed = false;
        for (QByteArray& race : races) {
            if (!paid.contains(jv::RaceKey::raceIdOfRecord(race))) continue;
            for (const Field& f : {ra::WeatherCode, ra::TurfGoingCode, ra::DirtGoingCode}) race[f.offset()] = '1';
            changed = true;
        }
        if (changed) {
            RecordFile out(raPath, kRaLength);
            out.writeRecords(1, races.join());
        }
    }
    // Nothing is repainted while the fix runs: the bar's last value shows.
    if (m > 0) ui.setProgress(ctl::ExpandedProgressBar1, 100, 100);
}

bool RunPreviousDayFix(UiPort& ui, ExpandedState& s) {
    jv::WeeklyStoreGuard guard;
    if (!guard.acquired()) {
        jv::SayPressRefused(ui, ctl::ExpandedText1, "previous-day fix");
        return false;
    }
    SkipLog skipped("previous-day fix");
    try {
        ui.setProgress(ctl::ExpandedProgressBar1, 0, 100);
        FixPreviousDayEntries(s, skipped);
        FixPreviousDayRaces(ui, s);
    } catch (const std::exception& e) {
        skipped.report(ui);
        std::fprintf(stderr, "previous-day fix: stopped: %s\n", e.what());
        return false;
    }
    skipped.report(ui);
    ui.setText(ctl::ExpandedText1, QString::fromUtf8("前日固定終了"));
    return true;
}

}  // namespace rw::model
