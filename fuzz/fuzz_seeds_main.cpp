// fuzz_seeds OUT_DIR [GAME_DIR]: the seed corpus of the data kinds fuzz
// target (paths are host paths). One file per kind holding its default
// record, and one per data file of the game folder that a kind's file
// pattern matches; each is the kind's index byte followed by the file.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "records/data_kinds.h"

namespace {

bool WriteSeed(const std::string& outDir, const std::string& name, size_t nKind, const std::vector<uint8_t>& file) {
    std::vector<uint8_t> seed;
    seed.reserve(file.size() + 1);
    seed.push_back(static_cast<uint8_t>(nKind));
    seed.insert(seed.end(), file.begin(), file.end());
    if (!platform::WriteFileAtomic(outDir + "/" + name, seed)) {
        std::fprintf(stderr, "fuzz_seeds: cannot write %s/%s\n", outDir.c_str(), name.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: fuzz_seeds OUT_DIR [GAME_DIR]\n");
        return 1;
    }
    g_nDataVersion = kDataVersion;
    // Absolute, since the game folder becomes the working folder below.
    const std::string absOut =
        argv[1][0] == '/' ? std::string(argv[1]) : platform::CurrentDirectory() + "/" + argv[1];
    if (!platform::MakeDirectory(absOut)) {
        std::fprintf(stderr, "fuzz_seeds: cannot make %s\n", absOut.c_str());
        return 1;
    }
    const std::vector<cDataKind>& kinds = DataKinds();
    const std::string scratch = absOut + "/.scratch";
    int nSeeds = 0;
    for (size_t i = 0; i < kinds.size(); ++i) {
        auto rec = kinds[i].pfnMake();
        if (!SaveDataKind(kinds[i], *rec, scratch)) {
            std::fprintf(stderr, "fuzz_seeds: the default %s record cannot be saved\n", kinds[i].szName);
            return 1;
        }
        std::optional<std::vector<uint8_t>> bytes = platform::ReadWholeFile(scratch);
        if (!bytes || !WriteSeed(absOut, std::string(kinds[i].szName) + "-default", i, *bytes)) return 1;
        ++nSeeds;
    }
    platform::RemoveFile(scratch);
    if (argc == 3) {
        if (!platform::ChangeDirectory(argv[2])) {
            std::fprintf(stderr, "fuzz_seeds: cannot enter the game folder %s\n", argv[2]);
            return 1;
        }
        for (size_t i = 0; i < kinds.size(); ++i) {
            if (!kinds[i].szGameFiles) continue;
            const std::string pattern = kinds[i].szGameFiles;
            const size_t slash = pattern.find_last_of('\\');
            const std::string folder = slash == std::string::npos ? std::string(".") : pattern.substr(0, slash);
            const std::string name = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
            for (const platform::DirEntry& e : platform::ListDir(folder, name)) {
                if (e.isDir) continue;
                std::optional<std::vector<uint8_t>> bytes = platform::ReadWholeFile(folder + "\\" + e.name);
                if (!bytes) continue;
                ++nSeeds;
                const std::string seedName = std::string(kinds[i].szName) + "-game-" + std::to_string(nSeeds);
                if (!WriteSeed(absOut, seedName, i, *bytes)) return 1;
            }
        }
    }
    std::printf("fuzz_seeds: %d seeds in %s\n", nSeeds, absOut.c_str());
    return 0;
}
