// The small pieces every demo stage's flows are made of: a command, a flow,
// and a flow started by a key.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "records/cond.h"
#include "records/ed_flow.h"

namespace demo {

inline cEdFlowCmd Cmd(int family, int kind, std::vector<int32_t> params = {}, int time = 0) {
    cEdFlowCmd c;
    c.m_nFamily = static_cast<int8_t>(family);
    c.m_nKind = static_cast<int8_t>(kind);
    c.m_vecParam = std::move(params);
    c.m_nTime = static_cast<int16_t>(time);
    return c;
}

inline cEdFlow Flow(int id, std::vector<cEdFlowCmd> cmds, int trigger = TRG_ALWAYS) {
    cEdFlow f = cEdFlow::ForReading();
    f.m_nId = static_cast<int8_t>(id);
    f.m_nTrigger = static_cast<int8_t>(trigger);
    f.m_vecCmd = std::move(cmds);
    return f;
}

// One step of a key sequence: the key on `channel` pressed, for any time.
inline cKeyCond KeyStep(int channel) {
    cKeyCond step;
    step.m_vecKey.at(static_cast<size_t>(channel)) = cKeyCond::KEY_PRESSED;
    step.m_bAnyDuration = 1;
    return step;
}

// A flow that runs while one key is held (held) or once per press.
inline cEdFlow KeyFlow(int id, int channel, bool held, std::vector<cEdFlowCmd> cmds) {
    cEdFlow f = Flow(id, std::move(cmds));
    f.m_vecKeyCond.push_back(KeyStep(channel));
    f.m_bKeyRepeat = held ? 1 : 0;
    return f;
}

}  // namespace demo
