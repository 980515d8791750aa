#include "jvdata/week_download.h"

#include "common/control_names.h"
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
    // 1. Model package check; the download goes on either way.
    if (!QFile::exists(PackageSireFile())) {
        ui.messageBox(AppPath + QString::fromUtf8("に参照場所(展開フォルダ）に合わせてOKをクリックして初回予想因子パラメータをセットして下さい。"));
        ui.setText(ctl::MenuLabel1, QString::fromUtf8("まだ、予想因子ウエイトが展開されていません。タスクバーにある展開先の指定をクリックして自己解凍EXEを起動させて下さい。"));
        ShellStartMinimized(AppPath + QStringLiteral("NEWSFX.EXE"));
    }
    // 2.
    ui.setText(ctl::MenuText1, QString::fromUtf8("今週開催取得開始しました。しばらくお待ち下さい。。。。。"));
    ui.processEvents();

    // 3. From here on a failing statement is skipped.
    // 4. A file that cannot be deleted is emptied: it must not keep last
    // week's records.
    for (const WeekFile& wf : kWeekFiles)
        log.step("delete week file", [&] { RemoveOrEmpty(AppFile(wf.name)); });

    std::array<RecordFile, 5> files;
    auto openFiles = [&] {
        // 8. Opened empty: even when last week's could not be deleted, the
        // download never appends to them.
        for (size_t i = 0; i < files.size(); ++i)
            log.step("open week file", [&] {
                const QString path = AppFile(kWeekFiles[i].name);
                WriteWholeFile(path, {});
                files[i].open(path, imageLength(kWeekFiles[i].kind));
            });
    };
    auto store = [&](size_t i, const QByteArray& image) {
        log.step("store record", [&] { files[i].append(image); });
    };
    auto onRecord = [&](QByteArrayView record) {
        const auto kind = kindOf(record);
        if (!kind) return;  // other kinds are dropped
        if (*kind == Kind::UM && record.size() >= 3 && record[2] == '9') return;  // deregistered horse
        for (size_t i = 0; i < files.size(); ++i)
            if (kWeekFiles[i].kind == *kind) store(i, ToFixed(*kind, record));
    };

    // 5.-9.
    const StoredRequest request{QStringLiteral("TOKURACETCVNRCVN"), SidMenu(), ctl::MenuWindow,
                                /*reopenOn402=*/true};
    RunStoredRequest(ui, JVLink1, request, {st.DialogResult, st.DownloadCount}, log, openFiles, onRecord);
    for (auto& f : files) f.close();
    // 10.
    ui.setText(ctl::MenuText1, QString::fromUtf8("今週開催取得終了"));
}

}  // namespace rw::jv
