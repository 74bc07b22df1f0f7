// Conditions as stored data: a single comparison (cCond), a list of them
// with its combination (cCondList, an optional part of a flow command) and
// one step of a key sequence (cKeyCond). Evaluating them belongs to the flow
// engine.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "records/data_record.h"

enum CondKind : int {
    COND_NONE = 0,        // never holds
    COND_COMMON_VAR = 1,  // common variable m_nVarIndex with m_nValue
    COND_STAGE_VAR = 2,   // stage variable m_nVarIndex with m_nValue
    COND_CHARA_VAR = 3,   // chara variable m_nVarIndex with m_nValue
    COND_STATUS = 4,      // left operand with right operand
    COND_STATUS2 = 5,     // display status (or scroll speed) with m_nVarIndex
    COND_STATUS3 = 6,     // a plain state of a chara
    COND_DISTANCE = 7,    // distance to the hero or a target
    COND_KIND_COUNT
};

// Comparison operators of kinds 1 to 5.
enum CondOp : int {
    COND_OP_EQUAL = 0,
    COND_OP_NOT_EQUAL,
    COND_OP_GREATER_EQUAL,
    COND_OP_LESS_EQUAL,
    COND_OP_GREATER,
    COND_OP_LESS,
    COND_OP_DIVISIBLE,
    COND_OP_NOT_DIVISIBLE,
};

class cCond : public cRecord<cCond> {
public:
    // Compiled once, in cond.cpp (copies of the whole record are large).
    cCond();
    cCond(const cCond&);
    cCond(cCond&&) noexcept;
    cCond& operator=(const cCond&);
    cCond& operator=(cCond&&) noexcept;
    ~cCond() override;

    int8_t m_nKind = 0;
    int8_t m_nLeftSource = 0;   // kind 4: 0 status, 1 variable, 2 flow variable
    int8_t m_nLeftVarKind = 0;  // 0 common, 1 stage
    int8_t m_nLeftTarget = 0;   // 0 self, 1-4 target slots, 5 system; kind 7: 0 hero, 1-4 targets
    int8_t m_nLeftItem = 0;     // status number (kind 4) or item (kinds 5, 6)
    int16_t m_nVarIndex = 0;
    int8_t m_nLeftFlowVar = 0;
    int8_t m_nRightSource = 0;  // 0 constant, 1 random, 2 status, 3 variable, 4 flow variable
    int32_t m_nValue = 0;       // constant; kind 7: distance in half blocks
    int32_t m_nRandomMin = 0;
    int32_t m_nRandomMax = 0;
    int8_t m_nRightTarget = 0;
    int8_t m_nRightItem = 0;
    int8_t m_nRightVarKind = 0;
    int16_t m_nRightVarIndex = 0;  // kind 7: dots added to the distance
    int8_t m_nRightFlowVar = 0;
    int8_t m_nOp = 0;  // CondOp; kind 6: 1 inverts; kind 7: 0 within, 1 outside
    int8_t m_bPercent = 0;
    int8_t m_nLeftCoordMode = 0;
    int8_t m_nRightCoordMode = 0;
    int8_t m_nLeftCoordRef = 0;
    int8_t m_nRightCoordRef = 0;
    int8_t m_nDirection = 0;  // kind 7: how the distance is measured

    template <class F>
    void Fields(F& f) {
        f.Field("m_nKind", m_nKind);
        f.Field("m_nValue", m_nValue);
        if (f.Below(110)) f.Dropped("(old values)", 2, 2);
        if (f.Since(110)) {
            f.Field("m_nRandomMin", m_nRandomMin);
            f.Field("m_nRandomMax", m_nRandomMax);
            f.Field("m_nLeftTarget", m_nLeftTarget);
            f.Field("m_nLeftItem", m_nLeftItem);
            f.Field("m_nLeftSource", m_nLeftSource);
            f.Field("m_nLeftVarKind", m_nLeftVarKind);
            f.Field("m_nVarIndex", m_nVarIndex);
        }
        if (f.Since(973)) f.Field("m_nLeftFlowVar", m_nLeftFlowVar);
        if (f.Since(110)) {
            f.Field("m_nRightSource", m_nRightSource);
            f.Field("m_nRightTarget", m_nRightTarget);
            f.Field("m_nRightItem", m_nRightItem);
            f.Field("m_nRightVarKind", m_nRightVarKind);
            f.Field("m_nRightVarIndex", m_nRightVarIndex);
        }
        if (f.Since(970)) f.Field("m_nRightFlowVar", m_nRightFlowVar);
        f.Field("m_nOp", m_nOp);
        if (f.Since(43)) f.Field("m_bPercent", m_bPercent);
        if (f.Since(883)) {
            f.Field("m_nLeftCoordMode", m_nLeftCoordMode);
            f.Field("m_nRightCoordMode", m_nRightCoordMode);
        }
        if (f.Since(893)) {
            f.Field("m_nLeftCoordRef", m_nLeftCoordRef);
            f.Field("m_nRightCoordRef", m_nRightCoordRef);
        }
        f.Field("m_nDirection", m_nDirection);
    }

    // Files below 110 may count their two old int16 values as two fields.
    int FieldCountSlack(uint32_t nVersion) const { return nVersion < 110 ? 1 : 0; }
    // Upgrade steps for older files.
    void OnLoaded(const cLoadContext& ctx);
};
extern template class cRecord<cCond>;

class cCondList : public cRecord<cCondList> {
public:
    int8_t m_nCondMode = 0;  // 0 all must hold, 1 one is enough
    int8_t m_bCondOnce = 0;  // once held, counts as held from then on
    std::vector<cCond> m_vecCond;

    template <class F>
    void Fields(F& f) {
        f.Field("m_nCondMode", m_nCondMode);
        f.Field("m_bCondOnce", m_bCondOnce);
        if (f.Since(766)) f.Vector("m_vecCond", m_vecCond);
    }
};
extern template class cRecord<cCondList>;

// One step of a key sequence. 19 channels: 10 direction codes, then 9 buttons.
class cKeyCond : public cRecord<cKeyCond> {
public:
    static constexpr int kChannels = 19;
    enum { KEY_ANY = 0, KEY_PRESSED = 1, KEY_RELEASED = 2 };

    std::vector<uint8_t> m_vecKey = std::vector<uint8_t>(kChannels, 0);
    int8_t m_bMirror = 0;  // direction codes mirror when the chara faces left
    int16_t m_nMinFrames = 0;
    int16_t m_nMaxFrames = 0;
    int8_t m_bAnyDuration = 0;
    int8_t m_nKeyMode = 0;  // 0 all, 1 one or more, 2 exactly one

    // Clear and exactly 19 key states (a longer vector is cut, new states 0).
    void Init();

    template <class F>
    void Fields(F& f) {
        f.Field("m_bMirror", m_bMirror);
        f.Field("m_nMinFrames", m_nMinFrames);
        f.Field("m_nMaxFrames", m_nMaxFrames);
        f.Field("m_bAnyDuration", m_bAnyDuration);
        f.Field("m_nKeyMode", m_nKeyMode);
        // A stored count of 0 keeps the states held before.
        f.Vector("m_vecKey", m_vecKey, VectorRule::KeepIfNone);
    }
};
extern template class cRecord<cKeyCond>;

using cCondListHolder = cPartHolder<cCondList>;

// A fresh, empty condition list replaces what the holder held. Returns 1.
int CreateCondList(cCondListHolder& holder);
// Deep copy between holders (flags and conditions).
cCondListHolder& AssignCondListHolder(cCondListHolder& dst, const cCondListHolder& src);
