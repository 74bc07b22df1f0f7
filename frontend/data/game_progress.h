// The game progress: everything a game carries from stage to stage and into
// a save (lives, scores, the ranking totals, common variables, opened and
// cleared stages, best records, carried hero values, the world-map place,
// the stage variation, the choices of the stage-clear command, the save
// slot and time). The body of story slots and of the challenge file and the
// tail of every replay file.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/checked_vector.h"
#include "records/data_record.h"
#include "records/ed_chara.h"

class cWorldMap;

// The variation part of a stage key: nothing when bOn is 0; otherwise
// "_c" + the variable in three digits + "_" + the value, put before a final
// '.' (stage. with variable 5 and value 3 gives stage_c005_3.).
void AppendStageVariation(std::string& s, int32_t bOn, int32_t nVar, int32_t nValue);

// Local time as eight uint16: year, month, day of week, day, hour, minute,
// second, milliseconds (stored raw, 16 bytes).
using SaveTime = std::array<uint16_t, 8>;
enum eSaveTimePart { ST_YEAR, ST_MONTH, ST_DAYOFWEEK, ST_DAY, ST_HOUR, ST_MINUTE, ST_SECOND, ST_MILLISECONDS };
SaveTime LocalSaveTime();

inline constexpr int32_t kUnlimitedLives = 999999;
inline constexpr int kCarryItemCount = 25;

// The store of one player's carried hero values: the chara definition
// body, then carried items 11 and 12 (the counters of ranking categories 3
// and 4), 22 (remaining time), 23 (lives) and 24 (music on).
template <class TCharaBody>
class cSavedCharaOf : public cRecord<cSavedCharaOf<TCharaBody>> {
public:
    int32_t m_nItem11 = 0;
    int32_t m_nItem12 = 0;
    int32_t m_nItem22 = 0;
    int32_t m_nItem23 = 0;
    int32_t m_nItem24 = 0;
    TCharaBody m_Chara;

    template <class F>
    void Fields(F& f) {
        f.Field("m_nItem11", m_nItem11);
        f.Field("m_nItem12", m_nItem12);
        f.Field("m_nItem22", m_nItem22);
        f.Field("m_nItem23", m_nItem23);
        f.Field("m_nItem24", m_nItem24);
        f.Record("m_Chara", m_Chara);
    }
};
using cSavedChara = cSavedCharaOf<cEdChara>;
extern template class cRecord<cSavedChara>;

// Best score of one stage key.
class cStageBest : public cRecord<cStageBest> {
public:
    int32_t m_bVariation = 0;
    int32_t m_nVariationVar = 0;
    int32_t m_nVariationValue = 0;
    int32_t m_nBest = 0;
    std::string m_strStageBase;
    std::string m_strStageKey;

    template <class F>
    void Fields(F& f) {
        if (f.Since(759)) {
            f.Field("m_bVariation", m_bVariation);
            f.Field("m_nVariationVar", m_nVariationVar);
            f.Field("m_nVariationValue", m_nVariationValue);
        }
        f.Field("m_nBest", m_nBest);
        f.String("m_strStageBase", m_strStageBase);
        if (f.Since(759)) f.String("m_strStageKey", m_strStageKey);
    }
    void OnLoaded(const cLoadContext& ctx) {
        if (ctx.Below(759)) m_strStageKey = m_strStageBase;
    }
};
extern template class cRecord<cStageBest>;

// Cleared flag and best score of one stage of the stage select.
class StageFlagRecord : public cRecord<StageFlagRecord> {
public:
    int32_t m_bCleared = 0;
    int32_t m_nBest = 0;

    template <class F>
    void Fields(F& f) {
        f.Field("m_bCleared", m_bCleared);
        f.Field("m_nBest", m_nBest);
    }
};
extern template class cRecord<StageFlagRecord>;

class cGameProgress : public cRecord<cGameProgress> {
public:
    cGameProgress() { Reset(0); }

    int32_t m_bCarried = 0;
    cCheckedVector<int32_t> m_vecCarriedItem;  // 25 flags
    cCheckedVector<cSavedChara> m_vecSavedChara;
    int32_t m_nMapX = 0, m_nMapY = 0;
    int32_t m_nOldMapValue = 0;  // the fourth field of files before 916
    int32_t m_nClearAction = 0;  // 0 nothing, 1 next lap of the world, 2 back to the title
    cCheckedVector<int32_t> m_vecOpened;  // cleared flags by series index
    int32_t m_nWorld = 0;
    cCheckedVector<int32_t> m_vecCommonVar;
    // A story stage is being played: the play scene sets it up and loads
    // the stage of m_nStageNumber itself when it starts with it set (a slot
    // saved at a chained stage clear resumes in the play scene).
    int32_t m_bResume = 0;
    std::string m_strStageBase;
    std::string m_strStageKey;
    int32_t m_bVariation = 0, m_nVariationVar = 0, m_nVariationValue = 0;
    int32_t m_nSeriesIndex = 0;
    int32_t m_nStageNumber = 0;
    int32_t m_nStartLives = 0;
    int32_t m_nLives = 0;
    int32_t m_nStageScore = 0;
    int32_t m_nScore = 0;
    int32_t m_nBestTotal = 0;
    int32_t m_nTotal1 = 0, m_nTotal2 = 0, m_nTotal3 = 0, m_nTotal4 = 0;
    int32_t m_bNumbered = 0;
    int32_t m_nNextStage = 0;
    std::string m_strNextFile;
    int32_t m_bBgmOn = 0;
    int32_t m_nBgm = 0;
    int32_t m_nMapFacing = 0;
    int32_t m_bMapReturn = 0, m_nMapCursorX = 0, m_nMapCursorY = 0;
    cCheckedVector<cStageBest> m_vecStageBest;
    int32_t m_nHighestStage = 0;
    cCheckedVector<StageFlagRecord> m_vecStageFlag;
    cCheckedVector<int32_t> m_vecStartVar;
    int32_t m_nStartLivesSnap = 0, m_nStartScoreSnap = 0;
    int32_t m_nSlot = 0;
    int32_t m_bSlotSave = 0;
    SaveTime m_stSaveTime = {};
    std::string m_strPlayerName;
    int32_t m_bShowRanking = 0;
    int32_t m_nRankCategory = 0;
    int32_t m_bNextStartPos = 0, m_nNextStartX = 0, m_nNextStartY = 0, m_nNextStartDir = 0;
    int32_t m_bCountsAsClear = 0;
    // Kept for the run only (no file holds it): the repeat flag of the
    // stage music the play scene requested.
    int32_t m_bBgmRepeat = 1;

    // The state of a new game with n stage flags. m_vecStartVar and
    // m_stSaveTime keep their contents.
    void Reset(int n);
    // Map place inside the map, stage flags sized to the stage count, the
    // highest stage at most the stage count.
    void Normalize(const cWorldMap& map, int32_t nStageCount);
    void Normalize();  // with g_WorldMap and the game's stage count
    // The cell the map's cursor returns to (m_nMapCursorX/Y) inside the map:
    // a cell outside it (a damaged or crafted file) is the start cell, as
    // Normalize does for the player's place. The stored values stay as read.
    void MapReturnCell(const cWorldMap& map, int32_t& x, int32_t& y) const;

    // --- bookkeeping (progress_book.cpp) ---
    void ClearProgressCounters();
    // Stage base name, key and variation of the stage file chosen.
    void ParseStageVariation(std::string_view file, int32_t bOn, int32_t nVar, int32_t nValue);
    void UpdateStageRecord(const std::string& base, const std::string& key, int32_t bOn, int32_t nVar,
                           int32_t nValue, int32_t nScore);
    int32_t GetStageBest(std::string_view key) const;
    void RecalcBestTotal(const cWorldMap& map);
    // Stage flags and the highest stage at the clear of a challenge stage.
    void MarkChallengeClear(int32_t nStageCount);
    void SnapshotStageStart();
    // bAll: variables, score and lives; otherwise the score, and the
    // variables when bModeRestoresVars (the game mode's retry setting).
    int32_t RestoreStageStart(bool bAll, bool bModeRestoresVars);
    // Carry-over flags cleared by a lost life (25 flags of the game's settings).
    void ClearFlaggedProgressEntries(std::span<const uint8_t> clearOnMiss);
    void BeginNextStage(const cWorldMap& map);
    // Moves the shown ranking category over the enabled ones (one flag per
    // category 0..4).
    void StepRankCategory(std::span<const uint8_t> categoryEnabled, int n);

    // --- save slots (save_slots.cpp) ---
    // Saves into story slot n; true when the file was written (the slot list
    // is updated then only).
    bool SaveStorySlot(int n);
    // Loads story slot n and fixes the lives; 0 (progress unchanged) when
    // the file cannot be read.
    int LoadStorySlot(int n);
    int LoadChallenge();
    bool SaveChallenge();
    // The lives fix-up after a load, for a game mode's lives settings.
    void FixLives(int32_t bUnlimited, int32_t nModeLives);

    template <class F>
    void Fields(F& f) {
        f.Field("m_bCarried", m_bCarried);
        f.Field("m_nMapX", m_nMapX);
        f.Field("m_nMapY", m_nMapY);
        if (f.Below(916))
            f.Field("m_nOldMapValue", m_nOldMapValue);
        else
            f.Field("m_nClearAction", m_nClearAction);
        f.Field("m_nWorld", m_nWorld);
        if (f.Since(915)) f.Field("m_bResume", m_bResume);
        if (f.Since(758)) {
            f.Field("m_bVariation", m_bVariation);
            f.Field("m_nVariationVar", m_nVariationVar);
            f.Field("m_nVariationValue", m_nVariationValue);
        }
        f.Field("m_nSeriesIndex", m_nSeriesIndex);
        f.Field("m_nStageNumber", m_nStageNumber);
        f.Field("m_nStartLives", m_nStartLives);
        f.Field("m_nLives", m_nLives);
        f.Field("m_nStageScore", m_nStageScore);
        f.Field("m_nScore", m_nScore);
        f.Field("m_nBestTotal", m_nBestTotal);
        f.Field("m_nTotal1", m_nTotal1);
        f.Field("m_nTotal2", m_nTotal2);
        if (f.Since(182)) {
            f.Field("m_nTotal3", m_nTotal3);
            f.Field("m_nTotal4", m_nTotal4);
        }
        f.Field("m_bNumbered", m_bNumbered);
        if (f.Since(915)) f.Field("m_nNextStage", m_nNextStage);
        f.Field("m_bBgmOn", m_bBgmOn);
        if (f.Since(166)) f.Field("m_nBgm", m_nBgm);
        if (f.Since(194)) f.Field("m_nMapFacing", m_nMapFacing);
        if (f.Since(190)) f.Field("m_bMapReturn", m_bMapReturn);
        if (f.Since(191)) {
            f.Field("m_nMapCursorX", m_nMapCursorX);
            f.Field("m_nMapCursorY", m_nMapCursorY);
        }
        f.Field("m_nHighestStage", m_nHighestStage);
        if (f.Since(915)) {
            f.Field("m_nStartLivesSnap", m_nStartLivesSnap);
            f.Field("m_nStartScoreSnap", m_nStartScoreSnap);
        }
        f.Field("m_nSlot", m_nSlot);
        if (f.Since(169)) f.Field("m_bSlotSave", m_bSlotSave);
        f.Field("m_bShowRanking", m_bShowRanking);
        f.Field("m_nRankCategory", m_nRankCategory);
        if (f.Since(678)) {
            f.Field("m_bNextStartPos", m_bNextStartPos);
            f.Field("m_nNextStartX", m_nNextStartX);
            f.Field("m_nNextStartY", m_nNextStartY);
        }
        if (f.Since(679)) f.Field("m_nNextStartDir", m_nNextStartDir);
        if (f.Since(944)) f.Field("m_bCountsAsClear", m_bCountsAsClear);
        f.String("m_strStageBase", m_strStageBase);
        if (f.Since(724)) f.String("m_strStageKey", m_strStageKey);
        if (f.Since(915)) f.String("m_strNextFile", m_strNextFile);
        f.String("m_strPlayerName", m_strPlayerName);
        // After the base body. An int vector stored with 0 entries keeps
        // what the reset gave; the record vectors hold exactly what is stored.
        f.Raw("m_stSaveTime", m_stSaveTime);
        if (f.Since(501)) f.Vector("m_vecCarriedItem", m_vecCarriedItem, VectorRule::KeepIfNone);
        f.Vector("m_vecSavedChara", m_vecSavedChara);
        f.Vector("m_vecStageBest", m_vecStageBest);
        f.Vector("m_vecStageFlag", m_vecStageFlag);
        f.Vector("m_vecOpened", m_vecOpened, VectorRule::KeepIfNone);
        f.Vector("m_vecCommonVar", m_vecCommonVar, VectorRule::KeepIfNone);
        if (f.Since(915)) f.Vector("m_vecStartVar", m_vecStartVar, VectorRule::KeepIfNone);
    }

    // A load starts from the reset state.
    bool Load(cByteReader& r, const cLoadContext& ctx) override {
        Reset(0);
        return cRecord<cGameProgress>::Load(r, ctx);
    }
    void OnLoaded(const cLoadContext& ctx);
    void OnSaving() { Normalize(); }
};
extern template class cRecord<cGameProgress>;

// The game being played, the copy taken when a recorded play starts, and
// the copy of the play before that.
extern cGameProgress g_Progress;
extern cGameProgress g_ProgressAtStart;
extern cGameProgress g_ProgressPrevStart;
