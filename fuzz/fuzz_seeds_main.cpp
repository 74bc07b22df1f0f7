// The seed runner of the fuzz targets, without libFuzzer:
//   fuzz_seeds make OUT_DIR [GAME_DIR]
//     writes every target's seed corpus to OUT_DIR/<target>/ (the game
//     folder defaults as for the targets: $TOVARO_FUZZ_GAME, else the demo
//     beside the executable);
//   fuzz_seeds run SEED_DIR [TARGET...]
//     runs each target (all by default) over the files of SEED_DIR/<target>/,
//     each target in a process of its own; a finding ends that process,
//     and the run fails naming the target and the seed.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"

// Set by a sanitizer runtime when one is linked.
extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

namespace {

// The seed a child process is running, named when it dies.
char g_szCurrent[4096];

void NameCurrentSeed() {
    const char head[] = "fuzz_seeds: the finding's seed: ";
    ssize_t ignored = ::write(2, head, sizeof head - 1);
    ignored = ::write(2, g_szCurrent, std::strlen(g_szCurrent));
    ignored = ::write(2, "\n", 1);
    (void)ignored;
}

void OnAbort(int) {
    NameCurrentSeed();
    std::signal(SIGABRT, SIG_DFL);
    std::raise(SIGABRT);
}

int Make(const std::string& outDir, const std::string& gameDir) {
    int total = 0;
    for (const cFuzzTarget* t : FuzzTargets()) {
        const std::filesystem::path dir = std::filesystem::path(outDir) / t->szName;
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
        std::filesystem::create_directories(dir, ec);
        if (ec) {
            std::fprintf(stderr, "fuzz_seeds: cannot make %s: %s\n", dir.c_str(), ec.message().c_str());
            return 1;
        }
        std::vector<FuzzSeed> seeds;
        t->pfnSeeds(gameDir, seeds);
        for (const FuzzSeed& s : seeds) {
            std::ofstream f(dir / s.first, std::ios::binary);
            f.write(reinterpret_cast<const char*>(s.second.data()), static_cast<std::streamsize>(s.second.size()));
            if (!f) {
                std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", (dir / s.first).c_str());
                return 1;
            }
        }
        std::printf("fuzz_seeds: %zu seeds of %s\n", seeds.size(), t->szName);
        total += static_cast<int>(seeds.size());
    }
    std::printf("fuzz_seeds: %d seeds in %s\n", total, outDir.c_str());
    return 0;
}

// In a child process: the target over every file of its folder.
[[noreturn]] void RunChild(const cFuzzTarget& t, const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::signal(SIGABRT, OnAbort);
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(NameCurrentSeed);
    std::snprintf(g_szCurrent, sizeof g_szCurrent, "(none: the target's start-up)");
    if (t.pfnInit) t.pfnInit();
    for (const auto& f : files) {
        std::snprintf(g_szCurrent, sizeof g_szCurrent, "%s", f.c_str());
        std::ifstream in(f, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        t.pfnRun(bytes.data(), bytes.size());
    }
    std::printf("fuzz_seeds: %s: %zu seeds, no finding\n", t.szName, files.size());
    std::fflush(stdout);
    FuzzRemoveWorkDir();
    std::_Exit(files.empty() ? 3 : 0);
}

int Run(const std::string& seedDir, const std::vector<std::string>& names) {
    int failed = 0;
    for (const cFuzzTarget* t : FuzzTargets()) {
        if (!names.empty() && std::find(names.begin(), names.end(), t->szName) == names.end()) continue;
        std::fflush(stdout);
        std::fflush(stderr);
        const pid_t pid = ::fork();
        if (pid < 0) {
            std::perror("fuzz_seeds: fork");
            return 1;
        }
        if (pid == 0) RunChild(*t, std::filesystem::path(seedDir) / t->szName);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) continue;
        ++failed;
        if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
            std::printf("fuzz_seeds: %s: no seeds in %s/%s\n", t->szName, seedDir.c_str(), t->szName);
        else
            std::printf("fuzz_seeds: %s: FINDING (its seed is named above; wait status %d)\n", t->szName, status);
    }
    std::printf("fuzz_seeds: %s\n", failed ? "some targets failed" : "every target ran its seeds");
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "make" && (argc == 3 || argc == 4))
        return Make(std::filesystem::absolute(argv[2]).string(),
                    argc == 4 ? std::filesystem::absolute(argv[3]).string() : FuzzGameDir());
    // Absolute: a target may change the working folder.
    if (mode == "run" && argc >= 3)
        return Run(std::filesystem::absolute(argv[2]).string(), std::vector<std::string>(argv + 3, argv + argc));
    std::fprintf(stderr, "usage: fuzz_seeds make OUT_DIR [GAME_DIR] | fuzz_seeds run SEED_DIR [TARGET...]\n");
    return 2;
}
