#include "engine/formula.h"

#include <climits>
#include <cstring>

#include "base/checked_vector.h"
#include "base/error_box.h"
#include "base/log.h"
#include "base/random.h"
#include "engine/param_op.h"
#include "engine/status_fields.h"
#include "engine/status_op.h"
#include "frontend/data/game_progress.h"
#include "platform/cp932.h"
#include "play/chara.h"
#include "play/chara_hits.h"
#include "play/chara_player.h"
#include "play/draw_stage.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "records/stage.h"
#include "records/system_data.h"

int ExprError = 0;

const std::vector<std::string> ExprFuncNames = {"rand", ""};
const std::vector<std::string> ExprOpNames = {"=", "+", "-", "*", "/", "%", ""};
const std::vector<std::string> ExprObjNames = {"my", "tg", "tg1", "tg2", "tg3", "tg4", "pl", "sys", ""};
const std::vector<std::string> ExprVarKinds = {"C", "S", ""};
const std::vector<std::string> ExprFlowVarNames = {"fA", "fB", "rA", "rB", ""};
const std::vector<std::string> ExprStatusNames = {"v1",    "v2",    "v3",    "v4",    "v5",    "v6",   "v7",
                                                  "v8",    "hp",    "sp",    "mhp",   "msp",   "cid",  "x_rel",
                                                  "x_abs", "x_scr", "y_rel", "y_abs", "y_scr", "z",    "mark",
                                                  "sight", "power", "imp",   "def",   "impd",  "stop", "getsc",
                                                  ""};
const std::vector<std::string> ExprSysNames = {"time", "scrlx", "scrly", "score", "life", ""};
const int ExprOpPrecedence[6] = {2, 1, 1, 0, 0, 0};

namespace {

constexpr size_t kTextMax = 5119;
constexpr int32_t kMax = 999999;

enum { OPX_ASSIGN = 0, OPX_ADD, OPX_SUB, OPX_MUL, OPX_DIV, OPX_MOD };
enum {
    EXS_HP = 8,
    EXS_SP,
    EXS_MHP,
    EXS_MSP,
    EXS_CID,
    EXS_X_REL,
    EXS_X_ABS,
    EXS_X_SCR,
    EXS_Y_REL,
    EXS_Y_ABS,
    EXS_Y_SCR,
    EXS_Z,
    EXS_MARK,
    EXS_SIGHT,
    EXS_POWER,
    EXS_IMP,
    EXS_DEF,
    EXS_IMPD,
    EXS_STOP,
    EXS_GETSC,
};
// The chara status behind each formula name from "cid" on.
constexpr int kStatusOf[] = {STATUS_CID, STATUS_X,    STATUS_X,     STATUS_X,   STATUS_Y,    STATUS_Y,    STATUS_Y, STATUS_Z,
                             STATUS_MARK, STATUS_SIGHT, STATUS_POWER, STATUS_IMP, STATUS_DEF, STATUS_IMPD, STATUS_STOP, STATUS_GETSC};

// Position tokens point here: the value an assignment hands to the warp.
int32_t s_nPositionScratch = 0;

// Index of a whole-word match in a name table, or -1.
int Lookup(const std::vector<std::string>& table, std::string_view word) {
    for (size_t i = 0; !table[i].empty(); ++i)
        if (table[i] == word) return static_cast<int>(i);
    return -1;
}

std::string CutText(std::string s) {
    const size_t n = std::min(std::strlen(s.c_str()), kTextMax);
    s.resize(n);
    return s;
}

// before + the value in decimal + after, kept within the text limit.
std::string Splice(std::string_view before, int32_t value, std::string_view after) {
    std::string s;
    s.reserve(before.size() + 12 + after.size());
    s.append(before);
    s.append(std::to_string(value));
    s.append(after);
    if (s.size() > kTextMax) s.resize(kTextMax);
    return s;
}

void Fail(const std::string& text) {
    ErrorBox(text);
    ExprError = 1;
}

int32_t WrapSub(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }

// The chara an object prefix names; ok false for an empty target slot.
cChara* ObjectChara(int obj, cChara& self, bool& ok) {
    ok = true;
    switch (obj) {
        case 0: return &self;
        case 1:
        case 2:
        case 3:
        case 4:
        case 5: {
            cChara* c = self.TargetSlot(obj == 1 ? 0 : obj - 2);
            ok = c != nullptr;
            return c;
        }
        case 6: return &g_vPlayers.at(0);
        default: return nullptr;
    }
}

// The status token of a formula name; false when a position cannot be read.
bool MakeStatusToken(int idx, cChara& c, cChara& self, cExprToken& t) {
    t = InitExprToken(0, nullptr, TOK_STATUS);
    t.nStatus = idx;
    t.lpChara = &c;
    if (idx < EXS_HP) {
        const StatusField f = CharaStatusField(c, STATUS_VAR, idx + 1);
        t.lpRef = f.p;
        t.nValue = f.Read();
        return true;
    }
    if (idx >= EXS_X_REL && idx <= EXS_Y_SCR) {
        const int mode = (idx - EXS_X_REL) % 3;
        const bool ok = idx <= EXS_X_SCR ? GetCharaX(s_nPositionScratch, &c, mode, &self)
                                         : GetCharaY(s_nPositionScratch, &c, mode, 0, &self);
        if (!ok) return false;
        t.lpRef = &s_nPositionScratch;
        t.nValue = s_nPositionScratch;
        t.nLo = -16384;
        t.nHi = 16384;
        return true;
    }
    StatusField f;
    switch (idx) {
        case EXS_HP: f = CharaStatusField(c, STATUS_HP, 0), f.hi = c.m_Def.m_nMaxHP; break;
        case EXS_SP: f = CharaStatusField(c, STATUS_SP, 0), f.hi = c.m_Def.m_nMaxSP; break;
        case EXS_MHP: f = CharaStatusField(c, STATUS_MAXHP, 0), f.lo = 1; break;
        case EXS_MSP: f = CharaStatusField(c, STATUS_MAXSP, 0), f.lo = 1; break;
        default: f = CharaStatusField(c, kStatusOf[idx - EXS_CID], 0); break;
    }
    t.lpRef = f.p;
    t.nWidth = f.width;
    t.nValue = f.Read();
    t.nLo = f.lo;
    t.nHi = f.hi;
    return true;
}

cExprToken MakeSysToken(int idx) {
    const StatusField f = SystemValueField(idx);
    cExprToken t = InitExprToken(f.Read(), f.p, TOK_SYSVALUE);
    t.nSys = idx;
    t.nLo = f.lo;
    t.nHi = f.hi;
    if (idx == SYSVAL_LIFE && g_Progress.m_nLives == kUnlimitedLives) {
        // Stays unlimited whatever is assigned.
        t.nValue = LivesAsOperand();
        t.nLo = t.nHi = kUnlimitedLives;
    }
    return t;
}

// What an assignment does besides writing the field.
void AfterAssign(const cExprToken& t, int32_t v, cChara& self) {
    cScenePlay* scene = PlayScene();
    if (t.nKind == TOK_SYSVALUE) {
        if (t.nSys == SYSVAL_SCROLLX) scene->m_ScrollX.SetAutoScroll(g_Stage.m_bAutoScrollX, g_Stage.m_nAutoScrollSpeedX);
        if (t.nSys == SYSVAL_SCROLLY) scene->m_ScrollY.SetAutoScroll(g_Stage.m_bAutoScrollY, g_Stage.m_nAutoScrollSpeedY);
        return;
    }
    if (t.nKind != TOK_STATUS) return;
    cChara& c = *t.lpChara;
    switch (t.nStatus) {
        case EXS_HP:
            if (&c != &self && c.m_nHP < 1) scene->m_bDeathPending = 1;
            break;
        case EXS_MHP: ClampValue(c.m_nHP, 0, c.m_Def.m_nMaxHP); break;
        case EXS_MSP: ClampValue(c.m_nSP, 0, c.m_Def.m_nMaxSP); break;
        case EXS_X_REL:
        case EXS_X_ABS:
        case EXS_X_SCR: SetCharaX(v, c, t.nStatus - EXS_X_REL); break;
        case EXS_Y_REL:
        case EXS_Y_ABS:
        case EXS_Y_SCR: SetCharaY(v, c, t.nStatus - EXS_Y_REL, g_SystemData.m_bCompat896 ? 0 : 2); break;
        case EXS_SIGHT:
            if (IsPlayerChara(c)) {
                c.m_nLightRadius = cChara::UnitToDot(c.m_Def.m_nViewRange);
                BuildLightMask(*scene, scene->m_LightMask, scene->m_LightHole);
            }
            break;
        default: break;
    }
}

// One operator applied to its neighbours; false after an error.
bool Compute(const std::string& text, const cExprToken& l, int op, const cExprToken& r, cChara& self, int32_t& out) {
    switch (op) {
        case OPX_ADD: out = WrapAdd(l.nValue, r.nValue); return true;
        case OPX_SUB: out = WrapSub(l.nValue, r.nValue); return true;
        case OPX_MUL: out = WrapMul(l.nValue, r.nValue); return true;
        case OPX_DIV:
        case OPX_MOD:
            if (r.nValue == 0) {
                Fail(Format(SJ("0除算が行われました！(%s)").c_str(), text.c_str()));
                return false;
            }
            // In 64 bits: INT_MIN / -1 wraps to INT_MIN, INT_MIN % -1 is 0.
            out = static_cast<int32_t>(static_cast<uint32_t>(op == OPX_DIV ? static_cast<int64_t>(l.nValue) / r.nValue
                                                                             : static_cast<int64_t>(l.nValue) % r.nValue));
            return true;
        case OPX_ASSIGN: {
            if (!l.lpRef) {
                Fail(SJ("代入先が不正です！"));
                return false;
            }
            int32_t v = r.nValue;
            ClampValue(v, l.nLo, l.nHi);
            StatusField{l.lpRef, l.nWidth, 0, 0}.Write(v);
            AfterAssign(l, v, self);
            out = v;
            return true;
        }
        default:
            Fail(SJ("演算子のエラー（未定義？）"));
            return false;
    }
}

}  // namespace

cExprToken InitExprToken(int32_t value, void* ref, int kind) {
    cExprToken t;
    t.nKind = kind;
    t.nValue = value;
    t.lpRef = ref;
    return t;
}

int32_t ExprAtoi(const char* s) {
    while (*s == ' ' || (*s >= '\t' && *s <= '\r')) ++s;
    bool neg = false;
    if (*s == '+' || *s == '-') neg = *s++ == '-';
    int64_t v = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        v = v * 10 + (*s - '0');
        if (v > static_cast<int64_t>(INT32_MAX) + 1) v = static_cast<int64_t>(INT32_MAX) + 1;
    }
    if (neg) v = -v;
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

std::string StrMid(const std::string& text, int start, int length) {
    const std::string buf = CutText(text);
    const int n = static_cast<int>(buf.size());
    if (start < 0) {
        length += start;
        start = 0;
    }
    if (start >= n || length == 0) return std::string();
    if (length < 0 || length > n - start) length = n - start;
    return buf.substr(start, length);
}

int EvalFlatFormula(const std::string& text, cChara& chara) {
    cCheckedVector<cExprToken> toks;
    toks.reserve(8);
    std::string word;
    int obj = 0;
    bool tokenSincePrefix = false;
    int32_t last = 0;  // the value of the last operand read
    cScenePlay* scene = PlayScene();
    for (const char* p = text.c_str();; ++p) {
        const char ch = *p;
        if (ch == '.') {
            const int o = Lookup(ExprObjNames, word);
            if (o >= 0) {
                obj = o;
                tokenSincePrefix = false;
            } else if (!tokenSincePrefix) {
                Fail(Format(SJ("オブジェクト \"%s.\" が認識できません！").c_str(), word.c_str()));
                return 0;
            }
            word.clear();
            continue;
        }
        if (ch != ' ' && ch != '\0') {
            word.push_back(ch);
            continue;
        }
        if (!word.empty()) {
            cExprToken t;
            const int op = Lookup(ExprOpNames, word);
            if (op >= 0) {
                t = InitExprToken(0, nullptr, TOK_OPERATOR);
                t.nOp = op;
            } else {
                if (obj > 7) {
                    Fail(SJ("オブジェクトの設定エラー!"));
                    return 0;
                }
                bool ok;
                cChara* c = ObjectChara(obj, chara, ok);
                if (!ok) {
                    ExprError = 1;
                    return 0;
                }
                int idx;
                if (word[0] == ExprVarKinds[0][0] || word[0] == ExprVarKinds[1][0]) {
                    const int32_t n = ExprAtoi(word.c_str() + 1);
                    int32_t& v = word[0] == ExprVarKinds[0][0] ? g_Progress.m_vecCommonVar.at(n) : scene->m_vStageVars.at(n);
                    t = InitExprToken(v, &v, TOK_VARIABLE);
                } else if ((idx = Lookup(ExprFlowVarNames, word)) >= 0) {
                    int32_t* fv = scene->m_lpCurFlowVars;
                    int32_t* v = fv ? &fv[idx % 2] : nullptr;
                    t = InitExprToken(v ? *v : 0, v, TOK_FLOWVAR);
                } else if ((idx = Lookup(ExprStatusNames, word)) >= 0) {
                    // After "sys." there is no chara to read.
                    if (!c || !MakeStatusToken(idx, *c, chara, t)) return 0;
                } else if ((idx = Lookup(ExprSysNames, word)) >= 0) {
                    t = MakeSysToken(idx);
                } else {
                    t = InitExprToken(ExprAtoi(word.c_str()), nullptr, TOK_NUMBER);
                }
                last = t.nValue;
            }
            toks.push_back(t);
            tokenSincePrefix = true;
            word.clear();
            obj = 0;
        }
        if (ch == '\0') break;
    }

    int32_t result = last;
    const bool oldReduction = g_SystemData.m_bCompat752 != 0;
    for (int pass = 0; pass <= 2; ++pass) {
        for (size_t i = 0; i < toks.size();) {
            const cExprToken& t = toks[i];
            if (t.nKind != TOK_OPERATOR || ExprOpPrecedence[t.nOp] != pass) {
                ++i;
                continue;
            }
            // An operator at either end: the checked access reports it and
            // the game closes.
            if (i == 0 || i + 1 >= toks.size()) {
                toks.at(i == 0 ? -1 : static_cast<long long>(i) + 1);
                return 0;
            }
            int32_t v = 0;
            if (!Compute(text, toks[i - 1], t.nOp, toks[i + 1], chara, v)) return 0;
            toks[i - 1] = InitExprToken(v, nullptr, TOK_NUMBER);
            toks.erase(toks.begin() + static_cast<long>(i), toks.begin() + static_cast<long>(oldReduction ? i + 1 : i + 2));
            result = v;
            i = 0;
        }
    }
    return result;
}

int EvalFormula(const std::string& text, cChara& chara) {
    std::string s = CutText(text);
    size_t wordStart = 0;
    size_t i = 0;
    for (;;) {
        if (i >= s.size()) return EvalFlatFormula(s, chara);
        const char ch = s[i];
        if (ch == ' ') {
            wordStart = ++i;
            continue;
        }
        if (ch != '(') {
            ++i;
            continue;
        }
        // The partner of this "(".
        size_t close = i + 1;
        for (int depth = 0; close < s.size(); ++close) {
            if (s[close] == ')') {
                if (depth == 0) break;
                --depth;
            } else if (s[close] == '(') {
                ++depth;
            }
        }
        if (close >= s.size()) {
            Fail(SJ("\")\"が見つかりません！"));
            return 0;
        }
        if (i == wordStart) {
            // A plain group.
            const int32_t v = EvalFormula(StrMid(s, static_cast<int>(i + 1), static_cast<int>(close - i - 1)), chara);
            s = Splice(std::string_view(s).substr(0, wordStart), v, std::string_view(s).substr(close + 1));
            i = wordStart;
            continue;
        }
        // A function: the name is what the word holds up to a "(".
        std::string name;
        int func = -1;
        size_t open = wordStart;
        for (; open < s.size() && s[open] != ')'; ++open) {
            if (s[open] != '(') {
                name.push_back(s[open]);
            } else if ((func = Lookup(ExprFuncNames, name)) >= 0) {
                break;
            }
        }
        if (func < 0) {
            ++i;
            continue;
        }
        std::vector<int32_t> args;
        std::string arg;
        size_t end = open + 1;
        bool closed = false;
        for (int depth = 0; end < s.size(); ++end) {
            const char c = s[end];
            if (depth == 0 && (c == ',' || c == ')')) {
                if (!arg.empty()) args.push_back(EvalFormula(arg, chara));
                arg.clear();
                if (c == ')') {
                    closed = true;
                    break;
                }
                continue;
            }
            if (c == '(') ++depth;
            if (c == ')') --depth;
            arg.push_back(c);
        }
        if (!closed) {
            Fail(Format(SJ("関数 %s で\")\"が見つかりません！").c_str(), name.c_str()));
            return 0;
        }
        if (args.size() != 2) {
            Fail(Format(SJ("関数 %s の引数が不正です！").c_str(), name.c_str()));
            return 0;
        }
        const int32_t v = RandRange(args[0], args[1]);
        s = Splice(std::string_view(s).substr(0, wordStart), v, std::string_view(s).substr(end + 1));
        i = wordStart;
    }
}

int RunCode(const std::string& code, cChara& chara) {
    ExprError = 0;
    const int32_t hp = chara.m_nHP, sp = chara.m_nSP;
    const int32_t mhp = chara.m_Def.m_nMaxHP, msp = chara.m_Def.m_nMaxSP;
    EvalFormula(code, chara);
    if (ExprError) return 0;
    if (chara.m_nHP != hp && chara.m_Def.m_nMaxHP == mhp) StartHPGauge(chara, WrapSub(chara.m_nHP, hp));
    if (chara.m_nSP != sp && chara.m_Def.m_nMaxSP == msp) StartSPGauge(chara, WrapSub(chara.m_nSP, sp));
    return 1;
}
