// Both conversions through the shared library, against the floor of any
// exported call, the same arithmetic inlined, and what users write instead.
//
// Throughput: independent calls over pre-generated inputs. Latency: each
// input depends on the previous result (input + 0 * previous, which the
// compiler may not fold), so calls cannot overlap; every latency benchmark
// pays the same extra multiply and add.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "alternatives.h"
#include "call_floor.h"
#include "conversions.h"
#include "vornconv.h"

namespace {

using vornconv::coefficient_set;

constexpr double r0 = 100.0;
const coefficient_set& iec = vornconv::initial_state.sets[0];
constexpr std::size_t count = 4096;

struct inputs {
    std::vector<double> temperatures;  // uniform over -200..850 degC
    std::vector<double> resistances;   // of those temperatures
    std::vector<double> band;          // uniform over 0..R0, where the refinement runs

    inputs() {
        std::mt19937_64 rng(42);
        std::uniform_real_distribution<double> t(-200.0, 850.0), r(0.0, r0);
        for (std::size_t i = 0; i < count; ++i) {
            temperatures.push_back(t(rng));
            resistances.push_back(vornconv::cvd_resistance(temperatures.back(), iec, r0));
            band.push_back(r(rng));
        }
    }
};

const inputs& data() {
    static const inputs d;
    return d;
}

void configure() {
    vorn_set_r0(r0);
    vorn_set_type(0);
    vorn_set_scale(0);
}

template <typename F>
void throughput(benchmark::State& state, const std::vector<double>& in, F call) {
    configure();
    std::size_t i = 0;
    for (auto _ : state) {
        double out;
        call(in[i], &out);
        benchmark::DoNotOptimize(out);
        i = (i + 1) % count;
    }
    state.SetItemsProcessed(state.iterations());
}

template <typename F>
void latency(benchmark::State& state, const std::vector<double>& in, F call) {
    configure();
    std::size_t i = 0;
    double previous = 0.0;
    for (auto _ : state) {
        call(in[i] + 0.0 * previous, &previous);
        i = (i + 1) % count;
    }
    benchmark::DoNotOptimize(previous);
    state.SetItemsProcessed(state.iterations());
}

// The calls under test, all of the shape void(double, double*).
void library_forward(double t, double* r) { vorn_get_resistance(t, r); }
void library_inverse(double r, double* t) { vorn_get_temperature(r, t); }
void floor_call(double x, double* out) { bench_call_floor(x, out); }
void inline_forward(double t, double* r) { *r = vornconv::cvd_resistance(vornconv::to_celsius(t, 0, 273.15), iec, r0); }
void inline_inverse(double r, double* t) {
    *t = vornconv::from_celsius(vornconv::solve_celsius(r, iec, r0).celsius, 0, 273.15);
}
void pow_forward(double t, double* r) { *r = alternatives::pow_resistance(t, iec, r0); }
void newton_inverse(double r, double* t) { *t = alternatives::newton_temperature(r, iec, r0); }
void bisection_inverse(double r, double* t) { *t = alternatives::bisection_temperature(r, iec, r0); }
const alternatives::float_polynomial polynomial(iec, r0);
void polynomial_inverse(double r, double* t) { *t = polynomial(static_cast<float>(r)); }

enum class input { temperatures, resistances, band };

const std::vector<double>& pick(input which) {
    switch (which) {
    case input::temperatures:
        return data().temperatures;
    case input::resistances:
        return data().resistances;
    default:
        return data().band;
    }
}

template <void (*Call)(double, double*), input Which>
void bm_throughput(benchmark::State& state) {
    throughput(state, pick(Which), Call);
}

template <void (*Call)(double, double*), input Which>
void bm_latency(benchmark::State& state) {
    latency(state, pick(Which), Call);
}

#define VORN_BENCH_PAIR(call, which)                       \
    BENCHMARK(bm_throughput<call, input::which>)->Name("throughput/" #call "/" #which); \
    BENCHMARK(bm_latency<call, input::which>)->Name("latency/" #call "/" #which)

VORN_BENCH_PAIR(floor_call, temperatures);
VORN_BENCH_PAIR(library_forward, temperatures);
VORN_BENCH_PAIR(inline_forward, temperatures);
VORN_BENCH_PAIR(pow_forward, temperatures);
VORN_BENCH_PAIR(library_inverse, resistances);
VORN_BENCH_PAIR(inline_inverse, resistances);
VORN_BENCH_PAIR(newton_inverse, resistances);
VORN_BENCH_PAIR(bisection_inverse, resistances);
VORN_BENCH_PAIR(library_inverse, band);
VORN_BENCH_PAIR(inline_inverse, band);
VORN_BENCH_PAIR(newton_inverse, band);
VORN_BENCH_PAIR(bisection_inverse, band);
VORN_BENCH_PAIR(polynomial_inverse, band);

// One inverse call that runs to the pass limit: -250 ohms at 100 ohms cycles.
void bm_inverse_at_pass_limit(benchmark::State& state) {
    configure();
    for (auto _ : state) {
        double t;
        vorn_get_temperature(-250.0, &t);
        benchmark::DoNotOptimize(t);
    }
    state.counters["passes"] = vornconv::solve_celsius(-250.0, iec, r0).passes;
}
BENCHMARK(bm_inverse_at_pass_limit)->Name("worst_case/library_inverse/pass_limit")->Unit(benchmark::kMicrosecond);

// The float polynomial's error against the library over -200..0 degC.
void report_polynomial_error() {
    double worst = 0.0;
    for (int i = 0; i <= 200000; ++i) {
        const double t = -0.001 * i;
        const double r = vornconv::cvd_resistance(t, iec, r0);
        const double exact = vornconv::solve_celsius(r, iec, r0).celsius;
        worst = std::max(worst, std::fabs(static_cast<double>(polynomial(static_cast<float>(r))) - exact));
    }
    std::printf("float polynomial (degree 5, Chebyshev nodes) below 0 degC: largest error %.3g degC\n", worst);
}

}  // namespace

int main(int argc, char** argv) {
    report_polynomial_error();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
