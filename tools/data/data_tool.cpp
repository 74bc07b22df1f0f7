// tovaro-data: loads, resaves, dumps and checks the data files of a game
// folder the way the player reads them.
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <string_view>

#include "app/app_init.h"
#include "app/files.h"
#include "app/system_ini.h"
#include "media/gfx/dd_state.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "records/data_kinds.h"
#include "records/system_data.h"

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

std::string LowerKey(const std::string& cp932Path) {
    std::string k = cp932Path;
    for (char& c : k)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return k;
}

int Check(const char* gameDir) {
    if (!platform::ChangeDirectory(gameDir)) {
        std::fprintf(stderr, "tovaro-data: cannot enter the game folder %s\n", gameDir);
        return 1;
    }
    int nFiles = 0, nProblems = 0;
    auto problem = [&](const std::string& cp932Line) {
        ++nProblems;
        std::printf("%s\n", platform::Cp932ToUtf8(cp932Line).c_str());
    };
    std::set<std::string> checked;
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
            const std::string path = folder == "." ? e.name : folder + "\\" + e.name;
            if (!checked.insert(LowerKey(path)).second) continue;
            ++nFiles;
            auto rec = kind.pfnMake();
            if (!LoadDataKind(kind, *rec, path))
                problem(std::string(kind.szName) + ": " + LastDataFileError());
        }
        if (nFound == 0 && kind.bRequired && !checked.count(LowerKey(pattern))) {
            problem(std::string(kind.szName) + ": missing " + pattern);
            checked.insert(LowerKey(pattern));
        }
    }
    // The start-up's files that no kind reads yet: a data file of a version
    // this program reads.
    for (const std::string& path : StartUpDataFiles()) {
        if (checked.count(LowerKey(path))) continue;
        ++nFiles;
        cDataFileIn in;
        if (!in.Open(path))
            problem(path + ": " + (platform::PathExists(path) ? LastDataFileError() : std::string("missing")));
    }
    // System.ini: over the system data's setting defaults, as the start-up reads it.
    cSystemData systemData;
    systemData.LoadFile(g_PathTable[PATH_SYSTEM]);
    SystemIniData ini;
    SetSystemIniDefaults(ini, systemData.m_vecSettings);
    if (platform::PathExists("System.ini")) {
        ++nFiles;
        if (!LoadSystemIni("System.ini", ini, systemData.m_vecSettings)) {
            problem("System.ini: cannot be read or does not end with a line \"Exit\" (the defaults are used)");
            SetSystemIniDefaults(ini, systemData.m_vecSettings);
        }
    }
    if (!ini.FreeStage.empty()) {
        std::string stage = ini.FreeStage;
        FindLatestNumberedFileStr(stage, ini.FreeStage, g_ExtTable[EXT_STG4].c_str(), 1000);
        if (!FileExists(stage)) problem("System.ini: FreeStage names a missing stage " + stage);
    }
    // Pictures the bitmap table cannot do without.
    std::set<std::string> pictures;
    for (const BMPSLOT& slot : BitmapTable) {
        if (slot.bOptional || slot.strFileName.empty() || IsEmptyName(slot.strFileName)) continue;
        if (!pictures.insert(LowerKey(slot.strFileName)).second) continue;
        ++nFiles;
        if (!platform::PathExists(slot.strFileName)) problem(slot.strFileName + ": missing picture");
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
