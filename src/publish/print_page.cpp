#include "publish/print_page.h"

#include "prediction/code_table.h"
#include "publish/character_references.h"
#include "publish/export_text.h"
#include "publish/publish_files.h"
#include "publish/web_sections.h"

namespace rw::publish {

void WritePrintPage(prediction::RunState& s) {
    const RaceKey k = RaceKeyOf(s);
    const QByteArray course = prediction::CodeName(s.CodeTable, "2001", k.course, 4);
    const QByteArray latin = LowerLatin(prediction::CodeName(s.CodeTable, "2001", k.course, 6));
    const auto& p = s.PublishingStrings;
    WriteKeyedBuilt(s.LastPrintKey, keyText(k.dayKey()), PrintPageFile(k.date(), latin),
                    WithCharacterReferences([&](QByteArray& out, bool fresh) {
        TextLines w(out);
        if (fresh) {
            w.lineThenEmpty("<!DOCTYPE html>");
            w.line("<html>");
            w.line("<head>");
            w.line("<meta charset=\"UTF-8\">");
            w.line("<link rel=\"stylesheet\" type=\"text/css\" href=\"../css/common.css\">");
            w.line("</head>");
            AppendSiteTop(w, s, k, course, WebOutput::Print);
        }
        if (HasRankOne(s)) AppendRaceMain(w, s, k, latin);
        if (!fresh && Int16Number(p.PubRaceNo, "race number") == 12) {
            w.lineThenEmpty("<!--// maincol--></div>");
            w.line("        </div><!--// container-->");
            w.lineThenEmpty("    </div><!--// container_bk-->");
            AppendFooter(w);
            w.lineThenEmpty("</div><!--// wraptop-->");
            w.line("</body>");
            w.line("</html>");
        }
    }));
}

}  // namespace rw::publish
