#include "base/log.h"

#include "base/error_box.h"
#include "base/quit.h"
#include "platform/fs.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <vector>

namespace {

std::mutex g_logMutex;
int g_nDebugEnabled = 0;
std::string g_strDebugPath;
bool g_bDebugOpened = false;
std::string g_strReportPath;

bool WriteLine(FILE* f, const std::string& text) {
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fputc('\n', f) != EOF && ok;
    return std::fclose(f) == 0 && ok;
}

// The first line of a run truncates the debug log, later lines append. A file
// that cannot be opened is skipped; the next line tries to truncate again.
void WriteDebug(const std::string& text) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    if (!g_nDebugEnabled) return;
    std::string host = platform::OsPath(g_strDebugPath);
    FILE* f = std::fopen(host.c_str(), g_bDebugOpened ? "ab" : "wb");
    if (!f) return;
    WriteLine(f, text);
    if (!g_bDebugOpened) platform::InvalidateDirCache();
    g_bDebugOpened = true;
}

// The report is made by CreateReport; a line reopens the existing file and
// appends, and is dropped when the file is gone or cannot be opened.
std::mutex g_observerMutex;
std::function<void(const std::string&)> g_errorTextObserver;

bool WriteReport(const std::string& text) {
    NotifyErrorText(text);
    std::lock_guard<std::mutex> lock(g_logMutex);
    if (g_strReportPath.empty()) return false;
    FILE* f = std::fopen(g_strReportPath.c_str(), "r+b");
    if (!f) return false;
    if (std::fseek(f, 0, SEEK_END) != 0) {
        std::fclose(f);
        return false;
    }
    return WriteLine(f, text);
}

}  // namespace

void SetErrorTextObserver(std::function<void(const std::string&)> observer) {
    std::lock_guard<std::mutex> lock(g_observerMutex);
    g_errorTextObserver = std::move(observer);
}

void NotifyErrorText(const std::string& text) {
    std::function<void(const std::string&)> observer;
    {
        std::lock_guard<std::mutex> lock(g_observerMutex);
        observer = g_errorTextObserver;
    }
    if (observer) observer(text);
}

std::string VFormat(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    char small[1024];
    int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::vector<char> big(static_cast<size_t>(n) + 1);
    std::vsnprintf(big.data(), big.size(), format, args);
    return std::string(big.data(), static_cast<size_t>(n));
}

std::string Format(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    std::string s = VFormat(format, ap);
    va_end(ap);
    return s;
}

void FormatString(std::string& out, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    out = VFormat(format, ap);
    va_end(ap);
}

void SyncStringLength(std::string& s) {
    size_t n = std::strlen(s.c_str());
    if (n < s.size()) s.resize(n);
}

void SetDebugLog(int enable, const std::string& path) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_nDebugEnabled = enable;
    g_strDebugPath = path;
    g_bDebugOpened = false;
}

bool IsDebugLogEnabled() {
    std::lock_guard<std::mutex> lock(g_logMutex);
    return g_nDebugEnabled != 0;
}

void DebugLog(const std::string& text) { WriteDebug(text); }
void DebugLogText(const std::string& text) { WriteDebug(text); }

void DebugLogf(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    std::string s = VFormat(format, ap);
    va_end(ap);
    WriteDebug(s);
}

void DebugLogFatal(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    std::string s = VFormat(format, ap);
    va_end(ap);
    WriteDebug(s);
    SetQuitAndClose();
}

bool CreateReport(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    std::string host = platform::OsPath(path);
    FILE* f = std::fopen(host.c_str(), "wb");
    if (!f) return false;
    std::fclose(f);
    platform::InvalidateDirCache();
    // Remember it absolute: later lines must reach the same file whatever the
    // working folder is then.
    std::string absolute = host;
    if (char* real = ::realpath(host.c_str(), nullptr)) {
        absolute = real;
        std::free(real);
    }
    g_strReportPath = absolute;
    return true;
}

const std::string& ReportPath() {
    std::lock_guard<std::mutex> lock(g_logMutex);
    return g_strReportPath;
}

bool ReportLog(const std::string& text) { return WriteReport(text); }

bool ReportLogf(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    std::string s = VFormat(format, ap);
    va_end(ap);
    return WriteReport(s);
}

bool ReportLogfDebug(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    std::string s = VFormat(format, ap);
    va_end(ap);
    bool ok = WriteReport(s);
    WriteDebug(s);
    return ok;
}

bool ReportLogfError(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    std::string s = VFormat(format, ap);
    va_end(ap);
    bool ok = WriteReport(s);
    WriteDebug(s);
    ErrorBox(s);
    return ok;
}
