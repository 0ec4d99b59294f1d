#include "calibration/LevenbergMarquardt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace orvix::test {
namespace {

// r = p − target, so F has its minimum at target and J = I.
struct Shifted {
    Vector9 target{};
    // Residual evaluations (counted from 0) that return a much worse cost,
    // or exactly the start's cost, to force rejected steps.
    std::set<int> worse;
    std::set<int> same;
    Vector9 start{};
    int calls = 0;

    ResidualValue operator()(const Vector9& p) {
        const int call = calls++;
        ResidualValue value;
        const Vector9& at = same.count(call) ? start : p;
        for (int k = 0; k < kFitSize; ++k) value.r[k] = at[k] - target[k];
        if (worse.count(call))
            for (double& r : value.r) r *= 100;
        for (double r : value.r) value.F += r * r / 2;
        return value;
    }
};

Vector9 Filled(double v) {
    Vector9 x;
    x.fill(v);
    return x;
}

TEST(LevenbergMarquardtFit, ReturnsTheStartWhenNoIterationIsDue) {
    // Every residual depends on p0 alone: JᵀJ has rank one.
    const ResidualFunction rankOne = [](const Vector9& p) {
        ResidualValue v;
        v.r.fill(p[0]);
        for (double r : v.r) v.F += r * r / 2;
        return v;
    };
    const struct {
        const char* name;
        ResidualFunction f;
        double startValue;
        std::int16_t kmax;
        double tau;
    } cases[] = {
        {"kmax 0", Shifted{}, 1, 0, 10},
        {"kmax negative", Shifted{}, 1, -1, 10},
        {"zero residual at the start", Shifted{}, 0, 300, 10},
        // tau 0 leaves the first system singular: the step stays zero and
        // the step test ends the fit.
        {"singular first system", rankOne, 1, 300, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Vector9 x0 = Filled(c.startValue);
        Vector9 x = Filled(-7);
        LMTrace trace;
        LevenbergMarquardtFit(c.f, x0, 1e-8, 1e-8, c.tau, c.kmax, 0.75, x, &trace);
        EXPECT_EQ(x, x0);
        EXPECT_LE(trace.size(), 1u);
        if (!trace.empty()) {
            EXPECT_TRUE(trace[0].stepTooSmall);
        }
    }
}

TEST(LevenbergMarquardtFit, ConvergesOnAQuadraticCost) {
    Shifted f;
    for (int i = 0; i < kFitSize; ++i) f.target[i] = 0.5 * i - 1;
    Vector9 x{};
    LevenbergMarquardtFit(std::ref(f), Filled(1), 1e-8, 1e-8, 10, 300, 0.75, x);
    for (int i = 0; i < kFitSize; ++i) EXPECT_NEAR(x[i], f.target[i], 1e-3);
}

TEST(LevenbergMarquardtFit, ConsecutiveRejectionsGrowTheDampingFactor) {
    // Evaluations 0–17 are the first Jacobian, 18 the cost at the start;
    // 19, 20, 21 are the first three trial points and are made worse or
    // equal (a gain ratio of exactly 0 is a rejection too).
    Shifted f;
    f.start = Filled(1);
    f.worse = {19, 21};
    f.same = {20};
    LMTrace trace;
    Vector9 x{};
    LevenbergMarquardtFit(std::ref(f), f.start, 1e-8, 1e-8, 10, 4, 0.75, x, &trace);

    ASSERT_EQ(trace.size(), 4u);
    const double mu0 = 10;  // tau · max diag(JᵀJ) with J ≈ I
    EXPECT_FALSE(trace[0].accepted);
    EXPECT_FALSE(trace[1].accepted);
    EXPECT_EQ(trace[1].rho, 0);
    EXPECT_FALSE(trace[2].accepted);
    EXPECT_TRUE(trace[3].accepted);
    EXPECT_NEAR(trace[0].mu, mu0 * 2, 1e-9);
    EXPECT_EQ(trace[1].mu, trace[0].mu * 4);
    EXPECT_EQ(trace[2].mu, trace[1].mu * 8);
    EXPECT_EQ(trace[2].nu, 16);
    EXPECT_EQ(trace[3].nu, 2);
    EXPECT_LT(trace[3].mu, trace[2].mu);
}

TEST(LevenbergMarquardtFit, AFloatingPointFaultEndsTheFit) {
    const ResidualFunction overflowing = [](const Vector9& p) {
        ResidualValue v;
        v.r.fill(p[0] * 1e300);
        for (double r : v.r) v.F += r * r / 2;
        return v;
    };
    Vector9 x{};
    EXPECT_THROW(LevenbergMarquardtFit(overflowing, Filled(1), 1e-8, 1e-8, 10, 300, 0.75, x), std::exception);
}

}  // namespace
}  // namespace orvix::test
