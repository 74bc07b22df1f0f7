// Flows of one chara built in code and run sub-step by sub-step through the
// real flow runtime, with recording executors in the command table. A
// command is tagged by its sound number (the runtime never reads it) and
// gets its duration in sub-steps directly.
#pragma once
#include <string>
#include <vector>

#include "engine/cmd_tables.h"
#include "engine/flow_runtime.h"
#include "tests/support/chara_fixture.h"

namespace flowtest {

using namespace charatest;

struct Cmd {
    int kind = CMD_WAIT;
    int tag = 0;
    int steps = 1;  // duration in sub-steps
    int sameFrame = 0;
    std::vector<int32_t> params = {};
};

// "step:tag" per executed command.
inline std::vector<std::string> g_log;
inline int g_step = 0;

inline void Record(cChara&, cFlowCmd& cmd) {
    g_log.push_back(std::to_string(g_step) + ":" + std::to_string(cmd.m_lpDef->m_nSound));
}

class FlowEngineTest : public CharaTest {
protected:
    void SetUp() override {
        CharaTest::SetUp();
        SetSubSteps(1);
        g_log.clear();
        g_step = 0;
        CmdExecTable[CMD_WAIT] = Record;
    }

    static cEdFlow FlowOf(int id, const std::vector<Cmd>& cmds, int trigger = 0) {
        std::vector<cEdFlowCmd> defs;
        for (const Cmd& c : cmds) {
            cEdFlowCmd d = MakeCmd(cEdFlowCmd::FAMILY_CHARA, c.kind, c.params);
            d.m_nSound = static_cast<int16_t>(c.tag);
            d.m_bSameFrame = static_cast<int8_t>(c.sameFrame);
            defs.push_back(d);
        }
        return MakeFlow(id, defs, trigger);
    }
    // Gives the chara the flows; durations from the commands' steps.
    static void Give(cChara& chara, const std::vector<std::vector<Cmd>>& flows, int trigger = 0) {
        cEdChara def = MakeCharaDef();
        for (size_t i = 0; i < flows.size(); ++i) def.m_vecFlow.push_back(FlowOf(static_cast<int>(i) + 1, flows[i], trigger));
        chara.InitChara(&def, nullptr, 0);
        chara.InsertFlows(chara.m_Def.m_vecFlow, 0, 0);
        for (size_t i = 0; i < flows.size(); ++i)
            for (size_t j = 0; j < flows[i].size(); ++j) chara.m_vFlows[i].m_vCmds[j].m_nDuration = flows[i][j].steps;
    }
    cFlow& Build(const std::vector<Cmd>& cmds, int trigger = 0) {
        Give(m_chara, {cmds}, trigger);
        m_scene.m_lpCurChara = &m_chara;
        return m_chara.m_vFlows[0];
    }
    // One sub-step of the chara's flow pass, as the chara update runs it.
    void Pass() {
        ++g_step;
        m_scene.m_lpCurChara = &m_chara;
        StartFlowAnimes(m_chara);
        m_chara.RunFlowPass(0, false);
    }
    // The log of n passes, joined by blanks.
    std::string Passes(int n) {
        for (int i = 0; i < n; ++i) Pass();
        return Joined();
    }
    static std::string Joined() {
        std::string s;
        for (const std::string& e : g_log) s += (s.empty() ? "" : " ") + e;
        return s;
    }

    cTestChara m_chara;
};

}  // namespace flowtest
