#include "play/stage_resources.h"

#include "base/log.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_surface.h"
#include "play/picture.h"
#include "media/gfx/run_time_surfaces.h"
#include "records/database.h"
#include "platform/cp932.h"

const int kPlaySurfaceSlots[64] = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                                   18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33,
                                   34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 46, 47, 48, 50, 52,
                                   56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71};
const int kShortSurfaceSlots[8] = {56, 57, 58, 59, 60, 61, 62, 63};

bool LoadPlaySurfaces(bool shortTable) {
    if (shortTable) return DDLoadSurfaces(SurfaceTable, kShortSurfaceSlots, 8);
    return DDLoadSurfaces(SurfaceTable, kPlaySurfaceSlots, 64);
}

void SetBackgroundFiles(const std::vector<cEdBackground>& backgrounds) {
    for (int i = 0; i < 8; ++i) {
        BMPSLOT& slot = BitmapTable[kBackgroundSlot + i];
        if (i < static_cast<int>(backgrounds.size()) && !backgrounds[size_t(i)].m_bFill) {
            slot.strFileName = backgrounds[size_t(i)].m_strFile;
            if (!lpDTCon) DDCheckBitmapSize(&slot.nMemory, slot.strFileName, 640, 480);
        } else {
            slot.strFileName = "";
        }
    }
}

void BuildShotSheets() {
    for (int k = 0; k < 2; ++k) {
        DDSURFACEDATA* sheet = &SurfaceTable[kShotSheetSlot + k];
        DDSURFACEDATA* shots = &SurfaceTable[kShotSlot + k];
        DDFillSurface(sheet, 0);
        for (int c = 0; c < 30; ++c)
            for (int d = 0; d < 4; ++d) {
                DDBlt(sheet, 40 + 64 * d - 32, 8 + 32 * c, 16, 16, shots, 32 * d, 16 * c, 0);
                DDBlt(sheet, 40 + 64 * d, 8 + 32 * c, 16, 16, shots, 16 + 32 * d, 16 * c, 0);
            }
    }
}

namespace {

// One surface's slot record: the file and the options of this table.
BMPSLOT Slot(const std::string& file, int systemMemory, int mirrorW, int shared) {
    BMPSLOT b;
    b.Set(file, 1, systemMemory, 0, shared, 0, 0, mirrorW, 0, 0, 0);
    return b;
}

// Creates the surfaces of the slot records from `first` on, last first;
// a failure is logged with the file name and loading goes on.
void CreateFromSlots(cCheckedVector<DDSURFACEDATA>& surfaces, const cCheckedVector<BMPSLOT>& slots, size_t first,
                     const char* failText) {
    for (size_t i = slots.size(); i-- > first;) {
        const BMPSLOT& b = slots[i];
        const int code = DDCreateSurfaceFromFile(&surfaces[i], b.strFileName, b.bColorKey, g_DD.nBpp, b.nMemory,
                                                 b.nTexType, b.bAlias, b.bPalIdx, b.nMirrorW, b.nMirrorH, 0);
        if (!DDCheckSurfaceError(code)) DebugLogf(failText, b.strFileName.c_str());
    }
}

void ResetTable(cCheckedVector<DDSURFACEDATA>& surfaces, cCheckedVector<BMPSLOT>& slots, size_t reserve) {
    DDReleaseSurfaceVector(surfaces);
    surfaces.clear();
    slots.clear();
    // Aliases point into the vector: it must never move.
    surfaces.reserve(reserve);
    slots.reserve(reserve);
}

}  // namespace

void LoadDedicatedBitmaps() {
    const auto& table = g_Database.m_vecBmpCharaExc;
    const size_t entries = table.size();
    ResetTable(g_vDedicatedSurfaces, g_vDedicatedSlots, entries > 1 ? 4 * (entries - 1) : 0);
    const int shared = lpDTCon ? 1 : 0;
    const std::string failText = SJ("専用bmp %s 読み込み失敗！");
    for (size_t e = 1; e < entries; ++e) {
        const cDbBmpCharaExc& d = table[e];
        const int mirror = d.m_bCustomCell ? d.m_nCellSize * 32 : 32;
        const size_t base = g_vDedicatedSlots.size();
        g_vDedicatedSlots.push_back(Slot(d.m_strFile, 0, 0, 0));
        g_vDedicatedSlots.push_back(Slot(d.m_strFile, 0, mirror, shared));
        g_vDedicatedSlots.push_back(Slot(d.m_strFile, 1, 0, shared));
        g_vDedicatedSlots.push_back(Slot(d.m_strFile, 1, mirror, shared));
        g_vDedicatedSurfaces.resize(base + 4);
        CreateFromSlots(g_vDedicatedSurfaces, g_vDedicatedSlots, base, failText.c_str());
        for (size_t k = 1; k < 4; ++k) g_vDedicatedSurfaces[base + k].lpAlias = &g_vDedicatedSurfaces[base];
    }
}

void LoadSwordBitmaps() {
    const auto& table = g_Database.m_vecSwordType;
    ResetTable(g_vSwordSurfaces, g_vSwordSlots, 4 * table.size());
    const int shared = lpDTCon ? 1 : 0;
    const std::string failText = SJ("ソード %s 読み込み失敗！");
    for (const cDbSwordType& d : table) {
        const size_t base = g_vSwordSlots.size();
        g_vSwordSlots.push_back(Slot(d.m_strFile, 0, 0, 0));
        g_vSwordSlots.push_back(Slot(d.m_strFile2, 0, 0, 0));
        g_vSwordSlots.push_back(Slot(d.m_strFile, 1, 0, shared));
        g_vSwordSlots.push_back(Slot(d.m_strFile2, 1, 0, shared));
        g_vSwordSurfaces.resize(base + 4);
        CreateFromSlots(g_vSwordSurfaces, g_vSwordSlots, base, failText.c_str());
        g_vSwordSurfaces[base + 2].lpAlias = &g_vSwordSurfaces[base];
        g_vSwordSurfaces[base + 3].lpAlias = &g_vSwordSurfaces[base + 1];
    }
}

void LoadEffectBitmaps() {
    const auto& table = g_Database.m_vecEffect;
    const size_t entries = table.size();
    ResetTable(g_vEffectSurfaces, g_vEffectSlots, entries > 1 ? 2 * (entries - 1) : 0);
    const int shared = lpDTCon ? 1 : 0;
    const std::string failText = SJ("エフェクト %s 読み込み失敗！");
    for (size_t e = 1; e < entries; ++e) {
        const size_t base = g_vEffectSlots.size();
        g_vEffectSlots.push_back(Slot(table[e].m_strFile, 0, 0, 0));
        g_vEffectSlots.push_back(Slot(table[e].m_strFile, 1, 0, shared));
        g_vEffectSurfaces.resize(base + 2);
        CreateFromSlots(g_vEffectSurfaces, g_vEffectSlots, base, failText.c_str());
        g_vEffectSurfaces[base + 1].lpAlias = &g_vEffectSurfaces[base];
    }
}

void ReleasePlaySurfaces() {
    DDReleaseSurfaceList(g_lstRunTimeSurfaces);
    g_lstRunTimeSurfaces.clear();
    g_lstRunTimeSlots.clear();
    ClearPictures();
}

void ReleaseEffectSurfaces() {
    DDReleaseSurfaceList(g_lstScreenEffectSurfaces);
    g_lstScreenEffectSurfaces.clear();
    g_lstScreenEffectSlots.clear();
}

void ReleaseStageResources() {
    for (int slot : kPlaySurfaceSlots) DDReleaseSurface(&SurfaceTable[slot]);
    for (auto* v : {&g_vDedicatedSurfaces, &g_vSwordSurfaces, &g_vEffectSurfaces}) {
        DDReleaseSurfaceVector(*v);
        v->clear();
    }
    g_vDedicatedSlots.clear();
    g_vSwordSlots.clear();
    g_vEffectSlots.clear();
    ReleasePlaySurfaces();
    ReleaseEffectSurfaces();
}
