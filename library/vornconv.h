/*
 * vornconv: temperature <-> resistance for platinum resistance thermometers
 * (Pt100, Pt1000, ...) by the Callendar-Van Dusen equation.
 *
 * The library holds one process-wide converter state. Configure it with the
 * vorn_set_* calls, then convert with vorn_get_resistance and
 * vorn_get_temperature. Every setting holds for all later calls from anywhere
 * in the process until it is set again. Initial state: R0 = 100 ohms, type
 * code 0 (the IEC 60751 set), scale code 0 (degrees Celsius).
 *
 * No function returns a value or reports an error. Results are written once
 * per call through the out-parameter, which must point to writable storage;
 * it is not checked for NULL. Arguments are stored unchanged: numeric trouble
 * shows only as a NaN or infinite result. The state is not locked: use the
 * library from one thread at a time.
 *
 * Usable from C (C99 and later) and C++.
 */
#ifndef VORNCONV_H
#define VORNCONV_H

#include <stdint.h>

/* The version, in one place: the build system reads these three lines. */
#define VORNCONV_VERSION_MAJOR 1
#define VORNCONV_VERSION_MINOR 2
#define VORNCONV_VERSION_PATCH 0

/* The number that vorn_library_version writes: major * 100 + minor. */
#define VORNCONV_VERSION (VORNCONV_VERSION_MAJOR * 100 + VORNCONV_VERSION_MINOR)

#if defined(_WIN32)
#  if defined(VORNCONV_BUILDING)
#    define VORNCONV_API __declspec(dllexport)
#  else
#    define VORNCONV_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__)
#  define VORNCONV_API __attribute__((visibility("default")))
#else
#  define VORNCONV_API
#endif

/* Type codes: which coefficient set the conversions use (vorn_get_parameters
 * reports its A, B, C). Any code other than 1 to 4 selects the IEC set. */
#define VORN_TYPE_IEC 0   /* IEC 60751 */
#define VORN_TYPE_1 1     /* older DIN 43760 / SAMA values of the same curve */
#define VORN_TYPE_US 2    /* American industrial curve */
#define VORN_TYPE_3 3     /* high-purity laboratory curve */
#define VORN_TYPE_USER 4  /* set by vorn_set_user_parameters; starts as IEC */

/* Scale codes: how temperatures cross the interface. Any code other than 1
 * and 2 acts as Celsius. */
#define VORN_SCALE_CELSIUS 0
#define VORN_SCALE_FAHRENHEIT 1
#define VORN_SCALE_KELVIN 2

#ifdef __cplusplus
extern "C" {
#endif

/* Nominal resistance at 0 degC, in ohms. Any double is stored. */
VORNCONV_API void vorn_set_r0(double r0);

/* Temperature scale code (VORN_SCALE_*). Any value is stored. */
VORNCONV_API void vorn_set_scale(int32_t scale);

/* Coefficient set by type code (VORN_TYPE_*). Any value is stored. */
VORNCONV_API void vorn_set_type(int32_t type);

/* Stores A, B, C of the user set (type code 4), whatever type is active;
 * they take effect while type code 4 is selected. */
VORNCONV_API void vorn_set_user_parameters(double a, double b, double c);

/* Writes A, B and C of the active set to *a, *b and *c, in that order. */
VORNCONV_API void vorn_get_parameters(double *a, double *b, double *c);

/* Writes VORNCONV_VERSION of the library as built. */
VORNCONV_API void vorn_library_version(int32_t *version);

/* Resistance in ohms at temperature t in the active scale:
 * R0 (1 + A t + B t^2 + C (t - 100) t^3) below 0 degC, without the C term
 * from 0 degC up. */
VORNCONV_API void vorn_get_resistance(double t, double *resistance);

/* Temperature in the active scale at resistance r in ohms: the root of the
 * quadratic 1 + A t + B t^2 = r / R0 on its rising side, refined below 0 degC
 * until a residual is within 0.001 ohm (at most 5 or 6 passes from 0 ohms
 * to R0). Writes NaN where there is no answer: above the top of the parabola
 * (about 7.6 R0 for the built-in sets), for a NaN input or setting, and where
 * the refinement has not met its tolerance after 1000 passes: an estimate
 * that never met it is no temperature. With the built-in sets that happens
 * only for roots below about -625 degC (about -2.4 R0, far below absolute
 * zero) and for R0 or r beyond a few 1e12 ohms, where the residual cannot
 * round below the tolerance. A negative discriminant raises the
 * floating-point invalid-operation flag, which stays raised. */
VORNCONV_API void vorn_get_temperature(double r, double *temperature);

#ifdef __cplusplus
}
#endif

#endif /* VORNCONV_H */
