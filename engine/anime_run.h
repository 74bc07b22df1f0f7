// An animation that a flow (or a command) started on a chara, running
// beside the chara's own animation.
#pragma once
#include <cstdint>

#include "play/anime_player.h"

class cAnimeRun {
public:
    int32_t m_nAnime = 0;      // current animation number
    int32_t m_nBaseAnime = 0;  // the number it was started with
    int32_t m_nMode = 0;
    int32_t m_nValue = 0;
    int32_t m_nValue2 = 0;
    int32_t m_nOwnerKey = 0;  // key of the flow that started it
    // Whether it has ended: frames played in the current repetition and
    // repetitions left.
    int32_t m_nFramesPlayed = 0;
    int32_t m_nRepeatsLeft = 0;
    int32_t m_bPaused = 0;
    cAnimePlayer m_Player;
};
