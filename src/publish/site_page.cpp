#include "publish/site_page.h"

#include "prediction/code_table.h"
#include "publish/character_references.h"
#include "publish/export_text.h"
#include "publish/publish_files.h"
#include "publish/publishing_strings.h"
#include "publish/site_texts.h"
#include "publish/web_sections.h"

namespace rw::publish {
namespace {

void appendAdvert(TextLines& w, const char* indent, const char* scriptType, const char8_t* comment, const char* slot,
                  int width, int height) {
    w.line(indent, "<script type=\"", scriptType, "\"><!--");
    w.line(indent, site::kAdPublisher);
    w.line(indent, comment);
    w.line(indent, slot);
    w.line(indent, site::kAdWidth, width, ";");
    w.line(indent, site::kAdHeight, height, ";");
    w.line(indent, "//-->");
    w.line(indent, "</script>");
    w.line(indent, "<script type=\"text/javascript\"");
    w.line(indent, site::kAdScriptSource);
    w.line(indent, "</script>");
}

}  // namespace

void AppendSitePage(prediction::RunState& s, QByteArray& out) {
    const RaceKey k = RaceKeyOf(s);
    const auto& p = s.PublishingStrings;
    const QByteArray course = prediction::CodeName(s.CodeTable, "2001", k.course, 4);
    const QByteArray latin = LowerLatin(prediction::CodeName(s.CodeTable, "2001", k.course, 6));
    const QByteArray m = k.meeting.mid(1, 1);
    TextLines w(out);
    w.lineThenEmpty("<!DOCTYPE html>");
    w.line("<html>");
    w.line("<head>");
    w.line("<meta charset=\"UTF-8\">");
    w.line(u8"<meta name=\"Keywords\" content=\"無料競馬予想,無料予想,競馬,競馬予想\">");
    w.line(u8"<meta name=\"Description\" "
           u8"content=\"毎週開催されるJRA競馬1R～3Rまでの競馬予想を無料で公開！稀に全レースを公開することも！？\">");
    w.line(u8"<title>無料競馬予想｜", course, u8"｜", m, u8"回", course, p.PubMeetingDay, u8"日｜", p.PubRaceNo,
           "R</title>");
    w.line("<link rel=\"stylesheet\" type=\"text/css\" href=\"../css/common.css\">");
    w.line("<link rel=\"shortcut icon\" href=\"../images/favicon.png\">");
    w.line("</head>");
    AppendSiteTop(w, s, k, course, WebOutput::Page);
    AppendRaceMain(w, s, k, latin);
    AppendRaceLinks(w, s, k, latin);
    w.lineThenEmpty("<!--// maincol--></div>");
    w.line("<div id=\"subnav\"><a href=\"", site::kAddress,
           u8"/expectation\"><img src=\"../images/links_expectation.png\" width=\"200\" height=\"50\" alt=\"競馬予想\">");
    w.line("<div id=\"subnavTitle\"></div>");
    w.line("    <ul>");
    w.line("        <li><a href=\"", site::kAddress, u8"/expectation/charge.html\">競馬予想(有料版)</a></li>");
    w.line("        <li><a href=\"", site::kAddress, u8"/expectation/free.html\">競馬予想(一部無料版)</a></li>");
    w.line("        <li><a href=\"", site::kAddress, u8"/expectation/database.html\">競馬予想(過去分)</a></li>");
    w.line("        <li><a href=\"", site::kAddress, u8"/expectation/hitlist.html\">的中情報</a></li>");
    w.line("    </ul>");
    w.lineThenEmpty("</div><!--// subnav-->");
    w.line("<div id=\"submenu_ad1\">");
    appendAdvert(w, "    ", "Text/javascript", u8"/* 160x600, 作成済み 09/12/11 */", site::kAdSideSlot, 160, 600);
    w.line("</div><!--// submenu_ad1-->");
    w.line("<div id=\"mainad\">");
    appendAdvert(w, "", "text/javascript", u8"/* 728x90, 作成済み 09/12/20 */", site::kAdMainSlot, 728, 90);
    w.lineThenEmpty("</div><!--// mainad-->");
    w.line("        </div><!--// container-->");
    w.lineThenEmpty("    </div><!--// container_bk-->");
    AppendFooter(w);
    w.lineThenEmpty("</div><!--// wraptop-->");
    w.line(site::kTrackingComment);
    w.line("<script type=\"text/javascript\">");
    w.line(site::kTrackingHost);
    w.line(site::kTrackingLoad);
    w.line("</script>");
    w.line("<script type=\"text/javascript\">");
    w.line("try {");
    w.line(site::kTrackingTracker);
    w.line("pageTracker._trackPageview();");
    w.line("} catch(err) {}</script>");
    w.lineThenEmpty(site::kTrackingComment);
    w.line("</body>");
    w.line("</html>");
}

void WriteSitePage(prediction::RunState& s) {
    SetPublishingStrings(s);
    const RaceKey k = RaceKeyOf(s);
    const QString key = keyText(k.raceId());
    if (key == s.LastPageKey) return;
    s.LastPageKey = key;
    const QByteArray latin = LowerLatin(prediction::CodeName(s.CodeTable, "2001", k.course, 6));
    WriteWholeBuilt(SitePageFile(k.date(), latin, s.PublishingStrings.PubRaceNo),
                    WithCharacterReferences([&](QByteArray& out) { AppendSitePage(s, out); }));
}

}  // namespace rw::publish
