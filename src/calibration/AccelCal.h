#pragma once

#include "calibration/LevenbergMarquardt.h"

#include <array>

// Module Accel_Cal: the accelerometer's mounting angles, per-axis gains and
// offsets fitted to three still positions, turned into the two rows of
// coefficients the instrument applies to raw readings.
namespace orvix {

constexpr int kAccelPositions = 3;
constexpr int kAccelSamples = 30;

// Angles(n, 0…2): θ, ρ, ψ of position n in radians, from the block header.
using AccelAngles = std::array<std::array<double, 3>, kAccelPositions>;
// Row 30·n + i is sample i of position n; column c is field c+1 of its line
// (column 0 the sample number, 1…3 the raw X, Y, Z).
using AccelReadings = std::array<std::array<double, 4>, kAccelPositions * kAccelSamples>;
using Vector3 = std::array<double, 3>;
using Matrix3 = std::array<Vector3, 3>;

struct AccResult {
    double Theta = 0;  // degrees
    double Rho = 0;
    double Psi = 0;
    double AccAa = 0;
    double AccAb = 0;
    double AccAc = 0;
    double AccAd = 0;
    double AccBa = 0;
    double AccBb = 0;
    double AccBc = 0;
    double AccBd = 0;
};

// Q(θ, ρ, ψ) = Rx(θ)·Ry(ρ)·Rz(ψ), row index first.
Matrix3 OrientationMatrix(double theta, double rho, double psi);

class AccelCal {
public:
    // The fit's settings, fixed by the instrument's original calibration.
    static constexpr Vector9 kStart{1.570796, 0, 0, 1, 1, 1, 0, 0, 0};
    static constexpr double kEps1 = 1e-8;
    static constexpr double kEps2 = 1e-8;
    static constexpr double kTau = 10;
    static constexpr std::int16_t kMaxIterations = 300;
    static constexpr double kStepScale = 0.75;
    // Degrees per radian as the original wrote it, not 180/π in full.
    static constexpr double kDegreesPerRadian = 57.2958;

    // Sets the means and directions, runs the fit and fills result.
    // Floating-point faults are run-time errors; result is then untouched.
    void AccelCalibrate(const AccelReadings& Readings, AccResult& result, const AccelAngles& Angles,
                        LMTrace* trace = nullptr);

    // The residuals of the three positions at p and their cost.
    ResidualValue AccelResidual(const Vector9& p) const;

    // Y₁…Y₃ and X₁…X₃ of the last calibration.
    const std::array<Vector3, kAccelPositions>& MeanReadings() const { return m_means; }
    const std::array<Vector3, kAccelPositions>& ReferenceDirections() const { return m_directions; }

private:
    std::array<Vector3, kAccelPositions> m_means{};
    std::array<Vector3, kAccelPositions> m_directions{};
};

}  // namespace orvix
