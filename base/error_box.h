// Error boxes (caption "エラー") and the out-of-memory exit. SIGTERM or
// SIGINT while an error box is up ends the program with status 1.
#pragma once
#include <string>

#include "base/log.h"

int ShowMessageBox(const std::string& text, const std::string& caption, int type);
int ErrorBox(const std::string& text);
int ErrorBoxf(const char* format, ...) TOVARO_PRINTF(1, 2);
int DebugErrorBoxf(const char* format, ...) TOVARO_PRINTF(1, 2);
void OutOfMemoryExit();
