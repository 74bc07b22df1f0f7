// The play tests that draw text load fontconfig, which keeps its parsed
// configuration for the whole run; LeakSanitizer must not count it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
