#include "calibration/LevenbergMarquardt.h"

#include "calibration/LinearSystem.h"
#include "common/Numbers.h"

#include <cmath>

namespace orvix {

namespace {

constexpr double kJacobianStep = 0.0005;
// The damping update of the instrument's original fit: these are its own
// constants, not the textbook's 1/3 and 1e-… floor.
constexpr double kShrinkThreshold = 0.3333;
constexpr double kShrinkDivisor = 3;
constexpr double kDampingFloor = 0.00001;

// The maximum starts at 0 and only a strictly larger value replaces it.
double LargestAbs(const Vector9& v) {
    double largest = 0;
    for (double e : v)
        if (std::fabs(e) > largest) largest = std::fabs(e);
    return largest;
}

double Dot(const Vector9& a, const Vector9& b) {
    double sum = 0;
    for (int i = 0; i < kFitSize; ++i) sum = CheckFinite(sum + CheckFinite(a[i] * b[i]));
    return sum;
}

void Copy(const Vector9& from, Vector9& to) { to = from; }

}  // namespace

Matrix9 LMJacobian(const ResidualFunction& residual, const Vector9& p) {
    Matrix9 J{};
    Vector9 w{};
    for (int i = 0; i < kFitSize; ++i) {
        Copy(p, w);
        w[i] = CheckFinite(p[i] + kJacobianStep);
        const Vector9 plus = residual(w).r;
        w[i] = CheckFinite(p[i] - kJacobianStep);
        const Vector9 minus = residual(w).r;
        for (int k = 0; k < kFitSize; ++k)
            J[k][i] = CheckedDivide(CheckFinite(plus[k] - minus[k]), 2 * kJacobianStep);
    }
    return J;
}

Matrix9 LMNormalMatrix(const Matrix9& J) {
    Matrix9 A{};
    for (int i = 0; i < kFitSize; ++i)
        for (int j = 0; j < kFitSize; ++j) {
            double sum = 0;
            for (int k = 0; k < kFitSize; ++k) sum = CheckFinite(sum + CheckFinite(J[k][i] * J[k][j]));
            A[i][j] = sum;
        }
    return A;
}

Vector9 LMGradient(const Matrix9& J, const Vector9& r) {
    Vector9 g{};
    for (int i = 0; i < kFitSize; ++i) {
        double sum = 0;
        for (int k = 0; k < kFitSize; ++k) sum = CheckFinite(sum + CheckFinite(J[k][i] * r[k]));
        g[i] = sum;
    }
    return g;
}

double LMInitialDamping(const Matrix9& A, double tau) {
    Vector9 diagonal{};
    for (int i = 0; i < kFitSize; ++i) diagonal[i] = A[i][i];
    return CheckFinite(tau * LargestAbs(diagonal));
}

void LevenbergMarquardtFit(const ResidualFunction& residual, const Vector9& x0, double eps1, double eps2,
                           double tau, std::int16_t kmax, double stepScale, Vector9& x, LMTrace* trace) {
    Copy(x0, x);
    Matrix9 J = LMJacobian(residual, x);
    Matrix9 A = LMNormalMatrix(J);
    ResidualValue current = residual(x);
    Vector9 g = LMGradient(J, current.r);

    bool found = LargestAbs(g) <= eps1;
    double mu = LMInitialDamping(A, tau);
    double nu = 2;
    std::int16_t k = 0;
    // Kept from one iteration to the next: a singular system leaves the
    // previous solution in place and that becomes the step again.
    std::vector<double> s(kFitSize, 0.0);

    while (k < kmax && !found) {
        ++k;
        LMIteration step;
        step.k = k;

        AugmentedMatrix M(kFitSize);
        for (int i = 0; i < kFitSize; ++i) {
            for (int j = 0; j < kFitSize; ++j) M(i + 1, j + 1) = A[i][j];
            M(i + 1, i + 1) = CheckFinite(A[i][i] + mu);
            M(i + 1, kFitSize + 1) = g[i];
        }
        double det = 0;
        SolveLinearSystem(M, s, det);
        Vector9 h{};
        for (int i = 0; i < kFitSize; ++i) h[i] = -s[static_cast<std::size_t>(i)];

        // Squared norms on both sides: no square root needed.
        if (Dot(h, h) <= CheckFinite(eps2 * CheckFinite(Dot(x, x) + eps2))) {
            found = true;
            step.stepTooSmall = true;
            step.mu = mu;
            step.nu = nu;
            if (trace) trace->push_back(step);
            continue;
        }

        Vector9 xNew{};
        Vector9 w{};
        for (int i = 0; i < kFitSize; ++i) {
            xNew[i] = CheckFinite(x[i] + CheckFinite(stepScale * h[i]));
            w[i] = CheckFinite(CheckFinite(mu * h[i]) - g[i]);
        }
        const ResidualValue trial = residual(xNew);
        // The predicted gain uses the full step although only stepScale of it
        // was taken; the original fit tuned its damping with this ratio.
        const double rho = CheckedDivide(CheckFinite(current.F - trial.F), CheckFinite(0.5 * Dot(h, w)));
        step.rho = rho;

        if (rho > 0) {
            step.accepted = true;
            Copy(xNew, x);
            current = trial;
            J = LMJacobian(residual, x);
            A = LMNormalMatrix(J);
            g = LMGradient(J, current.r);
            found = LargestAbs(g) <= eps1;
            const double twoRhoLessOne = CheckFinite(2 * rho - 1);
            const double t = CheckFinite(1 - CheckFinite(twoRhoLessOne * twoRhoLessOne * twoRhoLessOne));
            if (t > kShrinkThreshold) {
                mu = CheckFinite(mu * t);
            } else {
                mu = mu / kShrinkDivisor;
            }
            if (mu < kDampingFloor) mu = LMInitialDamping(A, tau);
            nu = 2;
        } else {
            mu = CheckFinite(mu * nu);
            nu = CheckFinite(2 * nu);
        }
        step.mu = mu;
        step.nu = nu;
        if (trace) trace->push_back(step);
    }
}

}  // namespace orvix
