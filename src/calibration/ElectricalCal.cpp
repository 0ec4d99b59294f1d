#include "calibration/ElectricalCal.h"

#include "common/Numbers.h"

#include <cmath>

namespace orvix {

namespace {

constexpr double kConverterSpan = 2.5;
constexpr double kConverterFullScale = 65535;
constexpr double kConverterBase = 1.25;

// 2 MHz search: each start and bracket move steps the offset by 3 % down or
// 1 % up; the golden section then runs a fixed number of updates.
constexpr double kStepDown = 0.97;
constexpr double kStepUp = 1.01;
constexpr int kStartTries = 5;
constexpr int kBracketMoves = 5;
constexpr double kGoldenR = 0.618;
constexpr double kGoldenC = 0.382;
constexpr int kGoldenUpdates = 15;
// The conductance of reference pair 0, against which the gain is scaled.
constexpr double kPairZeroConductance = 0.0001;
// The admittance a healthy cell sits near; it breaks ties between circle
// intersections.
constexpr double kExpectedSusceptance = 0.00036;
constexpr double kFrequency2M = 2000000;
// The original's π.
constexpr double kPi = 3.14159;

// 5 kHz reference divider ratios.
constexpr double kK1 = 0.500188877003;
constexpr double kK2 = 0.060771838367;
constexpr double kCapacitance5k = 101.218627730655;
constexpr double kResistance5k = 10010.13211836;

double Square(double x) { return CheckFinite(x * x); }
double Add(double a, double b) { return CheckFinite(a + b); }
double Sub(double a, double b) { return CheckFinite(a - b); }
double Mul(double a, double b) { return CheckFinite(a * b); }

double Distance(const AdmittancePoint& a, const AdmittancePoint& b) {
    return CheckedSqrt(Add(Square(Sub(a.u, b.u)), Square(Sub(a.w, b.w))));
}

// The Apollonius circle of the points whose distances to `near` and `far`
// are in the ratio the two pair ratios give.
Circle RatioCircle(const AdmittancePoint& near, const AdmittancePoint& far, double K) {
    const double oneLessK = Sub(1, K);
    Circle circle;
    circle.u = CheckedDivide(Sub(near.u, Mul(K, far.u)), oneLessK);
    circle.w = CheckedDivide(Sub(near.w, Mul(K, far.w)), oneLessK);
    const double spanSquared = Add(Square(Sub(near.u, far.u)), Square(Sub(near.w, far.w)));
    circle.r = CheckedSqrt(CheckedDivide(Mul(K, spanSquared), Square(oneLessK)));
    return circle;
}

}  // namespace

double CountsToVolts(double count) {
    return Add(CheckedDivide(Mul(count, kConverterSpan), kConverterFullScale), kConverterBase);
}

double VoltsToCounts(double volts) {
    return CheckedDivide(Mul(Sub(volts, kConverterBase), kConverterFullScale), kConverterSpan);
}

int FirstMagnitudeFault(const CellCounts& C) {
    const auto c = [&C](int i) { return static_cast<double>(C[static_cast<std::size_t>(i)]); };
    if (c(1) < 25000) return 19;
    if (0.8 * c(1) < c(0)) return 18;
    if (0.75 * c(0) < c(2)) return 20;
    if (0.75 * c(0) < c(4)) return 21;
    if (0.75 * c(0) < c(8)) return 22;
    if (c(17) < 25000) return 24;
    if (0.99 * c(17) < c(16)) return 23;
    if (0.5 * c(16) < c(20)) return 25;
    if (c(19) < 25000) return 26;
    if (c(18) < 4000 || c(18) > 15000) return 27;
    return 0;
}

PairLevels BlockPairs(const CellVolts& Volts, int n) {
    PairLevels block;
    const auto& lines = Volts[static_cast<std::size_t>(n)];
    for (int x = 0; x < kCellPairs; ++x) {
        block.P[static_cast<std::size_t>(x)] = lines[static_cast<std::size_t>(2 * x)];
        block.Q[static_cast<std::size_t>(x)] = lines[static_cast<std::size_t>(2 * x + 1)];
    }
    return block;
}

const std::array<AdmittancePoint, kCellPairs>& RefPoints() {
    static const std::array<AdmittancePoint, kCellPairs> points{{
        {-1.0169552352e-05, -0.00010001846484},
        {-7.5724547169e-06, -0.0011000063199},
        {-0.0012634228299, -0.00010001846484},
        {-0.0012608257323, -0.0011000063199},
        {-8.95795622624e-06, -0.001755637776904},
        {-6.360858590964e-06, -0.002755625631935},
        {-0.001262211233813, -0.001755637776904},
        {-0.001259614136177, -0.002755625631935},
    }};
    return points;
}

const std::array<std::array<int, 4>, kPairSets>& PairSets() {
    static const std::array<std::array<int, 4>, kPairSets> sets{{
        {0, 1, 2, 3},
        {0, 1, 2, 6},
        {0, 1, 2, 7},
        {0, 1, 6, 7},
        {0, 2, 6, 7},
    }};
    return sets;
}

double PairRatio(const PairLevels& block, int x, double o) {
    const auto i = static_cast<std::size_t>(x);
    return CheckedDivide(Sub(block.P[i], o), Sub(block.Q[i], o));
}

AdmittancePoint IntersectCircles(const Circle& first, const Circle& second) {
    const double x0 = first.u, y0 = first.w, r0 = first.r;
    const double x1 = second.u, y1 = second.w, r1 = second.r;
    const double dx = Sub(x1, x0);
    const double dy = Sub(y1, y0);
    const double d = CheckedSqrt(Add(Square(dy), Square(dx)));
    const double a = CheckedDivide(Add(Sub(Square(r0), Square(r1)), Square(d)), Mul(2, d));
    const double hSquared = Sub(Square(r0), Square(a));
    if (hSquared < 0) return {};
    const double h = CheckedSqrt(hSquared);
    const AdmittancePoint foot{Add(x0, CheckedDivide(Mul(a, dx), d)), Add(y0, CheckedDivide(Mul(a, dy), d))};
    const double alongU = CheckedDivide(Mul(h, dy), d);
    const double alongW = CheckedDivide(Mul(h, dx), d);
    const AdmittancePoint A{Add(foot.u, alongU), Sub(foot.w, alongW)};
    const AdmittancePoint B{Sub(foot.u, alongU), Add(foot.w, alongW)};

    if (A.w <= 0 || B.w <= 0) return x1 > x0 ? B : A;
    if (A.u > 0 && B.u < 0) return A;
    if (A.u < 0 && B.u > 0) return B;
    return std::fabs(B.u - kExpectedSusceptance) < std::fabs(A.u - kExpectedSusceptance) ? B : A;
}

std::optional<Location> LocateAdmittance(const PairLevels& block, int a, int b, int c, double o) {
    const auto& R = RefPoints();
    const auto ref = [&R](int x) { return R[static_cast<std::size_t>(x)]; };
    const double ta = PairRatio(block, a, o);
    const double tb = PairRatio(block, b, o);
    const double tc = PairRatio(block, c, o);
    const double K1 = Square(CheckedDivide(tb, ta));
    const double K2 = Square(CheckedDivide(tc, tb));
    const Circle first = RatioCircle(ref(a), ref(b), K1);
    const Circle second = RatioCircle(ref(b), ref(c), K2);
    Location location;
    location.Y = IntersectCircles(first, second);
    if (location.Y.u == 0 && location.Y.w == 0) return std::nullopt;
    const double G = CheckedDivide(kPairZeroConductance, std::fabs(PairRatio(block, 0, o)));
    location.k = CheckedDivide(Distance(location.Y, ref(a)), G);
    return location;
}

double EvalOffsetError(const PairLevels& block, int a, int b, int c, int d, double o) {
    const std::optional<Location> location = LocateAdmittance(block, a, b, c, o);
    if (!location) return kNoIntersectionError;
    const double predicted =
        CheckedDivide(Mul(location->k, kPairZeroConductance), std::fabs(PairRatio(block, d, o)));
    return Square(Sub(Distance(location->Y, RefPoints()[static_cast<std::size_t>(d)]), predicted));
}

double GoldenSearchOffset(double ax, double bx, double cx, const std::function<double(double)>& E) {
    double x0 = ax;
    double x3 = cx;
    double x1 = 0;
    double x2 = 0;
    if (std::fabs(Sub(bx, ax)) < std::fabs(Sub(cx, bx))) {
        x1 = bx;
        x2 = Add(bx, Mul(kGoldenC, Sub(cx, bx)));
    } else {
        x2 = bx;
        x1 = Sub(bx, Mul(kGoldenC, Sub(bx, ax)));
    }
    double f1 = E(x1);
    double f2 = E(x2);
    // No tolerance test: the original always made exactly this many updates.
    for (int update = 0; update < kGoldenUpdates; ++update) {
        if (f2 < f1) {
            x0 = x1;
            x1 = x2;
            x2 = Add(Mul(kGoldenR, x1), Mul(kGoldenC, x3));
            f1 = f2;
            f2 = E(x2);
        } else {
            x3 = x2;
            x2 = x1;
            x1 = Add(Mul(kGoldenR, x2), Mul(kGoldenC, x0));
            f2 = f1;
            f1 = E(x1);
        }
    }
    return f1 < f2 ? x1 : x2;
}

namespace {

// One row of the offset table: start, bracket, golden section. Nothing when
// no start or no bracket was found.
std::optional<OffsetRow> FitOffsetRow(const PairLevels& block, const std::array<int, 4>& set) {
    const auto E = [&block, &set](double o) { return EvalOffsetError(block, set[0], set[1], set[2], set[3], o); };

    double xa = Mul(block.P[7], kStepDown);
    double fa = 0;
    bool started = false;
    for (int attempt = 0; attempt < kStartTries && !started; ++attempt) {
        fa = E(xa);
        if (fa != kNoIntersectionError) {
            started = true;
        } else {
            xa = Mul(xa, kStepDown);
        }
    }
    if (!started) return std::nullopt;

    double xb = Mul(xa, kStepDown);
    double fb = E(xb);
    double xc = Mul(xb, kStepDown);
    double fc = E(xc);

    bool bracketed = false;
    for (int move = 0; move < kBracketMoves; ++move) {
        if (fb <= fa && fb <= fc) {
            bracketed = true;
            break;
        }
        if (fb < fa) {
            xb = xc;
            fb = fc;
            xc = Mul(xc, kStepDown);
            fc = E(xc);
        } else {
            xb = xa;
            fb = fa;
            xa = Mul(xa, kStepUp);
            fa = E(xa);
        }
        if (fa == kNoIntersectionError) return std::nullopt;
    }
    if (!bracketed) return std::nullopt;

    OffsetRow row;
    row.offset = GoldenSearchOffset(xa, xb, xc, E);
    const std::optional<Location> location = LocateAdmittance(block, set[0], set[1], set[2], row.offset);
    if (!location) return std::nullopt;
    row.Y = location->Y;
    row.k = location->k;
    return row;
}

}  // namespace

OffsetRows FitOffsets2M(const CellVolts& Volts) {
    OffsetRows rows{};
    for (int n = 0; n < kCellBlocks; ++n) {
        const PairLevels block = BlockPairs(Volts, n);
        for (int s = 0; s < kPairSets; ++s) {
            const std::optional<OffsetRow> row = FitOffsetRow(block, PairSets()[static_cast<std::size_t>(s)]);
            rows[static_cast<std::size_t>(kPairSets * n + s)] = row.value_or(OffsetRow{});
        }
    }
    return rows;
}

void ElecParams2M(const CellVolts& Volts, Elec2M& result) {
    const OffsetRows rows = FitOffsets2M(Volts);
    double N = 0;
    double sumU = 0, sumW = 0, sumOffset = 0, sumK = 0;
    for (const OffsetRow& row : rows) {
        if (row.Y.u == 0) continue;
        N = N + 1;
        sumU = Add(sumU, row.Y.u);
        sumW = Add(sumW, row.Y.w);
        sumOffset = Add(sumOffset, row.offset);
        sumK = Add(sumK, row.k);
    }
    // With N = 0 the first division is 0/0, the fault that reports a cell
    // no row could be fitted to.
    result.EVo2M = VoltsToCounts(CheckedDivide(sumOffset, N));
    result.Ek2M = CheckedDivide(sumK, N);
    result.Capacitance = CheckedDivide(Mul(sumU, 1e12), Mul(Mul(2, Mul(kFrequency2M, kPi)), N));
    result.Resistance = CheckedDivide(N, sumW);
}

void ElecParams5k(const CellVolts& Volts, Elec5k& result) {
    const double alpha = Sub(CheckedDivide(1, kK1), CheckedDivide(1, kK2));
    double sumOffset = 0;
    double sumGain = 0;
    for (int n = 0; n < kCellBlocks; ++n) {
        const auto& lines = Volts[static_cast<std::size_t>(n)];
        const double e0 = lines[16], e1 = lines[20], e2 = lines[17], e3 = lines[21];
        const double beta = Sub(CheckedDivide(Add(e2, e1), kK2), CheckedDivide(Add(e0, e3), kK1));
        const double gamma = Sub(CheckedDivide(Mul(e0, e3), kK1), CheckedDivide(Mul(e1, e2), kK2));
        // The root with the plus sign is the offset; the other one lies near
        // the reference levels themselves.
        const double discriminant = Sub(Square(beta), Mul(Mul(4, alpha), gamma));
        const double x = CheckedDivide(Add(-beta, CheckedSqrt(discriminant)), Mul(2, alpha));
        const double g = CheckedDivide(Sub(e0, x), Mul(Sub(e2, x), kK1));
        sumOffset = Add(sumOffset, x);
        sumGain = Add(sumGain, g);
    }
    result.EVo5k = VoltsToCounts(CheckedDivide(sumOffset, kCellBlocks));
    result.Ek5k = CheckedDivide(sumGain, kCellBlocks);
    result.Capacitance = kCapacitance5k;
    result.Resistance = kResistance5k;
}

}  // namespace orvix
