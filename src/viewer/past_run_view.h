#pragma once
// Kakoso: the past-run window's grid EXFG1, one column per expanded run
// record of the horse named by the clicked cell (newest first), 311 item
// rows with their titles in column 0.
//
// The window opens a horse file only when the last 16 characters of the
// clicked text are ten digits and "EX.dat", and only for reading: it never
// creates a file, whatever was clicked. Any other text shows the titles
// alone, as for a horse without a file; an empty text leaves the grid as
// designed. It shows what it could read: a missing code table gives empty
// names; only its first 501 rows are used; a table ending inside a row
// leaves the rest of that row empty; a file that cannot be read shows the
// titles alone; an incomplete last record is not shown; a stored Single that is
// not a finite number leaves its cell empty.
#include "common/grid_model.h"
#include "common/skip.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace rw::viewer {

inline constexpr int kPastRunRows = 312;  // row 0 captions, rows 1 to 311 items
inline constexpr int kPastRunTitleWidth = 2000;
inline constexpr int kPastRunColWidth = 1500;
inline constexpr int kCodeTableRows = 501;

// EXFG1 as designed: 312 rows, 2 columns, one fixed row and column.
GridModel DesignPastRunGrid();

// The expanded-record file that a clicked cell's text names: the last 16
// characters (the whole text when shorter) when they are ten digits and
// "EX.dat"; nullopt otherwise.
std::optional<QString> PastRunFile(const QString& cellText);

// Kakoso.Form_Load: reads the code table, then fills `grid` (as designed)
// from the file that `selectedCellText` names. Nothing is written to disk.
void LoadPastRuns(GridModel& grid, const QString& selectedCellText, SkipLog& log);

// The title of item row `row` (1 to 311); empty for rows 155 to 161.
QString PastRunRowTitle(int row);

// A stored Single as the window shows it: rounded down to four decimals,
// as a Single with at most 7 significant digits ("58.1234", "-0.0001",
// "1234.568"); empty for a value that is not finite.
QString PastRunNumberText(float v);

}  // namespace rw::viewer
