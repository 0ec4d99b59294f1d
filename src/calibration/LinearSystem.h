#pragma once

#include <vector>

// Module Solve_Linear_System: Gaussian elimination with scaled partial
// pivoting on an augmented matrix, as the accelerometer fit uses it.
namespace orvix {

// An n x (n+1) matrix addressed from 1, the right-hand side in column n+1,
// so the elimination reads exactly like its description.
class AugmentedMatrix {
public:
    explicit AugmentedMatrix(int n);

    int size() const { return m_n; }
    double& operator()(int row, int column) { return m_cells[index(row, column)]; }
    double operator()(int row, int column) const { return m_cells[index(row, column)]; }
    // Exchanges two rows over columns first…n+1.
    void swapRows(int a, int b, int firstColumn);

private:
    std::size_t index(int row, int column) const;

    int m_n;
    std::vector<double> m_cells;
};

// Solves M·s = rhs. n is the number of elements of s (s[0] holds s(1)). M is
// reduced in place. s is written only when det != 0; det is the product of
// the reduced diagonal, its sign not corrected for row exchanges.
// Floating-point faults are run-time errors (11, 6).
void SolveLinearSystem(AugmentedMatrix& M, std::vector<double>& s, double& det);

// The three steps of SolveLinearSystem, visible for tests.
void ForwardEliminate(int n, AugmentedMatrix& M);
void ScaledPivot(int k, int n, AugmentedMatrix& M);
void BackSubstitute(const AugmentedMatrix& M, std::vector<double>& s, double& det);

}  // namespace orvix
