#include "jvdata/week_download.h"

#include "app/kestrav_path.h"
#include "app/package_check.h"
#include "app/shell.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/record_file.h"
#include "jvdata/download_progress.h"
#include "jvdata/records.h"
#include "jvdata/software_id.h"

#include <QFile>
#include <array>

namespace rw::jv {
namespace {

const QString kText1 = QStringLiteral("KESF1THISWEEKNZ.Text1");
// A damaged file may be replaced by the next one many times, but not for
// ever: past this many reopens the download ends as a read error.
constexpr int kMaxReopens = 10000;

}  // namespace

void DownloadThisWeek(UiPort& ui, JvLink& JVLink1, DownloadState& st, SkipLog& log) {
    // 1. Model package check; the download goes on either way.
    if (!QFile::exists(PackageSireFile())) {
        ui.messageBox(AppPath + QString::fromUtf8("に参照場所(展開フォルダ）に合わせてOKをクリックして初回予想因子パラメータをセットして下さい。"));
        ui.setText(kMenuLabel1, QString::fromUtf8("まだ、予想因子ウエイトが展開されていません。タスクバーにある展開先の指定をクリックして自己解凍EXEを起動させて下さい。"));
        ShellStartMinimized(AppPath + QStringLiteral("NEWSFX.EXE"));
    }
    // 2.
    ui.setText(kText1, QString::fromUtf8("今週開催取得開始しました。しばらくお待ち下さい。。。。。"));
    ui.processEvents();

    // 3. From here on a failing statement is skipped.
    for (const WeekFile& wf : kWeekFiles)
        // A file that cannot be deleted is emptied: it must not keep last
        // week's records.
        log.step("delete week file", [&] { RemoveOrEmpty(AppFile(wf.name)); });

    const QString dataSpec = QStringLiteral("TOKURACETCVNRCVN");
    const QString fromTime = QStringLiteral("00000000000000");
    const std::int32_t option = 2;
    std::int32_t readCount = 0;
    QString lastFileTimestamp;

    auto finish = [&] {
        log.step("JVClose", [&] { JVLink1.JVClose(); });
        ui.setText(kText1, QString::fromUtf8("今週開催取得終了"));
    };

    // 5.
    log.step("JVInit", [&] {
        const std::int32_t rc = JVLink1.JVInit(SidMenu());
        if (rc != 0) ui.messageBox(QString::fromUtf8("JVInitエラー。RC=") + QString::number(rc));
    });

    // 6.
    std::int32_t rc = 0;
    bool opened = log.step("JVOpen", [&] {
        rc = JVLink1.JVOpen(dataSpec, fromTime, option, readCount, st.DownloadCount, lastFileTimestamp);
    });
    if (opened && rc < 0) {
        ui.messageBox(QString::fromUtf8("JVOpenエラー。RC=") + QString::number(rc));
        return finish();
    }
    if (opened && readCount == 0) {
        ui.messageBox(QString::fromUtf8("該当するデータがありません。"));
        return finish();
    }
    if (opened && st.DownloadCount != 0) {
        st.DialogResult = 0;
        DownloadProgress dialog(ui, JVLink1, st.DownloadCount, st.DialogResult);
        ui.runModal(dialog, QStringLiteral("KESF1THISWEEKNZ"));
        if (st.DialogResult == -1) return finish();
    }

    // 7.
    QByteArray buffer(kReadBufferSize, '\0');
    std::int32_t size = kReadBufferSize;
    QString fileName;

    // 8. The files are opened empty: even when last week's could not be
    // deleted, the download never appends to them.
    std::array<RecordFile, 5> files;
    for (size_t i = 0; i < files.size(); ++i)
        log.step("open week file", [&] {
            const QString path = AppFile(kWeekFiles[i].name);
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) fail("cannot empty " + path.toStdString());
            f.close();
            files[i].open(path, imageLength(kWeekFiles[i].kind));
        });
    auto closeAll = [&] {
        for (auto& f : files) f.close();
    };
    auto store = [&](size_t i, const QByteArray& image) {
        log.step("store record", [&] { files[i].append(image); });
    };

    // 9.
    if (readCount <= 0) {
        closeAll();
        return finish();
    }
    QString lastDamaged;
    int reopens = 0;
    for (;;) {
        std::int32_t r = 0;
        if (!log.step("JVRead", [&] { r = JVLink1.JVRead(buffer, size, fileName); })) break;
        if (r > 0) {
            const auto kind = kindOf(buffer);
            if (!kind) continue;
            switch (*kind) {
            case Kind::RA: { ParsedRA p; ParseRA(buffer, p); store(0, ToFixedRA(p)); break; }
            case Kind::SE: { ParsedSE p; ParseSE(buffer, p); store(1, ToFixedSE(p)); break; }
            case Kind::UM: {
                ParsedUM p;
                ParseUM(buffer, p);
                if (buffer.size() >= 3 && buffer[2] == '9') break;  // deregistered horse
                store(2, ToFixedUM(p));
                break;
            }
            case Kind::KS: { ParsedKS p; ParseKS(buffer, p); store(3, ToFixedKS(p)); break; }
            case Kind::HR: { ParsedHR p; ParseHR(buffer, p); store(4, ToFixedHR(p)); break; }
            default: break;  // other kinds are dropped
            }
        } else if (r == kReadNextFile) {
            continue;
        } else if (r == kReadEnd) {
            break;
        } else if ((r == kReadDamaged402 || r == kReadDamaged403) && fileName != lastDamaged &&
                   reopens < kMaxReopens) {
            // Delete the damaged file and open again; the reading resumes after
            // the records already stored. The same file damaged again ends
            // the download below, as a read error.
            lastDamaged = fileName;
            ++reopens;
            log.step("JVFiledelete", [&] { JVLink1.JVFiledelete(fileName); });
            log.step("JVClose", [&] { JVLink1.JVClose(); });
            log.step("JVOpen", [&] {
                JVLink1.JVOpen(dataSpec, fromTime, option, readCount, st.DownloadCount, lastFileTimestamp);
            });
        } else {
            ui.messageBox(QString::fromUtf8("JVReadエラー。 RC=") + QString::number(r));
            break;
        }
    }
    closeAll();
    finish();
}

}  // namespace rw::jv
