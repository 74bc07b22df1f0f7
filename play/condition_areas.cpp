#include "play/condition_areas.h"

#include <list>

#include "base/app_state.h"
#include "base/checked_vector.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_layer.h"
#include "media/gfx/dd_present.h"
#include "play/chara.h"
#include "play/draw_stage.h"
#include "play/numeric.h"
#include "play/object_steering.h"
#include "play/scene_play.h"
#include "records/cond.h"
#include "records/ed_flow.h"
#include "records/system_data.h"

namespace {

int g_nBlink = 0;

// First entries of the eight groups of four palette colours that blink
// (the groups an 8-bit display cycles).
const cCheckedVector<int> kAreaColours = {208, 212, 216, 220, 224, 228, 232, 236};

enum AreaType : int {
    AREA_HORIZONTAL = 0,
    AREA_AHEAD = 1,
    AREA_BEHIND = 2,
    AREA_VERTICAL = 3,
    AREA_AHEAD_Y = 4,
    AREA_BEHIND_Y = 5,
    AREA_CIRCLE = 6,
};

bool CyclingPalette() { return DDIsPalettized() && g_SystemData.m_bColorCycle; }

// Before and after reaches of an interval: both sides, or the side ahead
// (after, for a chara facing +x) or behind.
void Reaches(int type, int facing, int r, int& before, int& after) {
    const bool ahead = type == AREA_AHEAD || type == AREA_AHEAD_Y;
    const bool behind = type == AREA_BEHIND || type == AREA_BEHIND_Y;
    before = after = r;
    if (ahead) (facing ? before : after) = 0;
    if (behind) (facing ? after : before) = 0;
}

void DrawAreasOf(DDSURFACEDATA* dst, cChara& chara, const std::vector<cCond>& conds) {
    for (const cCond& cond : conds)
        if (cond.m_nKind == COND_DISTANCE) DrawConditionArea(dst, chara, cond, g_nBlink);
}

}  // namespace

int AreaDisplayMode(const cCond& cond) { return cond.m_nLeftSource; }
int AreaColour(const cCond& cond) { return cond.m_nLeftItem; }
int AreaShownInactive(const cCond& cond) { return cond.m_nRightSource; }
int AreaShownSuppressed(const cCond& cond) { return cond.m_nRightTarget; }

int ConditionAreaBlink() { return g_nBlink; }
void SetConditionAreaBlink(int counter) { g_nBlink = counter & 31; }

void DrawConditionAreas(DDSURFACEDATA* dst) {
    if (DrawTraced()) DrawTrace("Areas");
    if (!CyclingPalette()) g_nBlink = (g_nBlink + 1) & 31;
    cScenePlay* scene = PlayScene();
    if (!scene) return;
    DDBeginFillBatch();
    for (const std::list<cChara*>& group : scene->m_vCharaGroups) {
        for (cChara* chara : group) {
            if (!chara || chara->m_bDead || !chara->IsOnScreen()) continue;
            DrawAreasOf(dst, *chara, chara->m_Def.m_vecCond);
            for (const cEdFlow& flow : chara->m_Def.m_vecFlow) {
                if (flow.m_bCondOnce && chara->m_bHidden) continue;
                DrawAreasOf(dst, *chara, flow.m_vecCond);
            }
        }
    }
    DDEndFillBatch();
}

void DrawConditionArea(DDSURFACEDATA* dst, cChara& chara, const cCond& cond, int counter) {
    const int mode = AreaDisplayMode(cond);
    if (mode == 0 || (mode == 2 && !g_bEditorTest)) return;
    if (!chara.m_bActing) {
        if (!AreaShownInactive(cond)) return;
        chara.UpdateScreenRect();
    }
    if ((chara.m_bHidden || chara.m_Def.m_bTransparent) && !AreaShownSuppressed(cond)) return;
    int colour = kAreaColours.at(AreaColour(cond));
    if (!CyclingPalette()) colour += (counter & 31) / 8;
    const int r = WrapAdd(WrapMul(cond.m_nValue, 16), cond.m_nRightVarIndex);
    const int type = cond.m_nDirection;
    const auto c = static_cast<uint32_t>(colour);
    if (type == AREA_CIRCLE) {
        DDCircle(dst, ScreenBoxCentreX(chara), ScreenBoxCentreY(chara), r, c);
        return;
    }
    int before = 0, after = 0, lo = 0, hi = 0;
    Reaches(type, chara.m_nFacing, r, before, after);
    switch (type) {
    case AREA_HORIZONTAL:
    case AREA_AHEAD:
    case AREA_BEHIND:
        RangeInterval(chara.m_nScrLeft, chara.m_nDrawWidth, before, after, type == AREA_HORIZONTAL, lo, hi);
        DDFillRect(dst, lo, 0, 1, 480, c);
        DDFillRect(dst, hi, 0, 1, 480, c);
        break;
    case AREA_VERTICAL:
    case AREA_AHEAD_Y:
    case AREA_BEHIND_Y:
        RangeInterval(chara.m_nScrTop, chara.m_nDrawHeight, before, after, type == AREA_VERTICAL, lo, hi);
        DDFillRect(dst, 0, lo, 640, 1, c);
        DDFillRect(dst, 0, hi, 640, 1, c);
        break;
    default:
        break;
    }
}
