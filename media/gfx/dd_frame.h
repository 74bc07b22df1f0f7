// Frames for the window layer: a surface, or the frame last shown, as
// 0x00RRGGBB pixels (8-bit frames through the palette object).
#pragma once
#include <cstdint>
#include <vector>

#include "media/gfx/dd_state.h"

// The surface's pixels (g_BackBuffer: what the scene drew this frame).
bool DDSurfaceToXrgb8888(DDSURFACEDATA* sd, std::vector<uint32_t>& out, int& width, int& height);
// What the device shows: Direct3D the last presented frame, DirectDraw the
// primary surface.
bool DDShownFrameToXrgb8888(std::vector<uint32_t>& out, int& width, int& height);

// The same straight into a buffer of width x height pixels; false (nothing
// written) when the shown frame has another size or there is none.
bool DDShownFrameToXrgb8888(uint32_t* out, int width, int height);
