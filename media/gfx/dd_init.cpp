#include "media/gfx/dd_init.h"

#include "media/gfx/dd_layer.h"

#include "base/log.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_surface.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

using namespace gfx;

DDSTATE g_DD;
DTCONTEXT* lpDTCon = nullptr;
DDCONTEXT* lpDDCon = nullptr;
DDSURFACEDATA g_BackBuffer, g_VirBackBuffer, g_WorkSD, g_PrimarySurface, g_WorkSurface;
std::list<DDSURFACEDATA*> g_LiveSurfaces;
DDPIXELLAYOUT g_BackLayout, g_SurfLayout;
int g_nCursorCount = 0;

namespace {

// Deletes whatever context records remain at program exit.
struct ContextCleanup {
    ~ContextCleanup() {
        delete lpDTCon;
        lpDTCon = nullptr;
        delete lpDDCon;
        lpDDCon = nullptr;
    }
} g_contextCleanup;

void HideCursor() {
    while (g_nCursorCount >= 0) --g_nCursorCount;
}
void ShowCursorUntilVisible() {
    while (g_nCursorCount < 0) ++g_nCursorCount;
}

const char* FormatName(PixelFormat f) {
    switch (f) {
    case PixelFormat::XRGB8888: return "X8R8G8B8";
    case PixelFormat::RGB565: return "R5G6B5";
    case PixelFormat::ARGB1555: return "A1R5G5B5";
    default: return "UNKNOWN";
    }
}

bool SetUpDirect3D() {
    const int level = GetDisplayDriverDxVersion();
    if (level < 9) {
        ReportLogfDebug(SJ("ビデオカードのドライバがDirectX9をサポートしていません！ %d").c_str(), level);
        return false;
    }
    g_DD.lpD3D = Direct3DCreate9();
    if (!g_DD.lpD3D) {
        ReportLogfDebug("%s", SJ("ビデオカードがDirectX9をサポートしていません！").c_str());
        return false;
    }
    lpDTCon = new DTCONTEXT();
    DTCONTEXT& c = *lpDTCon;
    D3DPresentParams pp;
    const bool windowed = g_DD.nScreenMode != 0;
    if (windowed) {
        pp.windowed = true;
        pp.backBufferWidth = pp.backBufferHeight = 0;
        pp.refreshRate = 0;
        D3DMachine& m = D3DMachineState();
        if (g_DD.bVSync) {
            if (m.refreshChangeTestFails) {
                ReportLogfDebug("ChangeDisplaySettings != DISP_CHANGE_SUCCESSFUL");
            } else if (m.refreshChangeApplyFails) {
                ReportLogfDebug("ChangeDisplaySettings Err = %x", 0xFFFFFFFFu);
            } else {
                m.desktopRefresh = 60;
            }
        }
        const int rate = g_DD.lpD3D->AdapterRefreshRate();
        ReportLogfDebug("RefreshRate : %d", rate);
        if (rate != 60) {
            g_DD.bVSync = 0;
            ReportLogfDebug("%s", SJ("リフレッシュレートの変更に失敗しました！垂直同期が無効になります！").c_str());
        }
    } else {
        pp.windowed = false;
        pp.backBufferWidth = g_DD.nWidth;
        pp.backBufferHeight = g_DD.nHeight;
        pp.refreshRate = 60;
    }
    pp.intervalImmediate = !g_DD.bVSync;
    if (FAILED_HR(g_DD.lpD3D->GetDeviceCaps(c.caps))) {
        DebugLog("GetDeviceCaps Err");
        c.caps = D3DCapsEmu{false, false, false, false, 0, 0};
    }
    pp.swapDiscard = c.caps.alphaFullscreenFlipOrDiscard;
    c.bPow2 = c.caps.pow2;
    c.bSquareOnly = c.caps.squareOnly;
    c.bDynamicTextures = c.caps.dynamicTextures;
    if (g_DD.nBpp == 16) {
        c.fmtBack = windowed ? PixelFormat::ARGB1555 : PixelFormat::RGB565;
        c.fmtTex = PixelFormat::ARGB1555;
        g_BackLayout = LayoutOf(c.fmtBack);
        g_SurfLayout = LayoutOf(c.fmtTex);
    } else if (g_DD.nBpp == 32) {
        c.fmtBack = PixelFormat::XRGB8888;
        c.fmtTex = PixelFormat::ARGB8888;
        g_SurfLayout = LayoutOf(c.fmtTex);
    } else {
        return false;
    }
    pp.backBufferFormat = c.fmtBack;
    pp.lockable = true;
    std::unique_ptr<cD3DDevice> dev;
    HRESULT hr = g_DD.lpD3D->CreateDevice(pp, true, dev);
    const char* kind = "Device HAL-HARD";
    if (FAILED_HR(hr)) {
        hr = g_DD.lpD3D->CreateDevice(pp, false, dev);
        kind = "Device HAL-SOFT";
    }
    c.pp = pp;
    c.fmtBackCopy = pp.backBufferFormat;
    if (FAILED_HR(hr)) {
        DebugLog("CreateDevice Err");
        return false;
    }
    ReportLogfDebug("%s", kind);
    ReportLogfDebug("%s", FormatName(c.fmtBack));
    g_DD.lpDevice = std::move(dev);
    cD3DDevice& d = *g_DD.lpDevice;
    d.stage = StageState{};
    d.alphaBlend = true;
    DDResetBlitColor();
    DDResetColorOp();
    DDResetAlphaOp();

    DDAllocSurfacePart(&g_BackBuffer);
    g_BackBuffer.nWidth = g_BackBuffer.nTexWidth = g_DD.nWidth;
    g_BackBuffer.nHeight = g_BackBuffer.nTexHeight = g_DD.nHeight;
    g_BackBuffer.nMemory = 0;
    g_BackBuffer.strType = "BackBuffer";
    g_BackBuffer.lpDT->bColorKey = 0;
    g_BackBuffer.lpDT->bRenderTarget = 1;
    hr = d.CreateVertexBuffer(g_BackBuffer.lpDT->lpVB);
    if (FAILED_HR(hr)) {
        ReportLogfDebug("Back CreateVertexBuffer Err %x", unsigned(hr));
        return false;
    }
    g_BackBuffer.lpDT->lpSurface = d.BackBuffer();
    g_BackBuffer.lpDT->nTexNum = 0;
    c.nTexCounter = 1;
    c.nFontCounter = 0;

    DDSetVirtualBackBuffer(0);
    c.bCopying = 0;
    DDCreateSurface(&g_VirBackBuffer, g_BackBuffer.nWidth, g_BackBuffer.nHeight, 0, 0, 0, 0, 0);
    g_VirBackBuffer.strType = "VirBackBuffer";
    DDCreateSurface(&g_WorkSD, g_BackBuffer.nWidth, g_BackBuffer.nHeight, 0, 0, 0, 0, 0);
    g_WorkSD.strType = "WorkSD";
    if (!windowed) HideCursor();
    return true;
}

// Shift and maximum of each colour mask of the display format.
void AnalysePixelFormat() {
    const PixelLayout l = LayoutOf(DisplayFormat(g_DD.lpDDraw->DisplayBpp()));
    g_SurfLayout.rs = l.rs;
    g_SurfLayout.gs = l.gs;
    g_SurfLayout.bs = l.bs;
    g_SurfLayout.rm = l.rm;
    g_SurfLayout.gm = l.gm;
    g_SurfLayout.bm = l.bm;
}

int AttachDDPart(DDSURFACEDATA* sd, const DDSurfacePtr& s, int w, int h, int memory) {
    DDAllocSurfacePart(sd);
    sd->lpDD->lpSurface = s;
    sd->nWidth = sd->nTexWidth = w;
    sd->nHeight = sd->nTexHeight = h;
    sd->nMemory = memory;
    return 0;
}

int MakePalette(bool windowMode) {
    if (FAILED_HR(g_DD.lpDDraw->CreatePalette(g_DD.lpDDPalette))) {
        ReportLogfDebug("CreatePalette Err");
        return CREATEPALETTE_ERR;
    }
    auto& e = g_DD.lpDDPalette->entries;
    for (int i = 0; i < 256; ++i) {
        const bool sys = windowMode && (i < 10 || i >= 246);
        e[i][0] = uint8_t(i);
        e[i][1] = sys ? 0 : uint8_t(i);
        e[i][2] = 0;
        e[i][3] = sys ? 0x02 /* PC_EXPLICIT */ : 0x01 /* PC_RESERVED */;
    }
    if (!windowMode) e[0][2] = 255;
    const int depth = windowMode ? g_DD.nDesktopBpp : g_DD.nBpp;
    if (depth > 8) {
        AnalysePixelFormat();
    } else if (FAILED_HR(g_DD.lpDDraw->SetPalette(g_PrimarySurface.lpDD->lpSurface, g_DD.lpDDPalette))) {
        ReportLogfDebug("SetPalette Err");
        return SETPALETTE_ERR;
    }
    return 0;
}

int SetUpDDFullScreen() {
    g_WorkSurface.nMemory = 1;
    g_DD.lpDDraw = DirectDrawCreateEx();
    if (!g_DD.lpDDraw) {
        ReportLogfDebug("DirectDrawCreateEx Err");
        return CREATEEX_ERR;
    }
    if (FAILED_HR(g_DD.lpDDraw->SetCooperativeLevel(true))) {
        ReportLogfDebug("SetCooperativeLevel Err");
        return SETCOOPLEVEL_ERR;
    }
    HRESULT hr;
    if (g_DD.bModeVSync) {
        hr = g_DD.lpDDraw->SetDisplayMode(g_DD.nWidth, g_DD.nHeight, g_DD.nBpp, g_DD.nRefreshRate);
        if (FAILED_HR(hr)) hr = g_DD.lpDDraw->SetDisplayMode(g_DD.nWidth, g_DD.nHeight, g_DD.nBpp, 0);
    } else {
        hr = g_DD.lpDDraw->SetDisplayMode(g_DD.nWidth, g_DD.nHeight, g_DD.nBpp, 0);
    }
    if (FAILED_HR(hr)) {
        ReportLogfDebug("SetDisplayMode Err");
        return SETDISPLAYMODE_ERR;
    }
    DDSurfacePtr primary, back;
    if (FAILED_HR(g_DD.lpDDraw->CreatePrimary(true, primary))) {
        ReportLogfDebug("Primary CreateSurface Err");
        return CREATESURFACE_ERR;
    }
    AttachDDPart(&g_PrimarySurface, primary, g_DD.nWidth, g_DD.nHeight, 0);
    if (FAILED_HR(g_DD.lpDDraw->GetAttachedBackBuffer(primary, back))) {
        ReportLogfDebug("GetAttachedSurface Err");
        return GETATTACHEDSURFACE_ERR;
    }
    AttachDDPart(&g_BackBuffer, back, g_DD.nWidth, g_DD.nHeight, 0);
    if (!DDCreateSurface(&g_WorkSurface, g_DD.nWidth, g_DD.nHeight, 0, 1, 0, 0, 0)) return CREATESURFACE_ERR;
    if (int e = MakePalette(false)) return e;
    HideCursor();
    return 0;
}

int SetUpDDWindow() {
    const DDMachine& m = DDMachineState();
    g_DD.rcClient[0] = 0;
    g_DD.rcClient[1] = 0;
    g_DD.rcClient[2] = m.clientWidth;
    g_DD.rcClient[3] = m.clientHeight;
    const int w = m.clientWidth, h = m.clientHeight;
    g_DD.nDesktopBpp = m.desktopBpp;
    g_DD.lpDDraw = DirectDrawCreateEx();
    if (!g_DD.lpDDraw) {
        ReportLogfDebug("DirectDrawCreateEx Err");
        return CREATEEX_ERR;
    }
    if (FAILED_HR(g_DD.lpDDraw->SetCooperativeLevel(false))) {
        ReportLogfDebug("SetCooperativeLevel Err");
        return SETCOOPLEVEL_ERR;
    }
    DDSurfacePtr primary;
    if (FAILED_HR(g_DD.lpDDraw->CreatePrimary(false, primary))) {
        ReportLogfDebug("Primary CreateSurface Err");
        return CREATESURFACE_ERR;
    }
    AttachDDPart(&g_PrimarySurface, primary, w, h, 0);
    if (!DDCreateSurface(&g_BackBuffer, w, h, 0, 0, 0, 0, 0)) return CREATESURFACE_ERR;
    if (!DDCreateSurface(&g_WorkSurface, w, h, 0, 1, 0, 0, 0)) return CREATESURFACE_ERR;
    if (int e = MakePalette(true)) return e;
    if (FAILED_HR(g_DD.lpDDraw->CreateClipper())) {
        ReportLogfDebug("CreateClipper Err");
        return CLIPPER_ERR;
    }
    g_DD.bClipper = 1;
    if (FAILED_HR(g_DD.lpDDraw->ClipperSetHWnd())) {
        ReportLogfDebug("SetHWnd Err");
        return SETHWND_ERR;
    }
    if (FAILED_HR(g_DD.lpDDraw->SetClipper(primary))) {
        ReportLogfDebug("SetClipper Err");
        return SETCLIPPER_ERR;
    }
    ShowCursorUntilVisible();
    return 0;
}

const char* DDErrorName(int code) {
    switch (code) {
    case CREATEEX_ERR: return "CREATEEX_ERR";
    case SETCOOPLEVEL_ERR: return "SETCOOPLEVEL_ERR";
    case SETDISPLAYMODE_ERR: return "SETDISPLAYMODE_ERR";
    case CREATESURFACE_ERR: return "CREATESURFACE_ERR";
    case GETATTACHEDSURFACE_ERR: return "GETATTACHEDSURFACE_ERR";
    case CREATEPALETTE_ERR: return "CREATEPALETTE_ERR";
    case SETPALETTE_ERR: return "SETPALETTE_ERR";
    case CLIPPER_ERR: return "CLIPPER_ERR";
    case SETHWND_ERR: return "SETHWND_ERR";
    case SETCLIPPER_ERR: return "SETCLIPPER_ERR";
    default: return nullptr;
    }
}

}  // namespace

int GetDisplayDriverDxVersion() { return D3DMachineState().dxLevel; }

// hWnd is kept for the callers' signature: it is stored in g_DD and nothing
// reads it (the devices draw into memory and the main window shows frames).
bool DDInit(int useD3D, void* hWnd, int width, int height, int bpp, int vsync, int screenMode, int backBuffers,
            int refreshRate, int modeVsync, DDSURFACEDATA* surfaceTable, BMPSLOT* bitmapTable, int count,
            int /*reserved*/) {
    g_DD.bUseD3D = useD3D;
    g_DD.hWnd = hWnd;
    g_DD.nWidth = width;
    g_DD.nHeight = height;
    g_DD.nBpp = bpp;
    g_DD.nBytesPP = bpp / 8;
    g_DD.bVSync = vsync;
    g_DD.nScreenMode = screenMode;
    g_DD.nBackBuffers = backBuffers;
    g_DD.nRefreshRate = refreshRate;
    g_DD.bModeVSync = modeVsync;
    g_DD.lpSurfaceTable = surfaceTable;
    g_DD.lpBitmapTable = bitmapTable;
    g_DD.nSurfaceCount = count;
    ReportLogfDebug("VSync : %d", vsync);
    if (useD3D) {
        if (!SetUpDirect3D()) return false;
    } else {
        if (screenMode == 1 && g_DD.lpDDraw) g_DD.lpDDraw->RestoreDisplayMode();
        if ((screenMode == 0 || screenMode == 1) && g_DD.bSetupDone) DDEnd();
        delete lpDDCon;  // left by a set-up that failed or made no DirectDraw objects
        lpDDCon = new DDCONTEXT();
        int code = 0;
        if (screenMode == 0) code = SetUpDDFullScreen();
        else if (screenMode == 1) code = SetUpDDWindow();
        if (const char* name = DDErrorName(code)) {
            DebugLog(name);
            return false;
        }
    }
    g_DD.bInit = 1;
    g_DD.bSetupDone = 1;
    return true;
}

void DDEnd() {
    DDClearLayers();
    if (g_DD.lpDDraw) {
        for (int i = 0; g_DD.lpSurfaceTable && i < g_DD.nSurfaceCount; ++i) DDReleaseSurface(&g_DD.lpSurfaceTable[i]);
        if (g_DD.bClipper) g_DD.lpDDraw->ReleaseRef();
        g_DD.bClipper = 0;
        if (g_DD.lpDDPalette) g_DD.lpDDraw->ReleaseRef();
        g_DD.lpDDPalette.reset();
        DDReleaseSurface(&g_BackBuffer);
        DDReleaseSurface(&g_PrimarySurface);
        DDReleaseSurface(&g_WorkSurface);
        if (g_DD.lpDDraw->Refs() > 0)
            platform::ShowMessageBoxOs(SJ("解放漏れがあります"), "DirectDraw", platform::MB_ICONERROR);
        g_DD.lpDDraw.reset();
        delete lpDDCon;
        lpDDCon = nullptr;
    }
    if (g_DD.lpD3D) {
        for (int i = 0; g_DD.lpSurfaceTable && i < g_DD.nSurfaceCount; ++i) DDReleaseSurface(&g_DD.lpSurfaceTable[i]);
        DDReleaseSurface(&g_WorkSD);
        DDReleaseSurface(&g_VirBackBuffer);
        DDReleaseSurface(&g_BackBuffer);
        g_DD.lpDevice.reset();
        g_DD.lpD3D.reset();
        delete lpDTCon;
        lpDTCon = nullptr;
    }
}

void DDShutdown() { DDEnd(); }
