#include "app/scene_title_minimal.h"

#include "media/media_services.h"

cSceneTitleMinimal::cSceneTitleMinimal() { SetHandlers<cSceneTitleMinimal>({&cSceneTitleMinimal::Show}); }

void cSceneTitleMinimal::Run() { RunStates(); }

void cSceneTitleMinimal::Show() { DDFillSurface(&g_MinimalFrame, 16); }
