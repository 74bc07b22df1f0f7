// A 64-bit hash of what the play decisions read, taken after every frame of
// play: two runs of a replay that agree frame for frame have equal hashes.
// It covers the objects in list order (the hero, the charas, the items, the
// shots; doubles by their bits, references by the key of what they point
// at), the map cells with their latch, the scroll axes, the stage variables
// and switches, the time, the frame count, the frame-skip count, the
// progress's counters and common variables, the game thread's generator,
// and input record 0's words, rings and key channels. Left out, as nothing
// that plays reads them: effects, pictures, windows, the screen effect and
// colour, gauge timers, background offsets, the hold flag, and input record
// 0's key repeat (shift register and counters) and trigger latch. Definitions' flows and conditions
// are not hashed: play never changes them.
#pragma once
#include <cstdint>

class cScenePlay;

uint64_t PlayStateHash(const cScenePlay& scene);
