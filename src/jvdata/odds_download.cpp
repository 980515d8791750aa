#include "jvdata/odds_download.h"

#include "app/kestrav_path.h"
#include "common/errors.h"
#include "common/text_file.h"
#include "jvdata/download_progress.h"
#include "jvdata/software_id.h"

#include <QFile>
#include <initializer_list>

namespace rw::jv {
namespace {

const QString kWindow = QStringLiteral("KESFOTHISWEEKNZ");
const QString kText1 = QStringLiteral("KESFOTHISWEEKNZ.Text1");
// A damaged file may be followed by other damaged files, but not for ever:
// past this many reopens the download ends as a read error.
constexpr int kMaxReopens = 10000;

// Where a record kind goes: its first two bytes and its file.
struct Target {
    const char* kind;
    const char16_t* file;
};

// The same download for both buttons; they differ in the files they fill,
// the identifier they give JVInit and their end text.
void downloadOdds(UiPort& ui, JvLink& JVLink1, OddsDownloadState& st, SkipLog& log,
                  std::initializer_list<Target> targets, const QString& softwareId, const QString& endText) {
    // 1.
    OddsSourceFlag = 0;
    // 2. From here on a failing statement is skipped.
    // 3.
    for (const Target& t : targets) log.step("empty odds file", [&] { emptyTextFile(AppFile(t.file)); });

    const QString dataSpec = QStringLiteral("TOKURACETCOVRCOV");
    const QString fromTime = QStringLiteral("00000000000000");
    const std::int32_t option = 2;
    std::int32_t readCount = 0;
    QString lastFileTimestamp;

    auto finish = [&] {
        log.step("JVClose", [&] { JVLink1.JVClose(); });
        ui.setText(kText1, endText);
    };

    // 4.
    log.step("JVInit", [&] {
        const std::int32_t rc = JVLink1.JVInit(softwareId);
        if (rc != 0) ui.messageBox(QString::fromUtf8("JVInitエラー。RC=") + QString::number(rc));
    });

    // 5.
    std::int32_t rc = 0;
    const bool opened = log.step("JVOpen", [&] {
        rc = JVLink1.JVOpen(dataSpec, fromTime, option, readCount, st.OddsDownloadCount, lastFileTimestamp);
    });
    if (opened && rc < 0) {
        ui.messageBox(QString::fromUtf8("JVOpenエラー。RC=") + QString::number(rc));
        return finish();
    }
    if (opened && readCount == 0) {
        ui.messageBox(QString::fromUtf8("該当するデータがありません。"));
        return finish();
    }
    if (opened && st.OddsDownloadCount != 0) {
        st.OddsDialogResult = 0;
        DownloadProgress dialog(ui, JVLink1, st.OddsDownloadCount, st.OddsDialogResult);
        ui.runModal(dialog, kWindow);
        if (st.OddsDialogResult == -1) return finish();
    }

    // 6.
    QByteArray buffer(kReadBufferSize, '\0');
    std::int32_t size = kReadBufferSize;
    QString fileName;

    // 7.
    if (readCount < 1) return finish();
    QString lastDamaged;
    int reopens = 0;
    for (;;) {
        std::int32_t r = 0;
        if (!log.step("JVRead", [&] { r = JVLink1.JVRead(buffer, size, fileName); })) break;
        if (r > 0) {
            // The read's result is the record's length; a component that
            // leaves its buffer longer must not add the rest to the line.
            const QByteArrayView record = QByteArrayView(buffer).first(std::min<qsizetype>(r, buffer.size()));
            for (const Target& t : targets)
                if (record.startsWith(t.kind)) {
                    log.step("append odds line", [&] { AppendJvRecordLine(AppFile(t.file), record); });
                    break;
                }
            // Any other kind is dropped.
        } else if (r == kReadNextFile) {
            continue;
        } else if (r == kReadEnd) {
            break;
        } else if (r == kReadDamaged403 && fileName != lastDamaged && reopens < kMaxReopens) {
            // Delete the damaged file and open again; the reading goes on
            // behind the lines already written. The same file damaged again
            // ends the download below, as a read error.
            lastDamaged = fileName;
            ++reopens;
            log.step("JVFiledelete", [&] { JVLink1.JVFiledelete(fileName); });
            log.step("JVClose", [&] { JVLink1.JVClose(); });
            log.step("JVOpen", [&] {
                JVLink1.JVOpen(dataSpec, fromTime, option, readCount, st.OddsDownloadCount, lastFileTimestamp);
            });
        } else {
            // -402 included: the odds downloads do not reopen on it.
            ui.messageBox(QString::fromUtf8("JVReadエラー。 RC=") + QString::number(r));
            break;
        }
    }
    // 8.
    finish();
}

}  // namespace

void AppendJvRecordLine(const QString& path, QByteArrayView record) {
    TextOut out(path, TextOut::Mode::Append);
    out.writeRaw(record);
}

void DownloadWeekOdds(UiPort& ui, JvLink& JVLink1, OddsDownloadState& state, SkipLog& log) {
    downloadOdds(ui, JVLink1, state, log, {{"O2", kO2WeekFile}, {"O4", kO4WeekFile}, {"O5", kO5WeekFile}},
                 SidThisWeek(), QString::fromUtf8("オッズ取得完了"));
}

void DownloadWeekTrifectaOdds(UiPort& ui, JvLink& JVLink1, OddsDownloadState& state, SkipLog& log) {
    downloadOdds(ui, JVLink1, state, log, {{"O6", kO6WeekFile}}, SidUnknown(),
                 QString::fromUtf8("3連単オッズ取得完了"));
}

QString OddsWindowCaption() { return QString::fromUtf8("今週のオッズ Ver.2024.6.29Z"); }

}  // namespace rw::jv
