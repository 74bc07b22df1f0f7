// Whether the emulated devices put pixels into their surfaces. Only a run
// that no one watches turns it off (a headless replay check, through
// DDSetFramesWatched): nothing of play reads a pixel (play, the flow engine
// and the front end never lock a surface; the media layer reads pixels only
// to make other pixels), so its frames may leave the surfaces as they were.
// Draw calls still check their arguments and report as before.
#pragma once
#include <atomic>

namespace gfx {
// Set by the thread that starts the run, read by whichever thread draws.
extern std::atomic<bool> g_bDrawPixels;
}  // namespace gfx
