// The game's settings that the player data follows. They live in the
// system data (data\System.dat); the start-up copies them here after that
// file is read, so the player data does not reach into the system data.
// The defaults are the system data's own defaults.
#pragma once
#include <array>
#include <cstdint>

struct cPlayerDataSettings {
    int32_t nStageCount = 40;  // stages of the stage select / challenge
    // Per game mode (0 story, 1 challenge, 2 free, 3 replay).
    std::array<int32_t, 4> anStartLives = {5, 5, 5, 99};
    std::array<int32_t, 4> abInfiniteLives = {1, 1, 1, 1};
};

extern cPlayerDataSettings g_PlayerDataSettings;
