#include "viewer/race_selection.h"

#include "common/control_names.h"
#include "common/cp932.h"
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
#include "prediction/run_files.h"
#include "prediction/runner_record.h"
#include "viewer/bet_grids.h"
#include "viewer/payout_grid.h"
#include "viewer/runner_rows.h"

#include <QSet>
#include <optional>

namespace rw::viewer {

namespace {
constexpr qsizetype kRaLength = jv::kRA.imageLength;
constexpr qsizetype kHrLength = jv::kHR.imageLength;
constexpr qsizetype kRunnerLength = prediction::kRunnerRecordLength;

QByteArray raceIdOf(QByteArrayView record) { return jv::RaceKey::ofRecord(record).raceId(); }

std::int32_t runnerCount(QByteArrayView field) {
    const double v = valLenient(field);
    return v > -1.0e9 && v < 1.0e9 ? std::int32_t(v) : 0;
}
}  // namespace

QList<QByteArray> PendingRaceIds(const QList<QByteArray>& raceRecords) {
    QSet<QByteArray> official;
    for (const QByteArray& ra : raceRecords)
        if (jv::isOfficialResults(ra)) official.insert(raceIdOf(ra));
    QList<QByteArray> pending;
    for (const QByteArray& ra : raceRecords)
        if (member(ra, jv::head::DataKind) == "2" && !official.contains(raceIdOf(ra))) pending.append(raceIdOf(ra));
    return pending;
}

namespace {

// A file's records, opened as the payoff and runner files are always opened
// (a missing file is created empty). `count` is the file's record count once
// it is open; `images` keeps the records read before any failure.
struct Records {
    std::optional<std::int32_t> count;
    QList<QByteArray> images;
};

void readRecords(const QString& path, qsizetype length, Records& out) {
    RecordFile file(path, length);
    out.count = std::int32_t(file.count());
    for (qint64 n = 1; n <= file.count(); ++n) out.images.append(file.read(n));
}

// What a click reads: the race's files as they are at the click. A file
// that cannot be read leaves its part empty (the failure is recorded).
struct ClickedRace {
    QByteArray raceId;
    QList<QByteArray> pendingIds;  // the race list file's lines
    Records raceRecords;           // read only while races are pending
    Records payoffs;               // the flash payoffs while races are pending, else the week's
    QList<QByteArray> sortValues;  // empty when the file is missing or unreadable
    Records runners;
};

ClickedRace readClick(const prediction::RunState& state, RaceViewer& viewer, int listIndex, SkipLog& log) {
    ClickedRace c;
    log.step("selected race", [&] {
        viewer.List1Text = checkedAt(state.List1, listIndex);
        c.raceId = viewer.List1Text.right(12).toLatin1();
    });
    log.step("race list", [&] {
        c.pendingIds = PendingRaceIds(RecordFile::readAll(AppFile(jv::kRaNewFile), kRaLength));
    });
    const bool pending = !c.pendingIds.isEmpty();
    if (pending) log.step("race records", [&] { readRecords(AppFile(jv::kRaNewFile), kRaLength, c.raceRecords); });
    log.step("payoff file", [&] {
        readRecords(AppFile(pending ? jv::kHrFlashFile : jv::kHrWeekFile), kHrLength, c.payoffs);
    });
    log.step("predicted ranks",
             [&] { c.sortValues = readValues(prediction::KaimeFile(c.raceId, prediction::kRankSortSuffix)); });
    log.step("runner file", [&] { readRecords(prediction::RunnerFile(c.raceId), kRunnerLength, c.runners); });
    return c;
}

// Text1: the list item, then the race's texts from its RaceTable row.
QString headerText(const prediction::RunState& state, const RaceViewer& viewer, int i) {
    const prediction::RaceRow& row = checkedAt(state.RaceTable, i);
    namespace rt = prediction::rt;
    QString header = viewer.List1Text;
    for (int c : {rt::RaceName, rt::RaceTypeName, rt::ConditionName, rt::GradeName, rt::TrackName, rt::Distance})
        header += cp932::decode(row[c]);
    return header + QStringLiteral("m SD=") + cp932::decode(row[rt::SD]) + QLatin1Char(' ') +
           cp932::decode(row[rt::WeatherGoing]);
}

QByteArray raceListBytes(const QList<QByteArray>& ids) {
    TextLines lines;
    for (const QByteArray& id : ids) lines.add({CsvValue::text(id)});
    return lines.bytes();
}

}  // namespace

void List1_Click(UiPort& ui, prediction::RunState& state, RaceViewer& viewer, int listIndex, SkipLog& log) {
    const ClickedRace c = readClick(state, viewer, listIndex, log);

    log.step("header", [&] { ui.setText(ctl::PredictionText1, headerText(state, viewer, listIndex + 1)); });
    ui.setBackColor(ctl::PredictionText1, kHeaderGreen);
    log.step("payout grid captions", [&] { PreparePayoutGrid(viewer.HAITOGrid1); });

    // The race list file, written once; race records that could not be read
    // leave it empty.
    log.step("race list", [&] { WriteWholeFile(AppFile(jv::kRaceListFile), raceListBytes(c.pendingIds)); });
    const bool pending = !c.pendingIds.isEmpty();

    auto fillBetGrids = [&] { log.step("bet grids", [&] { FillBetGrids(state, viewer, log); }); };
    if (pending) {
        if (c.raceRecords.count) state.HorseCount = *c.raceRecords.count;
        for (const QByteArray& ra : c.raceRecords.images) {
            state.CurrentRA = ra;
            if (raceIdOf(ra) != c.raceId) continue;
            viewer.GridHorseCount = runnerCount(member(ra, jv::ra::RegisteredRunners));
            fillBetGrids();
        }
    }
    if (c.payoffs.count) state.HorseCount = *c.payoffs.count;
    for (const QByteArray& hr : c.payoffs.images) {
        state.CurrentHR = hr;
        if (raceIdOf(hr) != c.raceId) continue;
        if (pending) ui.setBackColor(ctl::PredictionText1, kHeaderYellow);
        log.step("payout grid", [&] { FillPayoutGrid(viewer.HAITOGrid1, hr); });
        viewer.GridHorseCount = runnerCount(member(hr, jv::hr::RegisteredRunners));
        fillBetGrids();
    }

    // Predicted ranks; a race without its file shows no ranks.
    if (state.PredRank.size() < 19) state.PredRank.resize(19);
    for (QByteArray& rank : state.PredRank) rank.clear();
    const QList<QByteArray>& values = c.sortValues;
    for (int n = 1; n <= 18 && qsizetype(n - 1) * 15 < values.size(); ++n) {
        auto& row = viewer.SortTable[size_t(n)];
        for (int col = 0; col < 15; ++col) {
            const qsizetype at = qsizetype(n - 1) * 15 + col;
            if (at < values.size()) row[size_t(col)] = values[at];
        }
        state.PredRank[n] = row[3];
    }

    // Runners and their tables.
    state.HorseCount = c.runners.count.value_or(0);
    state.Grades = QList<std::array<QByteArray, 5>>(state.HorseCount + 1);
    log.step("runner tables", [&] { PrepareRunnerTables(state, viewer, c.raceId); });
    for (int w = 1; w <= state.HorseCount; ++w) {
        state.CurIndex = w;
        log.step("runner row", [&] {
            state.CurrentHorse = checkedAt(c.runners.images, w - 1);
            FillRunnerRow(state, viewer);
        });
    }
}

}  // namespace rw::viewer
