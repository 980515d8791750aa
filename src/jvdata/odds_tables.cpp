#include "jvdata/odds_tables.h"

#include "common/control_names.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "jvdata/race_key.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"

#include <QFile>
#include <cmath>
#include <cstring>

namespace rw::jv {

QString OddsTableFile(QByteArrayView raceId, const char16_t* kindWord) {
    return AppFile(inFolder(kKaimeFolder, checkedRaceId(raceId) + QString::fromUtf16(kindWord) + QStringLiteral("ODDS.dat")));
}

// ---- the grids --------------------------------------------------------------

OddsGrids::OddsGrids() {
    const Text zero = format(0.0f);
    trioText_.fill(zero);
    pairText_.fill(zero);
}

OddsGrids::Text OddsGrids::format(float v) {
    Text t{};
    // Every value a record gives is float(n / 10) for a whole n of at most
    // seven digits; printed with seven significant digits that is n / 10
    // itself, so its digits are written directly. Anything else goes
    // through the general printer.
    const double tenfold = double(v) * 10.0;
    if (v >= 0.0f && tenfold <= 9999999.0) {
        const auto n = static_cast<std::int64_t>(std::llround(tenfold));
        if (float(double(n) / 10.0) == v) {
            char digits[16];
            int len = 0;
            std::int64_t whole = n / 10;
            do {
                digits[len++] = char('0' + whole % 10);
                whole /= 10;
            } while (whole > 0);
            while (len > 0) t.bytes[t.size++] = digits[--len];
            if (n % 10 != 0) {
                t.bytes[t.size++] = '.';
                t.bytes[t.size++] = char('0' + n % 10);
            }
            return t;
        }
    }
    const QByteArray s = singleText(v);
    t.size = std::uint8_t(std::min<qsizetype>(s.size(), qsizetype(sizeof t.bytes)));
    std::memcpy(t.bytes, s.constData(), t.size);
    return t;
}

QByteArray OddsGrids::cellText(float v) {
    const Text t = format(v);
    return QByteArray(t.bytes, t.size);
}

void OddsGrids::setTrio(int a, int b, int c, float v) {
    const size_t i = size_t(trioLine(a, b, c) - 1);
    if (trio_[i] == v) return;  // same value, same text
    trio_[i] = v;
    trioText_[i] = format(v);
}

void OddsGrids::setPair(int a, int b, float v) {
    const size_t i = size_t(pairLine(a, b) - 1);
    if (pair_[i] == v) return;
    pair_[i] = v;
    pairText_[i] = format(v);
}

namespace {
template <size_t N>
QByteArray tableText(const std::array<OddsGrids::Text, N>& texts) {
    qsizetype size = 0;
    for (const auto& t : texts) size += t.size + 2;
    QByteArray out(size, Qt::Uninitialized);
    char* p = out.data();
    for (const auto& t : texts) {
        std::memcpy(p, t.bytes, t.size);
        p += t.size;
        *p++ = '\r';
        *p++ = '\n';
    }
    return out;
}
}  // namespace

QByteArray OddsGrids::trioTable() const { return tableText(trioText_); }
QByteArray OddsGrids::pairTable() const { return tableText(pairText_); }

OddsGrids& ProgramOddsGrids() {
    static OddsGrids grids;
    return grids;
}

// ---- values -----------------------------------------------------------------

float OddsValue(QByteArrayView text) {
    // No odds: all zeros, all "-" (not sold), all "*" (withdrawn), all blanks.
    if (!text.isEmpty()) {
        const char c0 = text[0];
        if (c0 == '0' || c0 == '-' || c0 == '*' || c0 == ' ') {
            bool same = true;
            for (char c : text)
                if (c != c0) {
                    same = false;
                    break;
                }
            if (same) return 0.0f;
        }
    }
    // Digits only, the usual case: the same number without the general reader.
    if (!text.isEmpty() && text.size() <= 9) {
        std::int64_t n = 0;
        bool digits = true;
        for (char c : text) {
            if (c < '0' || c > '9') {
                digits = false;
                break;
            }
            n = n * 10 + (c - '0');
        }
        if (digits) return float(double(n) / 10.0);
    }
    return float(valLenient(text) / 10.0);
}

// ---- the load ---------------------------------------------------------------

namespace {

// A horse number of a combination: the two characters read leniently (a
// blank pair is horse 0); -1 when it lies outside the grids.
int horseNumber(QByteArrayView two) {
    if (two.size() == 2 && two[0] >= '0' && two[0] <= '9' && two[1] >= '0' && two[1] <= '9') {
        const int v = (two[0] - '0') * 10 + (two[1] - '0');
        return v <= 18 ? v : -1;
    }
    const double v = valLenient(two);
    if (!(v >= 0.0 && v <= 18.0)) return -1;
    return int(v);
}

struct Source {
    const char16_t* week;
    const char16_t* flash;
    Kind kind;
    const char16_t* word;
};

constexpr Source kSources[] = {
    {kO6WeekFile, kO6FlashFile, Kind::O6, kSanrentanOddsWord},
    {kO5WeekFile, kO5FlashFile, Kind::O5, kSanrenOddsWord},
    {kO4WeekFile, kO4FlashFile, Kind::O4, kUmatanOddsWord},
    {kO2WeekFile, kO2FlashFile, Kind::O2, kUmarenOddsWord},
};

template <Kind K>
void parseOdds(QByteArrayView line, Parsed<K>& rec) {
    if constexpr (K == Kind::O6) ParseO6(line, rec);
    else if constexpr (K == Kind::O5) ParseO5(line, rec);
    else if constexpr (K == Kind::O4) ParseO4(line, rec);
    else ParseO2(line, rec);
}

template <Kind K>
int processFile(OddsGrids& grids, const Source& src, std::int16_t flag, SkipLog& log) {
    const Layout& L = layout(K);
    constexpr bool threeHorses = K == Kind::O6 || K == Kind::O5;
    const QString path = AppFile(flag == 0 ? src.week : src.flash);
    // Odds processing started before the odds were fetched: nothing to build.
    if (!QFile::exists(path)) {
        log.record("odds source", (QStringLiteral("missing ") + path).toStdString());
        return 0;
    }
    LineReader reader(path);
    if (!log.step("odds source", [&] {
            if (!reader.open()) reader.fail("open");
        }))
        return 0;
    int written = 0;
    QByteArray line;
    Parsed<K> rec;
    const int entries = odds::entryCount(L);
    // The entries follow one another at a fixed stride.
    const Field comb0 = odds::Combination(L, 0), odds0 = odds::Odds(L, 0);
    const int stride = odds::Combination(L, 1).pos - comb0.pos;
    bool more = true;
    while (more) {
        if (!log.step("read odds line", [&] { more = reader.next(line); })) break;
        if (!more) break;
        parseOdds<K>(line, rec);
        for (int i = 0; i < entries; ++i) {
            const QByteArrayView comb = rec.item(Field{comb0.pos + i * stride, comb0.width, 0, 0});
            const int a = horseNumber(comb.sliced(0, std::min<qsizetype>(2, comb.size())));
            const int b = horseNumber(comb.size() > 2 ? comb.sliced(2, std::min<qsizetype>(2, comb.size() - 2))
                                                      : QByteArrayView());
            int c = 0;
            if constexpr (threeHorses)
                c = horseNumber(comb.size() > 4 ? comb.sliced(4, std::min<qsizetype>(2, comb.size() - 4))
                                                : QByteArrayView());
            if (a < 0 || b < 0 || c < 0) continue;  // no such cell
            const float v = OddsValue(rec.item(Field{odds0.pos + i * stride, odds0.width, 0, 0}));
            if constexpr (threeHorses) grids.setTrio(a, b, c, v);
            else grids.setPair(a, b, v);
        }
        if (log.step("odds table", [&] {
                const QByteArray raceId = RaceKey::raceIdOfRecord(rec.bytes);
                ReplaceFile(OddsTableFile(raceId, src.word),
                           threeHorses ? grids.trioTable() : grids.pairTable());
            }))
            ++written;
    }
    return written;
}

}  // namespace

int BuildOddsTables(OddsGrids& grids, std::int16_t flag, SkipLog& log) {
    int written = 0;
    written += processFile<Kind::O6>(grids, kSources[0], flag, log);
    written += processFile<Kind::O5>(grids, kSources[1], flag, log);
    written += processFile<Kind::O4>(grids, kSources[2], flag, log);
    written += processFile<Kind::O2>(grids, kSources[3], flag, log);
    return written;
}

void RunOddsProcessing(UiPort& ui, std::int16_t flag, const std::function<void()>& showWindow) {
    const bool week = flag == 0;
    const QString& box = week ? ctl::MenuText2 : ctl::MenuText3;
    ui.setText(box, week ? QString::fromUtf8("今週のオッズ処理を開始しました。しばらくお待ちください。。。。。。。。")
                         : QString::fromUtf8("速報オッズ処理を開始しました。しばらくお待ちください。。。。。。"));
    ui.processEvents();
    OddsSourceFlag = flag;
    showWindow();
    ui.setText(box, week ? QString::fromUtf8("今週のオッズ処理終了") : QString::fromUtf8("速報オッズ処理終了"));
}

}  // namespace rw::jv
