// Calls of the stage menus into the play step that is being built, each
// named after the call it stands for. Tests may replace them.
#pragma once
#include <string>

namespace seam {

// The start of a stage file as a play (the play-step issue's StartStageFile,
// "Stage play: the play step, the play scene and its states"); by default
// the landed StartStageFile.
using StartStageFileFn = bool (*)(const std::string& path, int flag);
extern StartStageFileFn StartStageFile;

// Puts every seam above back to its default.
void ResetStageMenuSeams();

}  // namespace seam
