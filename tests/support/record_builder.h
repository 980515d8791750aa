#pragma once
// Well-formed JV-Data records for tests: a record of its published length,
// kind code, data kind and CR LF in place, every other byte a digit pattern
// (or blanks), with items set by Field.
#include "jvdata/records.h"

#include <QByteArray>

namespace rwtest {

class RecordBuilder {
public:
    explicit RecordBuilder(rw::jv::Kind kind, char dataKind = '2', char fill = '0');
    RecordBuilder& set(rw::jv::Field f, QByteArrayView value);  // padded/cut to the width
    RecordBuilder& setAt(int pos, QByteArrayView value);        // raw bytes at a 1-based position
    RecordBuilder& raceKey(QByteArrayView key16);
    QByteArray bytes() const { return rec_; }
    operator QByteArray() const { return rec_; }
    // The stored image of the record (KS: 4161 bytes).
    QByteArray image() const;

private:
    rw::jv::Kind kind_;
    QByteArray rec_;
};

}  // namespace rwtest
