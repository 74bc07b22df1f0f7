// Puts an in-game object of a test scene at a stage position with a
// 32 x 32 box and draw size.
#pragma once

namespace playtest {

template <class T>
void PlaceObject(T& o, int key, double x, double y) {
    o.m_nKey = key;
    o.m_dX = x;
    o.m_dY = y;
    o.m_dRight = x + 31;
    o.m_dBottom = y + 31;
    o.m_nDrawWidth = o.m_nDrawHeight = o.m_nBaseDrawWidth = o.m_nBaseDrawHeight = 32;
}

}  // namespace playtest
