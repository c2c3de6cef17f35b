// The table program: drives the library through one fixed script and prints
// four resistance tables and two round-trip listings on standard output.
//
// The library's settings are process-wide: each section inherits those of the
// sections before it, and the first table shows the state as loaded.
#include <cstdio>

#include "vornconv.h"

namespace {

// Fifty whole temperatures of the active scale, ten to a row.
void print_table() {
    std::printf("\t");
    for (double column = 0.0; column < 10.0; column += 1.0) {
        std::printf("%+8.1f ", column);
    }
    std::printf("\n");
    for (double row = 0.0; row < 50.0; row += 10.0) {
        std::printf("%5.1f\t", row);
        for (double column = 0.0; column < 10.0; column += 1.0) {
            double r;
            vorn_get_resistance(row + column, &r);
            std::printf("%8.2f ", r);
        }
        std::printf("\n");
    }
}

// Temperature -> resistance -> temperature, the full double passed back.
void print_round_trips(double first, double bound) {
    for (double t = first; t < bound; t += 10.0) {
        double r;
        double t2;
        vorn_get_resistance(t, &r);
        vorn_get_temperature(r, &t2);
        std::printf("%5.2f deg -> %5.2f Ohms -> %5.2f deg\n", t, r, t2);
    }
}

}  // namespace

int main() {
    std::printf("Temperature to resistance tables\n");

    std::printf("\nDefault operation (100 Ohm, deg C)\n");
    print_table();

    std::printf("\nSet to 1000 Ohm\n");
    vorn_set_r0(1000.0);
    print_table();

    std::printf("\nSet to degF\n");
    vorn_set_scale(1);
    print_table();

    std::printf("\nSet type to US\n");
    vorn_set_type(2);
    print_table();

    std::printf("\nRound trip tests, 100 Ohm, IEC, degC\n");
    vorn_set_r0(100.0);
    vorn_set_scale(0);
    vorn_set_type(0);
    print_round_trips(0.0, 100.0);

    std::printf("\nRound trip tests, 500 Ohm, US, degK\n");
    vorn_set_r0(500.0);
    vorn_set_scale(2);
    vorn_set_type(2);
    print_round_trips(200.0, 300.0);

    // Output errors are not reported: the script always runs to its end.
    return 0;
}
