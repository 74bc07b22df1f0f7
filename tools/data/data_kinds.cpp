#include "tools/data/data_kinds.h"

#include "records/common_palette.h"
#include "records/cond.h"
#include "records/database.h"
#include "records/ed_flow.h"
#include "records/ed_move.h"
#include "records/ed_shot.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "app/window_placement.h"
#include "frontend/data/boot_data.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "frontend/data/ranking.h"
#include "frontend/data/world_map.h"
#include "frontend/replay/replay_file.h"

namespace {
template <class T>
std::unique_ptr<cDataRecord> Make() {
    return std::make_unique<T>();
}

bool LoadStageKind(cDataRecord& rec, std::string_view cp932Path) {
    return LoadStageFileChecked(dynamic_cast<cStage&>(rec), cp932Path);
}
}  // namespace

const std::vector<cDataKind>& DataKinds() {
    static const std::vector<cDataKind> kinds = {
        // name, summary, factory[, game files, required, load, save]
        {"cond", "one condition of an object or a flow, on its own", Make<cCond>},
        {"condlist", "a list of conditions, on its own", Make<cCondList>},
        {"keycond", "one key-press condition, on its own", Make<cKeyCond>},
        {"move", "one movement of a character, on its own", Make<cEdMove>},
        {"shot", "one shot a character fires, on its own", Make<cEdShot>},
        {"system", "the system data (data\\System.dat)", Make<cSystemData>, "data\\System.dat", true},
        // The ten database tables (version word, record count, records).
        {"animeset", "database table AnimeSet.dat", MakeDbTableFile<&cDatabase::m_vecAnimeSet>,
         "data\\database\\AnimeSet.dat"},
        {"anime", "database table Anime.dat", MakeDbTableFile<&cDatabase::m_vecAnime>,
         "data\\database\\Anime.dat"},
        {"bmp_charaexc", "database table Bmp_CharaExc.dat", MakeDbTableFile<&cDatabase::m_vecBmpCharaExc>,
         "data\\database\\Bmp_CharaExc.dat"},
        {"swordtype", "database table SwordType.dat", MakeDbTableFile<&cDatabase::m_vecSwordType>,
         "data\\database\\SwordType.dat"},
        {"effect", "database table Effect.dat", MakeDbTableFile<&cDatabase::m_vecEffect>,
         "data\\database\\Effect.dat"},
        {"charaeffect", "database table CharaEffect.dat", MakeDbTableFile<&cDatabase::m_vecCharaEffect>,
         "data\\database\\CharaEffect.dat"},
        {"screffect", "database table ScrEffect.dat", MakeDbTableFile<&cDatabase::m_vecScrEffect>,
         "data\\database\\ScrEffect.dat"},
        {"picture", "database table Picture.dat", MakeDbTableFile<&cDatabase::m_vecPicture>,
         "data\\database\\Picture.dat"},
        {"sound", "database table Sound.dat", MakeDbTableFile<&cDatabase::m_vecSound>,
         "data\\database\\Sound.dat"},
        {"bgm", "database table Bgm.dat", MakeDbTableFile<&cDatabase::m_vecBgm>,
         "data\\database\\Bgm.dat"},
        {"flow", "one flow (event) with its commands, on its own", Make<cEdFlow>},
        {"flowcmd", "one command of a flow, on its own", Make<cEdFlowCmd>},
        {"progress", "the progress of a game: a story save slot or the challenge file", Make<cGameProgress>},
        {"options", "user options (user_data\\Option.dat)", Make<cOptionData>, "user_data\\Option.dat"},
        {"free", "stage list place (user_data\\Free.dat)", Make<cFreeData>, "user_data\\Free.dat"},
        {"replaylist", "replay list place and order (user_data\\Replay.dat)", Make<cReplayData>, "user_data\\Replay.dat"},
        {"worldmap", "world map (data\\WorldMap.dat)", Make<cWorldMap>, "data\\WorldMap.dat"},
        {"ranking", "ranking set of a stage (*.rkg)", Make<cRanking>},
        {"boot", "boot choice (user_data\\Boot.dat)", Make<cBootData>, "user_data\\Boot.dat"},
        {"window", "window place and size (user_data\\Window.dat)", Make<cWindowPlacement>, "user_data\\Window.dat"},
        {"palette", "the common palette (data\\CommonPalette.cplt4)", Make<cCommonPalette>, "data\\CommonPalette.cplt4", true},
        {"stage", "a stage file (data\\stg4\\*.stg4_NNN)", Make<cStage>, "data\\stg4\\*.stg4_*", false, LoadStageKind},
        {"replay", "a replay: the stage at the start of the play, the recorded input and the progress (*.rpl4_NNN)",
         Make<cReplayFile>},
    };
    return kinds;
}

const cDataKind* FindDataKind(std::string_view name) {
    for (const cDataKind& k : DataKinds())
        if (name == k.szName) return &k;
    return nullptr;
}

bool LoadDataKind(const cDataKind& kind, cDataRecord& rec, std::string_view cp932Path) {
    return kind.pfnLoad ? kind.pfnLoad(rec, cp932Path) : rec.LoadFile(cp932Path);
}

bool SaveDataKind(const cDataKind& kind, cDataRecord& rec, std::string_view cp932Path) {
    return kind.pfnSave ? kind.pfnSave(rec, cp932Path) : rec.SaveFile(cp932Path);
}
