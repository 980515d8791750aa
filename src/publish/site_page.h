#pragma once
// YOSOKEKKATHISWEEKNZ: the race's page of the prediction web site, one file
// per race in "ravelmont_yosou" ("<date>_<course>_r<race>.txt"), which the
// site publishes as ".html". Its head declares UTF-8 and the file holds only
// ASCII, every other character a character reference, so the declaration
// holds (character_references.h).
#include "prediction/run_state.h"

#include <QByteArray>

namespace rw::publish {

// SetPublishingStrings, then, unless the race's RaceID equals LastPageKey,
// LastPageKey = the RaceID and the page is written anew (an earlier file of
// the name is replaced). A racecourse without a code table row gives empty
// names, and the page is still written. Throws StepFailure where a
// statement fails (a frame number that is not a number, a course name that
// cannot be a file name, the file not writable): the lines made before it
// stay in the file.
void WriteSitePage(prediction::RunState& s);

// The page's bytes for the race (publishing strings already set) as code
// page 932 text, before the references are made; appends to `out`, so that
// after a failure `out` holds the lines made before it.
void AppendSitePage(prediction::RunState& s, QByteArray& out);

}  // namespace rw::publish
