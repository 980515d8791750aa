#include "reference/past_days.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "jvdata/race_key.h"
#include "publish/publish_files.h"
#include "publish/speed_index.h"
#include "reference/day_finder.h"
#include "reference/value_cursor.h"
#include "reports/tagged_day_file.h"

#include <cmath>

namespace rw::reference {
namespace {

constexpr int kIndexEntries = 19;
constexpr int kValuesPerRace = 1000;

QString statusBox() { return QString::fromLatin1(kStatusBox); }

QList<QByteArray> headerOf(const QList<QByteArray>& values) {
    QList<QByteArray> header;
    for (int i = 0; i < 6; ++i) header.append(i < values.size() ? values[i] : QByteArray());
    return header;
}

}  // namespace

QString PastDayItem(const QList<QByteArray>& header, QByteArrayView dayKey) {
    QString item;
    for (const QByteArray& v : header) item += cp932::decode(v);
    item += QString(18, u' ');
    item += QString::fromLatin1(dayKey);
    return item;
}

void RunRaceDayScan(UiPort& ui, QStringList& list1, SkipLog& log) {
    list1.clear();
    const QString dayList = AppFile(kDayListFile);
    log.step("create the day list", [&] { emptyTextFile(dayList); });
    const DayFinder finder(AppFile(inFolder(jv::kTekichuFolder, {})), QString::fromUtf16(reports::kUploadDayFile.hitTable));
    QByteArray lines;
    ForEachScanDate(finder, [&](const ScanDate& d, const QList<QByteArray>& keys) {
        ui.setText(statusBox(), SearchingText(d));
        for (const QByteArray& key : keys) {
            QList<QByteArray> header;
            // A file that cannot be opened or read is no day.
            if (!log.step("read the day line of " + key.toStdString(),
                          [&] { header = headerOf(readValues(finder.pathOf(key))); }))
                continue;
            if (header[0].isEmpty()) continue;
            list1.append(PastDayItem(header, key));
            lines += key + "\r\n";
        }
    });
    if (!lines.isEmpty()) log.step("write the day list", [&] { appendBytes(dayList, lines); });
}

IndexEntry IndexEntryOf(QByteArrayView timeText, std::int64_t distance, int rank) {
    IndexEntry e;
    e.rank = rank;
    const std::optional<double> minutes = parseStrict(timeText.first(std::min<qsizetype>(1, timeText.size())));
    const std::optional<double> rest = parseStrict(timeText.last(std::min<qsizetype>(5, timeText.size())));
    if (timeText.isEmpty() || !minutes || !rest) {
        // The prediction run leaves the time empty for a runner without a
        // speed; the weekly writer writes such a runner with speed 0.
        e.set = true;
        return e;
    }
    const float seconds = float(*minutes * 60 + float(*rest));
    if (seconds == 0) return e;  // no entry: the line stops before this horse
    e.set = true;
    e.speed = std::int64_t(std::trunc(double(distance) * 3600.0 / double(seconds)));
    return e;
}

void RebuildExternalIndex(UiPort& ui, SkipLog& log) {
    ui.setText(statusBox(), QStringLiteral("RUDの外部指数作成開始"));
    const QString raceIdPath = AppFile(kRaceIdFile);
    log.step("create the race key list", [&] { emptyTextFile(raceIdPath); });
    QByteArray lastIndexDate;
    QByteArray raceIds;
    QList<QPair<QByteArray, QByteArray>> hrFiles;  // date, its lines

    QList<QByteArray> days;
    log.step("read the day list", [&] { days = readLines(AppFile(kDayListFile)); });
    for (const QByteArray& dayKey : days) {
        if (!isDayKey(dayKey)) {
            // Only a DayKey names a day file.
            log.record("day list line", "not a DayKey: " + printable(dayKey));
            continue;
        }
        QList<QByteArray> values;
        if (!log.step("read the day file of " + dayKey.toStdString(), [&] {
                values = readValues(prediction::TekichuDayFile(dayKey, reports::kUploadDayFile.resultsSuffix));
            }))
            continue;
        ValueCursor in(std::move(values));
        jv::RaceKey race = jv::RaceKey::ofKeyText(dayKey);
        for (QByteArray v; in.next(v);) {
            if (v != "RC") continue;
            QByteArray rc[10];
            for (int i = 1; i <= 9; ++i) rc[i] = in.take();
            race.raceNo = rc[3];
            const QByteArray raceKey16 = race.raceKey16();
            const std::int64_t distance = std::int64_t(std::trunc(valLenient(rc[9])));
            raceIds += raceKey16 + "\r\n";
            ui.setText(statusBox(), QString::fromLatin1(raceKey16) + QStringLiteral("RUDの外部指数作成中"));
            const QByteArray date = race.date();
            if (date != lastIndexDate) {
                lastIndexDate = date;
                hrFiles.append({date, QByteArray()});
            }
            IndexEntry entries[kIndexEntries + 1];
            for (int count = 0; count < kValuesPerRace && in.next(v); ++count) {
                if (v == "Q1") break;
                if (v != "HS") continue;
                in.take();
                in.take();
                const double horse = valLenient(in.take());
                const int rank = int(valLenient(in.take()));
                QByteArray time;
                for (int i = 0; i < 9; ++i) time = in.take();
                if (horse < 1 || horse > kIndexEntries || horse != std::floor(horse)) continue;
                entries[int(horse)] = IndexEntryOf(time, distance, rank);
            }
            QList<publish::SpeedIndexEntry> runners;
            for (int h = 1; h <= kIndexEntries && entries[h].set; ++h)
                runners.append({float(entries[h].speed), entries[h].rank});
            hrFiles.last().second += publish::SpeedIndexLine(raceKey16, runners, 1);
        }
    }
    if (!raceIds.isEmpty()) log.step("write the race key list", [&] { appendBytes(raceIdPath, raceIds); });
    for (const auto& [date, lines] : hrFiles)
        log.step("write the speed file of " + date.toStdString(), [&] {
            ReplaceFile(publish::SpeedIndexDayFile(date), lines);
        });
}

void KakoSeisekiLoad(UiPort& ui, QStringList& list1, SkipLog& log) {
    // A write that fails leaves its file as it was before the load.
    RunJournal journal;
    AppPath = GetAppPath();
    RunRaceDayScan(ui, list1, log);
    RebuildExternalIndex(ui, log);
}

}  // namespace rw::reference
