#pragma once
// YOSOKEKKATHISWEEKNZ: the head line of the course-day's hit tables
// ("tekichu.txt", "tekichuPC.txt") and rate files ("kaiteki.txt",
// "kaitekiPC.txt"): year 年, month 月, day 日, meeting 回, racecourse name,
// day of meeting 日目, all read from the DayKey.
#include "common/text_file.h"
#include "prediction/code_table.h"

#include <QByteArrayView>
#include <QList>

namespace rw::prediction {

// The items of the head line of DayKey `dayKey` (year, month-day,
// racecourse, meeting, day: fourteen digits). Month and day keep their
// leading zero; meeting and day of meeting lose it. A racecourse without a
// row in code table 2001 is nothing between the commas.
QList<CsvValue> DayHeadLine(const CodeTable& codes, QByteArrayView dayKey);

}  // namespace rw::prediction
