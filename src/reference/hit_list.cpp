#include "reference/hit_list.h"

#include "common/cp932.h"
#include "common/file_ops.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/text_file.h"
#include "prediction/code_table.h"
#include "reference/day_finder.h"
#include "reference/past_days.h"
#include "reference/value_cursor.h"
#include "reports/tagged_day_file.h"
#include "reports/tiered_judging.h"

#include <array>
#include <cmath>

namespace rw::reference {
namespace {

struct Column {
    const char* title;
    int width;  // twips; -1 keeps the grid's default
};

constexpr std::array<Column, kHitGridCols> kColumns{{
    {"年  本数", 1700}, {"月", 600},        {"日", 600},        {"場所", 600},      {"回次", 600},
    {"日次", 600},      {"R", 600},         {"レース名", 2200}, {"券種", -1},       {"配当(円)", -1},
    {"的中状況", 1700}, {"当たり目", 1700}, {"馬齢条件", 1700}, {"収得条件", 1700}, {"G", 600},
    {"芝ダ", 600},      {"距離(m)", -1},    {"SD", 600},        {"天場", 600},      {"本数", -1},
}};

// The day texts, from the DayKey.
struct DayTexts {
    QByteArray year, month, day, course, meeting, dayOfMeeting;
};

DayTexts dayTextsOf(QByteArrayView key, const prediction::CodeTable& codes) {
    auto digits = [&](qsizetype at, qsizetype n) { return int(valLenient(key.sliced(at, n))); };
    DayTexts t;
    t.year = numberText(digits(0, 4)) + sj("年");
    t.month = twoDigitText(digits(4, 2)) + sj("月");
    t.day = twoDigitText(digits(6, 2)) + sj("日");
    t.course = prediction::CodeName(codes, "2001", twoDigitText(digits(8, 2)), 4);
    t.meeting = twoDigitText(digits(10, 2)) + sj("回");
    t.dayOfMeeting = twoDigitText(digits(12, 2)) + sj("日");
    return t;
}

QByteArray ticketName(const QByteArray& code, const QByteArray& before) {
    for (const reports::TicketCodeName& t : reports::kTicketCodes)
        if (code == t.code) return sj(t.name);
    return before;
}

QByteArray payoffKindName(const QByteArray& kind, const QByteArray& before) {
    if (kind == "1") return sj("単勝");
    if (kind == "2") return sj("複勝");
    if (kind == "3") return sj("枠連");
    return before;
}

QString text(const QByteArray& cp932) { return cp932::decode(cp932); }

// The values of a hit line of the list, in their order.
enum HitValue {
    Year, Month, Day, Course, Meeting, DayOfMeeting, RaceText, RaceName,
    Rc5, Rc6, Rc7, Rc8, Rc9, Rc10, Rc11,  // age and class conditions, grade, track, distance, SD, weather
    Ticket, Label, Combination, Payout,
    HitValueCount
};
using HitValues = std::array<QByteArray, HitValueCount>;

QByteArray listLine(const HitValues& v, std::initializer_list<QByteArray> more = {}) {
    QList<CsvValue> line;
    for (const QByteArray& x : v) line.append(CsvValue::text(x));
    for (const QByteArray& x : more) line.append(CsvValue::text(x));
    return csvLine(line) + "\r\n";
}

// The list built from the day files in their order. The values are the
// window's state, kept from value to value and day to day; the payoff lines
// are taken per day, after its 馬連 hit.
class HitListBuilder {
public:
    QByteArray list;                 // the lines of "ATARILIST.txt"
    QList<HitValues> bigHits;        // hits paying more than 10000 yen, rows 1 ..
    int bigHitCount = 0;             // the same, rows beyond the grid included

    void addDay(const DayTexts& day, QList<QByteArray> values) {
        v_[Year] = day.year, v_[Month] = day.month, v_[Day] = day.day, v_[Course] = day.course;
        v_[Meeting] = day.meeting, v_[DayOfMeeting] = day.dayOfMeeting;
        bool payoffLines = false;
        ValueCursor in(std::move(values));
        for (QByteArray v; in.next(v);) {
            if (v == "RC") {
                rc_[1] = in.take();
                if (rc_[1].isEmpty()) continue;  // the rest of the line is not used
                for (int i = 2; i <= 11; ++i) rc_[i] = in.take();
                v_[RaceText] = rc_[3] + "R";
                v_[RaceName] = rc_[4].isEmpty() ? rc_[5] : rc_[4];
                for (int i = 5; i <= 11; ++i) v_[Rc5 + i - 5] = rc_[i];
            } else if (v == "AT") {
                QByteArray at[6];
                for (int i = 1; i <= 5; ++i) at[i] = in.take();
                v_[Ticket] = ticketName(at[2], v_[Ticket]);
                if (at[2] == "1") payoffLines = true;
                v_[Label] = at[3];
                v_[Combination] = at[4];
                v_[Payout] = at[5];
                list += listLine(v_);
                if (valLenient(v_[Payout]) > 10000 && ++bigHitCount < kHitGridRows) bigHits.append(v_);
            } else if (v == "KK" && payoffLines) {
                const QByteArray kind = in.take();
                firstCombination_ = in.take();
                firstPayout_ = in.take();
                kindName_ = payoffKindName(kind, kindName_);
                if (kind == "3") payoffLines = false;
                list += listLine(v_, {kindName_, firstCombination_, firstPayout_});
            }
        }
    }

private:
    HitValues v_;
    QByteArray rc_[12];  // the last RC line's values 1 to 11
    QByteArray kindName_, firstCombination_, firstPayout_;
};

// Row `row` of tekichuFG from a hit.
void showHit(GridModel& grid, int row, const HitValues& v) {
    const QString n = QString::number(row);
    const QString cells[kHitGridCols] = {
        u' ' + text(v[Year]) + u' ' + n, text(v[Month]),   text(v[Day]),    text(v[Course]),
        text(v[Meeting]),                text(v[DayOfMeeting]), text(v[RaceText]), text(v[RaceName]),
        text(v[Ticket]),                 text(v[Payout]),  text(v[Label]),  u' ' + text(v[Combination]),
        text(v[Rc5]),                    text(v[Rc6]),     text(v[Rc7]),    text(v[Rc8]),
        text(v[Rc9]),                    text(v[Rc10]),    text(v[Rc11]),   n,
    };
    for (int c = 0; c < kHitGridCols; ++c) grid.setText(row, c, cells[c]);
}

}  // namespace

QString HitListLabel() {
    return QStringLiteral(
        "的中目はタイム合計法（指数和）で求めています。馬連・馬単は6点区切り、3連複は7点区切り、"
        "3連単は42点区切りの3区分（本・準・伏）です。");
}

GridModel NewHitGrid() {
    GridModel g(kHitGridRows, kHitGridCols, 1, 1);
    for (int c = 0; c < kHitGridCols; ++c) {
        if (kColumns[c].width >= 0) g.setColWidth(c, kColumns[c].width);
        g.setText(0, c, QString::fromUtf8(kColumns[c].title));
    }
    return g;
}

int TekichuListLoad(UiPort& ui, GridModel& tekichuFG, SkipLog& log) {
    // A write that fails leaves the list as it was before the load.
    RunJournal journal;
    tekichuFG = NewHitGrid();
    AppPath = GetAppPath();
    const QString listPath = AppFile(kHitListFile);
    log.step("create the hit list", [&] { emptyTextFile(listPath); });
    prediction::CodeTable codes;
    log.step("load the code table", [&] { prediction::LoadCodeTable(codes); });

    // Read each day file and build the list from it.
    HitListBuilder hits;
    const DayFinder finder(AppFile(inFolder(jv::kTekichuFolder, {})), QString::fromUtf16(reports::kUploadDayFile.resultsSuffix));
    ForEachScanDate(finder, [&](const ScanDate& d, const QList<QByteArray>& keys) {
        ui.setText(QString::fromLatin1(kStatusBox), SearchingText(d));
        ui.processEvents();
        for (const QByteArray& key : keys) {
            QList<QByteArray> values;
            if (!log.step("read the day file of " + key.toStdString(),
                          [&] { values = readValues(finder.pathOf(key)); }))
                continue;
            hits.addDay(dayTextsOf(key, codes), std::move(values));
        }
    });

    // Show the big hits and write the list.
    for (int row = 1; row <= hits.bigHits.size(); ++row) showHit(tekichuFG, row, hits.bigHits[row - 1]);
    if (!hits.list.isEmpty())
        log.step("write the hit list", [&] { appendBytes(listPath, hits.list); });
    return hits.bigHitCount;
}

}  // namespace rw::reference
