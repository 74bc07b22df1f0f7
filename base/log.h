// The report file "Report_Game.txt" (always written) and the debug log
// "ZI_Vare.txt" (written only when enabled). Every line reopens its file;
// writers on several threads are serialised. Plain texts are written as they
// are, never used as a format.
#pragma once
#include <cstdarg>
#include <functional>
#include <string>

#define TOVARO_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))

void SetDebugLog(int enable, const std::string& path);
bool IsDebugLogEnabled();
void DebugLog(const std::string& text);
void DebugLogText(const std::string& text);
void DebugLogf(const char* format, ...) TOVARO_PRINTF(1, 2);
// Debug log line (when enabled), then g_bQuit := 1 and a close request.
void DebugLogFatal(const char* format, ...) TOVARO_PRINTF(1, 2);

bool CreateReport(const std::string& path);
bool ReportLog(const std::string& text);
bool ReportLogf(const char* format, ...) TOVARO_PRINTF(1, 2);
bool ReportLogfDebug(const char* format, ...) TOVARO_PRINTF(1, 2);
bool ReportLogfError(const char* format, ...) TOVARO_PRINTF(1, 2);
const std::string& ReportPath();

// Every report line and every error box's text, as it is written or shown,
// also when there is no report file (the replay check keeps them to say why
// a run stopped). Empty: nobody listens.
void SetErrorTextObserver(std::function<void(const std::string&)> observer);
void NotifyErrorText(const std::string& text);

// printf-style formatting into a string of any length.
std::string VFormat(const char* format, va_list args);
std::string Format(const char* format, ...) TOVARO_PRINTF(1, 2);
void FormatString(std::string& out, const char* format, ...) TOVARO_PRINTF(2, 3);
// After code wrote a NUL-terminated text into the string's buffer: cut the
// string at its first NUL.
void SyncStringLength(std::string& s);
