// tovaro-mkdemo [--english] OUT_DIR: builds the bundled demo game, a small original game
// folder made with the program's own record classes:
//   System.ini                 start-up settings (a window, not full screen)
//   data\System.dat            the game's options and texts, with its title
//   data\database\*.dat        the ten database tables
//   data\CommonPalette.cplt4   the common palette
//   data\WorldMap.dat          the world map
//   data\stg4\*.stg4_001       the stages (tools/mkdemo/stages.h)
//   data\stg4\c01-1.stg4_1000  the challenge's numbered stages (copies), to c03-1
//   bmp\...                    every picture the bitmap table needs
//   wave\*.wav, bgm\Title.ogg  the sound effects and the title music
//   bgm\Menu.mid               a MIDI piece for one menu scene
//   bmp\hbt\hbt00..23.dat      the blend tables of 8-bit colour
//   default\                   the same data, from which a lost data\ is remade
// With --english the menus, texts and value labels of the system data are
// English and System.ini sets "English=1".
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/files.h"
#include "base/log.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "records/common_palette.h"
#include "records/data_record.h"
#include "records/database.h"
#include "frontend/data/world_map.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "tools/mkdemo/bitmaps.h"
#include "tools/mkdemo/blend_tables.h"
#include "tools/mkdemo/extras.h"
#include "tools/mkdemo/sounds.h"
#include "tools/mkdemo/stages.h"

namespace {

const char kTitle[] = "Tovaro Demo";
// The name on the title picture, in the builder's block letters.
const char kTitlePictureName[] = "TOVARO DEMO";

// The demo stages (base names under data\stg4\).
const char* const kStages[] = {"Meadow", "Caves", "Castle", "Harbour", "Theatre", "Fortress"};
constexpr int kStageCount = static_cast<int>(sizeof kStages / sizeof kStages[0]);
// The challenge's numbered stages are copies of the demo stages.
constexpr int kChallengeStages = 3;

bool g_bFailed = false;
bool g_bEnglish = false;

// The menus, texts and value labels of the English demo. The three fonts
// give every character, a one-byte letter as much as a two-byte one, a cell
// of the font's fixed character pitch (10, 16 and 32 dots), which the
// program's own font table sets and no game data can change; so each text
// is kept short enough for the box or screen that shows it at that pitch.
void SetEnglishTexts(cSystemData& sd) {
    auto list = [](std::initializer_list<const char*> items) {
        cCheckedVector<std::string> out;
        for (const char* s : items) out.push_back(s);
        return out;
    };
    auto labels = [&](cCheckedVector<cCmd>& menu, std::initializer_list<const char*> items) {
        size_t i = 0;
        for (const char* s : items)
            if (i < menu.size()) menu.at(static_cast<long long>(i++)).m_strLabel = s;
    };
    labels(sd.m_vecTitleMenu, {"New Game", "Continue", "Challenge", "Free Play", "Replay", "Options", "Quit"});
    labels(sd.m_vecMapMenu, {"Save", "Auto Save", "Back", "To Title"});
    labels(sd.m_vecOptionMenu, {"Colours", "Gamepad", "Music", "Sound", "Ranking Entry", "Ranking Name",
                                "Replay Save", "Replay Order", "Replay Message Seconds", "Back"});
    sd.m_vecTexts = list({
        "World", "Stage", "Score", "Best", "Total Score", "Score", "Timer", "Time", "HP Left", "SP Left",
        "Enter the stage", "Cancel", "Save", "Cancel", "Auto save ON", "Auto save OFF", "Save into a slot first!",
        "Back to title", "Cancel", "Quit", "Continue", "Retry", "Back to map", "Next replay", "Previous replay",
        "Replay selection", "Retry", "Back to map", "V: next ranking", "Space key: back to title",
        "Space key: quit", "F3 key: enter the ranking", "C key: sort", "V key: open in the file manager",
        "A key: refresh file information", "By date, oldest first", "By date, newest first", "By name, A to Z",
        "By name, Z to A",
    });
    sd.m_vecRankingModeLabels =
        list({"Manual, type name", "Manual, fixed name", "Auto, type name", "Auto, fixed name"});
    sd.m_vecReplaySaveLabels = list({"Do not save", "Clears only", "Save all"});
    sd.m_vecReplayOrderLabels = list({"Sorted", "Sorted, clears only", "Repeat one replay"});
    // The options' note is placed by its width measured letter by letter
    // and drawn a cell a letter, so its lines stay within 26 letters.
    sd.m_strOptionNote =
        "Manual ranking entry:\r\n"
        "press F3 on a stage clear.\r\n"
        "\r\n"
        "F1 saves this play as a\r\n"
        "replay, F2 the one before,\r\n"
        "whatever the auto save.\r\n"
        "\r\n"
        "\"Sorted, clears only\"\r\n"
        "plays only the replays\r\n"
        "whose names end _CLEAR_.";
    const char* const status[] = {"Score", "Stage", "HP", "SP", "Lives"};
    for (size_t i = 0; i < sd.m_vecStatusItems.size() && i < 5; ++i)
        sd.m_vecStatusItems.at(static_cast<long long>(i)).m_strLabel = status[i];
}

void Check(bool ok, const std::string& what) {
    if (ok) return;
    std::fprintf(stderr, "tovaro-mkdemo: cannot write %s\n", platform::Cp932ToUtf8(what).c_str());
    g_bFailed = true;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    Check(platform::WriteFileAtomic(path, bytes), path);
}

void WriteText(const std::string& path, const std::string& text) {
    Check(platform::WriteFileAtomic(path, text.data(), text.size()), path);
}

void WriteSystemIni() {
    const std::string english = g_bEnglish ? "English=1\r\n" : "";
    WriteText("System.ini",
              "Direct3D=1\r\n"
              "WindowMode=1\r\n"
              "Bpp=0\r\n"
              "VSync=2\r\n"
              "ShowFps=0\r\n" +
                  english + "Exit\r\n");
}

void WriteSystemData() {
    cSystemData sd = SystemDataDefaults();
    sd.m_strTitle = kTitle;
    sd.m_bTitleMenuCentred = 0;  // the title shows the menu's labels
    demo::SetSoundRecords(sd);
    // The challenge: the numbered stages c01-1 to c03-1. Rankings for the
    // story and the challenge by score and clear time; Space opens the
    // in-game menu.
    sd.m_nStageCount = kChallengeStages;
    for (int mode : {0, 1}) {
        cSysMenuFlags& set = sd.m_vecRankingSets.at(mode);
        set.m_bEnabled = 1;
        set.m_vecKinds.assign(5, 0);
        set.m_vecKinds.at(0) = 1;
        set.m_vecKinds.at(2) = 1;
    }
    sd.OptSpaceMenu = 1;
    if (g_bEnglish) SetEnglishTexts(sd);
    Check(sd.SaveFile(g_PathTable[PATH_SYSTEM]), g_PathTable[PATH_SYSTEM]);
}

template <auto Member>
void WriteTable(int pathIndex) {
    auto table = MakeDbTableFile<Member>();
    Check(table->SaveFile(g_PathTable[pathIndex]), g_PathTable[pathIndex]);
}

// The demo's sound and music records.
void WriteSoundTables() {
    cDbTableFile<cDbSound> sounds;
    sounds.m_vecRecords = demo::DemoSoundRecords();
    Check(sounds.SaveFile(g_PathTable[PATH_DB_SOUND]), g_PathTable[PATH_DB_SOUND]);
    cDbTableFile<cDbBgm> bgm;
    bgm.m_vecRecords = demo::DemoBgmRecords();
    Check(bgm.SaveFile(g_PathTable[PATH_DB_BGM]), g_PathTable[PATH_DB_BGM]);
}

template <class Rec>
void WriteRecords(int pathIndex, const cCheckedVector<Rec>& records) {
    cDbTableFile<Rec> table;
    table.m_vecRecords = records;
    Check(table.SaveFile(g_PathTable[pathIndex]), g_PathTable[pathIndex]);
}

// The demo's sword type, effect, chara and screen effects, pictures and own
// chara bitmap (tools/mkdemo/extras.h).
void WriteExtraTables() {
    WriteRecords(PATH_DB_SWORDTYPE, demo::DemoSwordTypes());
    WriteRecords(PATH_DB_EFFECT, demo::DemoEffects());
    WriteRecords(PATH_DB_CHARAEFFECT, demo::DemoCharaEffects());
    WriteRecords(PATH_DB_SCREFFECT, demo::DemoScreenEffects());
    WriteRecords(PATH_DB_PICTURE, demo::DemoPictures());
    WriteRecords(PATH_DB_BMP_CHARAEXC, demo::DemoOwnBitmaps());
}

void WriteDatabase() {
    // The program's default records of each table.
    WriteTable<&cDatabase::m_vecAnimeSet>(PATH_DB_ANIMESET);
    WriteTable<&cDatabase::m_vecAnime>(PATH_DB_ANIME);
    WriteSoundTables();
    WriteExtraTables();
}

// The program's default palette: the "none" entry and one default block,
// chara and item.
void WriteCommonPalette() {
    cCommonPalette palette;
    Check(palette.SaveFile(g_PathTable[PATH_COMMONPALETTE]), g_PathTable[PATH_COMMONPALETTE]);
}

// An island of grass in water with a road along the middle row and the
// stages on it, each opened by clearing the one before.
void WriteWorldMap() {
    enum { GRASS = 0, WATER = 1, ROAD = 2 };
    const int w = 24, h = 15, row = 7;
    cWorldMap map;
    map.m_strWorldName = "Demo Island";
    map.SetSize(w, h);
    if (map.m_vecChipAttr.size() < 3) map.m_vecChipAttr.resize(3);
    for (int c = 0; c < 3; ++c) map.m_vecChipAttr[c].m_nChipPicture = c;
    map.m_vecChipAttr[WATER].m_nMoveAttr = 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool shore = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
            map.Chip(x, y) = shore ? WATER : (y == row && x >= 3 && x <= 20) ? ROAD : GRASS;
        }
    map.m_nStartX = 3;
    map.m_nStartY = row;
    map.m_vecPoint.clear();
    int i = 0;
    for (const char* name : kStages) {
        cWorldPoint point;
        point.m_nPointX = 4 + 3 * i;
        point.m_nPointY = row;
        point.m_strPointName = name;
        cWorldEntry& e = point.m_vecEntry[0];
        e.m_nKind = WORLD_ENTRY_STAGE;
        e.m_strName = name;
        e.m_nPicture = i % 3;  // the three flags of the entry pictures
        // Named from the game folder, as the stage loader opens it.
        e.m_strStageFile = g_PathTable[PATH_STG4] + name + "." + g_ExtTable[EXT_STG4];
        e.m_nOpenIndex = i + 1;
        e.m_nNeedOpened = i;  // 0: open from the start
        e.m_bReplayable = 1;
        e.m_nClearAction = i == kStageCount - 1 ? 2 : 0;
        map.m_vecPoint.push_back(point);
        ++i;
    }
    Check(map.SaveFile(g_PathTable[PATH_WORLDMAP]), g_PathTable[PATH_WORLDMAP]);
}

// The stages (tools/mkdemo/stages.h) and the challenge's copies.
void WriteStages() {
    for (const char* const& name : kStages) {
        const int index = static_cast<int>(&name - kStages);
        cStage stage = index == 0   ? demo::MeadowStage()
                       : index == 1 ? demo::CavesStage()
                       : index == 2 ? demo::CastleStage()
                       : index == 3 ? demo::HarbourStage(g_bEnglish)
                       : index == 4 ? demo::TheatreStage(g_bEnglish)
                                    : demo::FortressStage(g_bEnglish);
        const std::string path = g_PathTable[PATH_STG4] + name + "." + g_ExtTable[EXT_STG4] + "_001";
        Check(stage.SaveFile(path), path);
        const int number = index + 1;
        if (number > kChallengeStages) continue;
        const std::string numbered = Format("%s%02d-1.%s_%u", g_PathTable[PATH_STG4_C].c_str(), number,
                                            g_ExtTable[EXT_STG4].c_str(), static_cast<unsigned>(kDataVersion));
        Check(stage.SaveFile(numbered), numbered);
    }
}

void WriteBitmaps() {
    for (const demo::DemoBitmap& b : demo::DemoBitmaps(kTitlePictureName)) WriteBytes(b.strPath, b.canvas.Bmp());
    for (const demo::ExtraBitmap& b : demo::DemoExtraBitmaps()) WriteBytes(b.strPath, b.canvas.Bmp());
}

void WriteSounds() {
    for (const demo::DemoSound& s : demo::DemoSounds()) WriteBytes(s.strPath, s.bytes);
}

void WriteBlendTables() {
    for (const demo::BlendTableFile& t : demo::DemoBlendTables()) WriteBytes(t.strPath, t.bytes);
}

}  // namespace

int main(int argc, char** argv) {
    g_bEnglish = argc == 3 && std::string(argv[1]) == "--english";
    const int nArgs = g_bEnglish ? 3 : 2;
    if (argc != nArgs || std::string(argv[1]) == "--help") {
        std::fprintf(argc == 2 ? stdout : stderr, "usage: tovaro-mkdemo [--english] OUT_DIR\n");
        return argc == 2 ? 0 : 1;
    }
    std::error_code ec;
    const std::filesystem::path out = argv[nArgs - 1];
    std::filesystem::create_directories(out, ec);
    if (!platform::ChangeDirectory(out.string())) {
        std::fprintf(stderr, "tovaro-mkdemo: cannot enter %s\n", argv[nArgs - 1]);
        return 1;
    }
    g_nDataVersion = kDataVersion;
    for (const char* folder : {"data", "data\\database", "data\\stg4", "bmp", "bmp\\plt", "bmp\\hbt", "wave", "bgm"})
        platform::MakeDirectory(folder);

    WriteSystemIni();
    WriteSystemData();
    WriteDatabase();
    WriteCommonPalette();
    WriteWorldMap();
    WriteStages();
    WriteBitmaps();
    WriteSounds();
    WriteBlendTables();

    // default\ holds the same data as data\.
    std::filesystem::remove_all("default", ec);
    std::filesystem::copy("data", "default", std::filesystem::copy_options::recursive, ec);
    platform::InvalidateDirCache();
    Check(!ec, "default\\");
    return g_bFailed ? 1 : 0;
}
