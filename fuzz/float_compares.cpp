// GCC traces comparisons of floating-point numbers as well; libFuzzer has no hooks for them.
extern "C" void __sanitizer_cov_trace_cmpf(float, float) {}
extern "C" void __sanitizer_cov_trace_cmpd(double, double) {}
