// The play scene's sound and music requests, served by the main window
// (which plays every sound): system sound effect n, user sound effect n
// (the entries after the 17 system ones; nothing for 0), and the stage's
// music with its repeat flag (kept in the progress record).
#pragma once

void PlaySe(int n);
void PlayUserSe(int n);
void RequestBgm(int entry, int repeat);
