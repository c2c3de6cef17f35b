// Fuzz target: reads a sequence of export calls and their arguments from the
// input, makes the calls, and checks each result against a model of the
// state and the library's own inline steps.
//
// Input format, one call after another: an opcode byte (modulo 8), then its
// arguments. A double is a tag byte and then either 8 raw bytes (any bit
// pattern: NaNs, infinities, subnormals), a 16-bit fixed-point value in the
// working range, or one of a table of special values. A code is a tag byte
// and either 4 raw bytes or a small value around 0..4. Missing bytes read as
// zero.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>

#include "conversions.h"
#include "vornconv.h"

namespace {

using vornconv::coefficient_set;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// Same double, or both NaN: which NaN comes out of two NaN operands may
// depend on the operand order that a compiler picks.
bool same(double x, double y) {
    return std::isnan(x) ? std::isnan(y) : std::memcmp(&x, &y, sizeof x) == 0;
}

class reader {
public:
    reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool done() const { return size_ == 0; }

    std::uint8_t byte() {
        if (size_ == 0) {
            return 0;
        }
        --size_;
        return *data_++;
    }

    double number() {
        static const double specials[] = {
            0.0, -0.0, std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
            std::numeric_limits<double>::quiet_NaN(), 5e-324, 1e-300, 1e300, 100.0, 1000.0, 273.15, 32.0,
            761.0, 762.0, -240.0, -250.0, -288.0, 3.9083e-3, -5.775e-7, -4.183e-12, 1e12, -1e100};
        switch (byte() % 4) {
        case 0: {
            std::uint64_t bits = 0;
            for (int i = 0; i < 8; ++i) {
                bits = bits << 8 | byte();
            }
            double x;
            std::memcpy(&x, &bits, sizeof x);
            return x;
        }
        case 1:
        case 2: {
            const auto fixed = static_cast<std::int16_t>(byte() << 8 | byte());
            return fixed / 32.0;  // -1024 .. 1024 in steps of 1/32
        }
        default:
            return specials[byte() % std::size(specials)];
        }
    }

    std::int32_t code() {
        if (byte() % 4 == 0) {
            std::uint32_t bits = 0;
            for (int i = 0; i < 4; ++i) {
                bits = bits << 8 | byte();
            }
            return static_cast<std::int32_t>(bits);
        }
        return static_cast<std::int32_t>(byte() % 8) - 2;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// What the state must hold after the calls made so far.
struct model {
    double r0 = 100.0;
    std::int32_t type = 0;
    std::int32_t scale = 0;
    coefficient_set user = vornconv::iec_set;

    int slot() const { return vornconv::slot_for_type(type); }
    coefficient_set set() const { return slot() == vornconv::user_slot ? user : vornconv::initial_state.sets[slot()]; }
    bool built_in() const { return slot() != vornconv::user_slot; }
};

void check_r0_is_zero_degrees(const model& m) {
    if (!m.built_in() || !std::isfinite(m.r0) || m.r0 == 0.0) {
        return;
    }
    double t;
    vorn_get_temperature(m.r0, &t);
    const double expected = vornconv::from_celsius(0.0, m.scale, 273.15);
    check(t == expected, "R0 maps to 0 degC");
}

void check_temperature(const model& m, double r) {
    double t;
    vorn_get_temperature(r, &t);
    const coefficient_set set = m.set();
    const vornconv::solution solved = vornconv::solve_celsius(r, set, m.r0);
    check(solved.passes <= vornconv::pass_limit, "passes within the limit");
    check(same(vornconv::from_celsius(solved.celsius, m.scale, 273.15), t), "inverse as the steps give it");
    // Where the refinement converged in the working range, the forward
    // conversion of the result gives the resistance back within tolerance.
    if (m.built_in() && m.r0 >= 1.0 && m.r0 <= 1e5 && solved.celsius >= -200.0 && solved.celsius <= 850.0) {
        const double back = vornconv::cvd_resistance(solved.celsius, set, m.r0);
        check(std::fabs(back - r) <= vornconv::newton_tolerance, "forward of the inverse within tolerance");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The state is process-wide and outlives one input: start each from the
    // initial settings.
    model m;
    vorn_set_r0(m.r0);
    vorn_set_type(m.type);
    vorn_set_scale(m.scale);
    vorn_set_user_parameters(m.user.a, m.user.b, m.user.c);

    reader in(data, size);
    while (!in.done()) {
        switch (in.byte() % 8) {
        case 0:
            m.r0 = in.number();
            vorn_set_r0(m.r0);
            check_r0_is_zero_degrees(m);
            break;
        case 1:
            m.scale = in.code();
            vorn_set_scale(m.scale);
            break;
        case 2:
            m.type = in.code();
            vorn_set_type(m.type);
            break;
        case 3:
            m.user = {in.number(), in.number(), in.number()};
            vorn_set_user_parameters(m.user.a, m.user.b, m.user.c);
            break;
        case 4: {
            coefficient_set reported;
            vorn_get_parameters(&reported.a, &reported.b, &reported.c);
            const coefficient_set expected = m.set();
            check(std::memcmp(&reported, &expected, sizeof reported) == 0, "parameters of the active set");
            break;
        }
        case 5: {
            std::int32_t version = 0;
            vorn_library_version(&version);
            check(version == VORNCONV_VERSION, "version");
            break;
        }
        case 6: {
            const double x = in.number();
            double r;
            vorn_get_resistance(x, &r);
            const double celsius = vornconv::to_celsius(x, m.scale, 273.15);
            check(same(vornconv::cvd_resistance(celsius, m.set(), m.r0), r), "forward as the steps give it");
            break;
        }
        default:
            check_temperature(m, in.number());
            break;
        }
    }
    return 0;
}
