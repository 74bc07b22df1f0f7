// The input step of every frame loop: the joysticks are looked for again
// when the options ask for it (or the first time) outside the play, then
// every input record is read.
#pragma once

void UpdateFrameInput();
