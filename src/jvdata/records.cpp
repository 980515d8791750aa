#include "jvdata/records.h"

#include "common/fixed_text.h"

#include <array>
#include <cstring>

namespace rw::jv {

const std::vector<Field>& flatItems(Kind k) {
    static const std::array<std::vector<Field>, 10> all = [] {
        std::array<std::vector<Field>, 10> out;
        for (Kind kind : kAllKinds) {
            auto& v = out[size_t(kind)];
            int pos = 1, ipos = 1;
            for (const Row& r : layout(kind).rows)
                for (int e = 0; e < r.count; ++e)
                    for (int s = 0; s < r.nsubs(); ++s) {
                        const Sub& sub = r.subs[size_t(s)];
                        for (int c = 0; c < sub.count; ++c) {
                            v.push_back(Field{pos, sub.width, ipos, sub.imgWidth()});
                            pos += sub.width;
                            ipos += sub.imgWidth();
                        }
                    }
        }
        return out;
    }();
    return all[size_t(k)];
}

template <Kind K>
QByteArrayView Parsed<K>::item(Field f) const {
    return member(bytes, f);
}

template struct Parsed<Kind::RA>;
template struct Parsed<Kind::SE>;
template struct Parsed<Kind::HR>;
template struct Parsed<Kind::UM>;
template struct Parsed<Kind::KS>;
template struct Parsed<Kind::O1>;
template struct Parsed<Kind::O2>;
template struct Parsed<Kind::O4>;
template struct Parsed<Kind::O5>;
template struct Parsed<Kind::O6>;

namespace {

template <Kind K>
void parse(QByteArrayView record, Parsed<K>& out) {
    // One pass: the record is held once and every item is cut from it by
    // position on demand.
    out.bytes = record.first(std::min<qsizetype>(record.size(), layout(K).length)).toByteArray();
}

template <Kind K>
QByteArray toFixed(const Parsed<K>& rec) {
    const Layout& L = layout(K);
    QByteArray image(L.imageLength, ' ');
    if (L.imageLength == L.length) {
        // Image fields equal the published ones: each item lands where it
        // was, and items cut short by the record's end are blank-padded.
        std::memcpy(image.data(), rec.bytes.constData(), size_t(rec.bytes.size()));
        return image;
    }
    for (const Field& f : flatItems(K)) {
        QByteArrayView v = rec.item(f);
        if (v.isEmpty()) continue;  // beyond the record's end (no data at all): the blanks stay
        std::memcpy(image.data() + f.imagePos - 1, v.data(), size_t(std::min<qsizetype>(v.size(), f.imageWidth)));
    }
    return image;
}

}  // namespace

void ParseRA(QByteArrayView r, ParsedRA& o) { parse(r, o); }
void ParseSE(QByteArrayView r, ParsedSE& o) { parse(r, o); }
void ParseHR(QByteArrayView r, ParsedHR& o) { parse(r, o); }
void ParseUM(QByteArrayView r, ParsedUM& o) { parse(r, o); }
void ParseKS(QByteArrayView r, ParsedKS& o) { parse(r, o); }
void ParseO1(QByteArrayView r, ParsedO1& o) { parse(r, o); }
void ParseO2(QByteArrayView r, ParsedO2& o) { parse(r, o); }
void ParseO4(QByteArrayView r, ParsedO4& o) { parse(r, o); }
void ParseO5(QByteArrayView r, ParsedO5& o) { parse(r, o); }
void ParseO6(QByteArrayView r, ParsedO6& o) { parse(r, o); }

QByteArray ToFixedRA(const ParsedRA& r) { return toFixed(r); }
QByteArray ToFixedSE(const ParsedSE& r) { return toFixed(r); }
QByteArray ToFixedHR(const ParsedHR& r) { return toFixed(r); }
QByteArray ToFixedUM(const ParsedUM& r) { return toFixed(r); }
QByteArray ToFixedKS(const ParsedKS& r) { return toFixed(r); }

QByteArray ToFixed(Kind kind, QByteArrayView record) {
    switch (kind) {
    case Kind::RA: { ParsedRA p; ParseRA(record, p); return ToFixedRA(p); }
    case Kind::SE: { ParsedSE p; ParseSE(record, p); return ToFixedSE(p); }
    case Kind::HR: { ParsedHR p; ParseHR(record, p); return ToFixedHR(p); }
    case Kind::UM: { ParsedUM p; ParseUM(record, p); return ToFixedUM(p); }
    case Kind::KS: { ParsedKS p; ParseKS(record, p); return ToFixedKS(p); }
    default: return {};
    }
}

std::optional<Kind> kindOf(QByteArrayView record) {
    if (record.size() < 2) return std::nullopt;
    for (Kind k : kAllKinds)
        if (record.first(2) == QByteArrayView(layout(k).code)) return k;
    return std::nullopt;
}

}  // namespace rw::jv
