#include "jvdata/structure.h"

#include "common/control_names.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/shell.h"
#include "common/text_file.h"
#include "jvdata/package_check.h"
#include "jvdata/quicksort.h"
#include "jvdata/records.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rw::jv {
namespace {

bool g_storeBusy = false;

int raLength() { return imageLength(Kind::RA); }
int seLength() { return imageLength(Kind::SE); }
int umLength() { return imageLength(Kind::UM); }

QByteArrayView item(const QByteArray& rec, const Field& f) { return member(rec, f.pos, f.width); }

char dataKind(const QByteArray& rec) { return rec.size() >= head::DataKind.pos ? rec[head::DataKind.pos - 1] : '\0'; }
bool keptInNewFiles(const QByteArray& rec) { return dataKind(rec) != '1' && dataKind(rec) != '9'; }

// A key: the items joined without separators. Every record here comes whole
// out of a record file, so a key has a fixed width and is held inline.
template <Field... F>
struct KeyOf {
    static constexpr size_t width = (size_t(F.width) + ...);
    using Key = std::array<char, width>;
    static Key of(const QByteArray& r) {
        Key k{};
        size_t at = 0;
        for (const Field& f : {F...}) {
            const QByteArrayView v = item(r, f);
            if (!v.isEmpty()) std::memcpy(k.data() + at, v.data(), size_t(v.size()));
            at += size_t(f.width);
        }
        return k;
    }
};

using RaSortKey = KeyOf<head::Year, head::MonthDay, head::DataKind, head::Racecourse, head::RaceNumber>;
using SeSortKey = KeyOf<head::Year, head::MonthDay, head::DataKind, head::Racecourse, head::RaceNumber,
                        se::HorseNumber, se::RegistrationNumber>;
using HorseKey = KeyOf<um::RegistrationNumber>;
using DamKey = KeyOf<um::DamNumber>;
// A RunKey without its make date: the identity of one run of one horse.
using RunIdentity = KeyOf<head::Year, head::MonthDay, head::RaceNumber, se::HorseNumber, se::RegistrationNumber>;
static_assert(RaSortKey::width == 13 && SeSortKey::width == 25 && RunIdentity::width == 22);

template <size_t N>
QByteArray keyBytes(const std::array<char, N>& k) { return QByteArray(k.data(), qsizetype(N)); }

double makeDateValue(const QByteArray& r) { return valLenient(item(r, head::MakeDate)); }

// A record file read whole. Opening a record file creates a missing one, so
// a missing input is left behind empty, as it would be after any reader.
QList<QByteArray> readRecords(const QString& path, qsizetype length) {
    if (!QFileInfo::exists(path)) RecordFile(path, length).close();
    return RecordFile::readAll(path, length);
}

// Keys 1..N of the records with companions 1..N, sorted by QuickSortAsc.
// Entry 0 is never sorted; the first sorted key always starts a group.
template <class K>
struct SortedKeys {
    std::vector<typename K::Key> keys;
    std::vector<qint64> companion;
};

template <class K>
SortedKeys<K> sortKeys(const QList<QByteArray>& records) {
    SortedKeys<K> s;
    const qsizetype n = records.size();
    s.keys.resize(size_t(n) + 1);
    s.companion.resize(size_t(n) + 1, 0);
    for (qsizetype i = 1; i <= n; ++i) {
        s.keys[size_t(i)] = K::of(records[i - 1]);
        s.companion[size_t(i)] = i;
    }
    if (n >= 1) QuickSortAsc(s.keys, s.companion, 1, n);
    return s;
}

template <class K>
bool startsGroup(const SortedKeys<K>& s, size_t p) {
    return p == 1 || s.keys[p] != s.keys[p - 1];
}

// Writing one record per key: a new key takes the next output record, an
// equal key overwrites the record written for it, so among equal keys the
// one the sort leaves last remains. Returns the output records in order.
template <class K, class Written, class OnNewKey>
QList<QByteArray> onePerKey(const QList<QByteArray>& records, const SortedKeys<K>& s, Written written,
                            OnNewKey onNewKey) {
    QList<QByteArray> out;
    const qsizetype n = records.size();
    for (qsizetype p = 1; p <= n; ++p) {
        const QByteArray& rec = records[s.companion[size_t(p)] - 1];
        const bool newKey = startsGroup(s, size_t(p));
        if (newKey) onNewKey(s.keys[size_t(p)]);
        if (!written(rec)) continue;
        if (newKey)
            out.append(rec);
        else if (!out.isEmpty())
            out.last() = rec;
    }
    return out;
}

template <class K, class Written>
QList<QByteArray> onePerKey(const QList<QByteArray>& records, const SortedKeys<K>& s, Written written) {
    return onePerKey(records, s, written, [](const typename K::Key&) {});
}

QByteArray joined(const QList<QByteArray>& records) {
    QByteArray bytes;
    qsizetype total = 0;
    for (const QByteArray& r : records) total += r.size();
    bytes.reserve(total);
    for (const QByteArray& r : records) bytes += r;
    return bytes;
}

// 3. Race details into RATHISWEEKNNEW.dat and RATHISWEEKNNEWd.dat.
void sortRaces() {
    const QList<QByteArray> recs = readRecords(AppFile(kRaWeekFile), raLength());
    const QByteArray out = joined(onePerKey(recs, sortKeys<RaSortKey>(recs), keptInNewFiles));
    ReplaceFile(AppFile(kRaNewFile), out);
    ReplaceFile(AppFile(kRaNewdFile), out);
}

// 4. Data kind "1" out of SETHISWEEKN.dat. The filtered records go to the
// scratch file first and replace the week file in one rename, so that a
// failure on the way leaves the week's entries as they were. Returns the
// records the file holds now.
QList<QByteArray> filterAnnouncedEntries() {
    const QString week = AppFile(kSeWeekFile);
    const QList<QByteArray> recs = readRecords(week, seLength());
    QList<QByteArray> kept;
    kept.reserve(recs.size());
    for (const QByteArray& r : recs)
        if (dataKind(r) != '1') kept.append(r);
    ReplaceFile(week, joined(kept), AppFile(kScratchFile));
    return kept;
}

// 5. Entries into SETHISWEEKNNEW.dat and SETHISWEEKNNEWd.dat; `week` holds
// the records of SETHISWEEKN.dat when step 4 has just written them. Returns
// the records written.
QList<QByteArray> sortEntries(const std::optional<QList<QByteArray>>& week) {
    const QList<QByteArray> recs = week ? *week : readRecords(AppFile(kSeWeekFile), seLength());
    QList<QByteArray> out = onePerKey(recs, sortKeys<SeSortKey>(recs), keptInNewFiles);
    const QByteArray bytes = joined(out);
    ReplaceFile(AppFile(kSeNewFile), bytes);
    ReplaceFile(AppFile(kSeNewdFile), bytes);
    return out;
}

QByteArray listLine(const QByteArray& value) {
    QByteArray line = CsvValue::text(value).render();
    line += "\r\n";
    return line;
}

// 6. One UM record per horse into UMTHISWEEKNNEW.dat, one HorseList line per
// horse. 7. One DamList line per dam.
void sortHorses(const QList<QByteArray>& recs) {
    emptyTextFile(AppFile(kHorseListFile));
    QByteArray list;
    const QByteArray out = joined(onePerKey(
        recs, sortKeys<HorseKey>(recs), [](const QByteArray&) { return true; },
        [&](const HorseKey::Key& key) { list += listLine(keyBytes(key)); }));
    ReplaceFile(AppFile(kUmNewFile), out);
    ReplaceFile(AppFile(kHorseListFile), list);
}

void listDams(const QList<QByteArray>& recs) {
    emptyTextFile(AppFile(kDamListFile));
    const SortedKeys<DamKey> s = sortKeys<DamKey>(recs);
    QByteArray list;
    for (size_t p = 1; p < s.keys.size(); ++p)
        if (startsGroup(s, p)) list += listLine(keyBytes(s.keys[p]));
    ReplaceFile(AppFile(kDamListFile), list);
}

}  // namespace

QString HorseRunFile(QByteArrayView registrationNumber) {
    return AppFile(QString::fromUtf16(kRunFileFolder) + QStringLiteral("\\") +
                   checkedRegistrationNumber(registrationNumber) + QStringLiteral(".dat"));
}

WeeklyStoreGuard::WeeklyStoreGuard() : acquired_(!g_storeBusy) {
    if (acquired_) g_storeBusy = true;
}

WeeklyStoreGuard::~WeeklyStoreGuard() {
    if (acquired_) g_storeBusy = false;
}

bool WeeklyStoreGuard::busy() { return g_storeBusy; }

namespace {

// Steps 8 and 9; `newEntries` holds the records of SETHISWEEKNNEW.dat when
// the caller has just written them.
void fillHorseRunFiles(UiPort& ui, SkipLog& log, RunMatch match, const std::optional<QList<QByteArray>>& newEntries) {
    // 8. The horse list as read back; every listed horse gets its file
    // rewritten, in list order. A value listed twice is one horse.
    struct Horse {
        QString file;
        std::vector<qsizetype> records;  // a placement per run-file record, in file order
    };
    std::vector<Horse> horses;
    std::unordered_map<std::string_view, size_t> horseOf;  // registration number -> horse
    QList<QByteArray> listed;
    log.step("read HorseList", [&] { listed = readValues(AppFile(kHorseListFile)); });
    for (const QByteArray& v : std::as_const(listed)) {
        if (!isRegistrationNumber(v)) {
            log.record("HorseList value", "\"" + printable(v) + "\" is not ten digits; no run file is named by it");
            continue;
        }
        const std::string_view key(v.constData(), size_t(v.size()));
        if (horseOf.count(key)) continue;
        horseOf.emplace(key, horses.size());
        horses.push_back(Horse{HorseRunFile(v), {}});
    }

    // 9. The entries in order. The placement depends only on the runs
    // already placed in the horse's file, all of them placed here after
    // the file was emptied, so the files are kept in memory and written
    // once at the end in their final state.
    QList<QByteArray> entries;
    if (newEntries)
        entries = *newEntries;
    else
        log.step("read SETHISWEEKNNEW.dat", [&] { entries = readRecords(AppFile(kSeNewFile), seLength()); });
    const size_t n = size_t(entries.size());
    std::vector<double> makeDate(n);
    std::vector<RunIdentity::Key> identity(n);
    // The records of one run are chained in file order, so the first or the
    // last of them not newer than a new delivery is found without going
    // through the whole file. The identity holds the registration number,
    // so one table serves every file.
    struct Placement {
        qsizetype entry;
        qsizetype prev, next;  // the run's records before and after, -1 at the ends
    };
    struct Chain {
        qsizetype first = -1, last = -1;
    };
    std::vector<Placement> placed;
    placed.reserve(n);
    std::unordered_map<std::string_view, Chain> runsOf;
    runsOf.reserve(n);
    for (size_t e = 0; e < n; ++e) {
        ui.processEvents();
        const QByteArray& rec = entries[qsizetype(e)];
        const QByteArrayView reg = item(rec, se::RegistrationNumber);
        const auto h = horseOf.find(std::string_view(reg.data(), size_t(reg.size())));
        if (h == horseOf.end()) {
            if (!isRegistrationNumber(reg))
                log.record("entry", "registration number \"" + printable(reg) + "\" is not ten digits; placed in no run file");
            continue;
        }
        Horse& horse = horses[h->second];
        identity[e] = RunIdentity::of(rec);
        makeDate[e] = makeDateValue(rec);
        Chain& run = runsOf[std::string_view(identity[e].data(), identity[e].size())];
        qsizetype target = -1;
        if (match == RunMatch::Last) {
            for (qsizetype p = run.last; p >= 0 && target < 0; p = placed[size_t(p)].prev)
                if (makeDate[size_t(placed[size_t(p)].entry)] <= makeDate[e]) target = p;
        } else {
            for (qsizetype p = run.first; p >= 0 && target < 0; p = placed[size_t(p)].next)
                if (makeDate[size_t(placed[size_t(p)].entry)] <= makeDate[e]) target = p;
        }
        if (target >= 0) {
            placed[size_t(target)].entry = qsizetype(e);
            continue;
        }
        const qsizetype p = qsizetype(placed.size());
        placed.push_back(Placement{qsizetype(e), run.last, -1});
        if (run.last >= 0)
            placed[size_t(run.last)].next = p;
        else
            run.first = p;
        run.last = p;
        horse.records.push_back(p);
    }

    if (!horses.empty())
        log.step("create UMAGOTOTHISWEEKN", [&] {
            MakeFolders(AppFile(kRunFileFolder));
        });
    for (const Horse& horse : horses) {
        log.step("run file", [&] {
            QByteArray bytes;
            bytes.reserve(qsizetype(horse.records.size()) * seLength());
            for (qsizetype p : horse.records) bytes += entries[placed[size_t(p)].entry];
            ReplaceFile(horse.file, bytes);
        });
    }
}

}  // namespace

void FillHorseRunFiles(UiPort& ui, SkipLog& log, RunMatch match) { fillHorseRunFiles(ui, log, match, std::nullopt); }

bool RunStructureProcessing(UiPort& ui, SkipLog& log) {
    WeeklyStoreGuard guard;
    if (!guard.acquired()) {
        std::fprintf(stderr, "structure processing: already running; this press is ignored\n");
        return false;
    }
    if (AppPath.isEmpty()) AppPath = GetAppPath();

    // 1. Model package check; the processing goes on either way.
    if (QFileInfo::exists(PackageHorseFile())) {
        ShowPackageReady(ui, FileDateTimeText(PackageHorseFile()), false);
    } else {
        ui.messageBox(AppPath + QString::fromUtf8("に参照場所(展開フォルダ）に合わせてOKをクリックして初回予想因子パラメータをセットして下さい。"));
        ShellStartMinimized(AppPath + QStringLiteral("NEWSFX.EXE"));
    }
    // 2.
    ui.setText(ctl::MenuText4, QString::fromUtf8("構造体処理を開始しました。しばらくお待ちください。。。。。。。"));
    ui.processEvents();

    // 3 to 9: a step that fails is skipped.
    log.step("race details", sortRaces);
    // Each step reads what the one before wrote; when that step succeeded
    // its records are handed on instead of being read back.
    std::optional<QList<QByteArray>> week, newEntries;
    log.step("entry filter", [&] { week = filterAnnouncedEntries(); });
    log.step("entries", [&] { newEntries = sortEntries(week); });
    // A horse master that cannot be read leaves both lists as they were.
    std::optional<QList<QByteArray>> horses;
    log.step("horses and HorseList", [&] {
        horses = readRecords(AppFile(kUmWeekFile), umLength());
        sortHorses(*horses);
    });
    log.step("DamList", [&] {
        if (!horses) fail("the horse master was not read");
        listDams(*horses);
    });
    fillHorseRunFiles(ui, log, RunMatch::Last, newEntries);

    // 10.
    const qint64 umCount = RecordFile::countOf(AppFile(kUmWeekFile), umLength());
    ui.setText(ctl::MenuText4, QString::fromUtf8("構造体処理終了") + QStringLiteral(" ") + qtext(numberText(umCount, true)));
    ui.setText(ctl::KouzouText1, QString::fromUtf8("中止処理を選択した場合、中止処理終了が出ますので暫くお待ち下さい。"));
    return true;
}

}  // namespace rw::jv
