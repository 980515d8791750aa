#include "model/compute_button.h"

#include "common/control_names.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/kestrav_path.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/store_files.h"
#include "jvdata/structure.h"
#include "model/compute_pass.h"
#include "model/expanded_build.h"
#include "model/package_files.h"
#include "model/stats_files.h"

#include <QFile>
#include <cstdio>

namespace rw::model {

namespace {

constexpr int kListScale = 2000;  // the list bar reaches 100 at 2000 values

// The dam list or the horse list into WeekList, entries beyond the new count kept.
void readWeekList(UiPort& ui, ExpandedState& s, SkipLog& log, const char16_t* listFile, bool emptyHorseFiles) {
    s.WeekListCount = 0;
    const QString path = AppFile(listFile);
    if (!QFile::exists(path)) {
        log.record("reading " + QString::fromUtf16(listFile).toStdString(), "the file does not exist; the list is empty");
        return;
    }
    QList<QByteArray> values;
    log.step("reading " + QString::fromUtf16(listFile).toStdString(), [&] { values = readValues(path); });
    for (const QByteArray& v : std::as_const(values)) {
        ++s.WeekListCount;
        if (s.WeekListCount <= s.WeekList.size())
            s.WeekList[s.WeekListCount - 1] = v;
        else
            s.WeekList.append(v);
        if (!emptyHorseFiles) continue;
        if (!isRegistrationNumber(v)) {
            log.record("emptying the expanded records of \"" + printable(v) + "\"",
                       "not a ten-digit registration number; no file is named by it");
            continue;
        }
        log.step("emptying the expanded records of " + printable(v), [&] {
            const QString file = ExpandedRecordFile(v);
            RemoveFile(file);
            RecordFile created(file, kExRecordLength);
        });
    }
    // The bar is not repainted meanwhile; beyond 2000 values it stays at 100.
    const int shown = std::min(s.WeekListCount, kListScale) * 100 / kListScale;
    if (s.WeekListCount > 0) ui.setProgress(ctl::ExpandedProgressBar3, shown, 100);
}

}  // namespace

qint64 WriteWeeklyExtract(QStringView packageFile, QStringView extractFile, int recordLength,
                          const QList<QByteArray>& list, int count) {
    QHash<QByteArray, int> listed;  // value -> times listed
    for (int k = 0; k < count && k < list.size(); ++k) ++listed[list[k]];
    const int keyWidth = SireStatsRecord::StatsKey.width;
    QByteArray out;
    qint64 written = 0;
    // The package is scanned once as it is read: it is large, and only the
    // listed records are kept.
    ScanStatsFile(packageFile, recordLength, [&](QByteArrayView rec) {
        // The key looked up in place, not copied: the package holds many records.
        const auto it = listed.constFind(QByteArray::fromRawData(rec.data(), keyWidth));
        if (it == listed.cend()) return;
        for (int t = 0; t < it.value(); ++t) out += rec;
        written += it.value();
    });
    if (written > 0) {
        RecordFile extract(AppFile(extractFile), recordLength);
        extract.writeRecords(1, out);
    }
    return written;
}

bool RunComputeButton(UiPort& ui, ExpandedState& s, SkipLog& log) {
    jv::WeeklyStoreGuard guard;
    if (!guard.acquired()) {
        jv::SayPressRefused(ui, ctl::ExpandedText3, "compute");
        return false;
    }
    s.PressRunning = true;
    s.Stats.clear();
    ui.setText(ctl::ExpandedText3, QString::fromUtf8("計算を開始しました。標準で約10分かります。。。。。。"));
    ui.setProgress(ctl::ExpandedProgressBar3, 0, 100);
    ui.setProgress(ctl::ExpandedProgressBar4, 0, 100);

    readWeekList(ui, s, log, jv::kDamListFile, false);
    log.step("writing the dam extract", [&] {
        WriteWeeklyExtract(kDamStatsFile, kDamExtractFile, SireStatsRecord::kLength, s.WeekList, s.WeekListCount);
    });
    readWeekList(ui, s, log, jv::kHorseListFile, true);
    log.step("writing the horse extract", [&] {
        WriteWeeklyExtract(kHorseStatsFile, kHorseExtractFile, HorseStatsRecord::kLength, s.WeekList, s.WeekListCount);
    });
    ui.setProgress(ctl::ExpandedProgressBar3, 0, 100);

    log.step("building the expanded records", [&] { BuildExpandedRecords(ui, s, log); });
    s.Stats.clear();  // the compute pass reads this press's extract
    log.step("computing the run factors", [&] { ComputeRunFactors(ui, s, log); });
    s.Stats.clear();
    ui.setText(ctl::ExpandedText3, QString::fromUtf8("計算終了"));
    s.PressRunning = false;
    return true;
}

}  // namespace rw::model
