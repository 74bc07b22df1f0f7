// The chara's flow list: run records made from the definition flows (loop
// commands expanded first), flows added and removed while the stage runs,
// and the animation runs that belong to flows.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>

#include "base/error_box.h"
#include "base/quit.h"
#include "engine/flow_runtime.h"
#include "platform/cp932.h"
#include "play/chara.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

constexpr int kCharaLoopKind = 39;
constexpr int kItemLoopKind = 24;
constexpr int kJumpKind = 10;
constexpr int kSwordKind = 12;

bool IsLoopCommand(const cEdFlowCmd& c) {
    return (c.m_nFamily == cEdFlowCmd::FAMILY_CHARA && c.m_nKind == kCharaLoopKind) ||
           (c.m_nFamily == cEdFlowCmd::FAMILY_ITEM && c.m_nKind == kItemLoopKind);
}

int32_t Param(const cEdFlowCmd& c, size_t i) { return i < c.m_vecParam.size() ? c.m_vecParam[i] : 0; }

// Not enough memory for the expanded commands.
void ReportNoMemory() {
    const cScenePlay* scene = PlayScene();
    if (scene && scene->m_bInSetup) {
        ErrorBoxf("%s", SJ("メモリ不足により、ステージの初期設定に失敗しました！").c_str());
        SetQuitAndClose();
    } else {
        OutOfMemoryExit();
    }
}

// The flow's key-condition pointers at its definition's key conditions.
void PointKeyConds(cFlow& flow, const cEdFlow& def) {
    flow.m_vKeyConds.clear();
    for (const cKeyCond& kc : def.m_vecKeyCond) flow.m_vKeyConds.push_back(&kc);
}

// Erases run record i (and its definition flow). The play scene's current
// references keep naming what they named: those into the erased flow are
// cleared, those into a later flow follow it down the vector.
void EraseFlowRecord(cCheckedVector<cFlow>& flows, std::vector<cEdFlow>& defs, size_t i) {
    cScenePlay* scene = PlayScene();
    long long curFlow = -1, curVars = -1;
    bool cmdInErased = false;
    if (scene) {
        for (size_t j = 0; j < flows.size(); ++j) {
            cFlow& f = flows[j];
            if (scene->m_lpCurFlow == &f) curFlow = static_cast<long long>(j);
            if (scene->m_lpCurFlowVars == f.m_anVars) curVars = static_cast<long long>(j);
        }
        for (cFlowCmd& c : flows[i].m_vCmds)
            if (scene->m_lpCurFlowCmd == &c) cmdInErased = true;
    }
    defs.erase(defs.begin() + static_cast<long long>(i));
    flows.erase(flows.begin() + static_cast<long long>(i));
    if (!scene) return;
    const long long at = static_cast<long long>(i);
    if (curFlow == at) scene->m_lpCurFlow = nullptr;
    if (curFlow > at) scene->m_lpCurFlow = &flows[static_cast<size_t>(curFlow - 1)];
    if (curVars == at) scene->m_lpCurFlowVars = nullptr;
    if (curVars > at) scene->m_lpCurFlowVars = flows[static_cast<size_t>(curVars - 1)].m_anVars;
    // The instances of the other flows keep their storage when a flow moves.
    if (cmdInErased) scene->m_lpCurFlowCmd = nullptr;
}

}  // namespace

int cChara::ExpandFirstLoop(std::vector<cEdFlowCmd>& cmds) {
    const auto it = std::find_if(cmds.begin(), cmds.end(), IsLoopCommand);
    if (it == cmds.end()) return 0;
    const long long j = it - cmds.begin();
    const long long after = static_cast<long long>(cmds.size()) - j - 1;
    const long long n = std::min<long long>(Param(*it, 1), after);
    const long long k = Param(*it, 0);
    if (n <= 0 || k <= 1) {
        cmds.erase(it);
        return 1;
    }
    // The block runs k times in all; the loop command goes.
    const long long total = static_cast<long long>(cmds.size()) - 1 + (k - 1) * n;
    if (total > std::numeric_limits<int32_t>::max()) {
        ReportNoMemory();
        return 0;
    }
    try {
        std::vector<cEdFlowCmd> out;
        out.reserve(static_cast<size_t>(total));
        out.insert(out.end(), cmds.begin(), it);
        for (long long r = 0; r < k; ++r) out.insert(out.end(), it + 1, it + 1 + n);
        out.insert(out.end(), it + 1 + n, cmds.end());
        cmds.swap(out);
    } catch (const std::bad_alloc&) {
        ReportNoMemory();
        return 0;
    } catch (const std::length_error&) {
        ReportNoMemory();
        return 0;
    }
    return 1;
}

void cChara::ExpandLoops(std::vector<cEdFlowCmd>& cmds) {
    while (ExpandFirstLoop(cmds)) {
    }
}

void cChara::InsertFlows(const std::vector<cEdFlow>& defs, int atIndex, int index) {
    long long start = 0, count = 0;
    if (!atIndex) {
        for (cEdFlow& f : m_Def.m_vecFlow) ExpandLoops(f.m_vecCmd);
        count = static_cast<long long>(m_Def.m_vecFlow.size());
        m_vFlows.assign(static_cast<size_t>(count), cFlow{});
    } else {
        std::vector<cEdFlow> added = defs;
        for (cEdFlow& f : added) ExpandLoops(f.m_vecCmd);
        const long long have = static_cast<long long>(m_vFlows.size());
        start = (index != -1 && index >= 0 && index < have) ? index : have;
        count = static_cast<long long>(added.size());
        m_Def.m_vecFlow.insert(m_Def.m_vecFlow.begin() + start, std::make_move_iterator(added.begin()),
                               std::make_move_iterator(added.end()));
        m_vFlows.insert(m_vFlows.begin() + start, static_cast<size_t>(count), cFlow{});
    }
    for (long long i = 0; i < count; ++i) {
        BuildFlowRecord(static_cast<int>(start + i));
        if (atIndex) {
            cFlow& flow = m_vFlows.at(start + i);
            flow.m_bKeyLatch = flow.m_lpDef->m_bKeyRepeat ? 0 : 1;
        }
    }
    if (atIndex) RebuildFlowIndex();
    for (long long i = 0; i < count; ++i) BuildAnimeSchedule(m_vFlows.at(start + i));
}

void cChara::BuildFlowRecord(int position) {
    cFlow& flow = m_vFlows.at(position);
    const cEdFlow& def = m_Def.m_vecFlow.at(static_cast<size_t>(position));
    flow.m_nIndex = position;
    flow.m_nKey = m_nFlowKeyCounter;
    m_nFlowKeyCounter = WrapAdd(m_nFlowKeyCounter, 1);
    flow.m_lpDef = &def;
    PointKeyConds(flow, def);
    flow.m_vCmds.assign(def.m_vecCmd.size(), cFlowCmd{});
    const int32_t clone = m_nClone;
    const int32_t subSteps = g_Stage.m_nSubSteps;
    for (size_t j = 0; j < def.m_vecCmd.size(); ++j) {
        const cEdFlowCmd& dc = def.m_vecCmd[j];
        cFlowCmd& cmd = flow.m_vCmds[j];
        cmd.m_lpDef = &dc;
        cmd.m_nDuration = WrapMul(WrapMul(WrapAdd(WrapMul(dc.m_nTimeStep, clone), dc.m_nTime), subSteps), 6);
        if (const cEdMove* move = dc.m_spMove.get()) {
            cmd.m_dSpeed = WrapAdd(WrapMul(move->m_nSpeedStep, clone), move->m_nSpeed) * 0.1 / g_Stage.m_dSubSteps;
            if (move->m_bInertia) cmd.m_dMaxSpeed = move->m_nMaxSpeed * 0.1 / g_Stage.m_dSubSteps;
            cmd.m_nDirection = move->m_nDirection;
        }
        SetupFlowCmd(cmd, *this);
    }
}

void cChara::BuildAnimeSchedule(cFlow& flow) {
    const int32_t subSteps = g_Stage.m_nSubSteps;
    const int32_t divisor = std::max(1, subSteps);
    int32_t t = 0;  // start of the command within the flow, sequential commands only
    for (const cFlowCmd& cmd : flow.m_vCmds) {
        const cEdFlowCmd& dc = *cmd.m_lpDef;
        const cEdMove* move = dc.m_spMove.get();
        if (dc.m_nAnime != 0 && (!move || move->m_nAnime == 2)) {
            int32_t leadIn = 0;  // tenths, up to the first locked frame
            for (const cDbAnimeFrame& f : g_Database.m_vecAnime.at(dc.m_nAnime).m_vecFrames) {
                if (f.m_bLock) break;
                leadIn = WrapAdd(leadIn, f.m_nDuration);
            }
            const int32_t d = WrapMul(6, leadIn);
            const int32_t e = WrapMul(d, subSteps);
            const bool loop = !(dc.m_nFamily == cEdFlowCmd::FAMILY_CHARA &&
                                (dc.m_nKind == kJumpKind || dc.m_nKind == kSwordKind));
            FlowAnimeEntry entry;
            entry.nAnime = dc.m_nAnime;
            entry.nCmdTime = static_cast<int16_t>(WrapMul(dc.m_nTime, 6));
            entry.bLoop = loop ? 1 : 0;
            if (t >= e) {
                entry.nStart = entry.nStart2 = WrapAdd(t, -e);
                entry.nSkip = 0;
                entry.nFrames = static_cast<int16_t>(d);
            } else {
                const int32_t skip = WrapAdd(e, -t) / divisor;
                entry.nSkip = static_cast<int16_t>(skip);
                entry.nFrames = static_cast<int16_t>(WrapAdd(d, -skip));
            }
            flow.m_vAnimeSchedule.push_back(entry);
        }
        if (dc.m_bSameFrame != 1) t = WrapAdd(t, cmd.m_nDuration);
    }
}

void cChara::RemoveFlow(int i) {
    if (i < 0 || i >= static_cast<long long>(m_vFlows.size()) ||
        i >= static_cast<long long>(m_Def.m_vecFlow.size())) {
        m_vFlows.at(i);  // reports the bad index
        return;
    }
    cFlow& flow = m_vFlows.at(i);
    StopFlow(flow, *this);
    RemoveFlowAnimeRuns(flow.m_nKey);
    EraseFlowRecord(m_vFlows, m_Def.m_vecFlow, static_cast<size_t>(i));
    RebuildFlowIndex();
}

int cChara::RemoveFlowsById(int id) {
    if (id == 0) {
        for (cFlow& flow : m_vFlows) StopFlow(flow, *this);
        while (!m_vFlows.empty() && !m_Def.m_vecFlow.empty()) EraseFlowRecord(m_vFlows, m_Def.m_vecFlow, 0);
        m_vFlows.clear();
        m_Def.m_vecFlow.clear();
        m_lstAnimeRuns.clear();
        RebuildFlowIndex();
        return 0;
    }
    int first = -1;
    for (size_t i = 0; i < m_vFlows.size() && i < m_Def.m_vecFlow.size();) {
        if (m_Def.m_vecFlow[i].m_nId != id) {
            ++i;
            continue;
        }
        if (first < 0) first = static_cast<int>(i);
        cFlow& flow = m_vFlows[i];
        StopFlow(flow, *this);
        RemoveFlowAnimeRuns(flow.m_nKey);
        EraseFlowRecord(m_vFlows, m_Def.m_vecFlow, i);
        // The next flow is stopped through its own definition.
        RebuildFlowIndex();
    }
    // The records after an erased one moved: point them at their own
    // definitions again.
    RebuildFlowIndex();
    return first;
}

void cChara::AddFlow(const cFlow& record) {
    m_vFlows.push_back(record);
    RebuildFlowIndex();
}

void cChara::RebuildFlowIndex() {
    const long long defs = static_cast<long long>(m_Def.m_vecFlow.size());
    for (long long i = 0; i < static_cast<long long>(m_vFlows.size()); ++i) {
        cFlow& flow = m_vFlows[i];
        flow.m_nIndex = static_cast<int32_t>(i);
        if (i >= defs) {
            ReportBadIndex("V", i, defs, sizeof(cEdFlow));
            flow.m_lpDef = nullptr;
            continue;
        }
        const cEdFlow& def = m_Def.m_vecFlow[static_cast<size_t>(i)];
        flow.m_lpDef = &def;
        PointKeyConds(flow, def);
        const long long cmds = static_cast<long long>(def.m_vecCmd.size());
        for (long long j = 0; j < static_cast<long long>(flow.m_vCmds.size()); ++j) {
            if (j >= cmds) {
                ReportBadIndex("V", j, cmds, sizeof(cEdFlowCmd));
                flow.m_vCmds[j].m_lpDef = nullptr;
                continue;
            }
            flow.m_vCmds[j].m_lpDef = &def.m_vecCmd[static_cast<size_t>(j)];
        }
    }
}

// ---------------------------------------------------------------------------
// Animation runs

void cChara::RemoveFlowAnimeRuns(int key) {
    m_lstAnimeRuns.remove_if([key](const cAnimeRun& r) { return r.m_nOwnerKey == key; });
}

void cChara::StopAnimeRuns(int anime) {
    m_lstAnimeRuns.remove_if([anime](const cAnimeRun& r) { return r.m_nAnime == anime; });
}

void cChara::PauseFlowAnimeRuns(int key) {
    const bool dropFinished = g_SystemData.m_bCompat904 != 0;
    for (auto it = m_lstAnimeRuns.begin(); it != m_lstAnimeRuns.end();) {
        if (it->m_nOwnerKey != key) {
            ++it;
        } else if (dropFinished && it->m_nRepeatsLeft <= 0) {
            it = m_lstAnimeRuns.erase(it);
        } else {
            it->m_bPaused = 1;
            ++it;
        }
    }
}

void cChara::ResumeFlowAnimeRuns(int key) {
    for (cAnimeRun& r : m_lstAnimeRuns)
        if (r.m_nOwnerKey == key) r.m_bPaused = 0;
}
