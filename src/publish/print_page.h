#pragma once
// YOSOKEKKATHISWEEKNZ: the day's print page, one HTML document per race day
// and racecourse in "ravelmont_wp" ("<date>_<course>_pdf.txt"), declaring
// UTF-8 and holding only ASCII, every other character a character reference
// (character_references.h): the page head when the day's
// first race comes, then each race's main content, and the page foot after
// race 12. The same in both modes.
#include "prediction/run_state.h"

namespace rw::publish {

// The race's DayKey against LastPrintKey: a new key empties the file and
// writes the page head, the same key appends. When a runner has predicted
// rank 1, the race's section follows; when the call appended and PubRaceNo
// is 12, the page foot. Reads the publishing strings WriteSitePage set for
// the race. Throws StepFailure where a statement fails (a predicted rank,
// frame number or, on appending, race number that is not a number; a
// course name that cannot be a file name; the file not writable), the lines
// made before it written.
void WritePrintPage(prediction::RunState& s);

}  // namespace rw::publish
