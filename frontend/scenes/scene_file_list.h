// What the stage list and the replay list share: a scrolling list of file
// names of 20 rows from y 160 with its scroll bar at x 620, the cursor that
// moves in it, and the reopening on the file chosen last while the row still
// names it.
#pragma once
#include <cstdint>
#include <string>

#include "frontend/scenes/scene_menu.h"

class Font;
class cInput;

class cSceneFileList : public cSceneMenu {
public:
    static constexpr int kMaxRows = 20;
    static constexpr int kListX = 32, kListY = 160, kPitch = 16, kCursorX = 16;
    static constexpr int kBarX = 620;
    static constexpr int kSlotAccessory = 50, kSlotWindow = 46;

    int m_nListTop = 0;    // first visible row
    int m_nFileCount = 0;  // files listed
    int m_nListRows = 0;   // visible rows

protected:
    cSceneFileList(int ownKind, int musicIndex);

    virtual int FileCount() const = 0;
    virtual const std::string& FileNameAt(int row) const = 0;

    void UpdateCounts();
    // The cursor on the remembered row while that row names lastFile; else
    // row 0, and the remembered row and name are forgotten.
    void OpenOnRemembered(int32_t& listPos, std::string& lastFile);
    // The scroll bar of the visible rows; an empty list has a full-length
    // thumb at the top.
    void DrawScrollBar(DDSURFACEDATA* page);
    // The visible rows' file names in proportional layout at (kListX, y + 16
    // i), or a dash line for an empty list.
    void DrawNames(DDSURFACEDATA* page, Font& font, int y);
    // The cursor's move in the list with its sound; true when a direction
    // was held (the visible rows may have scrolled).
    bool MoveCursor(const cInput& in);
    // The page and the 16 x 16 cursor on the back buffer.
    void ShowWithCursor();
};
