#include "records/data_kinds.h"

#include "records/common_palette.h"
#include "records/cond.h"
#include "records/database.h"
#include "records/ed_flow.h"
#include "records/ed_move.h"
#include "records/ed_shot.h"
#include "records/system_data.h"
#include "frontend/data/boot_data.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "frontend/data/ranking.h"
#include "frontend/data/world_map.h"

namespace {
template <class T>
std::unique_ptr<cDataRecord> Make() {
    return std::make_unique<T>();
}
}  // namespace

const std::vector<cDataKind>& DataKinds() {
    static const std::vector<cDataKind> kinds = {
        // name, summary, factory[, game files, required, load, save]
        {"cond", "one condition (version word + cCond body)", Make<cCond>},
        {"condlist", "a condition list (version word + cCondList body)", Make<cCondList>},
        {"keycond", "one key condition (version word + cKeyCond body)", Make<cKeyCond>},
        {"move", "a movement definition (version word + cEdMove body)", Make<cEdMove>},
        {"shot", "a shot definition (version word + cEdShot body)", Make<cEdShot>},
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
        {"flow", "one flow with its commands (version word + cEdFlow body)", Make<cEdFlow>},
        {"flowcmd", "one flow command (version word + cEdFlowCmd body)", Make<cEdFlowCmd>},
        {"progress", "game progress: story slot, challenge file (cGameProgress)", Make<cGameProgress>},
        {"options", "user options (user_data\\Option.dat)", Make<cOptionData>, "user_data\\Option.dat"},
        {"free", "stage list place (user_data\\Free.dat)", Make<cFreeData>, "user_data\\Free.dat"},
        {"replaylist", "replay list place and order (user_data\\Replay.dat)", Make<cReplayData>, "user_data\\Replay.dat"},
        {"worldmap", "world map (data\\WorldMap.dat)", Make<cWorldMap>, "data\\WorldMap.dat"},
        {"ranking", "ranking set of a stage (*.rkg)", Make<cRanking>},
        {"boot", "boot choice (user_data\\Boot.dat)", Make<cBootData>, "user_data\\Boot.dat"},
        {"palette", "the common palette (data\\CommonPalette.cplt4)", Make<cCommonPalette>, "data\\CommonPalette.cplt4", true},
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
