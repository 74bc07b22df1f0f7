#include "play/ranking_draw.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "base/scene_state.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/number_format.h"
#include "frontend/data/ranking.h"
#include "play/sound_requests.h"
#include "records/system_ini.h"
#include "media/gfx/dd_blit.h"
#include "media/text/font.h"
#include "platform/cp932.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

constexpr int kSignSlot = 50;  // bmp\Accessory.bmp

Font& RankFont() { return g_Fonts[1]; }

const std::string& CategoryLabel(int c) { return g_SystemData.m_vecTexts.at(5 + static_cast<long long>(c)); }

void DrawSign(DDSURFACEDATA* dst, int x, int y) { DDBlt(dst, x, y, 16, 16, &SurfaceTable[kSignSlot], 16, 48, 1); }

// Draws with font 1's icon letters off while the game shows them, so that
// the letters of a name or an English title stay letters.
template <class F>
void WithPlainLetters(F draw) {
    const bool icons = g_SystemData.m_bFontFlag != 0;
    if (icons) RankFont().m_bIcon = 0;
    draw();
    if (icons) RankFont().m_bIcon = 1;
}

// The value of a ranking category in the game progress.
int CategoryValue(int c) {
    switch (c) {
        case 0: return g_Progress.m_nScore;
        case 1: return g_Progress.m_nTotal1;
        case 2: return g_Progress.m_nTotal2;
        case 3: return g_Progress.m_nTotal3;
        case 4: return g_Progress.m_nTotal4;
        default: return 0;
    }
}

bool IsScoreCategory(int c) { return c == 0 || c == 1 || c == 3 || c == 4; }

}  // namespace

void DrawRankingTable(const cRankingTable& table, DDSURFACEDATA* dst, int x, int y, int c, int h) {
    Font& font = RankFont();
    font.DrawTextBox(dst, x + 1, y + 1, 270, 351);
    const std::string& label = CategoryLabel(c);
    if (g_SystemIni.English)
        WithPlainLetters([&] { font.DrawStringF(dst, x, y, "Ranking  %s", label.c_str()); });
    else
        font.DrawStringF(dst, x, y, SJ("ランキング    %s").c_str(), label.c_str());

    int width = 0;  // digit columns of the scores
    // A table stored with no entries draws empty (entry 0 does not exist).
    if (IsScoreCategory(c) && !table.m_vecEntry.empty()) width = CountDigits(table.m_vecEntry.at(0).m_nScore);
    if (c == 2) width = 8;
    const int entries = static_cast<int>(table.m_vecEntry.size());
    for (int i = 0; i < entries; ++i) {
        const cRankingEntry& e = table.m_vecEntry.at(i);
        if (!e.m_bUsed) continue;
        const int yi = y + 16 * (i + 1);
        font.DrawStringF(dst, x + 16, yi, "%d", i + 1);
        WithPlainLetters([&] { font.DrawString(dst, x + 64, yi, e.m_strName); });
        if (c == 2)
            font.DrawString(dst, x + 144, yi, FormatRankingValue(e.m_nScore));
        else if (IsScoreCategory(c))
            font.DrawStringF(dst, x + 16 * (9 + width - CountDigits(e.m_nScore)), yi, "%d", e.m_nScore);
    }
    if (g_SystemData.CountEnabled(g_SceneState.g_nGameKind) >= 2) {
        const std::string& footer = g_SystemData.m_vecTexts.at(28);
        font.DrawString(dst, x + 136 - 8 * SjisCharCount(footer), y + 16 * (entries + 1), footer);
    }
    if (h != -1) DrawSign(dst, x, y + 16 * (h + 1));
}

void cRanking::Draw(DDSURFACEDATA* dst, int x, int y, int c, int h) {
    DrawRankingTable(m_vecTable.at(c), dst, x, y, c, h);
}

void DrawStageResult(DDSURFACEDATA* dst, int x, int y, std::span<const int32_t> positions) {
    const std::vector<int32_t>& used = g_Stage.m_vecRankingSwitch;
    const cSysMenuFlags& kinds = g_SystemData.m_vecRankingSets.at(g_SceneState.g_nGameKind);
    std::vector<int> shown(kRankingTables, 0);
    for (int i = 0; i < kRankingTables; ++i) {
        const bool usedByStage = static_cast<size_t>(i) < used.size() && used[static_cast<size_t>(i)] != 0;
        const bool enabled = g_bFreeStage || (static_cast<size_t>(i) < kinds.m_vecKinds.size() && kinds.m_vecKinds.at(i) != 0);
        shown[static_cast<size_t>(i)] = usedByStage && enabled ? 1 : 0;
    }
    const int rows = CountValue(shown, 1);
    if (rows == 0) return;
    int labelWidth = 1, valueWidth = 1;
    for (int i = 0; i < kRankingTables; ++i) {
        if (!shown[static_cast<size_t>(i)]) continue;
        labelWidth = std::max(labelWidth, SjisCharCount(CategoryLabel(i)));
        if (IsScoreCategory(i)) valueWidth = std::max(valueWidth, CountDigits(CategoryValue(i)));
    }
    if (shown[2]) valueWidth = std::max(valueWidth, 8);
    Font& font = RankFont();
    font.DrawTextBox(dst, x, y, (valueWidth + labelWidth + 2) * 16, rows * 16);
    int row = 0;
    for (int i = 0; i < kRankingTables; ++i) {
        if (!shown[static_cast<size_t>(i)]) continue;
        const int yr = y + 16 * row++;
        font.DrawString(dst, x + 16, yr, CategoryLabel(i));
        const int vx = x + 16 * (labelWidth + 2);
        if (i == 2)
            font.DrawString(dst, vx, yr, FormatRankingValue(CategoryValue(i)));
        else
            font.DrawStringF(dst, vx, yr, "%d", CategoryValue(i));
        if (static_cast<size_t>(i) < positions.size() && positions[static_cast<size_t>(i)] != -1) DrawSign(dst, x, yr);
    }
}
