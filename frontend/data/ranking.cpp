#include "frontend/data/ranking.h"

#include "base/files.h"
#include "base/log.h"
#include "frontend/data/game_progress.h"
#include "platform/fs.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cRankingEntry>;
template class cRecord<cRankingTable>;
template class cRecord<cRanking>;

// g_Ranking is built with the other global objects (frontend/data/globals.cpp).

void cRankingTable::Reset() {
    Clear();
    m_nSortFlag = 0;
    m_vecEntry.assign(kRankingEntries, cRankingEntry());
}

int cRankingTable::FindInsertPos(int32_t v) const {
    for (size_t i = 0; i < m_vecEntry.size(); ++i) {
        const cRankingEntry& e = m_vecEntry[i];
        if (!e.m_bUsed) return static_cast<int>(i);
        if (m_nSortFlag ? e.m_nScore < v : e.m_nScore > v) return static_cast<int>(i);
    }
    return -1;
}

void cRankingTable::Insert(std::string_view name, int32_t v) {
    const int p = FindInsertPos(v);
    cRankingEntry e;
    e.m_bUsed = 1;
    e.m_strName = std::string(name);
    e.m_nScore = v;
    if (p >= 0 && p < static_cast<int>(m_vecEntry.size()))
        m_vecEntry.insert(m_vecEntry.begin() + p, std::move(e));
    else
        m_vecEntry.push_back(std::move(e));
    m_vecEntry.pop_back();
}

void cRanking::Reset() {
    Clear();
    m_vecTable.assign(kRankingTables, cRankingTable());
    for (int i = 0; i < kRankingTables; ++i) m_vecTable.at(i).m_nSortFlag = kRankingSortFlags[i];
}

void cRanking::OnLoaded(const cLoadContext& ctx) {
    if (ctx.nVersion <= 180) {
        if (m_vecTable.size() > kRankingTables) m_vecTable.resize(kRankingTables);
    }
    // Drawing and insertion use all five tables: missing ones are added, as
    // new tables (sort flag 0) in files of version 180 or older, and with
    // their category's sort flag in newer files.
    while (m_vecTable.size() < kRankingTables) {
        cRankingTable t;
        t.m_nSortFlag = ctx.nVersion <= 180 ? 0 : kRankingSortFlags[m_vecTable.size()];
        m_vecTable.push_back(std::move(t));
    }
    if (ctx.nVersion <= 180) {
        m_vecTable.at(3).m_nSortFlag = 1;
        m_vecTable.at(4).m_nSortFlag = 1;
    }
}

bool MakeRankingFileName(std::string& out, int nMode, std::string_view stageBase, int32_t bOn, int32_t nVar,
                         int32_t nValue) {
    int folder;
    switch (nMode) {
        case 0: folder = PATH_USER_STORY; break;
        case 1: folder = PATH_USER_CHALLENGE; break;
        case 2: folder = PATH_USER_FREE; break;
        default: return false;
    }
    std::string name(stageBase);
    if (nMode == 0) AppendStageVariation(name, bOn, nVar, nValue);
    ExtractFileNameStr(name);
    std::string path = Format("%s%s%s", g_PathTable.at(folder).c_str(), name.c_str(), g_ExtTable.at(EXT_RKG).c_str());
    if (path.size() >= static_cast<size_t>(kMaxPath)) return false;
    out = std::move(path);
    return true;
}

bool LoadRanking(cRanking& ranking, int nMode, std::string_view stageBase, int32_t bOn, int32_t nVar, int32_t nValue) {
    std::string name;
    if (MakeRankingFileName(name, nMode, stageBase, bOn, nVar, nValue)) {
        // A damaged file is read as far as it goes; it is kept aside before
        // the first save over it.
        const cDataRecord::FileRead read = ranking.LoadFileAsFarAsItGoes(name);
        if (read != cDataRecord::FileRead::Whole && platform::PathExists(name))
            ReportLogf("%s", LastDataFileError().c_str());
        if (read != cDataRecord::FileRead::NotRead) return true;
    }
    ranking.Reset();
    return false;
}

bool SaveRanking(cRanking& ranking, int nMode, std::string_view stageBase, int32_t bOn, int32_t nVar, int32_t nValue) {
    std::string name;
    if (!MakeRankingFileName(name, nMode, stageBase, bOn, nVar, nValue)) return false;
    return ranking.SaveFile(name);
}
