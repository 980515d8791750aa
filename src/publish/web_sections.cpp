#include "publish/web_sections.h"

#include "common/cp932.h"
#include "publish/publishing_strings.h"
#include "publish/site_texts.h"

namespace rw::publish {
namespace {

constexpr const char* kCourseWords[] = {"nakayama", "hanshin", "chukyo"};

struct NaviItem {
    const char* path;
    const char* cls;
    const char8_t* text;
};
constexpr NaviItem kGlobalNavi[] = {
    {"/expectation", "fS11", u8"競馬予想"}, {"/game", "fS11", u8"競馬ゲーム"}, {"/bet", "fS10", u8"馬券の買い方"},
    {"/horse_race", "fS11", u8"競馬"},      {"/theory", "fS11", u8"競馬理論"}, {"/horse", "fS11", u8"競走馬"},
    {"/jockey", "fS11", u8"騎手"},          {"/track", "fS11", u8"競馬場"},    {"/state", "fS11", u8"馬場状態"},
};

}  // namespace

void AppendSiteTop(TextLines& w, const prediction::RunState& s, const RaceKey& k, const QByteArray& course,
                   WebOutput kind) {
    const auto& p = s.PublishingStrings;
    const QByteArray m = k.meeting.mid(1, 1);
    w.lineThenEmpty("<body>");
    w.line("<div id=\"wraptop\">");
    w.line(" <div id=\"header_bk\">");
    w.line("  <div id=\"header\">");
    w.line(u8"  <h1>無料競馬予想｜", course, u8"｜", m, u8"回", course, p.PubMeetingDay, u8"日｜", p.PubRaceNo, "R</h1>");
    w.line("    <div id=\"logo\">");
    w.line("     <a href=\"/\"><img class=\"bdrad bdweb bdmoz\" src=\"../images/logo.png\" alt=\"ravelmont\" "
           "width=\"316\" height=\"100\"></a>");
    w.line("    </div><!--// logo-->");
    w.line("     <div id=\"globalnavi\">");
    w.line("         <ul>");
    bool first = true;
    for (const NaviItem& n : kGlobalNavi) {
        const char* cls = first && kind == WebOutput::Page ? "fS11 bggray" : n.cls;
        first = false;
        w.line("         <li><a href=\"", site::kAddress, n.path, "\" class=\"", cls, "\" title=\"", n.text, "\">",
               n.text, "</a></li>");
    }
    w.line("         </ul>");
    w.line("     </div><!--// globalnavi-->");
    w.line("   </div><!--// header-->");
    w.lineThenEmpty("  </div><!--// header_bk-->");
    w.line("  <div id=\"container_bk\" class=\"pb30\">");
    w.lineThenEmpty("   <div id=\"container\">");
    w.lineThenEmpty(u8"<div id=\"pan\"><a href=\"/\">ホーム</a>&nbsp;/&nbsp;<a href=\"", site::kAddress,
                    u8"/expectation\">競馬予想</a>&nbsp;/&nbsp;", course, "</div><!--// pan-->");
    w.line("<div id=\"maincol\" class=\"clear\">");
    w.line(u8"<!-- 本文はここから始まっています -->");
    w.line(u8"<h2 class=\"b f18\"><img src=\"../images/subicon.png\" align=\"left\">無料競馬予想</h2>");
    w.line("<p class=\"mt10 ml8 lh20\">");
    w.line("<b>", k.year, u8"年", p.PubMonth, u8"月", p.PubDay, u8"日(", p.PubWeekday, ")</b>");
    w.line("</p>");
    w.line("<div id=\"yosounavi\">");
    w.line("     <ul>");
    for (size_t i = 0; i < 3; ++i)
        w.line("         <li><a href=\"", site::kAddress, "/expectation/", k.date(), "_", kCourseWords[i],
               ".html\" class=\"", p.CourseNaviClass[i], "\">", p.CourseNaviText[i], "</a></li>");
    w.line("     </ul>");
    w.lineThenEmpty("</div><!--// yosounavi-->");
}

void AppendRaceLinks(TextLines& w, const prediction::RunState& s, const RaceKey& k, const QByteArray& latin) {
    w.line("<table class=\"raceList\">");
    w.line("    <tr>");
    for (int n = 1; n <= 12; ++n)
        w.line("        <td class=\"", s.PublishingStrings.RaceLinkClass[size_t(n - 1)], "\"><a href=\"",
               site::kAddress, "/expectation/", k.date(), "_", latin, "_r", n, ".html\" title=\"", n, "R\">", n,
               "R</a></td>");
    w.line("    </tr>");
    w.lineThenEmpty("</table>");
}

void AppendRaceMain(TextLines& w, prediction::RunState& s, const RaceKey& k, const QByteArray& latin) {
    const auto& p = s.PublishingStrings;
    const prediction::RaceRow& race = checkedAt(s.RaceTable, s.RaceIndex);
    const QByteArray& start = race[prediction::rt::StartTime];
    AppendRaceLinks(w, s, k, latin);
    w.line("<p class=\"mt5 ml8 lh20\">");
    w.line("<b>", p.PubRaceNo, "R<br />");
    w.line(p.PubRaceLabel, "&nbsp;&nbsp;&nbsp;", race[prediction::rt::TrackName], "&nbsp;&nbsp;&nbsp;",
           race[prediction::rt::Distance], "m&nbsp;&nbsp;&nbsp;", u8"発走&nbsp;", start.first(qMin<qsizetype>(2, start.size())),
           u8"：", start.mid(2, 2), "<br /><br />");
    w.line(u8"<img src=\"../images/arrow.png\" alt=\"arrow\">予想・買い目</b>");
    w.line("</p>");
    const QByteArray& separator = sj(u8"&nbsp;・&nbsp;");
    w.line("<table class=\"yosouList\">");
    w.line("    <tr>");
    w.line(u8"        <th bgcolor=\"#DCDCDC\">単勝・複勝</th>");
    w.line(u8"        <td>出馬表の予想順位を参考にして下さい</td>");
    w.line("    </tr>");
    w.line("    <tr>");
    w.line(u8"        <th bgcolor=\"#DCDCDC\">馬連・馬単</th>");
    w.line("        <td>", PairCell(s, separator), "</td>");
    w.line("    </tr>");
    w.line("    <tr>");
    w.line(u8"        <th bgcolor=\"#DCDCDC\">３連複・３連単</th>");
    w.line("        <td>", TrioCell(s, separator), "</td>");
    w.line("    </tr>");
    w.line("</table>");
    w.line("<p class=\"mt10 ml8 lh20\">");
    w.line(u8"<img src=\"../images/arrow.png\" alt=\"arrow\"><b>出馬表</b>");
    w.line("</p>");
    w.line("<table class=\"raceDetail\">");
    w.line("<tr>");
    for (const char8_t* head : {u8"枠", u8"馬番"}) w.line("    <th>", head, "</th>");
    w.line(u8"    <th bgcolor=\"#FFD700\">予想</th>");
    for (const char8_t* head : {u8"馬名", u8"性齢", u8"負担重量", u8"騎手", u8"調教師"}) w.line("    <th>", head, "</th>");
    w.line("</tr>");
    for (s.CurIndex = 1; s.CurIndex <= s.HorseCount; ++s.CurIndex) {
        const int h = s.CurIndex;
        SetRowTexts(s, h);
        SetRowFrameClass(s, h);
        w.line("<tr>");
        w.line("   <td class=\"", p.RowFrameClass, "\">", p.RowFontTag, "<b>", p.RowFrameText, "</b></td>");
        w.line("   <td>", h, "</td>");
        w.line("   <td>", p.RowRankText, "</td>");
        w.line("   <td>", cp932::firstChars(checkedAt(s.HorseName, h), 9), "</td>");
        w.line("   <td>", checkedAt(s.SexName, h), p.RowAgeText, "</td>");
        w.line("   <td>", checkedAt(s.CarriedWeight, h), "kg</td>");
        w.line("   <td>", cp932::firstChars(checkedAt(s.JockeyName, h), 4), "</td>");
        w.line("   <td>", cp932::firstChars(checkedAt(s.TrainerName, h), 4), "</td>");
        w.line("</tr>");
    }
    w.line("</table>");
}

void AppendFooter(TextLines& w) {
    w.line("    <div id=\"footer_bk\">");
    w.line("        <div id=\"footer\">");
    w.line(u8"            <p class=\"b copyright\">┃<a href=\"", site::kAddress, u8"/info/kiyaku.html\">運営者・規約</a>┃",
           "<a href=\"", site::kAddress, u8"/info/link.html\">リンク</a>┃", "<a href=\"", site::kAddress,
           u8"/info/links.html\">相互リンク</a>┃", "<a href=\"mailto:", site::kContactMail, u8"\">お問い合わせ</a>┃",
           "<br />");
    w.line("            <br />", site::kBrandNotice, "</p>");
    w.line("        </div><!--// footer-->");
    w.lineThenEmpty("    </div><!--// footer_bk-->");
}

}  // namespace rw::publish
