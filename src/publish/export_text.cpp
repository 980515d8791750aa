#include "publish/export_text.h"

#include "common/cp932.h"
#include "common/fixed_text.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "prediction/runner_record.h"

#include <cmath>
#include <unordered_map>

namespace rw::publish {

using prediction::rr::CourseCode;
using prediction::rr::DayNo;
using prediction::rr::MeetingNo;
using prediction::rr::RaceMonthDay;
using prediction::rr::RaceNo;
using prediction::rr::RaceYear;

RaceKeyParts RaceKeyOf(const prediction::RunState& s) {
    auto get = [&](recordlayout::Field f) { return member(s.CurrentHorse, f.pos, f.width).toByteArray(); };
    return {get(RaceYear(0)), get(RaceMonthDay(0)), get(CourseCode(0)),
            get(MeetingNo(0)), get(DayNo(0)),        get(RaceNo(0))};
}

QByteArray DisplayForm(QByteArrayView t) {
    if (!t.isEmpty() && (t[0] == '0' || t[0] == ' ')) return t.sliced(1, qMin<qsizetype>(1, t.size() - 1)).toByteArray();
    return t.first(qMin<qsizetype>(2, t.size())).toByteArray();
}

const QByteArray& sj(const char8_t* text) {
    // Our texts are literals: one entry per literal for the program's life.
    // The map's nodes never move, so a reference stays good while later
    // texts are added (several may be taken in one expression).
    static std::unordered_map<const void*, QByteArray> encoded;
    auto it = encoded.find(text);
    if (it == encoded.end())
        it = encoded.emplace(text, cp932::encode(QString::fromUtf8(reinterpret_cast<const char*>(text)))).first;
    return it->second;
}

int WholeNumber(QByteArrayView text, const char* what) {
    const std::optional<double> v = parseStrict(text);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 32767)
        fail(std::string(what) + " \"" + printable(text) + "\" is not a whole number");
    return int(*v);
}

bool HasRankOne(const prediction::RunState& s) {
    for (int h = 1; h <= s.HorseCount; ++h)
        if (WholeNumber(at(s.PredRank, h), "predicted rank") == 1) return true;
    return false;
}

}  // namespace rw::publish
