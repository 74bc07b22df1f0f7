#include "frontend/data/player_settings.h"

cPlayerDataSettings g_PlayerDataSettings;
