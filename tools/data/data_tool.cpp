// tovaro-data: loads, resaves, dumps and checks the data files of a game
// folder the way the player reads them.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/cp932.h"
#include "platform/fs.h"
#include "records/data_kinds.h"

namespace {

void PrintHelp(FILE* out) {
    std::fprintf(out,
                 "usage:\n"
                 "  tovaro-data resave KIND IN OUT   load IN as the player does and save it at version %u\n"
                 "  tovaro-data dump KIND FILE       print FILE with field names\n"
                 "  tovaro-data check GAME_DIR       load every data file of a game folder, report problems\n"
                 "  tovaro-data --help               this text\n"
                 "kinds:\n",
                 kDataVersion);
    for (const cDataKind& k : DataKinds()) std::fprintf(out, "  %-12s %s\n", k.szName, k.szSummary);
}

int Fail(const std::string& cp932Text) {
    std::fprintf(stderr, "tovaro-data: %s\n", platform::Cp932ToUtf8(cp932Text).c_str());
    return 1;
}

const cDataKind* KindOrFail(const char* name) {
    const cDataKind* kind = FindDataKind(name);
    if (!kind) std::fprintf(stderr, "tovaro-data: unknown kind \"%s\" (see --help)\n", name);
    return kind;
}

// Command-line paths are host (UTF-8) text; data paths are CP932.
std::string ArgPath(const char* arg) { return platform::Utf8ToCp932(arg); }

int Resave(const char* kindName, const char* in, const char* out) {
    const cDataKind* kind = KindOrFail(kindName);
    if (!kind) return 1;
    auto rec = kind->pfnMake();
    if (!LoadDataKind(*kind, *rec, ArgPath(in))) return Fail(LastDataFileError());
    if (!SaveDataKind(*kind, *rec, ArgPath(out))) return Fail(LastDataFileError());
    return 0;
}

int Dump(const char* kindName, const char* file) {
    const cDataKind* kind = KindOrFail(kindName);
    if (!kind) return 1;
    auto rec = kind->pfnMake();
    if (!LoadDataKind(*kind, *rec, ArgPath(file))) return Fail(LastDataFileError());
    std::printf("%s: %s, file version %u\n", file, kind->szName, g_nFileVersion);
    std::fputs(rec->DumpText().c_str(), stdout);
    return 0;
}

int Check(const char* gameDir) {
    if (!platform::ChangeDirectory(gameDir)) {
        std::fprintf(stderr, "tovaro-data: cannot enter the game folder %s\n", gameDir);
        return 1;
    }
    int nFiles = 0, nProblems = 0;
    for (const cDataKind& kind : DataKinds()) {
        if (!kind.szGameFiles) continue;
        const std::string pattern = kind.szGameFiles;
        const size_t slash = pattern.find_last_of('\\');
        const std::string folder = slash == std::string::npos ? std::string(".") : pattern.substr(0, slash);
        const std::string name = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
        int nFound = 0;
        for (const platform::DirEntry& e : platform::ListDir(folder, name)) {
            if (e.isDir) continue;
            ++nFound;
            ++nFiles;
            const std::string path = folder == "." ? e.name : folder + "\\" + e.name;
            auto rec = kind.pfnMake();
            if (!LoadDataKind(kind, *rec, path)) {
                ++nProblems;
                std::printf("%s: %s\n", kind.szName, platform::Cp932ToUtf8(LastDataFileError()).c_str());
            }
        }
        if (nFound == 0 && kind.bRequired) {
            ++nProblems;
            std::printf("%s: missing %s\n", kind.szName, platform::Cp932ToUtf8(pattern).c_str());
        }
    }
    std::printf("%d file(s) checked, %d problem(s)\n", nFiles, nProblems);
    return nProblems == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    g_nDataVersion = kDataVersion;
    g_bStripCR = 1;  // as the player's start-up sets it
    if (argc < 2) {
        PrintHelp(stderr);
        return 1;
    }
    const std::string_view cmd = argv[1];
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        PrintHelp(stdout);
        return 0;
    }
    if (cmd == "resave" && argc == 5) return Resave(argv[2], argv[3], argv[4]);
    if (cmd == "dump" && argc == 4) return Dump(argv[2], argv[3]);
    if (cmd == "check" && argc == 3) return Check(argv[2]);
    std::fprintf(stderr, "tovaro-data: bad command line (see --help)\n");
    return 1;
}
