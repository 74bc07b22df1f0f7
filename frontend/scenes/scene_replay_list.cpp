#include "frontend/scenes/scene_replay_list.h"

#include "base/app_state.h"
#include "base/files.h"
#include "base/scene_state.h"
#include "frontend/data/option_data.h"
#include "frontend/frontend_services.h"
#include "media/input/menu_cursor.h"
#include "frontend/ui/file_select_dialog.h"
#include "media/input/input_list.h"
#include "media/text/font.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

constexpr int kTitleReplay = 4;  // the title menu's replay item
constexpr int kTextSortKey = 32, kTextExplorerKey = 33, kTextRefreshKey = 34, kTextSortOrder = 35;

// A row whose file is gone (or an empty list) is refused with sound 3.
bool RefuseMissing(int row) {
    if (row >= 0 && row < static_cast<int>(g_ReplayFiles.size()) && FileExists(g_ReplayFiles.at(row).m_strPath))
        return false;
    PlaySe(3);
    return true;
}

}  // namespace

cSceneReplayList::cSceneReplayList() : cSceneFileList(SCENE_REPLAYLIST, 4) {
    SetHandlers<cSceneReplayList>(
        {&cSceneReplayList::FadeIn, &cSceneReplayList::UpdateList, &cSceneReplayList::FadeOut});
}

int cSceneReplayList::FileCount() const { return static_cast<int>(g_ReplayFiles.size()); }
const std::string& cSceneReplayList::FileNameAt(int row) const { return g_ReplayFiles.at(row).m_strFileName; }

void cSceneReplayList::Init() {
    BeginInit();
    BuildReplayList();
    ResetCursorPositions();
    OpenOnRemembered(g_ReplayData.m_nListPos, g_ReplayData.m_strLastFile);
    BuildScreenPage();
    m_nStep = 0;
}

void cSceneReplayList::DrawPage() {
    DDSURFACEDATA* page = BeginTitledPage(kTitleReplay);
    if (!page) return;
    Font& normal = g_Fonts[1];
    const cCheckedVector<std::string>& texts = g_SystemData.m_vecTexts;
    normal.DrawStringF(page, 50, 88, "%s  %s", texts.at(kTextSortKey).c_str(),
                       texts.at(kTextSortOrder + ReplaySortOrder()).c_str());
    if (g_bWindowed) {
        normal.DrawString(page, 50, 104, texts.at(kTextExplorerKey));
        normal.DrawString(page, 50, 120, texts.at(kTextRefreshKey));
    } else {
        normal.DrawString(page, 50, 104, texts.at(kTextRefreshKey));
    }
    DrawScrollBar(page);
    DrawNames(page, g_Fonts[0], kNamesY);
}

void cSceneReplayList::Rebuild() {
    BuildReplayList();
    g_MenuCursor.Cur().m_nY = 0;
    m_nListTop = 0;
    DrawPage();
}

void cSceneReplayList::Play(int row) {
    if (RefuseMissing(row)) return;
    const ReplayFileEntry e = g_ReplayFiles.at(row);
    PlaySe(1);
    // A file the reader refuses has been shown in its error box; the list
    // stays.
    if (!OpenReplayFile(e.m_strPath)) return;
    g_Stage.m_strPath = e.m_strPath;
    Leave(SCENE_PLAY);
    g_ReplayData.m_nListPos = row;
    g_ReplayData.m_strLastFile = e.m_strFileName;
}

void cSceneReplayList::UpdateList() {
    cInput& in = g_InputList.at(0);
    if (MoveCursor(in)) DrawPage();
    const int row = g_MenuCursor.Cur().m_nY;
    if (in.m_wButton & kButtonDecide) {
        Play(row);
        return;
    }
    if (in.m_wButton & kButtonCancel) {
        PlaySe(2);
        Leave(SCENE_TITLE);
        return;
    }
    if (in.m_wButton & kButtonSort) {
        if (m_nFileCount == 0) {
            PlaySe(3);
            return;
        }
        PlaySe(1);
        g_ReplayData.m_nSortOrder = (ReplaySortOrder() + 1) % 4;
        Rebuild();
    }
    if ((in.m_wButton & kButtonExplorer) && g_bWindowed) {
        const int shown = g_MenuCursor.Cur().m_nY;
        if (RefuseMissing(shown)) return;
        PlaySe(1);
        ui::ShowInExplorer(g_ReplayFiles.at(shown).m_strPath, nullptr);
    }
    if (in.m_wButton & kButtonRefresh) {
        PlaySe(1);
        Rebuild();
    }
    ShowWithCursor();
}
