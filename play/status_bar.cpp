#include "play/status_bar.h"

#include "frontend/data/game_progress.h"
#include "media/gfx/dd_blit.h"
#include "media/text/font.h"
#include "play/chara.h"
#include "play/draw_stage.h"
#include "play/scene_play.h"
#include "play/stage_resources.h"
#include "records/system_data.h"

namespace {

constexpr int kLivesUnlimited = 999999;

bool Shown(int item) {
    const auto& items = g_SystemData.m_vecStatusItems;
    return item < static_cast<int>(items.size()) && items[size_t(item)].m_bShow;
}

// The label's width: one icon, or the text's characters.
int LabelWidth(const cSysStatusItem& it) { return it.m_bIcon ? 16 : 16 * SjisCharCount(it.m_strLabel); }

}  // namespace

int StatusItemWidth(int item) {
    const cSysStatusItem& it = g_SystemData.m_vecStatusItems.at(item);
    return LabelWidth(it) + (item == 2 || item == 3 ? 50 : 16 * it.m_nDigits);
}

int StatusItemLayout(int xs[5]) {
    int n = 0, sum = 0;
    for (int i = 0; i < 5; ++i)
        if (Shown(i)) {
            ++n;
            sum += StatusItemWidth(i);
        }
    const int gap = (638 - sum) / (n + 1);
    int x = gap;
    for (int i = 0; i < 5; ++i) {
        xs[i] = x;
        if (Shown(i)) x += StatusItemWidth(i) + gap;
    }
    return gap;
}

void DrawStatus(cScenePlay& scene) {
    if (!scene.m_bShowStatus) return;
    bool any = false;
    for (int i = 0; i < 5; ++i) any = any || Shown(i);
    if (!any) return;
    DrawTrace("DrawStatus");
    int xs[5];
    StatusItemLayout(xs);
    DDSURFACEDATA* bb = &g_BackBuffer;
    DDSURFACEDATA* acc = &SurfaceTable[kAccessorySlot];
    Font& font = g_Fonts[1];
    DDBlt(bb, 0, 0, 640, 20, &SurfaceTable[kStatusBarSlot], 0, 0, 1);
    const cChara* hero = Hero();
    for (int i = 0; i < 5; ++i) {
        if (!Shown(i)) continue;
        const cSysStatusItem& it = g_SystemData.m_vecStatusItems[size_t(i)];
        const int x = xs[i];
        const char* label = it.m_strLabel.c_str();
        if (i == 2 || i == 3) {
            if (it.m_bIcon) DDBlt(bb, x, 3, 16, 16, acc, 16 * i, 32, 1);
            else font.DrawStringF(bb, x, 3, "%s", label);
            const int gx = x + LabelWidth(it);
            const int value = hero ? (i == 2 ? hero->m_nHP : hero->m_nSP) : 0;
            const int maximum = hero ? (i == 2 ? hero->m_Def.m_nMaxHP : hero->m_Def.m_nMaxSP) : 0;
            const int u = i == 2 ? 0 : 64;
            DDBlt(bb, gx, 3, 50, 16, acc, u, 128, 1);
            const int fill = maximum == 0 ? 0 : static_cast<int>(static_cast<long long>(value) * 50 / maximum);
            const int row = g_SystemData.IsAtThreshold(i, value, maximum) ? 160 : 144;
            DDBlt(bb, gx, 3, fill, 16, acc, u, row, 1);
            if (it.m_bShowValue) g_Fonts[0].DrawStringF(bb, gx, 6, "%d", value);
            continue;
        }
        if (i == 4) {
            const int lives = g_Progress.m_nLives;
            if (it.m_bIcon) {
                DDBlt(bb, x, 3, 16, 16, acc, 16 * i, 32, 1);
                if (lives == kLivesUnlimited) font.DrawString(bb, x + 16, 3, "-");
                else font.DrawStringF(bb, x + 16, 3, "%d", lives);
            } else if (lives == kLivesUnlimited) {
                font.DrawStringF(bb, x, 3, "%s-", label);
            } else {
                font.DrawStringF(bb, x, 3, "%s%d", label, lives);
            }
            continue;
        }
        const int value = i == 0 ? g_Progress.m_nScore : g_Progress.m_nStageScore;
        if (it.m_bIcon) {
            DDBlt(bb, x, 3, 16, 16, acc, 16 * i, 32, 1);
            font.DrawStringF(bb, x + 16, 3, "%d", value);
        } else {
            font.DrawStringF(bb, x, 3, "%s%d", label, value);
        }
    }
}
