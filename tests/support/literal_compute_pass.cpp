#include "support/literal_compute_pass.h"

#include "common/errors.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "model/categorisers.h"
#include "model/category_lookup.h"
#include "model/predicted_speeds.h"
#include "model/speeds.h"
#include "model/stats_files.h"

#include <QFile>
#include <cmath>

namespace rwtest {
namespace {

using namespace rw::model;
using rw::RecordFile;

// Offsets of the record's own description.
QByteArray at(const QByteArray& r, int offset, int width) { return r.mid(offset, width); }
void place(QByteArray& r, int offset, int width, const QByteArray& v) {
    r.replace(offset, width, (v + QByteArray(width, ' ')).left(width));
}

int runDate(const QByteArray& r) {
    const auto v = rw::parseStrict(at(r, 11, 8));
    if (!v) rw::fail("run date is not a number");
    return int(*v);
}
bool between(const QByteArray& t, const char* lo, const char* hi) { return t >= lo && t <= hi; }

enum class Model { None, Siba, Dirt, Shog };
Model modelOf(const QByteArray& r) {
    if (runDate(r) < 20110101 || !between(at(r, 19, 2), "01", "10")) return Model::None;
    const QByteArray t = at(r, 1145, 2);
    if (between(t, "10", "22")) return Model::Siba;
    if (between(t, "23", "29")) return Model::Dirt;
    if (between(t, "50", "59")) return Model::Shog;
    return Model::None;
}
Surface surface(Model m) { return m == Model::Siba ? Surface::Turf : m == Model::Dirt ? Surface::Dirt : Surface::Jump; }

class DiskHorse : public ItemSources {
public:
    explicit DiskHorse(RecordFile& f) : file_(f) {}
    QByteArray record(int n) override { return file_.read(n); }
    std::optional<QByteArray> findStats(QStringView name, int length, QByteArrayView key) override {
        const QString path = rw::AppFile(name);
        RecordFile f(path, length);
        const qint64 count = qint64(std::nearbyint(double(QFile(path).size()) / length));
        const int w = length == 121 ? 5 : 10;
        for (qint64 n = 1; n <= count; ++n) {
            const QByteArray r = f.read(n);
            if (r.left(w) == key) return r;
        }
        return std::nullopt;
    }
    CategoryFinder& categories() override { return scan_; }

private:
    RecordFile& file_;
    ScannedCategories scan_;
};

void load(Model m, FactorModel& model, ModelParts parts) {
    if (const auto failure = LoadFactorModel(surface(m), model, parts)) rw::fail(failure->text().toStdString());
}

void horse(ExpandedState& st, const QByteArray& number) {
    RecordFile file(ExpandedRecordFile(number), 2603);
    const int c = int(file.count());
    if (c == 0) return;
    if (c > 32767) rw::fail("too many records");
    DiskHorse source(file);
    ScannedCategories scan;
    for (int u = c <= 3 ? 1 : c - 3; u <= c; ++u) {
        st.ExRecord = file.read(u);
        st.ExRecordNo = std::int16_t(u);
        auto blank = [&] {
            for (int i = 0; i < 3; ++i) place(st.ExRecord, 1709 + 7 * i, 7, "");
            place(st.ExRecord, 1849, 176, "");
        };
        if (runDate(st.ExRecord) < 20110101) {
            blank();
            file.write(u, st.ExRecord);
            continue;
        }
        if (!between(at(st.ExRecord, 19, 2), "01", "10") || !between(at(st.ExRecord, 1145, 2), "10", "59")) {
            blank();
        } else {
            place(st.ExRecord, 1709, 7, AgariSpeed(st.ExRecord));
            file.write(u, st.ExRecord);
            place(st.ExRecord, 1716, 7, PaceSpeed(st.ExRecord));
            file.write(u, st.ExRecord);
            place(st.ExRecord, 1723, 7, SohaSpeed(st.ExRecord));
            file.write(u, st.ExRecord);
            int offset = 1849;
            for (int k = 1; k <= 30; ++k) {
                const QByteArray code = kCategorisers[size_t(k - 1)].categorise(st, source);
                place(st.ExRecord, offset, kCategoryWidths[k], code);
                offset += kCategoryWidths[k];
                if (k < 30) file.write(u, st.ExRecord);
            }
        }
        file.write(u, st.ExRecord);
    }
    for (int v = 1; v <= c; ++v) {
        st.ExRecord = file.read(v);
        st.ExRecordNo = std::int16_t(v);
        const Model m = modelOf(st.ExRecord);
        if (m == Model::None) {
            for (int k = 1; k <= 30; ++k) place(st.ExRecord, 2025 + 4 * k, 4, "");
        } else {
            load(m, st.CurrentModel, ModelParts::CountsAndCodes);
            FindCategoryIndexes(st, st.CurrentModel, scan);
            for (int k = 1; k <= 30; ++k)
                place(st.ExRecord, 2025 + 4 * k, 4, QByteArray::number(st.FoundIndex[size_t(k)]));
        }
        file.write(v, st.ExRecord);
    }
    for (int v = 1; v <= c; ++v) {
        st.CurrentModel.clear();
        st.ExRecord = file.read(v);
        st.ExRecordNo = std::int16_t(v);
        const Model m = modelOf(st.ExRecord);
        if (m == Model::None) {
            for (int i = 6; i <= 9; ++i) place(st.ExRecord, 1709 + 7 * i, 7, "");
            for (int block : {2149, 2273, 2397})
                for (int k = 1; k <= 30; ++k) st.ExRecord.replace(block + 4 * k, 4, QByteArray(4, '\0'));
        } else {
            load(m, st.CurrentModel, ModelParts::Whole);
            ApplyFactorWeights(st, st.CurrentModel);
        }
        file.write(v, st.ExRecord);
    }
}

}  // namespace

void literalComputeRunFactors(ExpandedState& st, rw::SkipLog& log) {
    for (int i = 1; i <= st.WeekListCount; ++i) {
        const QByteArray number = st.WeekList.value(i - 1);
        log.step("horse " + rw::printable(number), [&] { horse(st, number); });
    }
}

}  // namespace rwtest
