#include "media/text/cmd_menu.h"

#include <algorithm>

#include "base/error_box.h"
#include "media/text/font.h"
#include "media/gfx/dd_state.h"
#include "platform/cp932.h"
#include "records/system_data.h"

namespace {

int LongestEnabledLabel(const std::vector<cCmd>& list) {
    int longest = 0;
    for (const cCmd& c : list)
        if (c.m_nEnabled) longest = std::max(longest, SjisCharCount(c.m_strLabel));
    return longest;
}

}  // namespace

int CountEnabledCmds(const std::vector<cCmd>& list) {
    int n = 0;
    for (const cCmd& c : list)
        if (c.m_nEnabled) ++n;
    return n;
}

int GetCmdNum(int n, const std::vector<cCmd>& list) {
    int seen = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (!list[i].m_nEnabled) continue;
        if (seen == n) return static_cast<int>(i);
        ++seen;
    }
    DebugErrorBoxf("%s", SJ("cCmd::GetCmdNum 番号が不正です！").c_str());
    return 0;
}

void DrawCmdMenu(DDSURFACEDATA* dst, int x, int y, const std::vector<cCmd>& list) {
    const int rows = CountEnabledCmds(list);
    const int longest = LongestEnabledLabel(list);
    if (longest == 0) return;
    const int w = (longest + 1) * 16, h = rows * 16;
    Font& font = g_Fonts[1];
    font.DrawTextBox(dst, x, y, w, h);
    for (int r = 0; r < rows; ++r) {
        const int i = GetCmdNum(r, list);
        font.DrawString(dst, x + 16, y + r * 16, list[static_cast<size_t>(i)].m_strLabel);
    }
    font.DrawTextFrame(dst, x, y, w, h);
}

int CmdMenuCenterX(int centreX, const std::vector<cCmd>& list) {
    const int longest = LongestEnabledLabel(list);
    if (longest == 0) return centreX;
    return centreX - ((longest + 1) * 16) / 2;
}

void DrawMenuStrings(const cSystemData& sys, int x, int y, int first, int count, int cursor) {
    if (count <= 0) return;
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (cursor) text += ' ';
        text += sys.m_vecTexts.at(static_cast<long long>(first) + i);
        text += '\n';
    }
    const int w = (sys.WidestText(first, count) + (cursor ? 1 : 0)) * 16;
    g_Fonts[1].DrawMultiLine(&g_BackBuffer, x, y, w, count * 16, text, 0);
}
