#include "play/shot_volley.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/random.h"
#include "engine/flow.h"
#include "frontend/replay/replay.h"
#include "play/chara.h"
#include "play/chara_computer.h"
#include "play/numeric.h"
#include "play/object_steering.h"
#include "play/scene_play.h"
#include "play/shot.h"
#include "records/cmd_kinds.h"
#include "records/common_palette.h"
#include "records/ed_flow.h"
#include "records/stage.h"

namespace {

bool FacesRight(const cChara& c) { return c.m_nFacing != 0; }

int VolleyAngle(const cEdShot& def, const cChara& user, int angle) {
    if (def.m_bMirrorAngle && FacesRight(user)) angle = 360 - angle;
    if (def.m_nSpread != 0) angle += RandRange(-def.m_nSpread, def.m_nSpread);
    return angle;
}

void FormVolley(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v) {
    // A formation number a file made up places nothing.
    if (def.m_nFormation < 0 || def.m_nFormation >= SHOT_FORMATION_COUNT) return;
    ShotFormationHandlers[def.m_nFormation](shots, user, cmd, def, v);
}

// The summoned palette entry, or null when the number is not in the palette.
template <class T>
const T* SummonEntry(const std::vector<T>& common, const std::vector<T>& stage, const cEdShot& def) {
    const std::vector<T>& palette = def.m_nSummonSource == 1 ? stage : common;
    if (def.m_nSummonEntry < 0 || def.m_nSummonEntry >= static_cast<long long>(palette.size())) return nullptr;
    return &palette[static_cast<size_t>(def.m_nSummonEntry)];
}

void Summon(cChara& user, cFlowCmd& cmd, cEdShot& def, int width, int height) {
    ShotVolley v;
    v.nWidth = width;
    v.nHeight = height;
    v.nDir = ResolveShotDirection(def.m_nDirection, user);
    v.dSpeed = 1.0;
    user.UpdateScreenRect();
    const int facing = FacesRight(user) ? 1 : 0;
    v.nOffsetX = TruncToInt(def.CalcScaledX(0, facing));
    v.nOffsetY = TruncToInt(def.CalcScaledY(0, facing));
    FormVolley(nullptr, user, cmd, def, v);
}

}  // namespace

int ResolveShotDirection(int direction, const cChara& user) {
    const bool right = FacesRight(user);
    switch (direction) {
        case 0: return right ? 3 : 2;
        case 1: return right ? 2 : 3;
        case 4: return right ? 7 : 6;
        case 5: return right ? 6 : 7;
        case 12: {
            const cFlow* flow = PlayScene()->m_lpCurFlow;
            return MapChoiceCode(flow ? flow->m_nStartDir : 0, 0, right ? 1 : 0, IsReplayPlayback() != 0,
                                 static_cast<uint32_t>(ReplayDataVersion()));
        }
        default: return direction;
    }
}

int BaseAngleOfDirection(int code) {
    switch (code) {
        case 3: return 180;
        case 6: return 90;
        case 7: return 270;
        case 8: return 45;
        case 9: return 315;
        case 10: return 135;
        case 11: return 225;
        default: return 0;
    }
}

void FireShot(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def) {
    ShotVolley v;
    v.nWidth = v.nHeight = def.m_nSize * 16;
    v.nDir = ResolveShotDirection(def.m_nDirection, user);
    if (user.m_nSide == 1) {
        user.UpdateScreenRect();
        for (int slot : {static_cast<int>(def.m_nTarget), static_cast<int>(def.m_nShotTarget)}) {
            cChara* t = user.TargetSlot(slot);
            if (t && t->m_nSide == 1) t->UpdateScreenRect();
        }
    }
    const int facing = FacesRight(user) ? 1 : 0;
    v.dSpeed = def.m_nSpeed * 0.1;
    v.nAngle = VolleyAngle(def, user, def.m_nAngle);
    v.nRange = def.m_nRange;
    v.nLife = def.m_nLife;
    for (int i = 0; i <= def.m_nClones; ++i) {
        v.nClone = i;
        v.nOffsetX = TruncToInt(def.CalcScaledX(i, facing));
        v.nOffsetY = TruncToInt(def.CalcScaledY(i, facing));
        FormVolley(shots, user, cmd, def, v);
        v.dSpeed += def.m_nSpeedStep * 0.1;
        v.nAngle = VolleyAngle(def, user, def.m_nAngle + def.m_nAngleStep * (i + 1));
        v.nRange += def.m_nRangeStep;
        v.nLife += def.m_nLifeStep;
    }
}

void SummonChara(cChara& user, cFlowCmd& cmd, cEdShot& def) {
    const cEdChara* entry = SummonEntry(g_CommonPalette.m_vecCharaPalette, g_Stage.m_vecCharaPalette, def);
    if (!entry || entry->m_nSide != 1) return;
    Summon(user, cmd, def, entry->m_nSize * 32, entry->m_nSize * 32);
}

void SummonItem(cChara& user, cFlowCmd& cmd, cEdShot& def) {
    const cEdItem* entry = SummonEntry(g_CommonPalette.m_vecItemPalette, g_Stage.m_vecItemPalette, def);
    if (!entry) return;
    Summon(user, cmd, def, entry->m_nSize * 32, entry->m_nSize * 32);
}

void SummonBlock(cChara& user, cFlowCmd& cmd, cEdShot& def) {
    if (!SummonEntry(g_CommonPalette.m_vecBlockPalette, g_Stage.m_vecBlockPalette, def)) return;
    if (def.m_nBlockSummonMode == 2) PlayScene()->m_vSummonedCells.clear();
    Summon(user, cmd, def, 32, 32);
}

void EmitOne(std::list<cShot>*, ShotVolley& v, cChara& user, cFlowCmd& cmd, cEdShot& def) {
    cScenePlay& scene = *PlayScene();
    const int kind = cmd.m_lpDef ? cmd.m_lpDef->m_nKind : -1;
    switch (kind) {
        case CMD_SHOT: {
            cShot made;
            made.InitShot(scene.m_nShotSerial, user, CMD_SHOT, def, v);
            cShot& shot = AddShot(scene, made);
            scene.m_nShotSerial = WrapAdd(scene.m_nShotSerial, 1);
            // Links to the stored copy. A destroyed shot takes its entries
            // with it, so the new node is in no list yet and needs no search.
            const int trajectory = shot.m_EdShot.m_nTrajectory;
            if ((trajectory == TRAJ_AIM_TARGET || trajectory == TRAJ_HOME_TARGET) && shot.m_lpTarget)
                shot.m_lpTarget->m_vShotLinks.push_back({&shot, 0});
            else
                shot.m_lpTarget = nullptr;
            if (shot.m_lpOwner) shot.m_lpOwner->m_vShotLinks.push_back({&shot, 4});
            break;
        }
        case CMD_SUMMON_BLOCK:
            if (const cEdBlock* e = SummonEntry(g_CommonPalette.m_vecBlockPalette, g_Stage.m_vecBlockPalette, def))
                scene.CreateBlockAt(v.nX, v.nY, &cmd, *e);
            break;
        case CMD_SUMMON_CHARA:
            if (const cEdChara* e = SummonEntry(g_CommonPalette.m_vecCharaPalette, g_Stage.m_vecCharaPalette, def)) {
                int facing = FacesRight(user) ? 1 : 0;
                if (def.m_bSummonFlip) facing = 1 - facing;
                const int group = def.m_nSummonSide == 1   ? user.m_nGroup
                                  : def.m_nSummonSide == 2 ? def.m_nSide
                                                           : e->m_nGroup;
                scene.CreateCharaAt(g_lstCharas, v.nX, v.nY, group, facing, &cmd, *e, scene.m_nCharaSerial, nullptr);
            }
            break;
        case CMD_SUMMON_ITEM:
            if (const cEdItem* e = SummonEntry(g_CommonPalette.m_vecItemPalette, g_Stage.m_vecItemPalette, def))
                scene.CreateItemAt(g_lstItems, v.nX, v.nY, &cmd, *e, scene.m_nItemSerial);
            break;
        default: break;
    }
}

int AimAngleAtTarget(int px, int py, cChara& user, cEdShot& def, ShotVolley& v) {
    cChara* target = user.TargetSlot(def.m_nTarget);
    if (!target) return FacesRight(user) ? 180 : 0;
    const cScenePlay& scene = *PlayScene();
    const cScrollAxis& ax = scene.m_ScrollX;
    const cScrollAxis& ay = scene.m_ScrollY;
    const double X = ax.m_dPos, Y = ay.m_dPos;
    const int tcx = ScreenBoxCentreX(*target), tcy = ScreenBoxCentreY(*target);
    const bool scrolls = (ax.m_dSpeed != 0.0 && !ax.m_bAtEdge) || (ay.m_dSpeed != 0.0 && !ay.m_bAtEdge);
    if (scrolls && !def.m_bFollowScroll && target->m_bFollowScroll) {
        // Lead the target: the shot's own speed, aimed where they meet.
        cShot probe;
        probe.InitShot(scene.m_nShotSerial, user, CMD_SHOT, def, v);
        const double F = g_Stage.m_dSubSteps;
        const double t = (def.m_nSpeed + def.m_nSpeedStep * v.nClone) * 0.1 / F;
        double vx = 0.0, vy = 0.0;
        int dir = 0;
        ComputeSteering(vx, vy, dir, target, px - TruncToInt(X), py - TruncToInt(Y), tcx, tcy, t, 0, 1, 0);
        v.dSpeed = std::sqrt(vx * vx + vy * vy) * F;
        return TruncToInt(std::atan2(vy, vx) * kDegPerRad + 180);
    }
    const double dx = TruncToInt(X) + tcx - px, dy = TruncToInt(Y) + tcy - py;
    return TruncToInt(std::atan2(dy, dx) * kDegPerRad + 180 + 0.5);
}

void RotateAboutUser(ShotVolley& v, const cChara& user, double angle) {
    const cScenePlay& scene = *PlayScene();
    const double X = scene.m_ScrollX.m_dPos, Y = scene.m_ScrollY.m_dPos;
    const int L = user.m_nScrLeft, T = user.m_nScrTop, R = user.m_nScrRight, B = user.m_nScrBottom;
    const int DW = user.m_nDrawWidth, DH = user.m_nDrawHeight;
    const int w = v.nWidth, h = v.nHeight;
    const double theta = (angle + 225) * kRadPerDegShort;
    const double t = kSqrtHalf * (w / 2 + R - L - DW / 2 + 1);
    const double r = kSqrtHalf * (h / 2 + B - T - DH / 2 + 1);
    const double cx = L + DW / 2, cy = T + DH / 2;
    v.nStartX = TruncToInt(cx + X + t * std::cos(theta) + r * std::sin(theta) - w / 2);
    v.nStartY = TruncToInt(cy + Y + t * std::sin(theta) - r * std::cos(theta) - h / 2);
}
