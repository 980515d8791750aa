#pragma once
// YOSOKEKKATHISWEEKNZ: the sections that the web page and the print page
// share, line for line: the site top (header, navigation, breadcrumb, date,
// day navigation), the race's main content (race links, race line, bet
// table, race card) and the footer. Each appends CR LF lines.
#include "prediction/run_state.h"
#include "publish/export_text.h"

#include <QByteArray>

namespace rw::publish {

enum class WebOutput { Page, Print };

// From "<body>" to the day navigation. `course` is the racecourse's
// display name; the page marks its navigation's first item "bggray".
void AppendSiteTop(TextLines& w, const prediction::RunState& s, const RaceKey& k, const QByteArray& course,
                   WebOutput kind);
// The twelve race links of the day at the course `latin`, and the empty
// line after them.
void AppendRaceLinks(TextLines& w, const prediction::RunState& s, const RaceKey& k, const QByteArray& latin);
// Race links, race line, bet table and race card (one row per horse 1 to
// HorseCount, CurIndex left at HorseCount + 1). Throws StepFailure for a
// frame number that is not a number, the lines before it made.
void AppendRaceMain(TextLines& w, prediction::RunState& s, const RaceKey& k, const QByteArray& latin);
// The footer from "    <div id=\"footer_bk\">" to its closing line and the
// empty line after it.
void AppendFooter(TextLines& w);

}  // namespace rw::publish
