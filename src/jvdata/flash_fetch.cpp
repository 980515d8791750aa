#include "jvdata/flash_fetch.h"

#include "common/cp932.h"
#include "common/kestrav_path.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/flash_odds.h"
#include "jvdata/odds_download.h"
#include "jvdata/race_key.h"
#include "jvdata/records.h"
#include "jvdata/software_id.h"
#include "jvdata/store_files.h"
#include "jvdata/stored_request.h"

#include <algorithm>
#include <string>

namespace rw::jv {
namespace {

QByteArray dayOf(const QByteArray& race) { return RaceKey::ofRecord(race).date(); }

// Where a flash record of a race day is kept.
const char16_t* dayFileOf(Kind k) {
    switch (k) {
    case Kind::RA: return kRaFlashFile;
    case Kind::SE: return kSeFlashFile;
    case Kind::HR: return kHrFlashFile;
    default: return nullptr;
    }
}

// JVClose at the end of a request, also when a failure ends it early.
struct CloseAtEnd {
    JvLink& link;
    ~CloseAtEnd() {
        try {
            link.JVClose();
        } catch (...) {
            // Nothing more to end: the next request starts with JVInit.
        }
    }
};

}  // namespace

QList<QByteArray> FlashRaceDates(QStringView raceFile) {
    RecordFile races(AppFile(raceFile), imageLength(Kind::RA));
    const qint64 n = races.count();
    QList<QByteArray> days;
    if (n == 0) return days;
    QByteArray later = dayOf(races.read(n));
    days.append(later);
    const qint64 last = std::max<qint64>(2, n - (kFlashDayWalk - 1));
    for (qint64 i = n; i >= last && days.size() < kFlashRaceDays; --i) {
        const QByteArray earlier = dayOf(races.read(i - 1));
        if (earlier != later) days.append(earlier);
        later = earlier;
    }
    return days;
}

void FetchFlashDays(UiPort& ui, JvLink& JVLink1, const QString& softwareId, const QList<QByteArray>& days,
                    SkipLog& log) {
    for (const QByteArray& day : days) {
        CallJvInit(ui, JVLink1, softwareId);
        CloseAtEnd close{JVLink1};
        JVLink1.JVRTOpen(QStringLiteral("0B12"), cp932::decode(day));

        QByteArray buffer(kReadBufferSize, '\0');
        std::int32_t size = kReadBufferSize;
        QString fileName;
        int idle = 0;
        for (;;) {
            const std::int32_t r = JVLink1.JVRead(buffer, size, fileName);
            if (r == kReadEnd || r == kReadRealtimeEnd) break;
            if (r < 0) {
                if (r == kReadDamaged403)
                    log.record("0B12 " + cp932::toUtf8(day) + " " + fileName.toStdString(), "the file is damaged");
                if (++idle < kFlashDayIdleReads) continue;
                log.record("0B12 " + cp932::toUtf8(day),
                           std::to_string(kFlashDayIdleReads) + " reads in a row without a record (last result " +
                               std::to_string(r) + "); the reads of the day end");
                break;
            }
            idle = 0;
            const QByteArrayView record = QByteArrayView(buffer).first(std::min<qsizetype>(r, buffer.size()));
            const std::optional<Kind> kind = kindOf(record);
            const char16_t* file = kind ? dayFileOf(*kind) : nullptr;
            if (!file) continue;  // any other kind is dropped
            RecordFile(AppFile(file), imageLength(*kind)).append(ToFixed(*kind, record));
        }
    }
}

void FetchFlashWinOdds(UiPort& ui, JvLink& JVLink1) {
    const QString odds = AppFile(kO1FlashFile);
    emptyTextFile(odds);
    RequestFlashOdds(ui, JVLink1, kRaWeekFile, SidThisWeek(), Unguarded(), [&](QByteArrayView read) {
        if (read.startsWith("O1")) AppendJvRecordLine(odds, read);
    });
}

void FetchFlashResults(UiPort& ui, JvLink& JVLink1, SkipLog& log) {
    FetchFlashDays(ui, JVLink1, SidThisWeek(), FlashRaceDates(kRaNewFile), log);
}

}  // namespace rw::jv
