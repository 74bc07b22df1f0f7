#include "play/scene_play.h"

#include "app/scene_manager.h"

cScenePlay* PlayScene() { return static_cast<cScenePlay*>(g_lpPlayScene); }

MenuAnchor g_InGameMenuAnchor = {320, 272, 0, 0};
MenuAnchor g_RetryPromptAnchor = {320, 272, 0, 0};
MenuAnchor g_RankingAnchor = {184, 64, 0, 0};
