#include "publish/export_text.h"

#include "common/cp932.h"
#include "common/fixed_text.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "prediction/runner_record.h"

#include <cmath>

namespace rw::publish {

QByteArray DisplayForm(QByteArrayView t) {
    if (!t.isEmpty() && (t[0] == '0' || t[0] == ' ')) return t.sliced(1, qMin<qsizetype>(1, t.size() - 1)).toByteArray();
    return t.first(qMin<qsizetype>(2, t.size())).toByteArray();
}

int Int16Number(QByteArrayView text, const char* what) {
    const std::optional<double> v = parseStrict(text);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 32767)
        fail(std::string(what) + " \"" + printable(text) + "\" is not a whole number");
    return int(*v);
}

bool HasRankOne(const prediction::RunState& s) {
    for (int h = 1; h <= s.HorseCount; ++h)
        if (Int16Number(checkedAt(s.PredRank, h), "predicted rank") == 1) return true;
    return false;
}

}  // namespace rw::publish
