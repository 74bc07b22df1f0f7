#include "frontend/data/game_progress.h"

#include <algorithm>
#include <ctime>

#include "frontend/data/player_settings.h"
#include "frontend/data/world_map.h"
#include "platform/cp932.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cSavedChara>;
template class cRecord<cStageBest>;
template class cRecord<StageFlagRecord>;
template class cRecord<cGameProgress>;

// g_Progress, g_ProgressAtStart and g_ProgressPrevStart are built with the other global objects (frontend/data/globals.cpp).

SaveTime LocalSaveTime() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm t{};
    localtime_r(&ts.tv_sec, &t);
    return SaveTime{static_cast<uint16_t>(t.tm_year + 1900), static_cast<uint16_t>(t.tm_mon + 1),
                    static_cast<uint16_t>(t.tm_wday),        static_cast<uint16_t>(t.tm_mday),
                    static_cast<uint16_t>(t.tm_hour),        static_cast<uint16_t>(t.tm_min),
                    static_cast<uint16_t>(t.tm_sec),         static_cast<uint16_t>(ts.tv_nsec / 1000000)};
}

void cGameProgress::Reset(int n) {
    Clear();
    m_vecCarriedItem.assign(kCarryItemCount, 0);
    m_vecSavedChara.assign(1, cSavedChara());
    m_vecOpened.assign(1000, 0);
    m_vecOpened.at(0) = 1;
    m_vecCommonVar.assign(1001, 0);
    m_vecStageBest.clear();
    m_vecStageFlag.assign(static_cast<size_t>(std::max(n, 0)), StageFlagRecord());
    m_nHighestStage = 1;
    m_nSlot = -1;
    m_strPlayerName = "aaa";
}

void cGameProgress::Normalize(const cWorldMap& map, int32_t nStageCount) {
    // A place outside the map (a damaged or crafted file: negative as well
    // as too large) goes to the start cell.
    if (m_nMapX < 0 || m_nMapX >= map.m_nWidth) m_nMapX = map.m_nStartX;
    if (m_nMapY < 0 || m_nMapY >= map.m_nHeight) m_nMapY = map.m_nStartY;
    const int32_t count = std::max(nStageCount, 0);
    m_vecStageFlag.resize(static_cast<size_t>(count));
    m_nHighestStage = std::min(m_nHighestStage, count);
}

void cGameProgress::MapReturnCell(const cWorldMap& map, int32_t& x, int32_t& y) const {
    x = m_nMapCursorX < 0 || m_nMapCursorX >= map.m_nWidth ? map.m_nStartX : m_nMapCursorX;
    y = m_nMapCursorY < 0 || m_nMapCursorY >= map.m_nHeight ? map.m_nStartY : m_nMapCursorY;
}

void cGameProgress::Normalize() { Normalize(g_WorldMap, g_PlayerDataSettings.nStageCount); }

void cGameProgress::OnLoaded(const cLoadContext& ctx) {
    if (ctx.Below(166)) m_nBgm = 1;
    if (ctx.Below(169)) m_bSlotSave = 0;
    if (ctx.Below(182)) m_nTotal3 = m_nTotal4 = 0;
    if (ctx.Below(190)) m_bMapReturn = 0;
    if (ctx.Below(191)) m_nMapCursorX = m_nMapCursorY = 0;
    if (ctx.Below(194)) m_nMapFacing = 0;
    if (ctx.Below(501)) m_vecCarriedItem.assign(kCarryItemCount, 1);
    if (ctx.Below(754)) {
        m_vecCommonVar.resize(1000);
        m_vecStartVar.resize(1000);
    }
    if (ctx.Below(804)) m_vecOpened.at(0) = 1;
    Normalize();
}
