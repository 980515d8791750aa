#pragma once
// The item categorisers' world in memory: one horse's records, statistics
// records by file and key, and models built category by category.
#include "ex_fixture.h"
#include "model/categorisers.h"
#include "model/stats_files.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <gtest/gtest.h>
#include <map>
#include <utility>

namespace rwtest {

// A statistics record of `length` bytes: blanks, the key, the fields given,
// CR LF.
inline QByteArray statsRecord(int length, QByteArrayView key, std::initializer_list<FieldValue> values = {}) {
    QByteArray r(length, ' ');
    r.replace(0, key.size(), key.toByteArray());
    r.replace(length - 2, 2, "\r\n");
    for (const auto& [f, v] : values) rw::putFixed(r, f.pos, f.width, v);
    return r;
}

// A category of a model: its code and weights.
struct Category {
    QByteArray code;
    float agari = 0, pace = 0, soha = 0;
    int samples = 1;
};

// Item `item` of `m` gets the categories given, numbered from 1.
inline void setItem(rw::model::FactorModel& m, int item, const QList<Category>& cats) {
    const size_t i = size_t(item), n = size_t(cats.size()) + 1;
    m.CategoryCount[i] = int(cats.size());
    m.CategoryCode[i].assign(n, QByteArray());
    m.AgariWeight[i].assign(n, 0.0f);
    m.PaceWeight[i].assign(n, 0.0f);
    m.SohaWeight[i].assign(n, 0.0f);
    m.SampleCount[i].assign(n, 0);
    for (size_t j = 1; j < n; ++j) {
        const Category& c = cats[qsizetype(j - 1)];
        m.CategoryCode[i][j] = c.code;
        m.AgariWeight[i][j] = c.agari;
        m.PaceWeight[i][j] = c.pace;
        m.SohaWeight[i][j] = c.soha;
        m.SampleCount[i][j] = c.samples;
    }
}

// The open horse file in memory; the current record is the last one.
class Horse : public rw::model::ItemSources {
public:
    QList<QByteArray> runs;
    std::map<std::pair<QString, QByteArray>, QByteArray> stats;
    rw::model::ScannedCategories scan;
    rw::model::ExpandedState state;

    QByteArray record(int n) override {
        EXPECT_TRUE(n >= 1 && n <= runs.size()) << "record " << n << " of " << runs.size();
        return n >= 1 && n <= runs.size() ? runs[n - 1] : QByteArray(rw::model::kExRecordLength, '\0');
    }
    std::optional<QByteArray> findStats(QStringView file, int length, QByteArrayView key) override {
        const auto it = stats.find({file.toString(), key.toByteArray()});
        if (it == stats.end() || it->second.size() != length) return std::nullopt;
        return it->second;
    }
    rw::model::CategoryFinder& categories() override { return scan; }

    void addStats(const char16_t* file, const QByteArray& record) {
        const int w = rw::model::StatsKeyWidth(int(record.size()));
        stats[{QString::fromUtf16(file), record.left(w)}] = record;
    }

    // Item k's code of the last record; the buffer must hold that record
    // afterwards.
    QByteArray code(int item) {
        state.ExRecordNo = std::int16_t(runs.size());
        state.ExRecord = QByteArray(rw::model::kExRecordLength, 'x');
        const QByteArray c = rw::model::kCategorisers[size_t(item - 1)].categorise(state, *this);
        EXPECT_EQ(state.ExRecord, runs.back()) << "item " << item << " left another record in the buffer";
        return c;
    }
};

// The fields of one record of a case (the others as exRecord sets them).
using Fields = QList<FieldValue>;

struct ItemCase {
    const char* what;
    QList<Fields> runs;  // records 1 to n; record n is classified
    QByteArray code;
};

// Each case on a horse of its own, set up by `setup`.
inline void expectCodes(int item, const QList<ItemCase>& cases, void (*setup)(Horse&) = nullptr) {
    for (const ItemCase& c : cases) {
        Horse h;
        if (setup) setup(h);
        for (const Fields& r : c.runs) h.runs.append(exRecord(r));
        EXPECT_EQ(h.code(item), c.code) << "item " << item << ": " << c.what;
    }
}

}  // namespace rwtest
