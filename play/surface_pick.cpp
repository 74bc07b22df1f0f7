#include "play/surface_pick.h"

#include "media/gfx/dd_state.h"

namespace {

constexpr int kAlternateOffset = 18;

bool HasTexture(int slot) {
    if (slot < 0 || slot >= kSurfaceSlots) return false;
    const DTDATA* dt = SurfaceTable[slot].lpDT;
    return dt && dt->lpTexture;
}

}  // namespace

int PickSurfaceSlot(int slot, int alternate) {
    if (!lpDTCon || slot < 0 || slot + kAlternateOffset >= kSurfaceSlots) return slot;
    if (!alternate && !HasTexture(slot)) return slot + kAlternateOffset;
    if (alternate && HasTexture(slot + kAlternateOffset)) return slot + kAlternateOffset;
    return slot;
}
