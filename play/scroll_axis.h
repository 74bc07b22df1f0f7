// One axis of the view onto the stage: where the view's top-left corner lies
// (stage pixels, the 10-cell border included), the range it may move in, the
// stage's extent on the axis and the automatic scroll speed.
#pragma once
#include <cstdint>

class cScrollAxis {
public:
    double m_dPos = 0.0;  // view origin on this axis
    int32_t m_bAtEdge = 0;  // the last clamp put the view on a range limit
    int32_t m_nAxis = 0;    // 0 horizontal, 1 vertical
    int32_t m_nView = 0;    // 640 or 480
    int32_t m_nMinPos = 0;  // view range: [m_nMinPos, m_nMaxEnd)
    int32_t m_nMaxEnd = 0;
    int32_t m_nOrigin = 0;  // movement limits: [m_nOrigin, m_nEnd), the stage inside the border
    int32_t m_nEnd = 0;
    int32_t m_nBorder = 0;  // cells of border before the stage
    int32_t m_nLimit = 0;   // the whole map in pixels, both borders included
    int32_t m_nCells = 0;   // map cells on this axis
    int32_t m_nStride = 0;  // horizontal: 1 << m_nShift; vertical: m_nCells
    int32_t m_nShift = 0;   // horizontal: binary digits of (width + 19); vertical: 0
    double m_dSpeed = 0.0;  // automatic scroll per sub-step
    int32_t m_bAutoOn = 0;

    // The axis of a stage `stageCells` cells long: view, border, cells,
    // stride, shift, origin, end and limit; the view range is the movement
    // limits until SetRange narrows it.
    void Init(int axis, int stageCells);
    // Keeps the view inside [m_nMinPos, m_nMaxEnd); a range shorter than the
    // view keeps it at m_nMinPos.
    void Clamp();
    // One sub-step of automatic scrolling.
    void Advance();
    // speed in tenths of a pixel per frame; stored per sub-step.
    void SetAutoScroll(int on, int speed);
    void SetRange(int minCells, int maxCells, int minOn, int maxOn);
};

// Binary digits of v (0 for v <= 0).
int BinaryDigits(int32_t v);
