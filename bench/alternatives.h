// What users write instead of the library, for comparison.
#pragma once

#include <cmath>
#include <numbers>

#include "converter_state.h"

namespace alternatives {

using vornconv::coefficient_set;

// The equation as printed, with std::pow.
inline double pow_resistance(double t, const coefficient_set& s, double r0) {
    double bracket = 1.0 + s.a * t + s.b * std::pow(t, 2);
    if (t < 0.0) {
        bracket += s.c * (t - 100.0) * std::pow(t, 3);
    }
    return r0 * bracket;
}

// Newton's method with the full derivative, to the same 0.001 ohm.
inline double newton_temperature(double r, const coefficient_set& s, double r0, double tolerance = 0.001) {
    double t = (r / r0 - 1.0) / s.a;
    for (int i = 0; i < 50; ++i) {
        const double c = t < 0.0 ? s.c : 0.0;
        const double f = pow_resistance(t, s, r0) - r;
        if (std::fabs(f) <= tolerance) {
            break;
        }
        const double slope = r0 * (s.a + 2.0 * s.b * t + c * (4.0 * t * t * t - 300.0 * t * t));
        t -= f / slope;
    }
    return t;
}

// Bisection over -250..900 degC to 1e-6 degC.
inline double bisection_temperature(double r, const coefficient_set& s, double r0) {
    double lo = -250.0;
    double hi = 900.0;
    while (hi - lo > 1e-6) {
        const double mid = 0.5 * (lo + hi);
        (pow_resistance(mid, s, r0) < r ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

// A float polynomial in R / R0 below 0 degC, as embedded drivers carry it:
// degree 5, fitted at Chebyshev nodes over -200..0 degC of one set.
class float_polynomial {
public:
    float_polynomial(const coefficient_set& s, double r0) : r0_(static_cast<float>(r0)) {
        constexpr int n = 6;
        const double lo = pow_resistance(-200.0, s, 1.0);
        const double hi = 1.0;
        // Chebyshev interpolation of t(x) on x in [lo, hi], then its
        // monomial coefficients in u = (2x - lo - hi) / (hi - lo).
        double cheb[n] = {};
        for (int k = 0; k < n; ++k) {
            const double u = std::cos(std::numbers::pi * (k + 0.5) / n);
            const double x = 0.5 * (hi - lo) * u + 0.5 * (hi + lo);
            const double t = newton_temperature(x, s, 1.0, 1e-13);
            for (int j = 0; j < n; ++j) {
                cheb[j] += 2.0 / n * t * std::cos(j * std::numbers::pi * (k + 0.5) / n);
            }
        }
        cheb[0] /= 2.0;
        // T_j(u) in monomials, by T_{j+1} = 2u T_j - T_{j-1}.
        double t_prev[n] = {1.0}, t_cur[n] = {0.0, 1.0}, mono[n] = {};
        for (int i = 0; i < n; ++i) {
            mono[i] += cheb[0] * t_prev[i] + cheb[1] * t_cur[i];
        }
        for (int j = 2; j < n; ++j) {
            double t_next[n] = {};
            for (int i = 0; i < n; ++i) {
                t_next[i] = (i > 0 ? 2.0 * t_cur[i - 1] : 0.0) - t_prev[i];
                mono[i] += cheb[j] * t_next[i];
            }
            for (int i = 0; i < n; ++i) {
                t_prev[i] = t_cur[i];
                t_cur[i] = t_next[i];
            }
        }
        for (int i = 0; i < n; ++i) {
            coefficients_[i] = static_cast<float>(mono[i]);
        }
        scale_ = static_cast<float>(2.0 / (hi - lo));
        offset_ = static_cast<float>(-(hi + lo) / (hi - lo));
    }

    float operator()(float r) const {
        const float u = r / r0_ * scale_ + offset_;
        float t = coefficients_[5];
        for (int i = 4; i >= 0; --i) {
            t = t * u + coefficients_[i];
        }
        return t;
    }

private:
    float r0_;
    float scale_;
    float offset_;
    float coefficients_[6];
};

}  // namespace alternatives
