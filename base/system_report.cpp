#include "base/system_report.h"

#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "base/log.h"
#include "platform/display.h"
#include "platform/fs.h"

namespace {

// The Windows version the program answers as.
constexpr int kOsMajor = 10;
constexpr int kOsMinor = 0;

std::atomic<int> g_nOverrideW{0}, g_nOverrideH{0}, g_nOverrideBpp{32};

std::string ReadTextFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return std::string(s.substr(b, e - b));
}

bool HasFlag(const std::string& flags, std::string_view name) {
    std::istringstream in(flags);
    std::string word;
    while (in >> word)
        if (word == name) return true;
    return false;
}

std::string Cut255(std::string s) {
    if (s.size() > 255) s.resize(255);
    return s;
}

}  // namespace

void ParseCpuInfoText(std::string_view text, CpuInfo& info) {
    info = CpuInfo{};
    std::string flags;
    double dMHz = 0.0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty()) break;  // the first processor's block ends here
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string key = Trim(line.substr(0, colon));
        const std::string value = Trim(line.substr(colon + 1));
        if (key == "vendor_id" || (key == "CPU implementer" && info.strVendor.empty()))
            info.strVendor = Cut255(value);
        else if (key == "model name" || (key == "Model" && info.strBrand.empty()))
            info.strBrand = Cut255(value);
        else if (key == "flags" || key == "Features")
            flags = value;
        else if (key == "cpu MHz")
            dMHz = std::strtod(value.c_str(), nullptr);
    }
    info.bMMX = HasFlag(flags, "mmx");
    info.bSSE = HasFlag(flags, "sse");
    info.bSSE2 = HasFlag(flags, "sse2");
    info.b3DNowExt = HasFlag(flags, "3dnowext");
    info.b3DNow = HasFlag(flags, "3dnow");
    info.dClock = dMHz * 1e6;
}

std::string ParseOsReleaseText(std::string_view text) {
    std::string pretty, name, version;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string key(line.substr(0, eq));
        std::string value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (key == "PRETTY_NAME") pretty = value;
        else if (key == "NAME") name = value;
        else if (key == "VERSION") version = value;
    }
    if (!pretty.empty()) return pretty;
    if (!version.empty()) return name + " " + version;
    return name;
}

long long MemInfoKb(std::string_view text, std::string_view key) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == ':')
            return std::strtoll(std::string(line.substr(key.size() + 1)).c_str(), nullptr, 10);
    }
    return -1;
}

void GetOsName(std::string* name, int* major, int* minor) {
    if (name) {
        struct utsname u {};
        std::string kernel = uname(&u) == 0 ? std::string(u.sysname) + " " + u.release + " " + u.machine
                                            : std::string("Linux");
        std::string distro = ParseOsReleaseText(ReadTextFile("/etc/os-release"));
        if (distro.empty()) distro = ParseOsReleaseText(ReadTextFile("/usr/lib/os-release"));
        *name = distro.empty() ? kernel : kernel + " (" + distro + ")";
    }
    if (major) *major = kOsMajor;
    if (minor) *minor = kOsMinor;
}

bool IsOsVersionAtLeast(int major, int minor) {
    return kOsMajor > major || (kOsMajor == major && kOsMinor >= minor);
}

double MeasureCpuClock() {
    // The highest clock the kernel knows, in kHz; else the current clock of
    // the first processor from /proc/cpuinfo.
    std::string khz = ReadTextFile("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
    const double d = std::strtod(khz.c_str(), nullptr);
    if (d > 0) return d * 1e3;
    CpuInfo info;
    ParseCpuInfoText(ReadTextFile("/proc/cpuinfo"), info);
    return info.dClock;
}

void GetCpuInfo(CpuInfo& info) {
    ParseCpuInfoText(ReadTextFile("/proc/cpuinfo"), info);
    info.dClock = MeasureCpuClock();
}

int GetFreeDiskSpace(const char* path) {
    const int64_t n = platform::FreeDiskBytes(path ? std::string_view(path) : std::string_view());
    if (n <= 0) return 0;
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

void GetVideoMemoryMB(int* total, int* free) {
    if (total) *total = 0;
    if (free) *free = 0;
}

bool IsVideoMemoryLow() {
    int total = 0, free = 0;
    GetVideoMemoryMB(&total, &free);
    return total > 0 && static_cast<long long>(free) * 100 / total < 20;
}

int GetDisplayDdiVersion() { return IsOsVersionAtLeast(6, 0) ? 9 : 99999; }

void SetScreenSizeOverride(int width, int height, int desktopBpp) {
    g_nOverrideW = width;
    g_nOverrideH = height;
    g_nOverrideBpp = desktopBpp;
}

void GetScreenSize(int& width, int& height) {
    if (g_nOverrideW > 0 && g_nOverrideH > 0) {
        width = g_nOverrideW;
        height = g_nOverrideH;
        return;
    }
    width = 640;
    height = 480;
    platform::DesktopMode mode;
    if (platform::QueryDesktopMode(mode) && mode.width > 0 && mode.height > 0) {
        width = mode.width;
        height = mode.height;
    }
}

void GetFullScreenClientSize(int& width, int& height) {
    if (g_nOverrideW > 0 && g_nOverrideH > 0) {
        width = g_nOverrideW;
        height = g_nOverrideH;
        return;
    }
    GetScreenSize(width, height);
    int w = 0, h = 0;
    if (platform::QueryUsableDesktopSize(w, h) && w > 0 && h > 0) {
        width = w;
        height = h;
    }
}

int GetDesktopBitsPerPixel() {
    if (g_nOverrideW > 0 && g_nOverrideH > 0) return g_nOverrideBpp;
    int bpp = 32;
    platform::DesktopMode mode;
    if (platform::QueryDesktopMode(mode) && mode.formatKnown) bpp = mode.bitsPerPixel;
    return bpp;
}

bool WriteSystemReport() {
    std::string os;
    GetOsName(&os, nullptr, nullptr);
    if (!ReportLogf("OS : %s", os.c_str())) return false;

    CpuInfo cpu;
    GetCpuInfo(cpu);
    ReportLogf("CPU : %s %s %d", cpu.strVendor.c_str(), cpu.strBrand.c_str(), static_cast<int>(cpu.dClock * 1e-6));

    const std::string meminfo = ReadTextFile("/proc/meminfo");
    const double kMB = 1048576.0;
    long long memTotal = MemInfoKb(meminfo, "MemTotal");
    long long memFree = MemInfoKb(meminfo, "MemAvailable");
    if (memFree < 0) memFree = MemInfoKb(meminfo, "MemFree");
    long long swapTotal = MemInfoKb(meminfo, "SwapTotal");
    long long swapFree = MemInfoKb(meminfo, "SwapFree");
    struct sysinfo si {};
    if ((memTotal < 0 || memFree < 0) && sysinfo(&si) == 0) {
        memTotal = static_cast<long long>(si.totalram) * si.mem_unit / 1024;
        memFree = static_cast<long long>(si.freeram) * si.mem_unit / 1024;
        swapTotal = static_cast<long long>(si.totalswap) * si.mem_unit / 1024;
        swapFree = static_cast<long long>(si.freeswap) * si.mem_unit / 1024;
    }
    auto mb = [&](long long kb) { return kb < 0 ? 0.0 : static_cast<double>(kb) * 1024.0 / kMB; };
    ReportLogf("Mem Total : %.3fMB", mb(memTotal));
    ReportLogf("Mem Free : %3.fMB", mb(memFree));
    ReportLogf("Vir Total : %.3fMB", mb(swapTotal));
    ReportLogf("Vir Free : %3.fMB", mb(swapFree));

    ReportLogf("HD Free : %3.fMB", GetFreeDiskSpace(nullptr) / kMB);

    int w = 0, h = 0;
    GetScreenSize(w, h);
    ReportLogf("Display : (%d,%d)", w, h);
    std::string driver = "-";
    platform::QueryVideoDriver(driver);
    ReportLogf("Video Driver : %s", driver.c_str());
    return true;
}

bool WriteDisplayReport(bool bUsageTable, const DisplayReportInfo& info) {
    (void)bUsageTable;
    if (!ReportLog(info.bWindowed ? "Mode : Window" : "Mode : Fullscreen")) return false;
    ReportLogf("Bpp : %d", info.nBpp);
    if (info.nRefreshRate > 0) ReportLogf("RR : %u", static_cast<unsigned>(info.nRefreshRate));
    if (!info.strRenderer.empty()) ReportLogf("Renderer : %s", info.strRenderer.c_str());
    if (info.bDirect3D && info.nTextureMaxWidth > 0)
        ReportLogf("TextureMaxSize : (%d,%d)", info.nTextureMaxWidth, info.nTextureMaxHeight);
    return true;
}
