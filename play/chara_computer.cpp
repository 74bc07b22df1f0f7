#include "play/chara_computer.h"

#include "engine/flow_runtime.h"
#include "play/numeric.h"
#include "play/palette_sprite.h"
#include "play/scene_play.h"
#include "play/sound_requests.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

// Indexes of the stage's box settings for the other charas.
enum OtherBox : int {
    OB_WALK_W = 24, OB_WALK_H = 25, OB_FLY_W = 26, OB_FLY_H = 27,
    OB_BODY_WALK_W = 28, OB_BODY_WALK_H = 29, OB_BODY_FLY_W = 30, OB_BODY_FLY_H = 31,
    OB_SHOT_W = 32, OB_SHOT_H = 33,
    OB_WALK_BOTTOM = 34, OB_FLY_BOTTOM = 35, OB_BODY_WALK_BOTTOM = 36, OB_BODY_FLY_BOTTOM = 37,
    OB_OTHER_SHOT_W = 44, OB_OTHER_SHOT_H = 45,
};

int32_t Box(int i) { return g_Stage.m_anBoxSetting[static_cast<size_t>(i)]; }

constexpr int kAnimeStandWalking = 0;
constexpr int kAnimeStandFlying = 2;

void SetBox(CharaHitBox& b, int x, int y, int w, int h) {
    b.nBaseOffsetX = b.nOffsetX = x;
    b.nBaseOffsetY = b.nOffsetY = y;
    b.nBaseWidth = b.nWidth = w;
    b.nBaseHeight = b.nHeight = h;
}

void ScaleBox(CharaHitBox& b, int m) {
    b.nOffsetX = WrapMul(m, b.nBaseOffsetX);
    b.nOffsetY = WrapMul(m, b.nBaseOffsetY);
    b.nWidth = WrapMul(m, b.nBaseWidth);
    b.nHeight = WrapMul(m, b.nBaseHeight);
}

void PlaceBox(CharaHitBox& b, double pos, bool vertical) {
    const int off = vertical ? b.nOffsetY : b.nOffsetX;
    const int size = vertical ? b.nHeight : b.nWidth;
    const double lo = WrapAdd(off, TruncToInt(pos));
    b.box[vertical ? 1 : 0] = lo;
    b.box[vertical ? 3 : 2] = lo + size - 1;
}

}  // namespace

void cCharaComputer::InitComputer(int key, const cEdChara& def, const cItem* item, const int32_t* placement,
                                  int clone) {
    cEdChara d = def;
    if (d.m_nSize == 0) d.m_nSize = 1;
    InitChara(&d, placement, clone);
    const bool flying = m_Def.m_nMoveType != 0;
    int w = 32, h = 32, ox = 0, oy = 0;
    if (!m_Def.m_bBlockChara) {
        w = Box(flying ? OB_FLY_W : OB_WALK_W);
        h = Box(flying ? OB_FLY_H : OB_WALK_H);
        ox = (32 - w) / 2;
        oy = Box(flying ? OB_FLY_BOTTOM : OB_WALK_BOTTOM) ? 32 - h : (32 - h) / 2;
    }
    Init(key, m_Def.m_nSide, m_Def.m_nPlayer, m_Def.m_nGroup, m_Def.m_nGraphic, nullptr, 0, ox, oy, w, h, 32, 32,
         m_Def.m_nFacing, m_Def.m_nMoveType, clone);
    if (m_Def.m_bBlockChara) {
        SetBox(m_HitBox1, 0, 0, 0, 0);
        SetBox(m_HitBox2, 0, 0, 32, 32);
    } else {
        switch (m_Def.m_nHitRange) {
            case 0:
                if (m_bFlying)
                    SetHitBox1(Box(OB_BODY_FLY_BOTTOM), Box(OB_BODY_FLY_W), Box(OB_BODY_FLY_H));
                else
                    SetHitBox1(Box(OB_BODY_WALK_BOTTOM), Box(OB_BODY_WALK_W), Box(OB_BODY_WALK_H));
                break;
            case 1: SetHitBox1(0, Box(OB_SHOT_W), Box(OB_SHOT_H)); break;
            case 2: SetHitBox1(0, Box(OB_OTHER_SHOT_W), Box(OB_OTHER_SHOT_H)); break;
            case 3: SetHitBox1(0, m_nDrawWidth, m_nDrawHeight); break;
            default: break;
        }
        const int sw = Box(OB_SHOT_W), sh = Box(OB_SHOT_H);
        SetBox(m_HitBox2, 16 - sw / 2 - ox, 16 - sh / 2 - oy, sw, sh);
    }
    SetScale(m_Def.m_nSize, 1, 1);
    if (item)
        m_CarriedItem = *item;
    else
        m_CarriedItem.m_Def.m_nGraphic = 0;
    m_bSkipRangeX = m_Def.m_nActivationRange == 2 || m_Def.m_nActivationRange == 3;
    m_bSkipRangeY = m_Def.m_nActivationRange == 1 || m_Def.m_nActivationRange == 3;
    m_bInRange = m_bAppeared = m_nSpare = 0;
    if (!m_Anime.m_vTracks.empty()) m_Anime.SetTrack(m_bFlying ? kAnimeStandFlying : kAnimeStandWalking, 1);
    InsertFlows(m_Def.m_vecFlow, 0, 0);
}

void cCharaComputer::PlaceAtCell(int col, int row) {
    const cScenePlay* scene = PlayScene();
    m_dX = WrapMul(WrapAdd(scene->m_ScrollX.m_nBorder, col), 32) + m_nBaseDrawOffsetX + 0.5;
    m_dY = WrapMul(WrapAdd(scene->m_ScrollY.m_nBorder, row), 32) + m_nBaseDrawOffsetY;
    ApplyScaleShift(m_Def.m_nSize, 1, 1);
    AfterMoveX();
    AfterMoveY();
}

void cCharaComputer::ScaleHitBoxes(int m) {
    if (m_Def.m_bBlockChara) {
        SetBox(m_HitBox1, 0, 0, m_nWidth, m_nHeight);
        SetBox(m_HitBox2, 0, 0, m_nWidth, m_nHeight);
    } else {
        ScaleBox(m_HitBox1, m);
        ScaleBox(m_HitBox2, m);
    }
    AfterMoveX();
    AfterMoveY();
}

void cCharaComputer::UpdateHitBoxX() {
    PlaceBox(m_HitBox1, m_dX, false);
    PlaceBox(m_HitBox2, m_dX, false);
}

void cCharaComputer::UpdateHitBoxY() {
    PlaceBox(m_HitBox1, m_dY, true);
    PlaceBox(m_HitBox2, m_dY, true);
}

int cCharaComputer::MoveX() {
    if (m_dImpactX != 0.0) {
        m_dSpeedX = m_dImpactX;
    } else if (m_dMoveSpeedX != 0.0) {
        Decelerate(m_dMoveSpeedX, m_bDecelX);
        m_dSpeedX += m_dMoveSpeedX;
    }
    const int r = MoveByX(2);
    AfterMoveX();
    return r == 3 ? 4 : r;
}

int cCharaComputer::MoveY() {
    StepImpactY();
    if (m_dImpactY == 0.0 && m_bFlying && m_dMoveSpeedY != 0.0) {
        Decelerate(m_dMoveSpeedY, m_bDecelY);
        m_dSpeedY += m_dMoveSpeedY;
    }
    const int r = MoveByY(2);
    AfterMoveY();
    if (!m_bFlying && (r == 5 || r == 6)) return 7;
    if (m_bFlying && (r == 3 || r == 6)) return 8;
    return r;
}

int cCharaComputer::BoxIntersects(double left, double top, double right, double bottom) const {
    return m_dX <= right && left <= m_dRight && m_dY <= bottom && top <= m_dBottom;
}

int cCharaComputer::InActivationRange(int skipX, int skipY) const {
    const cScenePlay* scene = PlayScene();
    const cScrollAxis& ax = scene->m_ScrollX;
    const cScrollAxis& ay = scene->m_ScrollY;
    if (!skipX && !(m_dRight >= ax.m_dPos && ax.m_dPos + ax.m_nView > m_dX)) return 0;
    if (!skipY && !(m_dBottom >= ay.m_dPos && ay.m_dPos + ay.m_nView > m_dY)) return 0;
    return 1;
}

int cCharaComputer::CheckActivationRange() {
    if (!InActivationRange(m_bSkipRangeX, m_bSkipRangeY)) {
        m_bInRange = 0;
        return 0;
    }
    m_bInRange = 1;
    if (m_Def.m_bActivationSwitch) PlayScene()->m_vStageSwitches.at(m_Def.m_nActivationSwitchNo) = 1;
    return 1;
}

int cCharaComputer::UpdateActing() {
    const bool switchOn =
        m_Def.m_bActivationSwitch && PlayScene()->m_vStageSwitches.at(m_Def.m_nActivationSwitchNo) != 0;
    if (!m_bInRange && !switchOn &&
        (m_bFlying || (!m_bJumpStarted && (!m_bAppeared || !m_bAirborne))))
        return 0;
    m_bAppeared = 1;
    if (m_Def.m_nActivationMode == 1) m_bSkipRangeX = m_bSkipRangeY = 1;
    UpdateScreenRect();
    return 1;
}

void cCharaComputer::DrawCarriedItemIcon(DDSURFACEDATA* dst) {
    if (!m_bShowCarriedItem || !m_bInView || m_Def.m_bTransparent || m_CarriedItem.m_Def.m_bHidden) return;
    ++m_nIconCounter;
    if (m_nIconCounter >= 64) {
        const cEdItem& d = m_CarriedItem.m_Def;
        const int x = WrapAdd(WrapAdd(m_nScrLeft, m_nDrawWidth / 2), -(m_CarriedItem.m_nDrawWidth / 4));
        const int y = WrapAdd(m_nScrTop, -(m_CarriedItem.m_nDrawHeight / 2));
        DrawPaletteIcon(dst, x, y, d.m_nGraphicKind, d.m_nGraphic, d.m_nGraphicCell);
    }
    if (m_nIconCounter > 95) m_nIconCounter = 0;
}

int cCharaComputer::UpdateChara(int dying) {
    cScenePlay* scene = PlayScene();
    scene->m_lpCurChara = this;
    scene->m_bDeathPending = 0;
    FollowScrollSpeeds();
    m_bNoGravity = 0;
    m_bDecelX = m_bDecelY = 1;
    m_bForcedAnime = 0;
    m_Draw.bNoDraw = 0;
    if (m_nMoveTypeCounter > 0) --m_nMoveTypeCounter;
    StartFlowAnimes(*this);
    if (RunFlowPass(dying, true)) return 1;
    ApplyFlowRemovals();
    ChooseAnimeTrack();
    return 0;
}

void cCharaComputer::Jump(cFlowCmd& cmd) {
    const cEdFlowCmd& def = *cmd.m_lpDef;
    auto launch = [&](bool quietOffScreen) {
        cmd.m_bLaunched = 1;
        if (!(quietOffScreen && def.m_bSoundOnScreenOnly && !m_bInView)) PlayUserSe(def.m_nSound);
        m_dSpeedY = cmd.m_dLaunchSpeed;
        m_bJumpStarted = 1;
        m_bJumpCut = 1;
        m_bOnBlockChara = 0;
    };
    if (!cmd.m_bLaunched) {
        const bool free = !m_bAirborne && !m_bJumpBlocked && !m_bKnockedBack;
        if (g_SystemData.OptInstantEnemyJump) {
            // Launches as soon as it can, never gives up.
            if (free && m_nGraceCounter <= 0) launch(false);
            return;
        }
        const bool ready = g_SystemData.OptEnemyJumpWaitsGrace ? free && m_nGraceCounter <= 0 : free && !m_bJumpStarted;
        if (ready) {
            launch(true);
        } else {
            // Gives up after four frames of waiting.
            cmd.m_nStep = WrapAdd(cmd.m_nStep, 1);
            if (cmd.m_nStep >= WrapMul(4, g_Stage.m_nSubSteps)) {
                cmd.m_bLaunched = 1;
                cmd.m_nRemaining = 0;
            }
        }
        return;
    }
    if (IsStanding()) {
        cmd.m_nRemaining = 0;
        m_bJumpBlocked = 0;
        m_bKnockedBack = 0;
    }
}

int IsOverlappingSolid(const cChara& owner, const cCheckedList<cCharaComputer>& list, int excludeKey) {
    const double box[4] = {owner.m_dX, owner.m_dY, owner.m_dRight, owner.m_dBottom};
    return IsOverlappingSolid(owner, box, list, excludeKey);
}

int IsOverlappingSolid(const cChara& owner, const double box[4], const cCheckedList<cCharaComputer>& list,
                       int excludeKey) {
    if (owner.m_bFlying && owner.m_nWallMode == 0) return 0;
    for (const cCharaComputer& s : list) {
        if (!IsSolidFor(s, owner.m_nKey) || s.m_nKey == excludeKey) continue;
        const double sb[4] = {s.m_dX, s.m_dY, s.m_dRight, s.m_dBottom};
        if (BoxesOverlap(box, sb)) return 1;
    }
    return 0;
}
