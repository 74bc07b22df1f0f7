#include "engine/arrange.h"

#include <array>
#include <initializer_list>
#include <utility>

#include "engine/param_op.h"
#include "engine/status_fields.h"
#include "frontend/data/game_progress.h"
#include "platform/cp932.h"
#include "play/chara.h"
#include "play/chara_player.h"
#include "play/scene_play.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/ed_flow.h"
#include "records/ed_move.h"
#include "records/ed_shot.h"
#include "records/stage.h"

cCheckedVector<cCheckedVector<cArrangeParam>> ArrangeParamTable;

namespace {

constexpr int32_t kIntMax = 2147483647;

struct Row {
    const char* label;
    int32_t min, max;
};

void Fill(int kind, std::initializer_list<Row> rows) {
    cCheckedVector<cArrangeParam>& list = ArrangeParamKindAt(kind);
    list.clear();
    for (const Row& r : rows) list.push_back(SetArrangeParam(r.label, r.min, r.max));
}

// Where a row lives: a field and its width, or nothing.
struct Slot {
    void* p = nullptr;
    int width = 4;
    bool missing = false;  // the command lacks the row's part
};

template <class T>
Slot At(T& field) {
    return Slot{&field, static_cast<int>(sizeof(T)), false};
}

Slot Missing() { return Slot{nullptr, 4, true}; }

// Element n of the parameter vector, through the checked access.
Slot ParamSlot(cEdFlowCmd& cmd, int n) {
    auto& v = cmd.m_vecParam;
    if (n >= 0 && n < static_cast<int>(v.size())) return At(v[n]);
    ReportBadIndex("V", n, static_cast<long long>(v.size()), sizeof(int32_t));
    return v.empty() ? Slot{} : At(v[0]);
}

// A row of the parameter vector chosen from a list of parameter numbers.
Slot ParamOfList(cEdFlowCmd& cmd, int index, std::initializer_list<int> params) {
    if (index < 0 || index >= static_cast<int>(params.size())) return Slot{};
    return ParamSlot(cmd, params.begin()[index]);
}

// A row of the movement part from the group's list of fields.
using MoveField = int16_t cEdMove::*;
Slot MoveSlot(int index, cEdFlowCmd& cmd, std::initializer_list<MoveField> fields) {
    if (!cmd.m_spMove) return Missing();
    if (index < 0 || index >= static_cast<int>(fields.size())) return Slot{};
    return At((*cmd.m_spMove).*(fields.begin()[index]));
}

Slot MoveStraightSlot(int i, cEdFlowCmd& c) {
    return MoveSlot(i, c, {&cEdMove::m_nTargetX, &cEdMove::m_nTargetXDot, &cEdMove::m_nTargetY, &cEdMove::m_nTargetYDot,
                           &cEdMove::m_nAngle, &cEdMove::m_nAngleStep});
}
Slot MoveHomingSlot(int i, cEdFlowCmd& c) {
    return MoveSlot(i, c, {&cEdMove::m_nHoming, &cEdMove::m_nHomingStep, &cEdMove::m_nTargetX, &cEdMove::m_nTargetXDot,
                           &cEdMove::m_nTargetY, &cEdMove::m_nTargetYDot});
}
Slot WarpSlot(int i, cEdFlowCmd& c) {
    return MoveSlot(i, c, {&cEdMove::m_nDistance, &cEdMove::m_nDistanceStep, &cEdMove::m_nTargetX, &cEdMove::m_nTargetY,
                           &cEdMove::m_nTargetXDot, &cEdMove::m_nTargetYDot});
}

Slot SoundSlot(int index, cEdFlowCmd& cmd) { return index == 0 ? At(cmd.m_nSound) : Slot{}; }

// Rows of the shot-part kinds in the shot's arrange numbering: the
// command's own sound at SHOT_ARR_SOUND, the summoned definition at
// kSummonEntry.
constexpr int kSummonEntry = -1;
constexpr int kShotRows[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                             16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31};
constexpr int kSwordRows[] = {SHOT_ARR_SIDE, SHOT_ARR_Z, SHOT_ARR_POWER, SHOT_ARR_IMPACT, SHOT_ARR_EFFECT, SHOT_ARR_ITEM,
                              SHOT_ARR_SOUND};
constexpr int kSummonBlockRows[] = {kSummonEntry,  SHOT_ARR_FORMATION1, SHOT_ARR_FORMATION2, SHOT_ARR_FORMATION3,
                                    SHOT_ARR_COUNT, SHOT_ARR_OFFSET_X,  SHOT_ARR_OFFSET_Y,   SHOT_ARR_SOUND};
constexpr int kSummonCharaRows[] = {kSummonEntry,        SHOT_ARR_RANGE,      SHOT_ARR_SIDE,  SHOT_ARR_FORMATION1,
                                    SHOT_ARR_FORMATION2, SHOT_ARR_FORMATION3, SHOT_ARR_COUNT, SHOT_ARR_OFFSET_X,
                                    SHOT_ARR_OFFSET_Y,   SHOT_ARR_SOUND};
constexpr int kSummonItemRows[] = {kSummonEntry,        SHOT_ARR_RANGE, SHOT_ARR_FORMATION1, SHOT_ARR_FORMATION2,
                                   SHOT_ARR_FORMATION3, SHOT_ARR_COUNT, SHOT_ARR_OFFSET_X,   SHOT_ARR_OFFSET_Y,
                                   SHOT_ARR_SOUND};

// Reads (out non-null) or writes the row; false when the shot part is
// missing.
template <size_t N>
bool ShotRow(const int (&rows)[N], int index, cEdFlowCmd& cmd, int32_t* out, int32_t value) {
    if (index < 0 || index >= static_cast<int>(N)) return true;
    const int n = rows[index];
    if (n == SHOT_ARR_SOUND) {
        if (out)
            *out = cmd.m_nSound;
        else
            cmd.m_nSound = static_cast<int16_t>(value);
        return true;
    }
    if (!cmd.m_spShot) return false;
    cEdShot& shot = *cmd.m_spShot;
    if (n == kSummonEntry) {
        if (out)
            *out = shot.m_nSummonEntry;
        else
            shot.m_nSummonEntry = static_cast<int16_t>(value);
        return true;
    }
    if (out) {
        int v = *out;
        GetShotArrangeValue(shot, n, v);
        *out = v;
    } else {
        SetShotArrangeValue(shot, n, value);
    }
    return true;
}

Slot StatusOpSlot(int index, cEdFlowCmd& cmd) {
    switch (index) {
        case 0: return ParamSlot(cmd, ParamSlot(cmd, 0).p && *static_cast<int32_t*>(ParamSlot(cmd, 0).p) == 2 ? 5 : 2);
        case 1: return ParamSlot(cmd, 8);
        case 2: return ParamSlot(cmd, 9);
        case 3: return ParamSlot(cmd, 10);
        case 4: return ParamSlot(cmd, ParamSlot(cmd, 7).p && *static_cast<int32_t*>(ParamSlot(cmd, 7).p) == 4 ? 15 : 12);
        default: return Slot{};
    }
}

Slot StageClearSlot(int i, cEdFlowCmd& c) { return ParamOfList(c, i, {1, 6, 7, 3, 4}); }
Slot MessageSlot(int i, cEdFlowCmd& c) { return ParamOfList(c, i, {13, 1, 2, 3, 4}); }
Slot SetTargetSlot(int i, cEdFlowCmd& c) { return ParamOfList(c, i, {2, 10, 13}); }
Slot Param1Slot(int i, cEdFlowCmd& c) { return ParamOfList(c, i, {1}); }
Slot ChangeGraphicSlot(int i, cEdFlowCmd& c) { return ParamOfList(c, i, {1, 2}); }
Slot RunEffectSlot(int i, cEdFlowCmd& c) { return ParamOfList(c, i, {0, 2, 3, 4, 5, 7}); }
Slot ShowPictureSlot(int i, cEdFlowCmd& c) { return ParamOfList(c, i, {0, 17, 2, 3, 4, 5, 7, 9}); }
Slot ScreenColorSlot(int i, cEdFlowCmd& c) { return ParamOfList(c, i, {0, 1, 2, 3}); }
Slot Param0Slot(int i, cEdFlowCmd& c) { return ParamOfList(c, i, {0}); }

template <Slot (*Locate)(int, cEdFlowCmd&)>
bool GetVia(int32_t& out, int index, cEdFlowCmd& cmd) {
    const Slot s = Locate(index, cmd);
    if (s.missing) return false;
    if (s.p) out = StatusField{s.p, s.width, 0, 0}.Read();
    return true;
}

template <Slot (*Locate)(int, cEdFlowCmd&)>
bool SetVia(int32_t value, int index, cEdFlowCmd& cmd) {
    const Slot s = Locate(index, cmd);
    if (s.missing) return false;
    if (s.p) StatusField{s.p, s.width, 0, 0}.Write(value);
    return true;
}

bool Below(int32_t v, size_t count) { return static_cast<uint32_t>(v) < count; }

// Common (0) or stage (1) variables; another kind is not checked.
bool BelowVariables(int32_t v, int kind) {
    if (kind == 0) return Below(v, g_Progress.m_vecCommonVar.size());
    if (kind == 1) return Below(v, PlayScene()->m_vStageVars.size());
    return true;
}

// Palette list sizes by selector: 0 the common palette, 1 the stage's.
template <class Member, class StageMember>
bool BelowPalette(int32_t v, int selector, Member common, StageMember stage) {
    if (selector == 0) return Below(v, (g_CommonPalette.*common).size());
    if (selector == 1) return Below(v, (g_Stage.*stage).size());
    return true;
}

int32_t ParamValue(cEdFlowCmd& cmd, int n) {
    const Slot s = ParamSlot(cmd, n);
    return s.p ? *static_cast<int32_t*>(s.p) : 0;
}

// The index checks of step 6: false when the value must not be written.
bool ArrangeValueValid(int k, int idx, int32_t v, cEdFlowCmd& cmd, const cChara& chara) {
    const cDatabase& db = g_Database;
    const bool sound = (k == 9 && idx == 0) || (k == 10 && idx == 0) || (k == 11 && idx == 14) || (k == 12 && idx == 6) ||
                       (k == 13 && idx == 7) || (k == 14 && idx == 9) || (k == 15 && idx == 8) || (k == 35 && idx == 0);
    if (sound) return Below(v, db.m_vecSound.size());
    if ((k == 11 && idx == 30) || (k == 12 && idx == 4) || (k == 29 && idx == 0)) return Below(v, db.m_vecEffect.size());
    if (k == 30 && idx == 0) return Below(v, db.m_vecCharaEffect.size());
    if (k == 31 && idx == 0) return Below(v, db.m_vecScrEffect.size());
    if (k == 32 && idx == 0) return Below(v, db.m_vecPicture.size());
    if (k == 36 && idx == 0) return Below(v, db.m_vecBgm.size());
    if (k == 26 && idx == 0) return ParamValue(cmd, 0) == 4 ? Below(v, db.m_vecBmpCharaExc.size()) : v <= 119;
    if ((k == 11 && idx == 31) || (k == 12 && idx == 5)) {
        switch (cmd.m_spShot->m_nItemSource) {
            case 0: return false;
            case 1: return Below(v, g_CommonPalette.m_vecItemPalette.size());
            case 2: return Below(v, g_Stage.m_vecItemPalette.size());
            default: return true;
        }
    }
    if ((k == 13 || k == 14 || k == 15) && idx == 0) {
        const int sel = cmd.m_spShot->m_nSummonSource;
        if (k == 13) return BelowPalette(v, sel, &cCommonPalette::m_vecBlockPalette, &cStage::m_vecBlockPalette);
        if (k == 14) return BelowPalette(v, sel, &cCommonPalette::m_vecCharaPalette, &cStage::m_vecCharaPalette);
        return BelowPalette(v, sel, &cCommonPalette::m_vecItemPalette, &cStage::m_vecItemPalette);
    }
    if (k == 25 && idx == 0)
        return BelowPalette(v, ParamValue(cmd, 0), &cCommonPalette::m_vecItemPalette, &cStage::m_vecItemPalette);
    if (k == 22 && (idx == 0 || idx == 4)) {
        // The variable of the left-hand (0) or right-hand (4) side.
        const bool left = idx == 0;
        const int kind = ParamValue(cmd, left ? 0 : 7) - (left ? 0 : 2);
        switch (kind) {
            case 0:
                if (ParamValue(cmd, left ? 3 : 13) == 5 || ParamValue(cmd, left ? 4 : 14) != 0) return true;
                return Below(v, chara.m_vVars.size());
            case 1: return BelowVariables(v, ParamValue(cmd, left ? 1 : 11));
            case 2: return v <= 2;
            default: return true;
        }
    }
    return true;
}

// The range of a formation- or trajectory-specific row of the command's
// shot part; false when its kind is outside the parameter table. Rows of
// other kinds keep the descriptor's range.
bool ShotParamRange(int k, int idx, const cEdFlowCmd& cmd, int32_t& min, int32_t& max) {
    int first = -1;
    if (k == 11 && idx >= 2 && idx <= 4) first = 2;
    if (k == 13 && idx >= 1 && idx <= 3) first = 1;
    if (k == 14 && idx >= 3 && idx <= 5) first = 3;
    if (k == 15 && idx >= 2 && idx <= 4) first = 2;
    const cParamInfo* info = nullptr;
    if (first >= 0) {
        const uint32_t kind = static_cast<uint8_t>(cmd.m_spShot->m_nFormation);
        if (kind >= SHOT_FORMATION_COUNT) return false;
        info = &ShotFormationParams[kind * 3 + (idx - first)];
    } else if (k == 11 && idx >= 16 && idx <= 18) {
        const uint32_t kind = static_cast<uint8_t>(cmd.m_spShot->m_nTrajectory);
        if (kind >= SHOT_TRAJECTORY_COUNT) return false;
        info = &ShotTrajectoryParams[kind * 3 + (idx - 16)];
    }
    if (info) {
        min = info->nMin;
        max = info->nMax;
    }
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------

cCheckedVector<cArrangeParam>& ArrangeParamKindAt(long long kind) { return ArrangeParamTable.at(kind); }
cArrangeParam& ArrangeParamAt(cCheckedVector<cArrangeParam>& list, long long index) { return list.at(index); }

cArrangeParam SetArrangeParam(const char* utf8Label, int32_t min, int32_t max) {
    return cArrangeParam{platform::Utf8ToCp932(utf8Label), min, max};
}

void DestroyArrangeParamTable() { ArrangeParamTable.clear(); }

void BuildArrangeParamTable() {
    ArrangeParamTable.assign(kArrangeKinds, cCheckedVector<cArrangeParam>());
    Fill(2, {{"目標X", -16383, 16383}, {"目標X(dot)", -640, 640}, {"目標Y", -16383, 16383}, {"目標Y(dot)", -640, 640},
             {"角度", -7200, 7200}, {"分身値による増加角度", -7200, 7200}});
    Fill(5, {{"目標のズレX(bl)", -640, 640}, {"目標Xのズレ(dot)", -640, 640}, {"目標Yのズレ(bl)", -640, 640},
             {"目標Yのズレ(dot)", -640, 640}, {"角度", -7200, 7200}, {"分身値による増加角度", -7200, 7200}});
    Fill(6, {{"誘導性能の悪さ", 0, 10}, {"分身値による増加誘導性能の悪さ", 0, 10}, {"目標Xのズレ(bl)", -640, 640},
             {"目標Xのズレ(dot)", -640, 640}, {"目標Yのズレ(bl)", -640, 640}, {"目標Yのズレ(dot)", -640, 640}});
    Fill(9, {{"効果音", 1, 9999}});
    Fill(10, {{"効果音", 1, 9999}});
    Fill(11, {{"グラフィック", 1, 120},
              {"Z座標", 0, 7},
              {"フォーメーション固有1", 0, kIntMax},
              {"フォーメーション固有2", 0, kIntMax},
              {"フォーメーション固有3", 0, kIntMax},
              {"発射数", 1, 127},
              {"発射数に対する分身数", 0, 20},
              {"角度のズレ", -7200, 7200},
              {"分身値による角度のズレ", -7200, 7200},
              {"分散角度", 0, 180},
              {"発射位置のズレX(dot)", -640, 640},
              {"分身値による発射位置のズレX(dot)", -640, 640},
              {"発射位置のズレY(dot)", -640, 640},
              {"分身値による発射位置のズレY(dot)", -640, 640},
              {"効果音", 1, 9999},
              {"勢力", 0, 7},
              {"移動タイプ固有1", 0, kIntMax},
              {"移動タイプ固有2", 0, kIntMax},
              {"移動タイプ固有3", 0, kIntMax},
              {"速度", -200, 200},
              {"分身値による増加速度", -200, 200},
              {"加速度", -200, 200},
              {"分身値による増加加速度", -200, 200},
              {"飛距離(hbl)", 0, 64},
              {"分身値による増加飛距離", -40, 40},
              {"存在時間(1/10s)", 1, 999},
              {"分身値よる増加存在時間", -99, 99},
              {"消滅値", 1, 9},
              {"威力", -999999, 999999},
              {"衝撃", -20, 20},
              {"エフェクト", 1, 999},
              {"取得アイテム", 1, 9999}});
    Fill(12, {{"勢力", 0, 7}, {"Z座標", 0, 7}, {"威力", -999999, 999999}, {"衝撃", -20, 20}, {"エフェクト", 1, 999},
              {"取得アイテム", 1, 9999}, {"効果音", 1, 9999}});
    Fill(13, {{"ブロック", 1, 9999}, {"フォーメーション固有1", 0, kIntMax}, {"フォーメーション固有2", 0, kIntMax},
              {"フォーメーション固有3", 0, kIntMax}, {"数", 1, 127}, {"召喚位置のズレX(dot)", -640, 640},
              {"召喚位置のズレY(dot)", -640, 640}, {"効果音", 1, 9999}});
    Fill(14, {{"キャラ", 1, 9999}, {"存在時間(1/10s)", 1, 9999}, {"勢力", 0, 7}, {"フォーメーション固有1", 0, kIntMax},
              {"フォーメーション固有2", 0, kIntMax}, {"フォーメーション固有3", 0, kIntMax}, {"数", 1, 127},
              {"召喚位置のズレX(dot)", -640, 640}, {"召喚位置のズレY(dot)", -640, 640}, {"効果音", 1, 9999}});
    Fill(15, {{"アイテム", 1, 9999}, {"存在時間(1/10s)", 1, 9999}, {"フォーメーション固有1", 0, kIntMax},
              {"フォーメーション固有2", 0, kIntMax}, {"フォーメーション固有3", 0, kIntMax}, {"数", 1, 127},
              {"召喚位置のズレX(dot)", -640, 640}, {"召喚位置のズレY(dot)", -640, 640}, {"効果音", 1, 9999}});
    Fill(17, {{"次のステージの番号", 1, 99}, {"次のステージの初期位置X(bl)", 0, 999}, {"次のステージの初期位置Y(bl)", 0, 999},
              {"クリア後のワールドマップの位置X", 0, 999}, {"クリア後のワールドマップの位置Y", 0, 999}});
    Fill(19, {{"メッセージID", 0, 999}, {"座標X", 0, 16383}, {"座標Y", 0, 16383}, {"表示位置のズレX(dot)", -999, 999},
              {"表示位置のズレY(dot)", -999, 999}});
    Fill(20, {{"距離(hbl)", 0, 64}, {"分身値による増加距離(hbl)", -40, 40}, {"目標X", -16383, 16383}, {"目標Y", -16383, 16383},
              {"目標Xのズレ(dot)", -640, 640}, {"目標Yのズレ(dot)", -640, 640}});
    Fill(21, {{"対象勢力", 0, 7}, {"対象キャラID", 0, 99}, {"キャラ変数と比較する数値", -999999, 999999}});
    Fill(22, {{"変数（左辺）", 1, 999}, {"定数", -999999, 999999}, {"乱数の最小値", -999999, 999999},
              {"乱数の最大値", -999999, 999999}, {"変数（右辺）", 1, 999}});
    Fill(24, {{"対象勢力", 0, 7}});
    Fill(25, {{"アイテム", 1, 9999}});
    Fill(26, {{"グラフィック", 1, 999}, {"ズレ", -999, 999}});
    Fill(29, {{"エフェクト", 1, 999}, {"座標X", 0, 16383}, {"座標Y", 0, 16383}, {"表示位置のズレX(dot)", -999, 999},
              {"表示位置のズレY(dot)", -999, 999}, {"拡大率(%)", 1, 1000}});
    Fill(30, {{"キャラエフェクト", 1, 999}});
    Fill(31, {{"画面エフェクト", 1, 999}});
    Fill(32, {{"ピクチャー", 1, 9999}, {"ピクチャーID", 0, 999}, {"座標X", 0, 16383}, {"座標Y", 0, 16383},
              {"表示位置のズレX(dot)", -999, 999}, {"表示位置のズレY(dot)", -999, 999}, {"拡大率(%)", 1, 1000},
              {"縦の拡大率(%)", 1, 1000}});
    Fill(33, {{"R", 0, 255}, {"G", 0, 255}, {"B", 0, 255}, {"%", 0, 100}});
    Fill(34, {{"背景番号", 1, 8}});
    Fill(35, {{"効果音", 1, 9999}});
    Fill(36, {{"BGM", 1, 999}});
}

bool ArrangeGetNothing(int32_t&, int, cEdFlowCmd&) { return true; }
bool ArrangeSetNothing(int32_t, int, cEdFlowCmd&) { return true; }
bool ArrangeGetMoveStraight(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<MoveStraightSlot>(o, i, c); }
bool ArrangeSetMoveStraight(int32_t v, int i, cEdFlowCmd& c) { return SetVia<MoveStraightSlot>(v, i, c); }
bool ArrangeGetMoveCharge(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<MoveStraightSlot>(o, i, c); }
bool ArrangeSetMoveCharge(int32_t v, int i, cEdFlowCmd& c) { return SetVia<MoveStraightSlot>(v, i, c); }
bool ArrangeGetMoveHoming(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<MoveHomingSlot>(o, i, c); }
bool ArrangeSetMoveHoming(int32_t v, int i, cEdFlowCmd& c) { return SetVia<MoveHomingSlot>(v, i, c); }
bool ArrangeGetSound(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<SoundSlot>(o, i, c); }
bool ArrangeSetSound(int32_t v, int i, cEdFlowCmd& c) { return SetVia<SoundSlot>(v, i, c); }
bool ArrangeGetSword(int32_t& o, int i, cEdFlowCmd& c) { return ShotRow(kSwordRows, i, c, &o, 0); }
bool ArrangeSetSword(int32_t v, int i, cEdFlowCmd& c) { return ShotRow(kSwordRows, i, c, nullptr, v); }
bool ArrangeGetSummonBlock(int32_t& o, int i, cEdFlowCmd& c) { return ShotRow(kSummonBlockRows, i, c, &o, 0); }
bool ArrangeSetSummonBlock(int32_t v, int i, cEdFlowCmd& c) { return ShotRow(kSummonBlockRows, i, c, nullptr, v); }
bool ArrangeGetSummonChara(int32_t& o, int i, cEdFlowCmd& c) { return ShotRow(kSummonCharaRows, i, c, &o, 0); }
bool ArrangeSetSummonChara(int32_t v, int i, cEdFlowCmd& c) { return ShotRow(kSummonCharaRows, i, c, nullptr, v); }
bool ArrangeGetSummonItem(int32_t& o, int i, cEdFlowCmd& c) { return ShotRow(kSummonItemRows, i, c, &o, 0); }
bool ArrangeSetSummonItem(int32_t v, int i, cEdFlowCmd& c) { return ShotRow(kSummonItemRows, i, c, nullptr, v); }
bool ArrangeGetShot(int32_t& o, int i, cEdFlowCmd& c) { return ShotRow(kShotRows, i, c, &o, 0); }
bool ArrangeSetShot(int32_t v, int i, cEdFlowCmd& c) { return ShotRow(kShotRows, i, c, nullptr, v); }
bool ArrangeGetStageClear(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<StageClearSlot>(o, i, c); }
bool ArrangeSetStageClear(int32_t v, int i, cEdFlowCmd& c) { return SetVia<StageClearSlot>(v, i, c); }
bool ArrangeGetMessage(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<MessageSlot>(o, i, c); }
bool ArrangeSetMessage(int32_t v, int i, cEdFlowCmd& c) { return SetVia<MessageSlot>(v, i, c); }
bool ArrangeGetWarp(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<WarpSlot>(o, i, c); }
bool ArrangeSetWarp(int32_t v, int i, cEdFlowCmd& c) { return SetVia<WarpSlot>(v, i, c); }
bool ArrangeGetSetTarget(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<SetTargetSlot>(o, i, c); }
bool ArrangeSetSetTarget(int32_t v, int i, cEdFlowCmd& c) { return SetVia<SetTargetSlot>(v, i, c); }
bool ArrangeGetStatusOp(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<StatusOpSlot>(o, i, c); }
bool ArrangeSetStatusOp(int32_t v, int i, cEdFlowCmd& c) { return SetVia<StatusOpSlot>(v, i, c); }
bool ArrangeGetParam1(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<Param1Slot>(o, i, c); }
bool ArrangeSetParam1(int32_t v, int i, cEdFlowCmd& c) { return SetVia<Param1Slot>(v, i, c); }
bool ArrangeGetChangeGraphic(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<ChangeGraphicSlot>(o, i, c); }
bool ArrangeSetChangeGraphic(int32_t v, int i, cEdFlowCmd& c) { return SetVia<ChangeGraphicSlot>(v, i, c); }
bool ArrangeGetRunEffect(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<RunEffectSlot>(o, i, c); }
bool ArrangeSetRunEffect(int32_t v, int i, cEdFlowCmd& c) { return SetVia<RunEffectSlot>(v, i, c); }
bool ArrangeGetShowPicture(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<ShowPictureSlot>(o, i, c); }
bool ArrangeSetShowPicture(int32_t v, int i, cEdFlowCmd& c) { return SetVia<ShowPictureSlot>(v, i, c); }
bool ArrangeGetScreenColor(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<ScreenColorSlot>(o, i, c); }
bool ArrangeSetScreenColor(int32_t v, int i, cEdFlowCmd& c) { return SetVia<ScreenColorSlot>(v, i, c); }
bool ArrangeGetParam0(int32_t& o, int i, cEdFlowCmd& c) { return GetVia<Param0Slot>(o, i, c); }
bool ArrangeSetParam0(int32_t v, int i, cEdFlowCmd& c) { return SetVia<Param0Slot>(v, i, c); }

namespace {

struct ArrangePair {
    ArrangeGetFn get = nullptr;
    ArrangeSetFn set = nullptr;
};
constexpr ArrangePair kNone{};
constexpr ArrangePair kNothing{ArrangeGetNothing, ArrangeSetNothing};
constexpr ArrangePair kSound{ArrangeGetSound, ArrangeSetSound};
constexpr ArrangePair kParam0{ArrangeGetParam0, ArrangeSetParam0};
constexpr ArrangePair kParam1{ArrangeGetParam1, ArrangeSetParam1};

constexpr ArrangePair kPairs[kArrangeKinds] = {
    kNone, kNone, {ArrangeGetMoveStraight, ArrangeSetMoveStraight}, kNothing, kNothing,
    {ArrangeGetMoveCharge, ArrangeSetMoveCharge}, {ArrangeGetMoveHoming, ArrangeSetMoveHoming}, kNothing, kNone, kSound,
    kSound,  // 10
    {ArrangeGetShot, ArrangeSetShot}, {ArrangeGetSword, ArrangeSetSword}, {ArrangeGetSummonBlock, ArrangeSetSummonBlock},
    {ArrangeGetSummonChara, ArrangeSetSummonChara}, {ArrangeGetSummonItem, ArrangeSetSummonItem}, kNone,
    {ArrangeGetStageClear, ArrangeSetStageClear}, kNone, {ArrangeGetMessage, ArrangeSetMessage},
    {ArrangeGetWarp, ArrangeSetWarp},  // 20
    {ArrangeGetSetTarget, ArrangeSetSetTarget}, {ArrangeGetStatusOp, ArrangeSetStatusOp}, kNone, kParam1, kParam1,
    {ArrangeGetChangeGraphic, ArrangeSetChangeGraphic}, kNone, kNone, {ArrangeGetRunEffect, ArrangeSetRunEffect},
    kParam0,  // 30
    kParam0, {ArrangeGetShowPicture, ArrangeSetShowPicture}, {ArrangeGetScreenColor, ArrangeSetScreenColor}, kParam0,
    kParam0, kParam0, kNone, kNone, kNone};

template <size_t... I>
constexpr std::array<ArrangeGetFn, kArrangeKinds> Getters(std::index_sequence<I...>) {
    return {kPairs[I].get...};
}
template <size_t... I>
constexpr std::array<ArrangeSetFn, kArrangeKinds> Setters(std::index_sequence<I...>) {
    return {kPairs[I].set...};
}

}  // namespace

const std::array<ArrangeGetFn, kArrangeKinds> ArrangeGetTable = Getters(std::make_index_sequence<kArrangeKinds>());
const std::array<ArrangeSetFn, kArrangeKinds> ArrangeSetTable = Setters(std::make_index_sequence<kArrangeKinds>());

void ApplyArrange(cEdFlowCmd& cmd, const cArrange& rec, cChara& chara) {
    // The kind of the command; item kinds 2 and up count as kind + 15.
    const int k = cmd.CharaKindEquivalent();
    if (static_cast<uint32_t>(k) >= kArrangeKinds || rec.nKind != k) return;
    // The current value of the command's parameter (a kind without a setter is not arranged).
    if (!ArrangeSetTable[k]) return;
    int32_t v = 0;
    if (!ArrangeGetTable[k](v, rec.nParam, cmd)) return;
    // The operand.
    int32_t operand = 0;
    const int32_t n = rec.nValue;
    switch (rec.nSource) {
        case 0:
            if (n < 1 || !Below(n, g_Progress.m_vecCommonVar.size())) return;
            operand = g_Progress.m_vecCommonVar[n];
            break;
        case 1: {
            const auto& vars = PlayScene()->m_vStageVars;
            if (n < 1 || !Below(n, vars.size())) return;
            operand = vars[n];
            break;
        }
        case 2:
            if (n < 1 || !Below(n, chara.m_vVars.size())) return;
            operand = chara.m_vVars[n];
            break;
        case 3: {
            const int32_t* fv = PlayScene()->m_lpCurFlowVars;
            if ((n != 1 && n != 2) || !fv) return;
            operand = fv[n - 1];
            break;
        }
        default: return;
    }
    // The range.
    const cArrangeParam& d = ArrangeParamAt(ArrangeParamKindAt(k), rec.nParam);
    int32_t min = d.nMin, max = d.nMax;
    if (!ShotParamRange(k, rec.nParam, cmd, min, max)) return;
    // The operation within the range; the value is set when the command takes it.
    ApplyParamOp(v, operand, rec.nOp, min, max);
    if (!ArrangeValueValid(k, rec.nParam, v, cmd, chara)) return;
    ArrangeSetTable[k](v, rec.nParam, cmd);
}

void ApplyFlowArranges(cEdFlowCmd& cmd, cChara& chara, cFlow* flow) {
    if (!flow) return;
    for (const cArrange& rec : flow->m_lstArrange) ApplyArrange(cmd, rec, chara);
}

void ApplyCharaArranges(cEdFlowCmd& cmd, cCharaPlayer& chara) {
    for (const cArrange& rec : chara.m_lstArrange) ApplyArrange(cmd, rec, chara);
}
