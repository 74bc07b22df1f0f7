// Drawing a chara: the frame among its own animation and the animation runs
// of its flows, the graphic cell, the sprite drawn through the handler of its
// display effect, the badge, the HP and SP gauges and the death display.
#pragma once
#include "media/gfx/dd_blit.h"
#include "play/palette_sprite.h"

class cChara;
struct CharaGauge;

// A chara's sprite: where its cell lies, and the colour pair (vertex colour
// and colour operation) of an invincible chara's blend colour.
struct CharaSprite {
    PaletteSprite sp;
    int bColor = 0;
    DDBLTPARAM pair;
};

// The frame to show; unless frozen every animation ticks once first.
int SelectCharaFrame(cChara& c, int frozen);
// The graphic cell with the flying, block-chara and invincible offsets; sets
// the sprite's colour pair.
int GetCharaCell(const cChara& c, CharaSprite& sprite);
// The normal draw of a chara with its badge.
void DrawCharaSprite(cChara& c, DDSURFACEDATA* dst, int frozen);
// The death display; 1 when it is over.
int DrawDyingChara(cChara& c, DDSURFACEDATA* dst, int frozen);
// Runs the display effect's handler without drawing.
void StepCharaEffectOnly(cChara& c, int frozen);
// The chara's cell at (0, 0) of work at the draw size.
void RenderCellToWork(const cChara& c, DDSURFACEDATA* work, const CharaSprite& sprite);
// The HP and SP gauges above the chara.
void DrawHpGauge(cChara& c, DDSURFACEDATA* dst);
void DrawSpGauge(cChara& c, DDSURFACEDATA* dst);
void DrawCharaGauge(cChara& c, DDSURFACEDATA* dst, CharaGauge& gauge, int which);
// The sprite of the chara's current cell (after GetCharaCell).
void PrepareCharaSprite(cChara& c, CharaSprite& sprite, int frame);
