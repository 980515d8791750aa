#pragma once
// YOSOKEKKATHISWEEKNZ and every window that names codes: the code table
// "JRACODE\CodeTable.csv" (racecourses, race types, grades, conditions,
// tracks, weather, going, sex, weekdays) and its lookup. One implementation
// for all of them.
//
// The file is read value by value (comma or line separated, quotes removed)
// and taken eight values at a time: each group of eight is one row (table
// number, code, six name columns), so a line of seven values shifts every
// later row. A file that ends inside a row leaves the rest of that row
// empty. The table grows with the file. Values stay code page 932 bytes.
#include "common/text_file.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace rw::prediction {

inline constexpr char16_t kCodeTableFile[] = u"JRACODE\\CodeTable.csv";
inline constexpr int kCodeColumns = 8;

using CodeRow = std::array<QByteArray, kCodeColumns>;

struct CodeTable {
    QList<CodeRow> rows;
    // (table number, code) -> the last row that has them.
    QHash<QByteArray, qsizetype> lastRow;
};

// Fills `table` from the values of a code table file (the rows and the
// index are rebuilt).
void FillCodeTable(CodeTable& table, const QList<QByteArray>& values);

// Reads "JRACODE\CodeTable.csv" under AppPath into `table`. A missing file
// leaves the table empty (every lookup then finds nothing), without a
// message. Throws StepFailure when the file exists but cannot be read,
// leaving the table as it was.
void LoadCodeTable(CodeTable& table);

// The text in `column` of the last row whose table number and code equal
// the given ones (exact byte equality); nullopt when no row matches, which
// callers that store text take as "". Throws StepFailure for a column
// outside 0..7, so the caller's target keeps its value.
std::optional<QByteArray> CodeLookup(const CodeTable& table, QByteArrayView tableNo, QByteArrayView code,
                                     int column);

// CodeLookup for callers that store the result as text: "" when no row
// matches.
QByteArray CodeName(const CodeTable& table, QByteArrayView tableNo, QByteArrayView code, int column);

// CodeLookup as an item of a quoted-values line: the name as a text, or
// nothing between the commas when no row matches.
CsvValue CodeNameItem(const CodeTable& table, QByteArrayView tableNo, QByteArrayView code, int column);

}  // namespace rw::prediction
