#include "publish/speed_index.h"

#include "common/file_ops.h"
#include "common/numbers.h"
#include "publish/export_text.h"
#include "publish/publish_files.h"

#include <cmath>

namespace rw::publish {
namespace {

QList<SpeedIndexEntry> runnersOf(prediction::RunState& s) {
    QList<SpeedIndexEntry> runners;
    for (s.CurIndex = 1; s.CurIndex <= s.HorseCount; ++s.CurIndex)
        runners.append({checkedAt(s.CompositeSpeed, s.CurIndex), Int16Number(checkedAt(s.PredRank, s.CurIndex), "predicted rank")});
    return runners;
}

}  // namespace

QByteArray SpeedIndexLine(QByteArrayView raceKey16, const QList<SpeedIndexEntry>& runners, int scale) {
    if (runners.isEmpty()) return {};
    QByteArray line = raceKey16.toByteArray();
    line += ',';
    for (qsizetype i = 0; i < runners.size(); ++i) {
        if (i) line += ',';
        const float scaled = runners[i].compositeSpeed * float(scale);  // the product in single precision
        line += numberText(std::int64_t(std::floor(double(scaled))));
        line += ',';
        line += twoDigitText(runners[i].rank);
    }
    line += "\r\n";
    return line;
}

void WriteSokudoDayCsv(prediction::RunState& s) {
    const RaceKey k = RaceKeyOf(s);
    const QString path = SpeedIndexDayFile(k.date());
    WriteKeyedBuilt(s.LastDateKeySokudo, keyText(k.date()), path,
                    [&](QByteArray& out, bool) { out += SpeedIndexLine(k.raceKey16(), runnersOf(s)); });
}

void WriteSokudoRaceCsv(prediction::RunState& s) {
    const QByteArray key = RaceKeyOf(s).raceKey16();
    if (keyText(key) == s.LastRaceKeySokudo) return;
    s.LastRaceKeySokudo = keyText(key);
    const QString path = SpeedIndexRaceFile(key);
    ReplaceFile(path, SpeedIndexLine(key, runnersOf(s), 100));
}

}  // namespace rw::publish
