// The replay list (scene kind SCENE_REPLAYLIST): the replay files of the
// replay folder in a scrolling list of 20 rows, sorted in one of four orders,
// reopened on the replay played last (g_ReplayData), and the playback of the
// chosen replay in the play scene. Button 4 steps the sort order, 8 shows the
// file's folder (in a window only), 16 reads the folder again.
#pragma once
#include <string>

#include "frontend/replay/replay_file_list.h"
#include "frontend/scenes/scene_file_list.h"

class cSceneReplayList : public cSceneFileList {
public:
    static constexpr int kNamesY = 163;
    static constexpr int kButtonSort = 4, kButtonExplorer = 8, kButtonRefresh = 16;

    cSceneReplayList();
    void Init() override;

private:
    int FileCount() const override;
    const std::string& FileNameAt(int row) const override;
    void DrawPage();
    void UpdateList();
    void Play(int row);
    // The folder read again, the cursor on the first row.
    void Rebuild();
    void RenderPages() override { DrawPage(); }
    void DrawScreen() override { ShowScreenPage(); }
};
