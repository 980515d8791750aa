#pragma once
// Small hand-made weeks for the prediction run's tests: race, entry and
// payoff records, expanded-record files and a code table written into a
// scratch application folder with the record layouts.
#include "common/cp932.h"
#include "common/fixed_text.h"
#include "jvdata/records.h"
#include "model/expanded_record.h"
#include "support/record_builder.h"
#include "support/test_support.h"

#include <QByteArray>
#include <QDir>
#include <QList>

namespace predtest {

namespace ex = rw::model::ex;

// "2024" "1207" course meeting day race.
inline QByteArray key16(const char* date8, const char* course, int race, const char* meeting = "05",
                        const char* day = "03") {
    return QByteArray(date8) + course + meeting + day + QByteArray::number(race + 100).right(2);
}

struct RaceOptions {
    char kind = '2';
    QByteArray track = "10";
    QByteArray distance = "1600";
    QByteArray title = {};  // code page 932; blanks when empty
    QByteArray startTime = "1025";
};

inline QByteArray raRecord(const QByteArray& key, const RaceOptions& o = {}) {
    rwtest::RecordBuilder b(rw::jv::Kind::RA, o.kind);
    b.raceKey(key)
        .set(rw::jv::ra::TrackCode, o.track)
        .set(rw::jv::ra::Distance, o.distance)
        .set(rw::jv::ra::StartTime, o.startTime)
        .set(rw::jv::ra::RaceName, o.title.isEmpty() ? rwtest::sj("テスト特別") : o.title)
        .set(rw::jv::ra::GradeCode, "A")
        .set(rw::jv::ra::RaceTypeCode, "11")
        .set(rw::jv::findField(rw::jv::kRA, "race condition codes", {}, 4), "701")
        .set(rw::jv::ra::WeatherCode, "1")
        .set(rw::jv::ra::TurfGoingCode, "1")
        .set(rw::jv::ra::DirtGoingCode, "2");
    return b.image();
}

inline QByteArray seRecord(const QByteArray& key, int horseNo, const QByteArray& reg, char kind = '2') {
    rwtest::RecordBuilder b(rw::jv::Kind::SE, kind);
    b.raceKey(key)
        .set(rw::jv::se::HorseNumber, QByteArray::number(horseNo + 100).right(2))
        .set(rw::jv::se::FrameNumber, QByteArray::number((horseNo + 1) / 2 % 9))
        .set(rw::jv::se::RegistrationNumber, reg)
        .set(rw::jv::se::HorseName, rwtest::sj("テストホース") + QByteArray::number(horseNo));
    return b.image();
}

inline QByteArray hrRecord(const QByteArray& key, char kind = '2') {
    rwtest::RecordBuilder b(rw::jv::Kind::HR, kind);
    b.raceKey(key);
    return b.image();
}

inline QByteArray regNo(int n) { return QByteArray::number(2020000000LL + n); }

struct RunOptions {
    float composite = 60.0f;  // Result(6)
    QByteArray track = "10";
    QByteArray distance = "1600";
    QByteArray raceTime = "1345";
    QByteArray last3f = "345";
    QByteArray arrival = "03";
    QByteArray finish = "03";
    QByteArray popularity = "02";
    QByteArray birthYear = "2021";
    QByteArray sampleCount = "0000012";
};

// One expanded record of a run.
inline QByteArray exRecord(const QByteArray& key, int horseNo, const QByteArray& reg, const RunOptions& o = {}) {
    QByteArray r(ex::ComputedBlock.pos - 1 + 0, '\0');
    r = QByteArray(rw::model::kExRecordLength, '\0');
    auto put = [&](rw::recordlayout::Field f, QByteArrayView v) { rw::putFixed(r, f.pos, f.width, v); };
    put(ex::RaceYear, key.left(4));
    put(ex::RaceMonthDay, key.mid(4, 4));
    put(ex::CourseCode, key.mid(8, 2));
    put(ex::MeetingNo, key.mid(10, 2));
    put(ex::DayNo, key.mid(12, 2));
    put(ex::RaceNo, key.mid(14, 2));
    put(ex::HorseNo, QByteArray::number(horseNo + 100).right(2));
    put(ex::FrameNo, "3");
    put(ex::RegistrationNo, reg);
    put(ex::BirthYear, o.birthYear);
    put(ex::SexCode, "1");
    put(ex::CarriedWeight, "550");
    put(ex::JockeyShortName, rwtest::sj("騎手名"));
    put(ex::TrainerShortName, rwtest::sj("調教師"));
    put(ex::BreederName, rwtest::sj("生産者"));
    put(ex::SireName, rwtest::sj("父馬"));
    put(ex::TrackCode, o.track);
    put(ex::Distance, o.distance);
    put(ex::RaceTime, o.raceTime);
    put(ex::Last3FTime, o.last3f);
    put(ex::ArrivalOrder, o.arrival);
    put(ex::FinishPosition, o.finish);
    put(ex::WinPopularity, o.popularity);
    put(ex::WeatherCode, "1");
    put(ex::TurfGoingCode, "1");
    put(ex::DirtGoingCode, "3");
    put(ex::StartTime, "1025");
    for (int i = 6; i <= 10; ++i) put(ex::SpeedTexts(i), o.sampleCount);
    for (int i = 0; i < 24; ++i) {
        rw::putSingle(r, ex::AgariW(i).pos, float(i) + 0.25f);
        rw::putSingle(r, ex::PaceW(i).pos, float(i) + 0.5f);
    }
    for (int i = 0; i < 20; ++i) rw::putSingle(r, ex::Result(i).pos, float(i));
    rw::putSingle(r, ex::Result(6).pos, o.composite);
    rw::putSingle(r, ex::Result(3).pos, o.composite + 2);
    rw::putSingle(r, ex::Result(2).pos, 0.0f);
    put(ex::RecordEnd, "\r\n");
    return r;
}

// A code table with the tables the run reads.
inline QByteArray codeTable() {
    return rwtest::sj(
        "2001,05,a,b,東京,e,Tokyo,x\r\n"
        "2001,06,a,b,中山,e,Nakayama,x\r\n"
        "2001,09,a,b,阪神,e,Hanshin,x\r\n"
        "2005,11,a,b,サラ系２歳,e,f,g\r\n"
        "2007,701,新馬,b,c,d,e,f\r\n"
        "2003,A,Ｇ１レース,b,c,d,e,f\r\n"
        "2009,10,a,芝・左,b,d,e,f\r\n"
        "2009,24,a,ダート・右,b,d,e,f\r\n"
        "2009,52,a,障害,b,d,e,f\r\n"
        "2011,1,晴,b,c,d,e,f\r\n"
        "2010,1,良,b,c,d,e,f\r\n"
        "2010,2,稍重,b,c,d,e,f\r\n"
        "2010,3,重,b,c,d,e,f\r\n"
        "2202,1,牡馬,b,c,d,e,f\r\n");
}

}  // namespace predtest

namespace predtest {

// A race of the week: its key, data kind, race options and one speed per
// horse number (a negative speed leaves that number out, a gap).
struct Race {
    QByteArray key;
    QList<float> speeds;
    RaceOptions ra{};
    RunOptions run{};
    int runs = 1;  // expanded records per horse
};

inline void makeFolders(const rwtest::AppFolder& app) {
    for (const char* d : {"RACE", "KAIME", "UMAREN", "WIDE", "UMATAN", "SANRENPUKU", "SANRENTAN", "TEKICHU", "SOKUDO",
                          "JRACODE", "UMAGOTOEXTHISWEEKN"})
        QDir().mkpath(app.path() + d);
}

// Writes the race, entry, expanded-record and code-table files of `races`;
// payoff records for `payoffKeys` (all races, in order, when empty and
// `withPayoffs`).
inline void writeWeek(const rwtest::AppFolder& app, const QList<Race>& races, bool withPayoffs = true,
                      QList<QByteArray> payoffKeys = {}) {
    makeFolders(app);
    QByteArray ra, se, hr;
    int horse = 0;
    for (const Race& r : races) {
        ra += raRecord(r.key, r.ra);
        for (int h = 1; h <= r.speeds.size(); ++h) {
            if (r.speeds[h - 1] < 0) continue;
            const QByteArray reg = regNo(++horse);
            se += seRecord(r.key, h, reg);
            QByteArray runs;
            RunOptions o = r.run;
            o.composite = r.speeds[h - 1];
            for (int j = 0; j < r.runs; ++j) runs += exRecord(j == r.runs - 1 ? r.key : key16("20240601", "05", 1), h, reg, o);
            app.write("UMAGOTOEXTHISWEEKN\\" + QString::fromLatin1(reg) + "EX.dat", runs);
        }
        if (withPayoffs && payoffKeys.isEmpty()) hr += hrRecord(r.key);
    }
    for (const QByteArray& k : payoffKeys) hr += hrRecord(k);
    app.write(QStringLiteral("RATHISWEEKNNEW.dat"), ra);
    app.write(QStringLiteral("SETHISWEEKNNEW.dat"), se);
    app.write(QStringLiteral("HRTHISWEEKN.dat"), hr);
    app.write(QStringLiteral("JRACODE\\CodeTable.csv"), codeTable());
}

}  // namespace predtest
