// tovaro-data: loads, resaves, dumps and checks the data files of a game
// folder the way the player reads them: against the game's database, system
// data, common palette and world map (those of the current folder, or of
// --game DIR; the program's defaults where the folder has none).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_init.h"
#include "base/files.h"
#include "records/system_ini.h"
#include "frontend/data/world_map.h"
#include "media/gfx/dd_state.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "records/common_palette.h"
#include "tools/data/data_kinds.h"
#include "records/database.h"
#include "records/system_data.h"

namespace {

void PrintHelp(FILE* out) {
    std::fprintf(out,
                 "usage:\n"
                 "  tovaro-data [--game DIR] resave KIND IN OUT   load IN as the player does and save it at version %u\n"
                 "  tovaro-data [--game DIR] dump KIND FILE       print FILE with field names\n"
                 "  tovaro-data check GAME_DIR                    load every data file of a game folder, report problems\n"
                 "  tovaro-data --help                            this text\n"
                 "A file is read against the game it belongs to: the database, system data, common palette\n"
                 "and world map of the current folder, or of the game folder DIR (the program's defaults\n"
                 "for those the folder does not have).\n"
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

// The game the files belong to, loaded as the player's start-up loads it:
// the database (the default one when the folder has none) with its checks,
// then the system data, the world map and the common palette where the
// folder has them. A part that cannot be read is named on stderr when
// `warn` is set, and its defaults stay.
void LoadGameContext(bool warn) {
    // Without warnings the records' own failure boxes are quiet as well.
    static platform::cMessageBoxFn quiet([](const std::string&, const std::string&, int) { return platform::IDOK; });
    platform::IMessageBox* loud = nullptr;
    if (!warn) loud = Service<platform::IMessageBox>::Install(&quiet);
    auto warning = [&](const std::string& cp932Text) {
        if (warn) std::fprintf(stderr, "tovaro-data: warning: %s\n", platform::Cp932ToUtf8(cp932Text).c_str());
    };
    bool bAnyTable = false;
    for (int i = PATH_DB_ANIMESET; i <= PATH_DB_BGM; i += 2) bAnyTable = bAnyTable || FileExists(g_PathTable[i]);
    if (bAnyTable && !LoadDatabase(g_Database)) {
        warning("the game's database cannot be read; the default database is used");
        g_Database.MakeDefaults();
    }
    g_Database.MakeWorkingCopies();
    InstallDatabaseChecks();
    auto load = [&](cDataRecord& rec, int pathIndex) {
        const std::string& path = g_PathTable[pathIndex];
        if (FileExists(path) && !rec.LoadFile(path)) warning(LastDataFileError() + " (the defaults are used)");
    };
    load(g_SystemData, PATH_SYSTEM);
    load(g_WorldMap, PATH_WORLDMAP);
    load(g_CommonPalette, PATH_COMMONPALETTE);
    if (!warn) Service<platform::IMessageBox>::Install(loud);
}

int Resave(const char* kindName, const std::string& in, const std::string& out) {
    const cDataKind* kind = KindOrFail(kindName);
    if (!kind) return 1;
    auto rec = kind->pfnMake();
    if (!LoadDataKind(*kind, *rec, in)) return Fail(LastDataFileError());
    if (!SaveDataKind(*kind, *rec, out)) return Fail(LastDataFileError());
    return 0;
}

int Dump(const char* kindName, const std::string& file) {
    const cDataKind* kind = KindOrFail(kindName);
    if (!kind) return 1;
    auto rec = kind->pfnMake();
    if (!LoadDataKind(*kind, *rec, file)) return Fail(LastDataFileError());
    std::printf("%s: %s, file version %u\n", platform::Cp932ToUtf8(file).c_str(), kind->szName, g_nFileVersion);
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
    // The kinds below report the parts that cannot be read.
    LoadGameContext(false);
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
        if (!platform::PathExists(path)) {
            problem(path + ": missing");
            continue;
        }
        ++nFiles;
        cDataFileIn in;
        if (!in.Open(path)) problem(path + ": " + LastDataFileError());
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
        if (platform::PathExists(slot.strFileName))
            ++nFiles;
        else
            problem(slot.strFileName + ": missing picture");
    }
    std::printf("%d file(s) read, %d problem(s)\n", nFiles, nProblems);
    return nProblems == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    g_nDataVersion = kDataVersion;
    g_bStripCR = 1;  // as the player's start-up sets it
    // A failure the records would show in a box is a line on stderr here.
    static platform::cMessageBoxFn toStderr([](const std::string& text, const std::string&, int type) {
        std::fprintf(stderr, "tovaro-data: %s\n", platform::Cp932ToUtf8(text).c_str());
        return (type & 0xF) == platform::MB_YESNO ? platform::IDNO : platform::IDOK;
    });
    Service<platform::IMessageBox>::Install(&toStderr);
    std::vector<const char*> args;
    const char* gameDir = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--game") == 0 && i + 1 < argc)
            gameDir = argv[++i];
        else
            args.push_back(argv[i]);
    }
    if (args.empty()) {
        PrintHelp(stderr);
        return 1;
    }
    const std::string_view cmd = args[0];
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        PrintHelp(stdout);
        return 0;
    }
    if (cmd == "check" && args.size() == 2 && !gameDir) return Check(args[1]);
    const bool bResave = cmd == "resave" && args.size() == 4;
    const bool bDump = cmd == "dump" && args.size() == 3;
    if (!bResave && !bDump) {
        std::fprintf(stderr, "tovaro-data: bad command line (see --help)\n");
        return 1;
    }
    // The files named are where the user is; the game may be elsewhere.
    std::vector<std::string> files;
    for (size_t i = 2; i < args.size(); ++i) {
        std::string path = args[i];
        if (gameDir) {
            std::error_code ec;
            const std::filesystem::path abs = std::filesystem::absolute(path, ec);
            if (!ec) path = abs.string();
        }
        files.push_back(ArgPath(path.c_str()));
    }
    if (gameDir && !platform::ChangeDirectory(gameDir)) {
        std::fprintf(stderr, "tovaro-data: cannot enter the game folder %s\n", gameDir);
        return 1;
    }
    LoadGameContext(true);
    if (bResave) return Resave(args[1], files[0], files[1]);
    return Dump(args[1], files[0]);
}
