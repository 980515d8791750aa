#pragma once
// Small results-mode day files written from their line formats: quoted
// values, CR LF, code page 932.
#include "support/test_support.h"

#include <QByteArray>
#include <QStringList>
#include <initializer_list>
#include <string>

namespace reffix {

// One quoted line from UTF-8 values.
inline QByteArray line(std::initializer_list<const char*> values) {
    std::string s;
    bool first = true;
    for (const char* v : values) {
        if (!first) s += ',';
        first = false;
        s += '"';
        s += v;
        s += '"';
    }
    s += "\r\n";
    return rwtest::sj(s.c_str());
}

inline QByteArray two(int v) { return QByteArray::number(v + 100).right(2); }

// "RC" with the race number, distance and a name.
inline QByteArray rc(int race, const char* distance, const char* name = "サラ系３歳未勝利") {
    const std::string number = " " + std::to_string(race);
    const QByteArray r2 = two(race);
    return line({"RC", number.c_str(), "10:05", r2.constData(), "", name, "サラ系３歳未勝利", "", "芝", distance,
                 "35.2", "晴良"});
}

inline QByteArray rr() {
    return line({"RR", "n", "w", "馬", "予", "人", "入", "性", "齢", "馬名　　　　　　　", "負担", "騎手名　",
                 "調教師名", "推定タイム", "実タイム", "推定上3F", "実上3F"});
}

// "HS" of one runner: rank, horse number (written as given), time.
inline QByteArray hs(int rank, const char* horse, const char* time, int popularity = 9, int arrival = 9) {
    const QByteArray r = QByteArray::number(rank), p = QByteArray::number(popularity), a = QByteArray::number(arrival);
    return line({"HS", r.constData(), "1", horse, r.constData(), p.constData(), a.constData(), "牡", "3",
                 "テストホース", "56.0", "騎手", "調教師", time, "1.35.00", "34.5", "34.8"});
}

inline QByteArray q1() { return line({"Q1", "1", "2", "3"}); }

inline QByteArray at(int n, const char* code, const char* label, const char* combination, const char* payout) {
    const QByteArray k = QByteArray::number(n);
    return line({"AT", k.constData(), code, label, combination, payout});
}

inline QByteArray kk() {
    return line({"KK", "1", " 5", "350", " 0", ""}) + line({"KK", "2", " 5", "130", " 3", "210", " 7", "150", "", ""}) +
           line({"KK", "3", "3-4", "980", "", ""}) + line({"KK", "4", "03-05", "2350", "", ""}) +
           line({"KK", "5", "03-05", "880", "03-07", "1200", "05-07", "990", "", "", "", ""});
}

inline QByteArray codeTable() {
    return rwtest::sj("2001,05,a,b,東京,e,f,g\r\n2001,09,a,b,阪神,e,f,g\r\n2001,06,a,b,中山,e,f,g\r\n");
}

}  // namespace reffix
