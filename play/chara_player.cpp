#include "play/chara_player.h"

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "engine/flow_runtime.h"
#include "engine/key_conds.h"
#include "media/gfx/dd_blit.h"
#include "engine/arrange.h"
#include "engine/item_commands.h"
#include "media/input/input_list.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "play/sound_requests.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

// Indexes of the stage's box settings for the hero.
enum HeroBox : int {
    HB_WALK_W = 0, HB_WALK_H = 1, HB_FLY_W = 2, HB_FLY_H = 3,
    HB_BODY_WALK_W = 4, HB_BODY_WALK_H = 5, HB_BODY_FLY_W = 6, HB_BODY_FLY_H = 7,
    HB_SHOT_W = 8, HB_SHOT_H = 9, HB_ITEM_W = 10, HB_ITEM_H = 11,
    HB_WALK_BOTTOM = 12, HB_FLY_BOTTOM = 13, HB_BODY_WALK_BOTTOM = 14, HB_BODY_FLY_BOTTOM = 15,
    HB_SHOW_COLLISION = 16, HB_SHOW_BODY = 17, HB_SHOW_SHOT = 18, HB_SHOW_ITEM = 19,
    HB_COLOR_COLLISION = 20, HB_COLOR_BODY = 21, HB_COLOR_SHOT = 22, HB_COLOR_ITEM = 23,
    HB_SIDE0_SHOT_W = 40, HB_SIDE0_SHOT_H = 41,
};

int32_t Box(int i) { return g_Stage.m_anBoxSetting[static_cast<size_t>(i)]; }

constexpr int kItemArrangeKind = 23;


// The view on one axis follows the player unless it scrolls by itself.
void FollowWithView(cScrollAxis& ax, double pos, int size) {
    if (ax.m_bAutoOn) return;
    const int half = ax.m_nView / 2;
    double p = pos - (half - size / 2);
    if (p > ax.m_nMaxEnd - ax.m_nView) p = ax.m_nMaxEnd - ax.m_nView;
    if (p < ax.m_nMinPos) p = ax.m_nMinPos;
    ax.m_dPos = p;
}

void ScaleBox(CharaHitBox& b, int m) {
    b.nOffsetX = WrapMul(m, b.nBaseOffsetX);
    b.nOffsetY = WrapMul(m, b.nBaseOffsetY);
    b.nWidth = WrapMul(m, b.nBaseWidth);
    b.nHeight = WrapMul(m, b.nBaseHeight);
}

void SetCentredBox(CharaHitBox& b, int width, int height, int collisionX, int collisionY) {
    b.nBaseOffsetX = b.nOffsetX = 16 - width / 2 - collisionX;
    b.nBaseOffsetY = b.nOffsetY = 16 - height / 2 - collisionY;
    b.nBaseWidth = b.nWidth = width;
    b.nBaseHeight = b.nHeight = height;
}

void PlaceBoxX(CharaHitBox& b, double x) {
    b.box[0] = b.nOffsetX + TruncToInt(x);
    b.box[2] = b.box[0] + b.nWidth - 1;
}

void PlaceBoxY(CharaHitBox& b, double y) {
    b.box[1] = b.nOffsetY + TruncToInt(y);
    b.box[3] = b.box[1] + b.nHeight - 1;
}

}  // namespace


cChara* Hero() { return g_vPlayers.empty() ? nullptr : &g_vPlayers[0]; }

// ---------------------------------------------------------------------------
// Set-up and sizes

void cCharaPlayer::InitPlayer(const cEdChara& def, int key) {
    cEdChara d = def;
    if (d.m_nSize == 0) d.m_nSize = 1;
    InitChara(&d, nullptr, 0);
    int ox, oy, w, h;
    GetPlayerSizes(ox, oy, w, h);
    Init(key, m_Def.m_nSide, m_Def.m_nPlayer, m_Def.m_nGroup, m_Def.m_nGraphic, nullptr, 0, ox, oy, w, h, 32, 32, 1, 0,
         0);
    m_lpInput = &g_InputList.at(m_Def.m_nPlayer);
    SetMoveType(m_Def.m_nMoveType, 0, 0, 0);
    SetScale(m_Def.m_nSize, 1, 1);
    m_nFacing = m_nPrevFacing = m_Def.m_nFacing;
    m_bBoxSaved = m_bRestoreRequest = 0;
    m_nHoldCounter = 0;
    m_bHoldAllowed = 1;
    m_bFootBlockJump = m_bJumpHandled = 0;
    m_nFootKind = m_bFootFlag = 0;
    m_dFootFactor = 0.0;
    m_nSubStepCounter = 0;
    m_abTouch[0] = m_abTouch[1] = 0;
    m_dConveyorSpeed = 4 / g_Stage.m_dSubSteps;
    BuildHitBoxList();
    m_lstTouchedItems.clear();
    InsertFlows(m_Def.m_vecFlow, 0, 0);
}

void cCharaPlayer::GetPlayerSizes(int& offsetX, int& offsetY, int& width, int& height) const {
    const bool flying = m_bFlying != 0;
    width = Box(flying ? HB_FLY_W : HB_WALK_W);
    height = Box(flying ? HB_FLY_H : HB_WALK_H);
    offsetX = (32 - width) / 2;
    offsetY = Box(flying ? HB_FLY_BOTTOM : HB_WALK_BOTTOM) ? 32 - height : (32 - height) / 2;
}

void cCharaPlayer::SetMoveType(int type, int rescale, int saveBox, int restoreOnChange) {
    const int oldType = m_Def.m_nMoveType;
    const bool wasFlying = m_bFlying != 0;
    m_Def.m_nMoveType = static_cast<int8_t>(type);
    switch (type) {
        case 0: m_bFlying = 0, m_nWallMode = 1; break;
        case 1: m_bFlying = 1, m_nWallMode = 0; break;
        case 2: m_bFlying = 1, m_nWallMode = 1; break;
        case 3: m_bFlying = 1, m_nWallMode = 2; break;
        default: break;
    }
    if (saveBox) {
        m_adTypeBox[0] = m_dX;
        m_adTypeBox[1] = m_dY;
        m_adTypeBox[2] = m_dRight;
        m_adTypeBox[3] = m_dBottom;
        m_bBoxSaved = 1;
    }
    if (type != oldType) {
        m_nMoveTypeCounter = 2;
        if (restoreOnChange) m_bRestoreRequest = 1;
    }
    if (wasFlying && !m_bFlying) m_dSpeedX = m_dSpeedY = m_dMoveSpeedX = m_dMoveSpeedY = 0.0;
    if (m_bFlying && !g_SystemData.OptNoGraceOnFly) {
        m_bAirborne = 1;
        m_nGraceCounter = WrapMul(8, g_Stage.m_nSubSteps);
    }
    int ox, oy, w, h;
    GetPlayerSizes(ox, oy, w, h);
    m_nBaseWidth = m_nWidth = w;
    m_nBaseHeight = m_nHeight = h;
    m_nBaseDrawWidth = m_nDrawWidth = 32;
    m_nBaseDrawHeight = m_nDrawHeight = 32;
    m_nBaseDrawOffsetX = m_nDrawOffsetX = ox;
    m_nBaseDrawOffsetY = m_nDrawOffsetY = oy;
    switch (m_Def.m_nHitRange) {
        case 0:
            if (m_bFlying)
                SetHitBox1(Box(HB_BODY_FLY_BOTTOM), Box(HB_BODY_FLY_W), Box(HB_BODY_FLY_H));
            else
                SetHitBox1(Box(HB_BODY_WALK_BOTTOM), Box(HB_BODY_WALK_W), Box(HB_BODY_WALK_H));
            break;
        case 1: SetHitBox1(0, Box(HB_SHOT_W), Box(HB_SHOT_H)); break;
        case 2: SetHitBox1(0, Box(HB_SIDE0_SHOT_W), Box(HB_SIDE0_SHOT_H)); break;
        case 3: SetHitBox1(0, 32, 32); break;
        default: break;
    }
    SetCentredBox(m_HitBox2, Box(HB_SHOT_W), Box(HB_SHOT_H), ox, oy);
    SetCentredBox(m_HitBox3, Box(HB_ITEM_W), Box(HB_ITEM_H), ox, oy);
    if (rescale) {
        const int m = m_Def.m_nSize;
        m_nWidth = WrapMul(m, m_nBaseWidth);
        m_nHeight = WrapMul(m, m_nBaseHeight);
        m_nDrawWidth = WrapMul(m, m_nBaseDrawWidth);
        m_nDrawHeight = WrapMul(m, m_nBaseDrawHeight);
        m_nDrawOffsetX = WrapMul(m, m_nBaseDrawOffsetX);
        m_nDrawOffsetY = WrapMul(m, m_nBaseDrawOffsetY);
        ScaleBox(m_HitBox1, m);
        ScaleBox(m_HitBox2, m);
        ScaleBox(m_HitBox3, m);
    }
    BuildHitBoxList();
}

void cCharaPlayer::BuildHitBoxList() {
    auto entry = [](int kind, int show, int color, int x, int y, int w, int h) {
        HitBoxEntry e;
        e.nKind = kind;
        e.nShown = Box(show);
        e.nColor = Box(color);
        e.nOffsetX = x, e.nOffsetY = y, e.nWidth = w, e.nHeight = h;
        return e;
    };
    const CharaHitBox& b1 = m_HitBox1;
    const CharaHitBox& b2 = m_HitBox2;
    const CharaHitBox& b3 = m_HitBox3;
    m_vHitBoxList = {
        entry(0, HB_SHOW_COLLISION, HB_COLOR_COLLISION, 0, 0, m_nWidth, m_nHeight),
        entry(1, HB_SHOW_BODY, HB_COLOR_BODY, b1.nOffsetX, b1.nOffsetY, b1.nWidth, b1.nHeight),
        entry(2, HB_SHOW_ITEM, HB_COLOR_ITEM, b3.nOffsetX, b3.nOffsetY, b3.nWidth, b3.nHeight),
        entry(3, HB_SHOW_SHOT, HB_COLOR_SHOT, b2.nOffsetX, b2.nOffsetY, b2.nWidth, b2.nHeight),
    };
    std::stable_sort(m_vHitBoxList.begin(), m_vHitBoxList.end(), [](const HitBoxEntry& a, const HitBoxEntry& b) {
        return static_cast<long long>(a.nWidth) * a.nHeight > static_cast<long long>(b.nWidth) * b.nHeight;
    });
}

void cCharaPlayer::ScaleHitBoxes(int m) {
    ScaleBox(m_HitBox1, m);
    ScaleBox(m_HitBox2, m);
    ScaleBox(m_HitBox3, m);
    AfterMoveX();
    AfterMoveY();
}

void cCharaPlayer::UpdateHitBoxX() {
    PlaceBoxX(m_HitBox1, m_dX);
    PlaceBoxX(m_HitBox2, m_dX);
    PlaceBoxX(m_HitBox3, m_dX);
}

void cCharaPlayer::UpdateHitBoxY() {
    PlaceBoxY(m_HitBox1, m_dY);
    PlaceBoxY(m_HitBox2, m_dY);
    PlaceBoxY(m_HitBox3, m_dY);
}

// ---------------------------------------------------------------------------
// Movement

void cCharaPlayer::AfterMoveX() {
    FollowWithView(PlayScene()->m_ScrollX, m_dX, m_nWidth);
    ClampToStageX(m_bFlying ? 0 : 1);
    m_dRight = m_dX + m_nWidth - 1;
}

void cCharaPlayer::AfterMoveY() {
    FollowWithView(PlayScene()->m_ScrollY, m_dY, m_nHeight);
    ClampToStageY(m_bFlying ? 0 : 1);
}

int cCharaPlayer::MoveX() {
    if (m_dImpactX != 0.0) {
        m_dSpeedX = m_dImpactX;
        DebugLogf("MoveX() m_dSpeedX = %lf, m_dImpactX = %lf", m_dSpeedX, m_dImpactX);
    } else if (m_dMoveSpeedX != 0.0) {
        Decelerate(m_dMoveSpeedX, m_bDecelX);
        if (m_bFootFlag && m_nFootKind == 3) {
            // A conveyor-like foot block speeds walking up or slows it down.
            const double before = m_dMoveSpeedX;
            const double change = (m_dFootFactor - 1) * PerFrame(m_dConveyorSpeed);
            m_dMoveSpeedX += before > 0.0 ? change : -change;
            if ((before > 0.0 && m_dMoveSpeedX < 0.0) || (before < 0.0 && m_dMoveSpeedX > 0.0)) m_dMoveSpeedX = 0.0;
        }
        m_dSpeedX += m_dMoveSpeedX;
    }
    const double cap = g_Stage.m_dSpeedCapStep;
    if (m_dSpeedX > cap) m_dSpeedX = cap;
    if (m_dSpeedX < -cap) m_dSpeedX = -cap;
    m_dX += m_dSpeedX;
    AfterMoveX();
    return 0;
}

int cCharaPlayer::MoveY() {
    StepImpactY();
    if (m_dImpactY == 0.0 && m_bFlying && m_dMoveSpeedY != 0.0) {
        Decelerate(m_dMoveSpeedY, m_bDecelY);
        m_dSpeedY += m_dMoveSpeedY;
    }
    if (m_dImpactY != 0.0) DebugLogf("MoveY() m_dSpeedY = %lf, m_dImpactY = %lf", m_dSpeedY, m_dImpactY);
    const int r = MoveByY(m_bFlying ? 0 : 2);
    AfterMoveY();
    // Below the movement limit or the stage: the walking player falls out.
    if (!m_bFlying && (r == 5 || r == 6)) return 7;
    return r;
}

void cCharaPlayer::UpdatePlayerScreenRect() {
    const cScenePlay* scene = PlayScene();
    const cScrollAxis& sx = scene->m_ScrollX;
    const cScrollAxis& sy = scene->m_ScrollY;
    if (sx.m_bAutoOn)
        m_nScrLeft = WrapAdd(WrapAdd(TruncToInt(m_dX), -TruncToInt(sx.m_dPos)), -m_nDrawOffsetX);
    else
        m_nScrLeft = TruncToInt(m_dX - m_nDrawOffsetX - sx.m_dPos);
    if (sy.m_bAutoOn)
        m_nScrTop = WrapAdd(WrapAdd(TruncToInt(m_dY), -TruncToInt(sy.m_dPos)), -m_nDrawOffsetY);
    else
        m_nScrTop = TruncToInt(m_dY - m_nDrawOffsetY - sy.m_dPos);
    m_nScrRight = WrapAdd(WrapAdd(m_nScrLeft, m_nDrawWidth), -1);
    m_nScrBottom = WrapAdd(WrapAdd(m_nScrTop, m_nDrawHeight), -1);
}

int cCharaPlayer::RestoreAfterTypeChange() {
    if (m_nMoveTypeCounter < 1) return 0;
    if (m_bRestoreRequest && m_bBoxSaved) {
        m_dX = m_adTypeBox[0];
        m_dY = m_adTypeBox[1];
        m_dRight = m_adTypeBox[2];
        m_dBottom = m_adTypeBox[3];
        m_bRestoreRequest = 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Items

int cCharaPlayer::IsNewTouch(int itemKey) const {
    return std::find(m_lstTouchedItems.begin(), m_lstTouchedItems.end(), itemKey) == m_lstTouchedItems.end();
}

void cCharaPlayer::ForgetTouch(int itemKey) { m_lstTouchedItems.remove(itemKey); }

void cCharaPlayer::ShowPickupMessage(const std::string& text, int x, int y, const PopupGraphic& graphic) {
    ShowPickupWindow(m_nKey, text, x, y, graphic);
}

PlayResult cCharaPlayer::RunItemCommands(std::vector<cEdFlowCmd>& cmds, int32_t* itemVars) {
    cScenePlay* scene = PlayScene();
    scene->m_bItemMessageShown = 0;
    scene->m_lpCurFlowVars = itemVars;
    scene->m_lpCurFlowCmd = nullptr;
    for (cEdFlowCmd& cmd : cmds) {
        if (cmd.m_nKind != kItemArrangeKind) {
            ApplyCharaArranges(cmd, *this);
            m_lstArrange.clear();
        }
        const int r = RunItemCommand(*this, cmd);
        if (m_nHP <= 0) return PlayResult::Miss;
        if (r != 0) return AsPlayResult(r);
    }
    return m_nHP <= 0 ? PlayResult::Miss : PlayResult::Continue;
}

// ---------------------------------------------------------------------------
// The sub-step

int cCharaPlayer::UpdateChara(int dying) {
    cScenePlay* scene = PlayScene();
    // The hero is the chara being run; no death is pending yet.
    scene->m_lpCurChara = this;
    scene->m_bDeathPending = 0;
    // The hero follows the scroll speeds.
    FollowScrollSpeeds();
    // The switches of the last update are cleared.
    m_bNoGravity = 0;
    m_bDecelX = m_bDecelY = 1;
    m_abTouch[0] = m_abTouch[1] = 0;
    m_bForcedAnime = 0;
    m_bJumpHandled = 0;
    m_Draw.bNoDraw = 0;  // every update shows the chara again
    // The move-type counter runs down; at 0 no restore is requested.
    if (m_nMoveTypeCounter > 0 && --m_nMoveTypeCounter == 0) m_bRestoreRequest = 0;
    // The animations the flows asked for start.
    StartFlowAnimes(*this);
    // The flows run; a death in them ends the update.
    if (RunFlowPass(dying, false)) return 1;
    // Flow changes queued while the hero ran its flows are made now.
    std::vector<cEdFlowCmd> queued;
    queued.swap(m_vecPendingFlowChange);
    for (const cEdFlowCmd& cmd : queued) DoChangeFlow(*this, cmd, 1);
    // Flows marked for removal go.
    ApplyFlowRemovals();
    // The sub-step count and the animation track.
    m_nSubStepCounter = WrapAdd(m_nSubStepCounter, 1);
    ChooseAnimeTrack();
    // Without a jump command in this update the jump hold resets.
    if (!m_bJumpHandled) ResetJumpHold();
    // 1 when the hero has no HP left.
    return m_nHP < 1;
}

void cCharaPlayer::ResetJumpHold() {
    m_nHoldCounter = 0;
    m_bHoldAllowed = 1;
    m_bJumpBlocked = 0;
}

void cCharaPlayer::Jump(cFlowCmd& cmd) {
    // A flyer, or a jump already handled in this update, does nothing.
    if (m_bFlying || m_bJumpHandled) return;
    const cEdFlowCmd& def = *cmd.m_lpDef;
    auto p = [&def](size_t i) { return i < def.m_vecParam.size() ? def.m_vecParam[i] : 0; };
    const cScenePlay* scene = PlayScene();
    const cFlow* flow = scene->m_lpCurFlow;
    const bool keyed = flow && !flow->m_vKeyConds.empty();
    // With a hold mode, whether the flow's last key condition is still held.
    int held = 1;
    if (p(0) != 0) held = keyed && m_lpInput ? CheckKeyCondHeld(*m_lpInput, *flow->m_vKeyConds.back()) : 0;
    // Mode 2: the launch speed from the run speed, between the two heights.
    if (p(0) == 2) {
        const double v = std::fabs(m_dMoveSpeedX);
        const double s1 = p(1) / (10 * g_Stage.m_dSubSteps);
        const double s3 = p(3) / (10 * g_Stage.m_dSubSteps);
        int32_t height;
        if (v <= s3)
            height = p(4);
        else if (v >= s1)
            height = p(2);
        else
            height = TruncToInt(p(4) + (p(2) - p(4)) * v / s1);
        cmd.m_dLaunchSpeed = JumpSpeed(WrapMul(height, 16));
    }
    if ((p(0) != 0 && !held) || m_bFootBlockJump) {
        // Released early, the rise is cut once.
        if (m_nHoldCounter > 0 && m_nHoldCounter < cmd.m_nDuration && !m_bJumpCut && !m_bJumpBlocked &&
            !m_bFootBlockJump && !m_bKnockedBack) {
            m_bOnBlockChara = 0;
            if (m_dSpeedY < 0.0) m_dSpeedY *= 0.3;
            m_bJumpCut = 1;
        }
        ResetJumpHold();
    } else {
        // Held: the hold counter counts; at the command's duration the rise ends.
        m_nHoldCounter = WrapAdd(m_nHoldCounter, 1);
        if (m_nHoldCounter >= cmd.m_nDuration && (!m_bJumpCut || m_bOnBlockChara) && m_bHoldAllowed &&
            !m_bJumpBlocked && (m_dSpeedY < 0.0 || m_bOnBlockChara)) {
            m_bJumpCut = 1;
            m_bHoldAllowed = 0;
        } else if (!m_bAirborne && m_nHoldCounter <= g_Stage.m_nSubSteps && (!m_bJumpCut || m_bOnBlockChara) &&
                   m_bHoldAllowed && !m_bJumpBlocked && !m_bKnockedBack && !cmd.m_bLaunched) {
            // The key went down in this frame. On a block chara only in
            // the frame's last sub-step, after the block's own move.
            const bool lastSubStep = scene->m_nSubStep == g_Stage.m_nSubSteps;
            auto launch = [&](double speed) {
                m_bJumpStarted = 1;
                m_dSpeedY = speed;
                cmd.m_bLaunched = 1;
                PlayUserSe(def.m_nSound);
            };
            if (!g_SystemData.OptRepeatJumpLaunch) {
                if (!m_bJumpStarted) {
                    if (!m_bOnBlockChara) {
                        launch(cmd.m_dLaunchSpeed);
                    } else if (lastSubStep) {
                        m_bOnBlockChara = 0;
                        launch(cmd.m_dLaunchSpeed);
                    }
                }
            } else {
                m_bJumpStarted = 1;
                if (!m_bOnBlockChara) {
                    launch(cmd.m_dLaunchSpeed);
                } else if (lastSubStep) {
                    m_bOnBlockChara = 0;
                    launch(cmd.m_dLaunchSpeed * kScale102);
                }
            }
        }
    }
    // Standing again: the jump can start anew (a keyed command ends).
    if (IsStanding() && m_dSpeedY >= 0.0 && (!keyed || !held)) {
        ResetJumpHold();
        m_bKnockedBack = 0;
        if (!keyed) {
            cmd.m_bLaunched = 0;  // the jump can be repeated
            return;
        }
        cmd.m_nRemaining = 0;  // the command ends
    }
    m_bJumpHandled = 1;
}

// ---------------------------------------------------------------------------
// Drawing

void cCharaPlayer::DrawLight(DDSURFACEDATA* dst, DDSURFACEDATA* mask) {
    if (!m_Def.m_nLightShape || !mask) return;
    int cx = WrapAdd(m_nScrLeft, m_nDrawWidth / 2);
    const int cy = WrapAdd(m_nScrTop, m_nDrawHeight / 2);
    if (m_Def.m_nLightShape == 2 || m_Def.m_nLightShape == 4) {
        const int f = GetDirSign();
        cx = WrapAdd(cx, WrapAdd(f * (m_nDrawWidth / 2), -WrapMul(f, m_nLightRadius)));
    }
    long long sx = mask->nWidth / 2 - static_cast<long long>(cx);
    long long sy = mask->nHeight / 2 - static_cast<long long>(cy);
    sx = std::clamp<long long>(sx, 0, std::max(0, mask->nWidth - 640));
    sy = std::clamp<long long>(sy, 0, std::max(0, mask->nHeight - 480));
    DDBlt(dst, 0, 0, 640, 480, mask, static_cast<int>(sx), static_cast<int>(sy), 1);
}

namespace {
// The colour list of the hit-box display; the last entry cycles.
constexpr uint32_t kHitBoxColors[7] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00,
                                       0xFFFF00FF, 0xFF8000FF, 0xFF000000};

uint32_t HitBoxColor(int color, int blink) {
    if (color >= 0 && color < 7) return kHitBoxColors[color];
    return kHitBoxColors[(blink / 8) % 6];  // the rainbow runs through the first six
}
}  // namespace

void cCharaPlayer::DrawHitBoxes(DDSURFACEDATA* dst) {
    const int baseX = WrapAdd(m_nScrLeft, m_nDrawOffsetX);
    const int baseY = WrapAdd(m_nScrTop, m_nDrawOffsetY);
    for (HitBoxEntry& e : m_vHitBoxList) {
        e.nBlink = (e.nBlink + 1) & 31;
        if (e.nShown != 1 && e.nShown != 2) continue;
        const uint32_t c = HitBoxColor(e.nColor, e.nBlink);
        const int x = WrapAdd(baseX, e.nOffsetX), y = WrapAdd(baseY, e.nOffsetY);
        if (e.nShown == 1) {
            DDFillRectRGB(dst, x, y, e.nWidth, e.nHeight, c);
        } else {
            DDFillRectRGB(dst, x, y, e.nWidth, 1, c);
            DDFillRectRGB(dst, x, WrapAdd(y, e.nHeight - 1), e.nWidth, 1, c);
            DDFillRectRGB(dst, x, y, 1, e.nHeight, c);
            DDFillRectRGB(dst, WrapAdd(x, e.nWidth - 1), y, 1, e.nHeight, c);
        }
    }
}
