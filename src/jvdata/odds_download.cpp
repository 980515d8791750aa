#include "jvdata/odds_download.h"

#include "common/control_names.h"
#include "common/errors.h"
#include "common/kestrav_path.h"
#include "common/text_file.h"
#include "jvdata/software_id.h"
#include "jvdata/stored_request.h"

#include <QFile>
#include <initializer_list>

namespace rw::jv {
namespace {

// Where a record kind goes: its first two bytes and its file.
struct Target {
    const char* kind;
    const char16_t* file;
};

// The same download for both buttons; they differ in the files they fill,
// the identifier they give JVInit and their end text.
void downloadOdds(UiPort& ui, JvLink& JVLink1, OddsDownloadState& st, SkipLog& log,
                  std::initializer_list<Target> targets, const QString& softwareId, const QString& endText) {
    // The odds tables are built from this week's files from now on.
    OddsSourceFlag = 0;
    // From here on a failing statement is skipped.
    for (const Target& t : targets) log.step("empty odds file", [&] { emptyTextFile(AppFile(t.file)); });

    auto onRecord = [&](QByteArrayView record) {
        for (const Target& t : targets)
            if (record.startsWith(t.kind)) {
                log.step("append odds line", [&] { AppendJvRecordLine(AppFile(t.file), record); });
                return;
            }
        // Any other kind is dropped.
    };
    // The odds downloads reopen on -403 only; -402 ends them.
    const StoredRequest request{QStringLiteral("TOKURACETCOVRCOV"), softwareId, ctl::OddsWindow, /*reopenOn402=*/false};
    RunStoredRequest(ui, JVLink1, request, {st.OddsDialogResult, st.OddsDownloadCount}, log, nullptr, onRecord);
    ui.setText(ctl::OddsText1, endText);
}

}  // namespace

void AppendJvRecordLine(const QString& path, QByteArrayView record) { appendBytes(path, record); }

void DownloadWeekOdds(UiPort& ui, JvLink& JVLink1, OddsDownloadState& state, SkipLog& log) {
    downloadOdds(ui, JVLink1, state, log, {{"O2", kO2WeekFile}, {"O4", kO4WeekFile}, {"O5", kO5WeekFile}},
                 SidThisWeek(), QString::fromUtf8("オッズ取得完了"));
}

void DownloadWeekTrifectaOdds(UiPort& ui, JvLink& JVLink1, OddsDownloadState& state, SkipLog& log) {
    downloadOdds(ui, JVLink1, state, log, {{"O6", kO6WeekFile}}, SidUnknown(),
                 QString::fromUtf8("3連単オッズ取得完了"));
}

}  // namespace rw::jv
