// The in-game message window: a text window (messages, game waits, the
// stage results) or a small popup rising above a chara (a palette graphic
// or an icon when an item is taken). Text windows may carry variable
// escapes, replaced by current values, and choice points, which become the
// positions of the choice cursor. The play scene keeps its windows in a
// list; the draw pass updates each every frame and deletes the finished.
#pragma once
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <vector>

class cScenePlay;
struct DDSURFACEDATA;

// One choice of a text window: its place from the window's top-left corner,
// the compared value, the kind (0 plain, 1 default, 2 game-progress, 3
// stage, 4 chara, 5 flow variable) and the variable's number.
struct MessageChoice {
    int32_t x = 0, y = 0;
    int32_t value = 0;
    int32_t kind = 0;
    int32_t index = 0;
    friend bool operator==(const MessageChoice&, const MessageChoice&) = default;
};

enum eMessageWindowKind : int { MESWIN_TEXT = 1, MESWIN_GRAPHIC = 2, MESWIN_ICON = 3 };

// What a window is set up with.
struct MessageWindowInit {
    int32_t nKind = MESWIN_TEXT;
    std::string strText;
    int32_t nGraphic1 = 0, nGraphic2 = 0, nGraphic3 = 0;
    int32_t nAnchor = 0;  // placement mode 0 to 10
    int32_t nUnit = 0;    // 0 blocks of 32 pixels, 1 pixels
    int32_t nX = 0, nY = 0;
    int32_t nOffsetX = 0, nOffsetY = 0;
    int32_t bClamp = 0;
    int32_t bFixed = 0;
    int32_t nDurationMode = 0;  // 2: lives nFrames frames; non-zero: no choices, no opening
    int32_t nFrames = 0;
    int32_t bCountWhilePaused = 0;
    int32_t nTargetId = 0;
    int32_t bNoOpening = 0;
    int32_t bVariables = 0;
    int32_t bRefresh = 0, nRefreshFrames = 0;
    int32_t bFramed = 0;
    int32_t bHasId = 0, nId = 0;
    int32_t bChoices = 0;
    std::vector<MessageChoice>* lpChoices = nullptr;
    int32_t bKeepSurface = 0;
};

class cMessageWindow {
public:
    DDSURFACEDATA* m_lpSurface = nullptr;
    int32_t m_nSurfaceSlot = -1;
    int32_t m_nKind = MESWIN_TEXT;
    std::string m_strText;    // as shown
    std::string m_strSource;  // as given
    int32_t m_nGraphic1 = 0, m_nGraphic2 = 0, m_nGraphic3 = 0;
    int32_t m_bVariables = 0;
    int32_t m_bRefresh = 0, m_nRefreshFrames = 0;
    int32_t m_bFramed = 0;
    int32_t m_nAnchor = 0, m_nUnit = 0;
    int32_t m_nPosX = 0, m_nPosY = 0;
    int32_t m_nOffsetX = 0, m_nOffsetY = 0;
    int32_t m_nWidth = 0, m_nHeight = 0;
    int32_t m_bClampToScreen = 0;
    int32_t m_nDurationMode = 0;
    int32_t m_bFixed = 0;
    int32_t m_bLatched = 0, m_nLatchX = 0, m_nLatchY = 0;
    int32_t m_bHasId = 0, m_nId = 0;
    int32_t m_bChoices = 0;
    int32_t m_nTargetId = 0;
    int32_t m_nFramesLeft = 0;
    int32_t m_bCountWhilePaused = 0;
    int32_t m_bOpening = 0;
    double m_dOpening = 0.0;
    int32_t m_nDrawX = 0, m_nDrawY = 0;  // where the last frame put the window

    void Init(const MessageWindowInit& init);
    // A window set up again in place (the message command's reuse by ID): a
    // text window's surface is made anew at its place in the pool.
    void Reinit(const MessageWindowInit& init);
    // Gives the work surface back to the pool.
    void ReleaseWorkSurface();
    void AcquireNewWorkSurface();
    // Re-creates the work surface at its place in the pool.
    void AcquireWorkSurface(int slot);
    // The work surface's place in the pool; -1 without one.
    int PoolSlot() const;
    void DrawWindowText(DDSURFACEDATA* surface);
    // One frame: ages, places and draws the window; 1 when it has finished.
    int UpdateMessageWindow(DDSURFACEDATA* target, int paused);
    // The window's top-left corner this frame (before clamping); false when
    // its chara is gone.
    bool Place(int& x, int& y);
};

// Rewrites the text in place: variable escapes by their values ("?" for
// chara and flow variables when refreshing), choice points by a blank with
// a choice appended to the list when one is given.
void FormatMessageText(std::string& text, int variables, int choices, std::vector<MessageChoice>* list,
                       int refreshing);
// The text's size in the message font, each plus 2.
void GetTextExtent(std::string_view text, int& width, int& height);

// Every window of the scene for one frame, in list order; the finished ones
// deleted.
void UpdateMessageWindows(cScenePlay& scene, int paused);
// The palette graphic a graphic popup shows: graphic kind, number and cell.
struct PopupGraphic {
    int32_t nKind = 0, nNumber = 0, nCell = 0;
};
// The popup of a taken item above the chara with the key, showing the
// item's own graphic.
void ShowPickupWindow(int charaKey, const std::string& text, int x, int y, const PopupGraphic& graphic);
// The extra-life sign rising above the hero for 30 frames, also while a
// nested frame loop draws; its creator removes it.
const cMessageWindow* ShowExtraLifeWindow(cScenePlay& scene);

// Takes the window out of the list, its work surface given back; the next
// node.
std::list<cMessageWindow>::iterator EraseMessageWindow(std::list<cMessageWindow>& windows,
                                                       std::list<cMessageWindow>::iterator it);
// The window its creator put up, unless the draw pass has already deleted it.
void RemoveMessageWindow(std::list<cMessageWindow>& windows, const cMessageWindow* window);
// Every window of the scene.
void ClearMessageWindows(cScenePlay& scene);
