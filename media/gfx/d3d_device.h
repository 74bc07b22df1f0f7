// The Direct3D-like device family: textures with their memory pool and
// render-target use, capabilities, clear, textured quads through one stage,
// lock, present, loss and reset. Everything is drawn by the pixel core.
#pragma once
#include <cstdint>
#include <memory>

#include "media/gfx/fault_points.h"
#include "media/gfx/image.h"
#include "media/gfx/quad.h"

namespace gfx {

using HRESULT = int32_t;
constexpr HRESULT D3D_OK = 0;
constexpr HRESULT E_FAIL_HR = int32_t(0x80004005u);
constexpr HRESULT D3DERR_INVALIDCALL = int32_t(0x8876086Cu);
constexpr HRESULT D3DERR_DEVICELOST = int32_t(0x88760868u);
constexpr HRESULT D3DERR_DEVICENOTRESET = int32_t(0x88760869u);
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = int32_t(0x8876017Cu);
inline bool FAILED_HR(HRESULT hr) { return hr < 0; }

enum D3DPool : int { POOL_DEFAULT = 0, POOL_MANAGED = 1, POOL_SYSTEMMEM = 2 };
enum D3DUsage : int { USAGE_RENDERTARGET = 1, USAGE_DYNAMIC = 0x200 };

// A texture level, a plain surface or the back buffer.
struct cD3DSurface {
    cImage img;
    int pool = POOL_DEFAULT;
    int usage = 0;
    bool locked = false;
};
using D3DSurfacePtr = std::shared_ptr<cD3DSurface>;

struct D3DVertex {
    float x, y, z, rhw;
    uint32_t diffuse;
    float u, v;
};
struct cD3DVertexBuffer {
    D3DVertex v[4]{};
};
using D3DVertexBufferPtr = std::shared_ptr<cD3DVertexBuffer>;

struct D3DCapsEmu {
    bool pow2 = false, squareOnly = false, dynamicTextures = true;
    bool alphaFullscreenFlipOrDiscard = true;
    int maxTextureWidth = 4096, maxTextureHeight = 4096;
};

struct D3DPresentParams {
    bool windowed = true;
    int backBufferWidth = 0, backBufferHeight = 0;  // 0: the window's client size
    PixelFormat backBufferFormat = PixelFormat::XRGB8888;
    int refreshRate = 0;
    bool intervalImmediate = false;
    bool swapDiscard = true;
    bool lockable = true;
};

// What the machine reports; tests change it.
struct D3DMachine {
    int dxLevel = 9;          // of the display driver
    int desktopRefresh = 60;  // Hz
    bool refreshChangeTestFails = false;
    bool refreshChangeApplyFails = false;
    int clientWidth = 640, clientHeight = 480;
    D3DCapsEmu caps;
};
D3DMachine& D3DMachineState();

class cD3DDevice {
public:
    cD3DDevice(const D3DPresentParams& pp, bool hardwareVp);
    bool HardwareVertexProcessing() const { return m_bHardware; }
    const D3DPresentParams& Params() const { return m_pp; }

    HRESULT CreateTexture(int w, int h, int usage, PixelFormat f, int pool, D3DSurfacePtr& out);
    HRESULT CreateOffscreenPlainSurface(int w, int h, PixelFormat f, int pool, D3DSurfacePtr& out);
    HRESULT CreateVertexBuffer(D3DVertexBufferPtr& out);
    D3DSurfacePtr BackBuffer() const { return m_back; }

    HRESULT SetRenderTarget(const D3DSurfacePtr& s);
    D3DSurfacePtr RenderTarget() const { return m_target; }
    HRESULT BeginScene();
    HRESULT EndScene();
    bool InScene() const { return m_bInScene; }
    // Clear of the whole target or of one rectangle (x, y, w, h) to an ARGB colour.
    HRESULT Clear(const int* rect, uint32_t argb);

    // Stage-0 and blend state.
    StageState stage;
    bool alphaBlend = true;
    // Draws the strip of four vertices with a texture (may be null).
    HRESULT DrawStrip(const D3DVertex v[4], const cD3DSurface* texture);

    HRESULT LockRect(const D3DSurfacePtr& s);
    HRESULT UnlockRect(const D3DSurfacePtr& s);
    HRESULT GetRenderTargetData(const D3DSurfacePtr& rt, const D3DSurfacePtr& sys);
    HRESULT UpdateSurface(const D3DSurfacePtr& sys, const D3DSurfacePtr& rt);

    HRESULT Present();
    HRESULT TestCooperativeLevel();
    HRESULT Reset(const D3DPresentParams& pp);
    const cImage& Shown() const { return m_shown; }
    int PresentCount() const { return m_nPresents; }
    bool Lost() const { return m_bLost; }

private:
    D3DPresentParams m_pp;
    bool m_bHardware;
    D3DSurfacePtr m_back, m_target;
    cImage m_shown;
    bool m_bInScene = false, m_bLost = false;
    int m_nPresents = 0;
};

// Direct3DCreate9 stand-in: null when creation fails.
class cD3D9 {
public:
    HRESULT GetDeviceCaps(D3DCapsEmu& out) const;
    int AdapterRefreshRate() const;
    HRESULT CreateDevice(const D3DPresentParams& pp, bool hardwareVp, std::unique_ptr<cD3DDevice>& out);
};
std::unique_ptr<cD3D9> Direct3DCreate9();

}  // namespace gfx
