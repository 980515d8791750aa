#include "jvdata/stored_request.h"

#include "jvdata/download_progress.h"

#include <optional>

namespace rw::jv {
namespace {
// A damaged file may be followed by other damaged files, but not for ever:
// past this many reopens the request ends as a read error.
constexpr int kMaxReopens = 10000;
}  // namespace

void CallJvInit(UiPort& ui, JvLink& JVLink1, const QString& softwareId) {
    const std::int32_t rc = JVLink1.JVInit(softwareId);
    if (rc != 0) ui.messageBox(QString::fromUtf8("JVInitエラー。RC=") + QString::number(rc));
}

void InitJvLink(UiPort& ui, JvLink& JVLink1, const QString& softwareId, SkipLog& log) {
    log.step("JVInit", [&] { CallJvInit(ui, JVLink1, softwareId); });
}

void RunStoredRequest(UiPort& ui, JvLink& JVLink1, const StoredRequest& rq, DialogState dialog, SkipLog& log,
                      const std::function<void()>& beforeReading,
                      const std::function<void(QByteArrayView record)>& onRecord) {
    const QString fromTime = QStringLiteral("00000000000000");
    const std::int32_t option = 2;
    std::int32_t readCount = 0;
    QString lastFileTimestamp;
    auto close = [&] { log.step("JVClose", [&] { JVLink1.JVClose(); }); };

    InitJvLink(ui, JVLink1, rq.softwareId, log);

    // A JVOpen that fails as a statement leaves its result and read count at
    // 0: the checks below then report no data.
    std::int32_t rc = 0;
    log.step("JVOpen", [&] {
        rc = JVLink1.JVOpen(rq.dataSpec, fromTime, option, readCount, dialog.downloadCount, lastFileTimestamp);
    });
    if (rc < 0) {
        ui.messageBox(QString::fromUtf8("JVOpenエラー。RC=") + QString::number(rc));
        return close();
    }
    if (readCount == 0) {
        ui.messageBox(QString::fromUtf8("該当するデータがありません。"));
        return close();
    }
    if (dialog.downloadCount != 0) {
        dialog.dialogResult = 0;
        DownloadProgress progress(ui, JVLink1, dialog.downloadCount, dialog.dialogResult);
        ui.runModal(progress, rq.ownerWindow);
        if (dialog.dialogResult == -1) return close();
    }

    QByteArray buffer(kReadBufferSize, '\0');
    std::int32_t size = kReadBufferSize;
    QString fileName;
    if (beforeReading) beforeReading();
    if (readCount <= 0) return close();

    std::optional<QString> lastDamaged;
    int reopens = 0;
    for (;;) {
        std::int32_t r = 0;
        // A read that fails as a statement would leave nothing to go on
        // with: the reading ends there (the log reports it).
        if (!log.step("JVRead", [&] { r = JVLink1.JVRead(buffer, size, fileName); })) break;
        if (r > 0) {
            // The read's result is the record's length; a component that
            // leaves its buffer longer must not add the rest.
            onRecord(QByteArrayView(buffer).first(std::min<qsizetype>(r, buffer.size())));
        } else if (r == kReadNextFile) {
            continue;
        } else if (r == kReadEnd) {
            break;
        } else if ((r == kReadDamaged403 || (rq.reopenOn402 && r == kReadDamaged402)) &&
                   lastDamaged != fileName && reopens < kMaxReopens) {
            // Delete the damaged file and open again; the reading resumes
            // after what was already received. The same file damaged again
            // ends the request below, as a read error.
            lastDamaged = fileName;
            ++reopens;
            log.step("JVFiledelete", [&] { JVLink1.JVFiledelete(fileName); });
            log.step("JVClose", [&] { JVLink1.JVClose(); });
            log.step("JVOpen", [&] {
                JVLink1.JVOpen(rq.dataSpec, fromTime, option, readCount, dialog.downloadCount, lastFileTimestamp);
            });
        } else {
            ui.messageBox(QString::fromUtf8("JVReadエラー。 RC=") + QString::number(r));
            break;
        }
    }
    close();
}

}  // namespace rw::jv
