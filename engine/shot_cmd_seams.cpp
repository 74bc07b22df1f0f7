#include "engine/shot_cmd_seams.h"

#include "play/chara_computer.h"

namespace seam {

namespace {
int CountLiveCharasStandIn() {
    int n = 0;
    for (const cCharaComputer& c : g_lstCharas)
        if (!c.m_bDead) ++n;
    return n;
}
}  // namespace

CountLiveCharasFn CountLiveCharas = CountLiveCharasStandIn;

void ResetShotCmdSeams() { CountLiveCharas = CountLiveCharasStandIn; }

}  // namespace seam
