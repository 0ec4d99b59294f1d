#include "calibration/LinearSystem.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvix::test {
namespace {

AugmentedMatrix Matrix(const std::vector<std::vector<double>>& rows) {
    AugmentedMatrix M(static_cast<int>(rows.size()));
    for (int i = 1; i <= M.size(); ++i)
        for (int j = 1; j <= M.size() + 1; ++j)
            M(i, j) = rows[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
    return M;
}

TEST(SolveLinearSystem, SolvesAndReportsTheProductOfTheReducedPivots) {
    const struct {
        const char* name;
        std::vector<std::vector<double>> rows;
        std::vector<double> solution;
        double det;
        double firstPivot;  // M(1,1) after the reduction shows whether rows moved
    } cases[] = {
        // Scaled ratios 1 and 1/3: no exchange, det = 2 × 2.5.
        {"2a+b=5, a+3b=10", {{2, 1, 5}, {1, 3, 10}}, {1, 3}, 5, 2},
        // Ratios 1/2 and 1: the rows change places, and det keeps the
        // reduced pivots' sign (+5) although the matrix's determinant is -5.
        {"exchanged rows", {{1, 2, 5}, {3, 1, 5}}, {1, 2}, 5, 3},
        // Equal ratios (1/2 and 1/2): the earlier row stays the pivot.
        {"tie keeps order", {{1, 2, 5}, {-3, 6, 9}}, {1, 2}, 12, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AugmentedMatrix M = Matrix(c.rows);
        std::vector<double> s(c.solution.size(), 0.0);
        double det = 0;
        SolveLinearSystem(M, s, det);
        EXPECT_DOUBLE_EQ(det, c.det);
        EXPECT_EQ(M(1, 1), c.firstPivot);
        for (std::size_t i = 0; i < s.size(); ++i) EXPECT_NEAR(s[i], c.solution[i], 1e-12);
    }
}

TEST(SolveLinearSystem, ASingularSystemLeavesTheSolutionAsItWas) {
    AugmentedMatrix M = Matrix({{0, 1, 0, 4}, {0, 2, 1, 5}, {0, 3, 5, 6}});
    std::vector<double> s{7, 8, 9};
    double det = -1;
    SolveLinearSystem(M, s, det);
    EXPECT_EQ(det, 0);
    EXPECT_EQ(s, (std::vector<double>{7, 8, 9}));
}

TEST(SolveLinearSystem, PivotingMovesRowsWithoutCarryingTheirRatios) {
    // Ratios 0.2, 0.5, 0.9: row 2 takes the pivot, then row 3 takes it from
    // the row now in place 1, so the first row ends up second, not third.
    AugmentedMatrix M = Matrix({{1, 5, 0, 1}, {1, 2, 0, 2}, {9, 10, 0, 3}});
    ScaledPivot(1, 3, M);
    EXPECT_EQ(M(1, 4), 3);
    EXPECT_EQ(M(2, 4), 1);
    EXPECT_EQ(M(3, 4), 2);

    // A row that is zero over the remaining columns never becomes the pivot,
    // even against a ratio of 0.
    AugmentedMatrix Z = Matrix({{0, 1, 0, 1}, {0, 0, 0, 5}, {3, 1, 0, 2}});
    ScaledPivot(1, 3, Z);
    EXPECT_EQ(Z(1, 4), 2);
    EXPECT_EQ(Z(2, 4), 5);
    EXPECT_EQ(Z(3, 4), 1);
}

}  // namespace
}  // namespace orvix::test
