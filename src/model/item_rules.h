#pragma once
// KESTRAVEXPDTHISWEEKNZ: the rules that the measured speeds and the 30 item
// categorisers of ⑤ share: reading a member of an expanded run record, the
// three ways of reading a number out of it, text ranges, the previous run,
// the rate and log bands and the day count of two record dates.
#include "common/fixed_text.h"
#include "common/numbers.h"
#include "model/expanded_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <cstdint>
#include <functional>
#include <optional>

namespace rw::model {

// The member's bytes in a record image.
inline QByteArrayView get(QByteArrayView record, Field f) { return member(record, f); }
inline void put(QByteArray& record, Field f, QByteArrayView value) { putFixed(record, f.pos, f.width, value); }
// put(record, f, numberText(v)) without the text in between.
inline void putWhole(QByteArray& record, Field f, std::int64_t v) {
    char digits[24];
    putFixed(record, f.pos, f.width, QByteArrayView(digits, wholeDigits(v, digits)));
}

// lo <= text <= hi in byte order (a two-character code compared as text:
// " 8" lies below "00").
inline bool textIs(QByteArrayView text, QByteArrayView value) { return text == value; }

// Strictly as a whole number: the text must be a number (blanks around it
// allowed); a fraction is rounded half to even, as the system's whole-number
// conversions round. Nothing when it is not a number or lies beyond 32 bits.
std::optional<std::int64_t> wholeOf(QByteArrayView text);
// The same, throwing StepFailure naming `what`.
std::int64_t strictWhole(QByteArrayView text, const char* what);

// Int(v / 4000): the band of a rate, a whole number.
std::int64_t RateBand(double v);
// Int(10 × log10(x)); throws StepFailure when x is not positive (the
// logarithm cannot be taken).
std::int64_t LogBand(double x);

// A date from the texts of year, month and day, as the system's date
// conversion of "year/month/day" takes it; nothing when that is not a date.
std::optional<QDate> dateOf(QByteArrayView year, QByteArrayView month, QByteArrayView day);
// The run's race date (RaceYear and the two halves of RaceMonthDay).
std::optional<QDate> raceDateOf(QByteArrayView record);
std::optional<QDate> birthDateOf(QByteArrayView record);
// Calendar days from a to b, taken as the whole number formed by the last
// four digits of that number + 10000: 0 to 9999 days stay as they are.
std::int64_t Days(const QDate& a, const QDate& b);

// The previous run of record cur (at least 2): cur − 1 when its
// AbnormalityCode is "0"; otherwise record 1 for cur = 2 and cur − 2 beyond.
// `record` reads record n of the open horse file.
int PreviousRunNo(int cur, const std::function<QByteArray(int)>& record);

}  // namespace rw::model
