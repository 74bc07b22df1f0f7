#include "frontend/scenes/scene_file_list.h"

#include <algorithm>

#include "media/input/menu_cursor.h"
#include "media/gfx/dd_blit.h"
#include "media/input/input_list.h"
#include "media/sound/ds_sound.h"
#include "media/text/font.h"

cSceneFileList::cSceneFileList(int ownKind, int musicIndex)
    : cSceneMenu(ownKind, musicIndex, kMenuButtons5, {kSlotAccessory, kSlotWindow}) {}

void cSceneFileList::UpdateCounts() {
    m_nFileCount = FileCount();
    m_nListRows = std::min(m_nFileCount - m_nListTop, kMaxRows);
}

void cSceneFileList::OpenOnRemembered(int32_t& listPos, std::string& lastFile) {
    m_nFileCount = FileCount();
    MenuCursorPos& cursor = g_MenuCursor.Cur();
    if (m_nFileCount > 0 && listPos >= 0 && listPos < m_nFileCount && FileNameAt(listPos) == lastFile) {
        cursor.m_nY = listPos;
        m_nListTop = std::max(0, std::min(cursor.m_nY, m_nFileCount - kMaxRows));
    } else {
        listPos = 0;
        cursor.m_nY = 0;
        m_nListTop = 0;
        lastFile.clear();
    }
}

void cSceneFileList::DrawScrollBar(DDSURFACEDATA* page) {
    UpdateCounts();
    const int track = 16 * m_nListRows;
    int thumb = track, thumbTop = kListY;
    if (m_nFileCount > 0) {
        thumb = m_nListRows * track / m_nFileCount;
        thumbTop = kListY + m_nListTop * track / m_nFileCount;
    }
    DDSURFACEDATA* cells = &SurfaceTable[kSlotAccessory];
    DDBltStretch(page, kBarX, kListY, 16, track, cells, 80, 16, 16, 16, 1);
    DDBltStretch(page, kBarX, thumbTop, 16, thumb, cells, 64, 16, 16, 16, 1);
}

void cSceneFileList::DrawNames(DDSURFACEDATA* page, Font& font, int y) {
    if (m_nFileCount == 0) {
        font.DrawString(page, kListX, y, "----------------");
        return;
    }
    const int pitch = font.m_nPitch;
    font.m_nPitch = 0;  // file names in proportional layout
    for (int i = 0; i < m_nListRows; ++i) font.DrawString(page, kListX, y + kPitch * i, FileNameAt(m_nListTop + i));
    font.m_nPitch = pitch;
}

bool cSceneFileList::MoveCursor(const cInput& in) {
    UpdateCounts();
    g_MenuCursor.MoveList(in.m_sDir, 1, m_nListTop, kListY, kPitch, kCursorX, m_nListRows, m_nFileCount, 1, 1);
    DS_PlayCursorSE(in.m_sDir, 3, 0);
    return in.m_sDir != 0;
}

void cSceneFileList::ShowWithCursor() {
    ShowScreenPage();
    const MenuCursorPos& c = g_MenuCursor.Cur();
    DDBlt(&g_BackBuffer, c.m_nPixelX, c.m_nPixelY, 16, 16, &SurfaceTable[kSlotAccessory], 64, 0, 1);
}
