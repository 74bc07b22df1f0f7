// Reading a stage for play: the file is read on thLoad while the calling
// thread stays responsive (the main thread pumps its events; a game-side
// thread waits and can be asked to quit meanwhile).
#pragma once
#include <functional>
#include <string>

class cStage;
class cEdChara;

// Reads the stage file `path` into g_Stage. With `numbered`, the highest
// numbered "<path with the stage extension>_NNN" from 1000 down is read.
// On success the start copy (when given) takes the stage's settings and the
// hero (when given) a copy of the hero's placement; 1. Otherwise 0: no file,
// a damaged file or a stage without hero (each with its error box; the
// last two also close the program), a failed read (error box, g_Stage as it
// was), or the waiting thread asked to quit (no message).
int LoadStageWithMessagePump(const std::string& path, bool numbered, cStage* startCopy, cEdChara* heroOut);

// Tests: runs on thLoad before the file is read (null: nothing).
void SetStageLoaderHookForTests(std::function<void()> hook);
