#include "model/factor_model.h"

#include "common/errors.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/skip.h"
#include "common/text_file.h"

#include <QFile>
#include <algorithm>
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
        // A file that cannot be opened or read (a folder in its place, no
        // permission) stops the load like a missing one.
        try {
            values_ = readValues(path);
        } catch (const std::exception& e) {
            stop(QString::fromStdString(e.what()));
        }
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

// One model file of the tolerant reading: its values, the next one's place,
// and its faults counted by kind (each reported once, with its first place
// and its number, so that a hostile file writes a line, not a flood).
class TolerantValues {
public:
    TolerantValues(const QString& systemName, SkipLog& log) : name_(systemName), log_(log) {
        const QString path = AppFile(systemName);
        if (!QFile::exists(path)) {
            absent_ = QStringLiteral("missing");
            return;
        }
        try {
            values_ = readValues(path);
        } catch (const std::exception& e) {
            absent_ = QStringLiteral("unreadable (%1)").arg(QString::fromStdString(e.what()));
        }
    }
    TolerantValues(const TolerantValues&) = delete;
    TolerantValues& operator=(const TolerantValues&) = delete;
    ~TolerantValues() {
        if (!absent_.isEmpty()) {
            log_.record(name_.toStdString(),
                        (next_ ? QStringLiteral("%1: its %2 values shown empty or 0").arg(absent_).arg(next_) : absent_)
                            .toStdString());
            return;
        }
        for (const Fault& f : faults_)
            log_.record(
                name_.toStdString(),
                QStringLiteral("%1 from value %2 on, %3 in all").arg(f.kind).arg(f.first).arg(f.count).toStdString());
    }

    qsizetype remaining() const { return next_ < values_.size() ? values_.size() - next_ : 0; }

    // The next value; past the end nothing, counted as missing.
    QByteArray text() {
        ++next_;
        if (next_ > values_.size()) {
            fault(QStringLiteral("value missing (the file ends after %1 values)").arg(values_.size()));
            return {};
        }
        return values_[next_ - 1];
    }
    // The next value as a number; nullopt (and a fault) when it is missing
    // or not a number.
    std::optional<double> number() {
        const qsizetype before = values_.size();
        const QByteArray t = text();
        if (next_ > before) return std::nullopt;
        const auto v = parseStrict(t);
        if (!v) fault(QStringLiteral("not a number, read as 0"));
        return v;
    }
    std::int64_t whole(std::int64_t lo, std::int64_t hi, const QString& kind) {
        const auto v = number();
        if (!v) return 0;
        if (*v != std::floor(*v) || *v < double(lo) || *v > double(hi)) {
            fault(kind);
            return 0;
        }
        return std::int64_t(*v);
    }
    float single() {
        const auto v = number();
        if (!v) return 0.0f;
        const float f = float(*v);
        if (!std::isfinite(f)) {
            fault(QStringLiteral("beyond a Single, read as 0"));
            return 0.0f;
        }
        return f;
    }

    void fault(const QString& kind) {
        for (Fault& f : faults_)
            if (f.kind == kind) {
                ++f.count;
                return;
            }
        faults_.push_back({kind, next_, 1});
    }

private:
    struct Fault {
        QString kind;
        qsizetype first;
        qsizetype count;
    };
    QString name_;
    SkipLog& log_;
    QString absent_;  // why the file gave no values: "missing", "unreadable (…)"
    QList<QByteArray> values_;
    qsizetype next_ = 0;  // values taken so far, missing ones included
    std::vector<Fault> faults_;
};

void readCountsForViewing(const QString& file, FactorModel& m, SkipLog& log) {
    TolerantValues counts(file, log);
    for (int i = 1; i <= kItemCount; ++i) {
        const auto v = counts.number();
        int n = 0;
        if (v && *v == std::floor(*v) && *v >= 0) {
            n = *v > kMaxCategories ? kMaxCategories : int(*v);
            if (*v > kMaxCategories) counts.fault(QStringLiteral("a count above %1, read as %1").arg(kMaxCategories));
        } else if (v) {
            counts.fault(
                QStringLiteral("a count that is not a whole number from 0 to %1, read as 0").arg(kMaxCategories));
        }
        m.CategoryCount[size_t(i)] = n;
    }
}

}  // namespace

QByteArrayView FactorModel::code(int item, int category) const {
    if (item < 0 || item > kItemCount) return {};
    const auto& v = CategoryCode[size_t(item)];
    return category >= 0 && category < int(v.size()) ? QByteArrayView(v[size_t(category)]) : QByteArrayView();
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

void ReadFactorModelForViewing(Surface s, FactorModel& model, SkipLog& log) {
    model.clear();
    const ModelFileNames f = ModelFiles(s);
    readCountsForViewing(f.totalData, model, log);
    // The five in step: code, sample count, agari, pace, soha (the jump
    // model's soha file read three times, each from its start).
    TolerantValues codes(f.codes, log), samples(f.sampleCounts, log), agari(f.agari, log), pace(f.pace, log),
        soha(f.soha, log);
    const QString sampleKind = QStringLiteral("a sample count that is not a 32-bit whole number, read as 0");
    for (int i = 1; i <= kItemCount; ++i) {
        int n = model.CategoryCount[size_t(i)];
        const qsizetype held =
            std::max({codes.remaining(), samples.remaining(), agari.remaining(), pace.remaining(), soha.remaining()});
        if (n > held) {
            log.record(f.totalData.toStdString(), QStringLiteral("item %1 counts %2 categories, its files hold %3 more "
                                                                 "values: %3 shown")
                                                      .arg(i)
                                                      .arg(n)
                                                      .arg(held)
                                                      .toStdString());
            n = int(held);
            model.CategoryCount[size_t(i)] = n;
        }
        const size_t size = size_t(n) + 1;
        model.CategoryCode[size_t(i)].assign(size, QByteArray());
        model.SampleCount[size_t(i)].assign(size, 0);
        model.AgariWeight[size_t(i)].assign(size, 0.0f);
        model.PaceWeight[size_t(i)].assign(size, 0.0f);
        model.SohaWeight[size_t(i)].assign(size, 0.0f);
        for (int j = 1; j <= n; ++j) {
            model.CategoryCode[size_t(i)][size_t(j)] = codes.text();
            model.SampleCount[size_t(i)][size_t(j)] = std::int32_t(samples.whole(
                std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), sampleKind));
            model.AgariWeight[size_t(i)][size_t(j)] = agari.single();
            model.PaceWeight[size_t(i)][size_t(j)] = pace.single();
            model.SohaWeight[size_t(i)][size_t(j)] = soha.single();
        }
    }
}

}  // namespace rw::model
