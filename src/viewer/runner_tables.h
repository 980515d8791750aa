#pragma once
// YOSOKEKKATHISWEEKNZ: the factor table RACEDETAILGrid1 (tab "因子") and the
// residual table RACEDETAILGrid2 (tab "残差") of the race viewer. A click on
// the race list prepares both tables once, then hands every runner record
// of the race, in horse-number order, to FillRunnerRow.
//
// Cells are filled one statement at a time: a cell whose value cannot be
// formed is left empty and recorded in the log, and the row goes on. A time
// cell whose speed is 0 (a horse without expanded records) is left empty
// without a failure; a last-3F field, a popularity or a predicted rank that
// is not a number reads leniently (0 where no number starts it).
#include "common/grid_model.h"
#include "common/skip.h"
#include "prediction/run_state.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace rw::viewer {

inline constexpr int kFactorRows = 19;
inline constexpr int kFactorCols = 25;
inline constexpr int kResidualCols = 80;
// Residual columns 11 to 74: the runs in slots 1 to 64.
inline constexpr int kResidualSlots = 64;

// The two tables as designed: 19 rows, 25 (factor) or 80 (residual)
// columns, one fixed row and one fixed column.
GridModel DesignFactorTable();
GridModel DesignResidualTable();

// The captions beside the tables: the first on both tabs, the second on
// "因子" only.
QString FactorTabCaption1();
QString FactorTabCaption2();

// Once per click, before the runner loop: the factor table's row 0 height
// and column widths, both tables' rows 1 to 18 emptied and painted white
// (row labels emptied, left in their colour), cell (0, 0) of the factor
// table set to the selected RaceID.
void PrepareRunnerTables(GridModel& factor, GridModel& residual, const QString& raceId, SkipLog& log);

// Row s.CurIndex of both tables from s.CurrentHorse, s.PredRank and the
// grades that SetReliabilityGrades writes into s.Grades after column 6;
// rewrites the captions, cell (0, 0) and the residual table's layout first.
void FillRunnerRow(GridModel& factor, GridModel& residual, prediction::RunState& s, SkipLog& log);

// The number forms of the cells, one per use.
// A Single's value × 1000 in single precision, rounded down, divided by
// 1000, shown as a Single ("60.123", "-0.25", "0").
QByteArray ThreeDecimalSpeed(float x);
// A field's numeric value (lenient) × 0.1 as a Double ("12.3").
QByteArray TenthsText(QByteArrayView field);
// The horse-name cell: the first 18 characters of the name field, the
// registration number and "EX.dat".
QString HorseCellText(QByteArrayView nameField, QByteArrayView registrationNo);
// "M.SS.hh" of a speed over a distance; empty for a speed of 0. Throws
// StepFailure for a distance that is not a number.
QByteArray TimeCellText(float speed, QByteArrayView distance);
// The predicted last-3F time "SS.hh" of the predicted 上がり speed; empty for
// a speed of 0.
QByteArray PredictedLast3FText(float speed);

}  // namespace rw::viewer
