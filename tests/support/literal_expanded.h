#pragma once
// The building of the expanded run records transcribed scan by scan, as the
// reference the indexed builder must match byte for byte: the UM table
// scanned per horse, the RA table per run, the KS table per matched run, the
// dam-foal file from record 1 per UM image, every record written as it is
// filled, a stale last record dropped through "TEMPORARY". Members are
// placed by the offsets of the record's own description, not through the
// layout table. Like the builder, it starts every call from a zeroed record
// and empty join values, and abandons only the horse that fails.
#include <QByteArray>
#include <QList>

namespace rwtest {

void literalBuildExpandedRecords(const QList<QByteArray>& weekList);

// The compute button's work up to its build, as plain loops: the lists read into one
// table, every package record compared with every list entry and written
// to the extract by its own open and close, every listed horse file deleted
// and created empty, then the plain build and the step-by-step compute pass
// (literal_compute_pass.h) of a window without models.
// `weekList` is the window's table, kept between presses like the window's.
void literalComputePress(QList<QByteArray>& weekList);

}  // namespace rwtest
