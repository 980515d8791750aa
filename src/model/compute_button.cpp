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
#include "model/record_image.h"
#include "model/stats_files.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace rw::model {

namespace {

constexpr int kListScale = 2000;  // the list bar reaches 100 at 2000 values

// The dam list or the horse list into WeekList, entries beyond the new count
// kept. With `emptied`, every listed horse's file is emptied (deleted and
// created empty) and emptied[k] says whether entry k's file was created
// here, so that nothing else has written it since.
void readWeekList(UiPort& ui, ExpandedState& s, SkipLog& log, const char16_t* listFile,
                  std::vector<bool>* emptied = nullptr) {
    s.WeekListCount = 0;
    if (emptied) emptied->clear();
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
        if (!emptied) continue;
        emptied->push_back(false);
        if (!isRegistrationNumber(v)) {
            log.record("emptying the expanded records of \"" + printable(v) + "\"",
                       "not a ten-digit registration number; no file is named by it");
            continue;
        }
        log.step("emptying the expanded records of " + printable(v), [&] {
            // Where nothing stands, creating the file is all there is to do.
            const QString file = ExpandedRecordFile(v);
            if (CreateNewFile(file).isOpen()) {
                emptied->back() = true;
                return;
            }
            RemoveFile(file);
            if (CreateNewFile(file).isOpen())
                emptied->back() = true;
            else
                RecordFile created(file, kExRecordLength);  // says why, or opens what could not be deleted
        });
    }
    // The bar is not repainted meanwhile; beyond 2000 values it stays at 100.
    const int shown = std::min(s.WeekListCount, kListScale) * 100 / kListScale;
    if (s.WeekListCount > 0) ui.setProgress(ctl::ExpandedProgressBar3, shown, 100);
}

// How often each key is listed, looked up in place for every record of a
// package file (well over a hundred thousand): keys of the key width only,
// as no other value can equal a record's key.
class ListedKeys {
public:
    ListedKeys(const QList<QByteArray>& list, qsizetype count, int width) : width_(width) {
        std::size_t size = 16;
        while (size < std::size_t(count) * 2 + 1) size *= 2;
        slots_.assign(size, Slot{});
        mask_ = size - 1;
        for (qsizetype k = 0; k < count; ++k) {
            if (list[k].size() != width) continue;
            Slot& s = slots_[slotOf(list[k].constData())];
            s.key = list[k].constData();
            ++s.times;
        }
    }
    int times(const char* key) const { return slots_[slotOf(key)].times; }

private:
    struct Slot {
        const char* key = nullptr;
        int times = 0;
    };
    // The key's slot, or the free slot where it would go.
    std::size_t slotOf(const char* key) const {
        std::uint64_t h = 1469598103934665603ull;  // FNV-1a
        for (int i = 0; i < width_; ++i) h = (h ^ std::uint8_t(key[i])) * 1099511628211ull;
        for (std::size_t i = std::size_t(h ^ (h >> 29)) & mask_;; i = (i + 1) & mask_) {
            const Slot& s = slots_[i];
            if (!s.key || std::memcmp(s.key, key, size_t(width_)) == 0) return i;
        }
    }

    int width_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};

// The messages of a part of the press kept aside, added to the press's log
// where they would stand had the parts run one after another.
void appendLog(SkipLog& to, const SkipLog& part) {
    for (const std::string& line : part.skipped()) {
        const std::string_view text(line);
        const size_t at = text.find(": ");  // how record() joins what and why
        to.record(text.substr(0, at), text.substr(at + 2));
    }
}

QByteArray joined(const QList<QByteArray>& records) {
    QByteArray all;
    all.reserve(records.size() * kExRecordLength);
    for (const QByteArray& r : records) all += r;
    return all;
}

// The builder and the compute pass over the horse list, with the files,
// the state and the messages of the builder run over every horse and then
// the pass over every horse: the builder's messages go to `built`, the
// pass's to `computed`. A horse whose file was emptied by this press and
// that is listed once is built and computed in one go, its file written
// once; a horse listed more than once (with every horse listed between its
// first and last place) is built, then computed, through its file.
void buildAndCompute(UiPort& ui, ExpandedState& s, const std::vector<bool>& emptied, SkipLog& built,
                     SkipLog& computed) {
    std::optional<ExpandedBuilder> builder;
    built.step("building the expanded records", [&] { builder.emplace(ui, s); });
    const int n = s.WeekListCount;
    auto buildFile = [&](int k) {
        const QByteArray reg = s.WeekList.value(k);
        if (!isRegistrationNumber(reg))
            built.record("building the expanded records of \"" + printable(reg) + "\"",
                         "not a ten-digit registration number; no file is named by it");
        else
            built.step("building the expanded records of " + printable(reg), [&] { builder->buildFile(reg); });
        builder->horseDone(k + 1, n);
    };
    computed.step("computing the run factors", [&] {
        RunFactorPass pass(ui, s, computed);
        auto computeFile = [&](int k) {
            const QByteArray reg = s.WeekList.value(k);
            computed.step("horse " + printable(reg), [&] { pass.computeFile(reg); });
            pass.horseDone(k + 1, n);
        };
        auto inOneGo = [&](int k) {
            const QByteArray reg = s.WeekList.value(k);
            const std::string buildWhat = "building the expanded records of " + printable(reg);
            const std::string horseWhat = "horse " + printable(reg);
            QList<QByteArray> records;
            built.step(buildWhat, [&] { builder->buildRecords(reg, records); });
            builder->horseDone(k + 1, n);
            if (!records.isEmpty()) {
                const RunFactorPass::Working before = pass.working();
                SkipLog horse(computed.task());
                horse.step(horseWhat, [&] { pass.compute(records); });
                const QString path = ExpandedRecordFile(reg);
                if (!WriteNewRecords(path, records) && !built.step(buildWhat, [&] {
                        RecordFile file(path, kExRecordLength);
                        file.writeRecords(1, joined(records));
                    })) {
                    // The builder could not write the file: the pass finds
                    // it as the builder left it.
                    pass.restore(before);
                    horse = SkipLog(computed.task());
                    horse.step(horseWhat, [&] { pass.computeFile(reg); });
                }
                appendLog(computed, horse);
            }
            pass.horseDone(k + 1, n);
        };

        QHash<QByteArray, int> last;  // a horse's last place in the list
        for (int k = 0; k < n; ++k)
            if (isRegistrationNumber(s.WeekList.value(k))) last[s.WeekList.value(k)] = k;
        for (int first = 0; first < n;) {
            int end = first;  // the places that must be built before any of them is computed
            for (int k = first; k <= end; ++k) end = std::max(end, last.value(s.WeekList.value(k), k));
            const bool fresh = end == first && first < int(emptied.size()) && emptied[size_t(first)] &&
                               isRegistrationNumber(s.WeekList.value(first));
            if (fresh && !builder) {
                pass.horseDone(first + 1, n);  // its file is empty: nothing to compute
            } else if (fresh) {
                inOneGo(first);
            } else {
                if (builder)
                    for (int k = first; k <= end; ++k) buildFile(k);
                for (int k = first; k <= end; ++k) computeFile(k);
            }
            first = end + 1;
        }
        if (builder && !pass.openedRecord()) {
            s.ExRecord = builder->record();
            s.ExRecordNo = builder->recordNo();
        }
    });
    if (builder) ui.processEvents();
}

}  // namespace

qint64 WriteWeeklyExtract(QStringView packageFile, QStringView extractFile, int recordLength,
                          const QList<QByteArray>& list, int count) {
    const int keyWidth = SireStatsRecord::StatsKey.width;
    const ListedKeys listed(list, std::min<qsizetype>(count, list.size()), keyWidth);
    QByteArray out;
    qint64 written = 0;
    // The package is scanned once as it is read: it is large, and only the
    // listed records are kept.
    ScanStatsFile(packageFile, recordLength, [&](QByteArrayView rec) {
        const int times = listed.times(rec.data());
        for (int t = 0; t < times; ++t) out += rec;
        written += times;
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

    readWeekList(ui, s, log, jv::kDamListFile);
    log.step("writing the dam extract", [&] {
        WriteWeeklyExtract(kDamStatsFile, kDamExtractFile, SireStatsRecord::kLength, s.WeekList, s.WeekListCount);
    });
    std::vector<bool> emptied;
    readWeekList(ui, s, log, jv::kHorseListFile, &emptied);
    log.step("writing the horse extract", [&] {
        WriteWeeklyExtract(kHorseStatsFile, kHorseExtractFile, HorseStatsRecord::kLength, s.WeekList, s.WeekListCount);
    });
    ui.setProgress(ctl::ExpandedProgressBar3, 0, 100);

    // The builder and the compute pass, one horse at a time; the statistics
    // index is cleared first (the pass reads this press's extract).
    s.Stats.clear();
    SkipLog built(log.task()), computed(log.task());
    buildAndCompute(ui, s, emptied, built, computed);
    appendLog(log, built);
    appendLog(log, computed);
    s.Stats.clear();
    ui.setText(ctl::ExpandedText3, QString::fromUtf8("計算終了"));
    s.PressRunning = false;
    return true;
}

}  // namespace rw::model
