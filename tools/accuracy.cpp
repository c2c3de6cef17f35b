// Compares the library's conversions with exact arithmetic (GNU MPFR).
//
//   accuracy report STEP PLOT_DATA   Markdown tables on standard output and
//                                    the inverse error of the IEC set at
//                                    R0 = 100 and 1000 ohms in PLOT_DATA
//   accuracy check                   coarse grid; exit status 1 if any bound
//                                    that the library promises is broken
//
// The exact forward value is the equation evaluated with the very doubles
// the library holds (t, A, B, C, R0) at 320 bits; the exact inverse is the
// root of that equation for the double resistance, solved by the closed form
// from 0 degC up and by Newton's method with the full derivative below.
#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "conversions.h"
#include "vornconv.h"

namespace {

using vornconv::coefficient_set;

constexpr mpfr_prec_t precision = 320;

// A few MPFR variables that live as long as one object.
class exact {
public:
    exact() {
        for (mpfr_t& v : v_) {
            mpfr_init2(v, precision);
        }
    }
    ~exact() {
        for (mpfr_t& v : v_) {
            mpfr_clear(v);
        }
    }
    exact(const exact&) = delete;
    exact& operator=(const exact&) = delete;

    // R0 (1 + A t + B t^2 [+ C (t - 100) t^3 below 0]) into out.
    void resistance(mpfr_t out, const mpfr_t t, const coefficient_set& s, double r0) {
        mpfr_t& acc = v_[0];
        mpfr_t& term = v_[1];
        mpfr_set_d(acc, 1.0, MPFR_RNDN);
        mpfr_mul_d(term, t, s.a, MPFR_RNDN);
        mpfr_add(acc, acc, term, MPFR_RNDN);
        mpfr_sqr(term, t, MPFR_RNDN);
        mpfr_mul_d(term, term, s.b, MPFR_RNDN);
        mpfr_add(acc, acc, term, MPFR_RNDN);
        if (mpfr_sgn(t) < 0) {
            mpfr_pow_ui(term, t, 3, MPFR_RNDN);
            mpfr_mul_d(term, term, s.c, MPFR_RNDN);
            mpfr_sub_d(v_[2], t, 100.0, MPFR_RNDN);
            mpfr_mul(term, term, v_[2], MPFR_RNDN);
            mpfr_add(acc, acc, term, MPFR_RNDN);
        }
        mpfr_mul_d(out, acc, r0, MPFR_RNDN);
    }

    // d/dt of the above.
    void slope(mpfr_t out, const mpfr_t t, const coefficient_set& s, double r0) {
        mpfr_t& acc = v_[0];
        mpfr_t& term = v_[1];
        mpfr_mul_d(acc, t, 2.0 * s.b, MPFR_RNDN);  // 2B is exact
        mpfr_add_d(acc, acc, s.a, MPFR_RNDN);
        if (mpfr_sgn(t) < 0) {
            // C (4 t^3 - 300 t^2)
            mpfr_mul_d(term, t, 4.0, MPFR_RNDN);
            mpfr_sub_d(term, term, 300.0, MPFR_RNDN);
            mpfr_mul(term, term, t, MPFR_RNDN);
            mpfr_mul(term, term, t, MPFR_RNDN);
            mpfr_mul_d(term, term, s.c, MPFR_RNDN);
            mpfr_add(acc, acc, term, MPFR_RNDN);
        }
        mpfr_mul_d(out, acc, r0, MPFR_RNDN);
    }

    // Error of the double y against the exact value e, in units in the last
    // place of e.
    static double ulps(double y, const mpfr_t e) {
        if (mpfr_zero_p(e)) {
            return y == 0.0 ? 0.0 : INFINITY;
        }
        mpfr_t d;
        mpfr_init2(d, precision);
        mpfr_sub_d(d, e, y, MPFR_RNDN);
        mpfr_abs(d, d, MPFR_RNDN);
        // |e| is in [2^(E-1), 2^E): its ulp as a double is 2^(E-53).
        mpfr_mul_2si(d, d, 53 - mpfr_get_exp(e), MPFR_RNDN);
        const double result = mpfr_get_d(d, MPFR_RNDN);
        mpfr_clear(d);
        return result;
    }

    // The root t of resistance(t) = r, starting from the guess; on the
    // branch from 0 degC up the quadratic's closed form.
    double root(double r, const coefficient_set& s, double r0, double guess) {
        mpfr_t& t = v_[3];
        mpfr_t& f = v_[4];
        mpfr_t& g = v_[5];
        if (r >= r0) {
            // (sqrt(A^2 - 4B (1 - r/r0)) - A) / (2B)
            mpfr_set_d(f, r, MPFR_RNDN);
            mpfr_div_d(f, f, r0, MPFR_RNDN);
            mpfr_d_sub(f, 1.0, f, MPFR_RNDN);
            mpfr_mul_d(f, f, 4.0 * s.b, MPFR_RNDN);
            mpfr_set_d(g, s.a, MPFR_RNDN);
            mpfr_sqr(g, g, MPFR_RNDN);
            mpfr_sub(f, g, f, MPFR_RNDN);
            mpfr_sqrt(f, f, MPFR_RNDN);
            mpfr_sub_d(f, f, s.a, MPFR_RNDN);
            mpfr_div_d(t, f, 2.0 * s.b, MPFR_RNDN);
            return mpfr_get_d(t, MPFR_RNDN);
        }
        mpfr_set_d(t, std::min(guess, -1e-300), MPFR_RNDN);
        for (int i = 0; i < 200; ++i) {
            resistance(f, t, s, r0);
            mpfr_sub_d(f, f, r, MPFR_RNDN);
            slope(g, t, s, r0);
            mpfr_div(f, f, g, MPFR_RNDN);
            mpfr_sub(t, t, f, MPFR_RNDN);
            if (mpfr_zero_p(f) || mpfr_get_exp(f) < mpfr_get_exp(t) - 300) {
                break;
            }
        }
        return mpfr_get_d(t, MPFR_RNDN);
    }

private:
    mpfr_t v_[6];
};

struct figures {
    double forward_ulps = 0.0;
    double inverse_below = 0.0;   // |t - exact root|, degC, for the resistances of -200..0 degC
    double inverse_above = 0.0;   // the same over 0..850 degC
    double inverse_0_r0 = 0.0;    // over resistances 0..R0
    double round_trip_below = 0.0;
    double round_trip_above = 0.0;
    int passes_0_r0 = 0;
    int passes_below = 0;
};

const double r0s[] = {1.0, 100.0, 500.0, 1000.0, 10000.0};
const char* const set_names[] = {"0 (IEC)", "1", "2 (US)", "3"};

// Walks -200..850 degC in steps of `step`, and 0..R0 in as many steps.
figures measure(std::int32_t type, double r0, double step, std::vector<double>* plot_errors) {
    const coefficient_set& set = vornconv::initial_state.sets[type];
    vorn_set_r0(r0);
    vorn_set_type(type);
    vorn_set_scale(0);
    exact x;
    mpfr_t t_exact, r_exact;
    mpfr_init2(t_exact, precision);
    mpfr_init2(r_exact, precision);
    figures f;
    const long points = std::lround(1050.0 / step);
    for (long i = 0; i <= points; ++i) {
        const double t = -200.0 + 1050.0 * static_cast<double>(i) / static_cast<double>(points);
        double r, back;
        vorn_get_resistance(t, &r);
        vorn_get_temperature(r, &back);
        mpfr_set_d(t_exact, t, MPFR_RNDN);
        x.resistance(r_exact, t_exact, set, r0);
        f.forward_ulps = std::max(f.forward_ulps, exact::ulps(r, r_exact));
        const double inverse_error = std::fabs(back - x.root(r, set, r0, back));
        const double trip_error = std::fabs(back - t);
        if (t < 0.0) {
            f.inverse_below = std::max(f.inverse_below, inverse_error);
            f.round_trip_below = std::max(f.round_trip_below, trip_error);
            f.passes_below = std::max(f.passes_below, vornconv::solve_celsius(r, set, r0).passes);
        } else {
            f.inverse_above = std::max(f.inverse_above, inverse_error);
            f.round_trip_above = std::max(f.round_trip_above, trip_error);
        }
        if (plot_errors != nullptr) {
            plot_errors->push_back(inverse_error);
        }
    }
    for (long i = 0; i <= points; ++i) {
        const double r = r0 * static_cast<double>(i) / static_cast<double>(points);
        double t;
        vorn_get_temperature(r, &t);
        f.inverse_0_r0 = std::max(f.inverse_0_r0, std::fabs(t - x.root(r, set, r0, t)));
        f.passes_0_r0 = std::max(f.passes_0_r0, vornconv::solve_celsius(r, set, r0).passes);
    }
    mpfr_clear(t_exact);
    mpfr_clear(r_exact);
    return f;
}

int report(double step, const char* plot_path) {
    std::printf("# Accuracy against exact arithmetic\n\n"
                "Each conversion compared with the same equation evaluated and solved with GNU MPFR at %d bits,\n"
                "using the very doubles the library holds (t, A, B, C, R0). Temperatures from -200 to 850 degC\n"
                "in steps of %g degC, and as many resistances from 0 to R0.\n\n"
                "- forward: largest error of `vorn_get_resistance`, in units in the last place of the exact value;\n"
                "- inverse: largest |t - t*| of `vorn_get_temperature`, t* the exact root for the same double\n"
                "  resistance, over the resistances of -200..0 degC, of 0..850 degC and of 0..R0;\n"
                "- round trip: largest |t2 - t| for t2 the inverse of the forward of t;\n"
                "- passes: most refinement passes over 0..R0 and over the resistances of -200..0 degC.\n\n"
                "Regenerate with `cmake --build build --target accuracy_report` (needs libmpfr-dev and gnuplot).\n\n"
                "![inverse error against temperature](accuracy.png)\n",
                static_cast<int>(precision), step);
    std::vector<double> plot_100, plot_1000;
    for (std::int32_t type = 0; type <= 3; ++type) {
        std::printf("\n## Set %s\n\n", set_names[type]);
        std::printf("| R0 (ohms) | forward (ulp) | inverse -200..0 (degC) | inverse 0..850 (degC) | inverse 0..R0 (degC) "
                    "| round trip -200..0 (degC) | round trip 0..850 (degC) | passes 0..R0 | passes -200..0 |\n"
                    "|---|---|---|---|---|---|---|---|---|\n");
        for (double r0 : r0s) {
            std::vector<double>* plot = type == 0 && r0 == 100.0 ? &plot_100 : type == 0 && r0 == 1000.0 ? &plot_1000 : nullptr;
            const figures f = measure(type, r0, step, plot);
            std::printf("| %g | %.3f | %.3g | %.3g | %.3g | %.3g | %.3g | %d | %d |\n", r0, f.forward_ulps,
                        f.inverse_below, f.inverse_above, f.inverse_0_r0, f.round_trip_below, f.round_trip_above,
                        f.passes_0_r0, f.passes_below);
        }
    }
    std::FILE* plot = std::fopen(plot_path, "w");
    if (plot == nullptr) {
        std::perror(plot_path);
        return 1;
    }
    std::fprintf(plot, "# t_degC inverse_error_R0_100 inverse_error_R0_1000\n");
    const long points = std::lround(1050.0 / step);
    for (long i = 0; i <= points; ++i) {
        const double t = -200.0 + 1050.0 * static_cast<double>(i) / static_cast<double>(points);
        // Exact zeros have no place on a log scale: show them at 1e-18.
        std::fprintf(plot, "%.4f %.6g %.6g\n", t, std::max(plot_100[i], 1e-18), std::max(plot_1000[i], 1e-18));
    }
    return std::fclose(plot) == 0 ? 0 : 1;
}

// The bounds that the library promises, on a coarse grid.
int check() {
    int checks = 0;
    int failures = 0;
    auto expect = [&](bool ok, const char* what, std::int32_t type, double r0, double value) {
        ++checks;
        if (!ok) {
            std::printf("FAILED: %s: set %d, R0 %g: %g\n", what, type, r0, value);
            ++failures;
        }
    };
    const int most_passes[] = {3, 4, 5, 5, 6};
    for (std::int32_t type = 0; type <= 3; ++type) {
        for (std::size_t i = 0; i < std::size(r0s); ++i) {
            const double r0 = r0s[i];
            const figures f = measure(type, r0, 0.25, nullptr);
            // The sum 1 + A t + B t^2 cancels towards -200 degC, where it is
            // about 0.19: the roundings near 1 weigh a few ulp of the result.
            expect(f.forward_ulps <= 8.0, "forward within 8 ulp", type, r0, f.forward_ulps);
            expect(f.inverse_above <= 1e-12, "inverse 0..850 degC within 1e-12 degC", type, r0, f.inverse_above);
            expect(f.round_trip_above <= 1e-12, "round trip 0..850 degC within 1e-12 degC", type, r0, f.round_trip_above);
            if (r0 >= 100.0 && r0 <= 1000.0) {
                expect(f.inverse_below <= 1e-4, "inverse -200..0 degC within 1e-4 degC", type, r0, f.inverse_below);
                expect(f.round_trip_below <= 1e-4, "round trip -200..0 degC within 1e-4 degC", type, r0,
                       f.round_trip_below);
            }
            expect(f.passes_0_r0 <= most_passes[i], "passes over 0..R0", type, r0, f.passes_0_r0);
        }
    }
    std::printf("%d passed, %d failed\n", checks - failures, failures);
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "check") == 0) {
        return check();
    }
    if (argc == 4 && std::strcmp(argv[1], "report") == 0) {
        return report(std::stod(argv[2]), argv[3]);
    }
    std::fprintf(stderr, "usage: %s check | report STEP PLOT_DATA\n", argv[0]);
    return 2;
}
