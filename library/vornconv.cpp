// The process-wide converter state and the eight exported functions.
#include "vornconv.h"

#include "conversions.h"
#include "converter_state.h"

namespace {

// Static data with its initial values in the image: loading the library runs
// no code to set it up.
constinit vornconv::converter_state state = vornconv::initial_state;

}  // namespace

extern "C" {

void vorn_set_r0(double r0) { state.r0 = r0; }

void vorn_set_scale(int32_t scale) { state.scale = scale; }

void vorn_set_type(int32_t type) {
    state.type = type;
    state.slot_base = 3 * vornconv::slot_for_type(type);
}

void vorn_set_user_parameters(double a, double b, double c) {
    vornconv::coefficient_set& user = state.sets[vornconv::user_slot];
    user.a = a;
    user.b = b;
    user.c = c;
}

void vorn_get_parameters(double* a, double* b, double* c) {
    // Maps the stored type code afresh rather than reading slot_base.
    const vornconv::coefficient_set& set = state.sets[vornconv::slot_for_type(state.type)];
    *a = set.a;
    *b = set.b;
    *c = set.c;
}

void vorn_library_version(int32_t* version) { *version = VORNCONV_VERSION; }

void vorn_get_resistance(double t, double* resistance) {
    const double celsius = vornconv::to_celsius(t, state.scale, state.kelvin_offset);
    *resistance = vornconv::cvd_resistance(celsius, vornconv::active_set(state), state.r0);
}

void vorn_get_temperature(double r, double* temperature) {
    const double celsius = vornconv::solve_celsius(r, vornconv::active_set(state), state.r0).celsius;
    *temperature = vornconv::from_celsius(celsius, state.scale, state.kelvin_offset);
}

}  // extern "C"
