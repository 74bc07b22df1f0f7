// Calls of play code into parts that are not built yet, each named after the
// call it stands for. Tests may replace them; the part that builds the call
// deletes its seam and points the callers at the real function.
#pragma once

class cScenePlay;
class cMapCell;

namespace seam {

// Stand-in until the flow engine lands: whether the conditions of the cell's
// block hold (the stand-in: always).
using CheckBlockCondsFn = int (*)(cScenePlay* scene, cMapCell& cell);
extern CheckBlockCondsFn CheckBlockConds;
int CheckBlockCondsStandIn(cScenePlay* scene, cMapCell& cell);

}  // namespace seam
