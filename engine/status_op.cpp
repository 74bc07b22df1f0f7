#include "engine/status_op.h"

#include <optional>

#include "base/checked_vector.h"
#include "base/random.h"
#include "engine/param_op.h"
#include "engine/status_fields.h"
#include "engine/warp.h"
#include "frontend/data/game_progress.h"
#include "play/chara.h"
#include "play/chara_hits.h"
#include "play/chara_player.h"
#include "play/draw_stage.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "records/cond.h"
#include "records/ed_flow.h"
#include "records/ed_move.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

constexpr int32_t kValueMax = 999999;
constexpr int32_t kCoordMax = 16384;

// A bottom anchor: always for 1, for 2 only while the chara walks.
bool AnchorAtBottom(int anchor, const cChara& c) { return anchor == 1 || (anchor == 2 && !c.m_bFlying); }

// Parameter i of a command through the checked access.
int32_t Param(const cEdFlowCmd& cmd, int i) {
    const auto& v = cmd.m_vecParam;
    if (i >= 0 && i < static_cast<int>(v.size())) return v[i];
    ReportBadIndex("V", i, static_cast<long long>(v.size()), sizeof(int32_t));
    return v.empty() ? 0 : v[0];
}

int32_t* CurrentFlowVars() {
    cScenePlay* scene = PlayScene();
    return scene ? scene->m_lpCurFlowVars : nullptr;
}

void Report(const cEdFlowCmd& cmd, int32_t diff) {
    if (!Param(cmd, 24)) return;
    if (int32_t* fv = CurrentFlowVars()) {
        fv[0] = 1;
        fv[1] = diff;
    }
}

int32_t& Variable(int kind, int index, bool& ok) {
    static int32_t none = 0;
    ok = true;
    if (kind == 0) return g_Progress.m_vecCommonVar.at(index);
    if (kind == 1) return PlayScene()->m_vStageVars.at(index);
    ok = false;
    return none;
}

bool LivesUnlimited() { return g_Progress.m_nLives == kUnlimitedLives; }

// A system value as an operand.
int32_t SystemOperand(int index) {
    switch (index) {
        case SYSVAL_TIME: return PlayScene()->m_bNoTimeLimit ? 0 : PlayScene()->m_nTimeLeft;
        case SYSVAL_LIFE: return LivesAsOperand();
        default: {
            const StatusField f = SystemValueField(index);
            return f.p ? f.Read() : 0;
        }
    }
}

// Where an operand is read from (the condition's or the operation's fields).
struct OperandSpec {
    int source, constant, randA, randB, subject, status, varKind, index, flowVar, coordMode, anchor;
};

// Reads the operand; false when the subject's slot is empty, a coordinate or
// sight read fails, or a flow variable is asked for without flow variables.
bool ReadOperand(const OperandSpec& s, cChara& self, int32_t* flowVars, bool condition, int32_t& out) {
    out = 0;
    switch (s.source) {
        case SRC_CONST: out = s.constant; return true;
        case SRC_RANDOM: out = RandRange(s.randA, s.randB); return true;
        case SRC_STATUS: {
            if (s.subject == SUBJ_SYSTEM) {
                out = SystemOperand(s.status);
                return true;
            }
            cChara* c = SubjectChara(self, s.subject);
            if (!c) return false;
            switch (s.status) {
                case STATUS_X: return GetCharaX(out, c, s.coordMode, &self);
                case STATUS_Y: return GetCharaY(out, c, s.coordMode, s.anchor, &self);
                case STATUS_SIGHT:
                    if (!IsPlayerChara(*c)) return false;
                    break;
                case STATUS_STOP:
                    if (condition) c->m_dFriction = cChara::SpeedPerFrame(c->m_Def.m_nFriction);
                    break;
                default: break;
            }
            const StatusField f = CharaStatusField(*c, s.status, s.index);
            out = f.p ? f.Read() : 0;
            return true;
        }
        case SRC_VARIABLE: {
            bool ok;
            const int32_t& v = Variable(s.varKind, s.index, ok);
            out = ok ? v : 0;
            return true;
        }
        case SRC_FLOWVAR:
            if (!flowVars) return false;
            out = s.flowVar == 1 ? flowVars[0] : s.flowVar == 2 ? flowVars[1] : 0;
            return true;
        default: return true;
    }
}

// Percent rule and comparison of a status condition: with the percent flag
// the operand becomes that percentage of the reference, clamped.
bool CompareCond(const cCond& cond, int32_t left, int32_t operand, int32_t reference, int32_t lo, int32_t hi, int width) {
    if (cond.m_bPercent) {
        operand = PercentOf(reference, operand, 1);
        ClampValue(operand, lo, hi);
    }
    if (width == 1) return CompareByOpByte(left, operand, cond.m_nOp);
    if (width == 2) return CompareByOpShort(left, operand, cond.m_nOp);
    return CompareByOp(left, operand, cond.m_nOp);
}

}  // namespace

// ---------------------------------------------------------------------------

cChara* SubjectChara(cChara& self, int subject) {
    if (subject == SUBJ_SELF) return &self;
    if (subject >= SUBJ_TARGET1 && subject <= SUBJ_TARGET4) return self.TargetSlot(cChara::SubjectToSlot(subject));
    return nullptr;
}

bool IsPlayerChara(const cChara& c) { return dynamic_cast<const cCharaPlayer*>(&c) != nullptr; }

int32_t LivesAsOperand() {
    if (!LivesUnlimited()) return g_Progress.m_nLives;
    return g_SystemData.m_bCompat819 ? 0 : 100;
}

namespace {

// A coordinate in a mode from its screen value, the view's axis and the
// value relative to the reference chara (none without one).
bool InMode(int32_t& out, int mode, int32_t screen, const cScrollAxis& axis, const std::optional<int32_t>& relative) {
    switch (mode) {
        case COORD_SCR: out = screen; return true;
        case COORD_ABS: out = WrapAdd(WrapAdd(screen, TruncToInt(axis.m_dPos)), -WrapMul(32, axis.m_nBorder)); return true;
        case COORD_REL:
            if (!relative) return false;
            out = *relative;
            return true;
        default: return true;
    }
}

int32_t CentreX(const cChara& c) { return WrapAdd(c.m_nScrLeft, c.m_nDrawWidth >> 1); }
int32_t CentreY(const cChara& c) { return WrapAdd(c.m_nScrTop, c.m_nDrawHeight >> 1); }

}  // namespace

bool GetCharaX(int32_t& out, const cChara* c, int mode, const cChara* ref) {
    if (!c) return false;
    std::optional<int32_t> rel;
    if (ref) rel = WrapAdd(CentreX(*c), -CentreX(*ref));
    return InMode(out, mode, CentreX(*c), PlayScene()->m_ScrollX, rel);
}

bool GetCharaY(int32_t& out, const cChara* c, int mode, int anchor, const cChara* ref) {
    if (!c) return false;
    std::optional<int32_t> rel;
    if (ref) rel = WrapAdd(CentreY(*c), -CentreY(*ref));
    const int32_t screen = AnchorAtBottom(anchor, *c) ? WrapAdd(c->m_nScrBottom, -15) : CentreY(*c);
    return InMode(out, mode, screen, PlayScene()->m_ScrollY, rel);
}

namespace {

// The warp to a coordinate that the position setters hand to the warp.
bool WarpTo(cChara& chara, int32_t value, int mode, int anchor, bool yAxis) {
    ClampValue(value, -kCoordMax, kCoordMax);
    cEdFlowCmd cmd;
    cEdMove& m = cmd.m_spMove.Create();
    m.m_nMoveMode = 5;
    m.m_bUseTargetX = !yAxis;
    m.m_bUseTargetY = yAxis;
    m.m_nTargetX = m.m_nTargetY = 0;
    m.m_nTargetXDot = m.m_nTargetYDot = 0;
    m.m_bMirrorTargetX = m.m_bMirrorTargetY = 0;
    if (mode >= COORD_REL && mode <= COORD_SCR) m.m_nCoordMode = static_cast<int8_t>(mode);
    if (!g_SystemData.m_bCompat895) {
        m.m_nTargetUnit = 1;
        m.m_nAnchor = static_cast<int8_t>(yAxis ? anchor : 0);
        (yAxis ? m.m_nTargetY : m.m_nTargetX) = static_cast<int16_t>(value);
    } else {
        // The older form: the value as the offset in dots.
        if (!yAxis) {
            m.m_nTargetUnit = 1;
            m.m_nAnchor = 0;
        }
        if (mode == COORD_ABS || mode == COORD_SCR) value -= 16;
        (yAxis ? m.m_nTargetYDot : m.m_nTargetXDot) = static_cast<int16_t>(value);
    }
    return DoWarp(chara, cmd, 1);
}

}  // namespace

bool SetCharaX(int32_t value, cChara& chara, int mode) { return WarpTo(chara, value, mode, 0, false); }
bool SetCharaY(int32_t value, cChara& chara, int mode, int anchor) { return WarpTo(chara, value, mode, anchor, true); }

// ---------------------------------------------------------------------------
// The status condition

bool TestStatusCondValue(const cCond& cond, int32_t value, int32_t operand) {
    return CompareCond(cond, value, operand, 0, -kValueMax, kValueMax, 4);
}

bool EvalStatusCond(cCond& cond, cChara& chara, int32_t* flowVars) {
    // The operand, kept in the condition.
    const OperandSpec s{cond.m_nRightSource,  cond.m_nValue,        cond.m_nRandomMin,    cond.m_nRandomMax,
                        cond.m_nRightTarget,  cond.m_nRightItem,    cond.m_nRightVarKind, cond.m_nRightVarIndex,
                        cond.m_nRightFlowVar, cond.m_nRightCoordMode, cond.m_nRightCoordRef};
    int32_t operand = 0;
    if (!ReadOperand(s, chara, flowVars, true, operand)) return false;
    cond.m_nValue = operand;

    // The left-hand value.
    switch (cond.m_nLeftSource) {
        case 0: {
            if (cond.m_nLeftTarget == SUBJ_SYSTEM) {
                const int index = cond.m_nLeftItem;
                if (index < 0 || index >= SYSTEM_VALUE_COUNT) return false;
                if (index == SYSVAL_LIFE && LivesUnlimited()) {
                    if (g_SystemData.m_bCompat819) return false;
                    return CompareCond(cond, 100, operand, 0, 0, 99, 4);
                }
                const StatusField f = SystemValueField(index);
                return CompareCond(cond, f.Read(), operand, 0, f.lo, f.hi, 4);
            }
            cChara* c = SubjectChara(chara, cond.m_nLeftTarget);
            if (!c) return false;
            const int status = cond.m_nLeftItem;
            if (status < 0 || status >= CHARA_STATUS_COUNT) return true;
            int32_t left = 0;
            if (status == STATUS_X) {
                if (!GetCharaX(left, c, cond.m_nLeftCoordMode, &chara)) return false;
                return CompareCond(cond, left, operand, 0, -kCoordMax, kCoordMax, 4);
            }
            if (status == STATUS_Y) {
                if (!GetCharaY(left, c, cond.m_nLeftCoordMode, cond.m_nLeftCoordRef, &chara)) return false;
                return CompareCond(cond, left, operand, 0, -kCoordMax, kCoordMax, 4);
            }
            const StatusField f = CharaStatusField(*c, status, cond.m_nVarIndex);
            int32_t reference = 0;
            if (status == STATUS_HP) reference = c->m_Def.m_nMaxHP;
            if (status == STATUS_SP) reference = c->m_Def.m_nMaxSP;
            const int32_t lo = (status == STATUS_POWER || status == STATUS_GETSC) ? 0 : f.lo;
            return CompareCond(cond, f.Read(), operand, reference, lo, f.hi, f.width);
        }
        case 1: {
            bool ok;
            const int32_t& v = Variable(cond.m_nLeftVarKind, cond.m_nVarIndex, ok);
            if (!ok) return false;
            return CompareCond(cond, v, operand, 0, -kValueMax, kValueMax, 4);
        }
        case 2:
            if (!flowVars) return false;
            if (cond.m_nLeftFlowVar == 1) return TestStatusCondValue(cond, flowVars[0], operand);
            if (cond.m_nLeftFlowVar == 2) return TestStatusCondValue(cond, flowVars[1], operand);
            return false;
        default: return false;
    }
}

// ---------------------------------------------------------------------------
// The status operation

void ReportStatusOpFailure(const cEdFlowCmd& cmd) {
    if (!Param(cmd, 24)) return;
    if (int32_t* fv = CurrentFlowVars()) {
        fv[0] = 2;
        fv[1] = 0;
    }
}

namespace {

// Operator and percent of a 32-bit field, then the report.
void ApplyToInt(const cEdFlowCmd& cmd, int32_t& field, int32_t operand, int32_t lo, int32_t hi) {
    const int32_t old = field;
    if (Param(cmd, 16) & 0xFF) operand = PercentOf(field, operand, 1);
    ApplyParamOp(field, operand, Param(cmd, 6), lo, hi);
    Report(cmd, WrapAdd(field, -old));
}

// An 8- or 16-bit field: the operand cut to its width, the percentage of
// the current value in that width, the report of the sign-extended values.
template <class T>
void ApplyToNarrow(const cEdFlowCmd& cmd, T& field, int32_t operand, int32_t lo, int32_t hi) {
    const T old = field;
    T o = static_cast<T>(operand);
    if (Param(cmd, 16) & 0xFF) o = static_cast<T>(sizeof(T) == 1 ? PercentOfByte(field, o, 1) : PercentOfShort(field, o, 1));
    if constexpr (sizeof(T) == 1)
        ApplyStatusOpByte(field, o, Param(cmd, 6), lo, hi);
    else
        ApplyStatusOpShort(field, o, Param(cmd, 6), lo, hi);
    Report(cmd, field - old);
}

// HP or SP: a working copy, the report, then the chara's own change.
void ApplyToGauge(const cEdFlowCmd& cmd, cChara& c, bool hp, int32_t operand) {
    const int32_t current = hp ? c.m_nHP : c.m_nSP;
    const int32_t max = hp ? c.m_Def.m_nMaxHP : c.m_Def.m_nMaxSP;
    int32_t copy = current;
    const int mode = Param(cmd, 17);
    if (mode >= 0 && mode <= 2) {
        if (mode == 1) operand = PercentOf(max, operand, 0);
        if (mode == 2) operand = PercentOf(current, operand, 0);
        ApplyParamOp(copy, operand, Param(cmd, 6), 0, kValueMax);
    }
    const int32_t diff = WrapAdd(copy, -current);
    Report(cmd, diff);
    if (hp)
        AddHP(c, diff, 1, Param(cmd, 18));
    else
        AddSP(c, diff, Param(cmd, 18));
}

void OperateOnSystem(const cEdFlowCmd& cmd, int index, int32_t operand) {
    if (index < 0 || index >= SYSTEM_VALUE_COUNT) return;
    if (index == SYSVAL_LIFE && LivesUnlimited()) {
        ReportStatusOpFailure(cmd);
        return;
    }
    const StatusField f = SystemValueField(index);
    ApplyToInt(cmd, *static_cast<int32_t*>(f.p), operand, f.lo, f.hi);
    cScenePlay* scene = PlayScene();
    if (index == SYSVAL_SCROLLX) scene->m_ScrollX.SetAutoScroll(g_Stage.m_bAutoScrollX, g_Stage.m_nAutoScrollSpeedX);
    if (index == SYSVAL_SCROLLY) scene->m_ScrollY.SetAutoScroll(g_Stage.m_bAutoScrollY, g_Stage.m_nAutoScrollSpeedY);
}

void OperateOnChara(const cEdFlowCmd& cmd, cChara& self, cChara& c, int32_t operand) {
    const int status = Param(cmd, 4);
    cScenePlay* scene = PlayScene();
    switch (status) {
        case STATUS_HP:
        case STATUS_SP:
            ApplyToGauge(cmd, c, status == STATUS_HP, operand);
            if (status == STATUS_HP && &c != &self && c.m_nHP <= 0) scene->m_bDeathPending = 1;
            return;
        case STATUS_MAXHP:
            ApplyToInt(cmd, c.m_Def.m_nMaxHP, operand, 0, kValueMax);
            if (c.m_nHP > c.m_Def.m_nMaxHP) c.m_nHP = c.m_Def.m_nMaxHP;
            if (&c != &self && c.m_nHP <= 0) scene->m_bDeathPending = 1;
            return;
        case STATUS_MAXSP:
            ApplyToInt(cmd, c.m_Def.m_nMaxSP, operand, 0, kValueMax);
            if (c.m_nSP > c.m_Def.m_nMaxSP) c.m_nSP = c.m_Def.m_nMaxSP;
            return;
        case STATUS_X:
        case STATUS_Y: {
            // From the screen centre, whatever the modes say.
            int32_t v = status == STATUS_X ? CentreX(c) : CentreY(c);
            ApplyToInt(cmd, v, operand, -kCoordMax, kCoordMax);
            const bool moved = status == STATUS_X ? SetCharaX(v, c, Param(cmd, 20)) : SetCharaY(v, c, Param(cmd, 20), Param(cmd, 22));
            if (!moved && Param(cmd, 24))
                if (int32_t* fv = CurrentFlowVars()) fv[0] = 2;
            return;
        }
        default: break;
    }
    if (status == STATUS_SIGHT && !IsPlayerChara(c)) {
        ReportStatusOpFailure(cmd);
        return;
    }
    const StatusField f = CharaStatusField(c, status, Param(cmd, 2));
    if (!f.p) return;
    if (f.width == 1) {
        ApplyToNarrow(cmd, *static_cast<int8_t*>(f.p), operand, f.lo, f.hi);
        if (status == STATUS_SIGHT) {
            c.m_nLightRadius = cChara::UnitToDot(c.m_Def.m_nViewRange);
            BuildLightMask(*scene, scene->m_LightMask, scene->m_LightHole);
        }
    } else if (f.width == 2) {
        ApplyToNarrow(cmd, *static_cast<int16_t*>(f.p), operand, f.lo, f.hi);
        if (status == STATUS_STOP) c.m_dFriction = cChara::SpeedPerFrame(c.m_Def.m_nFriction);
    } else {
        ApplyToInt(cmd, *static_cast<int32_t*>(f.p), operand, f.lo, f.hi);
    }
}

}  // namespace

void DoStatusOp(cChara& chara, const cEdFlowCmd& cmd, int32_t* flowVars) {
    // The operand.
    const OperandSpec s{Param(cmd, 7),  Param(cmd, 8),  Param(cmd, 9),  Param(cmd, 10), Param(cmd, 13), Param(cmd, 14),
                        Param(cmd, 11), Param(cmd, 12), Param(cmd, 15), Param(cmd, 21), Param(cmd, 23)};
    int32_t operand = 0;
    if (!ReadOperand(s, chara, flowVars, false, operand)) {
        ReportStatusOpFailure(cmd);
        return;
    }
    // The target.
    switch (Param(cmd, 0)) {
        case 1: {
            bool ok;
            int32_t& v = Variable(Param(cmd, 1), Param(cmd, 2), ok);
            if (ok) ApplyToInt(cmd, v, operand, -kValueMax, kValueMax);
            return;
        }
        case 2: {
            if (!flowVars) {
                ReportStatusOpFailure(cmd);
                return;
            }
            const int n = Param(cmd, 5);
            if (n == 1 || n == 2) ApplyToInt(cmd, flowVars[n - 1], operand, -kValueMax, kValueMax);
            return;
        }
        case 0: {
            const int subject = Param(cmd, 3);
            if (subject == SUBJ_SYSTEM) {
                OperateOnSystem(cmd, Param(cmd, 4), operand);
                return;
            }
            cChara* c = SubjectChara(chara, subject);
            if (!c || (Param(cmd, 19) && c->m_Def.m_nInvincible)) {
                ReportStatusOpFailure(cmd);
                return;
            }
            OperateOnChara(cmd, chara, *c, operand);
            return;
        }
        default: return;
    }
}
