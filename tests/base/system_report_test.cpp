#include "base/system_report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "base/log.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(SystemReport, WritesTheMachineLines) {
    testsupport::TempWorkDir dir;
    ASSERT_TRUE(CreateReport((dir.Path() / "Report_Game.txt").string()));
    ASSERT_TRUE(WriteSystemReport());
    DisplayReportInfo info;
    info.bWindowed = false;
    info.nBpp = 16;
    info.nRefreshRate = 60;
    info.strRenderer = "software";
    ASSERT_TRUE(WriteDisplayReport(true, info));
    std::istringstream in(dir.ReadFile("Report_Game.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const char* prefixes[] = {"OS : Linux", "CPU : ", "Mem Total : ", "Mem Free : ", "Vir Total : ",
                              "Vir Free : ", "HD Free : ", "Display : (", "Mode : Fullscreen", "Bpp : 16",
                              "RR : 60", "Renderer : software"};
    for (const char* p : prefixes) {
        bool found = false;
        for (const std::string& l : lines) found = found || l.rfind(p, 0) == 0;
        EXPECT_TRUE(found) << p;
    }
}

TEST(SystemReport, QueriesAnswerAsACurrentWindows) {
    EXPECT_TRUE(IsOsVersionAtLeast(6, 0));
    EXPECT_TRUE(IsOsVersionAtLeast(10, 0));
    EXPECT_FALSE(IsOsVersionAtLeast(10, 1));
    EXPECT_FALSE(IsOsVersionAtLeast(11, 0));
    EXPECT_EQ(GetDisplayDdiVersion(), 9);
    int total = -1, free = -1;
    GetVideoMemoryMB(&total, &free);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(free, 0);
    EXPECT_GE(GetFreeDiskSpace(nullptr), 0);
    EXPECT_EQ(GetFreeDiskSpace("/no/such/folder/at/all"), 0);
}

TEST(SystemReport, DesktopDepthCountsBytesPerPixel) {
    // The dummy video driver's desktop is 32-bit XRGB, which SDL calls 24 bits.
    EXPECT_EQ(GetDesktopBitsPerPixel(), 32);
}

TEST(SystemReport, Parsers) {
    CpuInfo x86;
    ParseCpuInfoText(
        "processor\t: 0\nvendor_id\t: AuthenticAMD\nmodel name\t: Some CPU 3000+\ncpu MHz\t\t: 2400.500\n"
        "flags\t\t: fpu mmx sse sse2 3dnowext 3dnow\n\nprocessor\t: 1\nvendor_id\t: Other\n",
        x86);
    EXPECT_EQ(x86.strVendor, "AuthenticAMD");
    EXPECT_EQ(x86.strBrand, "Some CPU 3000+");
    EXPECT_EQ(x86.bMMX + x86.bSSE + x86.bSSE2 + x86.b3DNowExt + x86.b3DNow, 5);
    EXPECT_DOUBLE_EQ(x86.dClock, 2400.5e6);

    CpuInfo arm;
    ParseCpuInfoText("processor\t: 0\nFeatures\t: fp asimd\nCPU implementer\t: 0x41\n", arm);
    EXPECT_EQ(arm.strVendor, "0x41");
    EXPECT_EQ(arm.bSSE, 0);
    EXPECT_EQ(arm.dClock, 0.0);

    EXPECT_EQ(ParseOsReleaseText("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(ParseOsReleaseText("NAME=Distro\nVERSION='3'\n"), "Distro 3");
    EXPECT_EQ(ParseOsReleaseText(""), "");

    const char* mem = "MemTotal:       16384 kB\nMemFree:  100 kB\nMemAvailable: 2048 kB\n";
    EXPECT_EQ(MemInfoKb(mem, "MemTotal"), 16384);
    EXPECT_EQ(MemInfoKb(mem, "MemFree"), 100);
    EXPECT_EQ(MemInfoKb(mem, "Mem"), -1);
    EXPECT_EQ(MemInfoKb(mem, "SwapTotal"), -1);
}

}  // namespace
