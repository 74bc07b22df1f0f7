#include "app/globals.h"

#include "app/app_state.h"
#include "app/files.h"
#include "app/main_window.h"
#include "app/scene_manager.h"
#include "app/thread.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "frontend/data/ranking.h"
#include "frontend/data/save_slots.h"
#include "frontend/data/world_map.h"
#include "frontend/replay/replay.h"
#include "frontend/scenes/menu_cursor.h"
#include "frontend/scenes/replay_file_list.h"
#include "frontend/scenes/scene_menu.h"
#include "frontend/scenes/scene_stage_list.h"
#include "media/gfx/dd_state.h"
#include "media/input/input_list.h"
#include "media/sound/bgm_manager.h"
#include "media/sound/ds_sound.h"
#include "media/sound/sound_output.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/item.h"
#include "play/map_cell.h"
#include "play/play_surfaces.h"
#include "play/stage_setup.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/system_data.h"

// In construction order; see app/globals.h. Destruction runs bottom-up.

// 1
cSceneManager g_SceneManager;
cScene* g_lpPlayScene = nullptr;

// 3
cWindowPlacement g_WindowPlacement;

// 4
cCheckedVector<std::string> g_PathTable = {
    "data\\",
    "default\\",
    "data\\stg4\\",
    "data\\stg4\\old_ver\\",
    "data\\work\\",
    "data_backup\\",
    "e_data\\",
    "e_data\\SheetSize.dat",
    "e_data\\EditConfig.dat",
    "e_data_backup\\",
    "data\\PrjOption.dat",
    "default\\PrjOption.dat",
    "data\\CommonPalette.cplt4",
    "default\\CommonPalette.cplt4",
    "data\\GValInfo.dat",
    "default\\GValInfo.dat",
    "data\\stg4\\Default.stg4_***",
    "default\\stg4\\Default.stg4_***",
    "data\\WorldMap.dat",
    "default\\WorldMap.dat",
    "data\\database\\AnimeSet.dat",
    "default\\database\\AnimeSet.dat",
    "data\\database\\Anime.dat",
    "default\\database\\Anime.dat",
    "data\\database\\Bmp_CharaExc.dat",
    "default\\database\\Bmp_CharaExc.dat",
    "data\\database\\SwordType.dat",
    "default\\database\\SwordType.dat",
    "data\\database\\Effect.dat",
    "default\\database\\Effect.dat",
    "data\\database\\CharaEffect.dat",
    "default\\database\\CharaEffect.dat",
    "data\\database\\ScrEffect.dat",
    "default\\database\\ScrEffect.dat",
    "data\\database\\Picture.dat",
    "default\\database\\Picture.dat",
    "data\\database\\Sound.dat",
    "default\\database\\Sound.dat",
    "data\\database\\Bgm.dat",
    "default\\database\\Bgm.dat",
    "data\\System.dat",
    "default\\System.dat",
    "data\\stg4\\c",
    "user_data\\story\\",
    "user_data\\challenge\\",
    "user_data\\free\\",
    "user_data\\rpl4\\",
    "user_data\\story\\Story",
    "user_data\\challenge\\Challenge.dat",
    "user_data\\Free.dat",
    "user_data\\Replay.dat",
    "user_data\\Option.dat",
    "user_data\\",
    "user_data\\KeyConfig.dat",
    "user_data\\Boot.dat",
    "user_data\\Window.dat",
};

cCheckedVector<std::string> g_ExtTable = {"cplt4", "stg4", "plt4", "rpl4", "rkg"};

// 6
cMainWindow g_MainWindow;

// 7
cThread thGame;
cThread thPause;
cThread thRanking;
cThread thLoad;

// 8
cMenuCursor g_MenuCursor;

// 9
cCheckedVector<cInput> g_InputList(1);

// 10
cCheckedVector<DDSURFACEDATA> g_vDedicatedSurfaces;
cCheckedVector<BMPSLOT> g_vDedicatedSlots;
cCheckedVector<DDSURFACEDATA> g_vSwordSurfaces;
cCheckedVector<BMPSLOT> g_vSwordSlots;
cCheckedVector<DDSURFACEDATA> g_vEffectSurfaces;
cCheckedVector<BMPSLOT> g_vEffectSlots;
std::list<DDSURFACEDATA> g_lstRunTimeSurfaces;
std::list<BMPSLOT> g_lstRunTimeSlots;
std::list<DDSURFACEDATA> g_lstScreenEffectSurfaces;
std::list<BMPSLOT> g_lstScreenEffectSlots;
std::list<DDSURFACEDATA> g_lstMessageSurfaces;
std::list<BMPSLOT> g_lstMessageSlots;
cCheckedVector<DDSURFACEDATA> g_SceneSurfaces;
cCheckedVector<StageFileEntry> g_StageFiles;
cCheckedVector<ReplayFileEntry> g_ReplayFiles;
cCheckedVector<BMPSLOT> g_SceneSurfaceSlots;

// 11
DDSURFACEDATA SurfaceTable[kSurfaceSlots];
BMPSLOT BitmapTable[kSurfaceSlots];
namespace {
const bool g_bBitmapTableBuilt = (BuildBitmapTable(), true);
}

// 12
cSoundOutput g_SoundOutput;
cCheckedVector<DS_SEDATA> g_SEData;
cCheckedVector<DS_SEINFO> g_SEInfo;

// 13
cBgmManager g_BgmManager;

// 14
cCommonPalette g_CommonPalette;
cSystemData g_SystemData;
cDatabase g_Database;

// 15
cCheckedVector<AnimeTrack> g_vAnimeSteps;
cCheckedVector<AnimeTrack> g_vEffectSteps;

// 16
cReplay g_Replay;
cReplay g_ReplayPrev;

// 17
cCheckedVector<cCharaPlayer> g_vPlayers;
cCheckedVector<cMapCell> g_vMapCells;

// 18
cCheckedList<cCharaComputer> g_lstCharas;
cCheckedList<cItem> g_lstItems;

// 20
cEdChara g_HeroDef;

// 21
cWorldMap g_WorldMap;

// 22
cGameProgress g_Progress;
cGameProgress g_ProgressAtStart;
cGameProgress g_ProgressPrevStart;

// 23
cFreeData g_FreeData;
cReplayData g_ReplayData;
cOptionData g_OptionData;

// 24
cCheckedVector<cSaveSlotInfo> g_SaveSlots = MakeSlotInfoList(kStorySlotCount);

// 25
cRanking g_Ranking;

// 26
std::string g_strStartFile;
