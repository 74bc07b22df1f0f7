// Records and globals of the graphics layer: the device globals, the two
// context records, surface records, bitmap-slot descriptors, the pixel
// layouts and the fixed surfaces.
#pragma once
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "media/gfx/d3d_device.h"
#include "media/gfx/ddraw_device.h"
#include "media/gfx/pixel_format.h"

using DDPIXELLAYOUT = gfx::PixelLayout;

struct RGBTRIPLE {
    uint8_t rgbtBlue = 0, rgbtGreen = 0, rgbtRed = 0;
};

// Texture memory types.
enum : int { DTMEMORYTYPE_VIDEO_RT = 0, DTMEMORYTYPE_SYSTEM = 1, DTMEMORYTYPE_VIDEO_NORT = 2 };

struct DTSURFACEDESC {
    gfx::PixelFormat format = gfx::PixelFormat::ARGB8888;
    int usage = 0, pool = 0;
    int width = 0, height = 0;
};

// Direct3D part of a surface.
struct DTDATA {
    int nTexNum = 0;
    gfx::D3DSurfacePtr lpSurface;        // level 0, or the device's back buffer
    gfx::D3DSurfacePtr lpSystemSurface;  // system copy of a render-target texture
    gfx::D3DVertexBufferPtr lpVB;
    std::shared_ptr<void> lpExtra;       // second object: cleared and released only
    gfx::D3DSurfacePtr lpTexture;
    DTSURFACEDESC desc;
    int nMemType = 0;
    int bColorKey = 0;
    int bRenderTarget = 0;
    std::vector<uint8_t>* lpPalIdx = nullptr;  // palette-index map or null
};

// DirectDraw part of a surface.
struct DDDATA {
    gfx::DDSurfacePtr lpSurface;
    std::vector<uint8_t>* lpPalIdx = nullptr;
};

struct DDSURFACEDATA {
    DTDATA* lpDT = nullptr;
    DDDATA* lpDD = nullptr;
    std::string strType;
    int nWidth = 0, nHeight = 0;
    int nTexWidth = 0, nTexHeight = 0;
    std::string strFileName;
    int nMemory = 0;
    int nMirrorW = 0, nMirrorH = 0;
    DDSURFACEDATA* lpAlias = nullptr;
    int bLost = 0;
};

struct BMPSLOT {
    std::string strFileName;
    int bColorKey = 0;
    int nMemory = 0;
    int nTexType = 0;
    int bAlias = 0;
    int bPalIdx = 0;
    int bOptional = 0;
    int nMirrorW = 0, nMirrorH = 0;
    int nWidth = 0, nHeight = 0;
    void Set(const std::string& name, int key, int mem, int type, int alias, int palIdx, int opt, int mw, int mh, int w,
             int h) {
        strFileName = name;
        bColorKey = key;
        nMemory = mem;
        nTexType = type;
        bAlias = alias;
        bPalIdx = palIdx;
        bOptional = opt;
        nMirrorW = mw;
        nMirrorH = mh;
        nWidth = w;
        nHeight = h;
    }
};

struct DTCONTEXT {
    gfx::PixelFormat fmtBack = gfx::PixelFormat::XRGB8888, fmtTex = gfx::PixelFormat::ARGB8888;
    gfx::D3DPresentParams pp;
    int nAdapter = 0, nDevType = 1;
    gfx::PixelFormat fmtBackCopy = gfx::PixelFormat::XRGB8888;
    gfx::D3DCapsEmu caps;
    int bPow2 = 0, bSquareOnly = 0, bDynamicTextures = 0;
    int bVirBackBuffer = 0;
    DDSURFACEDATA* lpDefaultTarget = nullptr;
    int bCopying = 0;
    RGBTRIPLE rgbTransmit, rgbTransmit16;
    uint32_t dwTransTexel = 0;
    uint32_t dwTransARGB = 0;
    uint16_t wTransTexel16 = 0;
    uint16_t wTransmit_16 = 0;
    int bSceneOpen = 0;
    uint32_t dwBlitColor = 0xFFFFFFFF;
    int nColorOp = 4, nAlphaOp = 4;
    int nTexCounter = 1;
    int nFontCounter = 0;
    std::string strTexFailText;
};

struct DDCONTEXT {
    RGBTRIPLE rgbTransmit;
    RGBTRIPLE rgbTransmit16;
    int nReserved = 0;
};

struct DDSTATE {
    int bUseD3D = 0;
    int bInit = 0;
    uint8_t bSetupDone = 0;
    void* hWnd = nullptr;
    int nWidth = 0, nHeight = 0;
    int nBpp = 0, nBytesPP = 0;
    int nScreenMode = 0;
    int nBackBuffers = 0;
    int bVSync = 0;
    int nRefreshRate = 0, bModeVSync = 0;
    uint32_t dwColorKey = 0;
    int nDesktopBpp = 0;
    int rcClient[4] = {0, 0, 0, 0};  // left, top, right, bottom
    DDSURFACEDATA* lpSurfaceTable = nullptr;
    int nSurfaceCount = 0;
    BMPSLOT* lpBitmapTable = nullptr;
    std::unique_ptr<gfx::cD3D9> lpD3D;
    std::unique_ptr<gfx::cD3DDevice> lpDevice;
    std::unique_ptr<gfx::cDDraw> lpDDraw;
    int bClipper = 0;
    gfx::DDPalettePtr lpDDPalette;
    int bVirPresented = 0;
};

extern DDSTATE g_DD;
extern DTCONTEXT* lpDTCon;
extern DDCONTEXT* lpDDCon;
extern DDSURFACEDATA g_BackBuffer, g_VirBackBuffer, g_WorkSD, g_PrimarySurface, g_WorkSurface;
extern std::list<DDSURFACEDATA*> g_LiveSurfaces;
extern DDPIXELLAYOUT g_BackLayout, g_SurfLayout;

constexpr int kSurfaceSlots = 72;
extern DDSURFACEDATA SurfaceTable[kSurfaceSlots];
extern BMPSLOT BitmapTable[kSurfaceSlots];
// Fills BitmapTable with the program's 72 slot descriptors.
void BuildBitmapTable();

// The "E" name: a surface without an image file.
inline bool IsEmptyName(const std::string& s) { return s == "E"; }
