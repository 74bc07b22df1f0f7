// The stage list (scene kind SCENE_STAGELIST), the free-play menu: every
// stage file of the stage folder by file name in a scrolling list of 20 rows,
// reopened on the file started last (g_FreeData), and the start of the chosen
// file as a free play.
#pragma once
#include <string>

#include "base/checked_vector.h"
#include "frontend/scenes/scene_file_list.h"

// One listed file: the folder and file name as listed, and the file name.
struct StageFileEntry {
    std::string m_strPath;
    std::string m_strFileName;
};

// The stage files of the last listing (refilled by every entry to the list).
extern cCheckedVector<StageFileEntry> g_StageFiles;
int CountStageFiles();
// Every file of the stage folder whose extension begins with the stage
// extension, in the order the folder lists them.
void BuildStageFileList();

class cSceneStageList : public cSceneFileList {
public:
    cSceneStageList();
    void Init() override;

private:
    int FileCount() const override;
    const std::string& FileNameAt(int row) const override;
    void DrawPage();
    void UpdateList();
    void RenderPages() override { DrawPage(); }
    void DrawScreen() override { ShowScreenPage(); }
};
