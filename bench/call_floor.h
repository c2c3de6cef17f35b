#pragma once

extern "C" __attribute__((visibility("default"))) void bench_call_floor(double x, double* out);
