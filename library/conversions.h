// The two conversions in degrees Celsius and ohms, as plain inline steps.
// Internal to the library, its tests and benchmarks; callers use vornconv.h.
//
// Every expression below is written so that each operation is one rounded
// IEEE 754 double operation in the order shown. The results are exact to the
// last bit only when the compiler neither contracts (FMA) nor reassociates:
// build with -ffp-contract=off and without fast-math.
#pragma once

#include <cmath>
#include <limits>

#include "converter_state.h"

namespace vornconv {

// R = R0 (1 + A t + B t^2 + C (t - 100) t^3) below 0 degC, without the C term
// from 0 degC up, in Horner form ((((k + B) t) + A) t + 1) R0.
constexpr double cvd_resistance(double t, const coefficient_set& set, double r0) {
    // t < 0 is false for -0 and NaN: neither forms the C term.
    const double k = t < 0.0 ? (t * set.c) * (t - 100.0) : 0.0;
    double p = k + set.b;
    p = p * t;
    p = p + set.a;
    p = p * t;
    p = p + 1.0;
    return p * r0;
}

// Root of 1 + A t + B t^2 = R / R0 on the rising side of the parabola.
inline double starting_estimate(double r, const coefficient_set& set, double r0) {
    const double q = r / r0;
    const double u = 1.0 - q;
    const double b4 = set.b * 4.0;
    const double v = u * b4;
    const double a2 = set.a * set.a;
    const double d = a2 - v;
    const double s = std::sqrt(d);
    return (s - set.a) * 0.5 / set.b;
}

inline constexpr double newton_tolerance = 0.001;  // ohms, whatever R0

// Passes after which the refinement gives up. Inputs that converge at all
// need at most 6 passes over 0..R0 for R0 up to 10 kohm, and 13 for R0 of
// 1e12 ohms; only roots within a few degrees of the convergence limit (about
// -628 degC, far below absolute zero) need hundreds or more: -240 ohms at
// R0 = 100 ohms takes 700. One pass costs about 13 ns here.
inline constexpr int pass_limit = 1000;

struct refinement_step {
    double t;         // the estimate after the correction
    double residual;  // R - Rt of the estimate before it, in ohms
};

// One pass: the residual of the full equation, the slope of the quadratic
// alone (C never enters it), and the correction, applied in any case.
constexpr refinement_step refinement_pass(double t, double r, const coefficient_set& set, double r0,
                                          double b2) {
    const double rt = cvd_resistance(t, set, r0);
    const double g = (b2 * t + set.a) * r0;
    const double f = r - rt;
    return {t + f / g, f};
}

struct solution {
    double celsius;
    int passes;  // refinement passes run
};

// The estimate is the answer from 0 degC up (and for -0 and NaN). Below it,
// passes run until one starts from an estimate whose residual is within the
// tolerance; that pass's correction is still applied. A NaN residual also
// ends the refinement. A refinement that has not met the tolerance after
// pass_limit passes has no answer: NaN.
inline solution solve_celsius(double r, const coefficient_set& set, double r0) {
    double t = starting_estimate(r, set, r0);
    int passes = 0;
    if (t < 0.0) {
        const double b2 = set.b * 2.0;
        for (;;) {
            const refinement_step step = refinement_pass(t, r, set, r0, b2);
            t = step.t;
            ++passes;
            if (!(std::fabs(step.residual) > newton_tolerance)) {
                break;
            }
            if (passes == pass_limit) {
                t = std::numeric_limits<double>::quiet_NaN();
                break;
            }
        }
    }
    return {t, passes};
}

}  // namespace vornconv
