#include "engine/status_fields.h"

#include "frontend/data/game_progress.h"
#include "play/chara.h"
#include "play/scene_play.h"
#include "records/cmd_kinds.h"
#include "records/stage.h"

namespace {
constexpr int32_t kMax = 999999;

template <class T>
StatusField Field(T& f, int32_t lo, int32_t hi) {
    return StatusField{&f, static_cast<int>(sizeof(T)), lo, hi};
}
}  // namespace

StatusField CharaStatusField(cChara& c, int status, int varIndex) {
    cEdChara& d = c.m_Def;
    switch (status) {
        case STATUS_VAR: return Field(c.m_vVars.at(varIndex), -kMax, kMax);
        case STATUS_HP: return Field(c.m_nHP, 0, kMax);
        case STATUS_SP: return Field(c.m_nSP, 0, kMax);
        case STATUS_MAXHP: return Field(d.m_nMaxHP, 0, kMax);
        case STATUS_MAXSP: return Field(d.m_nMaxSP, 0, kMax);
        case STATUS_CID: return Field(d.m_nCharaId, 0, 99);
        case STATUS_Z: return Field(d.m_nZ, 0, 7);
        case STATUS_MARK: return Field(d.m_nBadge, 0, 119);
        case STATUS_SIGHT: return Field(d.m_nViewRange, 0, 40);
        case STATUS_POWER: return Field(d.m_nAttack, -kMax, kMax);
        case STATUS_IMP: return Field(d.m_nImpact, -20, 20);
        case STATUS_DEF: return Field(d.m_nDefence, 0, kMax);
        case STATUS_IMPD: return Field(d.m_nImpactResist, 0, 20);
        case STATUS_STOP: return Field(d.m_nFriction, 0, 200);
        case STATUS_GETSC: return Field(d.m_nScore, -kMax, kMax);
        default: return StatusField{nullptr, 4, -16384, 16384};  // positions and unknown indexes
    }
}

StatusField SystemValueField(int index) {
    switch (index) {
        case SYSVAL_TIME: return Field(PlayScene()->m_nTimeLeft, 0, 999);
        case SYSVAL_SCROLLX: return Field(g_Stage.m_nAutoScrollSpeedX, -480, 480);
        case SYSVAL_SCROLLY: return Field(g_Stage.m_nAutoScrollSpeedY, -480, 480);
        case SYSVAL_SCORE: return Field(g_Progress.m_nStageScore, 0, kMax);
        case SYSVAL_LIFE: return Field(g_Progress.m_nLives, 0, 99);
        default: return StatusField{};
    }
}
