#include "jvdata/week_download.h"

#include "common/control_names.h"
#include "common/fixed_text.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/kestrav_path.h"
#include "common/record_file.h"
#include "common/shell.h"
#include "jvdata/package_check.h"
#include "jvdata/records.h"
#include "jvdata/software_id.h"
#include "jvdata/stored_request.h"

#include <QFile>
#include <array>

namespace rw::jv {

void DownloadThisWeek(UiPort& ui, JvLink& JVLink1, DownloadState& st, SkipLog& log) {
    // Without the model package the user is told how to unpack it; the
    // download goes on either way.
    if (!QFile::exists(PackageSireFile())) {
        ui.messageBox(AppPath + QString::fromUtf8("に参照場所(展開フォルダ）に合わせてOKをクリックして初回予想因子パラメータをセットして下さい。"));
        ui.setText(ctl::MenuLabel1, QString::fromUtf8("まだ、予想因子ウエイトが展開されていません。タスクバーにある展開先の指定をクリックして自己解凍EXEを起動させて下さい。"));
        ShellStartMinimized(AppPath + QStringLiteral("NEWSFX.EXE"));
    }
    ui.setText(ctl::MenuText1, QString::fromUtf8("今週開催取得開始しました。しばらくお待ち下さい。。。。。"));
    ui.processEvents();

    // From here on a failing statement is skipped. A week file that cannot
    // be deleted is emptied: it must not keep last week's records.
    for (const WeekFile& wf : kWeekFiles)
        log.step("delete week file", [&] { RemoveOrEmpty(AppFile(wf.name)); });

    std::array<RecordFile, 5> files;
    // Records of an open file wait here and go out many at a time: one write
    // per record costs more than the download itself on a large week.
    // The buffers are kept small and reused, so that they stay in the cache.
    std::array<QByteArray, 5> pending;
    constexpr qsizetype kPendingLimit = 128 * 1024;
    auto flush = [&](size_t i) {
        if (pending[i].isEmpty()) return;
        log.step("store record", [&] { files[i].writeRecords(files[i].count() + 1, pending[i]); });
        pending[i].resize(0);  // keeps its capacity
    };
    auto flushAll = [&] {
        for (size_t i = 0; i < files.size(); ++i) flush(i);
    };
    auto openFiles = [&] {
        // Opened empty: even when last week's could not be deleted, the
        // download never appends to them.
        for (size_t i = 0; i < files.size(); ++i)
            log.step("open week file", [&] {
                flush(i);
                const QString path = AppFile(kWeekFiles[i].name);
                WriteWholeFile(path, {});
                files[i].open(path, imageLength(kWeekFiles[i].kind));
            });
    };
    auto store = [&](size_t i, const QByteArray& image) {
        if (!files[i].isOpen()) {
            log.step("store record", [&] { files[i].append(image); });
            return;
        }
        const qsizetype length = files[i].recordLength();
        if (pending[i].capacity() < kPendingLimit + length) pending[i].reserve(kPendingLimit + length);
        pending[i] += image.size() == length ? image : fixedBytes(image, length);
        if (pending[i].size() >= kPendingLimit) flush(i);
    };
    auto onRecord = [&](QByteArrayView record) {
        const auto kind = kindOf(record);
        if (!kind) return;  // other kinds are dropped
        if (*kind == Kind::UM && record.size() >= 3 && record[2] == '9') return;  // deregistered horse
        for (size_t i = 0; i < files.size(); ++i)
            if (kWeekFiles[i].kind == *kind) store(i, ToFixed(*kind, record));
    };

    // The request for the week's records, read to its end.
    const StoredRequest request{QStringLiteral("TOKURACETCVNRCVN"), SidMenu(), ctl::MenuWindow,
                                /*reopenOn402=*/true};
    // What was received stays stored, also when the request fails.
    BuildThenWrite(
        [&] { RunStoredRequest(ui, JVLink1, request, {st.DialogResult, st.DownloadCount}, log, openFiles, onRecord); },
        flushAll);
    for (auto& f : files) f.close();
    ui.setText(ctl::MenuText1, QString::fromUtf8("今週開催取得終了"));
}

}  // namespace rw::jv
