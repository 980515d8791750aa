#pragma once
// The odds window's two downloads: the week's quinella, exacta and trio odds
// (O2, O4, O5; its Command2) and the week's trifecta odds (O6; its Command3),
// kept as files of odds lines (JvRecordLine): one JV-Data odds record per
// line, exactly as JVRead delivered it (its own CR LF ends the line).
#include "common/skip.h"
#include "common/ui_port.h"
#include "jvdata/jvlink.h"
#include "jvdata/store_files.h"

#include <QByteArrayView>
#include <QString>
#include <cstdint>

namespace rw::jv {

// The odds window's public members the progress dialog works on.
struct OddsDownloadState {
    std::int16_t OddsDialogResult = 0;
    std::int32_t OddsDownloadCount = 0;
};

// Appends one record as one odds line: open for appending, write, close.
// Throws StepFailure when the file cannot be written.
void AppendJvRecordLine(const QString& path, QByteArrayView record);

// Command2 "今週のオッズ": sets OddsSourceFlag to 0, empties the O2, O4 and O5
// files and fills them from "TOKURACETCOVRCOV"; ends with "オッズ取得完了" in
// the odds window's Text1. Skipped statements are recorded in `log`.
void DownloadWeekOdds(UiPort& ui, JvLink& JVLink1, OddsDownloadState& state, SkipLog& log);
// Command3 "今週の3連単": the same for the O6 file alone, with "UNKNOWN" as the
// software identifier; ends with "3連単オッズ取得完了".
void DownloadWeekTrifectaOdds(UiPort& ui, JvLink& JVLink1, OddsDownloadState& state, SkipLog& log);

}  // namespace rw::jv
