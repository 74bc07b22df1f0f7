#include "app/app_init.h"

#include "app/color_depth.h"

#include <cstring>

#include "base/error_box.h"
#include "base/files.h"
#include "base/frame_timing.h"
#include "app/globals.h"
#include "base/log.h"
#include "app/main_window.h"
#include "base/quit.h"
#include "base/random.h"
#include "app/scene_manager.h"
#include "base/app_state.h"
#include "records/system_ini.h"
#include "base/system_report.h"
#include "app/window_placement.h"
#include "engine/arrange.h"
#include "frontend/data/boot_data.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "frontend/data/player_settings.h"
#include "frontend/data/world_map.h"
#include "frontend/frontend_services.h"
#include "frontend/ui/dialog.h"
#include "frontend/ui/setup_dialog.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_state.h"
#include "media/gfx/dd_surface.h"
#include "media/input/input_list.h"
#include "media/media_services.h"
#include "media/sound/bgm_manager.h"
#include "play/chara_effect.h"
#include "media/sound/ds_sound.h"
#include "media/sound/sound_output.h"
#include "media/text/font.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "records/common_palette.h"
#include "records/data_record.h"
#include "records/database.h"
#include "records/db_image.h"
#include "records/ed_shot.h"
#include "records/ed_flow_refs.h"
#include "records/system_data.h"

const char* const g_StartFolders[22] = {
    "user_data",      "user_data\\story", "user_data\\challenge", "user_data\\free",  "user_data\\rpl4",
    "data",           "data\\database",   "data\\stg4",           "data\\stg4\\old_ver", "data\\work",
    "data\\plt4",     "bmp",              "bmp\\back",            "bmp\\chara_sp",    "bmp\\effect",
    "bmp\\picture",   "bmp\\sword",       "bmp\\convert",         "bmp\\plt",         "bmp\\hbt",
    "wave",           "bgm",
};

const int g_SeVolumeTable[11] = {-10000, -3000, -2000, -1300, -1000, -800, -600, -400, -200, -100, 0};

std::vector<std::string> StartUpDataFiles() {
    std::vector<std::string> files;
    for (int i = PATH_DB_ANIMESET; i <= PATH_DB_BGM; i += 2) files.push_back(g_PathTable[i]);
    files.push_back(g_PathTable[PATH_SYSTEM]);
    files.push_back(g_PathTable[PATH_WORLDMAP]);
    files.push_back(g_PathTable[PATH_COMMONPALETTE]);
    return files;
}

int Direct3DFromBootChoice(int drawMode) { return drawMode == 1 ? 1 : 0; }

namespace {
bool g_bBootCancelled = false;
}  // namespace

bool BootCancelled() { return g_bBootCancelled; }

// The boot choice. The set-up dialog shows over the main window,
// which is shown first (the game's title, no frame yet) and stays shown.
bool ApplyBootChoice() {
    g_bBootCancelled = false;
    if (g_SystemIni.Direct3D < 2) return true;
    const bool bLoaded = LoadBootData();
    if (!g_BootData.m_bNoAsk) {
        g_MainWindow.SetCaption(g_SystemData.m_strTitle);
        g_MainWindow.Show();
        ui::cSetupDialog dialog(nullptr);
        if (dialog.DoModal(0) == 0) {  // -1 (it cannot show) goes on as Start
            ReportLogf("Boot : cancelled");
            g_bBootCancelled = true;
            return false;
        }
    }
    g_SystemIni.Direct3D = Direct3DFromBootChoice(g_BootData.m_nDrawMode);
    ReportLogf("Boot : Direct3D=%d (%s)", g_SystemIni.Direct3D, bLoaded ? "user_data\\Boot.dat" : "default");
    return true;
}

namespace {

// The sound-effect table and its load table: the system effects 0..17 from
// the system data, then effect 17 + k for database sound k (k >= 1); one copy
// each at the buffer's own volume.
void FillSoundEffectTables(int count) {
    g_SEData.assign(static_cast<size_t>(count), DS_SEDATA{});
    g_SEInfo.assign(static_cast<size_t>(count), DS_SEINFO{});
    for (int i = 0; i < count; ++i) {
        const std::string& file =
            i <= 17 ? g_SystemData.m_vecSeFiles.at(i) : g_Database.m_vecSound.at(i - 17).m_strFile;
        DS_SEINFO& entry = g_SEInfo[i];
        std::strncpy(entry.szFile, file.c_str(), sizeof entry.szFile - 1);
        entry.nCopies = 1;
        entry.nVolume = 0;
        entry.nFlag = 1;
    }
}

// The database tables as the flow commands' reference checks see them.
class cDatabaseRefs : public cFlowRefSource {
public:
    int TableSize(FlowRefTable t) const override {
        const cDatabase& db = g_Database;
        switch (t) {
        case FlowRefTable::AnimeSet: return static_cast<int>(db.m_vecAnimeSet.size());
        case FlowRefTable::Anime: return static_cast<int>(db.m_vecAnime.size());
        case FlowRefTable::CharaBitmap: return static_cast<int>(db.m_vecBmpCharaExc.size());
        case FlowRefTable::SwordType: return static_cast<int>(db.m_vecSwordType.size());
        case FlowRefTable::Effect: return static_cast<int>(db.m_vecEffect.size());
        case FlowRefTable::CharaEffect: return static_cast<int>(db.m_vecCharaEffect.size());
        case FlowRefTable::ScreenEffect: return static_cast<int>(db.m_vecScrEffect.size());
        case FlowRefTable::Picture: return static_cast<int>(db.m_vecPicture.size());
        case FlowRefTable::Sound: return static_cast<int>(db.m_vecSound.size());
        case FlowRefTable::Bgm: return static_cast<int>(db.m_vecBgm.size());
        case FlowRefTable::Count: break;
        }
        return 0;
    }
    std::vector<int32_t> SwordPartDurations(int nSwordType) const override {
        std::vector<int32_t> out;
        if (nSwordType < 0 || nSwordType >= static_cast<int>(g_Database.m_vecSwordType.size())) return out;
        for (const cDbSwordPart& part : g_Database.m_vecSwordType[nSwordType].m_vecParts) out.push_back(part.m_nDuration);
        return out;
    }
};

const cDatabaseRefs& DatabaseRefs() {
    static const cDatabaseRefs refs;
    return refs;
}


// Entry 4 of the title menu is the replay item.
constexpr int kTitleMenuReplay = 4;

void SetMenuEntry(cCheckedVector<cCmd>& menu, int index, int enabled) {
    if (index >= 0 && index < static_cast<int>(menu.size())) menu[index].m_nEnabled = enabled;
}

// "Replay_On" over the system data's replay switches.
void ApplyReplayOn() {
    const SystemIniReplayKey& key = g_SystemIni.Replay_On;
    if (key.bSet) {
        const int on = key.nValue != 0 ? 1 : 0;
        g_SystemData.OptReplayRecord = on;
        g_SystemData.m_bReplaySaveKeys = on;
        SetMenuEntry(g_SystemData.m_vecTitleMenu, kTitleMenuReplay, on);
    }
    if (g_SystemData.OptReplayRecord) g_SystemData.OptNoStageList = 0;
}


// The three replay keys that System.ini gave over the user options,
// and their options-menu rows enabled.
void ApplyReplayOptionKeys() {
    auto key = [](const SystemIniReplayKey& k) { return cIniReplayKey{k.bSet, k.nValue}; };
    for (int row : ApplyReplayIniKeys(g_OptionData, key(g_SystemIni.Replay_AutomaticSave),
                                      key(g_SystemIni.Replay_PlaybackOrder),
                                      key(g_SystemIni.Replay_AutomaticMessageProgress)))
        SetMenuEntry(g_SystemData.m_vecOptionMenu, row, 1);
}

// The game's settings the player data follows.
void CopyPlayerDataSettings() {
    const cSystemData& sd = g_SystemData;
    g_PlayerDataSettings.nStageCount = sd.m_nStageCount;
    for (size_t i = 0; i < g_PlayerDataSettings.anStartLives.size(); ++i) {
        if (i < sd.m_vecStartLives.size()) g_PlayerDataSettings.anStartLives[i] = sd.m_vecStartLives[i];
        if (i < sd.m_vecInfiniteLives.size()) g_PlayerDataSettings.abInfiniteLives[i] = sd.m_vecInfiniteLives[i];
    }
}

bool LoadPaletteAndTransparency(bool bDirect3D, int bpp) {
    if (!bDirect3D && !g_DD.lpDDPalette) return true;
    const std::string& paletteFile = BitmapTable[0].strFileName;
    if (!DDLoadPaletteFromFile(g_Palette, paletteFile)) {
        DebugLog("DDLoadPaletteFromFile失敗");
        ReportLogfError(SJ("%s の読み込みに失敗しました！").c_str(), paletteFile.c_str());
        return false;
    }
    std::memcpy(g_PaletteCopy, g_Palette, sizeof(g_Palette));
    const cSystemData& sd = g_SystemData;
    bool ok = true;
    if (sd.m_nPaletteMode == 0) {
        ok = DDSetTransmit(paletteFile) != 0;
    } else if (sd.m_nPaletteMode == 1) {
        if (bpp == 16) {
            ok = DDSetTransmit(paletteFile) != 0;
            const RGBTRIPLE trans{sd.m_byTransB, sd.m_byTransG, sd.m_byTransR};
            if (ok && lpDTCon) lpDTCon->rgbTransmit16 = trans;
            if (ok && lpDDCon) lpDDCon->rgbTransmit16 = trans;
        } else {
            ok = DDSetTransmit(sd.m_byTransR, sd.m_byTransG, sd.m_byTransB) != 0;
        }
    }
    if (!ok) {
        DebugLog("DDSetTransmit失敗");
        ReportLogfError("%s", SJ("透過色の設定に失敗しました！").c_str());
    }
    return ok;
}

// The run flags of a start stage: a single play (no ranking) when the game
// has no free stages and this is not an editor test play.
void StartFreeStageRun(bool singlePlay) {
    g_bFreeStage = 1;
    if (singlePlay) g_bSinglePlay = 1;
    g_SceneState.g_bRankingOn = singlePlay ? 0 : 1;
}

// The first scene of a start stage: its play, with the title behind it.
void EnterFreeStageScene() {
    g_SceneState.g_nGameKind = 2;
    g_SceneState.g_nGameType = 3;
    g_SceneState.m_nSceneKind = SCENE_PLAY;
    g_SceneState.m_nPrevSceneKind = SCENE_TITLE;
}

// The start stage named by "FreeStage".
bool StartFreeStage(int editorTest) {
    if (g_SystemIni.FreeStage.empty()) return true;
    std::string path = g_SystemIni.FreeStage;
    FindLatestNumberedFileStr(path, g_SystemIni.FreeStage, g_ExtTable[EXT_STG4].c_str(), 1000);
    if (!FileExists(path)) {
        ReportLogfDebug(SJ("「%s」の読み込みに失敗しました！").c_str(), path.c_str());
        g_SystemIni.FreeStage.clear();
        return true;
    }
    g_SystemIni.FreeStage = path;
    StartFreeStageRun(g_SystemData.m_bNoFreeStage && !editorTest);
    if (!StartStageFile(path, 1)) return false;
    EnterFreeStageScene();
    return true;
}

// What the start-up's steps learn and hand on.
struct StartUp {
    bool headless = false;
    bool windowed = false;
    bool direct3D = false;
};

// Timing and data formats, and the parameter tables.
void PrepareRuntime() {
    SRand(platform::NowMs());
    g_nDataVersion = kDataVersion;
    g_bStripCR = 1;
    g_bFileTooNew = 0;
    BuildArrangeParamTable();
}

// The data folder and the fixed folders (a headless start writes nothing).
bool MakeFolders(const StartUp& s) {
    if (!s.headless && !CreateDefaultData()) {
        ReportLogfError("%s", SJ("「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。").c_str());
        return false;
    }
    if (!s.headless)
        for (const char* folder : g_StartFolders) platform::MakeDirectory(folder);
    GetElapsedTime(1);
    return true;
}

// The database and the tables made from it.
bool LoadDatabaseTables() {
    if (!LoadDatabase(g_Database)) {
        ReportLogfError("%s", SJ("データベースの読み込みに失敗…").c_str());
        return false;
    }
    g_Database.MakeWorkingCopies();
    CompileAnimeSteps(g_Database.m_vecAnime, g_vAnimeSteps);
    CompileEffectSteps(g_Database.m_vecEffect, g_vEffectSteps);
    PrepareCharaEffectSlots();
    PrepareScrEffectSlots();
    InstallDatabaseChecks();
    return true;
}

bool LoadSystemData() {
    const std::string& systemPath = g_PathTable[PATH_SYSTEM];
    if (!g_SystemData.LoadFile(systemPath)) {
        if (!LastDataFileError().empty()) ReportLogf("%s", LastDataFileError().c_str());  // names the file
        ReportLogfError(SJ("%s の読み込みに失敗…").c_str(), systemPath.c_str());
        return false;
    }
    CopyPlayerDataSettings();
    return true;
}

// System.ini over the settings' defaults (an unreadable file keeps them).
void LoadSettings() {
    SetSystemIniDefaults(g_SystemIni, g_SystemData.m_vecSettings);
    if (!LoadSystemIni("System.ini", g_SystemIni, g_SystemData.m_vecSettings)) {
        ReportLogfError("%s", SJ("System.ini の読み込みに失敗しました！").c_str());
        SetSystemIniDefaults(g_SystemIni, g_SystemData.m_vecSettings);
    }
    ApplyReplayOn();
}

// The drawing device: the user's boot choice, or for a headless start the
// Direct3D-like device in a window, unpaced. False: the user cancelled.
bool ChooseDrawingDevice(const StartUp& s) {
    if (!s.headless) return ApplyBootChoice();
    g_SystemIni.Direct3D = 1;
    g_SystemIni.WindowMode = 1;
    g_SystemIni.VSync = 0;
    return true;
}

// An editor test play starts the stage of its command line, or none when
// the game has no free stages.
void ApplyEditorStartStage(const std::string& commandLine, int editorTest) {
    if (!editorTest) return;
    if (!commandLine.empty())
        g_SystemIni.FreeStage = commandLine;
    else if (g_SystemData.m_bNoFreeStage)
        g_SystemIni.FreeStage.clear();
}

// The scene manager's frame rate and fade speed, and the keys' repeat.
void SetFrameRateAndKeyRepeat() {
    g_SceneState.m_nFrameRate = 60;
    g_SceneState.m_nFadeSpeed = 10;
    g_SceneManager.m_nShowFps = g_SystemIni.ShowFps;
    for (size_t i = 0; i < g_InputList.size(); ++i) g_InputList[i].SetKeyRepeat(18, 6);
}

// Colour depth and window mode; an unusable combination ends with its box.
bool ApplyColorDepth(StartUp& s) {
    ColorDepthInput depthIn;
    depthIn.nDirect3D = g_SystemIni.Direct3D;
    depthIn.nWindowMode = g_SystemIni.WindowMode;
    depthIn.nBpp = g_SystemIni.Bpp;
    depthIn.nVSync = g_SystemIni.VSync;
    depthIn.nPaletteMode = g_SystemData.m_nPaletteMode;
    depthIn.nDepthDirect3D = g_SystemData.m_nDepthDirect3D;
    depthIn.nDepthDirectDraw = g_SystemData.m_nDepthDirectDraw;
    depthIn.nDesktopBpp = GetDesktopBitsPerPixel();
    depthIn.bVistaOrLater = IsOsVersionAtLeast(6, 0);
    const ColorDepthChoice depth = ChooseColorDepth(depthIn);
    g_SystemIni.Bpp = depth.nBpp;
    g_SystemIni.VSync = s.headless ? 0 : depth.nVSync;
    if (!depth.bOk) {
        ErrorBoxf("%s", depth.strError.c_str());
        return false;
    }
    s.windowed = depth.bWindowed;
    g_bWindowed = s.windowed ? 1 : 0;
    if (depth.bSizingFrame) g_MainWindow.AddSizingFrame();
    return true;
}

// The window's caption; an 8-bit screen is not stretched.
void NameWindow(const StartUp& s) {
    if (!s.headless) g_MainWindow.SetCaption(g_SystemData.m_strTitle);
    GetElapsedTime(1);
    if (g_SystemIni.Bpp == 8) g_SystemIni.DD_VideoStretch = 0;
}

// Shows the main window: full screen unless windowed, maximised on request.
void ShowMainWindow(bool maximized) {
    if (!g_bWindowed) g_MainWindow.SetFullScreen(true);
    g_MainWindow.Show();
    if (maximized && g_bWindowed) g_MainWindow.Maximize();
}

// The graphics device, Direct3D first and DirectDraw when it fails.
bool CreateGraphicsDevice(StartUp& s) {
    const int nVSync = g_SystemIni.VSync != 0 ? 1 : 0;
    auto init = [&](int useD3D) {
        return DDInit(useD3D, g_MainWindow.m_hWnd, 640, 480, g_SystemIni.Bpp, nVSync, s.windowed ? 1 : 0, 1, 60,
                      nVSync, SurfaceTable, BitmapTable, kSurfaceSlots, 0);
    };
    bool bDevice = init(g_SystemIni.Direct3D != 0 ? 1 : 0);
    if (!bDevice && g_SystemIni.Direct3D) {
        DDEnd();
        g_SystemIni.Direct3D = 0;
        ShowMainWindow(g_SystemIni.WindowMode == 0);
        bDevice = init(0);
    }
    if (!bDevice) {
        DebugLog("DDInit失敗");
        ReportLogfError("%s", SJ("グラフィックの初期化に失敗しました！").c_str());
        return false;
    }
    s.direct3D = g_SystemIni.Direct3D != 0;
    if (s.direct3D) {
        if (lpDTCon)
            lpDTCon->strTexFailText =
                SJ("テクスチャの作成に失敗しました！\nビデオカードの性能が十分ではないかもしれません。\nSystem."
                   "iniファイルで「Direct3D=0」に変更してDirect3Dを無効にすれば改善される可能性があります。");
        LinkSurfaceAliases();
    }
    return true;
}

void ApplyWindowPlacement(const WindowPlacementPlan& plan) {
    if (!g_MainWindow.m_hWnd) return;
    if (plan.bMove) g_MainWindow.MoveTo(plan.nX, plan.nY);
    if (plan.bSetClient) g_MainWindow.SetClientSize(plan.nWidth, plan.nHeight);
    if (plan.bZoomToFit) g_MainWindow.ZoomToFit();
}

// The close sequence saves the window placement through it.
void InstallPlacementSaver() {
    g_MainWindow.SetPlacementSaver([](const WindowPlacementValues& v) {
        SaveWindowPlacementOnClose(g_SystemIni.WindowMode, g_bRunning != 0, false, v.x, v.y, v.width, v.height,
                                   v.maximized != 0);
    });
}

// The stored window placement, then the window shown.
void PlaceAndShowWindow(const StartUp& s) {
    if (s.headless) return;
    bool bMaximize = false;
    if (g_SystemIni.WindowMode != 0) {
        const bool bLoaded = g_WindowPlacement.LoadFile(g_PathTable[PATH_WINDOW_FILE]);
        const WindowPlacementPlan plan = PlanWindowPlacement(g_SystemIni.WindowMode, bLoaded, g_WindowPlacement);
        ApplyWindowPlacement(plan);
        bMaximize = plan.bMaximize;
    }
    InstallPlacementSaver();
    ShowMainWindow(bMaximize || (!s.direct3D && g_SystemIni.WindowMode == 0));
}

void ReportDisplay(const StartUp& s) {
    DisplayReportInfo display;
    display.bWindowed = s.windowed;
    display.nBpp = g_SystemIni.Bpp;
    display.nRefreshRate = g_DD.nRefreshRate;
    display.strRenderer = s.direct3D ? "software, Direct3D-like device" : "software, DirectDraw-like device";
    display.bDirect3D = s.direct3D;
    WriteDisplayReport(true, display);
    DebugLog("DDInit成功");
}

// The presentation's copy flag, the loading picture shown, and the surfaces
// the menus need first.
bool LoadStartSurfaces(const StartUp& s) {
    const bool bCopy = PresentByCopy(s.direct3D, s.windowed, g_SystemIni.VSync != 0, g_DD.nRefreshRate, 60);
    DDBackEndFromDevice();
    DDBackEnd().presentByCopy = bCopy;
    const BMPSLOT& loading = BitmapTable[45];
    DDCheckSurfaceError(DDCreateSurfaceFromFile(&SurfaceTable[45], loading.strFileName, loading.bColorKey,
                                                g_DD.nBpp, loading.nMemory, loading.nTexType, loading.bAlias,
                                                loading.bPalIdx, loading.nMirrorW, loading.nMirrorH, 0));
    RedrawScreen();
    static const int kStartSlots[3] = {1, 51, 45};
    return DDLoadSurfaces(SurfaceTable, kStartSlots, 3);
}

bool CreateStartFonts() {
    FontSettings fonts;
    fonts.faceName = g_SystemData.FontFaceName();
    fonts.d3dFontCache = g_SystemIni.D3D_FontCache;
    fonts.ddFontCache = g_SystemIni.DD_FontCache;
    fonts.iconLetters = g_SystemData.m_bFontFlag;
    fonts.decoration = g_SystemData.m_nTextDecoration;
    fonts.centre = g_SystemData.m_nTextDecorationParam;
    return SetUpFonts(fonts);
}

// Joystick buttons and the key configuration (headless: the defaults).
void SetUpInput(const StartUp& s) {
    for (size_t i = 0; i < g_InputList.size(); ++i) g_InputList[i].SetDefaultJoyButtons();
    if (s.headless || !LoadKeyConfig(g_PathTable[PATH_KEYCONFIG_FILE], g_KeyConfig)) SetDefaultKeyConfig(g_KeyConfig);
}

// The user files (headless: the options' defaults) and the replay keys of
// System.ini over them.
void LoadUserFiles(const StartUp& s) {
    if (!s.headless) LoadUserOptionFiles();
    ApplyReplayOptionKeys();
}

// Music and sound effects; a missing sound device is only reported.
// Headless: silent.
void SetUpSound(const StartUp& s) {
    if (!s.windowed) g_SystemIni.Midi_DirectMusic = 0;
    FillSoundEffectTables(17 + static_cast<int>(g_Database.m_vecSound.size()));
    if (s.headless) return;
    DS_BgmInit(1, g_BgmOggTable, g_BgmMidiTable, kBgmTracks, g_SystemIni.Midi_DirectMusic);
    if (!DS_Init(g_MainWindow.m_hWnd, 22050, 8, 1)) {
        DebugLogText(SJ("DS_Init失敗！"));
        ReportLogf("DSInit Err");
    }
    int level = g_OptionData.m_nSeVolume;
    if (level < 0) level = 0;
    if (level > 10) level = 10;
    DS_LoadAllSE(g_SEData, g_SEInfo, g_SeVolumeTable[level]);
}

bool LoadWorldMapAndCommonPalette() {
    for (int index : {static_cast<int>(PATH_WORLDMAP), static_cast<int>(PATH_COMMONPALETTE)}) {
        const std::string& path = g_PathTable[index];
        const bool ok = index == PATH_WORLDMAP ? g_WorldMap.LoadFile(path) : g_CommonPalette.LoadFile(path);
        if (!ok) {
            ReportLogfError(SJ("%s のロードに失敗！").c_str(), path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

void InstallDatabaseChecks() {
    SetBgmRecordCountSource([] { return static_cast<int>(g_Database.m_vecBgm.size()); });
    SetEffectCountSource([] { return static_cast<int>(g_Database.m_vecEffect.size()); });
    SetFlowRefSource(&DatabaseRefs());
}

bool PresentByCopy(bool direct3D, bool windowed, bool vsync, int refreshRate, int frameRate) {
    if (!direct3D && windowed) return true;
    return !(vsync && refreshRate >= frameRate);
}

bool AppInit(const std::string& commandLine, int editorTest, bool headless) {
    StartUp s;
    s.headless = headless;
    PrepareRuntime();
    if (!MakeFolders(s) || !LoadDatabaseTables() || !LoadSystemData()) return false;
    LoadSettings();
    if (!ChooseDrawingDevice(s)) return false;
    ApplyEditorStartStage(commandLine, editorTest);
    SetFrameRateAndKeyRepeat();
    if (!ApplyColorDepth(s)) return false;
    NameWindow(s);
    if (!CreateGraphicsDevice(s)) return false;
    PlaceAndShowWindow(s);
    ReportDisplay(s);
    if (!LoadPaletteAndTransparency(s.direct3D, g_SystemIni.Bpp)) return false;
    // The debug log's progress marks "1", "3" and "4" keep their places.
    DebugLog("1");
    if (!LoadStartSurfaces(s) || !CreateStartFonts()) return false;
    DebugLog("3");
    SetUpInput(s);
    LoadUserFiles(s);
    if (g_SystemIni.Bpp == 8 && !LoadPaletteCycle(g_OptionData.m_nPaletteCycle)) return false;
    SetUpSound(s);
    if (!LoadWorldMapAndCommonPalette()) return false;
    DebugLog("4");
    g_Progress.Reset(g_PlayerDataSettings.nStageCount);
    return headless || StartFreeStage(editorTest);
}

void AppEnd() {
    if (g_bRunning && !g_bQuit) SaveUserFilesAtExit();
    DS_End();
    DS_BgmEnd();
    g_SceneManager.DeleteAllScenes();
    ReleaseFonts();
    if (g_SystemIni.WindowMode != 0)
        DDShutdown();
    else
        DDEnd();
    ui::UnhookKeyboardHooks();
    CloseSoundDevice();
}
