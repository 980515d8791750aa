#pragma once
// One request for stored data, as the week's download and the two odds
// downloads make it: JVInit, JVOpen with its error and no-data messages, the
// progress dialog, then the read loop, which hands every record to the
// caller, deletes and reopens damaged files, and ends on 0 or an error.
#include "common/skip.h"
#include "common/ui_port.h"
#include "jvdata/jvlink.h"

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <functional>

namespace rw::jv {

// JVInit as every request starts: a non-zero result is shown, and the
// request is made all the same.
void CallJvInit(UiPort& ui, JvLink& JVLink1, const QString& softwareId);
// The same as a statement of a task that skips failures.
void InitJvLink(UiPort& ui, JvLink& JVLink1, const QString& softwareId, SkipLog& log);

struct StoredRequest {
    QString dataSpec;     // "TOKURACETCVNRCVN"
    QString softwareId;   // for JVInit
    QString ownerWindow;  // the progress dialog is modal over it
    bool reopenOn402 = false;  // the week's download treats -402 like -403
};

// The owner's public variables the dialog reports in.
struct DialogState {
    std::int16_t& dialogResult;
    std::int32_t& downloadCount;
};

// Runs the request up to and including JVClose. `beforeReading` runs once the
// request is open and not cancelled, before the first read (the week's
// download opens its files there); `onRecord` gets every record delivered.
// Failing statements are recorded in `log` and skipped.
void RunStoredRequest(UiPort& ui, JvLink& JVLink1, const StoredRequest& request, DialogState dialog,
                      SkipLog& log, const std::function<void()>& beforeReading,
                      const std::function<void(QByteArrayView record)>& onRecord);

}  // namespace rw::jv
