// What a chara keeps for being drawn: the no-draw flag, the screen-fixed
// axes and the death counter.
#pragma once
#include <cstdint>

struct CharaDrawState {
    int32_t bNoDraw = 0;             // not drawn this frame (cleared by every update)
    int32_t abFixed[2] = {};         // x, y: the axis keeps a fixed place on screen
    int32_t anFixedPos[2] = {};      // left, top on screen of a fixed axis
    int32_t nDeathCounter = 0;       // frames of the hero's death display after its effect
};
