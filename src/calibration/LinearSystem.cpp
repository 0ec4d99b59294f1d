#include "calibration/LinearSystem.h"

#include "common/Numbers.h"
#include "common/VbError.h"

#include <cmath>
#include <utility>

namespace orvix {

AugmentedMatrix::AugmentedMatrix(int n)
    : m_n(n), m_cells(static_cast<std::size_t>(n) * static_cast<std::size_t>(n + 1), 0.0) {}

std::size_t AugmentedMatrix::index(int row, int column) const {
    if (row < 1 || row > m_n || column < 1 || column > m_n + 1) RaiseRuntimeError(vb::kSubscriptOutOfRange);
    return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(m_n + 1) +
           static_cast<std::size_t>(column - 1);
}

void AugmentedMatrix::swapRows(int a, int b, int firstColumn) {
    for (int j = firstColumn; j <= m_n + 1; ++j) std::swap((*this)(a, j), (*this)(b, j));
}

void ScaledPivot(int k, int n, AugmentedMatrix& M) {
    // Scales cover the remaining sub-matrix only, recomputed at every step,
    // and never the right-hand side.
    std::vector<double> S(static_cast<std::size_t>(n + 1), 0.0);
    for (int i = k; i <= n; ++i) {
        double largest = 0;
        for (int j = k; j <= n; ++j) {
            const double a = std::fabs(M(i, j));
            if (a > largest) largest = a;
        }
        S[static_cast<std::size_t>(i)] = largest;
    }
    for (int i = k; i <= n; ++i) {
        double& scale = S[static_cast<std::size_t>(i)];
        if (scale != 0) scale = CheckedDivide(std::fabs(M(i, k)), scale);
    }
    // The ratios stay where they are when rows move; only a strictly larger
    // ratio takes the pivot, so ties keep the earlier row.
    double p = S[static_cast<std::size_t>(k)];
    for (int i = k + 1; i <= n; ++i) {
        if (S[static_cast<std::size_t>(i)] > p) {
            M.swapRows(k, i, k);
            p = S[static_cast<std::size_t>(i)];
        }
    }
}

void ForwardEliminate(int n, AugmentedMatrix& M) {
    for (int k = 1; k <= n; ++k) {
        ScaledPivot(k, n, M);
        for (int i = k + 1; i <= n; ++i) {
            // A zero pivot ends the whole elimination; the zero diagonal then
            // makes det 0 and leaves the solution alone.
            if (M(k, k) == 0) return;
            const double l = CheckedDivide(M(i, k), M(k, k));
            M(i, k) = 0;
            for (int j = k + 1; j <= n + 1; ++j) M(i, j) = CheckFinite(M(i, j) - CheckFinite(l * M(k, j)));
        }
    }
}

void BackSubstitute(const AugmentedMatrix& M, std::vector<double>& s, double& det) {
    const int n = M.size();
    det = 1;
    for (int i = 1; i <= n; ++i) det = CheckFinite(det * M(i, i));
    if (det == 0) return;
    for (int i = n; i >= 1; --i) s[static_cast<std::size_t>(i - 1)] = CheckedDivide(M(i, n + 1), M(i, i));
    for (int i = n - 1; i >= 1; --i) {
        double& si = s[static_cast<std::size_t>(i - 1)];
        for (int j = i + 1; j <= n; ++j)
            si = CheckFinite(si - CheckFinite(CheckedDivide(M(i, j), M(i, i)) * s[static_cast<std::size_t>(j - 1)]));
    }
}

void SolveLinearSystem(AugmentedMatrix& M, std::vector<double>& s, double& det) {
    const int n = static_cast<int>(s.size());
    if (M.size() != n) RaiseRuntimeError(vb::kSubscriptOutOfRange);
    ForwardEliminate(n, M);
    BackSubstitute(M, s, det);
}

}  // namespace orvix
