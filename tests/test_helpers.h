// Bit-exact comparisons and short forms of the exports for the tests.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "vornconv.h"

namespace vornconv_test {

inline std::uint64_t bits(double x) { return std::bit_cast<std::uint64_t>(x); }
inline double from_bits(std::uint64_t b) { return std::bit_cast<double>(b); }

inline std::string describe(double x) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g (0x%016" PRIx64 ")", x, bits(x));
    return text;
}

// Equal as bit patterns: tells -0 from +0 and one NaN from another.
inline ::testing::AssertionResult same_double(const char* expected_expr, const char* actual_expr,
                                              double expected, double actual) {
    if (bits(expected) == bits(actual)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << actual_expr << " is " << describe(actual) << ", expected "
                                         << expected_expr << " = " << describe(expected);
}

#define EXPECT_SAME_DOUBLE(expected, actual) \
    EXPECT_PRED_FORMAT2(::vornconv_test::same_double, expected, actual)

inline constexpr double inf = std::numeric_limits<double>::infinity();
inline constexpr double qnan = std::numeric_limits<double>::quiet_NaN();

// Sets every setting that a conversion depends on, so tests need no order.
inline void configure(double r0, std::int32_t type, std::int32_t scale) {
    vorn_set_r0(r0);
    vorn_set_type(type);
    vorn_set_scale(scale);
}

inline double resistance(double t) {
    double r;
    vorn_get_resistance(t, &r);
    return r;
}

inline double temperature(double r) {
    double t;
    vorn_get_temperature(r, &t);
    return t;
}

}  // namespace vornconv_test
