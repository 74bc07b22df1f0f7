// The headless replay check of the command line: the game folder set up
// without a window, sound or dialogs, the replay played twice and compared
// (frontend/replay/replay_check.h). Nothing is written but the hash list
// asked for.
#pragma once
#include <string>

// file: the replay (CP932, as the working folder sees it); expect, hashesOut:
// hash lists (may be empty). The program's exit status: 0 identical, 1
// diverged, 2 the folder, the file or a list could not be used.
int RunVerifyReplay(const std::string& file, const std::string& expect, const std::string& hashesOut);
