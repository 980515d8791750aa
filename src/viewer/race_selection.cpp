#include "viewer/race_selection.h"

#include "common/control_names.h"
#include "common/cp932.h"
#include "common/errors.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "prediction/race_key.h"
#include "prediction/run_files.h"
#include "prediction/runner_record.h"
#include "viewer/bet_grids.h"
#include "viewer/payout_grid.h"
#include "viewer/runner_rows.h"

#include <QSet>

namespace rw::viewer {

namespace {
constexpr qsizetype kRaLength = jv::kRA.imageLength;
constexpr qsizetype kHrLength = jv::kHR.imageLength;
constexpr qsizetype kRunnerLength = prediction::kRunnerRecordLength;

QByteArrayView field(QByteArrayView record, jv::Field f) { return member(record, f.pos, f.width); }
QByteArray raceIdOf(QByteArrayView record) { return prediction::RaceKey::ofRecord(record).raceId(); }

std::int32_t runnerCount(QByteArrayView field) {
    const double v = valLenient(field);
    return v > -1.0e9 && v < 1.0e9 ? std::int32_t(v) : 0;
}
}  // namespace

QList<QByteArray> PendingRaceIds(const QList<QByteArray>& raceRecords) {
    QSet<QByteArray> official;
    for (const QByteArray& ra : raceRecords)
        if (field(ra, jv::head::DataKind) == "7") official.insert(raceIdOf(ra));
    QList<QByteArray> pending;
    for (const QByteArray& ra : raceRecords)
        if (field(ra, jv::head::DataKind) == "2" && !official.contains(raceIdOf(ra))) pending.append(raceIdOf(ra));
    return pending;
}

void List1_Click(UiPort& ui, prediction::RunState& state, RaceViewer& viewer, int listIndex, SkipLog& log) {
    // The selected race.
    const int i = listIndex + 1;
    QByteArray raceId;
    log.step("selected race", [&] {
        viewer.List1Text = checkedAt(state.List1, listIndex);
        raceId = viewer.List1Text.right(12).toLatin1();
    });

    // Header.
    log.step("header", [&] {
        const prediction::RaceRow& row = checkedAt(state.RaceTable, i);
        namespace rt = prediction::rt;
        QString header = viewer.List1Text;
        for (int c : {rt::RaceName, rt::RaceTypeName, rt::ConditionName, rt::GradeName, rt::TrackName, rt::Distance})
            header += cp932::decode(row[c]);
        header += QStringLiteral("m SD=") + cp932::decode(row[rt::SD]) + QLatin1Char(' ') +
                  cp932::decode(row[rt::WeatherGoing]);
        ui.setText(ctl::PredictionText1, header);
    });
    ui.setBackColor(ctl::PredictionText1, kHeaderGreen);

    log.step("payout grid captions", [&] { PreparePayoutGrid(viewer.HAITOGrid1); });

    // The race list file and the pending races.
    qsizetype pending = 0;
    log.step("race list", [&] {
        const QString listFile = AppFile(jv::kRaceListFile);
        emptyTextFile(listFile);
        const QList<QByteArray> ids = PendingRaceIds(RecordFile::readAll(AppFile(jv::kRaNewFile), kRaLength));
        for (const QByteArray& id : ids) {
            ++pending;
            log.step("race list line", [&] { appendValues(listFile, {CsvValue::text(id)}); });
        }
    });

    auto fillBetGrids = [&] { log.step("bet grids", [&] { FillBetGrids(state, viewer, log); }); };
    // Every record of the payoff file `name` that names the race: payout and
    // bet grids, and what `onMatch` adds.
    auto scanPayoffs = [&](const char16_t* name, auto&& onMatch) {
        log.step("payoff file", [&] {
            RecordFile file(AppFile(name), kHrLength);
            state.HorseCount = std::int32_t(file.count());
            for (qint64 n = 1; n <= file.count(); ++n) {
                state.CurrentHR = file.read(n);
                if (raceIdOf(state.CurrentHR) != raceId) continue;
                onMatch();
                log.step("payout grid", [&] { FillPayoutGrid(viewer.HAITOGrid1, state.CurrentHR); });
                viewer.GridHorseCount = runnerCount(field(state.CurrentHR, jv::hr::RegisteredRunners));
                fillBetGrids();
            }
        });
    };
    if (pending != 0) {
        log.step("race records", [&] {
            RecordFile file(AppFile(jv::kRaNewFile), kRaLength);
            state.HorseCount = std::int32_t(file.count());
            for (qint64 n = 1; n <= file.count(); ++n) {
                state.CurrentRA = file.read(n);
                if (raceIdOf(state.CurrentRA) != raceId) continue;
                viewer.GridHorseCount = runnerCount(field(state.CurrentRA, jv::ra::RegisteredRunners));
                fillBetGrids();
            }
        });
        scanPayoffs(jv::kHrFlashFile, [&] { ui.setBackColor(ctl::PredictionText1, kHeaderYellow); });
    } else {
        scanPayoffs(jv::kHrWeekFile, [] {});
    }

    // Predicted ranks; a race without its file shows no ranks.
    if (state.PredRank.size() < 19) state.PredRank.resize(19);
    for (QByteArray& rank : state.PredRank) rank.clear();
    log.step("predicted ranks", [&] {
        const QList<QByteArray> values =
            readValues(prediction::KaimeFile(raceId, prediction::kRankSortSuffix));
        for (int n = 1; n <= 18 && qsizetype(n - 1) * 15 < values.size(); ++n) {
            auto& row = viewer.SortTable[size_t(n)];
            for (int c = 0; c < 15; ++c) {
                const qsizetype at = qsizetype(n - 1) * 15 + c;
                if (at < values.size()) row[size_t(c)] = values[at];
            }
            state.PredRank[n] = row[3];
        }
    });

    // Runners and their tables.
    RecordFile runners;
    state.HorseCount = 0;
    log.step("runner file", [&] {
        runners.open(prediction::RunnerFile(raceId), kRunnerLength);
        state.HorseCount = std::int32_t(runners.count());
    });
    state.Grades = QList<std::array<QByteArray, 5>>(state.HorseCount + 1);
    log.step("runner tables", [&] { PrepareRunnerTables(state, viewer, raceId); });
    for (int w = 1; w <= state.HorseCount; ++w) {
        state.CurIndex = w;
        log.step("runner row", [&] {
            state.CurrentHorse = runners.read(w);
            FillRunnerRow(state, viewer);
        });
    }
    runners.close();
}

}  // namespace rw::viewer
