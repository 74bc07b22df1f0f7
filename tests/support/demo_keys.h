// The keys of the scripted demo plays: the hero walks right, jumps every 50
// frames (Z held for 12) and fires a spread of shots every 23 (X); as a
// person would, he jumps at the edge of a pit (a column ahead with no block
// from his feet down) and keeps from jumping in the last columns before it.
#pragma once
#include <set>

#include "platform/keyboard_state.h"
#include "play/chara.h"
#include "play/scene_play.h"
#include "records/stage.h"

namespace testsupport {

// The columns from the hero's front to a pit ahead (0: the next column), or
// -1 when none lies within `reach` columns.
inline int ColumnsToPit(int reach) {
    const cScenePlay* scene = PlayScene();
    const cChara* hero = Hero();
    if (!scene || !hero) return -1;
    const int front = static_cast<int>((hero->m_dX + 32) / 32) - scene->m_ScrollX.m_nBorder;
    const int feet = static_cast<int>((hero->m_dY + 31) / 32) - scene->m_ScrollY.m_nBorder;
    for (int ahead = 0; ahead <= reach; ++ahead) {
        const int x = front + ahead;
        if (x < 0 || x >= g_Stage.m_nWidth) return -1;
        bool ground = false;
        for (const cEdBlock& b : g_Stage.m_vecPlacedBlock)
            ground = ground || (b.m_nX == x && b.m_nY >= feet && b.m_nHitMode == cEdBlock::HIT_SOLID);
        if (!ground) return ahead;
    }
    return -1;
}

inline void DashKeys(int frame, std::set<int>& keys) {
    keys.insert(platform::VK_RIGHT);
    bool jump = frame % 50 < 12;
    const int pit = ColumnsToPit(3);
    if (pit == 0) jump = frame % 2 == 0;  // pressed anew every other frame
    else if (pit > 0) jump = false;
    if (jump) keys.insert('Z');
    if (frame % 23 == 0) keys.insert('X');
}

}  // namespace testsupport
