// Runs the data tool as a person or a script would and collects what it says.
#pragma once
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace tool_test {

struct RunResult {
    int status;
    std::string output;  // stdout and stderr
};

inline RunResult RunTool(const std::string& args) {
    const std::string cmd = std::string(TOVARO_BINARY_DIR) + "/tovaro-data " + args + " 2>&1";
    RunResult r{-1, {}};
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace tool_test
