#include "publish/win_import.h"

#include "common/numbers.h"
#include "prediction/code_table.h"
#include "prediction/race_loop.h"
#include "prediction/run_files.h"
#include "publish/export_text.h"
#include "publish/publish_files.h"

namespace rw::publish {
namespace {

void writeImport(prediction::RunState& s, const char16_t* folder, const char* ticket, QString& lastKey) {
    const QByteArray id = RaceKeyOf(s).raceId();
    if (keyText(id) == lastKey) return;
    lastKey = keyText(id);
    const QByteArray course = prediction::CodeName(s.CodeTable, "2001", id.mid(8, 2), 4);
    WriteWholeBuilt(prediction::BetImportFile(folder, id, course), [&](QByteArray& out) {
        for (const int rank : {1, 2}) {
            for (s.CurIndex = 1; s.CurIndex <= s.HorseCount; ++s.CurIndex) {
                if (Int16Number(checkedAt(s.PredRank, s.CurIndex), "predicted rank") != rank) continue;
                out += prediction::BetImportLine(id, ticket, twoDigitText(s.CurIndex));
                out += "\r\n";
            }
        }
    });
}

}  // namespace

void WriteTanshoCsv(prediction::RunState& s) { writeImport(s, prediction::kTanshoFolder, "01", s.LastRaceKeyTansho); }
void WriteFukushoCsv(prediction::RunState& s) { writeImport(s, kFukushoFolder, "02", s.LastRaceKeyFukusho); }

}  // namespace rw::publish
