#pragma once
// KESTRAVEXPDTHISWEEKNZ: ⑤ the compute button (Command1_Click).
//
//  1. Text3: "計算を開始しました。標準で約10分かります。。。。。。"
//  2. ProgressBar3 and ProgressBar4 to 0 of 100.
//  3. WeekList := the dam list "HAHAHANNUMTHISWEEKN.dat" (a missing list is
//     an empty one); ProgressBar3 := count × 100 / 2000 while that is at
//     most 100.
//  4. The dam extract "OPTION1N\HAHAUMATHISWEEK.dat" from "OPTION1N\HAHAUMA.dat".
//  5. WeekList := the horse list "KETTONUMTHISWEEKN.dat"; every listed
//     horse's file "UMAGOTOEXTHISWEEKN\<number>EX.dat" deleted and created
//     empty (a value that is not ten digits names no file: reported).
//  6. The horse extract "OPTION1N\KYOSOBATHISWEEK.dat" from "OPTION1N\KYOSOBA.dat".
//  7. ProgressBar3 to 0 of 100.
//  8. BuildExpandedRecords.  9. ComputeRunFactors.  10. Text3: "計算終了".
// From the bars on, every step that fails is recorded in `log` and the next
// one runs, so "計算終了" shows in every case.
//
// The extracts: every record of the package file (record count to the
// nearest whole record) whose key (first 10 bytes) is a listed value, in
// package order, written once per listing, over the start of the extract
// file in one write; the extract is never shortened, so a longer earlier
// extract keeps its tail. Without a match the extract is not touched. A
// missing package file is created empty.
//
// The press takes the weekly store's guard: while ②, cancellation
// processing, ④ or another ⑤ runs (they let events through), the press does
// nothing but say so in Text3 and on stderr and returns false. The statistics index is
// cleared at the start and end of every press.
#include "common/skip.h"
#include "common/ui_port.h"
#include "model/expanded_state.h"

#include <QByteArray>
#include <QList>
#include <QStringView>

namespace rw::model {

bool RunComputeButton(UiPort& ui, ExpandedState& state, SkipLog& log);

// Writes the extract of the first `count` values of `list`; returns the
// number of records written.
qint64 WriteWeeklyExtract(QStringView packageFile, QStringView extractFile, int recordLength,
                          const QList<QByteArray>& list, int count);

}  // namespace rw::model
