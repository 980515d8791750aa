// One click on the race list for an 18-runner race while races are pending:
// the race's two race records and four flash payoff records of it (among
// other races' records) each fill the bet grids (153 pairs, 816 trios, odds
// tables of 361 and 6,859 lines), the payout grid four times, the ranks and
// 18 runner records. The runner tables' own filling is not part of it.
#include "support/recording_ui.h"
#include "viewer/race_selection.h"
#include "viewer/viewer_records.h"

#include <benchmark/benchmark.h>

using namespace rw;
using namespace viewertest;

namespace {

void BM_List1Click18RunnersFourFlashPayoffs(benchmark::State& st) {
    rwtest::AppFolder app;
    const QByteArray id = "202412070511";
    QList<QByteArray> races;
    for (int r = 1; r <= 12; ++r) races.append(ra("2024120705" + two(r), '2', "18"));
    races.append(ra(id, '7', "18"));
    app.write("RATHISWEEKNNEW.dat", races.join());
    QList<QByteArray> flash;
    for (int k = 1; k <= 4; ++k) {
        QByteArray h = hr(id);
        setEntry(h, kWin, 1, two(k), 100 * k, 1);
        setEntry(h, kQuinella, 1, "0102", 500, 1);
        setEntry(h, kWide, 1, "0102", 200, 1);
        setEntry(h, kExacta, 1, "0201", 900, 2);
        setEntry(h, kTrio, 1, "010203", 1200, 3);
        setEntry(h, kTrifecta, 1, "030102", 5000, 9);
        flash.append(h);
        flash.append(hr("2024120705" + two(k)));
    }
    app.write("HRRIALTIME.dat", flash.join());
    writeRanked(app, id, 18);
    writeOdds(app, id);
    QByteArray sort;
    for (int h = 1; h <= 18; ++h) {
        sort += "\"" + id + "\",\"" + two(h) + "\",\"x\",\"" + QByteArray::number(h).rightJustified(2, ' ') + "\"";
        for (int i = 4; i < 15; ++i) sort += ",\"v\"";
        sort += "\r\n";
    }
    app.write("KAIME\\" + QString::fromLatin1(id) + "SORT.dat", sort);
    app.write("RACE\\" + QString::fromLatin1(id) + ".dat", QByteArray(18 * 24022, ' '));

    RecordingUi ui;
    prediction::RunState state;
    state.List1 = {QStringLiteral("2024年12月07日05東京05回03日11R         ") + QString::fromLatin1(id)};
    state.RaceTable.append(prediction::RaceRow{});
    viewer::RaceViewer v;
    for (auto _ : st) {
        SkipLog log("click");
        viewer::List1_Click(ui, state, v, 0, log);
        benchmark::DoNotOptimize(v.SANTANGrid4.revision());
    }
    if (v.UMARENGrid1.back(1, 1) != viewer::kGreen || v.HAITOGrid1.text(1, 1) != QStringLiteral("04"))
        st.SkipWithError("the click did not show the race");
}
BENCHMARK(BM_List1Click18RunnersFourFlashPayoffs)->Unit(benchmark::kMillisecond);

}  // namespace
