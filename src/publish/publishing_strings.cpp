#include "publish/publishing_strings.h"

#include "common/numbers.h"
#include "publish/export_text.h"
#include "reports/combination_texts.h"

#include <QDate>

namespace rw::publish {
QByteArray WeekdayText(int year, int month, int day) {
    const QDate d(year, month, day);
    if (!d.isValid())
        fail("race date " + std::to_string(year) + "/" + std::to_string(month) + "/" + std::to_string(day) +
             " is no calendar date");
    static const char8_t* const names[] = {u8"月", u8"火", u8"水", u8"木", u8"金", u8"土", u8"日"};
    return sj(names[d.dayOfWeek() - 1]);
}

void SetPublishingStrings(prediction::RunState& s) {
    const RaceKey k = RaceKeyOf(s);
    auto& p = s.PublishingStrings;
    p.PubRaceNo = DisplayForm(k.raceNo);
    p.PubMeetingDay = DisplayForm(k.day);
    const int raceNo = Int16Number(k.raceNo, "race number");
    for (int n = 1; n <= 12; ++n) p.RaceLinkClass[size_t(n - 1)] = n == raceNo ? "bgnabygreen" : "bgnabyblue";
    p.PubMonth = DisplayForm(k.monthDay.first(qMin<qsizetype>(2, k.monthDay.size())));
    p.PubDay = DisplayForm(k.monthDay.mid(2, 2));
    p.PubWeekday = WeekdayText(Int16Number(k.year, "race year"), Int16Number(p.PubMonth, "race month"),
                               Int16Number(p.PubDay, "race day"));
    for (int i = 1; i <= 6; ++i) {
        QByteArray first, second;
        if (i <= s.PairCount) {
            const QByteArray& key = checkedAt(s.PairBets, i);
            first = DisplayForm(key.first(qMin<qsizetype>(2, key.size())));
            second = DisplayForm(key.mid(2, 2));
        }
        p.PubPairHorses[size_t(2 * i - 2)] = first;
        p.PubPairHorses[size_t(2 * i - 1)] = second;
    }
    for (int i = 1; i <= 7; ++i) {
        // The race's own trios only: entries past TrioCount or emptied by the
        // race card belong to no bet of this race.
        const QByteArray& key = s.SLineTrios[size_t(i - 1)];
        const QByteArray text =
            i <= s.TrioCount && !key.trimmed().isEmpty() ? reports::FormatSanrenpuku(key) : QByteArray();
        for (int j = 0; j < 3; ++j)
            p.PubTrioHorses[size_t(3 * i - 3 + j)] = text.isEmpty() ? QByteArray() : DisplayForm(text.mid(3 * j, 2));
    }
}

QByteArray PairCell(const prediction::RunState& s, const QByteArray& separator) {
    const auto& h = s.PublishingStrings.PubPairHorses;
    QByteArray out;
    for (size_t i = 0; i < h.size(); i += 2) {
        if (h[i].isEmpty()) continue;
        if (!out.isEmpty()) out += separator;
        out += h[i] + '-' + h[i + 1];
    }
    return out;
}

QByteArray TrioCell(const prediction::RunState& s, const QByteArray& separator) {
    const auto& h = s.PublishingStrings.PubTrioHorses;
    QByteArray out;
    for (size_t i = 0; i < h.size(); i += 3) {
        if (h[i].isEmpty()) continue;
        if (!out.isEmpty()) out += separator;
        out += h[i] + '-' + h[i + 1] + '-' + h[i + 2];
    }
    return out;
}

void SetRowTexts(prediction::RunState& s, int h) {
    auto& p = s.PublishingStrings;
    const QByteArray& frame = checkedAt(s.FrameNo, h);
    p.RowFrameText = frame.size() >= 2 && frame[1] == ' ' ? frame.first(1) : frame.first(qMin<qsizetype>(2, frame.size()));
    const QByteArray& rank = checkedAt(s.PredRank, h);
    p.RowRankText = !rank.isEmpty() && rank[0] == ' ' ? rank.mid(1, 1) : rank.first(qMin<qsizetype>(2, rank.size()));
    p.RowAgeText = DisplayForm(checkedAt(s.HorseAge, h));
}

void SetRowFrameClass(prediction::RunState& s, int h) {
    static const char* const classes[] = {"bgwhite", "bgblack2", "bgred",    "bgblue",
                                          "bgyellow", "bggreen", "bgorange", "bgpink"};
    const int frame = Int16Number(checkedAt(s.FrameNo, h), "frame number");
    auto& p = s.PublishingStrings;
    const bool known = frame >= 1 && frame <= 8;
    p.RowFrameClass = known ? classes[frame - 1] : "";
    p.RowFontTag = known && (frame == 2 || frame == 3 || frame == 4 || frame == 6) ? "<font color=\"#ffffff\">" : "";
}

}  // namespace rw::publish
