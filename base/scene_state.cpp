#include "base/scene_state.h"

#include "base/main_thread.h"

// Constant-initialised: ready before any global object is built.
cSceneState g_SceneState;
cScene* g_lpPlayScene = nullptr;

void cSceneState::RequestSceneBgm(int entry, int repeat, int slot, int force) {
    if (!force && entry != 0 && repeat && entry == m_nBgmEntry && m_bBgmRepeat) return;
    m_nBgmEntry = entry;
    m_bBgmRepeat = static_cast<uint8_t>(repeat != 0);
    SendMainWindowMessage(UM_PLAYBGM, slot, 0);
}
