#include "frontend/scenes/stage_menu_seams.h"

#include "frontend/frontend_services.h"

namespace seam {

StartStageFileFn StartStageFile = &::StartStageFile;

void ResetStageMenuSeams() { StartStageFile = &::StartStageFile; }

}  // namespace seam
