// Calls of the shot, sword and summon commands into parts that are being
// built elsewhere, each named after the call it stands for. Tests may
// replace them; the part that builds the call takes its seam away.
#pragma once

namespace seam {

// Stand-in until the flow-control and target commands land: the number of
// live charas (the stand-in counts the computer charas that are not dead).
using CountLiveCharasFn = int (*)();
extern CountLiveCharasFn CountLiveCharas;

// Puts every seam above back to its stand-in.
void ResetShotCmdSeams();

}  // namespace seam
