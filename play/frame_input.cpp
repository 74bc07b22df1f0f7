#include "play/frame_input.h"

#include "base/scene_state.h"
#include "base/thread.h"
#include "frontend/data/option_data.h"
#include "media/media_services.h"
#include "play/scene_play.h"

void UpdateFrameInput() {
    AssertGameToken();
    if ((g_OptionData.m_bJoyRescan != 0 || !g_SceneState.m_bJoystickSetupDone) && !PlaySceneInPlayState()) {
        DetectJoysticks(g_SceneState.m_nFrameRate);
        g_SceneState.m_bJoystickSetupDone = true;
    }
    if (InputKeyConfigEnabled()) {
        UpdateAllInput(60);
    } else {
        int n = InputRecordCount();
        for (int i = 0; i < n; ++i) PollInput(i, i == 0 ? 3 : 1, 60);
    }
}
