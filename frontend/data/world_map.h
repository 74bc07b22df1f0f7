// The world map: a grid of chips over which the player's figure walks, with
// places on some cells, each holding entries (a stage, a road, a wall) that
// open by conditions. Read once at start-up from data\WorldMap.dat.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/checked_vector.h"
#include "records/data_record.h"

class cWorldChipAttr : public cRecord<cWorldChipAttr> {
public:
    int32_t m_nChipValue = 0;    // kept in the file
    int32_t m_nMoveAttr = 0;     // not 0: the figure cannot enter
    int32_t m_nChipPicture = 0;  // cell of the chip picture, five per row
    std::string m_strChipName;
    std::string m_strChipText;  // kept in the file

    template <class F>
    void Fields(F& f) {
        f.Field("m_nChipValue", m_nChipValue);
        f.Field("m_nMoveAttr", m_nMoveAttr);
        f.Field("m_nChipPicture", m_nChipPicture);
        f.String("m_strChipName", m_strChipName);
        f.String("m_strChipText", m_strChipText);
    }
};
extern template class cRecord<cWorldChipAttr>;

enum eWorldEntryKind : int32_t { WORLD_ENTRY_STAGE = 0, WORLD_ENTRY_ROAD = 1, WORLD_ENTRY_WALL = 2 };

class cWorldEntry : public cRecord<cWorldEntry> {
public:
    int32_t m_nKind = 0;  // eWorldEntryKind
    int32_t m_nPicture = 0;
    int32_t m_nOpenIndex = 0;  // opened flag set by this entry's clear
    int32_t m_bPassable = 0;
    int32_t m_bReplayable = 0;
    int32_t m_nClearAction = 0;  // 0 nothing, 1 next lap of the world, 2 back to the title
    int32_t m_nNeedOpened = 0;   // opened flag needed (<= 0: none)
    int32_t m_nCondVar = 0;      // common variable (0: no condition)
    int32_t m_nCondValue = 0;
    int32_t m_nCondOp = 0;
    int32_t m_nNeedTotal = 0;  // best-score total needed
    int32_t m_bVariation = 0;
    int32_t m_nVariationVar = 1;
    int32_t m_nVariationValue = 0;
    std::string m_strName;
    std::string m_strStageFile;

    template <class F>
    void Fields(F& f) {
        f.Field("m_nKind", m_nKind);
        f.Field("m_nPicture", m_nPicture);
        f.Field("m_nOpenIndex", m_nOpenIndex);
        f.Field("m_bPassable", m_bPassable);
        f.Field("m_bReplayable", m_bReplayable);
        f.Field("m_nClearAction", m_nClearAction);
        f.Field("m_nNeedOpened", m_nNeedOpened);
        f.Field("m_nCondVar", m_nCondVar);
        f.Field("m_nCondValue", m_nCondValue);
        f.Field("m_nCondOp", m_nCondOp);
        if (f.Since(209)) f.Field("m_nNeedTotal", m_nNeedTotal);
        if (f.Since(758)) {
            f.Field("m_bVariation", m_bVariation);
            f.Field("m_nVariationVar", m_nVariationVar);
            f.Field("m_nVariationValue", m_nVariationValue);
        }
        f.String("m_strName", m_strName);
        f.String("m_strStageFile", m_strStageFile);
    }
    void OnLoaded(const cLoadContext& ctx) {
        if (ctx.Below(209)) m_nNeedTotal = 0;
    }
};
extern template class cRecord<cWorldEntry>;

class cWorldPoint : public cRecord<cWorldPoint> {
public:
    cWorldPoint() { m_vecEntry.resize(1); }

    int32_t m_nPointX = 0;
    int32_t m_nPointY = 0;
    std::string m_strPointName;
    cCheckedVector<cWorldEntry> m_vecEntry;

    template <class F>
    void Fields(F& f) {
        f.Field("m_nPointX", m_nPointX);
        f.Field("m_nPointY", m_nPointY);
        f.String("m_strPointName", m_strPointName);
        f.Vector("m_vecEntry", m_vecEntry);
    }
};
extern template class cRecord<cWorldPoint>;

class cWorldMap : public cRecord<cWorldMap> {
public:
    cWorldMap() { SetDefaults(); }

    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    int32_t m_nPitch = 0;     // row stride of the grid: 1 << m_nRowShift
    int32_t m_nRowShift = 0;  // smallest s with 2^s >= m_nWidth
    cCheckedVector<cWorldChipAttr> m_vecChipAttr;
    cCheckedVector<int32_t> m_vecChip;  // cell (x, y) is x + (y << m_nRowShift)
    cCheckedVector<cWorldPoint> m_vecPoint;
    cCheckedVector<cWorldPoint> m_vecPointTemplate;  // kept in the file only
    int32_t m_nStartX = 0;
    int32_t m_nStartY = 0;
    int32_t m_nBackColor = 0;
    int32_t m_bBackPicture = 0;
    std::string m_strWorldName;
    std::string m_strBackPicture;

    void SetDefaults();
    // Resizes the grid, keeping the cells inside both sizes. False (nothing
    // changes) for a size of 0.
    bool SetSize(int32_t w, int32_t h);
    // Start cell inside the map, unknown chips to 0, places outside dropped.
    void Normalize();

    // The first place on that cell, or null.
    const cWorldPoint* FindPointAt(int32_t x, int32_t y) const;
    // Some stage entry plays the stage of this base name (ending in its '.')
    // with this variation (none when bVariation is 0).
    bool FindPointByStageFile(std::string_view base, int32_t bVariation, int32_t nVar, int32_t nValue) const;

    // The cell's chip index (checked access).
    int32_t& Chip(int32_t x, int32_t y) { return m_vecChip.at(static_cast<long long>(x) + (static_cast<long long>(y) << m_nRowShift)); }

    template <class F>
    void Fields(F& f) {
        f.Field("m_nWidth", m_nWidth);
        f.Field("m_nHeight", m_nHeight);
        f.Field("m_nPitch", m_nPitch);
        f.Field("m_nRowShift", m_nRowShift);
        f.Field("m_nStartX", m_nStartX);
        f.Field("m_nStartY", m_nStartY);
        f.Field("m_nBackColor", m_nBackColor);
        f.Field("m_bBackPicture", m_bBackPicture);
        f.String("m_strWorldName", m_strWorldName);
        f.String("m_strBackPicture", m_strBackPicture);
        f.Vector("m_vecChipAttr", m_vecChipAttr);
        f.Vector("m_vecChip", m_vecChip, VectorRule::KeepIfNone);  // 0 stored: the grid stays
        f.Vector("m_vecPoint", m_vecPoint);
        f.Vector("m_vecPointTemplate", m_vecPointTemplate);
    }
    // Refuses sizes that do not describe the grid.
    bool LoadExtra(cByteReader& r, const cLoadContext& ctx);
    void OnLoaded(const cLoadContext& ctx);
    void OnSaving() { Normalize(); }
};
extern template class cRecord<cWorldMap>;

extern cWorldMap g_WorldMap;

// Appends printf-formatted text; one piece is at most 5119 bytes.
void AppendFormat(std::string& s, const char* format, ...) TOVARO_PRINTF(2, 3);
