#include "calibration/AccelCal.h"

#include "common/Numbers.h"

#include <cmath>

namespace orvix {

namespace {

// A raw count is worth gain · 0.001 g; offsets are in units of 10 counts.
constexpr double kCountScale = 0.001;
constexpr double kOffsetUnit = 10;

}  // namespace

Matrix3 OrientationMatrix(double theta, double rho, double psi) {
    const double ct = std::cos(theta), st = std::sin(theta);
    const double cr = std::cos(rho), sr = std::sin(rho);
    const double cp = std::cos(psi), sp = std::sin(psi);
    Matrix3 Q{};
    Q[0] = {cr * cp, -cr * sp, sr};
    Q[1] = {st * sr * cp + ct * sp, -st * sr * sp + ct * cp, -st * cr};
    Q[2] = {-ct * sr * cp + st * sp, ct * sr * sp + st * cp, ct * cr};
    return Q;
}

ResidualValue AccelCal::AccelResidual(const Vector9& p) const {
    const Matrix3 Q = OrientationMatrix(p[0], p[1], p[2]);
    ResidualValue value;
    for (int n = 0; n < kAccelPositions; ++n) {
        Vector3 a{};
        for (int j = 0; j < 3; ++j) {
            const double raw = CheckFinite(m_means[n][j] - CheckFinite(kOffsetUnit * p[6 + j]));
            a[j] = CheckFinite(CheckFinite(raw * p[3 + j]) * kCountScale);
        }
        for (int i = 0; i < 3; ++i) {
            double r = m_directions[n][i];
            for (int j = 0; j < 3; ++j) r = CheckFinite(r - CheckFinite(Q[i][j] * a[j]));
            value.r[3 * n + i] = r;
        }
    }
    double sum = 0;
    for (double r : value.r) sum = CheckFinite(sum + CheckFinite(r * r));
    value.F = sum / 2;
    return value;
}

void AccelCal::AccelCalibrate(const AccelReadings& Readings, AccResult& result, const AccelAngles& Angles,
                              LMTrace* trace) {
    for (int n = 0; n < kAccelPositions; ++n) {
        for (int j = 0; j < 3; ++j) {
            double sum = 0;
            for (int row = kAccelSamples * n; row < kAccelSamples * (n + 1); ++row)
                sum = CheckFinite(sum + Readings[static_cast<std::size_t>(row)][j + 1]);
            m_means[n][j] = sum / kAccelSamples;
        }
        // Gravity's direction in the instrument's frame is the third row of
        // the position's orientation.
        m_directions[n] = OrientationMatrix(Angles[n][0], Angles[n][1], Angles[n][2])[2];
    }

    Vector9 p{};
    LevenbergMarquardtFit([this](const Vector9& q) { return AccelResidual(q); }, kStart, kEps1, kEps2, kTau,
                          kMaxIterations, kStepScale, p, trace);

    const Matrix3 Q = OrientationMatrix(p[0], p[1], p[2]);
    AccResult r;
    r.AccAa = CheckFinite(CheckFinite(p[3] * Q[0][0]) * kCountScale);
    r.AccAb = CheckFinite(CheckFinite(Q[0][1] * p[4]) * kCountScale);
    r.AccAc = CheckFinite(CheckFinite(Q[0][2] * p[5]) * kCountScale);
    r.AccAd = CheckFinite(CheckFinite(CheckFinite(CheckFinite(r.AccAb * p[7]) + CheckFinite(r.AccAa * p[6])) +
                                      CheckFinite(r.AccAc * p[8])) *
                          kOffsetUnit);
    r.AccBa = CheckFinite(CheckFinite(Q[1][0] * p[3]) * kCountScale);
    r.AccBb = CheckFinite(CheckFinite(Q[1][1] * p[4]) * kCountScale);
    r.AccBc = CheckFinite(CheckFinite(Q[1][2] * p[5]) * kCountScale);
    r.AccBd = CheckFinite(CheckFinite(CheckFinite(CheckFinite(r.AccBb * p[7]) + CheckFinite(r.AccBa * p[6])) +
                                      CheckFinite(r.AccBc * p[8])) *
                          kOffsetUnit);
    r.Theta = CheckFinite(p[0] * kDegreesPerRadian);
    r.Rho = CheckFinite(p[1] * kDegreesPerRadian);
    r.Psi = CheckFinite(p[2] * kDegreesPerRadian);
    result = r;
}

}  // namespace orvix
