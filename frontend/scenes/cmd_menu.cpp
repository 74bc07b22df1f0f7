#include "frontend/scenes/cmd_menu.h"

#include <algorithm>

#include "app/error_box.h"
#include "media/text/font.h"
#include "platform/cp932.h"

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
