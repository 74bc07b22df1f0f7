// Calls of the flow engine into parts that are not built yet, each named
// after the call it stands for. Tests may replace them; the part that builds
// the call deletes its seam and points the callers at the real function.
#pragma once
#include <cstdint>

class cChara;
class cCond;
class cEdFlowCmd;
class cFlow;

namespace seam {

// Puts every seam above back to its stand-in.
void ResetEngineSeams();

}  // namespace seam
