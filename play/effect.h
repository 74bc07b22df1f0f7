// Effects: short animations of the Effect table played at a point of the
// stage (a command's effect, or the hit effect where an attack strikes),
// drawn behind (layer 0) or in front of (layer 1) the blocks and objects,
// and removed when their track ends.
#pragma once
#include <cstdint>

#include "play/anime_player.h"

class cScenePlay;
struct DDSURFACEDATA;

// What the effect command asks for.
struct EffectRequest {
    int32_t nId = 0;
    double dX = 0.0, dY = 0.0;  // stage position of the top-left corner
    int32_t nWidth = 0, nHeight = 0;
    int32_t nLayer = 0;
    int32_t bRunWhileFrozen = 0;
};

class cEffect {
public:
    int32_t m_nEffectId = 0;  // entry of the Effect table (low 16 bits)
    double m_dX = 0.0, m_dY = 0.0;
    int32_t m_nWidth = 0, m_nHeight = 0;
    int32_t m_bStretched = 0;  // the drawn size differs from the cell size
    int32_t m_nLayer = 0;
    cAnimePlayer m_Anime;
    int32_t m_bRunWhileFrozen = 0;

    void Init(const EffectRequest& request);
    // The hit effect at the overlap of boxes a and b (left, top, right,
    // bottom), moved by up to 4 x scale dots either way on each axis (two
    // draws of the game's generator, x first).
    void InitAtOverlap(int id, const double a[4], const double b[4], int scale);
    void ResetEffectAnime(int id);
    // Draws one frame; 1 when the effect is over (nothing drawn).
    int Draw(DDSURFACEDATA* dst, int frozen);
};

// The effects of one layer drawn in list order; the finished ones removed.
void DrawEffects(cScenePlay& scene, int layer, int frozen);
// A hit effect added to the live play scene's effects.
void AddHitEffect(int effect, const double struckBox[4], const double attackBox[4], int scale);
// Test observer: while set, told of every hit effect before it is added.
using HitEffectTraceFn = void (*)(int effect, const double* struckBox, const double* attackBox, int scale);
extern HitEffectTraceFn g_lpHitEffectTrace;
