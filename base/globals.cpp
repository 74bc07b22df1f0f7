// The base layer's global objects; their places in the program's order are
// listed in app/globals.h.
#include "base/app_state.h"
#include "base/checked_vector.h"
#include "base/files.h"
#include "base/global_order.h"
#include "base/thread.h"

#include <string>

// 4
cCheckedVector<std::string> g_PathTable TOVARO_GLOBAL_PLACE(4, 1) = {
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
cCheckedVector<std::string> g_ExtTable TOVARO_GLOBAL_PLACE(4, 2) = {"cplt4", "stg4", "plt4", "rpl4", "rkg"};

// 7
cThread thGame TOVARO_GLOBAL_PLACE(7, 1);
cThread thPause TOVARO_GLOBAL_PLACE(7, 2);
cThread thRanking TOVARO_GLOBAL_PLACE(7, 3);
cThread thLoad TOVARO_GLOBAL_PLACE(7, 4);

// 26
std::string g_strStartFile TOVARO_GLOBAL_PLACE(26, 1);
