// Parameter forms of the blit, pixels, circles, hex text and the dialog-box mode.
#include <cstdarg>
#include <cstdio>

#include "base/log.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_layer.h"
#include "media/gfx/dd_palette.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

int DDBltStretchParam(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw,
                      int sh, int flag, const DDBLTPARAM& params) {
    if (!lpDTCon) return DDBltStretch(dst, x, y, w, h, src, sx, sy, sw, sh, flag);
    DDSetBlitColor(params.dwColor);
    DDSetColorOp(params.nColorOp);
    const int r = DDBltStretch(dst, x, y, w, h, src, sx, sy, sw, sh, flag);
    DDResetBlitColor();
    DDResetColorOp();
    return r;
}

void DDBltParam(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
                const DDBLTPARAM& params) {
    if (!lpDTCon) {
        DDBlt(dst, x, y, w, h, src, sx, sy, flag);
        return;
    }
    DDBltStretchParam(dst, x, y, w, h, src, sx, sy, w, h, flag, params);
}

void DDSetPixel(DDSURFACEDATA* sd, int x, int y, uint32_t palNum) {
    if (!sd || x < 0 || y < 0 || x >= sd->nWidth || y >= sd->nHeight) return;
    DDFillRect(sd, x, y, 1, 1, palNum);
}

void DDCircle(DDSURFACEDATA* sd, int cx, int cy, int r, uint32_t palNum) {
    if (!sd || r < 1) return;
    int x = 0, y = r, d = 3 - 2 * r;
    auto plot = [&](int px, int py) {
        if (lpDTCon) DDFillRect(sd, px, py, 1, 1, palNum);
        else DDSetPixel(sd, px, py, palNum);
    };
    while (x <= y) {
        plot(cx + x, cy + y);
        plot(cx - x, cy + y);
        plot(cx + x, cy - y);
        plot(cx - x, cy - y);
        plot(cx + y, cy + x);
        plot(cx - y, cy + x);
        plot(cx + y, cy - x);
        plot(cx - y, cy - x);
        if (d < 0) {
            d += 4 * x + 6;
        } else {
            d += 4 * (x - y) + 10;
            y -= 1;
        }
        x += 1;
    }
}

void DDDrawHexText(DDSURFACEDATA* sd, int x, int y, int cellW, int cellH, DDSURFACEDATA* digits, const char* text) {
    if (!sd || !digits || !text) return;
    if (lpDTCon) DDBeginLayer(0);
    int col = 0, row = 0;
    for (const char* p = text; *p; ++p) {
        const int code = static_cast<unsigned char>(*p);
        if (code == '\n') {
            col = 0;
            row += cellH;
            continue;
        }
        int cellRow = (code >> 4) & 15;
        if (code >= 0xA6 && code <= 0xBF) cellRow -= 10;
        else if (code >= 0xC0 && code <= 0xDD) cellRow -= 4;
        DDBlt(sd, x + col, y + row, cellW, cellH, digits, (code & 15) * cellW, cellRow * cellH, 1);
        col += cellW;
        if (col >= g_DD.nWidth) {
            col = 0;
            row += cellH;
        }
    }
    if (lpDTCon) DDEndLayer();
}

void DDDebugPrintf(DDSURFACEDATA* sd, int x, int y, int cellW, int cellH, DDSURFACEDATA* digits, const char* format,
                   ...) {
    char buf[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    DDDrawHexText(sd, x, y, cellW, cellH, digits, buf);
}

int DDSetDialogBoxMode(int on) {
    if (g_DD.nScreenMode != 0) return 1;
    if (on) {
        if (lpDTCon) DDEndScene();
        if (g_nCursorCount < 0) g_nCursorCount = 0;
    } else {
        while (g_nCursorCount >= 0) --g_nCursorCount;
    }
    return 1;
}

int DDMesBox(const char* text, const char* caption, int type) {
    if (!DDSetDialogBoxMode(1)) {
        DebugLogf(SJ("DDMesBox 失敗! %s, %s").c_str(), text, caption);
        return 0;
    }
    platform::ShowMessageBoxOs(text ? text : "", caption ? caption : "", type);
    DDSetDialogBoxMode(0);
    return 1;
}
