#include "app/scene_title_minimal.h"

#include "media/gfx/dd_blit.h"

cSceneTitleMinimal::cSceneTitleMinimal() { SetHandlers<cSceneTitleMinimal>({&cSceneTitleMinimal::Show}); }

void cSceneTitleMinimal::Run() { RunStates(); }

void cSceneTitleMinimal::Show() { DDFillSurface(&g_BackBuffer, 16); }
