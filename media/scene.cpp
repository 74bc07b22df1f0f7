#include "media/scene.h"

#include "base/checked_vector.h"
#include "base/log.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "media/input/menu_cursor.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_palette.h"
#include "media/input/input_list.h"
#include "media/text/dd_fade.h"

#include <string>

void cScene::InitOrFail() {
    try {
        Init();
    } catch (const char* text) {
        DebugLogFatal("%s", text ? text : "");
    } catch (const std::string& text) {
        DebugLogFatal("%s", text.c_str());
    }
}

void cScene::RunStates(int buttonMask) {
    if (g_bQuit) return;
    cInput& input = g_InputList.at(0);
    input.UpdateKeyRepeat();
    input.UpdateButtonTrigger(buttonMask);
    if (m_nState == -1) {
        InitOrFail();
        m_nState = 0;
    }
    if (g_bQuit) return;
    if (m_nState < 0 || static_cast<size_t>(m_nState) >= m_vecHandlers.size()) {
        ReportBadIndex("V", m_nState, static_cast<long long>(m_vecHandlers.size()), sizeof(StateHandler));
        return;
    }
    (this->*m_vecHandlers[static_cast<size_t>(m_nState)])();
}

void cScene::StepFadeIn() {
    if (DDFadeIn(g_PaletteCopy, 0, 255, 0, 0, 0, g_SceneState.m_nFadeSpeed, g_Palette, false)) m_nState = 1;
}

bool cScene::StepFadeOut(int ownKind, bool resetCursor) {
    if (!DDFadeOut(g_PaletteCopy, 0, 255, 0, 0, 0, g_SceneState.m_nFadeSpeed, g_Palette, false)) return false;
    DDFillSurface(&g_BackBuffer, 16);
    if (resetCursor) ResetCursorPositions();
    g_SceneState.m_nPrevSceneKind = ownKind;
    g_SceneState.m_nSceneKind = g_SceneState.m_nNextSceneKind;
    return true;
}
