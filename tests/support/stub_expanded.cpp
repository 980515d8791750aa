#include "support/stub_expanded.h"

#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/record_file.h"
#include "jvdata/records.h"
#include "model/expanded_record.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <random>

namespace rwtest {

int WriteStubExpandedRecords(const QString& appDir, unsigned seed) {
    using namespace rw::jv;
    namespace ex = rw::model::ex;
    const QString root = appDir.endsWith(QLatin1Char('/')) ? appDir : appDir + QLatin1Char('/');
    QDir().mkpath(root + QStringLiteral("UMAGOTOEXTHISWEEKN"));
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> speed(56.0f, 63.0f);
    // The fields, looked up once.
    static const rw::recordlayout::Field results[20] = {
        ex::Result(0),  ex::Result(1),  ex::Result(2),  ex::Result(3),  ex::Result(4),  ex::Result(5),  ex::Result(6),
        ex::Result(7),  ex::Result(8),  ex::Result(9),  ex::Result(10), ex::Result(11), ex::Result(12), ex::Result(13),
        ex::Result(14), ex::Result(15), ex::Result(16), ex::Result(17), ex::Result(18), ex::Result(19)};
    static const rw::recordlayout::Field samples[5] = {ex::SpeedTexts(6), ex::SpeedTexts(7), ex::SpeedTexts(8),
                                                       ex::SpeedTexts(9), ex::SpeedTexts(10)};
    int files = 0;
    QStringList names = QDir(root + QStringLiteral("UMAGOTOTHISWEEKN")).entryList(QDir::Files, QDir::Name);
    // The registered runner count of each race: its highest horse number
    // among the week's horses (the whole field for the week's races).
    QHash<QByteArray, int> registered;
    for (const QString& name : names)
        for (const QByteArray& se :
             rw::RecordFile::readAll(root + QStringLiteral("UMAGOTOTHISWEEKN/") + name, kSE.imageLength)) {
            int& n = registered[rw::member(se, head::Year.pos, 16).toByteArray()];
            n = std::max(n, rw::member(se, se::HorseNumber.pos, se::HorseNumber.width).trimmed().toInt());
        }
    for (const QString& name : names) {
        const QList<QByteArray> runs =
            rw::RecordFile::readAll(root + QStringLiteral("UMAGOTOTHISWEEKN/") + name, kSE.imageLength);
        QByteArray out;
        out.reserve(runs.size() * rw::model::kExRecordLength);
        for (const QByteArray& se : runs) {
            QByteArray r(rw::model::kExRecordLength, '\0');
            auto put = [&](rw::recordlayout::Field f, QByteArrayView v) { rw::putFixed(r, f.pos, f.width, v); };
            auto from = [&](rw::recordlayout::Field to, Field f) { put(to, rw::member(se, f.pos, f.width)); };
            from(ex::RaceYear, head::Year);
            from(ex::RaceMonthDay, head::MonthDay);
            from(ex::CourseCode, head::Racecourse);
            from(ex::MeetingNo, head::Meeting);
            from(ex::DayNo, head::Day);
            from(ex::RaceNo, head::RaceNumber);
            from(ex::FrameNo, se::FrameNumber);
            from(ex::HorseNo, se::HorseNumber);
            from(ex::RegistrationNo, se::RegistrationNumber);
            from(ex::ArrivalOrder, se::ArrivalOrder);
            from(ex::FinishPosition, se::ConfirmedPosition);
            from(ex::RaceTime, se::Time);
            from(ex::Last3FTime, se::Last3F);
            from(ex::WinPopularity, se::WinPopularity);
            from(ex::WinOdds, se::WinOdds);
            from(ex::SexCode, se::SexCode);
            from(ex::CarriedWeight, se::WeightCarried);
            from(ex::JockeyShortName, se::JockeyShortName);
            put(ex::RegisteredRunners,
                QByteArray::number(registered.value(rw::member(se, head::Year.pos, 16).toByteArray()))
                    .rightJustified(2, '0'));
            put(ex::TrackCode, "17"), put(ex::Distance, "1600"), put(ex::BirthYear, "2021");
            put(ex::WeatherCode, "1"), put(ex::TurfGoingCode, "1"), put(ex::DirtGoingCode, "1");
            for (const auto& f : samples) put(f, "0000012");
            for (const auto& f : results) rw::putSingle(r, f.pos, speed(rng));
            put(ex::RecordEnd, "\r\n");
            out += r;
        }
        rw::WriteWholeFile(root + QStringLiteral("UMAGOTOEXTHISWEEKN/") + QFileInfo(name).completeBaseName() +
                               QStringLiteral("EX.dat"),
                           out);
        ++files;
    }
    return files;
}

}  // namespace rwtest
