// The window placement record "user_data\Window.dat": where the window was,
// its client size and whether it was maximised, kept in window mode and
// restored at the next start. 32 bytes: version 1000, field count 5, x, y,
// width, height, maximised (int32 each), string count 0.
#pragma once
#include <cstdint>

#include "records/data_record.h"

class cWindowPlacement : public cRecord<cWindowPlacement> {
public:
    int32_t m_nX = 0;          // screen x of the window's top-left corner
    int32_t m_nY = 0;          // screen y of the window's top-left corner
    int32_t m_nWidth = 0;      // client width
    int32_t m_nHeight = 0;     // client height
    int32_t m_bMaximized = 0;  // 1 when the window was maximised

    template <class F>
    void Fields(F& f) {
        f.Field("x", m_nX);
        f.Field("y", m_nY);
        f.Field("width", m_nWidth);
        f.Field("height", m_nHeight);
        f.Field("maximised", m_bMaximized);
    }
    // The position is clamped to the screen as it loads.
    void OnLoaded(const cLoadContext&);
    // x to 0 .. limitW, y to 0 .. limitH.
    void ClampPosition(int limitW, int limitH);
};
extern template class cRecord<cWindowPlacement>;

// What the start-up does with the window in window mode.
struct WindowPlacementPlan {
    bool bMove = false;  // move the window to (x, y)
    int nX = 0, nY = 0;
    bool bSetClient = false;  // give the client area nWidth x nHeight
    int nWidth = 0, nHeight = 0;
    bool bZoomToFit = false;  // the largest zoom that fits the work area
    bool bMaximize = false;   // start maximised
};

// windowMode: the "WindowMode" setting (0 full screen: nothing is done);
// loaded: whether Window.dat was read. A saved client size below 640 x 480
// is never taken as it is: the window zooms to fit instead.
WindowPlacementPlan PlanWindowPlacement(int windowMode, bool loaded, const cWindowPlacement& saved);

// The close sequence: stores the window's place and saves the record when
// the game runs in a window ("WindowMode" not 0), the game thread had been
// started, the quit flag is clear and the window is not minimised. True when
// the file was written.
bool SaveWindowPlacementOnClose(int windowMode, bool running, bool minimized, int x, int y, int clientW,
                                int clientH, bool maximized);
