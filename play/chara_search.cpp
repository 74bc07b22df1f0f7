#include "play/chara_search.h"

#include <cstdlib>

#include "engine/compare_op.h"
#include "play/chara.h"
#include "records/stage.h"

namespace {

int ScreenCentreX(const cObject& o) { return static_cast<int>((static_cast<int64_t>(o.m_nScrLeft) + o.m_nScrRight) / 2); }
int ScreenCentreY(const cObject& o) { return static_cast<int>((static_cast<int64_t>(o.m_nScrTop) + o.m_nScrBottom) / 2); }

// 0 any, 1 in view only, 2 out of view only.
cChara* Nearest(int x, int y, const std::vector<cChara*>& list, int view, const TargetFilter& filter) {
    cChara* best = nullptr;
    int64_t bestDist = 0;
    for (cChara* c : list) {
        if (!c || !c->m_bActing) continue;
        if ((view == 1 && !c->m_bInView) || (view == 2 && c->m_bInView)) continue;
        if (!PassesTargetFilter(*c, filter)) continue;
        const int64_t d = std::llabs(static_cast<int64_t>(ScreenCentreX(*c)) - x) +
                          std::llabs(static_cast<int64_t>(ScreenCentreY(*c)) - y);
        if (!best || d < bestDist) {
            best = c;
            bestDist = d;
        }
    }
    return best;
}

}  // namespace

bool PassesTargetFilter(const cChara& c, const TargetFilter& f) {
    if (c.m_bDead) return false;
    if (f.byId && c.m_Def.m_nCharaId != f.charaId) return false;
    if (f.excludeKey && c.m_nKey == f.key) return false;
    if (f.excludeInvincible1 && c.m_Def.m_nInvincible == 1) return false;
    if (f.excludeInvincible2 && c.m_Def.m_nInvincible == 2) return false;
    if (f.excludeBlockCharas && c.m_Def.m_bBlockChara) return false;
    if (f.byVariable) {
        // A variable number beyond the chara's variables matches nothing.
        if (f.variable < 0 || f.variable >= static_cast<int>(c.m_vVars.size())) return false;
        if (!CompareByOp(c.m_vVars[f.variable], f.value, f.op)) return false;
    }
    return true;
}

cChara* FindTargetChara(const std::vector<cChara*>& list, const TargetFilter& filter) {
    for (cChara* c : list)
        if (c && PassesTargetFilter(*c, filter)) return c;
    return nullptr;
}

cChara* FindTargetCharaById(const std::vector<std::pair<cChara*, int>>& table, int number, int anyGroup, int group,
                            const TargetFilter& filter) {
    for (auto it = table.rbegin(); it != table.rend(); ++it) {
        cChara* c = it->first;
        if (it->second != number || !c) continue;
        if (!anyGroup && c->m_nGroup != group) continue;
        if (PassesTargetFilter(*c, filter)) return c;
    }
    return nullptr;
}

cChara* FindNearestTargetChara(int x, int y, const std::vector<cChara*>& list, int mode, const TargetFilter& filter) {
    if (mode == 0) {
        if (cChara* c = Nearest(x, y, list, 1, filter)) return c;
        return Nearest(x, y, list, 2, filter);
    }
    return Nearest(x, y, list, mode == 2 ? 1 : 0, filter);
}

cChara* FindNearestChara(int x, int y, const std::vector<cChara*>& list) {
    TargetFilter filter;
    filter.excludeInvincible2 = 1;
    return FindNearestTargetChara(x, y, list, g_Stage.m_bHitInViewOnly ? 2 : 0, filter);
}

cChara* NearestToMe(const cObject& self, const std::vector<cChara*>& list) {
    return FindNearestChara(ScreenCentreX(self), ScreenCentreY(self), list);
}
