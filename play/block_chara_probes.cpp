#include "play/block_chara_probes.h"

#include "play/chara_computer.h"
#include "records/system_data.h"

namespace {

bool IsLiveBlockChara(const cCharaComputer& c) { return c.m_Def.m_bBlockChara && !c.m_bDead && c.m_bActing; }

bool PassesBlocks(const cChara& c) { return c.m_bFlying && c.m_nWallMode == 0; }

bool Contains(const cCharaComputer& c, double x, double y) {
    return c.m_dX <= x && x <= c.m_dRight && c.m_dY <= y && y <= c.m_dBottom;
}

bool OverlapsBox(const cCharaComputer& c, double left, double top, double right, double bottom) {
    return c.m_dX <= right && left <= c.m_dRight && c.m_dY <= bottom && top <= c.m_dBottom;
}

}  // namespace

int IsRidingBlockChara(cChara& chara) {
    for (cCharaComputer& c : g_lstCharas) {
        if (&c == &chara || !IsLiveBlockChara(c) || c.m_nKey != chara.m_nRiddenKey) continue;
        if (OverlapsBox(c, chara.m_dX, chara.m_dY, chara.m_dRight, chara.m_dBottom + 5)) return 1;
    }
    return 0;
}

cCharaComputer* FindCharaBelow(cChara& chara) {
    for (cCharaComputer& c : g_lstCharas) {
        if (&c == &chara || !IsLiveBlockChara(c)) continue;
        if (OverlapsBox(c, chara.m_dX, chara.m_dY, chara.m_dRight, chara.m_dBottom + 5)) return &c;
    }
    return nullptr;
}

int IsWedgedInBlockCharas(cChara& chara, const double box[4]) {
    if (PassesBlocks(chara) || g_lstCharas.empty()) return 0;
    // The right edge counts as inside only where walls are simple.
    const double inset = g_SystemData.OptSimpleWalls ? 0.0 : 1.0;
    const double own[4][2] = {{chara.m_dX, chara.m_dY},
                              {chara.m_dRight - inset, chara.m_dY},
                              {chara.m_dX, chara.m_dBottom - 1},
                              {chara.m_dRight - inset, chara.m_dBottom - 1}};
    const double given[4][2] = {{box[0], box[1]}, {box[2] - inset, box[1]}, {box[0], box[3] - 1}, {box[2] - inset, box[3] - 1}};
    for (int i = 0; i < 4; ++i) {
        bool found = false;
        for (const cCharaComputer& c : g_lstCharas) {
            if (&c == &chara || !IsLiveBlockChara(c)) continue;
            if (Contains(c, own[i][0], own[i][1]) || Contains(c, given[i][0], given[i][1])) {
                found = true;
                break;
            }
        }
        if (!found) return 0;
    }
    return 1;
}

int OverlapsBlockChara(cChara& chara) {
    if (PassesBlocks(chara)) return 0;
    for (const cCharaComputer& c : g_lstCharas) {
        if (c.m_nKey == chara.m_nKey || !IsLiveBlockChara(c)) continue;
        if (OverlapsBox(c, chara.m_dX, chara.m_dY, chara.m_dRight, chara.m_dBottom)) return 1;
    }
    return 0;
}
