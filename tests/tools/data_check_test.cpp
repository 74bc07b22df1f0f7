// tovaro-data check on copies of the demo game, damaged one way per case.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <unistd.h>

#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempWorkDir;

using testsupport::DemoTemplate;

struct Result {
    int status;
    std::string output;
};

Result RunCheck(const fs::path& dir) {
    const std::string cmd = std::string(TOVARO_BINARY_DIR) + "/tovaro-data check '" + dir.string() + "' 2>&1";
    Result r{-1, {}};
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) r.output += buf;
    const int rc = ::pclose(p);
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return r;
}

struct Case {
    const char* name;
    std::function<void(const TempWorkDir&)> damage;
    const char* line;  // a line of the output (UTF-8)
    int problems;
};

TEST(DataCheck, DemoAndDamagedCopies) {
    const Case cases[] = {
        {"the demo", nullptr, "0 problem(s)", 0},
        {"damaged System.dat", [](const TempWorkDir& d) { d.WriteFile("data/System.dat", std::string("\xe8\x03\0\0\x05", 5)); },
         "system: ", 1},
        {"missing world map", [](const TempWorkDir& d) { fs::remove(d.Path() / "data/WorldMap.dat"); },
         "data\\WorldMap.dat: missing", 1},
        {"too new common palette",
         [](const TempWorkDir& d) { d.WriteFile("data/CommonPalette.cplt4", std::string("\xe9\x03\0\0\0\0\0\0", 8)); },
         "data\\CommonPalette.cplt4: ", 1},
        {"System.ini without its end line", [](const TempWorkDir& d) { d.WriteFile("System.ini", "WindowMode=1\r\n"); },
         "System.ini: cannot be read", 1},
        {"FreeStage names a missing stage",
         [](const TempWorkDir& d) { d.WriteFile("System.ini", "FreeStage=data\\stg4\\Gone.stg4\r\nExit\r\n"); },
         "FreeStage names a missing stage data\\stg4\\Gone.stg4", 1},
        {"missing picture", [](const TempWorkDir& d) { fs::remove(d.Path() / "bmp/Word.bmp"); },
         "bmp\\Word.bmp: missing picture", 1},
        {"no data folder at all", [](const TempWorkDir& d) { fs::remove_all(d.Path() / "data"); }, "system: missing", 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        fs::copy(DemoTemplate(), dir.Path(), fs::copy_options::recursive);
        if (c.damage) c.damage(dir);
        const Result r = RunCheck(dir.Path());
        EXPECT_EQ(r.status, c.problems == 0 ? 0 : 1) << r.output;
        EXPECT_NE(r.output.find(c.line), std::string::npos) << r.output;
        EXPECT_NE(r.output.find(std::to_string(c.problems) + " problem(s)"), std::string::npos) << r.output;
    }
}

TEST(DataCheck, AnEmptyFolderCountsNoFileRead) {
    TempWorkDir dir;
    const Result r = RunCheck(dir.Path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("\n0 file(s) read, "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("system: missing"), std::string::npos) << r.output;
}

}  // namespace
