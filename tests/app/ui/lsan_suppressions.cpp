// fontconfig keeps a few bytes of its parsed configuration for the whole
// run; LeakSanitizer must not count them against the font tests.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
