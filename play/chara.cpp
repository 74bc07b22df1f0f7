#include "play/chara.h"

#include <algorithm>
#include <cmath>

#include "engine/flow_runtime.h"
#include "engine/flow_trigger.h"
#include "play/chara_player.h"
#include "play/map_cell.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

template <class V, class T>
void AppendOnce(V& v, const T& value) {
    if (std::find(v.begin(), v.end(), value) == v.end()) v.push_back(value);
}

}  // namespace

cChara::cChara() = default;

cChara::cChara(const cChara& other) : cObject(other) { Assign(other); }

cChara& cChara::operator=(const cChara& other) {
    Assign(other);
    return *this;
}

cChara::~cChara() = default;

void cChara::Assign(const cChara& other) {
    if (&other == this) return;
    cObject::operator=(other);
    cCharaData::operator=(other);
    // The copied records point at the other chara's definitions.
    m_vFlows.clear();
    for (const cFlow& flow : other.m_vFlows) AddFlow(flow);
}

// ---------------------------------------------------------------------------
// Set-up

void cChara::ResetTriggerLatches() {
    m_vGroupRunning.assign(kTriggerKinds, 0);
    m_vGroupEnded.assign(kTriggerKinds, 0);
    m_vGroupStarted.assign(kTriggerKinds, 0);
}

void cChara::InitChara(const cEdChara* def, const int32_t* placement, int clone) {
    m_nClone = static_cast<int16_t>(clone);
    // Every state field back to its start value; the definition stays.
    cEdChara keep = std::move(m_Def);
    static_cast<cCharaData&>(*this) = cCharaData{};
    m_Def = std::move(keep);
    m_vTargets.assign(kTargetSlots, nullptr);
    ResetTriggerLatches();
    if (placement) std::copy(placement, placement + 4, m_anPlacement);
    m_bAirborne = 1;
    m_nRiddenKey = -1;
    if (def) {
        m_Def = *def;
        m_nHP = m_Def.m_nMaxHP;
        m_nSP = m_Def.m_nMaxSP;
    }
    m_bFollowScroll = m_Def.m_bSyncAutoScroll;
    m_dFriction = SpeedPerFrame(m_Def.m_nFriction);
    if (m_Def.m_nCharaEffect) {
        m_nCharaEffect = m_Def.m_nCharaEffect;
        StartCharaEffect(*this, m_Def.m_nCharaEffect, m_Def.m_nCharaEffectA, m_Def.m_nCharaEffectB);
    }
    SetAnimeSet(m_Def.m_nAnimeSet, 1);
    m_bAttackPart = 0;
    m_nAttackGroup = 0;
}

void cChara::LinkChara(cChara* parent) {
    if (m_vTargets.size() < kTargetSlots) m_vTargets.resize(kTargetSlots, nullptr);
    cChara* hero = Hero();
    TargetSlot(0) = hero;
    if (hero) AppendOnce(hero->m_vReferrers, CharaLink{this, 0});
    m_lpParent = parent;
    if (parent) AppendOnce(parent->m_vReferrers, CharaLink{this, 4});
}

int cChara::SetTargetSlot(int slot, cChara* target, int clearOnNull) {
    cChara*& s = TargetSlot(slot);
    if (!target && !clearOnNull) return s != nullptr;
    if (s) {
        const CharaLink link{this, slot};
        auto& refs = s->m_vReferrers;
        refs.erase(std::remove(refs.begin(), refs.end(), link), refs.end());
        s = nullptr;
    }
    if (!target) return 0;
    s = target;
    AppendOnce(target->m_vReferrers, CharaLink{this, slot});
    return 1;
}

void cChara::SetAnimeSet(int set, int force) {
    if (set == m_nAnimeSet && !force) return;
    m_nAnimeSet = set;
    // A number outside the table is reported and gives set 0.
    const cDbAnimeSet& entry = g_Database.m_vecAnimeSet.at(set);
    cCheckedVector<AnimeTrack> tracks;
    tracks.reserve(entry.m_vecAnimes.size());
    for (const cDbAnime& anime : entry.m_vecAnimes) {
        AnimeTrack track;
        track.reserve(anime.m_vecFrames.size() + 1);
        for (const cDbAnimeFrame& f : anime.m_vecFrames)
            track.push_back(AnimeStep{f.m_nPicture, TenthsToTicks(f.m_nDuration), 1});
        track.push_back(AnimeStep{ANIME_RESTART, 0, 1});
        tracks.push_back(std::move(track));
    }
    m_Anime.m_vTracks = std::move(tracks);
    m_Anime.m_nTrack = m_Anime.m_nStep = m_Anime.m_nTicks = 0;
}

void cChara::SetHitBox1(int bottomAligned, int width, int height) {
    CharaHitBox& b = m_HitBox1;
    b.nOffsetX = 16 - m_nDrawOffsetX - width / 2;
    b.nOffsetY = bottomAligned ? 32 - m_nDrawOffsetY - height : 16 - m_nDrawOffsetY - height / 2;
    b.nWidth = width;
    b.nHeight = height;
    b.nBaseOffsetX = b.nOffsetX;
    b.nBaseOffsetY = b.nOffsetY;
    b.nBaseWidth = width;
    b.nBaseHeight = height;
}

// ---------------------------------------------------------------------------
// Units

double cChara::SpeedPerFrame(int16_t v) { return v * 0.01 / g_Stage.m_dSubSteps2; }

double cChara::JumpSpeed(double h) const {
    const double g = g_Stage.m_dGravityStep;
    double v = (-g - std::sqrt((8 * h + g) * g)) * 0.5;
    if (g_SystemData.OptJumpGravityCorrection && m_nSide == 0) v *= 0.99 - g_Stage.m_dGravity * 0.025;
    return v;
}

int cChara::JumpTime(double v) {
    // A stage without gravity gives NaN or an infinity here: INT32_MIN.
    return TruncToInt(g_Stage.m_dSubSteps - v / g_Stage.m_dGravityStep);
}

int cChara::JumpFramesFromHeight(int8_t h) const {
    const int32_t subSteps = std::max(1, g_Stage.m_nSubSteps);
    return JumpTime(JumpSpeedFromHeight(h)) / subSteps / 6 + 1;
}

void cChara::WarpToCellX(int col) {
    const cScrollAxis& ax = PlayScene()->m_ScrollX;
    // The unscaled box offset, as the stage set-up places a chara; the scale
    // shift then moves it as it moves a placed one.
    m_dX = WrapMul(WrapAdd(ax.m_nBorder, col), 32) + m_nBaseDrawOffsetX + 0.5;
    ApplyScaleShift(m_Def.m_nSize, 1, 1);
    AfterMoveX();
}

void cChara::WarpToCellY(int row, int keep) {
    const cScrollAxis& ay = PlayScene()->m_ScrollY;
    m_dY = WrapMul(WrapAdd(ay.m_nBorder, row), 32) + m_nBaseDrawOffsetY;
    KeepBaseOnScale(m_Def.m_nSize, 1, keep);
    AfterMoveY();
}

// ---------------------------------------------------------------------------
// cObject overrides

void cChara::KeepBaseOnScale(int newScale, int oldScale, int keep) {
    const int32_t d = WrapAdd(newScale, -oldScale);
    const bool fromFeet = g_SystemData.OptScaleFromFeet != 0;
    if (fromFeet && g_SystemData.OptScaleByCollisionBox) {
        m_dY -= WrapMul(d, m_nBaseHeight);
    } else if (!fromFeet && !keep) {
        m_dY -= WrapMul(d, m_nBaseHeight);
    } else {
        m_dY -= WrapMul(d, m_nBaseDrawHeight);
        m_dY += WrapMul(d, m_nBaseDrawOffsetY);
    }
    AfterMoveY();
}

void cChara::SetCentreX(int cx) {
    const int32_t c = WrapAdd(m_nScrLeft, m_nDrawWidth / 2);
    m_dX += WrapAdd(cx, -c);
    AfterMoveX();
}

void cChara::SetCentreY(int cy) {
    const int32_t c = WrapAdd(m_nScrTop, m_nDrawHeight / 2);
    m_dY += WrapAdd(cy, -c);
    AfterMoveY();
}

void cChara::SetCentre(int cx, int cy) {
    SetCentreX(cx);
    SetCentreY(cy);
}

namespace {
void StopCommandMove(cFlowCmd* cmd) {
    if (cmd) cmd->m_dVelX = cmd->m_dVelY = 0.0;
}
}  // namespace

void cChara::SetCentreOnContact(int cx, int cy, cFlowCmd* cmd) {
    SetCentre(cx, cy);
    StopCommandMove(cmd);
}

void cChara::SetCentreXOnContact(int cx, cFlowCmd* cmd) {
    SetCentreX(cx);
    StopCommandMove(cmd);
}

void cChara::SetCentreYOnContact(int cy, cFlowCmd* cmd) {
    SetCentreY(cy);
    StopCommandMove(cmd);
}

// ---------------------------------------------------------------------------
// Contacts

void cChara::ClearContacts() {
    std::fill(std::begin(m_abContact), std::end(m_abContact), 0);
    std::fill(std::begin(m_adPusher), std::end(m_adPusher), 0.0);
}

void cChara::MeetWall(int key, double x) {
    m_bWallContact = 1;
    m_nWallContactKey = key;
    m_dWallContactX = x;
}

void cChara::TouchLeft(const cObject& solid) {
    m_abContact[CONTACT_LEFT] = 1;
    MeetWall(solid.m_nKey, solid.m_dX);
    if (!g_SystemData.OptSimpleWalls) m_adPusher[CONTACT_LEFT] = solid.m_dSpeedX;
}

void cChara::TouchRight(const cObject& solid) {
    m_abContact[CONTACT_RIGHT] = 1;
    MeetWall(solid.m_nKey, solid.m_dX);
    if (!g_SystemData.OptSimpleWalls) m_adPusher[CONTACT_RIGHT] = solid.m_dSpeedX;
}

void cChara::TouchTop(const cObject& solid) {
    m_abContact[CONTACT_TOP] = 1;
    if (!g_SystemData.OptSimpleWalls) m_adPusher[CONTACT_TOP] = solid.m_dSpeedY;
}

void cChara::TouchBottom(const cObject& solid) {
    m_abContact[CONTACT_BOTTOM] = 1;
    if (!g_SystemData.OptSimpleWalls) m_adPusher[CONTACT_BOTTOM] = solid.m_dSpeedY;
}

namespace {
int IsCrushedBetween(int touchLow, int touchHigh, double low, double high) {
    return touchLow && touchHigh && (low > 1e-8 || high < -1e-8) && high <= low;
}
}  // namespace

int cChara::IsCrushedX() const {
    return IsCrushedBetween(m_abContact[CONTACT_LEFT], m_abContact[CONTACT_RIGHT], m_adPusher[CONTACT_LEFT],
                            m_adPusher[CONTACT_RIGHT]);
}

int cChara::IsCrushedY() const {
    return IsCrushedBetween(m_abContact[CONTACT_TOP], m_abContact[CONTACT_BOTTOM], m_adPusher[CONTACT_TOP],
                            m_adPusher[CONTACT_BOTTOM]);
}

void cChara::SaveBox() {
    m_adSavedBox[0] = m_dX;
    m_adSavedBox[1] = m_dY;
    m_adSavedBox[2] = m_dRight;
    m_adSavedBox[3] = m_dBottom;
}

void cChara::RestoreBox() {
    m_dX = m_adSavedBox[0];
    m_dY = m_adSavedBox[1];
    m_dRight = m_adSavedBox[2];
    m_dBottom = m_adSavedBox[3];
}

bool cChara::IsStanding() const {
    if (m_bOnBlockChara) return true;
    if (m_nFootBlock == 0 || m_nFootBlock < 0 || m_nFootBlock >= static_cast<long long>(g_vMapCells.size()))
        return false;
    return g_vMapCells.at(m_nFootBlock).GetHitMode(m_nGroup) != 0;
}

void cChara::LandOnBlock() {
    m_adPusher[CONTACT_BOTTOM] = 0.0;
    m_dSpeedY = m_dMoveSpeedY = 0.0;
    m_nGraceCounter = 0;
    m_bAirborne = m_bJumpStarted = m_bJumpCut = m_bKnockedBack = 0;
    m_abContact[CONTACT_BOTTOM] = 1;
    if (m_nSide != 0) {
        m_bJumpBlocked = 0;
    } else if (!g_vPlayers.empty()) {
        // As on a block chara: the spring's jump ends with the landing, or the
        // hero's own jump key would stay dead after one spring.
        g_vPlayers.at(0).m_bFootBlockJump = 0;
    }
    m_dY -= (TruncToInt(m_dBottom) & 31) + 1;
    AfterMoveY();
    FireFlowTriggerEx(*this, TRIGGER_HIT_BLOCK, nullptr, 0);
    FireFlowTriggerEx(*this, TRIGGER_BLOCK_TOP_BOTTOM, nullptr, 0);
    FireFlowTriggerEx(*this, TRIGGER_BLOCK_BOTTOM, nullptr, 0);
}

void cChara::HitCeiling() {
    m_bJumpCut = m_bJumpStarted = m_bJumpBlocked = 1;
    m_abContact[CONTACT_TOP] = 1;
    m_dSpeedY = m_dMoveSpeedY = 0.0;
    if (!g_SystemData.OptCeilingKeepsImpact) ClearImpactY();
    m_dY += 32 - (TruncToInt(m_dY) & 31);
    AfterMoveY();
    FireFlowTriggerEx(*this, TRIGGER_HIT_BLOCK, nullptr, 0);
    FireFlowTriggerEx(*this, TRIGGER_BLOCK_TOP_BOTTOM, nullptr, 0);
    FireFlowTriggerEx(*this, TRIGGER_BLOCK_TOP, nullptr, 0);
}

void cChara::LeaveBlockChara(int pushed) {
    m_bOnBlockChara = 0;
    if (m_dImpactY == 0.0) m_dSpeedY = 0.0;
    if (pushed) m_bPushed = 1;
}

void cChara::ApplyGravity() {
    if (!m_bFlying && !m_bOnBlockChara && !m_bNoGravity && m_dImpactY >= 0.0) m_dSpeedY += g_Stage.m_dGravityStep;
}

void cChara::StepImpactY() {
    if (m_dImpactY != 0.0) {
        if (!m_bFlying) {
            if (IsStanding() && m_dImpactY > 0.0) {
                ClearImpactY();
            } else if (g_SystemData.OptImpactYKeepPrevious && !g_SystemData.OptImpactYForce &&
                       m_dPrevImpactY - m_dSpeedY > 1.0 / g_Stage.m_dSubSteps) {
                // The previous knock-back still carries the chara.
            } else {
                m_dSpeedY = m_dSpeedY - m_dPrevImpactY + m_dImpactY;
            }
        } else {
            m_dSpeedY += m_dImpactY;
        }
    }
    m_dPrevImpactY = m_dImpactY;
}

void cChara::DecayImpactX() {
    const double step = 1.0 / g_Stage.m_dSubSteps;
    if (m_dImpactX > 0.0) {
        m_dImpactX -= step;
        if (m_dImpactX < 0.0) m_dImpactX = 0.0;
    } else if (m_dImpactX < 0.0) {
        m_dImpactX += step;
        if (m_dImpactX > 0.0) m_dImpactX = 0.0;
    }
}

void cChara::DecayImpactY() {
    const double step = 1.0 / g_Stage.m_dSubSteps;
    if (m_dImpactY > 0.0) {
        m_dImpactY -= step;
        if (m_dImpactY < 0.0) ClearImpactY();
    } else if (m_dImpactY < 0.0) {
        m_dImpactY += step;
        if (m_dImpactY > 0.0) ClearImpactY();
    }
}

void cChara::ClearImpactY() { m_dImpactY = m_dPrevImpactY = 0.0; }

// ---------------------------------------------------------------------------
// Steps of the sub-step shared by every chara class

namespace {
constexpr int kFlowTriggerDied = 5;
constexpr int kAnimeTrackStandWalking = 0;
constexpr int kAnimeTrackStandFlying = 2;

double AutoScrollSpeed(const cScrollAxis& ax) { return ax.m_bAutoOn && !ax.m_bAtEdge ? ax.m_dSpeed : 0.0; }
}  // namespace

void cChara::FollowScrollSpeeds() {
    const cScenePlay* scene = PlayScene();
    if (!g_SystemData.OptFlyersFollowScroll) {
        if (!m_bFollowScroll) {
            m_dSpeedX = 0.0;
            if (m_bFlying) m_dSpeedY = 0.0;
        } else {
            m_dSpeedX = AutoScrollSpeed(scene->m_ScrollX);
            if (m_bFlying) m_dSpeedY = AutoScrollSpeed(scene->m_ScrollY);
        }
    } else if (!m_bFlying) {
        m_dSpeedX = 0.0;
    } else {
        m_dSpeedX = AutoScrollSpeed(scene->m_ScrollX);
        m_dSpeedY = AutoScrollSpeed(scene->m_ScrollY);
    }
}

bool cChara::RunFlowPass(int dying, bool diesNowEnds) {
    cScenePlay* scene = PlayScene();
    auto clearCurrent = [scene] {
        scene->m_lpCurChara = nullptr;
        scene->m_lpCurFlow = nullptr;
        scene->m_lpCurFlowVars = nullptr;
        scene->m_lpCurFlowCmd = nullptr;
    };
    for (size_t i = 0; i < m_vFlows.size(); ++i) {
        cFlow& flow = m_vFlows[i];
        if (!flow.m_bRunning) continue;
        if (flow.m_vCmds.empty()) {
            StopFlow(flow, *this);
            continue;
        }
        if (flow.m_bPaused || flow.m_bHalted) continue;
        const int trigger = flow.m_lpDef ? flow.m_lpDef->m_nTrigger : 0;
        if (dying && trigger != kFlowTriggerDied) continue;
        if (StepFlow(flow)) StopFlow(m_vFlows[i], *this);
        // The chara is removed right after: nothing may point at it.
        if ((diesNowEnds && m_bDiesNow) || (!dying && trigger != kFlowTriggerDied && m_nHP < 1)) {
            clearCurrent();
            return true;
        }
    }
    clearCurrent();
    return false;
}

void cChara::ApplyFlowRemovals() {
    if (m_bRemovePending) {
        for (size_t i = 0; i < m_vFlows.size();) {
            if (m_vFlows[i].m_bRemove)
                RemoveFlow(static_cast<int>(i));
            else
                ++i;
        }
        m_bRemovePending = 0;
    }
    if (m_bGroupEnded) {
        for (size_t g = 0; g < m_vGroupEnded.size() && g < m_vGroupRunning.size(); ++g) {
            if (m_vGroupEnded[g]) m_vGroupEnded[g] = m_vGroupRunning[g] = 0;
        }
        m_bGroupEnded = 0;
    }
}

void cChara::ChooseAnimeTrack() {
    if (!m_bForcedAnime) {
        if (m_dMoveSpeedX == 0.0 && m_dMoveSpeedY == 0.0)
            m_Anime.ChangeTrack(m_bFlying ? kAnimeTrackStandFlying : kAnimeTrackStandWalking, 1);
    } else {
        m_Anime.ChangeTrack(m_nForcedAnime, 1);
    }
}
