#pragma once
// YOSOKEKKATHISWEEKNZ: what the exports and web writers share: the race's key
// from the runner record, the display form of two-digit numbers, strict
// whole numbers of the run state, and the two ways a writer puts a race's
// bytes into its file (a whole file, or a keyed day file) so that a failure
// part-way still leaves the lines made before it.
#include "common/cp932.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/keyed_output.h"
#include "common/text_file.h"
#include "jvdata/race_key.h"
#include "prediction/run_state.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

namespace rw::publish {

using jv::RaceKey;
// The race key of run slot 0 of CurrentHorse.
inline RaceKey RaceKeyOf(const prediction::RunState& s) { return prediction::RunnerRaceKey(s.CurrentHorse); }

// A key as the writers remember it (bytes kept one to one).
inline QString keyText(QByteArrayView key) { return QString::fromLatin1(key.data(), key.size()); }

// A two-digit number without its leading zero: the second character when
// the first is "0" or a blank, otherwise the first two characters.
QByteArray DisplayForm(QByteArrayView twoChars);

// A predicted rank, frame number or other whole number of the run state
// read strictly as a number (sign, decimals and blanks around it allowed)
// that is whole and fits the system's 16-bit Integer: StepFailure naming
// `what` otherwise.
int Int16Number(QByteArrayView text, const char* what);

// True when a runner of the race (horses 1 to HorseCount) has predicted
// rank 1; the ranks are read as numbers until one is found.
bool HasRankOne(const prediction::RunState& s);

// `build(out)` appends the file's bytes; the file then holds exactly them.
// When `build` fails part-way the lines it made are still written before
// the failure goes on, as a file written line by line would hold them.
template <class Build>
void WriteWholeBuilt(const QString& path, Build&& build) {
    QByteArray out;
    BuildThenWrite([&] { build(out); }, [&] { ReplaceFile(path, out); });
}

// The same for a keyed day file: `build(out, fresh)` appends the race's
// bytes, with the file's head first when `fresh` (a new key: the file is
// emptied first); otherwise they are appended.
template <class Build>
void WriteKeyedBuilt(QString& lastKey, const QString& key, const QString& path, Build&& build) {
    const bool fresh = IsNewKey(lastKey, key);
    QByteArray out;
    BuildThenWrite([&] { build(out, fresh); }, [&] { WriteKeyed(lastKey, key, path, {}, out); });
}

}  // namespace rw::publish
