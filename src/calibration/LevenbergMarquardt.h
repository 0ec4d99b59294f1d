#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// Module Levenberg_Marquardt: a damped Gauss–Newton minimiser of
// F(p) = ½·Σ r_k(p)² for 9 parameters and 9 residuals, derivatives taken
// numerically. Written for the accelerometer fit and nothing else.
namespace orvix {

constexpr int kFitSize = 9;
using Vector9 = std::array<double, kFitSize>;
// Row first: Matrix9[k][i].
using Matrix9 = std::array<Vector9, kFitSize>;

struct ResidualValue {
    Vector9 r{};
    double F = 0;  // must be ½·Σ r², or the gain ratio means nothing
};
using ResidualFunction = std::function<ResidualValue(const Vector9&)>;

// What one iteration did, for whoever wants to watch the damping.
struct LMIteration {
    int k = 0;
    bool stepTooSmall = false;  // the step test ended the fit; nothing else below is set
    double rho = 0;
    bool accepted = false;
    double mu = 0;  // after the update
    double nu = 0;
};
using LMTrace = std::vector<LMIteration>;

// x receives the final parameters. Neither the iteration count nor the reason
// for stopping is reported (trace aside); it never fails on non-convergence.
// Floating-point faults are run-time errors (11, 6, 5) and end the fit.
void LevenbergMarquardtFit(const ResidualFunction& residual, const Vector9& x0, double eps1, double eps2,
                           double tau, std::int16_t kmax, double stepScale, Vector9& x,
                           LMTrace* trace = nullptr);

// J(k, i) = ∂r_k/∂p_i by central differences with the absolute step 0.0005.
Matrix9 LMJacobian(const ResidualFunction& residual, const Vector9& p);
// A = JᵀJ, summed over k = 0…8 in order.
Matrix9 LMNormalMatrix(const Matrix9& J);
// g = Jᵀr.
Vector9 LMGradient(const Matrix9& J, const Vector9& r);
// tau · max_i |A(i, i)|.
double LMInitialDamping(const Matrix9& A, double tau);

}  // namespace orvix
