#pragma once
// The day sheets' payout look-up as a literal scan: for every sheet row the
// week's payoff file is opened and read record by record into CurrentHR
// (record count = length / 719 rounded; a short last record reads as zero
// bytes), and every record of the race sets the win and place strings from
// its entries whose horse number is the runner's (empty when none), so the
// last record of the race wins. The reference for the indexed look-up.
#include "common/kestrav_path.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "prediction/run_state.h"

#include <QFile>

namespace rwtest {

struct LiteralPayouts {
    QByteArray win, place;
};

inline LiteralPayouts LiteralRunnerPayouts(rw::prediction::RunState& s, QByteArrayView race, int horse) {
    using namespace rw::jv;
    LiteralPayouts out;
    QFile f(rw::AppFile(kHrWeekFile));
    const qint64 count = f.exists() ? (f.size() + 359) / 719 : 0;
    if (count && !f.open(QIODevice::ReadOnly)) return out;
    const QByteArray number = QByteArray::number(horse).rightJustified(2, '0');
    for (s.EntryIndex = 1; s.EntryIndex <= count; ++s.EntryIndex) {
        f.seek((s.EntryIndex - 1) * 719);
        QByteArray rec = f.read(719);
        rec.append(QByteArray(719 - rec.size(), '\0'));
        s.CurrentHR = rec;
        auto item = [&](Field fl) { return rec.mid(fl.offset(), fl.width); };
        if (item(head::Year) + item(head::MonthDay) + item(head::Racecourse) + item(head::RaceNumber) != race)
            continue;
        out = {};
        for (int i = 2; i >= 0; --i)
            if (item(hr::Payout("win payouts", i, "horse number")) == number)
                out.win = item(hr::Payout("win payouts", i, "payout"));
        for (int i = 4; i >= 0; --i)
            if (item(hr::Payout("place payouts", i, "horse number")) == number)
                out.place = item(hr::Payout("place payouts", i, "payout"));
    }
    s.WriterWork.HrRecordCount = std::int16_t(count);
    return out;
}

}  // namespace rwtest
