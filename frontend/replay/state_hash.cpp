#include "frontend/replay/state_hash.h"

#include <array>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "app/frame_timing.h"
#include "app/random.h"
#include "frontend/data/game_progress.h"
#include "media/input/input_list.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/item.h"
#include "play/map_cell.h"
#include "play/scene_play.h"
#include "play/shot.h"

namespace {

// Order-sensitive mixing of 64-bit words.
class cHasher {
public:
    void Word(uint64_t v) {
        m_h ^= v + 0x9E3779B97F4A7C15ull + (m_h << 6) + (m_h >> 2);
        m_h *= 0xFF51AFD7ED558CCDull;
        m_h ^= m_h >> 32;
    }
    template <class T>
    void Add(const T& v) {
        if constexpr (std::is_enum_v<T>) {
            Word(static_cast<uint64_t>(static_cast<std::underlying_type_t<T>>(v)));
        } else if constexpr (std::is_floating_point_v<T>) {
            const double d = v;
            uint64_t bits;
            std::memcpy(&bits, &d, 8);
            Word(bits);
        } else if constexpr (std::is_arithmetic_v<T>) {
            Word(static_cast<uint64_t>(v));
        } else if constexpr (std::is_array_v<T>) {
            for (const auto& e : v) Add(e);
        } else {
            for (const auto& e : v) Add(e);  // std::array and vectors of values
            Word(static_cast<uint64_t>(std::size(v)));
        }
    }
    void Add(const std::string& s) {
        Word(s.size());
        for (unsigned char c : s) Word(c);
    }
    uint64_t Value() const { return m_h; }

private:
    uint64_t m_h = 0xCBF29CE484222325ull;
};

// The registered fields, strings and value vectors of a definition record;
// its vectors of sub-records and optional parts (conditions, flows,
// commands) are what play never changes and are left out.
class cFieldHashPass {
public:
    explicit cFieldHashPass(cHasher& h) : m_h(h) {}
    uint32_t Version() const { return kDataVersion; }
    bool Since(uint32_t n) const { return kDataVersion >= n; }
    bool Above(uint32_t n) const { return kDataVersion > n; }
    bool Below(uint32_t n) const { return kDataVersion < n; }
    template <class T>
    void Field(const char*, T& v) {
        m_h.Add(v);
    }
    void Dropped(const char*, int, int = 1) {}
    void String(const char*, std::string& s) { m_h.Add(s); }
    template <class T>
    void Vector(const char*, std::vector<T>& v, VectorRule = VectorRule::Replace) {
        if constexpr (std::is_arithmetic_v<T>) m_h.Add(v);
        if constexpr (std::is_same_v<T, std::string>)
            for (const std::string& s : v) m_h.Add(s);
    }
    template <class T>
    void Record(const char*, T& r) {
        r.Fields(*this);
    }
    template <class T>
    void Raw(const char*, T& v) {
        m_h.Add(v);
    }
    template <class T>
    void Holder(const char*, cPartHolder<T>& p) {
        m_h.Add(static_cast<int>(static_cast<bool>(p)));
    }

private:
    cHasher& m_h;
};

template <class R>
void HashFields(cHasher& h, const R& record) {
    cFieldHashPass pass(h);
    const_cast<R&>(record).Fields(pass);  // Fields only reads in this pass
}

int32_t KeyOf(const cObject* o) { return o ? o->m_nKey : -1; }

void HashObject(cHasher& h, const cObject& o) {
    h.Add(o.m_nKey);
    h.Add(o.m_nFacing);
    h.Add(o.m_nClone);
    h.Add(o.m_nGraphic);
    h.Add(o.m_Anime.m_nTrack);
    h.Add(o.m_Anime.m_nStep);
    h.Add(o.m_Anime.m_nTicks);
    for (int32_t v : {o.m_nScrLeft, o.m_nScrTop, o.m_nScrRight, o.m_nScrBottom, o.m_nDrawOffsetX, o.m_nDrawOffsetY,
                      o.m_nDrawWidth, o.m_nDrawHeight, o.m_nBaseDrawOffsetX, o.m_nBaseDrawOffsetY, o.m_nBaseDrawWidth,
                      o.m_nBaseDrawHeight, o.m_nSide, o.m_nPlayer, o.m_nGroup})
        h.Add(v);
    for (double v : {o.m_dX, o.m_dY, o.m_dRight, o.m_dBottom, o.m_dSpeedX, o.m_dSpeedY, o.m_dMoveSpeedX,
                     o.m_dMoveSpeedY, o.m_dFriction})
        h.Add(v);
    for (int32_t v : {o.m_nCellLeft, o.m_nCellTop, o.m_nCellRight, o.m_nCellBottom, o.m_bDecelX, o.m_bDecelY,
                      o.m_bFollowScroll, o.m_nWidth, o.m_nHeight, o.m_nBaseWidth, o.m_nBaseHeight, o.m_bFlying,
                      o.m_nWallMode, o.m_bActive, o.m_bActing, o.m_bInView, o.m_bHidden, o.m_nLifeTime})
        h.Add(v);
}

void HashFlow(cHasher& h, const cFlow& f) {
    for (int32_t v : {f.m_nIndex, f.m_nKey, f.m_bCondLatch, f.m_bKeyContinuing, f.m_bKeyLatch, f.m_bRunning,
                      f.m_bPaused, f.m_bHalted, f.m_bRemove, f.m_nPc, f.m_nFrames, f.m_nStartDir, f.m_bFiredThisFrame,
                      f.m_bStartedThisFrame, f.m_bMessageChain, f.m_bAbort})
        h.Add(v);
    h.Add(f.m_anVars);
    h.Add(f.m_nStartCount);
    h.Add(static_cast<uint64_t>(f.m_lstArrange.size()));
    for (const cFlowCmd& c : f.m_vCmds) {
        h.Add(c.m_bDone);
        h.Add(c.m_nDuration);
        h.Add(c.m_nRemaining);
        h.Add(c.m_nDirection);
        h.Add(c.m_dSpeed);
        h.Add(c.m_dMaxSpeed);
        h.Add(c.m_nStep);
        h.Add(c.m_anWork);
        h.Add(c.m_adWork);
        h.Add(c.m_dVelX);
        h.Add(c.m_dVelY);
        h.Add(c.m_nDirCode);
        h.Add(c.m_dLaunchSpeed);
        h.Add(c.m_bLaunched);
    }
}

void HashChara(cHasher& h, const cChara& c) {
    HashObject(h, c);
    HashFields(h, c.m_Def);
    for (const cChara* t : c.m_vTargets) h.Add(KeyOf(t));
    for (const CharaLink& l : c.m_vReferrers) {
        h.Add(KeyOf(l.lpChara));
        h.Add(l.nKind);
    }
    for (const ShotLink& l : c.m_vShotLinks) {
        h.Add(KeyOf(l.lpShot));
        h.Add(l.nKind);
    }
    h.Add(c.m_bAttackPart);
    h.Add(c.m_nAttackGroup);
    h.Add(c.m_nFlowKeyCounter);
    for (const cFlow& f : c.m_vFlows) HashFlow(h, f);
    h.Add(c.m_vGroupRunning);
    h.Add(c.m_vGroupEnded);
    h.Add(c.m_vGroupStarted);
    for (int32_t v : {c.m_bGroupEnded, c.m_bRemovePending, c.m_bForcedAnime, c.m_nForcedAnime, c.m_bKnockedBack,
                      c.m_bNoGravity, c.m_bAirborne, c.m_bJumpCut, c.m_bJumpStarted, c.m_bJumpBlocked,
                      c.m_nGraceCounter, c.m_bJumpSpare, c.m_nFootBlock, c.m_nLastFootBlock, c.m_nWallSide,
                      c.m_nMoveTypeCounter, c.m_bPushed, c.m_bOnBlockChara, c.m_nRiddenKey, c.m_nHP, c.m_nSP,
                      c.m_nInvincibleTimer, c.m_bDiesNow, c.m_bCondHeld, c.m_bDead, c.m_nCrushGuard, c.m_nLightRadius,
                      c.m_nAnimeSet})
        h.Add(v);
    h.Add(c.m_anPlacement);
    h.Add(c.m_dImpactX);
    h.Add(c.m_dImpactY);
    h.Add(c.m_dPrevImpactY);
    h.Add(c.m_abContact);
    h.Add(c.m_adPusher);
    h.Add(c.m_adRiddenBox);
    h.Add(c.m_adSavedBox);
    h.Add(c.m_vVars);
    h.Add(c.m_nCharaEffect);
    for (const HitRecord& r : c.m_lstHitRecords) {
        h.Add(r.nAttackerKey);
        h.Add(r.nLeft);
    }
    for (const cAnimeRun& r : c.m_lstAnimeRuns) {
        for (int32_t v : {r.m_nAnime, r.m_nBaseAnime, r.m_nMode, r.m_nValue, r.m_nValue2, r.m_nOwnerKey,
                          r.m_nFramesPlayed, r.m_nRepeatsLeft, r.m_bPaused})
            h.Add(v);
    }
}

void HashItem(cHasher& h, const cItem& i) {
    HashObject(h, i);
    HashFields(h, i.m_Def);
    h.Add(i.m_anFlowVars);
    h.Add(i.m_bTemporary);
    h.Add(i.m_bCondHeld);
}

void HashPlayer(cHasher& h, const cCharaPlayer& p) {
    HashChara(h, p);
    for (int32_t v : {p.m_nHoldCounter, p.m_bHoldAllowed, p.m_bFootBlockJump, p.m_bJumpHandled, p.m_nPrevFacing,
                      p.m_nPrevFootBlock, p.m_bBoxSaved, p.m_bRestoreRequest, p.m_nFootKind, p.m_bFootFlag,
                      p.m_nFootTimer, p.m_nFootItemTimer, p.m_bSlip, p.m_nSubStepCounter})
        h.Add(v);
    h.Add(p.m_dConveyorSpeed);
    h.Add(p.m_abTouch);
    h.Add(p.m_adTypeBox);
    h.Add(p.m_dFootFactor);
    for (int32_t k : p.m_lstTouchedItems) h.Add(k);
    h.Add(static_cast<uint64_t>(p.m_vecPendingFlowChange.size()));
    h.Add(static_cast<uint64_t>(p.m_lstArrange.size()));
}

void HashComputer(cHasher& h, const cCharaComputer& c) {
    HashChara(h, c);
    for (int32_t v : {c.m_bInRange, c.m_bShowCarriedItem, c.m_nIconCounter, c.m_bSkipRangeX, c.m_bSkipRangeY,
                      c.m_bAppeared, c.m_nSpare})
        h.Add(v);
    HashItem(h, c.m_CarriedItem);
}

void HashShot(cHasher& h, const cShot& s) {
    HashObject(h, s);
    HashFields(h, s.m_EdShot);
    h.Add(KeyOf(s.m_lpTarget));
    h.Add(KeyOf(s.m_lpOwner));
    h.Add(s.m_bReportToOwner);
    h.Add(s.m_nReportGroup);
    h.Add(s.m_bIsShot);
    h.Add(s.m_bFinished);
    h.Add(s.m_adHitBox);
    for (int32_t k : s.m_lstHitCharas) h.Add(k);
}

void HashAxis(cHasher& h, const cScrollAxis& a) {
    h.Add(a.m_dPos);
    for (int32_t v : {a.m_bAtEdge, a.m_nAxis, a.m_nView, a.m_nMinPos, a.m_nMaxEnd, a.m_nOrigin, a.m_nEnd, a.m_nBorder,
                      a.m_nLimit, a.m_nCells, a.m_nStride, a.m_nShift, a.m_bAutoOn})
        h.Add(v);
    h.Add(a.m_dSpeed);
}

void HashKeyChannels(cHasher& h, const cCheckedVector<KeyHistory>& channels) {
    for (const KeyHistory& ch : channels)
        for (const KeyHistoryEntry& e : ch) {
            h.Add(e.m_nState);
            h.Add(e.m_nFrames);
        }
}

void HashInput(cHasher& h, const cInput& in) {
    h.Add(in.m_sDir);
    h.Add(in.m_wButton);
    h.Add(in.m_nDirNumber);
    for (const auto& ring : in.m_Ring)
        for (const InputRun& r : ring) {
            h.Add(r.m_sValue);
            h.Add(r.m_nFrames);
        }
    h.Add(in.m_nRingCursor);
    HashKeyChannels(h, in.m_vecDirKeys);
    HashKeyChannels(h, in.m_vecButtonKeys);
}

void HashProgress(cHasher& h, const cGameProgress& p) {
    for (int32_t v : {p.m_nLives, p.m_nScore, p.m_nStageScore, p.m_nTotal1, p.m_nTotal2, p.m_nTotal3, p.m_nTotal4,
                      p.m_nNextStage, p.m_bCountsAsClear, p.m_bNextStartPos, p.m_nNextStartX, p.m_nNextStartY,
                      p.m_nNextStartDir})
        h.Add(v);
    h.Add(p.m_vecCommonVar);
}

}  // namespace

uint64_t PlayStateHash(const cScenePlay& scene) {
    cHasher h;
    for (int32_t v : {scene.m_nStageEndRequest, scene.m_nClearMode, scene.m_nFrame, scene.m_nPlayers, scene.m_nTimeLeft,
                      scene.m_bNoTimeLimit, scene.m_bDeathPending, scene.m_nCharaSerial, scene.m_nItemSerial,
                      scene.m_nShotSerial, scene.m_nEffectSerial, scene.m_nPlayFrames, scene.m_nPlayTime,
                      scene.m_nSubStepTotal, scene.m_bItemMessageShown})
        h.Add(v);
    HashAxis(h, scene.m_ScrollX);
    HashAxis(h, scene.m_ScrollY);
    h.Add(scene.m_vStageVars);
    h.Add(scene.m_vStageSwitches);
    for (long long cell : scene.m_vSummonedCells) h.Add(cell);
    h.Add(FrameSkipCount());
    h.Add(RandState());
    HashProgress(h, g_Progress);
    if (!g_InputList.empty()) HashInput(h, g_InputList[0]);

    for (const cMapCell& cell : g_vMapCells) {
        HashFields(h, static_cast<const cEdBlock&>(cell));
        h.Add(cell.m_nLatch);
    }
    for (const cCharaPlayer& p : g_vPlayers) HashPlayer(h, p);
    for (const cCharaComputer& c : g_lstCharas) HashComputer(h, c);
    for (const cItem& i : g_lstItems) HashItem(h, i);
    for (const cShot& s : scene.m_lstShots) HashShot(h, s);
    return h.Value();
}
