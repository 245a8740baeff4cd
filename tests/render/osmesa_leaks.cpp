// The software GL library keeps allocations alive past the end of the process
// (its context caches and compiled pipelines); LeakSanitizer is told to ignore
// allocations made inside it, so that leaks of our own code still fail a run.
extern "C" const char* __lsan_default_suppressions() { return "leak:libOSMesa\n"; }
