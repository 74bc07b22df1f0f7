// Bookkeeping of the game progress: stage keys, best records and their
// total, the challenge stage flags, the stage-start snapshot, the next lap
// of a world and the ranking category shown.
#include <algorithm>
#include <climits>

#include "base/log.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/world_map.h"

namespace {
// Score sums stay inside int32 instead of wrapping round.
int32_t AddScores(int64_t a, int64_t b) { return static_cast<int32_t>(std::clamp<int64_t>(a + b, INT32_MIN, INT32_MAX)); }
}  // namespace

void cGameProgress::ClearProgressCounters() { m_nScore = m_nTotal1 = m_nTotal2 = m_nTotal3 = m_nTotal4 = 0; }

void AppendStageVariation(std::string& s, int32_t bOn, int32_t nVar, int32_t nValue) {
    if (!bOn) return;
    const bool bDot = !s.empty() && s.back() == '.';
    if (bDot) s.pop_back();
    s += Format("_c%03d_%d", nVar, nValue);
    if (bDot) s += '.';
}

void cGameProgress::ParseStageVariation(std::string_view file, int32_t bOn, int32_t nVar, int32_t nValue) {
    m_strStageBase = std::string(file);
    m_bVariation = bOn;
    m_nVariationVar = nVar;
    m_nVariationValue = nValue;
    m_bNumbered = 0;
    size_t numberedAt = std::string::npos;
    for (size_t i = m_strStageBase.size(); i-- > 0;) {
        if (m_strStageBase[i] == '-' && i + 1 < m_strStageBase.size() && m_strStageBase[i + 1] == '1') {
            m_bNumbered = 1;
            numberedAt = i;
            break;
        }
    }
    if (m_bNumbered) {
        m_strStageBase.resize(numberedAt);
        m_strStageBase += '.';
    } else {
        const size_t dot = m_strStageBase.rfind('.');
        if (dot != std::string::npos) m_strStageBase.resize(dot + 1);
    }
    m_strStageKey = m_strStageBase;
    if (m_bVariation) AppendStageVariation(m_strStageKey, bOn, nVar, nValue);
}

void cGameProgress::UpdateStageRecord(const std::string& base, const std::string& key, int32_t bOn, int32_t nVar,
                                      int32_t nValue, int32_t nScore) {
    for (cStageBest& b : m_vecStageBest) {
        if (b.m_strStageKey != key) continue;
        if (b.m_nBest < nScore) {
            m_nBestTotal = AddScores(m_nBestTotal, static_cast<int64_t>(nScore) - b.m_nBest);
            b.m_nBest = nScore;
        }
        return;
    }
    cStageBest b;
    b.m_strStageBase = base;
    b.m_strStageKey = key;
    b.m_bVariation = bOn;
    b.m_nVariationVar = nVar;
    b.m_nVariationValue = nValue;
    b.m_nBest = nScore;
    m_vecStageBest.push_back(std::move(b));
    m_nBestTotal = AddScores(m_nBestTotal, nScore);
}

int32_t cGameProgress::GetStageBest(std::string_view key) const {
    for (const cStageBest& b : m_vecStageBest)
        if (b.m_strStageKey == key) return b.m_nBest;
    return 0;
}

void cGameProgress::RecalcBestTotal(const cWorldMap& map) {
    int32_t total = 0;
    for (const cStageBest& b : m_vecStageBest)
        if (map.FindPointByStageFile(b.m_strStageBase, b.m_bVariation, b.m_nVariationVar, b.m_nVariationValue))
            total = AddScores(total, b.m_nBest);
    m_nBestTotal = total;
}

void cGameProgress::MarkChallengeClear(int32_t nStageCount) {
    if (!m_vecStageFlag.empty()) {
        StageFlagRecord& rec = m_vecStageFlag.at(static_cast<long long>(m_nSeriesIndex) - 1);
        rec.m_bCleared = 1;
        if (m_nScore > rec.m_nBest) {
            m_nBestTotal = AddScores(m_nBestTotal, static_cast<int64_t>(m_nScore) - rec.m_nBest);
            rec.m_nBest = m_nScore;
        }
    }
    if (m_nHighestStage <= m_nSeriesIndex)
        m_nHighestStage = static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(m_nSeriesIndex) + 1, nStageCount));
}

void cGameProgress::SnapshotStageStart() {
    m_vecStartVar = m_vecCommonVar;
    m_nStartLivesSnap = m_nLives;
    m_nStartScoreSnap = m_nScore;
}

int32_t cGameProgress::RestoreStageStart(bool bAll, bool bModeRestoresVars) {
    if (bAll || bModeRestoresVars) m_vecCommonVar = m_vecStartVar;
    m_nScore = m_nStartScoreSnap;
    if (bAll) m_nLives = m_nStartLivesSnap;
    return m_nScore;
}

void cGameProgress::ClearFlaggedProgressEntries(std::span<const uint8_t> clearOnMiss) {
    for (size_t i = 0; i < clearOnMiss.size() && i < static_cast<size_t>(kCarryItemCount); ++i)
        if (clearOnMiss[i]) m_vecCarriedItem.at(static_cast<long long>(i)) = 0;
}

void cGameProgress::BeginNextStage(const cWorldMap& map) {
    m_nWorld += 1;
    std::fill(m_vecOpened.begin(), m_vecOpened.end(), 0);
    m_vecOpened.at(0) = 1;
    m_nMapX = map.m_nStartX;
    m_nMapY = map.m_nStartY;
}

void cGameProgress::StepRankCategory(std::span<const uint8_t> categoryEnabled, int n) {
    auto enabled = [&](int32_t c) {
        return c >= 0 && c < 5 && static_cast<size_t>(c) < categoryEnabled.size() && categoryEnabled[c] != 0;
    };
    int32_t nAny = 0;
    for (int32_t c = 0; c < 5; ++c) nAny += enabled(c) ? 1 : 0;
    if (nAny == 0) return;
    auto forward = [&] {
        do m_nRankCategory = (m_nRankCategory >= 4 || m_nRankCategory < 0) ? 0 : m_nRankCategory + 1;
        while (!enabled(m_nRankCategory));
    };
    auto backward = [&] {
        do m_nRankCategory = (m_nRankCategory <= 0 || m_nRankCategory > 4) ? 4 : m_nRankCategory - 1;
        while (!enabled(m_nRankCategory));
    };
    if (n == 0) {
        // A category outside 0..4 steps into the range first.
        if (!enabled(m_nRankCategory)) forward();
        return;
    }
    const long long steps = n > 0 ? n : -static_cast<long long>(n);
    // After the first step the enabled categories repeat with their count.
    const long long effective = 1 + (steps - 1) % nAny;
    for (long long i = 0; i < effective; ++i) {
        if (n > 0)
            forward();
        else
            backward();
    }
}
