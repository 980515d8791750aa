#pragma once
// Small random weeks for the compute pass of ⑤: horse files of expanded run
// records as the builder leaves them, the statistics files the categorisers
// read, and a model written from the codes those records come to carry.
// Mixed in: every kind of record out of scope (dated 20101231, course codes
// "00" and "11", track codes "00", "30"-"49"), records dated 20110101,
// horses with 0 to 6 records, scratched previous runs, local and overseas
// runs, blank last-three-furlongs times, duplicate statistics keys, codes
// missing from the model and duplicated in it, item-1 categories without
// samples, weights beyond ±20, a list value that is not ten digits, and a
// horse that fails part-way (a run time equal to its last three furlongs, a
// distance that is not a number).
#include <QByteArray>
#include <QList>
#include <QRandomGenerator>

namespace rwtest {

// Writes the horse files and the statistics files into the application
// folder (AppPath); returns the week's list as ⑤ reads it.
QList<QByteArray> writeRandomComputeWeek(QRandomGenerator& rng, int horses);

// Writes the three surfaces' model files from the category codes (and the
// sire, dam-sire and blinker fields) that the horse files of `list` hold,
// with some codes left out, some duplicated, item 2's "6" codes for the
// retry, item-1 categories without samples and a few weights beyond ±20.
void writeModelFromCodes(QRandomGenerator& rng, const QList<QByteArray>& list);

}  // namespace rwtest
