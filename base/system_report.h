// The system report (machine description written to "Report_Game.txt" at
// start, display lines once the graphics device exists) and the small system
// queries other parts of the program use.
//
// On Linux the report describes the kernel and distribution, the processor
// as /proc/cpuinfo gives it, memory and swap, free disk space of the game
// folder's file system, the desktop and the renderer that presents frames.
// The OS version queries answer as a current Windows would, because the game
// code picks its behaviour from them (vertical sync defaults, the display
// driver's DirectX level).
#pragma once
#include <string>
#include <string_view>

struct CpuInfo {
    std::string strBrand;   // up to 255 characters
    std::string strVendor;  // up to 255 characters
    int bMMX = 0, bSSE = 0, bSSE2 = 0, b3DNowExt = 0, b3DNow = 0;
    double dClock = 0.0;  // Hz
};

// What the display lines say; the presentation layer fills it.
struct DisplayReportInfo {
    bool bWindowed = true;
    int nBpp = 32;
    int nRefreshRate = 0;      // Hz, 0 when unknown
    std::string strRenderer;   // how frames reach the screen, empty when unknown
    bool bDirect3D = false;    // the Direct3D-like back end runs
    int nTextureMaxWidth = 0;  // Direct3D-like back end only
    int nTextureMaxHeight = 0;
};

// Appends the machine lines. False when the report cannot be written.
bool WriteSystemReport();
// Appends "Mode", "Bpp", the refresh rate and the renderer. The usage table
// of resource formats has no meaning for the software device and is not
// written.
bool WriteDisplayReport(bool bUsageTable, const DisplayReportInfo& info);

// name: kernel and distribution. major/minor: the Windows version the
// program answers as (see IsOsVersionAtLeast). Each output may be null.
void GetOsName(std::string* name, int* major, int* minor);
// True when the answered version (10.0) is at least major.minor.
bool IsOsVersionAtLeast(int major, int minor);

void GetCpuInfo(CpuInfo& info);
// The processor clock in Hz as the system reports it (no measuring loop).
double MeasureCpuClock();

// Free bytes available on the file system of the path (null or empty: the
// working folder); 0 on failure; 2147483647 when the value does not fit.
int GetFreeDiskSpace(const char* path);
// Video memory in whole MB; the software device has none of its own: 0, 0.
void GetVideoMemoryMB(int* total, int* free);
// Less than 20 % of the video memory free (free x 100 / total below 20); an
// unknown total (0) never is.
bool IsVideoMemoryLow();
// The display driver's DirectX level: 9, as on Windows Vista and later.
int GetDisplayDdiVersion();

// Desktop size of the first display; 640 x 480 when it cannot be asked.
void GetScreenSize(int& width, int& height);
// The largest client area a window can have on the first display (the
// usable bounds); the screen size when those are unknown.
void GetFullScreenClientSize(int& width, int& height);
// Bits per pixel of the desktop counted from its bytes per pixel, so a
// 32-bit desktop (which SDL calls 24 bits with a padding byte) gives 32.
// 32 when it cannot be asked.
int GetDesktopBitsPerPixel();

// Tests fix the screen answers (0 x 0 restores the system's).
void SetScreenSizeOverride(int width, int height, int desktopBpp = 32);

// Parsers of the system's text files, exposed for tests.
void ParseCpuInfoText(std::string_view text, CpuInfo& info);
// PRETTY_NAME of an os-release text, or NAME VERSION, or "".
std::string ParseOsReleaseText(std::string_view text);
// A value in kB of a /proc/meminfo text ("MemTotal", ...), -1 when missing.
long long MemInfoKb(std::string_view text, std::string_view key);
