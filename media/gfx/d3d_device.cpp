#include "media/gfx/d3d_device.h"

#include "media/gfx/draw_pixels.h"
#include "media/gfx/pixel_ops.h"

namespace gfx {

std::atomic<bool> g_bDrawPixels{true};

cFaultPoints& Faults() {
    static cFaultPoints points;
    return points;
}

D3DMachine& D3DMachineState() {
    static D3DMachine m;
    return m;
}

HRESULT cD3D9::GetDeviceCaps(D3DCapsEmu& out) const {
    if (Faults().Hit(Fault::D3DDeviceCaps)) return E_FAIL_HR;
    out = D3DMachineState().caps;
    return D3D_OK;
}

int cD3D9::AdapterRefreshRate() const { return D3DMachineState().desktopRefresh; }

HRESULT cD3D9::CreateDevice(const D3DPresentParams& pp, bool hardwareVp, std::unique_ptr<cD3DDevice>& out) {
    if (Faults().Hit(hardwareVp ? Fault::D3DCreateDeviceHW : Fault::D3DCreateDeviceSW)) return E_FAIL_HR;
    out = std::make_unique<cD3DDevice>(pp, hardwareVp);
    return D3D_OK;
}

std::unique_ptr<cD3D9> Direct3DCreate9() {
    if (Faults().Hit(Fault::D3DCreate)) return nullptr;
    return std::make_unique<cD3D9>();
}

cD3DDevice::cD3DDevice(const D3DPresentParams& pp, bool hardwareVp) : m_bHardware(hardwareVp) { Reset(pp); }

HRESULT cD3DDevice::Reset(const D3DPresentParams& pp) {
    if (m_back && Faults().Hit(Fault::D3DReset)) return D3DERR_INVALIDCALL;
    m_pp = pp;
    const int w = pp.backBufferWidth ? pp.backBufferWidth : D3DMachineState().clientWidth;
    const int h = pp.backBufferHeight ? pp.backBufferHeight : D3DMachineState().clientHeight;
    m_back = std::make_shared<cD3DSurface>();
    m_back->img.Reset(pp.backBufferFormat, w, h);
    m_back->usage = USAGE_RENDERTARGET;
    m_target = m_back;
    m_bLost = false;
    m_bInScene = false;
    stage = StageState{};
    alphaBlend = true;
    return D3D_OK;
}

HRESULT cD3DDevice::CreateTexture(int w, int h, int usage, PixelFormat f, int pool, D3DSurfacePtr& out) {
    out.reset();
    if (w <= 0 || h <= 0) return D3DERR_INVALIDCALL;
    if (pool == POOL_DEFAULT && Faults().Hit(Fault::D3DOutOfVideoMemory)) return D3DERR_OUTOFVIDEOMEMORY;
    if (Faults().Hit(Fault::D3DCreateTexture)) return E_FAIL_HR;
    out = std::make_shared<cD3DSurface>();
    out->img.Reset(f, w, h);
    out->pool = pool;
    out->usage = usage;
    return D3D_OK;
}

HRESULT cD3DDevice::CreateOffscreenPlainSurface(int w, int h, PixelFormat f, int pool, D3DSurfacePtr& out) {
    out.reset();
    if (w <= 0 || h <= 0 || Faults().Hit(Fault::D3DCreateOffscreen)) return E_FAIL_HR;
    out = std::make_shared<cD3DSurface>();
    out->img.Reset(f, w, h);
    out->pool = pool;
    return D3D_OK;
}

HRESULT cD3DDevice::CreateVertexBuffer(D3DVertexBufferPtr& out) {
    out.reset();
    if (Faults().Hit(Fault::D3DVertexBuffer)) return E_FAIL_HR;
    out = std::make_shared<cD3DVertexBuffer>();
    return D3D_OK;
}

HRESULT cD3DDevice::SetRenderTarget(const D3DSurfacePtr& s) {
    if (!s || !(s->usage & USAGE_RENDERTARGET) || Faults().Hit(Fault::D3DSetRenderTarget)) return D3DERR_INVALIDCALL;
    m_target = s;
    return D3D_OK;
}

HRESULT cD3DDevice::BeginScene() {
    if (m_bInScene) return D3DERR_INVALIDCALL;
    m_bInScene = true;
    return D3D_OK;
}

HRESULT cD3DDevice::EndScene() {
    if (!m_bInScene) return D3DERR_INVALIDCALL;
    m_bInScene = false;
    return D3D_OK;
}

HRESULT cD3DDevice::Clear(const int* rect, uint32_t argb) {
    if (!m_target) return D3DERR_INVALIDCALL;
    cImage& img = m_target->img;
    if (!g_bDrawPixels) return D3D_OK;
    const uint32_t px = EncodePixel(img.Format(), UnpackArgb(argb));
    if (rect) FillRect(img, rect[0], rect[1], rect[2], rect[3], px);
    else FillRect(img, 0, 0, img.Width(), img.Height(), px);
    return D3D_OK;
}

HRESULT cD3DDevice::DrawStrip(const D3DVertex v[4], const cD3DSurface* texture) {
    if (!m_target) return D3DERR_INVALIDCALL;
    if (!g_bDrawPixels) return D3D_OK;
    QuadParams q;
    q.texture = texture ? &texture->img : nullptr;
    const double tw = texture ? texture->img.Width() : 1, th = texture ? texture->img.Height() : 1;
    for (int i = 0; i < 4; ++i)
        q.v[i] = QuadVertex{v[i].x, v[i].y, float(double(v[i].u) * tw), float(double(v[i].v) * th)};
    q.diffuse = v[0].diffuse;
    q.stage = stage;
    q.blend = alphaBlend;
    DrawQuad(m_target->img, q);
    return D3D_OK;
}

HRESULT cD3DDevice::LockRect(const D3DSurfacePtr& s) {
    if (!s || s->locked || Faults().Hit(Fault::D3DLock)) return D3DERR_INVALIDCALL;
    // A render-target texture in the default pool cannot be locked; the back
    // buffer is created lockable.
    if (s != m_back && s->pool == POOL_DEFAULT && (s->usage & USAGE_RENDERTARGET)) return D3DERR_INVALIDCALL;
    s->locked = true;
    return D3D_OK;
}

HRESULT cD3DDevice::UnlockRect(const D3DSurfacePtr& s) {
    if (!s || !s->locked) return D3DERR_INVALIDCALL;
    s->locked = false;
    return D3D_OK;
}

HRESULT cD3DDevice::GetRenderTargetData(const D3DSurfacePtr& rt, const D3DSurfacePtr& sys) {
    if (!rt || !sys || sys->pool != POOL_SYSTEMMEM || rt->img.Width() != sys->img.Width() ||
        rt->img.Height() != sys->img.Height())
        return D3DERR_INVALIDCALL;
    sys->img = rt->img;
    return D3D_OK;
}

HRESULT cD3DDevice::UpdateSurface(const D3DSurfacePtr& sys, const D3DSurfacePtr& rt) {
    if (!rt || !sys || rt->img.Width() != sys->img.Width() || rt->img.Height() != sys->img.Height())
        return D3DERR_INVALIDCALL;
    rt->img = sys->img;
    return D3D_OK;
}

HRESULT cD3DDevice::Present() {
    if (!m_bLost && Faults().Hit(Fault::D3DDeviceLost)) m_bLost = true;
    if (m_bLost) return D3DERR_DEVICELOST;
    if (g_bDrawPixels) m_shown = m_back->img;
    ++m_nPresents;
    return D3D_OK;
}

HRESULT cD3DDevice::TestCooperativeLevel() {
    if (!m_bLost) return D3D_OK;
    if (Faults().Hit(Fault::D3DNotResettable)) return D3DERR_DEVICELOST;
    return D3DERR_DEVICENOTRESET;
}

}  // namespace gfx
