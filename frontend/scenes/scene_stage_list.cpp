#include "frontend/scenes/scene_stage_list.h"

#include <algorithm>
#include <vector>

#include "base/files.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "frontend/data/option_data.h"
#include "frontend/frontend_services.h"
#include "media/input/menu_cursor.h"
#include "media/gfx/dd_blit.h"
#include "media/input/input_list.h"
#include "media/sound/ds_sound.h"
#include "media/text/font.h"
#include "records/system_data.h"

// g_StageFiles is built with the other global objects (frontend/globals.cpp).

int CountStageFiles() { return static_cast<int>(g_StageFiles.size()); }

void BuildStageFileList() {
    g_StageFiles.clear();
    const std::string& ext = g_ExtTable.at(EXT_STG4);
    std::vector<std::string> paths;
    if (!ListFiles(paths, g_PathTable.at(PATH_STG4), ext + "*")) return;
    for (const std::string& path : paths) {
        StageFileEntry e;
        e.m_strPath = path;
        e.m_strFileName = path;
        ExtractFileNameStr(e.m_strFileName);
        g_StageFiles.push_back(std::move(e));
    }
}

cSceneStageList::cSceneStageList() : cSceneFileList(SCENE_STAGELIST, 3) {
    SetHandlers<cSceneStageList>({&cSceneStageList::FadeIn, &cSceneStageList::UpdateList, &cSceneStageList::FadeOut});
}

int cSceneStageList::FileCount() const { return CountStageFiles(); }
const std::string& cSceneStageList::FileNameAt(int row) const { return g_StageFiles.at(row).m_strFileName; }

void cSceneStageList::Init() {
    BeginInit();
    BuildStageFileList();
    ResetCursorPositions();
    OpenOnRemembered(g_FreeData.m_nListPos, g_FreeData.m_strLastFile);
    BuildScreenPage();
    m_nStep = 0;
}

void cSceneStageList::DrawPage() {
    DDSURFACEDATA* page = BeginTitledPage(3);
    if (!page) return;
    DrawScrollBar(page);
    DrawNames(page, g_Fonts[1], kListY);
}

void cSceneStageList::UpdateList() {
    cInput& in = g_InputList.at(0);
    if (MoveCursor(in)) DrawPage();
    const int row = g_MenuCursor.Cur().m_nY;
    if (in.m_wButton & kButtonDecide) {
        if (m_nFileCount > 0 && row >= 0 && row < m_nFileCount && FileExists(g_StageFiles.at(row).m_strPath)) {
            const StageFileEntry& e = g_StageFiles.at(row);
            PlaySe(1);
            if (!StartStageFile(e.m_strPath, 0)) SetQuitAndClose();
            Leave(SCENE_PLAY);
            g_FreeData.m_nListPos = row;
            g_FreeData.m_strLastFile = e.m_strFileName;
        } else {
            PlaySe(3);
        }
        return;
    }
    if (in.m_wButton & kButtonCancel) {
        PlaySe(2);
        Leave(SCENE_TITLE);
        return;
    }
    ShowWithCursor();
}
