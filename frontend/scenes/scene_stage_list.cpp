#include "frontend/scenes/scene_stage_list.h"

#include <algorithm>
#include <vector>

#include "app/files.h"
#include "app/quit.h"
#include "app/scene_manager.h"
#include "frontend/data/option_data.h"
#include "frontend/frontend_services.h"
#include "frontend/scenes/menu_cursor.h"
#include "media/gfx/dd_blit.h"
#include "media/input/input_list.h"
#include "media/sound/ds_sound.h"
#include "media/text/font.h"
#include "records/system_data.h"

namespace {
constexpr int kSlotAccessory = 50, kSlotWindow = 46;
}  // namespace

// g_StageFiles is built with the other global objects (app/globals.cpp).

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

cSceneStageList::cSceneStageList() : cSceneMenu(SCENE_STAGELIST, 3, kMenuButtons5, {kSlotAccessory, kSlotWindow}) {
    SetHandlers<cSceneStageList>({&cSceneStageList::FadeIn, &cSceneStageList::UpdateList, &cSceneStageList::FadeOut});
}

void cSceneStageList::UpdateCounts() {
    m_nFileCount = CountStageFiles();
    m_nListRows = std::min(m_nFileCount - m_nListTop, kMaxRows);
}

void cSceneStageList::Init() {
    BeginInit();
    BuildStageFileList();
    m_nFileCount = CountStageFiles();
    ResetCursorPositions();
    cFreeData& free = g_FreeData;
    MenuCursorPos& cursor = g_MenuCursor.Cur();
    // The stored row reopens only while it still names the same file.
    if (m_nFileCount > 0 && free.m_nListPos >= 0 && free.m_nListPos < m_nFileCount &&
        g_StageFiles.at(free.m_nListPos).m_strFileName == free.m_strLastFile) {
        cursor.m_nY = free.m_nListPos;
        m_nListTop = std::max(0, std::min(cursor.m_nY, m_nFileCount - kMaxRows));
    } else {
        free.m_nListPos = 0;
        cursor.m_nY = 0;
        m_nListTop = 0;
        free.m_strLastFile.clear();
    }
    BuildScreenPage();
    m_nStep = 0;
}

void cSceneStageList::DrawPage() {
    DDSURFACEDATA* page = BeginTitledPage(3);
    if (!page) return;
    Font& normal = g_Fonts[1];

    UpdateCounts();
    // The scroll bar; an empty folder has a full-length thumb at the top.
    const int track = 16 * m_nListRows;
    int thumb = track, thumbTop = kListY;
    if (m_nFileCount > 0) {
        thumb = m_nListRows * track / m_nFileCount;
        thumbTop = kListY + m_nListTop * track / m_nFileCount;
    }
    DDSURFACEDATA* cells = &SurfaceTable[kSlotAccessory];
    DDBltStretch(page, kBarX, kListY, 16, track, cells, 80, 16, 16, 16, 1);
    DDBltStretch(page, kBarX, thumbTop, 16, thumb, cells, 64, 16, 16, 16, 1);

    if (m_nFileCount == 0) {
        normal.DrawString(page, kListX, kListY, "----------------");
        return;
    }
    const int pitch = normal.m_nPitch;
    normal.m_nPitch = 0;  // file names in proportional layout
    for (int i = 0; i < m_nListRows; ++i)
        normal.DrawString(page, kListX, kListY + kPitch * i, g_StageFiles.at(m_nListTop + i).m_strFileName);
    normal.m_nPitch = pitch;
}

void cSceneStageList::UpdateList() {
    cInput& in = g_InputList.at(0);
    UpdateCounts();
    g_MenuCursor.MoveList(in.m_sDir, 1, m_nListTop, kListY, kPitch, kCursorX, m_nListRows, m_nFileCount, 1, 1);
    DS_PlayCursorSE(in.m_sDir, 3, 0);
    if (in.m_sDir) DrawPage();
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
    ShowScreenPage();
    const MenuCursorPos& c = g_MenuCursor.Cur();
    DDBlt(&g_BackBuffer, c.m_nPixelX, c.m_nPixelY, 16, 16, &SurfaceTable[kSlotAccessory], 64, 0, 1);
}
