#pragma once
// The small history of past race days the browser and the hit list are
// tested on (golden files in tests/reference/golden).
#include "reference/day_fixture.h"

namespace reffix {

inline void writeHistory(const rwtest::AppFolder& app) {
    app.write("JRACODE\\CodeTable.csv", codeTable());
    const QByteArray titles = line({"R番号", "馬連", "馬単", "3連複", "3連単", "ワイド1", "ワイド2", "ワイド3"});
    // Tokyo: 16 and 14 runners, a race without runners, a gap at horse 3,
    // one runner over 1000 m; 馬連 + ワイド + 3連単, and a 3連複 of 10000.
    app.write("TEKICHU\\20240629050308tekichu.txt", line({"2024年", "06月", "29日", "3回", "東京", "8日目"}) + titles);
    QByteArray a = rc(1, "1600") + rr();
    for (int r = 1; r <= 16; ++r) {
        const int h = 17 - r;
        a += hs(r, QByteArray::number(h).constData(), ("1.35." + two(h * 5)).constData());
    }
    a += q1() + rc(2, "1200") + rr();
    for (int h = 1; h <= 14; ++h) {
        const QByteArray horse = h < 10 ? " " + QByteArray::number(h) : QByteArray::number(h);
        a += hs(h, horse.constData(), ("1.10." + two(h * 3)).constData());
    }
    a += q1() + rc(5, "1400") + rr() + q1();
    a += rc(11, "2000") + rr() + hs(1, "2", "2.01.50") + hs(2, "1", "2.01.00") + hs(3, "4", "2.02.00") + q1();
    a += at(1, "1", "本線1点目 的中", "03-05", "2350") + at(2, "2", "本線2点目 的中", "03-07", "880") +
         at(3, "7", "準本線5点目 的中", "03-05-07", "182340") + kk();
    a +=
        rc(12, "1000") + rr() + hs(1, "1", "0.58.30") + q1() + at(1, "6", "本線1点目 的中", "01-02-03", "10000") + kk();
    app.write("TEKICHU\\20240629050308lupRCM.txt", a);

    // Hanshin, the same date: a runner without a time, one of zero seconds,
    // 10001, four ワイド hits (the fourth after a dead heat).
    app.write("TEKICHU\\20240629090308tekichu.txt", line({"2024年", "06月", "29日", "3回", "阪神", "8日目"}) + titles);
    QByteArray b = rc(1, "1800") + rr() + hs(1, "1", "1.48.00") + hs(2, "2", "") + hs(3, "3", "1.49.00") + q1() +
                   at(1, "6", "伏兵1点目 的中", "01-02-03", "10001");
    b += rc(2, "1200") + rr() + hs(1, "1", "1.10.00") + hs(2, "2", "0.00.00") + hs(3, "3", "1.11.00") + q1() +
         at(1, "2", "本線1点目 的中", "01-02", "500") + at(2, "3", "本線2点目 的中", "01-03", "600") +
         at(3, "4", "本線3点目 的中", "02-03", "700") + at(4, "5", "本線4点目 的中", "02-04", "800");
    app.write("TEKICHU\\20240629090308lupRCM.txt", b);

    // Kokura, a racecourse the code table lacks.
    app.write("TEKICHU\\20240615100101tekichu.txt", line({"2024年", "06月", "15日", "1回", "小倉", "1日目"}) + titles);
    app.write("TEKICHU\\20240615100101lupRCM.txt", rc(3, "1700") + rr() + hs(1, " 2", "1.45.00") +
                                                       hs(2, " 1", "1.46.00") + q1() +
                                                       at(1, "5", "伏兵3点目 的中", "02-01", "15000"));
    // A listed day without its tagged file; a tagged file without a listed day.
    app.write("TEKICHU\\20240608050101tekichu.txt", line({"2024年", "06月", "08日", "1回", "東京", "1日目"}) + titles);
    app.write("TEKICHU\\20240601050101lupRCM.txt",
              rc(1, "1600") + rr() + hs(1, "1", "1.35.00") + q1() + at(1, "7", "本線1点目 的中", "01-02-03", "20000"));

    // Speed files from before: one of a listed date, one of another.
    app.write("SOKUDO\\HR20240629.csv", "old\r\n");
    app.write("SOKUDO\\HR20240608.csv", "kept, no race of that date\r\n");
    app.write("SOKUDO\\HR20230105.csv", "kept\r\n");
    app.write("SOKUDO\\RACEID.txt", "old\r\n");
}

}  // namespace reffix
