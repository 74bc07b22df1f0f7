#include "play/item.h"

#include "media/gfx/dd_blit.h"
#include "play/chara.h"
#include "play/numeric.h"
#include "play/palette_sprite.h"
#include "play/scene_play.h"
#include "records/stage.h"

namespace {

// The item's one track: picture 0 and 1 for 15 ticks each, then again.
constexpr int kItemTrack[] = {0, 15, 1, 1, 15, 1, -2, 0, 1};
constexpr const int* kItemTrackList[] = {kItemTrack, nullptr};
// Stage box settings of the item's collision box.
constexpr size_t kItemWidthSetting = 38, kItemHeightSetting = 39;

}  // namespace

void cItem::InitItem(int key, const cEdItem& def, int temporary) {
    m_Def = def;
    if (m_Def.m_nSize == 0) m_Def.m_nSize = 1;
    const int w = g_Stage.m_anBoxSetting[kItemWidthSetting];
    const int h = g_Stage.m_anBoxSetting[kItemHeightSetting];
    Init(key, 0, 0, 0, m_Def.m_nGraphicCell, kItemTrackList, 0, 16 - w / 2, 16 - h / 2, w, h, 32, 32, 0, 1, 0);
    m_bFollowScroll = 0;
    m_anFlowVars[0] = m_anFlowVars[1] = 0;
    m_bTemporary = temporary;
    m_bCondHeld = 0;
    if (temporary)
        m_bActing = 1;
    else
        SetScale(m_Def.m_nSize, 1, 1);
    cChara::ExpandLoops(m_Def.m_vecCmd);
}

void cItem::PlaceItemAtCell(int col, int row, int keep) {
    const cScenePlay* scene = PlayScene();
    m_dX = WrapMul(WrapAdd(scene->m_ScrollX.m_nBorder, col), 32) + m_nBaseDrawOffsetX + 0.5;
    m_dY = WrapMul(WrapAdd(scene->m_ScrollY.m_nBorder, row), 32) + m_nBaseDrawOffsetY;
    ApplyScaleShift(m_Def.m_nSize, 1, keep);
    ClampToStageX(2);
    ClampToStageY(2);
}

void cItem::KeepBaseOnScale(int newScale, int oldScale, int) {
    m_dY -= WrapMul(WrapAdd(newScale, -oldScale), WrapAdd(m_nBaseHeight, m_nBaseDrawOffsetY));
    ClampToStageY(2);
}

void cItem::DrawItem(DDSURFACEDATA* dst, int advance) {
    if (m_Def.m_bHidden) return;
    const int frame = advance ? m_Anime.AdvanceFrame() : m_Anime.GetFrame();
    PaletteSprite sp;
    GetPaletteSprite(sp, PUSER_ITEM, m_Def.m_nGraphicKind, m_Def.m_nGraphic, m_Def.m_nGraphicCell, this, frame);
    const int m = m_Def.m_nSize;
    const bool stretch = !(sp.bPrepared && sp.nScale == m) && m > 1;
    const int cell = sp.bPrepared ? WrapMul(sp.nScale, 32) : 32;
    if (stretch)
        DDBltStretch(dst, m_nScrLeft, m_nScrTop, m_nDrawWidth, m_nDrawHeight, sp.lpSurface, sp.sx, sp.sy, cell, cell,
                     1);
    else
        DDBlt(dst, m_nScrLeft, m_nScrTop, m_nDrawWidth, m_nDrawHeight, sp.lpSurface, sp.sx, sp.sy, 1);
    if (m_Def.m_bOverlay != 1) return;
    int ox = 0, oy = 0;
    OverlayIconSource(m_Def.m_nOverlayIcon, ox, oy);
    if (m > 1)
        DDBltStretch(dst, m_nScrLeft, m_nScrTop, m_nDrawWidth, m_nDrawHeight, g_IconSurfaces.lpOverlay, ox, oy, 32, 32,
                     1);
    else
        DDBlt(dst, m_nScrLeft, m_nScrTop, 32, 32, g_IconSurfaces.lpOverlay, ox, oy, 1);
}
