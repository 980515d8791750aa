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

FetchStatement SkippingIn(SkipLog& log) {
    return [&log](std::string_view what, const std::function<void()>& f) { return log.step(what, f); };
}

FetchStatement Unguarded() {
    return [](std::string_view, const std::function<void()>& f) {
        f();
        return true;
    };
}

void RequestFlashOdds(UiPort& ui, JvLink& JVLink1, QStringView raceFile, const QString& softwareId,
                      const FetchStatement& statement, const std::function<void(QByteArrayView read)>& onRead) {
    // Opening the race file creates it when it is missing: no requests.
    RecordFile races;
    qint64 n = 0;
    if (statement("open race file", [&] { races.open(AppFile(raceFile), imageLength(Kind::RA)); })) n = races.count();

    // The newest records first, at most 97 of them.
    const qint64 last = std::max<qint64>(1, n - (kFlashOddsRaces - 1));
    for (qint64 i = n; i >= last; --i) {
        QByteArray race;
        if (!statement("read race record", [&] { race = races.read(i); })) continue;
        ParsedRA ra;
        ParseRA(race, ra);

        statement("JVInit", [&] { CallJvInit(ui, JVLink1, softwareId); });
        const QString key = cp932::decode(ra.item(head::RaceKey16));
        statement("JVRTOpen", [&] { JVLink1.JVRTOpen(QStringLiteral("0B30"), key); });

        QByteArray buffer(kReadBufferSize, '\0');
        std::int32_t size = kReadBufferSize;
        QString fileName;
        for (int read = 1; read <= kFlashOddsReads; ++read) {
            std::int32_t r = 0;
            if (!statement("JVRead", [&] { r = JVLink1.JVRead(buffer, size, fileName); })) break;
            if (r == kReadNextFile) break;
            // Only -1 ends the race: after any other result the buffer
            // counts, whatever the component left in it.
            QByteArrayView record(buffer);
            if (r > 0) record = record.first(std::min<qsizetype>(r, record.size()));
            onRead(record);
        }
        statement("JVClose", [&] { JVLink1.JVClose(); });
    }
    races.close();
}

void FetchFlashOdds(UiPort& ui, JvLink& JVLink1, SkipLog& log) {
    // The odds tables are built from the flash files from now on.
    OddsSourceFlag = 1;
    ui.setText(ctl::FlashText1, QString::fromUtf8("速報オッズ取得を開始します。。。。。。"));
    ui.processEvents();
    for (const char16_t* f : {kO6FlashFile, kO5FlashFile, kO4FlashFile, kO2FlashFile})
        log.step("empty flash odds file", [&] { emptyTextFile(AppFile(f)); });

    // The week's race records as structure processing sorted them; each
    // kind to its file, any other kind dropped.
    RequestFlashOdds(ui, JVLink1, kRaNewFile, SidFlash(), SkippingIn(log), [&](QByteArrayView record) {
        const char16_t* target = record.startsWith("O2")   ? kO2FlashFile
                                 : record.startsWith("O4") ? kO4FlashFile
                                 : record.startsWith("O5") ? kO5FlashFile
                                 : record.startsWith("O6") ? kO6FlashFile
                                                           : nullptr;
        if (target) log.step("append flash odds line", [&] { AppendJvRecordLine(AppFile(target), record); });
    });

    ui.setText(ctl::FlashText1, QString::fromUtf8("速報オッズ取得完了"));
}

}  // namespace rw::jv
