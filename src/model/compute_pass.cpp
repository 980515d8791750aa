#include "model/compute_pass.h"

#include "common/control_names.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "model/expanded_record.h"
#include "model/record_image.h"
#include "model/categorisers.h"
#include "model/category_lookup.h"
#include "model/factor_model.h"
#include "model/item_rules.h"
#include "model/predicted_speeds.h"
#include "model/speeds.h"

#include <QFile>
#include <array>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace rw::model {

bool DatedInScope(const QByteArray& r) {
    static_assert(ex::RaceMonthDay.pos == ex::RaceYear.pos + ex::RaceYear.width);
    const QByteArrayView date = member(r, ex::RaceYear.pos, ex::RaceYear.width + ex::RaceMonthDay.width);
    return strictNumber(date, "run date") >= 20110101;
}

bool ClassifiedScope(const QByteArray& r) {
    return DatedInScope(r) && textBetween(get(r, ex::CourseCode), "01", "10") &&
           textBetween(get(r, ex::TrackCode), "10", "59");
}

RunScope ModelScope(const QByteArray& r) {
    if (!DatedInScope(r) || !textBetween(get(r, ex::CourseCode), "01", "10")) return RunScope::Out;
    const QByteArrayView t = get(r, ex::TrackCode);
    if (textBetween(t, "10", "22")) return RunScope::Turf;
    if (textBetween(t, "23", "29")) return RunScope::Dirt;
    if (textBetween(t, "50", "59")) return RunScope::Jump;
    return RunScope::Out;
}

namespace {

Surface surfaceOf(RunScope s) {
    return s == RunScope::Turf ? Surface::Turf : s == RunScope::Dirt ? Surface::Dirt : Surface::Jump;
}

// The pass's own copy of each surface's model, read when first needed.
class PassModels {
public:
    explicit PassModels(SkipLog& log) : log_(log) {}

    // Counts and codes, what pass 2 reads.
    const FactorModel& codes(Surface s) {
        Entry& e = load(s);
        if (e.failure && !e.codesRead) fail(e.failure->text().toStdString());
        return e.model;
    }
    // The whole model with item 1's substitution, what pass 3 reads.
    FactorModel& whole(Surface s) {
        Entry& e = load(s);
        if (e.failure) fail(e.failure->text().toStdString());
        return e.model;
    }

private:
    struct Entry {
        bool loaded = false;
        bool codesRead = false;
        FactorModel model;
        std::optional<ModelLoadFailure> failure;
    };

    Entry& load(Surface s) {
        Entry& e = entries_[size_t(s)];
        if (e.loaded) return e;
        e.loaded = true;
        e.failure = LoadFactorModel(s, e.model, ModelParts::Whole);
        const ModelFileNames f = ModelFiles(s);
        e.codesRead = !e.failure || (e.failure->file != f.totalData && e.failure->file != f.codes);
        if (e.failure)
            log_.record("model files of " + SurfaceWord(s).toStdString(), e.failure->text().toStdString());
        else
            SubstituteItemOneWeights(e.model);
        return e;
    }

    SkipLog& log_;
    std::array<Entry, 3> entries_;
};

// The open horse file held in memory.
class HorseInMemory : public ItemSources {
public:
    HorseInMemory(const QList<QByteArray>& records, StatsIndex& stats, CategoryFinder& categories)
        : records_(records), stats_(stats), categories_(categories) {}
    QByteArray record(int n) override {
        return n >= 1 && n <= records_.size() ? records_[n - 1] : QByteArray(kExRecordLength, '\0');
    }
    std::optional<QByteArray> findStats(QStringView file, int length, QByteArrayView key) override {
        return FindStatsRecord(stats_, file, length, key);
    }
    CategoryFinder& categories() override { return categories_; }
    PreviousRunCategories* previousRunCategories() override { return &previous_; }

private:
    PreviousRunCategories previous_;
    const QList<QByteArray>& records_;
    StatsIndex& stats_;
    CategoryFinder& categories_;
};

// putWhole of each item's category index: below 10000 the digits are
// written straight in, left-aligned and padded with blanks.
void putCategoryIndexes(QByteArray& r, const std::array<std::int16_t, kItemCount + 1>& found) {
    static_assert(ex::CategoryIndex(1).width == 4);
    char* const base = r.data();
    for (int k = 1; k <= kItemCount; ++k) {
        const int v = found[size_t(k)];
        if (v < 0 || v > 9999) {
            putWhole(r, ex::CategoryIndex(k), v);
            continue;
        }
        char* at = base + ex::CategoryIndex(k).offset();
        const int n = v < 10 ? 1 : v < 100 ? 2 : v < 1000 ? 3 : 4;
        std::memset(at, ' ', 4);
        for (int i = n - 1, x = v; i >= 0; --i, x /= 10) at[i] = char('0' + x % 10);
    }
}

void blankSpeedsAndCodes(QByteArray& r) {
    for (int i = 0; i <= 2; ++i) put(r, ex::SpeedTexts(i), kNoSpeed);
    for (int k = 1; k <= kItemCount; ++k) put(r, ex::Category(k), "");
}

class HorsePass {
public:
    HorsePass(UiPort& ui, ExpandedState& st, PassModels& models, CategoryFinder& categories)
        : ui_(ui), st_(st), models_(models), categories_(categories) {}

    void run(QList<QByteArray>& records) {
        const int c = int(records.size());
        if (c == 0) return;
        if (c > std::numeric_limits<std::int16_t>::max()) fail(std::to_string(c) + " records: more than a run number holds");
        HorseInMemory source(records, st_.Stats, categories_);
        classify(records, source);
        ui_.processEvents();
        // The categories found are kept for pass 3, which would read them
        // back from the texts written here.
        std::vector<std::array<std::int16_t, kItemCount + 1>> found(static_cast<size_t>(c));
        std::vector<RunScope> scopes(static_cast<size_t>(c), RunScope::Out);
        for (int v = 1; v <= c; ++v) {
            openCopy(records, v);
            const RunScope scope = ModelScope(st_.ExRecord);
            scopes[size_t(v - 1)] = scope;
            if (scope == RunScope::Out) {
                for (int k = 1; k <= kItemCount; ++k) put(st_.ExRecord, ex::CategoryIndex(k), "    ");
            } else {
                FindCategoryIndexes(st_, models_.codes(surfaceOf(scope)), categories_);
                putCategoryIndexes(st_.ExRecord, st_.FoundIndex);
                found[size_t(v - 1)] = st_.FoundIndex;
            }
            store(records, v);
        }
        copyBytes(st_.ExRecord, records[c - 1]);
        ui_.processEvents();
        for (int v = 1; v <= c; ++v) {
            openCopy(records, v);
            // Pass 2 changed none of the fields the scope is read from.
            const RunScope scope = scopes[size_t(v - 1)];
            if (scope == RunScope::Out) {
                for (int i = 6; i <= 9; ++i) put(st_.ExRecord, ex::SpeedTexts(i), kNoSpeed);
                for (int k = 1; k <= kItemCount; ++k) {
                    putSingle(st_.ExRecord, ex::AgariW(k).pos, 0.0f);
                    putSingle(st_.ExRecord, ex::PaceW(k).pos, 0.0f);
                    putSingle(st_.ExRecord, ex::SohaW(k).pos, 0.0f);
                }
            } else {
                ApplySubstitutedFactorWeights(st_, models_.whole(surfaceOf(scope)), found[size_t(v - 1)].data());
            }
            store(records, v);
        }
        copyBytes(st_.ExRecord, records[c - 1]);
    }

private:
    void open(const QList<QByteArray>& records, int n) {
        st_.ExRecord = records[n - 1];
        st_.ExRecordNo = std::int16_t(n);
    }
    // The same by copying the bytes: passes 2 and 3 change every record, and
    // a buffer shared with the stored record would be copied afresh (and
    // allocated) at its first change.
    static void copyBytes(QByteArray& to, const QByteArray& from) {
        if (to.size() != from.size() || !to.isDetached()) to = QByteArray(from.constData(), from.size());
        else std::memcpy(to.data(), from.constData(), size_t(from.size()));
    }
    void openCopy(const QList<QByteArray>& records, int n) {
        copyBytes(st_.ExRecord, records[n - 1]);
        st_.ExRecordNo = std::int16_t(n);
    }
    // The record buffer stored as record n by trading buffers: the stored
    // record keeps its bytes until the record is done, as a failure needs,
    // and the buffer takes the old bytes, to be overwritten by the next open
    // (the pass puts the last record back into the buffer at its end).
    void store(QList<QByteArray>& records, int n) { records[n - 1].swap(st_.ExRecord); }

    // The value into the record buffer and the stored record, which share
    // one copy: the buffer lets go of it first, so that it changes in place
    // instead of being copied at every item.
    void rewrite(QByteArray& stored, Field f, const QByteArray& value) {
        if (st_.ExRecord.constData() == stored.constData() && st_.ExRecord.size() == stored.size()) {
            st_.ExRecord = QByteArray();
            put(stored, f, value);
            st_.ExRecord = stored;
        } else {
            put(st_.ExRecord, f, value);
            stored = st_.ExRecord;
        }
    }

    // Pass 1: the record is rewritten after every speed and every item, so
    // each categoriser sees what came before it.
    void classify(QList<QByteArray>& records, ItemSources& source) {
        const int c = int(records.size());
        for (int u = c <= 3 ? 1 : c - 3; u <= c; ++u) {
            open(records, u);
            QByteArray& stored = records[u - 1];
            if (!DatedInScope(st_.ExRecord)) {
                blankSpeedsAndCodes(st_.ExRecord);
                stored = st_.ExRecord;
                continue;
            }
            if (!ClassifiedScope(st_.ExRecord)) {
                blankSpeedsAndCodes(st_.ExRecord);
            } else {
                rewrite(stored, ex::SpeedTexts(0), AgariSpeed(st_.ExRecord));
                rewrite(stored, ex::SpeedTexts(1), PaceSpeed(st_.ExRecord));
                rewrite(stored, ex::SpeedTexts(2), SohaSpeed(st_.ExRecord));
                for (const ItemCategoriser& item : kCategorisers) {
                    const QByteArray code = item.categorise(st_, source);
                    rewrite(stored, ex::Category(item.number), code);
                }
            }
            stored = st_.ExRecord;
            ui_.setProgress(ctl::ExpandedProgressBar4, int(qint64(u) * 100 / c), 100);
        }
    }

    UiPort& ui_;
    ExpandedState& st_;
    PassModels& models_;
    CategoryFinder& categories_;
};

}  // namespace

struct RunFactorPass::Impl {
    Impl(UiPort& u, ExpandedState& s, SkipLog& log) : ui(u), st(s), models(log) {}
    UiPort& ui;
    ExpandedState& st;
    PassModels models;
    IndexedCategories categories;
};

RunFactorPass::RunFactorPass(UiPort& ui, ExpandedState& st, SkipLog& log) : d_(std::make_unique<Impl>(ui, st, log)) {
    st.Stats.clear();
}

RunFactorPass::~RunFactorPass() = default;

void RunFactorPass::compute(QList<QByteArray>& records) {
    if (records.isEmpty()) return;
    opened_ = true;  // the first pass opens a record before anything can fail
    HorsePass(d_->ui, d_->st, d_->models, d_->categories).run(records);
}

void RunFactorPass::computeFile(QByteArrayView number) {
    // Read once (created empty when absent), written back once, also when the
    // pass fails part-way, so that what it computed before stays; only whole
    // records are rewritten, a part record at the end stays.
    RecordImageFile file(ExpandedRecordFile(number), kExRecordLength);
    BuildThenWrite([&] { compute(file.records); }, [&] { file.writeBack(); });
}

void RunFactorPass::horseDone(int i, int n) {
    d_->ui.processEvents();
    d_->ui.setProgress(ctl::ExpandedProgressBar3, int(qint64(i) * 100 / n), 100);
}

RunFactorPass::Working RunFactorPass::working() const {
    const ExpandedState& s = d_->st;
    return {s.ExRecord,   s.SearchCode, s.ExRecordNo,    s.ItemNo,
            s.CategoryNo, s.FoundIndex, s.SurfaceIndex,
            {s.AgariSumTurf, s.AgariSumDirt, s.AgariSumJump, s.PaceSumTurf, s.PaceSumDirt, s.PaceSumJump},
            opened_};
}

void RunFactorPass::restore(const Working& w) {
    ExpandedState& s = d_->st;
    s.ExRecord = w.ExRecord;
    s.SearchCode = w.SearchCode;
    s.ExRecordNo = w.ExRecordNo;
    s.ItemNo = w.ItemNo;
    s.CategoryNo = w.CategoryNo;
    s.FoundIndex = w.FoundIndex;
    s.SurfaceIndex = w.SurfaceIndex;
    s.AgariSumTurf = w.Sums[0];
    s.AgariSumDirt = w.Sums[1];
    s.AgariSumJump = w.Sums[2];
    s.PaceSumTurf = w.Sums[3];
    s.PaceSumDirt = w.Sums[4];
    s.PaceSumJump = w.Sums[5];
    opened_ = w.opened;
}

void ComputeRunFactors(UiPort& ui, ExpandedState& st, SkipLog& log) {
    RunFactorPass pass(ui, st, log);
    const int n = st.WeekListCount;
    for (int i = 1; i <= n; ++i) {
        const QByteArray number = st.WeekList.value(i - 1);
        log.step("horse " + printable(number), [&] { pass.computeFile(number); });
        pass.horseDone(i, n);
    }
}

}  // namespace rw::model
