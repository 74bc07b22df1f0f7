#include "app/window_placement.h"

#include "base/files.h"
#include "app/globals.h"
#include "base/quit.h"
#include "base/system_report.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cWindowPlacement>;

void cWindowPlacement::ClampPosition(int limitW, int limitH) {
    if (m_nX < 0) m_nX = 0;
    else if (m_nX > limitW) m_nX = limitW;
    if (m_nY < 0) m_nY = 0;
    else if (m_nY > limitH) m_nY = limitH;
}

void cWindowPlacement::OnLoaded(const cLoadContext&) {
    int w = 0, h = 0;
    GetFullScreenClientSize(w, h);
    ClampPosition(w, h);
}

WindowPlacementPlan PlanWindowPlacement(int windowMode, bool loaded, const cWindowPlacement& saved) {
    WindowPlacementPlan plan;
    if (windowMode == 0) return plan;
    if (!loaded) {
        plan.bZoomToFit = true;
        return plan;
    }
    plan.bMove = true;
    plan.nX = saved.m_nX;
    plan.nY = saved.m_nY;
    plan.bMaximize = saved.m_bMaximized != 0;
    const bool bTooSmall = saved.m_nWidth < 640 || saved.m_nHeight < 480;
    if (windowMode == 1) {
        if (!bTooSmall && saved.m_nWidth % 640 == 0 && saved.m_nHeight % 480 == 0)
            plan.bSetClient = true;
        else
            plan.bZoomToFit = true;
    } else if (windowMode == 2) {
        if (bTooSmall)
            plan.bZoomToFit = true;
        else
            plan.bSetClient = true;
    }
    if (plan.bSetClient) {
        plan.nWidth = saved.m_nWidth;
        plan.nHeight = saved.m_nHeight;
    }
    return plan;
}

bool SaveWindowPlacementOnClose(int windowMode, bool running, bool minimized, int x, int y, int clientW,
                                int clientH, bool maximized) {
    if (windowMode == 0 || !running || g_bQuit || minimized) return false;
    cWindowPlacement& wp = g_WindowPlacement;
    wp.m_nX = x;
    wp.m_nY = y;
    wp.m_nWidth = clientW;
    wp.m_nHeight = clientH;
    wp.m_bMaximized = maximized ? 1 : 0;
    return wp.SaveFile(g_PathTable[PATH_WINDOW_FILE]);
}
