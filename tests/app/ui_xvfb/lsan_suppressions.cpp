// fontconfig keeps its parsed configuration and D-Bus (reached by SDL's X11
// start-up) a connection buffer for the whole run; LeakSanitizer must not
// count them against the test.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\nleak:libdbus-1.so\n"; }
