#pragma once
// YOSOKEKKATHISWEEKNZ: the publishing strings of a race, shared by the
// WordPress blocks, the web page and the print page, and the row strings of
// their race cards.
#include "prediction/run_state.h"

#include <QByteArray>

namespace rw::publish {

// Sets PublishingStrings from the race key of CurrentHorse, PairBets and
// SLineTrios: the race number and day of the meeting in display form, the
// twelve race-link classes, month, day and weekday of the race date, and
// the horse numbers of the race's own bets: the first PairCount pairs (at
// most six) and the non-empty entries among the first TrioCount of
// SLineTrios (at most seven); the places of bets the race lacks are empty.
// Reads nothing else, so a second call for the race gives the same strings.
// Throws StepFailure for a race number that is not a number or a date that
// is no calendar date (the strings set before it stay).
void SetPublishingStrings(prediction::RunState& s);

// The weekday character of a calendar date: 土 Saturday, 月 Monday, 火
// Tuesday, 水 Wednesday, 木 Thursday, 金 Friday, 日 Sunday; code page 932.
QByteArray WeekdayText(int year, int month, int day);

// The bet cells: the shown pairs "a-b" and trios "a-b-c", joined by
// `separator` (code page 932).
QByteArray PairCell(const prediction::RunState& s, const QByteArray& separator);
QByteArray TrioCell(const prediction::RunState& s, const QByteArray& separator);

// The row strings of horse `h` for the web race cards: RowFrameText,
// RowRankText and RowAgeText.
void SetRowTexts(prediction::RunState& s, int h);
// RowFrameClass and RowFontTag by the frame number of horse `h` read as a
// number (StepFailure when it is none); a frame outside 1-8 gets an empty
// class and no font tag.
void SetRowFrameClass(prediction::RunState& s, int h);

}  // namespace rw::publish
