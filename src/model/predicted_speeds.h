#pragma once
// KESTRAVEXPDTHISWEEKNZ: ApplyFactorWeights, the third pass of ⑤'s compute
// over one run in the model's scope: the model weights of the run's 30
// categories, the predicted 上がり, ペース and 走破 speeds, the sample counts
// of items 6, 18, 19, 20 and 21 and the result block whose slot 6, the
// composite predicted whole-race speed, ranks the runners of a race.
//
// Reads state.ExRecord (CategoryIndex(1..30) as pass 2 wrote them,
// SpeedTexts(0..2), Distance) and writes into it: AgariW, PaceW, SohaW
// (1..30), SpeedTexts(3..10), Result(0..12). `model` is the FactorModel of
// the run's surface; item 1's category 0 and its categories without samples
// take category 1's weights in it (repeating this changes nothing).
//
// Precision: every partial sum and every stored value is rounded to single;
// the expressions between them are taken in double: Result(6) = single(D /
// q) with q = single((D − 600) / PP + 600 / PA).
//
// Failures (StepFailure; the record is then not written): a CategoryIndex
// that is not a number or lies outside 0-6000, a Distance that is not a
// number, a predicted ペース or 上がり speed of exactly 0 (or a composite
// divisor of 0), a value beyond single precision.
#include "model/expanded_state.h"
#include "model/factor_model.h"

#include <QByteArray>
#include <cstdint>

namespace rw::model {

// Item 1's category 0 and zero-sample categories take category 1's weights.
void SubstituteItemOneWeights(FactorModel& model);

void ApplyFactorWeights(ExpandedState& state, FactorModel& model);
// The same on a model whose item 1 is already substituted; `indexes`, when
// given, holds the record's categories 1..30 (as pass 2 found them, each 0
// to 6000) in place of its CategoryIndex texts.
void ApplySubstitutedFactorWeights(ExpandedState& state, const FactorModel& model, const std::int16_t* indexes);

// Characters 2 to 8 of the decimal text of floor(p × 1000000) + 100000000:
// for 0 ≤ p < 100 the seven digits of the speed text.
QByteArray PredictedSpeedText(float p);

}  // namespace rw::model
