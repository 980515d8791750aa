// Fuzzing the JV-Data parsers and image builders. The first input byte picks
// one of the ten kinds (modulo 10, in kAllKinds order); the rest is the record
// as received: any length, any bytes.
//
//   records_fuzz [libFuzzer flags] CORPUS_DIR...
//   records_fuzz --write-seeds DIR    writes a few well-formed, short, long
//                                     and empty records of every kind
#include "common/cp932.h"
#include "common/fixed_text.h"
#include "jvdata/records.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string_view>

using namespace rw;
using namespace rw::jv;

#define FUZZ_CHECK(cond)                                                                              \
    do {                                                                                              \
        if (!(cond)) {                                                                                \
            std::fprintf(stderr, "invariant failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);        \
            __builtin_trap();                                                                         \
        }                                                                                             \
    } while (0)

namespace {

// How much of a record is checked as one text.
constexpr qsizetype kTextChecked = 1024;

// Item contents met so far in one input, as views into its record: a table
// of fixed size that allocates nothing (an input that allocates more than it
// frees sends the fuzzer looking for leaks). When the table is crowded a
// content counts as new, so it is checked once more rather than skipped.
class SeenContents {
public:
    void clear() {
        if (++generation_ == 0) {  // wrapped: every slot would look current
            slots_.fill({});
            generation_ = 1;
        }
    }
    // True when `content` was not met before in this input.
    bool insert(std::string_view content) {
        const size_t h = std::hash<std::string_view>{}(content);
        for (size_t i = 0; i < kProbes; ++i) {
            Slot& slot = slots_[(h + i) & (kSlots - 1)];
            if (slot.generation != generation_) {
                slot = {generation_, content};
                return true;
            }
            if (slot.content == content) return false;
        }
        return true;
    }

private:
    static constexpr size_t kSlots = size_t(1) << 15;
    static constexpr size_t kProbes = 8;
    struct Slot {
        unsigned generation = 0;
        std::string_view content;
    };
    std::array<Slot, kSlots> slots_{};
    unsigned generation_ = 0;
};

bool allBlanks(QByteArrayView b) {
    return std::all_of(b.begin(), b.end(), [](char c) { return c == ' '; });
}

// What holds for any bytes read as code page 932 text. `cuts` are the
// character counts tried with firstChars.
void checkText(QByteArrayView b, std::initializer_list<int> cuts, bool roundTrip) {
    const QString s = cp932::decode(b);
    FUZZ_CHECK(s.size() <= b.size());  // at most one character per byte
    const int count = cp932::charCount(b);
    FUZZ_CHECK(count == s.size());
    for (int n : cuts) {
        if (n < 0) n = count + 1 + n;  // counted back from one past the end
        const QByteArray head = cp932::firstChars(b, n);
        FUZZ_CHECK(b.startsWith(head));
        FUZZ_CHECK(cp932::decode(head) == QStringView(s).left(n));
    }
    if (!roundTrip) return;
    bool replaced = false;
    for (QChar c : s) {
        FUZZ_CHECK(!c.isSurrogate());  // the code page lies in the BMP
        replaced = replaced || c.unicode() == 0xFFFD;
    }
    // Every decoded character has a code page form that decodes back to it.
    if (!replaced) FUZZ_CHECK(cp932::decode(cp932::encode(s)) == s);
}

template <Kind K>
void exercise(QByteArrayView rec, void (*parse)(QByteArrayView, Parsed<K>&),
              QByteArray (*toFixed)(const Parsed<K>&)) {
    const Layout& L = layout(K);
    const qsizetype kept = std::min<qsizetype>(rec.size(), L.length);

    // Kept across inputs, as the windows keep theirs: a parse must leave
    // nothing of the record before.
    static Parsed<K> p;
    parse(rec, p);
    FUZZ_CHECK(p.bytes.size() == kept);
    FUZZ_CHECK(QByteArrayView(p.bytes) == rec.first(kept));

    const std::vector<Field>& items = flatItems(K);
    // The text checks of an item depend on its bytes alone, and an odds
    // record repeats a few item contents thousands of times: each content
    // is checked once per input.
    static SeenContents seen;
    seen.clear();
    qsizetype pos = 1;
    for (const Field& f : items) {
        const QByteArrayView v = p.item(f);
        FUZZ_CHECK(v.size() <= f.width);
        // The record's bytes at the item's place, as far as the record goes.
        const qsizetype start = f.pos - 1;
        const qsizetype avail = start < kept ? std::min<qsizetype>(f.width, kept - start) : 0;
        FUZZ_CHECK(v.size() == avail);
        FUZZ_CHECK(avail == 0 || std::memcmp(v.data(), rec.data() + start, size_t(avail)) == 0);
        // Items tile the record.
        FUZZ_CHECK(f.pos == pos);
        if (!seen.insert(avail == 0 ? std::string_view() : std::string_view(v.data(), size_t(avail)))) {
            pos += f.width;
            continue;
        }
        // Cutting item after item from the whole record gives the same bytes.
        FUZZ_CHECK(CutBytes(rec, pos, f.width) == v);
        // Items are read as text one by one (a character cut at an item's
        // end never borrows from the next): cut in the middle and whole.
        checkText(v, {int(v.size() / 3)}, false);
        const QByteArray t = trimmedRight(v);
        FUZZ_CHECK(v.startsWith(t) && (t.isEmpty() || t.back() != ' ') && allBlanks(v.sliced(t.size())));
    }
    FUZZ_CHECK(pos == L.length + 1);
    // The record as one text, cut at many places. Its first 1 KB at most:
    // a longer text only repeats the same steps character by character,
    // and the largest odds record read whole would cost each input tens of
    // milliseconds.
    const QByteArrayView text = rec.first(std::min<qsizetype>(rec.size(), kTextChecked));
    checkText(text, {0, 1, 2, int(text.size() / 4), int(text.size() / 2), int(text.size() - 2), -2, -1}, true);

    if (toFixed) {
        const QByteArray img = toFixed(p);
        FUZZ_CHECK(img.size() == L.imageLength);
        if (L.imageLength == L.length) {
            FUZZ_CHECK(QByteArrayView(img).first(kept) == rec.first(kept));
            FUZZ_CHECK(allBlanks(QByteArrayView(img).sliced(kept)));
        } else {
            const qsizetype same = std::min<qsizetype>(kept, 1015);  // KS: up to the accumulated results
            FUZZ_CHECK(QByteArrayView(img).first(same) == rec.first(same));
        }
        // Item by item, each left-aligned into its image field.
        QByteArray expect(L.imageLength, '\0');
        for (const Field& f : items) putFixed(expect, f.imagePos, f.imageWidth, p.item(f));
        FUZZ_CHECK(img == expect);
    }

    const std::optional<Kind> k = kindOf(rec);
    if (rec.size() >= 2 && rec.first(2) == QByteArrayView(L.code)) FUZZ_CHECK(k == K);
    if (k) FUZZ_CHECK(rec.first(2) == QByteArrayView(layout(*k).code));
}

void run(Kind k, QByteArrayView rec) {
    switch (k) {
    case Kind::RA: exercise<Kind::RA>(rec, ParseRA, ToFixedRA); break;
    case Kind::SE: exercise<Kind::SE>(rec, ParseSE, ToFixedSE); break;
    case Kind::HR: exercise<Kind::HR>(rec, ParseHR, ToFixedHR); break;
    case Kind::UM: exercise<Kind::UM>(rec, ParseUM, ToFixedUM); break;
    case Kind::KS: exercise<Kind::KS>(rec, ParseKS, ToFixedKS); break;
    case Kind::O1: exercise<Kind::O1>(rec, ParseO1, nullptr); break;
    case Kind::O2: exercise<Kind::O2>(rec, ParseO2, nullptr); break;
    case Kind::O4: exercise<Kind::O4>(rec, ParseO4, nullptr); break;
    case Kind::O5: exercise<Kind::O5>(rec, ParseO5, nullptr); break;
    case Kind::O6: exercise<Kind::O6>(rec, ParseO6, nullptr); break;
    }
}

// ---- Seeds -----------------------------------------------------------------

// A well-formed record: digits, a name of double-byte and half-width
// characters where the kind has one, CR LF at the end.
QByteArray wellFormed(Kind k) {
    const Layout& L = layout(k);
    QByteArray r(L.length, '0');
    for (int i = 0; i < L.length; ++i) r[i] = char('0' + (i * 7) % 10);
    r.replace(0, 2, QByteArray(L.code.data(), 2));
    r[2] = '7';
    r[L.length - 2] = '\r';
    r[L.length - 1] = '\n';
    Field name{};
    if (k == Kind::RA) name = ra::RaceName;
    if (k == Kind::SE) name = se::HorseName;
    if (k == Kind::UM) name = um::HorseName;
    if (k == Kind::KS) name = findField(kKS, "jockey name");
    if (name.width) {
        const QByteArray n = cp932::encode(QString::fromUtf8("髙橋ﾃｽﾄ①～競走馬"));
        r.replace(name.pos - 1, name.width, n.leftJustified(name.width, ' ', true));
    }
    return r;
}

bool writeSeeds(const QString& dir) {
    if (!QDir().mkpath(dir)) return false;
    auto put = [&](Kind k, const char* variant, const QByteArray& rec) {
        QFile f(dir + QStringLiteral("/") + QString::fromLatin1(layout(k).code) + QStringLiteral("-") +
                QString::fromLatin1(variant));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               f.write(char(int(k)) + rec) == rec.size() + 1;
    };
    bool ok = true;
    for (Kind k : kAllKinds) {
        const QByteArray full = wellFormed(k);
        ok = put(k, "full", full) && ok;
        if (full.size() < 5000) {
            // Cut one byte into the name's second character, and past the end.
            ok = put(k, "short", full.left(std::min<qsizetype>(full.size() - 3, 45))) && ok;
            ok = put(k, "long", full + "RA7EXTRA") && ok;
        }
    }
    ok = put(Kind::RA, "empty", {}) && ok;
    ok = put(Kind::KS, "empty", {}) && ok;
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    if (*argc >= 3 && std::strcmp((*argv)[1], "--write-seeds") == 0)
        std::exit(writeSeeds(QString::fromLocal8Bit((*argv)[2])) ? 0 : 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const Kind k = kAllKinds[data[0] % kAllKinds.size()];
    run(k, QByteArrayView(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)));
    return 0;
}
