#include "play/tile_collision.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/flow_trigger.h"
#include "play/chara.h"
#include "play/chara_player.h"
#include "play/map_cell.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "play/sound_requests.h"
#include "records/ed_item.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "play/item.h"

namespace {

enum : int {
    kEventHitBlock = 11,
    kEventBlockSide = 12,
    kEventBlockLeft = 13,
    kEventBlockRight = 14,
};
constexpr int kSeSpring = 11;

bool PassesBlocks(const cChara& c) { return c.m_bFlying && c.m_nWallMode == 0; }
bool CrushedByWalls(const cChara& c) { return c.m_bFlying && c.m_nWallMode == 2; }
cCharaPlayer* AsPlayer(cChara& c) { return dynamic_cast<cCharaPlayer*>(&c); }
bool IsHeroKind(cChara& c) { return AsPlayer(c) != nullptr; }

// The cell of pixel (x, y), both already inside the map.
int CellAt(int x, int y) {
    const int shift = PlayScene()->m_ScrollX.m_nShift & 31;
    return (x >> 5) + ((y >> 5) << shift);
}

int HitModeOf(int cell, int group) { return g_vMapCells.at(cell).GetHitMode(group); }

// Lands when rising is allowed to land, the chara flies or it does not rise.
bool MayLand(const cChara& c) { return g_SystemData.OptLandWhileRising || c.m_bFlying || c.m_dSpeedY >= 0; }

int Floor31(double v) { return TruncToInt(std::floor(v)) & 31; }

}  // namespace

int GetCellIndex(cChara& chara, int x1, int y1, int x2, int y2) {
    const cScenePlay* scene = PlayScene();
    const int width = scene->m_ScrollX.m_nLimit, height = scene->m_ScrollY.m_nLimit;
    if (width <= 0 || height <= 0) return 0;
    x1 = std::clamp(x1, 0, width - 1);
    x2 = std::clamp(x2, 0, width - 1);
    y1 = std::clamp(y1, 0, height - 1);
    y2 = std::max(y2, 0);
    const int mult = static_cast<int8_t>(chara.m_Def.m_nSize);
    if (mult < 0) return 0;
    const int group = chara.m_nGroup;
    int bestCell = 0, bestMode = -1;
    if (x1 == x2) {
        for (int i = 0; i <= mult; ++i) {
            const int y = std::min(WrapAdd(y1, WrapMul(i, chara.m_nBaseHeight - 1)), height - 1);
            const int cell = CellAt(x1, y);
            const int mode = HitModeOf(cell, group);
            if (mode > bestMode) {
                bestMode = mode;
                bestCell = cell;
            }
        }
        return bestCell;
    }
    if (y1 != y2) return 0;
    const int centre = (x1 + x2) >> 1;
    int bestDist = 0;
    for (int i = 0; i <= mult; ++i) {
        const int x = std::min(WrapAdd(x1, WrapMul(i, chara.m_nBaseWidth - 1)), width - 1);
        const int cell = CellAt(x, y1);
        const int mode = HitModeOf(cell, group);
        const int dist = std::abs(x - centre);
        if (mode > bestMode || (mode == bestMode && dist < bestDist)) {
            bestMode = mode;
            bestCell = cell;
            bestDist = dist;
        }
    }
    return bestCell;
}

int FindFootCell(cChara& chara) {
    const cScenePlay* scene = PlayScene();
    const int width = scene->m_ScrollX.m_nLimit, height = scene->m_ScrollY.m_nLimit;
    if (width <= 0 || height <= 0) return 0;
    const int mult = static_cast<int8_t>(chara.m_Def.m_nSize);
    if (mult < 0) return 0;
    const int samples = mult % 2 == 0 ? mult + 1 : mult + 2;
    const double left = chara.m_dX, right = chara.m_dRight;
    // One sample (a size of 0) lies at the left edge.
    const double w = samples > 1 ? static_cast<double>(chara.m_nWidth) / (samples - 1) : 0.0;
    const int y = std::clamp(TruncToInt(chara.m_dBottom), 0, height - 1);
    const double centre = (left + right) / 2;
    int bestCell = 0, bestMode = -1;
    double bestDist = 0.0;
    for (int i = 0; i < samples; ++i) {
        const double xs = (i == samples - 1 && samples > 1) ? right : left + i * w;
        const int x = std::clamp(TruncToInt(xs), 0, width - 1);
        const int cell = CellAt(x, y);
        const int mode = HitModeOf(cell, chara.m_nGroup);
        const double dist = std::fabs(xs - centre);
        if (mode > bestMode || (mode == bestMode && dist < bestDist)) {
            bestMode = mode;
            bestCell = cell;
            bestDist = dist;
        }
    }
    return bestCell;
}

int CellOfCorners(int c1, int r1, int c2, int r2, int group) {
    const cScenePlay* scene = PlayScene();
    const int columns = scene->m_ScrollX.m_nStride, rows = scene->m_ScrollY.m_nCells;
    if (columns <= 0 || rows <= 0) return 0;
    const int shift = scene->m_ScrollX.m_nShift & 31;
    const int corners[4][2] = {{c1, r1}, {c2, r1}, {c1, r2}, {c2, r2}};
    int bestCell = 0, bestMode = -1;
    for (const auto& [c, r] : corners) {
        const int cell = std::clamp(c, 0, columns - 1) + (std::clamp(r, 0, rows - 1) << shift);
        const int mode = HitModeOf(cell, group);
        if (mode > bestMode) {
            bestMode = mode;
            bestCell = cell;
        }
    }
    return bestCell;
}

namespace {

// The wall at the vertical edge x: 0 none, 1 a wall that stops the chara
// (mode: its hit mode), 2 a wall that kills it.
int MeetWall(cChara& chara, double edge, int& mode) {
    const int x = TruncToInt(edge);
    mode = HitModeOf(GetCellIndex(chara, x, TruncToInt(chara.m_dY), x, TruncToInt(chara.m_dBottom)), chara.m_nGroup);
    if (mode == 1) return CrushedByWalls(chara) ? 2 : 1;
    if (mode == 2) return IsHeroKind(chara) || CrushedByWalls(chara) ? 2 : 1;
    return 0;
}

// The end of a wall hit on the side (0 left, 1 right).
void StoppedByWall(cChara& chara, int side) {
    chara.m_dImpactX = 0.0;
    chara.AfterMoveX();
    chara.m_nWallSide = side;
    chara.MeetWall(-1, 0.0);
    FireFlowTriggerEx(chara, kEventHitBlock, nullptr, 0);
    FireFlowTriggerEx(chara, kEventBlockSide, nullptr, 0);
    FireFlowTriggerEx(chara, side == 0 ? kEventBlockLeft : kEventBlockRight, nullptr, 0);
}

}  // namespace

int HitWallLeft(cChara& chara) {
    if (PassesBlocks(chara)) return 0;
    int mode = 0;
    if (const int wall = MeetWall(chara, chara.m_dX, mode); wall != 1) return wall;
    chara.m_adPusher[CONTACT_LEFT] = 0.0;
    chara.m_abContact[CONTACT_LEFT] = 1;
    chara.m_dX += 32 - Floor31(chara.m_dX);
    if (mode == 1 && !g_SystemData.OptSimpleWalls) {
        chara.UpdatePosX();
        for (int i = 0; i < 15 && chara.HitsMapCorner(); ++i) {
            chara.m_dX += 0.1;
            chara.AfterMoveX();
        }
    }
    StoppedByWall(chara, 0);
    return 0;
}

int HitWallRight(cChara& chara) {
    if (PassesBlocks(chara)) return 0;
    int mode = 0;
    if (const int wall = MeetWall(chara, chara.m_dRight, mode); wall != 1) return wall;
    chara.m_adPusher[CONTACT_RIGHT] = 0.0;
    chara.m_abContact[CONTACT_RIGHT] = 1;
    if (mode == 1 && !g_SystemData.OptSimpleWalls) {
        chara.m_dX -= Floor31(chara.m_dRight);
        chara.UpdatePosX();
        for (int i = 0; i < 15 && chara.HitsMapCorner(); ++i) {
            chara.m_dX -= 0.1;
            chara.AfterMoveX();
        }
    } else {
        chara.m_dX -= Floor31(chara.m_dRight) + 1;
    }
    StoppedByWall(chara, 1);
    return 0;
}

int CollideWallsX(cChara& chara) {
    if (PassesBlocks(chara)) return 0;
    const bool rightFirst = (chara.m_bFlying && chara.m_nWallMode == 1) || chara.m_dSpeedX > 0;
    if (rightFirst) {
        if (HitWallRight(chara) == 2) return 2;
        return HitWallLeft(chara) == 2 ? 2 : 0;
    }
    if (HitWallLeft(chara) == 2) return 2;
    return HitWallRight(chara) == 2 ? 2 : 0;
}

int CollideBothX(cChara& chara) {
    if (PassesBlocks(chara)) return 0;
    const int left = HitWallLeft(chara);
    const int right = HitWallRight(chara);
    return left == 2 || right == 2 ? 2 : 0;
}

int HitCeiling(cChara& chara) {
    if (PassesBlocks(chara)) return 0;
    const int y = TruncToInt(chara.m_dY);
    const int cell = GetCellIndex(chara, TruncToInt(chara.m_dX), y, TruncToInt(chara.m_dRight), y);
    const int mode = HitModeOf(cell, chara.m_nGroup);
    if (mode == 0) return 0;
    if (mode == 2 && IsHeroKind(chara)) return 2;
    if (CrushedByWalls(chara)) return 2;
    chara.HitCeiling();
    return 0;
}

int HitFloor(cChara& chara) {
    if (PassesBlocks(chara)) return 0;
    const int y = TruncToInt(chara.m_dBottom);
    const int cell = GetCellIndex(chara, TruncToInt(chara.m_dX), y, TruncToInt(chara.m_dRight), y);
    chara.m_nFootBlock = cell;
    const int mode = HitModeOf(cell, chara.m_nGroup);
    const bool hero = IsHeroKind(chara);
    if (mode == 0) {
        chara.m_nGraceCounter = WrapAdd(chara.m_nGraceCounter, 1);
        chara.m_nFootBlock = 0;
        if (chara.m_nGraceCounter >= WrapMul(8, g_Stage.m_nSubSteps)) {
            if (hero && !chara.m_bOnBlockChara) chara.m_bJumpBlocked = 1;
            chara.m_bAirborne = 1;
        }
        return 0;
    }
    if (mode == 1) {
        if (CrushedByWalls(chara)) return 2;
        if (!MayLand(chara)) return 0;
        if (hero) chara.m_nFootBlock = FindFootCell(chara);
        chara.m_nLastFootBlock = chara.m_nFootBlock;
        chara.LandOnBlock();
        return 0;
    }
    if (mode == 2) {
        chara.m_nLastFootBlock = chara.m_nFootBlock;
        if (hero || CrushedByWalls(chara)) return 2;
        if (MayLand(chara)) chara.LandOnBlock();
    }
    return 0;
}

int CollideWallsY(cChara& chara) {
    if (PassesBlocks(chara)) return 0;
    chara.m_nFootBlock = 0;
    const bool floorFirst = (chara.m_bFlying && chara.m_nWallMode == 1) || chara.m_dSpeedY > 0;
    if (floorFirst) {
        if (HitFloor(chara) == 2) return 2;
        return HitCeiling(chara) == 2 ? 2 : 0;
    }
    if (HitCeiling(chara) == 2) return 2;
    return HitFloor(chara) == 2 ? 2 : 0;
}

int CollideBothY(cChara& chara) {
    if (PassesBlocks(chara)) return 0;
    const bool hero = IsHeroKind(chara);
    {
        const int y = TruncToInt(chara.m_dBottom);
        int cell = GetCellIndex(chara, TruncToInt(chara.m_dX), y, TruncToInt(chara.m_dRight), y);
        const int mode = HitModeOf(cell, chara.m_nGroup);
        if (mode == 1) {
            if (CrushedByWalls(chara)) return 2;
            if (!MayLand(chara)) return 0;
            if (hero) cell = FindFootCell(chara);
            chara.m_nFootBlock = chara.m_nLastFootBlock = cell;
            chara.LandOnBlock();
        } else if (mode == 2) {
            if (hero) cell = FindFootCell(chara);
            chara.m_nFootBlock = chara.m_nLastFootBlock = cell;
            if (hero || CrushedByWalls(chara)) return 2;
            if (!MayLand(chara)) return 0;
            chara.LandOnBlock();
        }
    }
    const int y = TruncToInt(chara.m_dY);
    const int cell = GetCellIndex(chara, TruncToInt(chara.m_dX), y, TruncToInt(chara.m_dRight), y);
    const int mode = HitModeOf(cell, chara.m_nGroup);
    if (mode == 2 && hero) return 2;
    if (mode == 1 || mode == 2) {
        if (CrushedByWalls(chara)) return 2;
        chara.HitCeiling();
    }
    return 0;
}

void KeepInViewX(cChara& chara) {
    const cScrollAxis& ax = PlayScene()->m_ScrollX;
    if (!ax.m_bAutoOn && !chara.m_bFlying) return;
    chara.UpdateScreenRect();
    if (chara.m_nScrLeft + chara.m_nDrawOffsetX < 0) {
        chara.m_abContact[CONTACT_LEFT] = 1;
        chara.m_adPusher[CONTACT_LEFT] = 0.0;
        chara.m_dX = ax.m_dPos;
        chara.AfterMoveX();
    } else if (chara.m_nScrRight - chara.m_nDrawOffsetX + 1 >= 640) {
        chara.m_abContact[CONTACT_RIGHT] = 1;
        chara.m_adPusher[CONTACT_RIGHT] = 0.0;
        chara.m_dX = ax.m_dPos + 640 - chara.m_nWidth - 1;
        chara.AfterMoveX();
    }
}

int KeepInViewY(cChara& chara) {
    const cScrollAxis& ay = PlayScene()->m_ScrollY;
    if (!ay.m_bAutoOn && !chara.m_bFlying) return 0;
    chara.UpdateScreenRect();
    if (chara.m_nScrTop + chara.m_nDrawOffsetY < 0) {
        chara.m_abContact[CONTACT_TOP] = 1;
        chara.m_adPusher[CONTACT_TOP] = 0.0;
        chara.m_dY = ay.m_dPos;
        chara.AfterMoveY();
    } else if (chara.m_nScrBottom - chara.m_nDrawOffsetY + 1 >= 480) {
        chara.m_abContact[CONTACT_BOTTOM] = 1;
        chara.m_adPusher[CONTACT_BOTTOM] = 0.0;
        chara.m_dY = ay.m_dPos + 480 - chara.m_nHeight - 1;
        chara.AfterMoveY();
        if (!chara.m_bFlying) return 2;
    }
    return 0;
}

void SnapToGround(cChara& chara) {
    if (g_SystemData.OptSnapAlways) {
        if (chara.m_dSpeedY >= 0) chara.m_dSpeedY += 1;
        return;
    }
    // Real divisions: sub-step speeds are per-frame speeds over the sub-steps.
    const double subSteps = g_Stage.m_nSubSteps;
    if (!(chara.m_dSpeedY >= 0 && chara.m_dSpeedY <= 1 / subSteps)) return;
    if (chara.m_bOnBlockChara || chara.m_bAirborne) return;
    const int y = TruncToInt(chara.m_dBottom + 4);
    const int cell = GetCellIndex(chara, TruncToInt(chara.m_dX + chara.m_dSpeedX), y,
                                  TruncToInt(chara.m_dRight + chara.m_dSpeedX), y);
    if (HitModeOf(cell, chara.m_nGroup)) chara.m_dSpeedY = 7 / subSteps;
}

PlayResult TakeFootBlockItem(cChara& chara) {
    cCharaPlayer* p = AsPlayer(chara);
    if (!p || chara.m_bFlying) return PlayResult::Continue;
    bool given = false;
    if (chara.m_nFootBlock && p->m_nFootItemTimer == 0 && HitModeOf(chara.m_nFootBlock, chara.m_nGroup)) {
        const cMapCell& cell = g_vMapCells.at(chara.m_nFootBlock);
        if (cell.m_nItemSource != 0) {
            if (const cEdItem* def = FindItemDef(cell.m_nItemSource, cell.m_nItemIndex)) {
                cItem item;
                item.InitItem(0, *def, 1);
                cChara* hero = Hero();
                if (const PlayResult r = GiveItem(&item, hero ? hero : &chara); r != PlayResult::Continue) return r;
                p->m_nFootItemTimer = WrapMul(g_Stage.m_nSubSteps, 60);
                given = true;
            }
        }
    }
    if (chara.m_bAirborne) {
        p->m_nFootItemTimer = 0;
    } else {
        if (p->m_nFootItemTimer > 0) --p->m_nFootItemTimer;
        if (chara.m_nFootBlock && chara.m_nLastFootBlock != p->m_nPrevFootBlock && !given) {
            p->m_nFootItemTimer = 0;
            SnapToGround(chara);
        }
    }
    return PlayResult::Continue;
}

PlayResult ApplyFootBlock(cChara& chara) {
    cCharaPlayer* p = AsPlayer(chara);
    if (!p || chara.m_bFlying) return PlayResult::Continue;
    PlayResult result = PlayResult::Continue;
    if (chara.m_nFootBlock && p->m_nFootTimer == 0 && HitModeOf(chara.m_nFootBlock, chara.m_nGroup)) {
        const cMapCell& cell = g_vMapCells.at(chara.m_nFootBlock);
        const int value = cell.m_nFootValue;
        if (cell.m_nFootEffect != cEdBlock::FOOT_NO_JUMP) p->m_bSlip = 0;
        switch (cell.m_nFootEffect) {
            case cEdBlock::FOOT_JUMP:
                PlaySe(kSeSpring);
                chara.m_dSpeedY = chara.JumpSpeed(WrapMul(value, 16));
                chara.m_bJumpStarted = 1;
                chara.m_bJumpBlocked = 0;
                p->m_bFootBlockJump = 1;
                if (cell.m_nItemSource != 0) result = TakeFootBlockItem(chara);
                break;
            case cEdBlock::FOOT_NO_JUMP: p->m_bSlip = 1; break;
            case cEdBlock::FOOT_SPEED:
                p->m_nFootKind = 3;
                p->m_dFootFactor = value * 0.01;
                p->m_nFootTimer = g_Stage.m_nSubSteps;
                break;
            case cEdBlock::FOOT_LEFT:
            case cEdBlock::FOOT_RIGHT:
                p->m_nFootKind = cell.m_nFootEffect;
                p->m_dFootFactor = value * 0.1 / g_Stage.m_dSubSteps;
                p->m_nFootTimer = g_Stage.m_nSubSteps;
                break;
            default: break;
        }
    }
    if (p->m_nFootTimer > 0) {
        switch (p->m_nFootKind) {
            case 3: chara.m_dSpeedX *= p->m_dFootFactor; break;
            case 4:
                chara.m_dSpeedX -= p->m_dFootFactor;
                if (chara.m_dImpactX > 0) chara.m_dImpactX = 0.0;
                break;
            case 5:
                chara.m_dSpeedX += p->m_dFootFactor;
                if (chara.m_dImpactX < 0) chara.m_dImpactX = 0.0;
                break;
            default: break;
        }
        if (--p->m_nFootTimer == 0) SnapToGround(chara);
    }
    return result;
}
