#include "jvdata/download_progress.h"

#include "common/control_names.h"
#include "common/kestrav_path.h"

namespace rw::jv {

void DownloadProgress::load() {
    AppPath = GetAppPath();
    ui_.setProgress(ctl::ProgressBar1, 0, count_);
}

void DownloadProgress::tick() {
    if (closed_) return;
    // Held whole: a count beyond 16 bits must not wrap into a "failure".
    const std::int32_t n = jv_.JVStatus();
    if (n < 0) {
        closed_ = true;  // the owner's result keeps its 0: it goes on to read
        ui_.messageBox(QString::fromUtf8("ダウンロード失敗。RC=") + QString::number(n));
        return;
    }
    ui_.setProgress(ctl::ProgressBar1, n, count_);
    ui_.setText(ctl::ProgressLabel1,
                QString::number(n) + QStringLiteral(" / ") + QString::number(count_));
    if (n == count_) {
        result_ = 0;
        closed_ = true;
    }
}

void DownloadProgress::cancel() {
    if (closed_) return;
    jv_.JVCancel();
    result_ = -1;
    closed_ = true;
}

}  // namespace rw::jv
