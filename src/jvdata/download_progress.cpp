#include "jvdata/download_progress.h"

#include "app/kestrav_path.h"

namespace rw::jv {

void DownloadProgress::load() {
    AppPath = GetAppPath();
    ui_.setProgress(QStringLiteral("KESF2THISWEEKNZ.ProgressBar1"), 0, count_);
}

void DownloadProgress::tick() {
    if (closed_) return;
    const auto n = static_cast<std::int16_t>(jv_.JVStatus());
    if (n < 0) {
        closed_ = true;  // the owner's result keeps its 0: it goes on to read
        ui_.messageBox(QString::fromUtf8("ダウンロード失敗。RC=") + QString::number(n));
        return;
    }
    ui_.setProgress(QStringLiteral("KESF2THISWEEKNZ.ProgressBar1"), n, count_);
    ui_.setText(QStringLiteral("KESF2THISWEEKNZ.Label1"),
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
