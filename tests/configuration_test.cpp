// Settings, the coefficient slots, the user set and the scale conversions.
#include <climits>

#include "converter_state.h"
#include "test_helpers.h"

namespace {

using namespace vornconv_test;
using vornconv::coefficient_set;

coefficient_set reported_parameters() {
    coefficient_set set{};
    vorn_get_parameters(&set.a, &set.b, &set.c);
    return set;
}

void expect_same_set(const coefficient_set& expected, const coefficient_set& actual) {
    EXPECT_SAME_DOUBLE(expected.a, actual.a);
    EXPECT_SAME_DOUBLE(expected.b, actual.b);
    EXPECT_SAME_DOUBLE(expected.c, actual.c);
}

constexpr coefficient_set iec{3.9083e-3, -5.775e-7, -4.183e-12};
constexpr coefficient_set us{3.9692e-3, -5.849e-7, -4.2325e-12};

struct type_case {
    std::int32_t type;
    coefficient_set expected;
    double at_minus_100;  // ohms at -100 degC, R0 = 100 ohms
};

const type_case type_cases[] = {
    {0, iec, 60.255840000000006},
    {1, {3.908e-3, -5.8019e-7, -4.2735e-12}, 60.254340000000006},
    {2, us, 59.638450000000006},
    {3, {3.9848e-3, -5.87e-7, -4e-12}, 59.484999999999985},
    {5, iec, 60.255840000000006},
    {7, iec, 60.255840000000006},
    {-1, iec, 60.255840000000006},
    {INT32_MIN, iec, 60.255840000000006},
    {INT32_MAX, iec, 60.255840000000006},
};

TEST(TypeCode, SelectsSlotForReportsAndConversions) {
    for (const type_case& c : type_cases) {
        SCOPED_TRACE(c.type);
        configure(100.0, c.type, 0);
        expect_same_set(c.expected, reported_parameters());
        EXPECT_SAME_DOUBLE(c.at_minus_100, resistance(-100.0));
    }
}

TEST(Version, Is102WhateverTheState) {
    configure(-1.0, INT32_MIN, INT32_MAX);
    vorn_set_user_parameters(qnan, qnan, qnan);
    std::int32_t version = 0;
    vorn_library_version(&version);
    EXPECT_EQ(102, version);
    EXPECT_EQ(VORNCONV_VERSION, version);
}

TEST(UserSet, StoredWhileInactiveAndKeptAcrossTypeChanges) {
    configure(100.0, 2, 0);
    const coefficient_set mine{4e-3, -6e-7, -5e-12};
    vorn_set_user_parameters(mine.a, mine.b, mine.c);
    expect_same_set(us, reported_parameters());
    EXPECT_SAME_DOUBLE(59.638450000000006, resistance(-100.0));

    vorn_set_type(4);
    expect_same_set(mine, reported_parameters());
    vorn_set_type(2);
    vorn_set_type(4);
    expect_same_set(mine, reported_parameters());
}

TEST(UserSet, TakesEffectAtOnceWhileActive) {
    configure(100.0, 4, 0);
    vorn_set_user_parameters(4e-3, 0.0, 0.0);
    EXPECT_SAME_DOUBLE(140.0, resistance(100.0));
    vorn_set_user_parameters(5e-3, 0.0, 0.0);
    EXPECT_SAME_DOUBLE(150.0, resistance(100.0));
}

TEST(UserSet, StoresAnyDoubleUnchanged) {
    configure(100.0, 4, 0);
    const coefficient_set odd[] = {
        {0.0, -0.0, -0.0},
        {-1.0, -inf, inf},
        {from_bits(0x7FF8000000000123u), from_bits(0xFFF8000000000456u), 5e-324},
    };
    for (const coefficient_set& set : odd) {
        vorn_set_user_parameters(set.a, set.b, set.c);
        expect_same_set(set, reported_parameters());
    }
}

TEST(Parameters, OnePointerInAllPositionsReceivesC) {
    configure(100.0, 0, 0);
    double x = 0.0;
    vorn_get_parameters(&x, &x, &x);
    EXPECT_SAME_DOUBLE(-4.183e-12, x);
}

TEST(R0, StoredUnchanged) {
    // At 0 degC the bracket is exactly 1, so the resistance is R0 itself.
    const double odd[] = {0.0, -0.0, -100.0, 5e-324, inf, -inf, from_bits(0x7FF8000000000789u)};
    for (double r0 : odd) {
        configure(r0, 0, 0);
        EXPECT_SAME_DOUBLE(r0, resistance(0.0));
    }
}

TEST(ScaleCode, UnknownCodesActAsCelsius) {
    configure(100.0, 0, 0);
    const double celsius = resistance(-50.0);
    for (std::int32_t scale : {3, -1, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(scale);
        vorn_set_scale(scale);
        EXPECT_SAME_DOUBLE(celsius, resistance(-50.0));
        EXPECT_SAME_DOUBLE(-0.0, temperature(100.0));
    }
}

TEST(ScaleCode, BoilingPointIsOneDoubleInEveryScale) {
    configure(100.0, 0, 0);
    const double at_100c = resistance(100.0);
    vorn_set_scale(1);
    EXPECT_SAME_DOUBLE(at_100c, resistance(212.0));
    vorn_set_scale(2);
    EXPECT_SAME_DOUBLE(at_100c, resistance(373.15));
}

struct scale_case {
    std::int32_t scale;
    double value;
    double celsius;
};

// Each row holds in both directions: to_celsius(value) == celsius and
// from_celsius(celsius) == value.
const scale_case exact_pairs[] = {
    {1, 212.0, 100.0},
    {1, 98.6, 37.0},
    {1, 32.0, 0.0},
    {2, 273.15, 0.0},
    {2, 373.15, 100.0},
};

TEST(ScaleConversion, ExactPairs) {
    for (const scale_case& c : exact_pairs) {
        SCOPED_TRACE(c.value);
        EXPECT_SAME_DOUBLE(c.celsius, vornconv::to_celsius(c.value, c.scale, 273.15));
        EXPECT_SAME_DOUBLE(c.value, vornconv::from_celsius(c.celsius, c.scale, 273.15));
    }
}

TEST(ScaleConversion, OrderOfOperationsDecidesTheLastBit) {
    // Dividing by 1.8 or multiplying by 5/9 would give the other neighbour.
    EXPECT_SAME_DOUBLE(26.666666666666668, vornconv::to_celsius(80.0, 1, 273.15));
    EXPECT_SAME_DOUBLE(232.77777777777777, vornconv::to_celsius(451.0, 1, 273.15));
    EXPECT_SAME_DOUBLE(26.850000000000023, vornconv::to_celsius(300.0, 2, 273.15));
}

TEST(ScaleConversion, PassesNonFiniteValuesThrough) {
    const double payload_nan = from_bits(0x7FF8000000000123u);
    for (std::int32_t scale : {0, 1, 2}) {
        SCOPED_TRACE(scale);
        EXPECT_SAME_DOUBLE(payload_nan, vornconv::to_celsius(payload_nan, scale, 273.15));
        EXPECT_SAME_DOUBLE(payload_nan, vornconv::from_celsius(payload_nan, scale, 273.15));
        for (double x : {inf, -inf}) {
            EXPECT_SAME_DOUBLE(x, vornconv::to_celsius(x, scale, 273.15));
            EXPECT_SAME_DOUBLE(x, vornconv::from_celsius(x, scale, 273.15));
        }
    }
    // Below absolute zero is converted like anything else.
    EXPECT_SAME_DOUBLE(-373.15, vornconv::to_celsius(-100.0, 2, 273.15));
}

}  // namespace
