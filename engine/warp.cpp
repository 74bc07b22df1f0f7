#include "engine/warp.h"

#include "base/checked_vector.h"
#include "engine/command_results.h"
#include "engine/flow.h"
#include "engine/flow_runtime.h"
#include "engine/key_conds.h"
#include "media/input/input_list.h"
#include "play/chara.h"
#include "play/scene_play.h"
#include "records/cmd_kinds.h"
#include "records/ed_flow.h"
#include "records/ed_move.h"
#include "records/system_data.h"

namespace {

constexpr double kHalfRoot2 = 0.7071067811865476;

// The absolute direction code (2..11) of a movement's direction code for a
// chara facing `facing`; the input direction is the one held now. With
// collapse, an input diagonal keeps only its horizontal part.
int AbsoluteDirection(int code, int facing, bool collapse) {
    switch (code) {
        case 0: return facing ? 3 : 2;
        case 1: return facing ? 2 : 3;
        case 4: return facing ? 7 : 6;
        case 5: return facing ? 6 : 7;
        case 12: {
            const int channel = GetInputDirection(g_InputList.at(0));
            const int a = MapChoiceCode(channel, 1, facing, false, 0);
            if (collapse && (a == 8 || a == 9)) return 2;
            if (collapse && (a == 10 || a == 11)) return 3;
            return a;
        }
        default: return code;
    }
}

// The step of distance d along an absolute direction code.
void Step(int code, double d, double& dx, double& dy) {
    const double h = d * kHalfRoot2;
    switch (code) {
        case 2: dx = -d, dy = 0; break;
        case 3: dx = d, dy = 0; break;
        case 6: dx = 0, dy = -d; break;
        case 7: dx = 0, dy = d; break;
        case 8: dx = -h, dy = -h; break;
        case 9: dx = -h, dy = h; break;
        case 10: dx = h, dy = -h; break;
        case 11: dx = h, dy = h; break;
        default: dx = dy = 0; break;
    }
}

// The direction and distance of a move from a chara facing as `ref` does.
void MoveBy(const cEdMove& m, const cChara& chara, const cChara& ref, double& dx, double& dy) {
    const bool collapse = g_SystemData.m_bCompat721 && !ref.m_bFlying;
    const int code = AbsoluteDirection(m.m_nDirection, ref.m_nFacing, collapse);
    const double d = (static_cast<double>(m.m_nDistanceStep) * chara.m_nClone + m.m_nDistance) * 16;
    Step(code, d, dx, dy);
}

void AddX(cChara& c, double dx) {
    c.m_dX += dx;
    c.AfterMoveX();
}
void AddY(cChara& c, double dy) {
    c.m_dY += dy;
    c.AfterMoveY();
}

// The draw box's centre (x) and its centre or bottom (y) on a spot of the
// stage.
void PlaceBoxX(cChara& c, double centre) {
    c.m_dX = centre - c.m_nDrawWidth / 2 + c.m_nDrawOffsetX;
    c.AfterMoveX();
}
void PlaceBoxY(cChara& c, double y, bool bottom) {
    c.m_dY = y - (bottom ? c.m_nDrawHeight : c.m_nDrawHeight / 2) + c.m_nDrawOffsetY;
    c.AfterMoveY();
}

// Base 5: to coordinates of the kind (relative, absolute, screen).
void WarpToCoords(cChara& c, const cEdMove& m, int fromStatus) {
    const cScenePlay& scene = *PlayScene();
    double x = 0, y = 0, centring = 16;
    if (m.m_nTargetUnit == 0) {
        x = m.m_nTargetX * 32.0 + m.m_nTargetXDot;
        y = m.m_nTargetY * 32.0 + m.m_nTargetYDot;
    } else if (m.m_nTargetUnit == 1) {
        x = static_cast<double>(m.m_nTargetX) + m.m_nTargetXDot;
        y = static_cast<double>(m.m_nTargetY) + m.m_nTargetYDot;
        centring = 0;
    }
    const bool useX = m.m_bUseTargetX != 0, useY = m.m_bUseTargetY != 0;
    const bool bottom = IsBottomAnchor(m.m_nAnchor, c.m_bFlying);
    switch (m.m_nCoordMode) {
        case 0:
            // Mirrored for a chara facing right.
            if (c.m_nFacing && m.m_bMirrorTargetX) x = -x;
            if (c.m_nFacing && m.m_bMirrorTargetY) y = -y;
            if (useX) AddX(c, x);
            if (useY) AddY(c, y);
            break;
        case 1:
            if (g_SystemData.m_bCompat822 || (fromStatus && g_SystemData.m_bCompat895)) {
                // The older form: cells, then dots.
                if (useX) {
                    c.WarpToCellX(m.m_nTargetX);
                    AddX(c, m.m_nTargetXDot);
                }
                if (useY) {
                    c.WarpToCellY(m.m_nTargetY, 1);
                    AddY(c, m.m_nTargetYDot);
                }
                break;
            }
            if (useX) PlaceBoxX(c, scene.m_ScrollX.m_nBorder * 32.0 + x + centring + 0.5);
            if (useY) PlaceBoxY(c, scene.m_ScrollY.m_nBorder * 32.0 + y + (bottom ? 16 : 0) + centring + 0.5, bottom);
            break;
        case 2: {
            const double sx = scene.m_ScrollX.m_dPos, sy = scene.m_ScrollY.m_dPos;
            if (g_SystemData.m_bCompat822) {
                // The older form: the screen box's top-left on the point.
                if (useX) {
                    c.m_dX = sx + x + c.m_nDrawOffsetX;
                    c.AfterMoveX();
                }
                if (useY) {
                    c.m_dY = sy + y + c.m_nDrawOffsetY;
                    c.AfterMoveY();
                }
                break;
            }
            const double lift = g_SystemData.m_bCompat894 ? 32 : 16;
            if (useX) PlaceBoxX(c, sx + x + centring + 0.5);
            if (useY) PlaceBoxY(c, sy + y + (bottom ? lift : 0) + centring + 0.5, bottom);
            break;
        }
        default: break;
    }
}

}  // namespace

bool DoWarp(cChara& c, const cEdFlowCmd& cmd, int fromStatus) {
    const cEdMove* m = cmd.m_spMove.get();
    if (!m) return false;  // files may leave the movement part out
    cScenePlay& scene = *PlayScene();
    // The draw fixing ends; the place is kept to go back to.
    c.m_Draw.abFixed[0] = c.m_Draw.abFixed[1] = 0;
    const double saved[4] = {c.m_dX, c.m_dY, c.m_dRight, c.m_dBottom};
    const int32_t savedCells[4] = {c.m_nCellLeft, c.m_nCellTop, c.m_nCellRight, c.m_nCellBottom};
    // The move from the chara itself, from a target, or to coordinates.
    const int base = m->m_nMoveMode;
    double dx = 0, dy = 0;
    if (base == WARP_FROM_SELF) {
        MoveBy(*m, c, c, dx, dy);
        AddX(c, dx);
        AddY(c, dy);
    } else if (base >= WARP_FROM_TARGET1 && base <= WARP_FROM_TARGET4) {
        cChara* target = c.TargetSlot(cChara::SubjectToSlot(base));
        if (!target) return false;
        MoveBy(*m, c, *target, dx, dy);
        c.UpdateScreenRect();
        target->UpdateScreenRect();
        AddX(c, target->m_nScrLeft + target->m_nDrawWidth / 2 + dx - (c.m_nScrLeft + c.m_nDrawWidth / 2));
        AddY(c, target->m_nScrTop + target->m_nDrawHeight / 2 + dy - (c.m_nScrTop + c.m_nDrawHeight / 2));
    } else if (base == WARP_TO_COORDS) {
        WarpToCoords(c, *m, fromStatus);
    }
    // A place outside the stage or in a wall refuses the warp.
    c.UpdateScreenRect();
    if (!c.IsInStage(0) || scene.IsBlockedAt(c)) {
        c.m_dX = saved[0];
        c.m_dY = saved[1];
        c.m_dRight = saved[2];
        c.m_dBottom = saved[3];
        c.m_nCellLeft = savedCells[0];
        c.m_nCellTop = savedCells[1];
        c.m_nCellRight = savedCells[2];
        c.m_nCellBottom = savedCells[3];
        c.AfterMoveY();
        c.AfterMoveX();
        // The box on screen was refreshed for the refused place.
        c.UpdateScreenRect();
        return false;
    }
    if (!c.m_bFlying) c.m_dSpeedY = 0;
    // Pinned to the screen while the view scrolls.
    if (base == WARP_TO_COORDS && m->m_nCoordMode == 2) {
        c.m_Draw.abFixed[0] = c.m_Draw.abFixed[1] = 1;
        c.m_Draw.anFixedPos[0] = c.m_nScrLeft;
        c.m_Draw.anFixedPos[1] = c.m_nScrTop;
    }
    return true;
}

void ExecWarp(cChara& chara, cFlowCmd& inst) {
    if (!inst.m_lpDef) return;
    const bool ok = DoWarp(chara, *inst.m_lpDef, 0);
    if (CmdParam(*inst.m_lpDef, 0)) WriteCmdResult(ok ? 1 : 2);
}
