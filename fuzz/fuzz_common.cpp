#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/fuzz_target.h"

std::vector<const cFuzzTarget*>& FuzzTargets() {
    static std::vector<const cFuzzTarget*> targets;
    return targets;
}

void FuzzFail(const char* target, const char* format, ...) {
    std::fprintf(stderr, "tovaro fuzz: %s: ", target);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fprintf(stderr, "\n");
    std::fflush(stderr);
    std::abort();
}

const std::string& FuzzWorkDir() {
    // Never destroyed: the exit handler that removes the folder reads it.
    static const std::string* dir = [] {
        const char* base = std::getenv("TMPDIR");
        std::error_code ec;
        const std::string root =
            std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : (base && *base ? base : "/tmp");
        auto* made = new std::string(root + "/tovaro-fuzz-XXXXXX");
        if (!::mkdtemp(made->data())) {
            std::perror("tovaro fuzz: mkdtemp");
            std::abort();
        }
        std::atexit(FuzzRemoveWorkDir);
        return made;
    }();
    return *dir;
}

void FuzzRemoveWorkDir() {
    std::error_code ec;
    std::filesystem::remove_all(FuzzWorkDir(), ec);
}

std::string FuzzGameDir() {
    if (const char* env = std::getenv("TOVARO_FUZZ_GAME"); env && *env)
        return std::filesystem::absolute(env).lexically_normal().string();
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (exe.parent_path() / "demo").string();
}

std::vector<std::string> FuzzFindFiles(const std::string& dir, const std::vector<std::string>& suffixes) {
    std::vector<std::string> found;
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) return found;
    for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::string name = it->path().filename().string();
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        for (const std::string& s : suffixes)
            if (name.size() >= s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0) {
                found.push_back(it->path().string());
                break;
            }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<uint8_t> FuzzReadFile(const std::string& hostPath) {
    std::ifstream in(hostPath, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// fontconfig keeps its parsed configuration for the whole run (the play
// target draws text); LeakSanitizer must not count it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
