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

QByteArray two(int v) { return numberText(v + 100).right(2); }

// The day texts, from the DayKey.
struct DayTexts {
    QByteArray year, month, day, course, meeting, dayOfMeeting;
};

DayTexts dayTextsOf(QByteArrayView key, const prediction::CodeTable& codes) {
    auto digits = [&](qsizetype at, qsizetype n) { return int(valLenient(key.sliced(at, n))); };
    DayTexts t;
    t.year = numberText(digits(0, 4)) + sj("年");
    t.month = two(digits(4, 2)) + sj("月");
    t.day = two(digits(6, 2)) + sj("日");
    t.course = prediction::CodeName(codes, "2001", two(digits(8, 2)), 4);
    t.meeting = two(digits(10, 2)) + sj("回");
    t.dayOfMeeting = two(digits(12, 2)) + sj("日");
    return t;
}

QByteArray ticketName(const QByteArray& code, const QByteArray& before) {
    static const char* const names[] = {"馬連", "ワイド1", "ワイド2", "ワイド3", "馬単", "３連複", "３連単"};
    if (code.size() == 1 && code[0] >= '1' && code[0] <= '7') return sj(names[code[0] - '1']);
    return before;
}

QByteArray payoffKindName(const QByteArray& kind, const QByteArray& before) {
    if (kind == "1") return sj("単勝");
    if (kind == "2") return sj("複勝");
    if (kind == "3") return sj("枠連");
    return before;
}

QString text(const QByteArray& cp932) { return cp932::decode(cp932); }

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
    int hitRowCount = 0;
    prediction::CodeTable codes;
    log.step("load the code table", [&] { prediction::LoadCodeTable(codes); });

    // The window's state, kept from value to value and day to day.
    QByteArray rc[12];  // the last RC line's values 1 to 11
    QByteArray raceText, raceName;
    QByteArray ticket, label, combination, payout;
    QByteArray kindName, firstCombination, firstPayout;
    QByteArray out;

    const DayFinder finder(AppFile(inFolder(jv::kTekichuFolder, {})), QString::fromUtf16(reports::kUploadDayFile.resultsSuffix));
    ForEachScanDate(finder, [&](const ScanDate& d, const QList<QByteArray>& keys) {
        ui.setText(QString::fromLatin1(kStatusBox), SearchingText(d));
        ui.processEvents();
        for (const QByteArray& key : keys) {
            bool payoffLines = false;
            QList<QByteArray> values;
            if (!log.step("read the day file of " + key.toStdString(),
                          [&] { values = readValues(finder.pathOf(key)); }))
                continue;
            const DayTexts day = dayTextsOf(key, codes);
            auto hitValues = [&] {
                return QList<CsvValue>{
                    CsvValue::text(day.year),   CsvValue::text(day.month),   CsvValue::text(day.day),
                    CsvValue::text(day.course), CsvValue::text(day.meeting), CsvValue::text(day.dayOfMeeting),
                    CsvValue::text(raceText),   CsvValue::text(raceName),    CsvValue::text(rc[5]),
                    CsvValue::text(rc[6]),      CsvValue::text(rc[7]),       CsvValue::text(rc[8]),
                    CsvValue::text(rc[9]),      CsvValue::text(rc[10]),      CsvValue::text(rc[11]),
                    CsvValue::text(ticket),     CsvValue::text(label),       CsvValue::text(combination),
                    CsvValue::text(payout)};
            };
            ValueCursor in(std::move(values));
            for (QByteArray v; in.next(v);) {
                if (v == "RC") {
                    rc[1] = in.take();
                    if (rc[1].isEmpty()) continue;  // the rest of the line is not used
                    for (int i = 2; i <= 11; ++i) rc[i] = in.take();
                    raceText = rc[3] + "R";
                    raceName = rc[4].isEmpty() ? rc[5] : rc[4];
                } else if (v == "AT") {
                    QByteArray at[6];
                    for (int i = 1; i <= 5; ++i) at[i] = in.take();
                    ticket = ticketName(at[2], ticket);
                    if (at[2] == "1") payoffLines = true;
                    label = at[3];
                    combination = at[4];
                    payout = at[5];
                    out += csvLine(hitValues()) + "\r\n";
                    if (valLenient(payout) > 10000) {
                        const int row = ++hitRowCount;
                        if (row < kHitGridRows) {
                            const QString n = QString::number(row);
                            const QString cells[kHitGridCols] = {
                                u' ' + text(day.year) + u' ' + n,
                                text(day.month),
                                text(day.day),
                                text(day.course),
                                text(day.meeting),
                                text(day.dayOfMeeting),
                                text(raceText),
                                text(raceName),
                                text(ticket),
                                text(payout),
                                text(label),
                                u' ' + text(combination),
                                text(rc[5]),
                                text(rc[6]),
                                text(rc[7]),
                                text(rc[8]),
                                text(rc[9]),
                                text(rc[10]),
                                text(rc[11]),
                                n,
                            };
                            for (int c = 0; c < kHitGridCols; ++c) tekichuFG.setText(row, c, cells[c]);
                        }
                    }
                } else if (v == "KK" && payoffLines) {
                    const QByteArray kind = in.take();
                    firstCombination = in.take();
                    firstPayout = in.take();
                    kindName = payoffKindName(kind, kindName);
                    if (kind == "3") payoffLines = false;
                    QList<CsvValue> line = hitValues();
                    line << CsvValue::text(kindName) << CsvValue::text(firstCombination) << CsvValue::text(firstPayout);
                    out += csvLine(line) + "\r\n";
                }
            }
        }
    });
    if (!out.isEmpty())
        log.step("write the hit list", [&] {
            TextOut f(listPath, TextOut::Mode::Append);
            f.writeRaw(out);
            f.close();
        });
    return hitRowCount;
}

}  // namespace rw::reference
