// The searches for a target chara: the first chara of a list (or of a table
// of numbered charas) that passes a filter, and the nearest one on screen.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

class cChara;
class cObject;

// What a search leaves out. A chara passes when it is not dead, has the
// wanted chara id (byId), is not the excluded key, is not invincible by the
// excluded kind (1 or 2), is no block chara (excludeBlockCharas) and, when
// byVariable is set, its variable compares with value by op.
struct TargetFilter {
    int byId = 0, charaId = 0;
    int byVariable = 0, variable = 0, value = 0, op = 0;
    int excludeKey = 0, key = 0;
    int excludeInvincible1 = 0, excludeInvincible2 = 0, excludeBlockCharas = 0;
};

bool PassesTargetFilter(const cChara& chara, const TargetFilter& filter);

// The first chara of the list that passes; null when none.
cChara* FindTargetChara(const std::vector<cChara*>& list, const TargetFilter& filter);
// Over (chara, number) pairs, from the last pair to the first: only the
// wanted number, no null chara, and unless anyGroup only charas of group.
cChara* FindTargetCharaById(const std::vector<std::pair<cChara*, int>>& table, int number, int anyGroup, int group,
                            const TargetFilter& filter);
// The acting, living chara that passes with the smallest |dx| + |dy| from
// (x, y) to its screen centre; the first found wins a tie. mode 0: in view
// first, then out of view; 1: all; 2: in view only.
cChara* FindNearestTargetChara(int x, int y, const std::vector<cChara*>& list, int mode, const TargetFilter& filter);
// In view only when the stage hits in view only, else mode 0; charas
// invincible by kind 2 left out.
cChara* FindNearestChara(int x, int y, const std::vector<cChara*>& list);
// FindNearestChara from the centre of the object's screen box.
cChara* NearestToMe(const cObject& self, const std::vector<cChara*>& list);
