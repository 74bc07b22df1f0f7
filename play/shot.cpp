#include "play/shot.h"

#include <algorithm>
#include <cmath>

#include "engine/flow_runtime.h"
#include "play/chara.h"
#include "play/chara_search.h"
#include "play/map_cell.h"
#include "play/numeric.h"
#include "play/object_steering.h"
#include "play/scene_play.h"
#include "play/shot_volley.h"
#include "records/cmd_kinds.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

// Track 0 (swords): three cells of 7 ticks, then the end; track 1 (flying
// shots): two cells of 8 ticks, repeated.
const int kTrack0[] = {0, 7, 0, 1, 7, 0, 2, 7, 0, ANIME_END, 0, 0};
const int kTrack1[] = {0, 8, 0, 1, 8, 0, ANIME_RESTART, 0, 0};
const int* const kShotTracks[] = {kTrack0, kTrack1, nullptr};

// Hit sizes of the shots of side 0 and of the other sides in the stage's
// box settings.
constexpr int kHeroSideShotWidth = 40, kHeroSideShotHeight = 41;
constexpr int kShotWidth = 44, kShotHeight = 45;

void DropLink(cChara* chara, const cShot* shot, int kind) {
    std::erase_if(chara->m_vShotLinks, [&](const ShotLink& l) { return l.lpShot == shot && l.nKind == kind; });
}

double ScrollSpeed(const cScrollAxis& axis) { return axis.m_bAtEdge ? 0.0 : axis.m_dSpeed; }

}  // namespace

cShot::cShot() = default;
cShot::cShot(const cShot& other) = default;
cShot& cShot::operator=(const cShot& other) = default;
cShot::~cShot() { DetachShot(); }

void cShot::DetachShot() {
    if (m_lpTarget) {
        DropLink(m_lpTarget, this, 0);
        m_lpTarget = nullptr;
    }
    if (m_lpOwner) {
        DropLink(m_lpOwner, this, 4);
        m_lpOwner = nullptr;
    }
}

void cShot::ScaleHitBoxes(int scale) {
    m_nHitOffsetX = WrapMul(scale, m_nBaseHitOffsetX);
    m_nHitOffsetY = WrapMul(scale, m_nBaseHitOffsetY);
    m_nHitWidth = WrapMul(scale, m_nBaseHitWidth);
    m_nHitHeight = WrapMul(scale, m_nBaseHitHeight);
    ClampShotX();
    ClampToStageY(2);
}

void cShot::KeepBaseOnScale(int newScale, int oldScale, int) {
    if (newScale == oldScale) return;
    m_dY -= WrapMul(WrapAdd(newScale, -oldScale), m_nBaseHeight / 2);
    ClampToStageY(2);
}

void cShot::UpdateHitBoxX() {
    m_adHitBox[0] = m_dX + m_nHitOffsetX;
    m_adHitBox[2] = m_adHitBox[0] + m_nHitWidth - 1;
}

void cShot::UpdateHitBoxY() {
    m_adHitBox[1] = m_dY + m_nHitOffsetY;
    m_adHitBox[3] = m_adHitBox[1] + m_nHitHeight - 1;
}

void cShot::AimAcceleration(double vx, double vy, double& ax, double& ay) const {
    const double a = m_dAccel;
    if (vx == 0.0 && vy == 0.0) {
        ax = ay = 0.0;
    } else if (vy == 0.0) {
        ax = vx > 0.0 ? PerFrame(a) : -PerFrame(a);
        ay = 0.0;
    } else if (vx == 0.0) {
        ax = 0.0;
        ay = vy > 0.0 ? PerFrame(a) : -PerFrame(a);
    } else {
        const double s = std::sqrt(vx * vx + vy * vy);
        ax = PerFrame(a * vx / s);
        ay = PerFrame(a * vy / s);
    }
}

void cShot::InitShot(int key, cChara& owner, int kind, cEdShot& def, const ShotVolley& v) {
    const double F = g_Stage.m_dSubSteps;
    if (def.m_nSize == 0) def.m_nSize = 1;
    m_EdShot = def;
    const int facing = v.dVX > 0.0 ? 1 : (v.dVX == 0.0 ? owner.m_nFacing : 0);
    const bool sword = kind == CMD_SWORD;
    int width = 16, height = 16;
    if (sword) {
        const cDbSwordPart& part = g_Database.m_vecSwordType.at(def.m_nTrajectory).m_vecParts.at(0);
        width = part.m_nWidth;
        height = part.m_nHeight;
    }
    Init(key, owner.m_nSide, owner.m_nPlayer, def.m_nSide, def.m_nGraphic, kShotTracks, sword ? 0 : 1, 0, 0, width,
         height, 16, 16, facing, 1, v.nClone);
    m_nOwnerKey = owner.m_nKey;
    m_bIsShot = sword ? 0 : 1;
    if (def.m_bUserSide) {
        m_EdShot.m_nSide = static_cast<int8_t>(owner.m_nGroup);
        m_nGroup = owner.m_nGroup;
    }

    // The attack box.
    if (sword) {
        m_nBaseHitOffsetX = m_nBaseHitOffsetY = 0;
        m_nBaseHitWidth = width;
        m_nBaseHitHeight = height;
    } else {
        const bool heroSide = owner.m_nSide == 0;
        const int w = g_Stage.m_anBoxSetting[heroSide ? kHeroSideShotWidth : kShotWidth];
        const int h = g_Stage.m_anBoxSetting[heroSide ? kHeroSideShotHeight : kShotHeight];
        m_nBaseHitOffsetX = 8 - w / 2;
        m_nBaseHitOffsetY = 8 - h / 2;
        m_nBaseHitWidth = w;
        m_nBaseHitHeight = h;
    }
    m_nHitOffsetX = m_nBaseHitOffsetX;
    m_nHitOffsetY = m_nBaseHitOffsetY;
    m_nHitWidth = m_nBaseHitWidth;
    m_nHitHeight = m_nBaseHitHeight;
    SetScale(m_EdShot.m_nSize, 1, 1);

    m_dX = v.nX;
    ClampShotX();
    m_dY = v.nY;
    ClampToStageY(2);
    m_dVelX = v.dVX / F;
    m_dVelY = v.dVY / F;

    if (m_EdShot.m_bAccel) {
        m_bAccelOn = 1;
        m_dAccel = (m_EdShot.m_nAccel + m_EdShot.m_nAccelStep * v.nClone) * 0.1 / F;
        AimAcceleration(v.dVX, v.dVY, m_dMoveSpeedX, m_dMoveSpeedY);
    } else {
        m_bAccelOn = 0;
        m_dAccel = 0.0;
        m_dMoveSpeedX = m_dMoveSpeedY = 0.0;
    }
    m_dSpeedX = m_dSpeedY = 0.0;
    m_bFollowScroll = m_EdShot.m_bFollowScroll;

    if (m_EdShot.m_bUseLife) m_nLifeLeft = WrapMul(WrapMul(v.nLife, g_Stage.m_nSubSteps), 6);
    if (m_EdShot.m_bUseRange) {
        const double w = std::max(0.0, v.nRange * 16.0 - m_nWidth);
        const double c = std::fabs(v.dSpeed / F);
        if (w > 0.0 && c > 0.0) {
            m_nRangeLeft = TruncToInt(w / c);
        } else {
            m_nRangeLeft = TruncToInt(F);
            if (TruncToInt(c * F) > m_nWidth) m_nRangeLeft = TruncToInt(m_nWidth / c);
        }
        if (m_nRangeLeft < F) {
            // The range is crossed within one frame: the frame covers it.
            const double sum = std::fabs(v.dVX) + std::fabs(v.dVY);
            m_dVelX = sum != 0.0 ? (w / F) * v.dVX / sum : 0.0;
            m_dVelY = sum != 0.0 ? (w / F) * v.dVY / sum : 0.0;
            m_nRangeLeft = TruncToInt(F);
        }
    }

    m_nStepCount = m_nSwordPart = m_nTurnStart = m_nTurnEnd = m_bTrajectoryDone = 0;
    m_lpTarget = owner.TargetSlot(def.m_nShotTarget);
    m_lpOwner = &owner;
    m_bFinished = 0;
    m_bReportToOwner = def.m_bAttackTrigger;
    m_nReportGroup = def.m_nAttackGroup;
}

int cShot::ClampShotX() {
    const cScrollAxis& ax = PlayScene()->m_ScrollX;
    const bool fits = m_nWidth < WrapMul(32, ax.m_nBorder);
    int code = 0;
    if (m_dX < 0) {
        if (fits) m_dX = 0, code = 3;
    } else if (m_dX + m_nWidth - 1 >= ax.m_nLimit && fits) {
        m_dX = ax.m_nLimit - m_nWidth;
        code = 3;
    }
    UpdatePosX();
    return code;
}

int cShot::MoveShotX() {
    if (m_dMoveSpeedX != 0.0) m_dSpeedX += m_dMoveSpeedX;
    if (m_dSpeedX != 0.0) {
        const double cap = g_Stage.m_dSpeedCapStep;
        m_dSpeedX = std::clamp(m_dSpeedX, -cap, cap);
        m_dX += m_dSpeedX;
        ClampShotX();
    }
    return 0;
}

int cShot::MoveShotY() {
    if (m_dMoveSpeedY != 0.0) m_dSpeedY += m_dMoveSpeedY;
    if (m_dSpeedY != 0.0) MoveByY(2);
    ClampToStageY(2);
    return 0;
}

int cShot::ShotHitsBlock() {
    if (m_EdShot.m_bThroughBlocks == 1) return 0;
    const cScenePlay* scene = PlayScene();
    const int shift = scene->m_ScrollX.m_nShift & 31;
    const long long columns = 1LL << shift;
    // A cell outside the map (a shot too wide to be kept inside, or above
    // the top) is empty.
    auto stops = [&](int c, int r) {
        if (c < 0 || c >= columns || r < 0) return false;
        const long long index = (static_cast<long long>(r) << shift) + c;
        if (index >= static_cast<long long>(g_vMapCells.size())) return false;
        return g_vMapCells[index].GetHitMode(m_nGroup) != 0;
    };
    if (m_nWidth <= 32) {
        return stops(m_nCellLeft, m_nCellTop) || stops(m_nCellRight, m_nCellTop) || stops(m_nCellLeft, m_nCellBottom) ||
               stops(m_nCellRight, m_nCellBottom);
    }
    const int x = TruncToInt(m_dX), y = TruncToInt(m_dY);
    auto walk = [](int size, auto fn) {
        for (int i = 0; i < size - 1; i += 32)
            if (fn(i)) return true;
        return fn(size - 1);
    };
    return walk(m_nWidth, [&](int i) {
        return walk(m_nHeight, [&](int j) { return stops(WrapAdd(x, i) >> 5, WrapAdd(y, j) >> 5); });
    });
}

// ---------------------------------------------------------------------------
// The sub-step

int cShot::StepShot() {
    if (!m_bIsShot) return StepSword();
    const cScenePlay* scene = PlayScene();
    if (g_SystemData.OptFlyersFollowScroll) {
        m_dSpeedX = 0.0;
        if (m_bFlying) m_dSpeedY = 0.0;
    } else if (m_bFollowScroll) {
        m_dSpeedX = ScrollSpeed(scene->m_ScrollX);
        if (m_bFlying) m_dSpeedY = ScrollSpeed(scene->m_ScrollY);
    } else {
        m_dSpeedX = 0.0;
        if (m_bFlying) m_dSpeedY = 0.0;
    }

    const int kind = m_EdShot.m_nTrajectory;
    if (kind >= 0 && kind < SHOT_TRAJECTORY_COUNT && ShotTrajectoryHandlers[kind]) (this->*ShotTrajectoryHandlers[kind])();

    if (m_bAccelOn) {
        m_dVelX += m_dMoveSpeedX;
        if (m_bFlying)
            m_dVelY += m_dMoveSpeedY;
        else
            m_dSpeedY += m_dMoveSpeedY;
    }
    m_dSpeedX += m_dVelX;
    if (m_bFlying) m_dSpeedY += m_dVelY;

    if (m_EdShot.m_bUseLife) {
        if (m_nLifeLeft <= 0) return 1;
        --m_nLifeLeft;
    }
    if (m_dSpeedX != 0.0) m_nFacing = m_dSpeedX > 0.0 ? 1 : 0;

    if (m_EdShot.m_bUseRange) {
        if (m_nRangeLeft > 0) {
            --m_nRangeLeft;
            return 0;
        }
        if (!m_EdShot.m_bStayAtRange) return 1;
        // It stops where it is, riding the scrolling when it follows it.
        m_dVelX = m_dVelY = 0.0;
        m_EdShot.m_nTrajectory = TRAJ_STRAIGHT;
        if (m_bFollowScroll) {
            if (!scene->m_ScrollX.m_bAtEdge) m_dSpeedX = scene->m_ScrollX.m_dSpeed;
            if (m_bFlying && !scene->m_ScrollY.m_bAtEdge) m_dSpeedY = scene->m_ScrollY.m_dSpeed;
        } else {
            m_dSpeedX = m_dSpeedY = 0.0;
        }
    }
    return 0;
}

const cShot::TrajectoryFn cShot::ShotTrajectoryHandlers[SHOT_TRAJECTORY_COUNT] = {
    nullptr,           &cShot::AimOnce,   &cShot::AimOnce,   &cShot::AimOnce,  &cShot::HomeStep,
    &cShot::HomeStep, &cShot::HomeStep, &cShot::HomeStep, &cShot::WaveStep, &cShot::FallStep,
};

double cShot::TrajectorySpeed() const {
    return (m_EdShot.m_nSpeed + m_EdShot.m_nSpeedStep * m_nClone) * 0.1 / g_Stage.m_dSubSteps;
}

// Sub-steps to fly param half blocks at the trajectory speed (0 when it
// does not move).
int cShot::TurnCount(int param) const { return m_dSpeed == 0.0 ? 0 : TruncToInt(param * 16 / m_dSpeed); }

cChara* cShot::FindTrajectoryTarget(int kind) {
    auto live = [](cChara* c) { return c && !c->m_bDead ? c : nullptr; };
    auto nearest = [&](int group) {
        const std::list<cChara*>& list = PlayScene()->m_vCharaGroups.at(group);
        return NearestToMe(*this, std::vector<cChara*>(list.begin(), list.end()));
    };
    switch (kind) {
        case TRAJ_AIM_HERO:
        case TRAJ_HOME_HERO: return Hero();
        case TRAJ_AIM_NEAREST: return nearest(m_EdShot.m_nTrajectoryParam[1]);
        case TRAJ_HOME_NEAREST_DROP:
        case TRAJ_HOME_NEAREST_SWITCH: return nearest(m_EdShot.m_nTrajectoryParam[2]);
        case TRAJ_AIM_TARGET:
        case TRAJ_HOME_TARGET: return live(m_lpTarget);
        default: return nullptr;
    }
}

void cShot::AimOnce() {
    if (m_bTrajectoryDone) return;
    if (m_nStepCount == 0) {
        m_dSpeed = TrajectorySpeed();
        if (m_EdShot.m_nTrajectoryParam[0] != 0) m_nTurnStart = TurnCount(m_EdShot.m_nTrajectoryParam[0]);
    }
    if (m_nStepCount == m_nTurnStart) {
        if (cChara* target = FindTrajectoryTarget(m_EdShot.m_nTrajectory)) {
            UpdateScreenRect();
            int dir = 0;
            ComputeSteering(m_dVelX, m_dVelY, dir, target, ScreenBoxCentreX(*this), ScreenBoxCentreY(*this),
                            ScreenBoxCentreX(*target), ScreenBoxCentreY(*target), m_dSpeed, m_bFollowScroll, 1, 0);
            if (m_bAccelOn) AimAcceleration(m_dVelX, m_dVelY, m_dMoveSpeedX, m_dMoveSpeedY);
        }
        m_bTrajectoryDone = 1;
    }
    ++m_nStepCount;
}

void cShot::HomeStep() {
    if (m_bTrajectoryDone) return;
    if (m_nStepCount == 0) {
        m_dSpeed = TrajectorySpeed();
        if (m_EdShot.m_nTrajectoryParam[0] != 0) m_nTurnStart = TurnCount(m_EdShot.m_nTrajectoryParam[0]);
        if (m_EdShot.m_nTrajectoryParam[1] != 0) m_nTurnEnd = TurnCount(m_EdShot.m_nTrajectoryParam[1]);
    }
    if (m_nStepCount >= m_nTurnEnd) {
        m_bTrajectoryDone = 1;
    } else if (m_nStepCount >= m_nTurnStart) {
        if (cChara* target = FindTrajectoryTarget(m_EdShot.m_nTrajectory)) {
            UpdateScreenRect();
            HomeOn(*target);
        }
    }
    ++m_nStepCount;
}

void cShot::HomeOn(cChara& target) {
    double vx = 0.0, vy = 0.0;
    int dir = 0;
    ComputeSteering(vx, vy, dir, &target, ScreenBoxCentreX(*this), ScreenBoxCentreY(*this), ScreenBoxCentreX(target),
                    ScreenBoxCentreY(target), m_dSpeed, m_bFollowScroll, 1, 0);
    // An accelerating shot turns at once only where homing starts, and
    // steers by its acceleration afterwards.
    if (!m_bAccelOn || m_nStepCount == m_nTurnStart) {
        m_dVelX = vx;
        m_dVelY = vy;
    }
    AimAcceleration(vx, vy, m_dMoveSpeedX, m_dMoveSpeedY);
}

void cShot::WaveStep() {
    int16_t* p = m_EdShot.m_nTrajectoryParam;
    const double F = g_Stage.m_dSubSteps;
    if (m_nStepCount == 0) {
        p[0] = static_cast<int16_t>(p[0] * 16);
        const double a = m_nFacing == 1 ? p[2] : p[2] + 180.0;
        // A wave of speed 0 stands still (a / 0 would make every later
        // position NaN).
        m_dWavePhase = p[1] != 0 ? a / p[1] * F : 0.0;
        m_dWaveReserved = 0.0;
        const double r = WaveVelocity(p[0], p[1], m_dWavePhase, 1.0, 0.0);
        double d = std::atan2(m_dVelY, m_dVelX);
        if (d < 0.0) d += 2.0 * M_PI;
        d = (d * kDegPerRad - 90.0) * kRadPerDeg;
        m_dWaveCos = std::cos(d);
        m_dWaveSin = std::sin(d);
        m_dVelX += r * m_dWaveCos;
        m_dVelY += r * m_dWaveSin;
        m_nStepCount = 1;
    } else {
        const double ox = m_dVelX, oy = m_dVelY;
        const double r = WaveAcceleration(p[0], p[1], m_dWavePhase, 1.0, 0.0);
        m_dVelX += r * m_dWaveCos;
        m_dVelY += r * m_dWaveSin;
        if ((ox < 0.0 && m_dVelX > 0.0) || (ox > 0.0 && m_dVelX < 0.0)) m_dVelX = 0.0;
        if ((oy < 0.0 && m_dVelY > 0.0) || (oy > 0.0 && m_dVelY < 0.0)) m_dVelY = 0.0;
    }
    if (m_bAccelOn) AimAcceleration(m_dVelX, m_dVelY, m_dMoveSpeedX, m_dMoveSpeedY);
}

void cShot::FallStep() {
    if (m_bTrajectoryDone) return;
    if (m_nStepCount == 0) {
        m_dSpeed = TrajectorySpeed();
        if (m_EdShot.m_nTrajectoryParam[0] != 0) m_nTurnStart = TurnCount(m_EdShot.m_nTrajectoryParam[0]);
    }
    if (m_nStepCount >= m_nTurnStart) {
        m_dSpeedY = m_dVelY;
        m_bFlying = 0;
        m_bTrajectoryDone = 1;
    }
    ++m_nStepCount;
}

int cShot::StepSword() {
    cChara* owner = FindCharaById(m_nOwnerKey);
    if (!owner) return 1;
    owner->UpdateScreenRect();
    const bool right = owner->m_nFacing != 0;
    m_nFacing = owner->m_nFacing;
    cDbSwordType& type = g_Database.m_vecSwordType.at(m_EdShot.m_nTrajectory);
    const cDbSwordPart& part = type.m_vecParts.at(m_nSwordPart);
    const int n = m_EdShot.m_nSize;
    if (m_nStepCount == 0) {
        m_nBaseWidth = m_nBaseDrawWidth = m_nBaseHitWidth = part.m_nWidth;
        m_nBaseHeight = m_nBaseDrawHeight = m_nBaseHitHeight = part.m_nHeight;
        m_nWidth = m_nDrawWidth = m_nHitWidth = WrapMul(n, part.m_nWidth);
        m_nHeight = m_nDrawHeight = m_nHitHeight = WrapMul(n, part.m_nHeight);
    }

    const cScenePlay* scene = PlayScene();
    const double sx = scene->m_ScrollX.m_dPos, sy = scene->m_ScrollY.m_dPos;
    const double besideY = owner->m_nScrTop + owner->m_nDrawHeight / 2 + sy - m_nHeight / 2;
    const double besideFront = owner->m_nScrRight + 1 + sx;
    const double besideBack = owner->m_nScrLeft + sx - m_nWidth;
    switch (part.m_nPlacement) {
        case 0:  // in front
            m_dX = right ? besideFront : besideBack;
            m_dY = besideY;
            break;
        case 1:  // behind
            m_nFacing = right ? 0 : 1;
            m_dX = right ? besideBack : besideFront;
            m_dY = besideY;
            break;
        case 2:  // above
            m_dX = owner->m_nScrLeft + owner->m_nDrawWidth / 2 + sx - m_nWidth / 2;
            m_dY = owner->m_nScrTop + sy - m_nHeight;
            break;
        case 3:  // below
            m_dX = owner->m_nScrLeft + owner->m_nDrawWidth / 2 + sx - m_nWidth / 2;
            m_dY = owner->m_nScrBottom + sy + 1;
            break;
        default: break;
    }
    const int ox = WrapMul(n, part.m_nOffsetX), oy = WrapMul(n, part.m_nOffsetY);
    m_dX += right && part.m_bMirrorX ? -ox : ox;
    m_dY += right && part.m_bMirrorY ? -oy : oy;
    ClampShotX();
    ClampToStageY(2);

    ++m_nStepCount;
    if (m_nStepCount > WrapMul(WrapMul(part.m_nDuration, g_Stage.m_nSubSteps), 6)) {
        m_nStepCount = 0;
        ++m_nSwordPart;
        if (m_nSwordPart >= static_cast<int>(type.m_vecParts.size())) return 1;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// The lists

cShot& AddShot(cScenePlay& scene, const cShot& shot) {
    cShot& stored = scene.m_lstShots.emplace_back(shot);
    scene.m_vShotGroups.at(stored.m_EdShot.m_nSide).push_back(&stored);
    return stored;
}

std::list<cShot>::iterator EraseShot(cScenePlay& scene, std::list<cShot>::iterator node) {
    std::list<cShot*>& group = scene.m_vShotGroups.at(node->m_EdShot.m_nSide);
    const auto it = std::find(group.begin(), group.end(), &*node);
    if (it != group.end()) group.erase(it);
    return scene.m_lstShots.erase(node);
}

void EraseShot(cScenePlay& scene, const cShot* shot) {
    for (auto it = scene.m_lstShots.begin(); it != scene.m_lstShots.end(); ++it) {
        if (&*it == shot) {
            EraseShot(scene, it);
            return;
        }
    }
}
