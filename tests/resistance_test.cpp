// Temperature to resistance: worked values to the last bit and odd inputs.
#include "test_helpers.h"

namespace {

using namespace vornconv_test;

struct forward_case {
    double input;
    std::int32_t scale;
    std::int32_t type;
    double r0;
    double expected;
};

const forward_case worked_values[] = {
    {-200.0, 0, 0, 100.0, 18.520080000000007},
    {-100.0, 0, 0, 100.0, 60.255840000000006},
    {-50.0, 0, 0, 100.0, 80.306281875},
    {0.0, 0, 0, 100.0, 100.0},
    {100.0, 0, 0, 100.0, 138.50549999999998},
    {850.0, 0, 0, 100.0, 390.48112499999996},
    {-100.0, 0, 1, 100.0, 60.254340000000006},
    {100.0, 0, 1, 100.0, 138.49981},
    {-100.0, 0, 2, 100.0, 59.638450000000006},
    {-100.0, 0, 3, 100.0, 59.484999999999985},
    {-100.0, 0, 0, 1000.0, 602.5584},
    {-200.0, 0, 0, 1000.0, 185.20080000000004},
    {0.0, 1, 0, 100.0, 93.03338244807072},
    {-148.0, 1, 0, 100.0, 60.255840000000006},
    // 173.15 - 273.15 is -99.99999999999997, one ulp above -100 degC's value.
    {173.15, 2, 0, 100.0, 60.25584000000001},
    {0.0, 2, 0, 100.0, -14.245077720140698},
    // Exactly R0 at 0 degC in every scale, -0 included.
    {-0.0, 0, 0, 100.0, 100.0},
    {32.0, 1, 0, 100.0, 100.0},
    {273.15, 2, 0, 100.0, 100.0},
    // Past the top of the parabola and far beyond: negative, then -inf.
    {1e6, 0, 0, 100.0, -57359070.00000001},
    {-1e80, 0, 0, 100.0, -inf},
    {1e157, 0, 0, 100.0, -inf},
    {inf, 0, 0, 100.0, -inf},
    {-inf, 0, 0, 100.0, -inf},
};

TEST(Resistance, WorkedValues) {
    for (const forward_case& c : worked_values) {
        SCOPED_TRACE(describe(c.input));
        configure(c.r0, c.type, c.scale);
        EXPECT_SAME_DOUBLE(c.expected, resistance(c.input));
    }
}

TEST(Resistance, TwentyDegreesAtOneKiloohmRoundsUp) {
    // The exact value is 1077.935 to the last digit; the Horner order gives
    // the double above it, the expanded left-to-right order the one below.
    configure(1000.0, 0, 0);
    char printed[32];
    std::snprintf(printed, sizeof printed, "%.2f", resistance(20.0));
    EXPECT_STREQ("1077.94", printed);
}

TEST(Resistance, NanTemperatureGivesThatNanInEveryScale) {
    for (std::int32_t scale : {0, 1, 2}) {
        configure(100.0, 0, scale);
        for (std::uint64_t nan_bits : {0x7FF8000000000123u, 0xFFF8000000000456u}) {
            EXPECT_SAME_DOUBLE(from_bits(nan_bits), resistance(from_bits(nan_bits)));
        }
        // A signalling NaN comes back quiet, payload kept.
        EXPECT_SAME_DOUBLE(from_bits(0x7FF8000000000123u), resistance(from_bits(0x7FF0000000000123u)));
    }
}

TEST(Resistance, CTermOnlyBelowZeroCelsius) {
    // A NaN C shows exactly where the C term is formed.
    configure(100.0, 4, 0);
    vorn_set_user_parameters(3.9083e-3, -5.775e-7, qnan);
    struct {
        std::int32_t scale;
        double input;
        bool forms_c_term;
    } const cases[] = {
        {0, -0.5, true}, {0, -5e-324, true}, {0, -0.0, false}, {0, 0.0, false}, {0, 850.0, false},
        {1, 31.0, true}, {1, 32.0, false}, {2, 273.14, true}, {2, 273.15, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        vorn_set_scale(c.scale);
        EXPECT_EQ(c.forms_c_term, std::isnan(resistance(c.input)));
    }
}

TEST(Resistance, UnusualSettings) {
    // R0 = 0: every finite result is a zero.
    configure(0.0, 0, 0);
    for (double t : {-300.0, -100.0, 0.0, 100.0, 1e6}) {
        EXPECT_EQ(0.0, resistance(t));
    }
    // Negative R0: the same magnitudes with the sign changed.
    for (double t : {-300.0, -100.0, -0.5, 0.0, 100.0, 850.0}) {
        configure(100.0, 0, 0);
        const double positive = resistance(t);
        vorn_set_r0(-100.0);
        EXPECT_SAME_DOUBLE(-positive, resistance(t));
    }
    // A NaN in R0, A or B spoils every result; a NaN in C only those below 0 degC.
    const double nan_r0_a_b[][4] = {
        {qnan, 3.9083e-3, -5.775e-7, -4.183e-12},
        {100.0, qnan, -5.775e-7, -4.183e-12},
        {100.0, 3.9083e-3, qnan, -4.183e-12},
    };
    for (const auto& s : nan_r0_a_b) {
        configure(s[0], 4, 0);
        vorn_set_user_parameters(s[1], s[2], s[3]);
        for (double t : {-100.0, 0.0, 100.0}) {
            EXPECT_TRUE(std::isnan(resistance(t)));
        }
    }
}

}  // namespace
