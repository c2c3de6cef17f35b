// Runs in a process of its own: the state as loaded, before any setting.
#include "test_helpers.h"

namespace {

using namespace vornconv_test;

TEST(InitialState, IecSetHundredOhmsCelsiusUserSetIsIec) {
    double a = 0.0, b = 0.0, c = 0.0;
    vorn_get_parameters(&a, &b, &c);
    EXPECT_SAME_DOUBLE(3.9083e-3, a);
    EXPECT_SAME_DOUBLE(-5.775e-7, b);
    EXPECT_SAME_DOUBLE(-4.183e-12, c);
    EXPECT_SAME_DOUBLE(100.0, resistance(0.0));
    EXPECT_SAME_DOUBLE(138.50549999999998, resistance(100.0));
    EXPECT_SAME_DOUBLE(60.255840000000006, resistance(-100.0));
    std::int32_t version = 0;
    vorn_library_version(&version);
    EXPECT_EQ(102, version);

    // Type code 4 before any vorn_set_user_parameters call behaves as type 0.
    vorn_set_type(4);
    vorn_get_parameters(&a, &b, &c);
    EXPECT_SAME_DOUBLE(3.9083e-3, a);
    EXPECT_SAME_DOUBLE(-5.775e-7, b);
    EXPECT_SAME_DOUBLE(-4.183e-12, c);
    EXPECT_SAME_DOUBLE(60.255840000000006, resistance(-100.0));
    EXPECT_SAME_DOUBLE(390.48112499999996, resistance(850.0));
}

}  // namespace
