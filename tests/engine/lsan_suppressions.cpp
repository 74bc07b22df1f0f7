// The message command tests measure text in the message font, which loads
// fontconfig; it keeps its parsed configuration for the whole run.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
