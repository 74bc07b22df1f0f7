#include "media/text/dd_frames.h"

#include "media/gfx/dd_blit.h"
#include "media/text/number_layout.h"

void DDFrameRect(DDSURFACEDATA* dst, int x, int y, int w, int h, int thickness, int palNum) {
    const auto pal = static_cast<uint32_t>(palNum);
    DDFillRect(dst, x, y, w, thickness, pal);
    DDFillRect(dst, x, y + h - thickness, w, thickness, pal);
    DDFillRect(dst, x, y, thickness, h, pal);
    DDFillRect(dst, x + w - thickness, y, thickness, h, pal);
}

void DDFrameRectOutside(DDSURFACEDATA* dst, int x, int y, int w, int h, int thickness, int palNum) {
    DDFrameRect(dst, x - thickness, y - thickness, w + 2 * thickness, h + 2 * thickness, thickness, palNum);
}

void DDBltFramed(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int thickness, int palNum) {
    DDBlt(dst, x, y, w, h, src, 0, 0, 1);
    DDFrameRectOutside(dst, x, y, w, h, thickness, palNum);
}

void DDDrawNumber(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* src, int sx, int sy,
                  int bltFlag, int value, int minDigits, int centre) {
    for (const auto& cell : text::LayoutNumber(value, minDigits, centre, cellW)) {
        DDBlt(dst, x + cell.x, y, cellW, cellH, src, sx + cellW * cell.digit, sy, bltFlag);
    }
}
