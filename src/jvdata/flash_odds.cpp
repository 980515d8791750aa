#include "jvdata/flash_odds.h"

#include "common/control_names.h"
#include "common/cp932.h"
#include "common/kestrav_path.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/odds_download.h"
#include "jvdata/records.h"
#include "jvdata/software_id.h"
#include "jvdata/stored_request.h"

#include <algorithm>

namespace rw::jv {
void FetchFlashOdds(UiPort& ui, JvLink& JVLink1, SkipLog& log) {
    // 1.
    OddsSourceFlag = 1;
    // 2.
    ui.setText(ctl::FlashText1, QString::fromUtf8("速報オッズ取得を開始します。。。。。。"));
    ui.processEvents();
    // 3.
    for (const char16_t* f : {kO6FlashFile, kO5FlashFile, kO4FlashFile, kO2FlashFile})
        log.step("empty flash odds file", [&] { emptyTextFile(AppFile(f)); });

    // 4. Opening the race file creates it when it is missing: no requests.
    RecordFile races;
    qint64 n = 0;
    if (log.step("open race file", [&] { races.open(AppFile(kRaNewFile), imageLength(Kind::RA)); }))
        n = races.count();

    // 5. The newest records first, at most 97 of them.
    const qint64 last = std::max<qint64>(1, n - (kFlashOddsRaces - 1));
    for (qint64 i = n; i >= last; --i) {
        QByteArray race;
        if (!log.step("read race record", [&] { race = races.read(i); })) continue;
        ParsedRA ra;
        ParseRA(race, ra);

        InitJvLink(ui, JVLink1, SidFlash(), log);
        const QString key = cp932::decode(ra.item(head::RaceKey16));
        log.step("JVRTOpen", [&] { JVLink1.JVRTOpen(QStringLiteral("0B30"), key); });

        QByteArray buffer(kReadBufferSize, '\0');
        std::int32_t size = kReadBufferSize;
        QString fileName;
        for (int read = 1; read <= kFlashOddsReads; ++read) {
            std::int32_t r = 0;
            if (!log.step("JVRead", [&] { r = JVLink1.JVRead(buffer, size, fileName); })) break;
            if (r == kReadNextFile) break;
            // Only -1 ends the race: after any other result the buffer's kind
            // decides, whatever the component left in it.
            QByteArrayView record(buffer);
            if (r > 0) record = record.first(std::min<qsizetype>(r, record.size()));
            const char16_t* target = record.startsWith("O2")   ? kO2FlashFile
                                     : record.startsWith("O4") ? kO4FlashFile
                                     : record.startsWith("O5") ? kO5FlashFile
                                     : record.startsWith("O6") ? kO6FlashFile
                                                               : nullptr;
            if (target) log.step("append flash odds line", [&] { AppendJvRecordLine(AppFile(target), record); });
        }
        log.step("JVClose", [&] { JVLink1.JVClose(); });
    }

    // 6.
    races.close();
    ui.setText(ctl::FlashText1, QString::fromUtf8("速報オッズ取得完了"));
}

}  // namespace rw::jv
