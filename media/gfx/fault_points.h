// Failure points of the emulated devices. A test arms a point; the device
// call that consults it then fails for the given number of calls.
#pragma once
#include <map>

namespace gfx {

enum class Fault {
    // Direct3D-like family
    D3DCreate,
    D3DDeviceCaps,
    D3DCreateDeviceHW,
    D3DCreateDeviceSW,
    D3DVertexBuffer,
    D3DOutOfVideoMemory,  // a default-pool texture
    D3DCreateTexture,     // any texture, after the video-memory test
    D3DCreateOffscreen,
    D3DSetRenderTarget,
    D3DLock,
    D3DDeviceLost,    // at the next Present
    D3DNotResettable, // TestCooperativeLevel keeps reporting a lost device
    D3DReset,
    // DirectDraw-like family
    DDCreateEx,
    DDSetCoopLevel,
    DDSetDisplayMode,
    DDRefreshRate60,  // a display mode with 60 Hz is refused
    DDCreatePrimary,
    DDGetAttached,
    DDCreateVideo,
    DDCreateSystem,
    DDCreatePalette,
    DDSetPalette,
    DDCreateClipper,
    DDSetHWnd,
    DDSetClipper,
    DDSetColorKey,
    DDLock,
};

class cFaultPoints {
public:
    // The next `times` calls after `skip` passing calls fail.
    void Arm(Fault f, int times = 1, int skip = 0) { m_armed[f] = {skip, times}; }
    bool Hit(Fault f) {
        auto it = m_armed.find(f);
        if (it == m_armed.end()) return false;
        if (it->second.skip > 0) {
            --it->second.skip;
            return false;
        }
        if (--it->second.times <= 0) m_armed.erase(it);
        return true;
    }
    void Clear() { m_armed.clear(); }

private:
    struct Entry {
        int skip, times;
    };
    std::map<Fault, Entry> m_armed;
};

cFaultPoints& Faults();

}  // namespace gfx
