// The cheapest exported call of the library's shape: store the argument
// through the pointer. Built as a shared library of its own, so that calling
// it costs what any call into a shared library costs.
#include "call_floor.h"

void bench_call_floor(double x, double* out) { *out = x; }
