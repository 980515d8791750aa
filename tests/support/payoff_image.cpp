#include "support/payoff_image.h"

#include "common/fixed_text.h"
#include "jvdata/layouts.h"

#include <string_view>

namespace rwtest {

namespace {
const char* itemOf(const char* group) {
    const std::string_view g(group);
    return g.rfind("win", 0) == 0 || g.rfind("place", 0) == 0 ? "horse number" : "combination";
}
}  // namespace

PayoffImage::PayoffImage(const rw::prediction::RunState& s) {
    image = QByteArray(719, ' ');
    image.replace(0, 11, "HR720260309");
    image.replace(11, 16, s.CurrentHorse.left(16));
    image.replace(717, 2, "\r\n");
}

PayoffImage& PayoffImage::entry(const char* group, int i, QByteArrayView comb, int yen, int popularity) {
    using rw::jv::findField;
    using rw::jv::kHR;
    combination(group, i, comb);
    const auto p = findField(kHR, group, "payout", i - 1);
    const auto q = findField(kHR, group, "popularity", i - 1);
    rw::putFixed(image, p.pos, p.width, QByteArray::number(yen).rightJustified(9, '0'));
    rw::putFixed(image, q.pos, q.width, QByteArray::number(popularity).rightJustified(q.width, '0'));
    return *this;
}

PayoffImage& PayoffImage::combination(const char* group, int i, QByteArrayView text) {
    const auto c = rw::jv::findField(rw::jv::kHR, group, itemOf(group), i - 1);
    rw::putFixed(image, c.pos, c.width, text);
    return *this;
}

}  // namespace rwtest
