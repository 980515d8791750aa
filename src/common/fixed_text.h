#pragma once
// Fixed-width text members, measured in bytes of their code page 932 form.
// A member assigned from a shorter value is padded with blanks, a longer one
// is cut; a member never assigned holds zero bytes (callers start from
// QByteArray(width, '\0')).
#include "common/layout_table.h"
#include <QByteArray>
#include <QByteArrayView>

namespace rw {

// The value as a member of `width` bytes: padded with blanks or cut.
QByteArray fixedBytes(QByteArrayView value, qsizetype width);

// Assigns `value` to the member at 1-based byte position `pos` of `record`.
// The record must be long enough to hold the member.
void putFixed(QByteArray& record, qsizetype pos, qsizetype width, QByteArrayView value);

// The bytes of the member at 1-based position `pos` (fewer, or none, where the
// record ends early).
QByteArrayView member(QByteArrayView record, qsizetype pos, qsizetype width);
// The bytes of a layout's member.
inline QByteArrayView member(QByteArrayView record, const recordlayout::Field& f) {
    return member(record, f.pos, f.width);
}

// Text read from a record, never-assigned zero bytes read as blanks (the
// system's strings hold blanks where the file holds zero bytes).
QByteArray zerosAsBlanks(QByteArrayView bytes);
// The member at 1-based `pos` so read.
QByteArray blankedMember(QByteArrayView record, qsizetype pos, qsizetype width);

// A fixed-width item compared as text with its bounds: lo <= text <= hi,
// byte by byte ("  " lies below "00", "1" below "10").
inline bool textBetween(QByteArrayView text, QByteArrayView lo, QByteArrayView hi) {
    return text.compare(lo) >= 0 && text.compare(hi) <= 0;
}

// The system's CutBytes: the bytes from `pos` (1-based, advanced by `width`
// whatever is found), at most `width` of them.
QByteArray CutBytes(QByteArrayView record, qsizetype& pos, qsizetype width);

// Single-precision members: IEEE 754, four bytes little-endian, at 1-based
// position `pos`. Reading past the record's end gives 0.0.
float getSingle(QByteArrayView record, qsizetype pos);
void putSingle(QByteArray& record, qsizetype pos, float value);

// A record image read as text with its trailing blanks removed; used where a
// task compares or shows a trimmed item.
QByteArray trimmedRight(QByteArrayView value);

}  // namespace rw
