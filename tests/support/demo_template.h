// The demo game (tovaro-mkdemo), built once per test process and removed
// when the process ends; tests copy it and damage the copy. A death test's
// child process finds its parent's through the environment.
#pragma once
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/fs.h"

namespace testsupport {

struct DemoTemplateCleanup {
    std::filesystem::path path;
    ~DemoTemplateCleanup() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
};

inline const std::filesystem::path& DemoTemplate() {
    static DemoTemplateCleanup cleanup;
    static const std::filesystem::path path = [] {
        const char* inherited = std::getenv("TOVARO_TEST_DEMO");
        if (inherited && std::filesystem::exists(inherited)) return std::filesystem::path(inherited);
        const std::filesystem::path p =
            std::filesystem::temp_directory_path() / ("tovaro_demo_" + std::to_string(::getpid()));
        const std::string cmd = std::string(TOVARO_BINARY_DIR) + "/tovaro-mkdemo '" + p.string() + "' >/dev/null";
        if (std::system(cmd.c_str()) == 0) {
            cleanup.path = p;
            ::setenv("TOVARO_TEST_DEMO", p.c_str(), 1);
        }
        return p;
    }();
    return path;
}

// A copy of the demo in `dir`.
inline void CopyDemo(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    std::filesystem::copy(DemoTemplate(), dir, std::filesystem::copy_options::recursive);
    platform::InvalidateDirCache();
}

}  // namespace testsupport
