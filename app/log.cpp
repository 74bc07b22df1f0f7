#include "app/log.h"

#include "app/error_box.h"
#include "app/quit.h"
#include "platform/fs.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

std::mutex g_logMutex;
int g_nDebugEnabled = 0;
std::string g_strDebugPath;
bool g_bDebugOpened = false;
std::string g_strReportPath;

void AppendLine(const std::string& hostPath, const std::string& text, bool truncate) {
    FILE* f = std::fopen(hostPath.c_str(), truncate ? "wb" : "ab");
    if (!f) return;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fputc('\n', f);
    std::fclose(f);
}

void WriteDebug(const std::string& text) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    if (!g_nDebugEnabled) return;
    std::string host = platform::OsPath(g_strDebugPath);
    AppendLine(host, text, !g_bDebugOpened);
    g_bDebugOpened = true;
}

bool WriteReport(const std::string& text) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    if (g_strReportPath.empty()) return false;
    FILE* f = std::fopen(g_strReportPath.c_str(), "ab");
    if (!f) return false;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fputc('\n', f);
    std::fclose(f);
    return true;
}

}  // namespace

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
    std::string host = platform::OsPath(path);
    FILE* f = std::fopen(host.c_str(), "wb");
    if (!f) return false;
    std::fclose(f);
    char abs[4096];
    std::string absolute = host;
    if (host[0] != '/' && realpath(host.c_str(), abs)) absolute = abs;
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_strReportPath = absolute;
    return true;
}

const std::string& ReportPath() { return g_strReportPath; }

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
