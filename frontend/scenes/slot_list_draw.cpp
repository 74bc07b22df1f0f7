#include "frontend/scenes/slot_list_draw.h"

#include "media/gfx/dd_blit.h"
#include "media/text/font.h"

void DrawSlotDate(const cSaveSlotInfo& info, DDSURFACEDATA* dst, int x, int y) {
    if (!info.m_bUsed) return;
    const SaveTime& t = info.m_stTime;
    g_Fonts[1].DrawStringF(dst, x, y, "%04d/%02d/%02d %02d:%02d\n", t[ST_YEAR], t[ST_MONTH], t[ST_DAY], t[ST_HOUR],
                           t[ST_MINUTE]);
}

void DrawSaveSlotList(DDSURFACEDATA* dst, int x, int y, cCheckedVector<cSaveSlotInfo>& list, int first, int rows) {
    g_Fonts[1].DrawTextBox(dst, x, y, 320, rows * 16);
    for (int i = 0; i < rows; ++i) {
        const long long f = static_cast<long long>(first) + i;
        if (!list.empty() && f >= 0 && f < static_cast<long long>(list.size())) {
            g_Fonts[1].DrawStringF(dst, x + 16, y + 16 * i, "%d", static_cast<int>(f + 1));
            DrawSlotDate(list.at(f), dst, x + 64, y + 16 * i);
        }
        if (i < rows - 1) DDFillRect(dst, x, y + 16 * i + 15, 320, 1, 240);
    }
}
