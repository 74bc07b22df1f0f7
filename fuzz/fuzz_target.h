// The fuzz targets. Each target file registers one cFuzzTarget; a libFuzzer
// executable is one target file with fuzz_entry.cpp, and the seed runner
// (fuzz_seeds_main.cpp, no libFuzzer) links them all to make every target's
// seed corpus and to run every target over it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A seed: its file name and its bytes.
using FuzzSeed = std::pair<std::string, std::vector<uint8_t>>;

struct cFuzzTarget {
    const char* szName;  // the executable is fuzz_<name>
    // Once, before the first input (may be null).
    void (*pfnInit)();
    // One input; a fault aborts (FuzzFail), anything refused cleanly returns.
    void (*pfnRun)(const uint8_t* data, size_t size);
    // The seed corpus, made from the built-in cases and the game folder
    // (host path, absolute).
    void (*pfnSeeds)(const std::string& gameDir, std::vector<FuzzSeed>& out);
};

// The targets linked into this executable, in the order of registration.
std::vector<const cFuzzTarget*>& FuzzTargets();

struct cFuzzTargetRegistration {
    explicit cFuzzTargetRegistration(const cFuzzTarget& target) { FuzzTargets().push_back(&target); }
};

// Reports a finding of the target and aborts (the fuzzer keeps the input).
[[noreturn]] void FuzzFail(const char* target, const char* format, ...) __attribute__((format(printf, 2, 3)));

// A private folder of this process (on tmpfs when there is one), made at
// the first call; host path, absolute.
const std::string& FuzzWorkDir();
// Removes that folder (also done at exit).
void FuzzRemoveWorkDir();

// The game folder the targets that need one use: $TOVARO_FUZZ_GAME, else
// the folder "demo" beside the executable. Host path, absolute.
std::string FuzzGameDir();

// Files of a folder whose names end with one of the suffixes (case
// insensitive), in name order, recursively; host paths.
std::vector<std::string> FuzzFindFiles(const std::string& dir, const std::vector<std::string>& suffixes);
std::vector<uint8_t> FuzzReadFile(const std::string& hostPath);
