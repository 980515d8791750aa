#include "prediction/past_run_residual.h"

#include "common/errors.h"
#include "common/fixed_text.h"
#include "prediction/runner_record.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace rw::prediction;
namespace rr = rw::prediction::rr;

namespace {

enum class Op { Same, AnyClass, Max };

void call(Op op, RunState& s) {
    switch (op) {
    case Op::Same: AccumulatePastRunResidual(s); break;
    case Op::AnyClass: AccumulatePastRunResidualAnyClass(s); break;
    case Op::Max: MaxPastRunResidual(s); break;
    }
}

}  // namespace

TEST(PastRunResidual, TheVariantsOnTheirCases) {
    struct Case {
        const char* what;
        Op op;
        int today, run, slot;
        float sum;
        int count;
        std::vector<float> residuals;  // one call each, in turn
        float endSum;
        int endCount;
        bool fails;
    };
    const Case cases[] = {
        {"any class: a dirt run for a turf race", Op::AnyClass, 1, 2, 3, 1.0f, 1, {2.5f}, 3.5f, 2, false},
        {"any class: run class 0", Op::AnyClass, 1, 0, 3, 1.0f, 1, {2.5f}, 1.0f, 1, false},
        {"any class: run class 4", Op::AnyClass, 1, 4, 3, 1.0f, 1, {2.5f}, 1.0f, 1, false},
        {"any class: today class 0", Op::AnyClass, 0, 1, 3, 1.0f, 1, {2.5f}, 1.0f, 1, false},
        {"any class: today class 4", Op::AnyClass, 4, 1, 3, 1.0f, 1, {2.5f}, 1.0f, 1, false},
        {"any class: 6.0 is accepted", Op::AnyClass, 2, 3, 5, 0.0f, 0, {6.0f}, 6.0f, 1, false},
        {"any class: -6.0 is accepted", Op::AnyClass, 2, 3, 5, 0.0f, 0, {-6.0f}, -6.0f, 1, false},
        {"any class: 6.0003 is not", Op::AnyClass, 2, 3, 5, 0.0f, 0, {6.0003f}, 0.0f, 0, false},
        {"any class: -5.5", Op::AnyClass, 3, 3, 5, 1.0f, 4, {-5.5f}, -4.5f, 5, false},
        {"max: accepted residuals in turn", Op::Max, 1, 1, 2, 0.0f, 7, {-2.0f, 1.5f, 3.0f, 2.0f}, 3.0f, 7, false},
        {"max: equal to the sum", Op::Max, 2, 2, 2, 3.0f, 1, {3.0f}, 3.0f, 1, false},
        {"max: classes differ", Op::Max, 2, 1, 2, 0.0f, 0, {4.0f}, 0.0f, 0, false},
        {"max: not accepted", Op::Max, 2, 2, 2, 0.0f, 0, {6.5f}, 0.0f, 0, false},
        {"max: none above 0 stays 0", Op::Max, 3, 3, 2, 0.0f, 0, {-1.0f, -0.5f}, 0.0f, 0, false},
        {"max: class 0 on both sides", Op::Max, 0, 0, 2, 0.0f, 0, {4.0f}, 0.0f, 0, false},
        {"same class: equal classes", Op::Same, 1, 1, 1, 0.0f, 0, {1.25f, 2.5f}, 3.75f, 2, false},
        {"same class: classes differ", Op::Same, 1, 2, 1, 0.0f, 0, {1.25f}, 0.0f, 0, false},
        {"any class: slot 69", Op::AnyClass, 1, 1, 69, 0.0f, 0, {1.0f}, 1.0f, 1, false},
        {"any class: slot 70 fails", Op::AnyClass, 1, 1, 70, 2.0f, 3, {1.0f}, 2.0f, 3, true},
        {"any class: slot -1 fails", Op::AnyClass, 1, 1, -1, 2.0f, 3, {1.0f}, 2.0f, 3, true},
        {"max: slot 70 fails", Op::Max, 1, 1, 70, 2.0f, 3, {5.0f}, 2.0f, 3, true},
        {"max: slot 0", Op::Max, 1, 1, 0, 2.0f, 3, {5.0f}, 5.0f, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunState s;
        s.TodayClass = c.today;
        s.RunClass = c.run;
        s.CurSubIndex = c.slot;
        s.ResidualSum = c.sum;
        s.ResidualCount = c.count;
        const QByteArray before = s.CurrentHorse;
        for (float v : c.residuals) {
            if (c.slot >= 0 && c.slot < kWeightSlots) rw::putSingle(s.CurrentHorse, rr::Result(c.slot, 7).pos, v);
            if (c.fails) EXPECT_THROW(call(c.op, s), rw::StepFailure);
            else
                call(c.op, s);
        }
        EXPECT_FLOAT_EQ(s.ResidualSum, c.endSum);
        EXPECT_EQ(s.ResidualCount, c.endCount);
        EXPECT_EQ(s.CurrentHorse.size(), before.size());
    }
}

TEST(PastRunResidual, TheLimitLiesJustAboveSixKilometresPerHour) {
    EXPECT_TRUE(ResidualAccepted(6.0f));
    EXPECT_TRUE(ResidualAccepted(-6.0f));
    EXPECT_TRUE(ResidualAccepted(6.0002f));
    EXPECT_FALSE(ResidualAccepted(6.0003f));
    EXPECT_FALSE(ResidualAccepted(-6.0003f));
    EXPECT_FALSE(ResidualAccepted(100.0f));
    EXPECT_FALSE(ResidualAccepted(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(ResidualAccepted(std::numeric_limits<float>::infinity()));
}

TEST(PastRunResidual, ReadsItemSevenOfTheSlot) {
    RunState s;
    s.TodayClass = s.RunClass = 2;
    s.CurSubIndex = 12;
    rw::putSingle(s.CurrentHorse, rr::Result(12, 6).pos, 5.0f);
    rw::putSingle(s.CurrentHorse, rr::Result(11, 7).pos, 5.0f);
    rw::putSingle(s.CurrentHorse, rr::Result(12, 7).pos, 0.75f);
    AccumulatePastRunResidualAnyClass(s);
    EXPECT_FLOAT_EQ(s.ResidualSum, 0.75f);
}
