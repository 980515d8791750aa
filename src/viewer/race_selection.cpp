#include "viewer/race_selection.h"

#include "common/control_names.h"
#include "common/cp932.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/store_files.h"
#include "viewer/bet_grids.h"
#include "viewer/payout_grid.h"
#include "viewer/runner_rows.h"

#include <QSet>
#include <optional>

namespace rw::viewer {

namespace {
constexpr qsizetype kRaLength = 1272;
constexpr qsizetype kHrLength = 719;
constexpr qsizetype kRunnerLength = 24022;

QByteArray raceIdOf(const QByteArray& record) { return record.mid(11, 8) + record.mid(19, 2) + record.mid(25, 2); }

std::int32_t runnerCount(const QByteArray& field) {
    const double v = valLenient(field);
    return v > -1.0e9 && v < 1.0e9 ? std::int32_t(v) : 0;
}
}  // namespace

QList<QByteArray> PendingRaceIds(const QList<QByteArray>& raceRecords) {
    QSet<QByteArray> official;
    for (const QByteArray& ra : raceRecords)
        if (ra.mid(2, 1) == "7") official.insert(raceIdOf(ra));
    QList<QByteArray> pending;
    for (const QByteArray& ra : raceRecords)
        if (ra.mid(2, 1) == "2" && !official.contains(raceIdOf(ra))) pending.append(raceIdOf(ra));
    return pending;
}

namespace {

// Every record of a file, opened as the system opens it (a missing file is
// created empty).
QList<QByteArray> readRecords(const QString& path, qsizetype length) {
    RecordFile file(path, length);
    QList<QByteArray> out;
    for (qint64 n = 1; n <= file.count(); ++n) out.append(file.read(n));
    return out;
}

// What a click reads, the files as they are at the click. A file that
// cannot be read leaves its member empty (the failure is recorded).
struct ClickedRace {
    QByteArray raceId;
    QList<QByteArray> pendingIds;   // the race list file's lines
    QList<QByteArray> raceRecords;  // "RATHISWEEKNNEW.dat", read while races are pending
    bool flash = false;             // payoffs from "HRRIALTIME.dat", else "HRTHISWEEKN.dat"
    QList<QByteArray> payoffs;
    std::optional<QList<QByteArray>> sortValues;  // "SORT.dat", when it could be read
    QList<QByteArray> runners;
};

ClickedRace readClick(const prediction::RunState& state, RaceViewer& viewer, int listIndex, SkipLog& log) {
    ClickedRace c;
    log.step("selected race", [&] {
        viewer.List1Text = prediction::checkedAt(state.List1, listIndex);
        c.raceId = viewer.List1Text.right(12).toLatin1();
    });
    log.step("race list", [&] {
        c.pendingIds = PendingRaceIds(RecordFile::readAll(AppFile(jv::kRaNewFile), kRaLength));
    });
    c.flash = !c.pendingIds.isEmpty();
    if (c.flash)
        log.step("race records", [&] { c.raceRecords = readRecords(AppFile(jv::kRaNewFile), kRaLength); });
    log.step("payoff file",
             [&] { c.payoffs = readRecords(AppFile(c.flash ? jv::kHrFlashFile : jv::kHrWeekFile), kHrLength); });
    log.step("predicted ranks", [&] {
        c.sortValues = readValues(AppFile(QStringLiteral("KAIME\\") + checkedRaceId(c.raceId) + QStringLiteral("SORT.dat")));
    });
    log.step("runner file", [&] {
        c.runners = readRecords(AppFile(QStringLiteral("RACE\\") + checkedRaceId(c.raceId) + QStringLiteral(".dat")),
                                kRunnerLength);
    });
    return c;
}

// Text1: the list item, then the race's texts from its RaceTable row.
QString headerText(const prediction::RunState& state, const RaceViewer& viewer, int i) {
    const prediction::RaceRow& row = prediction::checkedAt(state.RaceTable, i);
    namespace rt = prediction::rt;
    QString header = viewer.List1Text;
    for (int c : {rt::RaceName, rt::RaceTypeName, rt::ConditionName, rt::GradeName, rt::TrackName, rt::Distance})
        header += cp932::decode(row[c]);
    return header + QStringLiteral("m SD=") + cp932::decode(row[rt::SD]) + QLatin1Char(' ') +
           cp932::decode(row[rt::WeatherGoing]);
}

QByteArray raceListBytes(const QList<QByteArray>& ids) {
    QByteArray out;
    for (const QByteArray& id : ids) out += csvLine({CsvValue::text(id)}) + "\r\n";
    return out;
}

}  // namespace

void List1_Click(UiPort& ui, prediction::RunState& state, RaceViewer& viewer, int listIndex, SkipLog& log) {
    // Read.
    const ClickedRace c = readClick(state, viewer, listIndex, log);

    // Build and show: the header, the race list file, the payoffs, the
    // ranks and the runners.
    log.step("header", [&] { ui.setText(ctl::PredictionText1, headerText(state, viewer, listIndex + 1)); });
    ui.setBackColor(ctl::PredictionText1, kHeaderGreen);
    log.step("payout grid captions", [&] { PreparePayoutGrid(viewer.HAITOGrid1); });
    log.step("race list", [&] { WriteWholeFile(AppFile(jv::kRaceListFile), raceListBytes(c.pendingIds)); });

    auto fillBetGrids = [&] { log.step("bet grids", [&] { FillBetGrids(state, viewer, log); }); };
    if (c.flash) {
        state.HorseCount = std::int32_t(c.raceRecords.size());
        for (const QByteArray& ra : c.raceRecords) {
            state.CurrentRA = ra;
            if (raceIdOf(ra) != c.raceId) continue;
            viewer.GridHorseCount = runnerCount(ra.mid(881, 2));
            fillBetGrids();
        }
    }
    state.HorseCount = std::int32_t(c.payoffs.size());
    for (const QByteArray& hr : c.payoffs) {
        state.CurrentHR = hr;
        if (raceIdOf(hr) != c.raceId) continue;
        if (c.flash) ui.setBackColor(ctl::PredictionText1, kHeaderYellow);
        log.step("payout grid", [&] { FillPayoutGrid(viewer.HAITOGrid1, hr); });
        viewer.GridHorseCount = runnerCount(hr.mid(27, 2));
        fillBetGrids();
    }

    // Predicted ranks; a race without its file shows no ranks.
    if (state.PredRank.size() < 19) state.PredRank.resize(19);
    for (QByteArray& rank : state.PredRank) rank.clear();
    if (c.sortValues) {
        const QList<QByteArray>& values = *c.sortValues;
        for (int n = 1; n <= 18 && qsizetype(n - 1) * 15 < values.size(); ++n) {
            auto& row = viewer.SortTable[size_t(n)];
            for (int col = 0; col < 15; ++col) {
                const qsizetype at = qsizetype(n - 1) * 15 + col;
                if (at < values.size()) row[size_t(col)] = values[at];
            }
            state.PredRank[n] = row[3];
        }
    }

    // Runners and their tables.
    state.HorseCount = std::int32_t(c.runners.size());
    state.Grades = QList<std::array<QByteArray, 5>>(state.HorseCount + 1);
    log.step("runner tables", [&] { PrepareRunnerTables(state, viewer, c.raceId); });
    for (int w = 1; w <= state.HorseCount; ++w) {
        state.CurIndex = w;
        log.step("runner row", [&] {
            state.CurrentHorse = c.runners[w - 1];
            FillRunnerRow(state, viewer);
        });
    }
}

}  // namespace rw::viewer
