#include "publish/wordpress_blocks.h"

#include "common/cp932.h"
#include "prediction/code_table.h"
#include "publish/export_text.h"
#include "publish/publish_files.h"
#include "publish/publishing_strings.h"

namespace rw::publish {
namespace {

void appendTableOpen(TextLines& w) {
    w.line("<!-- wp:table -->");
    w.line("<figure class=\"wp-block-Table\">");
    w.line("<table class=\"\">");
    w.line("<tbody>");
}

void appendTableClose(TextLines& w) {
    w.line("</tbody>");
    w.line("</table>");
    w.line("</figure>");
    w.line("<!-- /wp:table -->");
}

void appendBlock(TextLines& w, prediction::RunState& s) {
    namespace rt = prediction::rt;
    const prediction::RaceRow& race = checkedAt(s.RaceTable, s.RaceIndex);
    const QByteArray& start = race[rt::StartTime];
    const auto& p = s.PublishingStrings;
    w.line("<!-- wp:heading -->");
    w.line("<h2><strong>", DisplayForm(race[rt::RaceNum]), "R", " ", race[rt::TrackName], " ", race[rt::Distance],
           u8"m 発走 ", start.first(qMin<qsizetype>(2, start.size())), u8"：", start.mid(2, 2), "</strong></h2>");
    w.line("<!-- /wp:heading -->");
    const QByteArray& separator = sj(u8"・");
    appendTableOpen(w);
    w.line(u8"<tr><th>単勝・複勝</th><td>出馬表の予想順位を参考にして下さい</td></tr>");
    w.line(u8"<tr><th>馬連・馬単</th><td>", PairCell(s, separator), "</td></tr>");
    w.line(u8"<tr><th>3連複・3連単</th><td>", TrioCell(s, separator), "</td></tr>");
    appendTableClose(w);
    appendTableOpen(w);
    w.line(u8"<tr><th>枠</th><th>馬番</th><th>予想</th><th>馬名</th><th>性齢</th><th>負担重量</th><th>騎手</th><th>"
           u8"調教師</th></tr>");
    for (s.CurIndex = 1; s.CurIndex <= s.HorseCount; ++s.CurIndex) {
        const int h = s.CurIndex;
        SetRowTexts(s, h);
        w.line("<tr><td><strong>", p.RowFrameText, "</strong></td><td>", h, "</td><td>", p.RowRankText,
               "</td><td>", cp932::firstChars(checkedAt(s.HorseName, h), 9), "</td><td>", checkedAt(s.SexName, h), p.RowAgeText,
               "</td><td>", checkedAt(s.CarriedWeight, h), "kg</td><td>", cp932::firstChars(checkedAt(s.JockeyName, h), 4),
               "</td><td>", cp932::firstChars(checkedAt(s.TrainerName, h), 4), "</td></tr>");
    }
    appendTableClose(w);
}

}  // namespace

void WriteWordPressBlocks(prediction::RunState& s) {
    SetPublishingStrings(s);
    const RaceKey k = RaceKeyOf(s);
    const QByteArray latin = LowerLatin(prediction::CodeName(s.CodeTable, "2001", k.course, 6));
    WriteKeyedBuilt(s.LastWpKey, keyText(k.dayKey()), WordPressDayFile(k.date(), latin),
                    [&](QByteArray& out, bool fresh) {
                        TextLines w(out);
                        if (HasRankOne(s)) appendBlock(w, s);
                        if (!fresh && Int16Number(s.PublishingStrings.PubRaceNo, "race number") == 12) w.line("Finish");
                    });
}

}  // namespace rw::publish
