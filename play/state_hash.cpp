#include "play/state_hash.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/frame_timing.h"
#include "base/random.h"
#include "frontend/data/game_progress.h"
#include "play/cell_words.h"
#include "play/state_hasher.h"
#include "media/input/input_list.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/item.h"
#include "play/map_cell.h"
#include "play/scene_play.h"
#include "play/shot.h"

namespace {

using cHasher = cStateHasher;

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

// The words that come before the cells: what the scene, the progress and
// the input hold.
void RecordBeforeCells(const cScenePlay& scene, std::vector<uint64_t>& out) {
    cHasher h(out);
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
}

// The words that come after the cells: the objects in list order.
void RecordAfterCells(const cScenePlay& scene, std::vector<uint64_t>& out) {
    cHasher h(out);
    for (const cCharaPlayer& p : g_vPlayers) HashPlayer(h, p);
    for (const cCharaComputer& c : g_lstCharas) HashComputer(h, c);
    for (const cItem& i : g_lstItems) HashItem(h, i);
    for (const cShot& s : scene.m_lstShots) HashShot(h, s);
}

}  // namespace

cStateHashBatch::cStateHashBatch() = default;
cStateHashBatch::~cStateHashBatch() = default;

void cStateHashBatch::Add(const cScenePlay& scene) {
    Frame f;
    f.before[0] = m_words.size();
    RecordBeforeCells(scene, m_words);
    f.before[1] = m_words.size();
    f.cells = CurrentCellWords();
    f.after[0] = m_words.size();
    RecordAfterCells(scene, m_words);
    f.after[1] = m_words.size();
    m_frames.push_back(std::move(f));
}

// Each chain its own words of one part: side by side as far as the
// shortest goes, the rest one by one.
void cStateHashBatch::MixParts(uint64_t* lanes, size_t first, size_t n, Part Frame::*part) const {
    const uint64_t* streams[kLanes] = {};
    size_t common = SIZE_MAX;
    for (size_t j = 0; j < n; ++j) {
        const size_t* range = m_frames[first + j].*part;
        streams[j] = m_words.data() + range[0];
        common = std::min(common, range[1] - range[0]);
    }
    StateHashMixStreams(lanes, n, streams, common);
    for (size_t j = 0; j < n; ++j) {
        const size_t* range = m_frames[first + j].*part;
        StateHashMixLanes(&lanes[j], 1, streams[j] + common, range[1] - range[0] - common);
    }
}

void cStateHashBatch::Finish(std::vector<uint64_t>& out) {
    uint64_t lanes[kLanes];
    for (size_t first = 0; first < m_frames.size();) {
        // Frames that saw the same cells mix them side by side.
        size_t n = 1;
        while (n < kLanes && first + n < m_frames.size() && m_frames[first + n].cells == m_frames[first].cells) ++n;
        std::fill(lanes, lanes + n, kStateHashStart);
        MixParts(lanes, first, n, &Frame::before);
        const cCellWords& cells = *m_frames[first].cells;
        StateHashMixLanes(lanes, n, cells.words.data(), cells.words.size());
        MixParts(lanes, first, n, &Frame::after);
        out.insert(out.end(), lanes, lanes + n);
        first += n;
    }
    m_frames.clear();
    m_words.clear();
}

uint64_t PlayStateHash(const cScenePlay& scene) {
    cStateHashBatch batch;
    batch.Add(scene);
    std::vector<uint64_t> out;
    batch.Finish(out);
    return out.front();
}
