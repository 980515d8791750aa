#pragma once
// YOSOKEKKATHISWEEKNZ: what the exports and web writers share: the race's key
// parts from the runner record, the display form of two-digit numbers, a
// line builder that keeps record bytes as they are and turns our own texts
// into code page 932, and the two ways a writer puts a race's bytes into its
// file (a whole file, or a keyed day file) so that a failure part-way still
// leaves the lines made before it.
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/keyed_output.h"
#include "prediction/run_state.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

namespace rw::publish {

// The race key of run slot 0 of CurrentHorse, cut into its parts.
struct RaceKeyParts {
    QByteArray year, monthDay, course, meeting, day, raceNo;
    QByteArray date() const { return year + monthDay; }
    QByteArray raceId() const { return year + monthDay + course + raceNo; }
    QByteArray dayKey() const { return year + monthDay + course + meeting + day; }
    QByteArray raceKey16() const { return dayKey() + raceNo; }
};
RaceKeyParts RaceKeyOf(const prediction::RunState& s);

// A key as the writers remember it (bytes kept one to one).
inline QString keyText(QByteArrayView key) { return QString::fromLatin1(key.data(), key.size()); }

// A two-digit number without its leading zero: the second character when
// the first is "0" or a blank, otherwise the first two characters.
QByteArray DisplayForm(QByteArrayView twoChars);

// The code page 932 form of one of our own texts, encoded once.
const QByteArray& sj(const char8_t* text);

// Lines of code page 932 text ending CR LF, appended to a buffer. Plain
// char literals are ASCII and go in unchanged, u8 literals are our own texts
// (encoded), byte arrays are record or code table bytes (unchanged).
class TextLines {
public:
    explicit TextLines(QByteArray& out) : out_(out) {}
    template <class... P>
    void line(const P&... parts) {
        (put(parts), ...);
        out_.append("\r\n");
    }
    // The line followed by an empty line.
    template <class... P>
    void lineThenEmpty(const P&... parts) {
        line(parts...);
        out_.append("\r\n");
    }
    void put(const char* ascii) { out_.append(ascii); }
    void put(const char8_t* text) { out_.append(sj(text)); }
    void put(QByteArrayView bytes) { out_.append(bytes); }
    void put(const QByteArray& bytes) { out_.append(bytes); }
    void put(int n) { out_.append(QByteArray::number(n)); }

private:
    QByteArray& out_;
};

// Element i of a per-horse or bet list, StepFailure outside it.
template <class C>
const auto& at(const C& list, qsizetype i) {
    if (i < 0 || i >= qsizetype(list.size()))
        fail("index " + std::to_string(i) + " outside 0.." + std::to_string(qsizetype(list.size()) - 1));
    return list[i];
}

// A predicted rank, frame number or other whole number of the run state
// read strictly: StepFailure naming `what` when it is not a number.
int WholeNumber(QByteArrayView text, const char* what);

// True when a runner of the race (horses 1 to HorseCount) has predicted
// rank 1; the ranks are read as numbers until one is found.
bool HasRankOne(const prediction::RunState& s);

// `build(out)` appends the file's bytes; the file then holds exactly them.
// When `build` fails part-way the lines it made are still written before
// the failure goes on, as a file written line by line would hold them.
template <class Build>
void WriteWholeBuilt(const QString& path, Build&& build) {
    QByteArray out;
    try {
        build(out);
    } catch (...) {
        ReplaceFile(path, out);
        throw;
    }
    ReplaceFile(path, out);
}

// The same for a keyed day file: `build(out, fresh)` appends the race's
// bytes, with the file's head first when `fresh` (a new key: the file is
// emptied first); otherwise they are appended.
template <class Build>
void WriteKeyedBuilt(QString& lastKey, const QString& key, const QString& path, Build&& build) {
    const bool fresh = IsNewKey(lastKey, key);
    QByteArray out;
    try {
        build(out, fresh);
    } catch (...) {
        WriteKeyed(lastKey, key, path, {}, out);
        throw;
    }
    WriteKeyed(lastKey, key, path, {}, out);
}

}  // namespace rw::publish
