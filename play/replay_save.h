// The per-frame save keys F1 and F2 and the automatic save at the end of a
// play.
#pragma once
#include <cstdint>

// F1 (this play) and F2 (the previous play) of every frame of the play
// states: 1 when a save was served this frame (the frame does nothing else).
int CheckReplaySaveKeys();
// The automatic save at the end of a play: 1 when a file was written or no
// name could be made, 0 otherwise.
int AutoSaveReplay();

// Tests: the free bytes of the drive the replays are written to (empty: the
// system's answer).
void SetReplayFreeSpaceProbe(int64_t (*probe)());
