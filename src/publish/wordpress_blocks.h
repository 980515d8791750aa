#pragma once
// YOSOKEKKATHISWEEKNZ: the WordPress blocks, one file of block-editor markup
// per race day and racecourse in "ravelmont_wp" ("<date>-<course>.txt"):
// per race a heading, the bet table and the race card; "Finish" after race
// 12. The same in both modes; no links, scripts or addresses.
#include "prediction/run_state.h"

namespace rw::publish {

// SetPublishingStrings first; then the race's DayKey against LastWpKey (a
// new key empties the file, the same key appends), the race's block when a
// runner has predicted rank 1, and "Finish" when the call appended and
// PubRaceNo is 12. Throws StepFailure where a statement fails (a predicted
// rank that is not a number, a course name that cannot be a file name, the
// file not writable), the lines made before it written.
void WriteWordPressBlocks(prediction::RunState& s);

}  // namespace rw::publish
