#include "model/factor_model.h"

#include "common/errors.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/text_file.h"

#include <QFile>
#include <cmath>
#include <limits>

namespace rw::model {

namespace {

template <class T>
T at(const std::vector<T>& v, int j) {
    return j >= 0 && j < int(v.size()) ? v[size_t(j)] : T{};
}

// One model file read value by value; every failure names the file.
class ValueFile {
public:
    explicit ValueFile(const QString& systemName) : name_(systemName) {
        const QString path = AppFile(systemName);
        if (!QFile::exists(path)) stop(QStringLiteral("missing"));
        values_ = readValues(path);
    }

    QByteArray text() {
        if (next_ >= values_.size())
            stop(QStringLiteral("ends after %1 values").arg(values_.size()));
        return values_[next_++];
    }
    double number() {
        const QByteArray t = text();
        const auto v = parseStrict(t);
        if (!v) stop(QStringLiteral("value %1 is not a number").arg(next_));
        return *v;
    }
    std::int64_t whole(std::int64_t lo, std::int64_t hi) {
        const double v = number();
        if (v != std::floor(v)) stop(QStringLiteral("value %1 is not a whole number").arg(next_));
        if (v < double(lo) || v > double(hi))
            stop(QStringLiteral("value %1 lies outside %2 to %3").arg(next_).arg(lo).arg(hi));
        return std::int64_t(v);
    }
    float single() {
        const double d = number();
        const float f = float(d);
        if (!std::isfinite(f)) stop(QStringLiteral("value %1 overflows a Single").arg(next_));
        return f;
    }

    [[noreturn]] void stop(const QString& reason) const { throw ModelLoadFailure{name_, reason}; }

private:
    QString name_;
    QList<QByteArray> values_;
    qsizetype next_ = 0;
};

void readCountsAndCodes(const ModelFileNames& f, FactorModel& m) {
    {
        ValueFile counts(f.totalData);
        for (int i = 1; i <= kItemCount; ++i) m.CategoryCount[size_t(i)] = int(counts.whole(0, kMaxCategories));
    }
    ValueFile codes(f.codes);
    for (int i = 1; i <= kItemCount; ++i) {
        const int n = m.CategoryCount[size_t(i)];
        auto& c = m.CategoryCode[size_t(i)];
        c.assign(size_t(n) + 1, QByteArray());
        for (int j = 1; j <= n; ++j) c[size_t(j)] = codes.text();
    }
}

void readWeightsAndSamples(const ModelFileNames& f, FactorModel& m) {
    {
        // Opened together and read in step, as the system reads them: a short
        // pace file stops the load with the agari value of that category read.
        ValueFile agari(f.agari), pace(f.pace), soha(f.soha);
        for (int i = 1; i <= kItemCount; ++i) {
            const size_t n = size_t(m.CategoryCount[size_t(i)]) + 1;
            m.AgariWeight[size_t(i)].assign(n, 0.0f);
            m.PaceWeight[size_t(i)].assign(n, 0.0f);
            m.SohaWeight[size_t(i)].assign(n, 0.0f);
        }
        for (int i = 1; i <= kItemCount; ++i)
            for (int j = 1; j <= m.CategoryCount[size_t(i)]; ++j) {
                m.AgariWeight[size_t(i)][size_t(j)] = agari.single();
                m.PaceWeight[size_t(i)][size_t(j)] = pace.single();
                m.SohaWeight[size_t(i)][size_t(j)] = soha.single();
            }
    }
    ValueFile samples(f.sampleCounts);
    for (int i = 1; i <= kItemCount; ++i) {
        auto& s = m.SampleCount[size_t(i)];
        s.assign(size_t(m.CategoryCount[size_t(i)]) + 1, 0);
        for (int j = 1; j <= m.CategoryCount[size_t(i)]; ++j)
            s[size_t(j)] = std::int32_t(
                samples.whole(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    }
}

}  // namespace

QByteArrayView FactorModel::code(int item, int category) const {
    if (item < 0 || item > kItemCount) return {};
    const auto& v = CategoryCode[size_t(item)];
    return category >= 0 && category < int(v.size()) ? QByteArrayView(v[size_t(category)]) : QByteArrayView();
}
float FactorModel::agari(int item, int category) const {
    return item >= 0 && item <= kItemCount ? at(AgariWeight[size_t(item)], category) : 0.0f;
}
float FactorModel::pace(int item, int category) const {
    return item >= 0 && item <= kItemCount ? at(PaceWeight[size_t(item)], category) : 0.0f;
}
float FactorModel::soha(int item, int category) const {
    return item >= 0 && item <= kItemCount ? at(SohaWeight[size_t(item)], category) : 0.0f;
}
std::int32_t FactorModel::samples(int item, int category) const {
    return item >= 0 && item <= kItemCount ? at(SampleCount[size_t(item)], category) : 0;
}

void FactorModel::clear() { *this = FactorModel{}; }

std::optional<ModelLoadFailure> LoadFactorModel(Surface s, FactorModel& model, ModelParts parts) {
    const ModelFileNames f = ModelFiles(s);
    try {
        readCountsAndCodes(f, model);
        if (parts == ModelParts::Whole) readWeightsAndSamples(f, model);
    } catch (const ModelLoadFailure& failure) {
        return failure;
    }
    return std::nullopt;
}

void ReadFactorModel(Surface s, FactorModel& model, ModelParts parts) {
    if (auto failure = LoadFactorModel(s, model, parts)) fail(failure->text().toStdString());
}

}  // namespace rw::model
