#pragma once
// KESTRAVEXPDTHISWEEKNZ: the measured speeds of a run (上がり, ペース, 走破)
// in km/h and the seven-character speed text in which every speed of the
// system is stored. The compute pass of ⑤ stores them in SpeedTexts(0)-(2);
// the categorisers of items 17 and 29 recompute them for the previous run.
//
// Single precision in the system's step order: 上がり is one division,
// ペース and 走破 are q = distance / time, then q × 36, each rounded to
// single; the text's product is taken in double. Flat races are track codes
// "01"-"29" and jump races "51"-"59", compared as text; any other code gives
// 上がり and ペース 0.
//
// Failures (StepFailure): a time or distance that must be read as a number
// and is not one, and a run time equal to its last-three-furlongs time.
#include <QByteArray>
#include <QByteArrayView>

namespace rw::model {

// The text of a measured speed that has no value.
inline constexpr char kNoSpeed[] = "       ";

// The last seven characters of floor(v × 100000) + 10000000 (the product in
// double): "6260869" for 62.608696; a negative speed wraps ("9950000" for
// −0.5), 100 km/h or more loses its hundreds digit.
QByteArray SevenDigitSpeedText(float v);
// A speed text read back: its number / 100000; blanks and zero bytes read 0.
double SpeedValue(QByteArrayView text);

// The measured speeds of the run in `record` (an expanded run record).
// AgariSpeed and PaceSpeed give seven blanks when the last-three-furlongs
// time is three blanks; SohaSpeed is never blank.
QByteArray AgariSpeed(QByteArrayView record);
QByteArray PaceSpeed(QByteArrayView record);
QByteArray SohaSpeed(QByteArrayView record);

}  // namespace rw::model
