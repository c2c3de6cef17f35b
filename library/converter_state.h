// The converter state: its layout, initial values and the two scale
// conversions. Internal to the library and its tests; callers use vornconv.h.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(__FAST_MATH__) || (defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__)
#error "vornconv needs IEEE 754 arithmetic: build it without -ffast-math or -ffinite-math-only"
#endif

namespace vornconv {

// Callendar-Van Dusen coefficients: A per degC, B per degC^2, C per degC^4.
struct coefficient_set {
    double a;
    double b;
    double c;
};

inline constexpr int slot_count = 5;
inline constexpr int user_slot = 4;

struct converter_state {
    double r0;             // ohms at 0 degC
    double kelvin_offset;  // kelvin value of 0 degC
    coefficient_set sets[slot_count];
    std::int32_t type;       // type code as last set
    std::int32_t slot_base;  // 3 * active slot: index of its A in sets as 15 doubles
    std::int32_t scale;      // scale code as last set
};

// The slots lie back to back as one run of 15 doubles.
static_assert(sizeof(coefficient_set) == 3 * sizeof(double));
static_assert(sizeof(converter_state::sets) == 3 * slot_count * sizeof(double));

inline constexpr coefficient_set iec_set{3.9083e-3, -5.775e-7, -4.183e-12};

inline constexpr converter_state initial_state{
    100.0,
    273.15,
    {
        iec_set,
        {3.908e-3, -5.8019e-7, -4.2735e-12},
        {3.9692e-3, -5.849e-7, -4.2325e-12},  // US
        {3.9848e-3, -5.87e-7, -4e-12},
        iec_set,  // user set until vorn_set_user_parameters
    },
    0,
    0,
    0,
};

// Type codes 1 to 4 select slots 1 to 4; every other code selects slot 0.
constexpr int slot_for_type(std::int32_t type) { return type >= 1 && type <= 4 ? type : 0; }

// The active set: the three doubles from position slot_base of the slots
// read as one run of 15 doubles (copied through their bytes, which is
// well-defined and compiles to three loads).
inline coefficient_set active_set(const converter_state& state) {
    coefficient_set set;
    std::memcpy(&set, reinterpret_cast<const unsigned char*>(state.sets) + state.slot_base * sizeof(double),
                sizeof set);
    return set;
}

inline constexpr std::int32_t scale_fahrenheit = 1;
inline constexpr std::int32_t scale_kelvin = 2;

// Each step is one rounded double operation, in this order; no 5/9 or 1.8 is
// formed in advance, since that changes the last bit.
constexpr double to_celsius(double x, std::int32_t scale, double kelvin_offset) {
    switch (scale) {
    case scale_fahrenheit:
        return (x - 32.0) * 5.0 / 9.0;
    case scale_kelvin:
        return x - kelvin_offset;
    default:
        return x;
    }
}

constexpr double from_celsius(double t, std::int32_t scale, double kelvin_offset) {
    switch (scale) {
    case scale_fahrenheit:
        return t * 9.0 / 5.0 + 32.0;
    case scale_kelvin:
        return kelvin_offset + t;
    default:
        return t;
    }
}

}  // namespace vornconv
