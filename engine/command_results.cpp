#include "engine/command_results.h"

#include "play/scene_play.h"
#include "records/system_data.h"

namespace {
int32_t* FlowVars() {
    cScenePlay* scene = PlayScene();
    return scene ? scene->m_lpCurFlowVars : nullptr;
}
}  // namespace

void WriteCmdResult(int32_t result) {
    int32_t* v = FlowVars();
    if (!v) return;
    v[0] = result;
    if (g_SystemData.m_bCompat981) v[1] = 0;
}

void WriteCmdResults(int32_t word0, int32_t word1) {
    if (int32_t* v = FlowVars()) {
        v[0] = word0;
        v[1] = word1;
    }
}
