// The media layer's global objects; their places in the program's order are
// listed in app/globals.h.
#include "base/checked_vector.h"
#include "base/global_order.h"
#include "media/gfx/dd_state.h"
#include "media/gfx/run_time_surfaces.h"
#include "media/input/input_list.h"
#include "media/input/menu_cursor.h"
#include "media/sound/bgm_manager.h"
#include "media/sound/ds_sound.h"
#include "media/sound/sound_output.h"

#include <list>

// 8
cMenuCursor g_MenuCursor TOVARO_GLOBAL_PLACE(8, 1);

// 9
cCheckedVector<cInput> g_InputList TOVARO_GLOBAL_PLACE(9, 1)(1);

// 10
cCheckedVector<DDSURFACEDATA> g_vDedicatedSurfaces TOVARO_GLOBAL_PLACE(10, 1);
cCheckedVector<BMPSLOT> g_vDedicatedSlots TOVARO_GLOBAL_PLACE(10, 2);
cCheckedVector<DDSURFACEDATA> g_vSwordSurfaces TOVARO_GLOBAL_PLACE(10, 3);
cCheckedVector<BMPSLOT> g_vSwordSlots TOVARO_GLOBAL_PLACE(10, 4);
cCheckedVector<DDSURFACEDATA> g_vEffectSurfaces TOVARO_GLOBAL_PLACE(10, 5);
cCheckedVector<BMPSLOT> g_vEffectSlots TOVARO_GLOBAL_PLACE(10, 6);
std::list<DDSURFACEDATA> g_lstRunTimeSurfaces TOVARO_GLOBAL_PLACE(10, 7);
std::list<BMPSLOT> g_lstRunTimeSlots TOVARO_GLOBAL_PLACE(10, 8);
std::list<DDSURFACEDATA> g_lstScreenEffectSurfaces TOVARO_GLOBAL_PLACE(10, 9);
std::list<BMPSLOT> g_lstScreenEffectSlots TOVARO_GLOBAL_PLACE(10, 10);
std::list<DDSURFACEDATA> g_lstMessageSurfaces TOVARO_GLOBAL_PLACE(10, 11);
std::list<BMPSLOT> g_lstMessageSlots TOVARO_GLOBAL_PLACE(10, 12);
cCheckedVector<DDSURFACEDATA> g_SceneSurfaces TOVARO_GLOBAL_PLACE(10, 13);
cCheckedVector<BMPSLOT> g_SceneSurfaceSlots TOVARO_GLOBAL_PLACE(10, 16);

// 11
DDSURFACEDATA SurfaceTable[kSurfaceSlots] TOVARO_GLOBAL_PLACE(11, 1);
BMPSLOT BitmapTable[kSurfaceSlots] TOVARO_GLOBAL_PLACE(11, 2);
namespace {
// Builds the bitmap table with the other objects of its group.
struct cBitmapTableBuilder {
    cBitmapTableBuilder() { BuildBitmapTable(); }
};
const cBitmapTableBuilder g_BitmapTableBuilt TOVARO_GLOBAL_PLACE(11, 3);
}  // namespace

// 12
cSoundOutput g_SoundOutput TOVARO_GLOBAL_PLACE(12, 1);
cCheckedVector<DS_SEDATA> g_SEData TOVARO_GLOBAL_PLACE(12, 2);
cCheckedVector<DS_SEINFO> g_SEInfo TOVARO_GLOBAL_PLACE(12, 3);

// 13
cBgmManager g_BgmManager TOVARO_GLOBAL_PLACE(13, 1);
