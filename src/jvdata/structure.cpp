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

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rw::jv {
namespace {

bool g_storeBusy = false;

int raLength() { return imageLength(Kind::RA); }
int seLength() { return imageLength(Kind::SE); }
int umLength() { return imageLength(Kind::UM); }

// The records of one file, whole ones only, held in one block: record i
// (from 0) at i * length.
struct Records {
    QByteArray bytes;
    qsizetype length = 1;
    qsizetype size() const { return bytes.size() / length; }
    QByteArrayView operator[](qsizetype i) const { return QByteArrayView(bytes.constData() + i * length, length); }
};

// A key: the items joined without separators. Every record here comes whole
// out of a record file, so a key has a fixed width and is held inline.
template <Field... F>
struct KeyOf {
    static constexpr size_t width = (size_t(F.width) + ...);
    using Key = std::array<char, width>;
    static Key of(QByteArrayView r) {
        Key k{};
        size_t at = 0;
        (put<F>(k, at, r), ...);
        return k;
    }

private:
    template <Field G>
    static void put(Key& k, size_t& at, QByteArrayView r) {
        static_assert(G.pos >= 1 && G.width > 0);
        // A record that holds the whole item: a copy of fixed width.
        if (r.size() >= qsizetype(G.pos - 1 + G.width)) {
            std::memcpy(k.data() + at, r.data() + (G.pos - 1), size_t(G.width));
        } else {
            const QByteArrayView v = member(r, G);
            if (!v.isEmpty()) std::memcpy(k.data() + at, v.data(), size_t(v.size()));
        }
        at += size_t(G.width);
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

double makeDateValue(QByteArrayView r) { return valLenient(member(r, head::MakeDate)); }

// A record file read whole; a part record at the end is no record. Opening a
// record file creates a missing one, so a missing input is left behind
// empty, as it would be after any reader.
Records readRecords(const QString& path, qsizetype length) {
    Records r;
    r.length = length;
    r.bytes = RecordFile::readAllBytes(path, length, RecordFile::PartRecord::Dropped, RecordFile::Missing::Created);
    return r;
}

// Keys 1..N of the records with companions 1..N, sorted by QuickSortAsc.
// Entry 0 is never sorted; the first sorted key always starts a group.
template <class K>
struct SortedKeys {
    std::vector<typename K::Key> keys;
    std::vector<qint64> companion;
};

template <class K>
SortedKeys<K> sortKeys(const Records& records) {
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
Records onePerKey(const Records& records, const SortedKeys<K>& s, Written written, OnNewKey onNewKey) {
    std::vector<qsizetype> out;  // the record each output record holds
    out.reserve(size_t(records.size()));
    const qsizetype n = records.size();
    for (qsizetype p = 1; p <= n; ++p) {
        const qsizetype r = s.companion[size_t(p)] - 1;
        const bool newKey = startsGroup(s, size_t(p));
        if (newKey) onNewKey(s.keys[size_t(p)]);
        if (!written(records[r])) continue;
        if (newKey)
            out.push_back(r);
        else if (!out.empty())
            out.back() = r;
    }
    Records kept;
    kept.length = records.length;
    kept.bytes.resize(qsizetype(out.size()) * records.length);
    char* to = kept.bytes.data();
    for (qsizetype r : out) {
        std::memcpy(to, records[r].data(), size_t(records.length));
        to += records.length;
    }
    return kept;
}

template <class K, class Written>
Records onePerKey(const Records& records, const SortedKeys<K>& s, Written written) {
    return onePerKey(records, s, written, [](const typename K::Key&) {});
}

// Race details into RATHISWEEKNNEW.dat and RATHISWEEKNNEWd.dat.
void sortRaces() {
    const Records recs = readRecords(AppFile(kRaWeekFile), raLength());
    const QByteArray out = onePerKey(recs, sortKeys<RaSortKey>(recs), keptInNewFiles).bytes;
    ReplaceFile(AppFile(kRaNewFile), out);
    ReplaceFile(AppFile(kRaNewdFile), out);
}

// The announced entries (data kind "1") out of SETHISWEEKN.dat. The
// filtered records go to the scratch file first and replace the week file
// in one rename, so that a failure on the way leaves the week's entries as
// they were. Returns the records the file holds now.
Records filterAnnouncedEntries() {
    const QString week = AppFile(kSeWeekFile);
    const Records recs = readRecords(week, seLength());
    Records kept;
    kept.length = recs.length;
    kept.bytes.resize(recs.bytes.size());
    char* to = kept.bytes.data();
    for (qsizetype i = 0; i < recs.size(); ++i)
        if (dataKind(recs[i]) != '1') {
            std::memcpy(to, recs[i].data(), size_t(recs.length));
            to += recs.length;
        }
    kept.bytes.truncate(to - kept.bytes.constData());
    ReplaceFile(week, kept.bytes, AppFile(kScratchFile));
    return kept;
}

// Entries into SETHISWEEKNNEW.dat and SETHISWEEKNNEWd.dat; `week` holds
// the records of SETHISWEEKN.dat when the entry filter has just written
// them. Returns the records written.
Records sortEntries(const std::optional<Records>& week) {
    const Records recs = week ? *week : readRecords(AppFile(kSeWeekFile), seLength());
    Records out = onePerKey(recs, sortKeys<SeSortKey>(recs), keptInNewFiles);
    ReplaceFile(AppFile(kSeNewFile), out.bytes);
    ReplaceFile(AppFile(kSeNewdFile), out.bytes);
    return out;
}

// One list line: the key as a quoted value.
template <size_t N>
void addListLine(QByteArray& list, const std::array<char, N>& key) {
    list += '"';
    list.append(key.data(), qsizetype(N));
    list += "\"\r\n";
}

// One UM record per horse into UMTHISWEEKNNEW.dat, one HorseList line per
// horse. Each file is replaced whole, so a write that fails leaves it as it
// was; the list is written even when the master file is not, as its lines
// do not depend on it.
void sortHorses(const Records& recs) {
    QByteArray list;
    list.reserve(recs.size() * qsizetype(HorseKey::width + 4));
    const QByteArray out = onePerKey(
        recs, sortKeys<HorseKey>(recs), [](QByteArrayView) { return true; },
        [&](const HorseKey::Key& key) { addListLine(list, key); }).bytes;
    std::string failed;
    try {
        ReplaceFile(AppFile(kUmNewFile), out);
    } catch (const std::exception& e) {
        failed = e.what();
    }
    try {
        ReplaceFile(AppFile(kHorseListFile), list);
    } catch (const std::exception& e) {
        failed += (failed.empty() ? "" : "; ") + std::string(e.what());
    }
    if (!failed.empty()) fail(failed);
}

// One DamList line per dam.
void listDams(const Records& recs) {
    const SortedKeys<DamKey> s = sortKeys<DamKey>(recs);
    QByteArray list;
    for (size_t p = 1; p < s.keys.size(); ++p)
        if (startsGroup(s, p)) addListLine(list, s.keys[p]);
    ReplaceFile(AppFile(kDamListFile), list);
}

}  // namespace

QString HorseRunFile(QByteArrayView registrationNumber) {
    return AppFile(inFolder(kRunFileFolder, checkedRegistrationNumber(registrationNumber) + QStringLiteral(".dat")));
}

WeeklyStoreGuard::WeeklyStoreGuard() : acquired_(!g_storeBusy) {
    if (acquired_) g_storeBusy = true;
}

WeeklyStoreGuard::~WeeklyStoreGuard() {
    if (acquired_) g_storeBusy = false;
}

bool WeeklyStoreGuard::busy() { return g_storeBusy; }

void SayPressRefused(UiPort& ui, const QString& box, const char* task) {
    std::fprintf(stderr, "%s: the weekly store is being rewritten by another step; this press is ignored\n", task);
    ui.setText(box, QString::fromUtf8("他の処理の実行中のため、このボタンは受け付けませんでした。終わってから押し直して下さい。"));
}

namespace {

// The run files to rebuild: every horse of HorseList as read back, in list
// order. A value listed twice is one horse.
struct ListedHorses {
    struct Horse {
        QString file;
        std::vector<qsizetype> records;  // a placement per run-file record, in file order
    };
    std::vector<Horse> horses;
    std::unordered_map<std::string, size_t> byNumber;  // registration number -> horse

    Horse* find(QByteArrayView registrationNumber) {
        const auto h = byNumber.find(std::string(registrationNumber.data(), size_t(registrationNumber.size())));
        return h == byNumber.end() ? nullptr : &horses[h->second];
    }
};

ListedHorses readHorseList(SkipLog& log) {
    ListedHorses listed;
    QList<QByteArray> values;
    log.step("read HorseList", [&] { values = readValues(AppFile(kHorseListFile)); });
    for (const QByteArray& v : std::as_const(values)) {
        if (!isRegistrationNumber(v)) {
            log.record("HorseList value", "\"" + printable(v) + "\" is not ten digits; no run file is named by it");
            continue;
        }
        if (listed.byNumber.emplace(v.toStdString(), listed.horses.size()).second)
            listed.horses.push_back({HorseRunFile(v), {}});
    }
    return listed;
}

// Where each entry lands in the run files. A placement depends only on the
// runs already placed in the horse's file, all of them placed here after
// the file was emptied, so the files are built in memory. The records of
// one run are chained in file order, so the first or the last of them not
// newer than a new delivery is found without going through the whole file;
// the run's identity holds the registration number, so one table serves
// every file.
class RunPlacement {
public:
    RunPlacement(RunMatch match, const Records& entries)
        : match_(match), entries_(entries), makeDate_(size_t(entries.size())), identity_(size_t(entries.size())) {
        placed_.reserve(size_t(entries.size()));
        // Runs found by their identity in a table at most half full.
        size_t size = 16;
        while (size < 2 * size_t(entries.size())) size *= 2;
        slots_.assign(size, 0);
        runs_.reserve(size_t(entries.size()));
    }

    // Entry e replaces a record of its run in `file`, or is appended to it.
    void place(size_t e, std::vector<qsizetype>& file) {
        const QByteArrayView rec = entries_[qsizetype(e)];
        identity_[e] = RunIdentity::of(rec);
        makeDate_[e] = makeDateValue(rec);
        Chain& run = runOf(e);
        if (const qsizetype target = replaced(run, makeDate_[e]); target >= 0) {
            placed_[size_t(target)].entry = qsizetype(e);
            return;
        }
        const qsizetype p = qsizetype(placed_.size());
        placed_.push_back(Placement{qsizetype(e), run.last, -1});
        if (run.last >= 0)
            placed_[size_t(run.last)].next = p;
        else
            run.first = p;
        run.last = p;
        file.push_back(p);
    }

    QByteArrayView recordAt(qsizetype p) const { return entries_[placed_[size_t(p)].entry]; }

private:
    struct Placement {
        qsizetype entry;
        qsizetype prev, next;  // the run's records before and after, -1 at the ends
    };
    struct Chain {
        qsizetype first = -1, last = -1;
        size_t owner = 0;  // the entry whose identity the run has
    };

    static std::uint64_t hashOf(const RunIdentity::Key& id) {
        std::uint64_t h = 0;
        for (size_t i = 0; i < id.size(); i += 8) {
            std::uint64_t w = 0;
            std::memcpy(&w, id.data() + i, std::min<size_t>(8, id.size() - i));
            h = (h ^ w) * 0x9E3779B97F4A7C15ull;
        }
        return h ^ (h >> 29);
    }

    // The run of entry e's identity, a new one when none has it yet.
    Chain& runOf(size_t e) {
        const RunIdentity::Key& id = identity_[e];
        const size_t mask = slots_.size() - 1;
        for (size_t i = size_t(hashOf(id)) & mask;; i = (i + 1) & mask) {
            if (slots_[i] == 0) {
                runs_.push_back(Chain{-1, -1, e});
                slots_[i] = runs_.size();
                return runs_.back();
            }
            Chain& run = runs_[slots_[i] - 1];
            if (identity_[run.owner] == id) return run;
        }
    }

    // The run's record a delivery made on `date` replaces: the last (or
    // first) one whose make date is not newer; -1 for none.
    qsizetype replaced(const Chain& run, double date) const {
        const bool fromLast = match_ == RunMatch::Last;
        for (qsizetype p = fromLast ? run.last : run.first; p >= 0;
             p = fromLast ? placed_[size_t(p)].prev : placed_[size_t(p)].next)
            if (makeDate_[size_t(placed_[size_t(p)].entry)] <= date) return p;
        return -1;
    }

    RunMatch match_;
    const Records& entries_;
    std::vector<double> makeDate_;
    std::vector<RunIdentity::Key> identity_;
    std::vector<Placement> placed_;
    std::vector<size_t> slots_;  // a run's index + 1, 0 for an empty slot
    std::vector<Chain> runs_;
};

// Every entry, in order, into the file of its horse; entries of horses not
// listed go nowhere. Events are processed once per entry.
void placeEntries(UiPort& ui, SkipLog& log, const Records& entries, ListedHorses& listed,
                  RunPlacement& placement) {
    for (qsizetype e = 0; e < entries.size(); ++e) {
        ui.processEvents();
        const QByteArrayView reg = member(entries[e], se::RegistrationNumber);
        ListedHorses::Horse* horse = listed.find(reg);
        if (!horse) {
            if (!isRegistrationNumber(reg))
                log.record("entry", "registration number \"" + printable(reg) + "\" is not ten digits; placed in no run file");
            continue;
        }
        placement.place(size_t(e), horse->records);
    }
}

// Each listed horse's file written once, in its final state; a horse
// without entries gets an empty one.
void writeRunFiles(SkipLog& log, const ListedHorses& listed, const RunPlacement& placement) {
    if (!listed.horses.empty())
        log.step("create UMAGOTOTHISWEEKN", [&] { MakeFolders(AppFile(kRunFileFolder)); });
    for (const ListedHorses::Horse& horse : listed.horses) {
        log.step("run file", [&] {
            QByteArray bytes(qsizetype(horse.records.size()) * seLength(), Qt::Uninitialized);
            char* to = bytes.data();
            for (qsizetype p : horse.records) {
                const QByteArrayView rec = placement.recordAt(p);
                std::memcpy(to, rec.data(), size_t(rec.size()));
                to += rec.size();
            }
            ReplaceFile(horse.file, bytes);
        });
    }
}

// `newEntries` holds the records of SETHISWEEKNNEW.dat when the caller has
// just written them; otherwise the file is read back.
void fillHorseRunFiles(UiPort& ui, SkipLog& log, RunMatch match, const std::optional<Records>& newEntries) {
    ListedHorses listed = readHorseList(log);
    Records entries;
    if (newEntries)
        entries = *newEntries;
    else
        log.step("read SETHISWEEKNNEW.dat", [&] { entries = readRecords(AppFile(kSeNewFile), seLength()); });
    RunPlacement placement(match, entries);
    placeEntries(ui, log, entries, listed, placement);
    writeRunFiles(log, listed, placement);
}

}  // namespace

void FillHorseRunFiles(UiPort& ui, SkipLog& log, RunMatch match) { fillHorseRunFiles(ui, log, match, std::nullopt); }

bool RunStructureProcessing(UiPort& ui, SkipLog& log) {
    WeeklyStoreGuard guard;
    if (!guard.acquired()) {
        SayPressRefused(ui, ctl::MenuText4, "structure processing");
        return false;
    }
    if (AppPath.isEmpty()) AppPath = GetAppPath();

    // The model package's date is shown, or the user is told how to unpack
    // it; the processing goes on either way.
    if (QFileInfo::exists(PackageHorseFile())) {
        ShowPackageReady(ui, FileDateTimeText(PackageHorseFile()), false);
    } else {
        ui.messageBox(AppPath + QString::fromUtf8("に参照場所(展開フォルダ）に合わせてOKをクリックして初回予想因子パラメータをセットして下さい。"));
        ShellStartMinimized(AppPath + QStringLiteral("NEWSFX.EXE"));
    }
    ui.setText(ctl::MenuText4, QString::fromUtf8("構造体処理を開始しました。しばらくお待ちください。。。。。。。"));
    ui.processEvents();

    // From here on a phase that fails is skipped and the next one runs.
    log.step("race details", sortRaces);
    // Each phase reads what the one before wrote; when that phase succeeded
    // its records are handed on instead of being read back.
    std::optional<Records> week, newEntries;
    log.step("entry filter", [&] { week = filterAnnouncedEntries(); });
    log.step("entries", [&] { newEntries = sortEntries(week); });
    week.reset();  // the sorted entries are what the run files take
    // A horse master that cannot be read leaves both lists as they were.
    std::optional<Records> horses;
    log.step("horses and HorseList", [&] {
        horses = readRecords(AppFile(kUmWeekFile), umLength());
        sortHorses(*horses);
    });
    log.step("DamList", [&] {
        if (!horses) fail("the horse master was not read");
        listDams(*horses);
    });
    fillHorseRunFiles(ui, log, RunMatch::Last, newEntries);

    const qint64 umCount = RecordFile::countOf(AppFile(kUmWeekFile), umLength());
    ui.setText(ctl::MenuText4, QString::fromUtf8("構造体処理終了") + QStringLiteral(" ") + qtext(numberText(umCount, true)));
    ui.setText(ctl::KouzouText1, QString::fromUtf8("中止処理を選択した場合、中止処理終了が出ますので暫くお待ち下さい。"));
    return true;
}

}  // namespace rw::jv
