#include "model/speeds.h"

#include "common/errors.h"
#include "common/numbers.h"
#include "model/item_rules.h"

#include <cmath>

namespace rw::model {
namespace {

bool isFlat(QByteArrayView record) { return textBetween(get(record, ex::TrackCode), "01", "29"); }
bool isJump(QByteArrayView record) { return textBetween(get(record, ex::TrackCode), "51", "59"); }

float number(QByteArrayView text, const char* what) { return float(strictNumber(text, what)); }

// T: minutes in the first character, seconds and tenths in the other three.
float runTime(QByteArrayView record) {
    const QByteArrayView t = get(record, ex::RaceTime);
    return number(t.first(1), "RaceTime minutes") * 600.0f + number(t.sliced(1), "RaceTime seconds");
}

float divided(float a, float b, const char* what) {
    if (b == 0) fail(what);
    return a / b;
}

}  // namespace

QByteArray SevenDigitSpeedText(float v) {
    const double x = std::floor(double(v) * 100000.0) + 10000000.0;
    return doubleText(x).right(7);
}

double SpeedValue(QByteArrayView text) { return valLenient(text) / 100000.0; }

QByteArray AgariSpeed(QByteArrayView record) {
    const QByteArrayView l3Text = get(record, ex::Last3FTime);
    if (l3Text == "   ") return kNoSpeed;
    const float l3 = number(l3Text, "Last3FTime");
    float v = 0;
    if (l3 != 0 && isFlat(record)) v = 21600.0f / l3;
    else if (l3 != 0 && isJump(record)) v = 7200.0f / l3;
    return SevenDigitSpeedText(v);
}

QByteArray PaceSpeed(QByteArrayView record) {
    const QByteArrayView l3Text = get(record, ex::Last3FTime);
    if (l3Text == "   ") return kNoSpeed;
    const float l3 = number(l3Text, "Last3FTime");
    float v = 0;
    const bool flat = isFlat(record);
    if (l3 != 0 && (flat || isJump(record))) {
        const float t = runTime(record);
        const float d = number(get(record, ex::Distance), "Distance");
        const float q = divided(d - (flat ? 600.0f : 200.0f), t - l3, "run time equals the last-three-furlongs time");
        v = q * 36.0f;
    }
    return SevenDigitSpeedText(v);
}

QByteArray SohaSpeed(QByteArrayView record) {
    const QByteArrayView timeText = get(record, ex::RaceTime);
    float v = 0;
    if (timeText != "    " && parseStrict(timeText) != 0.0) {
        const float t = runTime(record);
        const float d = number(get(record, ex::Distance), "Distance");
        v = divided(d, t, "run time of 0") * 36.0f;
    }
    return SevenDigitSpeedText(v);
}

}  // namespace rw::model
