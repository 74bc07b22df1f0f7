// Rankings: five tables of twenty entries per stage and game mode, one per
// ranking category (0 score, 1 and 2 totals - 2 a time that ranks the
// lowest first -, 3 and 4 further totals), kept in an "rkg" file under the
// mode's user folder.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/checked_vector.h"
#include "records/data_record.h"

struct DDSURFACEDATA;

inline constexpr int kRankingTables = 5;
inline constexpr int kRankingEntries = 20;
// Sort flag of each category's table: 1 a higher value ranks first.
inline constexpr int32_t kRankingSortFlags[kRankingTables] = {1, 1, 0, 1, 1};

class cRankingEntry : public cRecord<cRankingEntry> {
public:
    int32_t m_bUsed = 0;
    int32_t m_nScore = 0;
    std::string m_strName;

    template <class F>
    void Fields(F& f) {
        f.Field("m_bUsed", m_bUsed);
        f.Field("m_nScore", m_nScore);
        f.String("m_strName", m_strName);
    }
};
extern template class cRecord<cRankingEntry>;

class cRankingTable : public cRecord<cRankingTable> {
public:
    cRankingTable() { Reset(); }

    int32_t m_nSortFlag = 0;  // 1 a higher value ranks first, 0 a lower one
    cCheckedVector<cRankingEntry> m_vecEntry;

    // Twenty empty entries, sort flag 0.
    void Reset();
    // Where a value would go: the first empty entry or the first used one it
    // beats (an equal score is not beaten); -1 when it ranks below all.
    int FindInsertPos(int32_t v) const;
    // Places a new entry and drops the last, keeping the size.
    void Insert(std::string_view name, int32_t v);

    template <class F>
    void Fields(F& f) {
        f.Field("m_nSortFlag", m_nSortFlag);
        f.Vector("m_vecEntry", m_vecEntry);
    }
};
extern template class cRecord<cRankingTable>;

class cRanking : public cRecord<cRanking> {
public:
    cRanking() { Reset(); }

    cCheckedVector<cRankingTable> m_vecTable;

    // Five empty tables with the categories' sort flags.
    void Reset();
    // Table c drawn as DrawRankingTable does (frontend/data/ranking_draw.h).
    void Draw(DDSURFACEDATA* dst, int x, int y, int c, int h);

    template <class F>
    void Fields(F& f) {
        f.Vector("m_vecTable", m_vecTable);
    }
    void OnLoaded(const cLoadContext& ctx);
};
extern template class cRecord<cRanking>;

extern cRanking g_Ranking;

// The ranking file of a stage: the mode's folder (0 story, 1 challenge,
// 2 free), the file name of the stage base (with the variation part in
// story mode) and "rkg". False, out untouched, for another mode or a name
// that does not fit a path.
bool MakeRankingFileName(std::string& out, int nMode, std::string_view stageBase, int32_t bOn, int32_t nVar,
                         int32_t nValue);
// True when the file was read; otherwise the ranking is reset.
bool LoadRanking(cRanking& ranking, int nMode, std::string_view stageBase, int32_t bOn, int32_t nVar, int32_t nValue);
bool SaveRanking(cRanking& ranking, int nMode, std::string_view stageBase, int32_t bOn, int32_t nVar, int32_t nValue);
