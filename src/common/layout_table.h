#pragma once
// The machinery of fixed-length record layouts: one table of rows per record,
// each row a published item or a repeated group of items, with the position
// its document gives it. The build checks that the widths add up to those
// positions and to the record's length; named members are looked up in the
// table at compile time, so no offset is written twice.
//
// A layout is any struct with `rows` (a span of Row), `length` and
// `imageLength` (0 when the record has no separate stored image). Positions in
// a table count from the layout's origin (1 for JV-Data, 0 for the system's own
// records); Field positions always count from 1.
#include <array>
#include <initializer_list>
#include <span>
#include <string_view>

namespace rw::recordlayout {

// How a member's bytes are read: text (code page 932, blanks or zero bytes
// where never assigned), or a block of little-endian single-precision numbers.
enum class Type { Text, Single };

// One item of a row; repeated `count` times in place. imageWidth differs from
// width only where the stored image keeps fewer bytes than published.
struct Sub {
    std::string_view name;
    int width = 0;
    int count = 1;
    int imageWidth = -1;
    Type type = Type::Text;
    constexpr int imgWidth() const { return imageWidth < 0 ? width : imageWidth; }
};

// A published item or group: `count` elements, each the concatenation of its
// subs.
struct Row {
    int pos = 0;  // published position of the first element
    std::string_view name;
    int count = 1;
    std::array<Sub, 10> subs{};

    constexpr int nsubs() const {
        int n = 0;
        while (n < int(subs.size()) && subs[n].width > 0) ++n;
        return n;
    }
    constexpr int elementWidth(bool image) const {
        int w = 0;
        for (int i = 0; i < nsubs(); ++i) w += subs[i].count * (image ? subs[i].imgWidth() : subs[i].width);
        return w;
    }
};

constexpr Row item(int pos, std::string_view name, int width) {
    Row r{pos, name, 1, {}};
    r.subs[0] = Sub{"", width};
    return r;
}
constexpr Row rep(int pos, std::string_view name, int count, int width) {
    Row r{pos, name, count, {}};
    r.subs[0] = Sub{"", width};
    return r;
}
// `count` single-precision numbers, four bytes each.
constexpr Row singles(int pos, std::string_view name, int count) {
    Row r{pos, name, count, {}};
    r.subs[0] = Sub{"", 4, 1, -1, Type::Single};
    return r;
}
constexpr Row group(int pos, std::string_view name, int count, std::initializer_list<Sub> subs) {
    Row r{pos, name, count, {}};
    int i = 0;
    for (const Sub& s : subs) r.subs[size_t(i++)] = s;
    return r;
}



// The layout of one of the system's own records (origin 0): its rows and
// its length, the same in the file as published.
struct OwnLayout {
    std::span<const Row> rows;
    int length;
    int imageLength;
};

// A member of a record: 1-based position and width, in the published record
// and in the image (they differ only for KS).
struct Field {
    int pos = 0;
    int width = 0;
    int imagePos = 0;
    int imageWidth = 0;
    Type type = Type::Text;
    constexpr int offset() const { return pos - 1; }  // from 0
};

template <class L>
constexpr Field findField(const L& layout, std::string_view row, std::string_view sub = {}, int element = 0,
                          int subElement = 0) {
    int pos = 1, ipos = 1;
    for (const Row& r : layout.rows) {
        const int ew = r.elementWidth(false), iew = r.elementWidth(true);
        if (r.name == row) {
            if (element < 0 || element >= r.count) throw "element out of range";
            pos += element * ew;
            ipos += element * iew;
            if (sub.empty() && r.nsubs() != 1) return Field{pos, ew, ipos, iew, r.subs[0].type};
            for (int i = 0; i < r.nsubs(); ++i) {
                const Sub& s = r.subs[size_t(i)];
                if (s.name == sub || (sub.empty() && r.nsubs() == 1)) {
                    if (subElement < 0 || subElement >= s.count) throw "sub-element out of range";
                    return Field{pos + subElement * s.width, s.width, ipos + subElement * s.imgWidth(), s.imgWidth(), s.type};
                }
                pos += s.count * s.width;
                ipos += s.count * s.imgWidth();
            }
            throw "unknown item";
        }
        pos += r.count * ew;
        ipos += r.count * iew;
    }
    throw "unknown row";
}

// The number of elements of row `row`.
template <class L>
constexpr int rowCount(const L& layout, std::string_view row) {
    for (const Row& r : layout.rows)
        if (r.name == row) return r.count;
    throw "unknown row";
}

// True when every row starts at its published position and the widths add
// up to the published and image lengths.
template <class L>
constexpr bool layoutIsConsistent(const L& layout, int origin = 1) {
    int pos = 1, ipos = 1;
    for (const Row& r : layout.rows) {
        if (r.pos - origin + 1 != pos || r.nsubs() == 0) return false;
        pos += r.count * r.elementWidth(false);
        ipos += r.count * r.elementWidth(true);
    }
    return pos - 1 == layout.length && (layout.imageLength == 0 || ipos - 1 == layout.imageLength);
}

}  // namespace rw::recordlayout
