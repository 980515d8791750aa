#pragma once
// KESTRAVEXPDTHISWEEKNZ: the factor model of the package and its reader.
//
// FactorModel: the Quantification-Method-I model of running speed of one
// surface. Items 1 to 30 (item 0 unused); categories 1 to CategoryCount(i),
// at most 6000; category 0 is "no category" (empty code, weights 0, count 0).
//   CategoryCount[i]      number of categories of item i
//   CategoryCode[i][j]    code of category j, CP932 bytes as delivered (a
//                         quoted value keeps its blanks: lookups compare
//                         whole fields)
//   AgariWeight[i][j], PaceWeight[i][j], SohaWeight[i][j]   km/h, Single
//   SampleCount[i][j]     32-bit
// The vectors hold elements 0 to CategoryCount(i); code(), agari() … read
// any (item, category) safely and give "" or 0 beyond them.
//
// LoadFactorModel reads a surface's model files (package_files.h) value by
// value in the system's order: the 30 counts (further values not read), the
// codes, the three weight files in step (the jump model's three tables all
// from its soha file), the sample counts. It stops at the first file that is
// missing, ends early, holds a value that is not a number where a number is
// read, or a count outside 0 to 6000; what was read before stays in the
// model, and the failure names the file and the reason. The window's load,
// the compute pass (per record, counts and codes or the whole model) and the
// model-weight viewers use this one reader.
//
// ReadFactorModelForViewing is its tolerant form, for the model-weight
// viewers, which show the package as delivered and must open whatever it
// holds: the same files in the same order, but no fault stops the reading.
// A missing or unreadable file gives no values; a count that is not a whole
// number from 0 to 6000 reads as 0 (one above 6000 as 6000); an item never
// takes more categories than its files still hold values, so a hostile count
// allocates nothing; a missing code is empty, a missing or non-numeric
// sample count or weight is 0. Every fault is recorded in the log, one line
// per file and kind of fault with its first place and its number.
#include "model/package_files.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace rw {
class SkipLog;
}

namespace rw::model {

inline constexpr int kItemCount = 30;
inline constexpr int kMaxCategories = 6000;

struct FactorModel {
    std::array<int, kItemCount + 1> CategoryCount{};
    std::array<std::vector<QByteArray>, kItemCount + 1> CategoryCode;
    std::array<std::vector<float>, kItemCount + 1> AgariWeight;
    std::array<std::vector<float>, kItemCount + 1> PaceWeight;
    std::array<std::vector<float>, kItemCount + 1> SohaWeight;
    std::array<std::vector<std::int32_t>, kItemCount + 1> SampleCount;

    QByteArrayView code(int item, int category) const;
    float agari(int item, int category) const;
    float pace(int item, int category) const;
    float soha(int item, int category) const;
    std::int32_t samples(int item, int category) const;

    // Every table empty and every count 0, as a new window holds it.
    void clear();
};

// Read once per weight of every record of ⑤: inline.
namespace factormodel {
template <class T>
T valueAt(const std::vector<T>& v, int j) {
    return j >= 0 && j < int(v.size()) ? v[size_t(j)] : T{};
}
}  // namespace factormodel
inline float FactorModel::agari(int item, int category) const {
    return item >= 0 && item <= kItemCount ? factormodel::valueAt(AgariWeight[size_t(item)], category) : 0.0f;
}
inline float FactorModel::pace(int item, int category) const {
    return item >= 0 && item <= kItemCount ? factormodel::valueAt(PaceWeight[size_t(item)], category) : 0.0f;
}
inline float FactorModel::soha(int item, int category) const {
    return item >= 0 && item <= kItemCount ? factormodel::valueAt(SohaWeight[size_t(item)], category) : 0.0f;
}
inline std::int32_t FactorModel::samples(int item, int category) const {
    return item >= 0 && item <= kItemCount ? factormodel::valueAt(SampleCount[size_t(item)], category) : 0;
}

// Which files a load reads: the compute pass's category lookups need the
// counts and codes only.
enum class ModelParts { CountsAndCodes, Whole };

struct ModelLoadFailure {
    QString file;    // system name, "OPTION1N\…"
    QString reason;  // "missing", "ends after 12 values", …
    QString text() const { return file + QStringLiteral(": ") + reason; }
};

// Reads the surface's model into `model` (see above). nullopt when every
// file was read.
std::optional<ModelLoadFailure> LoadFactorModel(Surface s, FactorModel& model,
                                                ModelParts parts = ModelParts::Whole);
// The same, throwing StepFailure with the failure's text.
void ReadFactorModel(Surface s, FactorModel& model, ModelParts parts = ModelParts::Whole);

// The tolerant reading of the whole model (see above); `model` is replaced.
void ReadFactorModelForViewing(Surface s, FactorModel& model, SkipLog& log);

}  // namespace rw::model
