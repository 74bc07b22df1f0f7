#include "media/gfx/dd_palette.h"

#include <algorithm>
#include <array>

#include "base/error_box.h"
#include "base/log.h"
#include "media/gfx/bmp_file.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_palette_fx.h"
#include "media/gfx/dd_surface.h"
#include "media/gfx/palette_lookup.h"
#include "platform/cp932.h"

using namespace gfx;

uint8_t g_Palette[256][4];
uint8_t g_PaletteCopy[256][4];

bool DDLOCK::Lock(DDSURFACEDATA* sd) {
    if (m_lpSD) DDUnlock(*this);
    if (!sd) return false;
    DDResolveAlias(sd);
    DDRedirectBackBuffer(&sd);
    m_nBpp = g_DD.nBpp;
    m_nBytesPP = g_DD.nBytesPP;
    if (lpDTCon) {
        if (!sd->lpDT || !g_DD.lpDevice) return false;
        cD3DDevice& dev = *g_DD.lpDevice;
        if (sd->lpDT->bRenderTarget && sd != &g_BackBuffer) {
            if (FAILED_HR(dev.GetRenderTargetData(sd->lpDT->lpSurface, sd->lpDT->lpSystemSurface))) {
                DebugLog("FAILED( lpDevice->GetRenderTargetData(lpSD->lpDT->lpSurface,lpSD->lpDT->lpSystemSurface) )");
                return false;
            }
            if (FAILED_HR(dev.LockRect(sd->lpDT->lpSystemSurface))) {
                DebugLog("FAILED( lpSD->lpDT->lpSystemSurface->LockRect(&lock, NULL, 0) )");
                return false;
            }
            m_d3d = sd->lpDT->lpSystemSurface;
            m_bSystemCopy = true;
        } else {
            if (FAILED_HR(dev.LockRect(sd->lpDT->lpSurface))) {
                DebugErrorBoxf("FAILED( lpSD->lpDT->lpSurface->LockRect(&(lock), NULL, 0) )");
                return false;
            }
            m_d3d = sd->lpDT->lpSurface;
        }
        m_lpImg = &m_d3d->img;
    } else {
        if (!sd->lpDD || !sd->lpDD->lpSurface) return false;
        uint8_t* bits = nullptr;
        if (!DDLock(sd, nullptr, &bits, g_DD.nBpp)) return false;
        m_dd = sd->lpDD->lpSurface;
        m_lpImg = &m_dd->img;
    }
    m_lpSD = sd;
    m_lpBits = m_lpImg->Bits();
    m_nPitch = m_lpImg->Bpp() ? m_lpImg->Pitch() / m_lpImg->Bpp() : 0;
    return true;
}

DDLOCK::~DDLOCK() { DDUnlock(*this); }

void DDUnlock(DDLOCK& lock) {
    if (!lock.m_lpSD) return;
    DDSURFACEDATA* sd = lock.m_lpSD;
    if (lock.m_d3d && g_DD.lpDevice) {
        cD3DDevice& dev = *g_DD.lpDevice;
        if (sd == &g_BackBuffer) {
            if (FAILED_HR(dev.UnlockRect(lock.m_d3d)))
                DebugLog("Back :: D3D_OK != m_lpSD->lpDT->lpSurface->UnlockRect();");
        } else if (lock.m_bSystemCopy) {
            if (FAILED_HR(dev.UnlockRect(lock.m_d3d))) {
                DebugLog("D3D_OK != m_lpSD->lpDT->lpSystemSurface->UnlockRect();");
            } else if (FAILED_HR(dev.UpdateSurface(lock.m_d3d, sd->lpDT->lpSurface))) {
                DebugErrorBoxf("FAILED( lpDevice->UpdateSurface(m_lpSD->lpDT->lpSystemSurface, NULL, "
                               "m_lpSD->lpDT->lpSurface, NULL)");
            }
        } else if (FAILED_HR(dev.UnlockRect(lock.m_d3d))) {
            DebugLog("D3D_OK != m_lpSD->lpDT->lpSurface->UnlockRect();");
        }
    } else if (lock.m_dd) {
        DDSurfUnlock(lock.m_dd);
    }
    lock.m_lpSD = nullptr;
    lock.m_lpBits = nullptr;
    lock.m_lpImg = nullptr;
    lock.m_d3d.reset();
    lock.m_dd.reset();
    lock.m_bSystemCopy = false;
}

bool DDLock(DDSURFACEDATA* sd, DDSurfacePtr* desc, uint8_t** bits, int bpp) {
    if (lpDTCon) {
        DebugLog(SJ("D3DではDDLockは未対応"));
        return true;
    }
    if (!sd || !sd->lpDD || FAILED_HR(DDSurfLock(sd->lpDD->lpSurface))) return false;
    if (desc) *desc = sd->lpDD->lpSurface;
    if (bits && (bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)) *bits = sd->lpDD->lpSurface->img.Bits();
    return true;
}

uint32_t PalNumToRGB(uint32_t n) {
    if (lpDTCon) {
        if (n > 255) {
            DebugLogf("PalNumToRGB(DWORD dwPalNum) Err dwPalNum = %d", int(n));
            return 0;
        }
        if (g_DD.nBpp == 8) return n;
        if (n == 0) return lpDTCon->dwTransTexel;
        return 0xFF000000u | uint32_t(g_Palette[n][0]) << 16 | uint32_t(g_Palette[n][1]) << 8 | g_Palette[n][2];
    }
    if (n > 255) return 0;
    switch (g_DD.nBpp) {
    case 8: return n;
    case 16: return DDPalToRGB16(g_Palette[n]);
    case 24:
    case 32: return uint32_t(g_Palette[n][0]) << 16 | uint32_t(g_Palette[n][1]) << 8 | g_Palette[n][2];
    default: return 0;
    }
}

uint32_t DDPalToRGB16(const uint8_t e[4]) {
    if (lpDTCon) {
        DebugLog(SJ("DDPalToRGB16はDirect3Dでは未対応"));
        return 0;
    }
    const PixelLayout& l = g_SurfLayout;
    return (e[2] & uint32_t(l.bm)) << l.bs | (e[1] & uint32_t(l.gm)) << l.gs | (e[0] & uint32_t(l.rm)) << l.rs;
}

namespace {

// How a pixel of the current mode is told apart from a palette entry: the
// key of each entry and of each pixel, equal exactly when the colours match.
class cPixelKeys {
public:
    cPixelKeys() : m_d3d16(lpDTCon && g_DD.nBpp == 16), m_dd16(!lpDTCon && g_DD.nBpp == 16) {
        if (!m_d3d16) return;
        // Direct3D 16 bits: the pixel's fields scaled to 0..255.
        const PixelLayout& l = g_SurfLayout;
        auto table = [](std::vector<uint32_t>& t, uint32_t max) {
            t.resize(size_t(max) + 1);
            for (uint32_t f = 0; f <= max; ++f) t[f] = ScaleUp(f, int(max));
        };
        table(m_scaleR, l.rm);
        table(m_scaleG, l.gm);
        table(m_scaleB, l.bm);
    }
    uint32_t OfEntry(const uint8_t e[4]) const {
        if (m_dd16) return DDPalToRGB16(e);
        return uint32_t(e[0]) << 16 | uint32_t(e[1]) << 8 | e[2];
    }
    uint32_t OfPixel(uint32_t px) const {
        if (m_d3d16) {
            const PixelLayout& l = g_SurfLayout;
            return m_scaleR[(px >> l.rs) & l.rm] << 16 | m_scaleG[(px >> l.gs) & l.gm] << 8 |
                   m_scaleB[(px >> l.bs) & l.bm];
        }
        return m_dd16 ? px : px & 0xFFFFFFu;
    }

private:
    bool m_d3d16, m_dd16;
    std::vector<uint32_t> m_scaleR, m_scaleG, m_scaleB;
};

// The raw pixel x of a row of bytesPP bytes per pixel (as cImage::Get).
template <int BytesPP>
uint32_t PixelAt(const uint8_t* row, int x) {
    const uint8_t* p = row + size_t(x) * BytesPP;
    if constexpr (BytesPP == 1) return *p;
    else if constexpr (BytesPP == 2) return uint32_t(p[0]) | uint32_t(p[1]) << 8;
    else if constexpr (BytesPP == 3) return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    else return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Each pixel's first matching palette number; a pixel no entry matches keeps
// the 0 the map was made with.
template <int BytesPP>
void FillIndexMap(const cImage& img, int width, int height, int pitch, bool zeroIsZero, std::vector<uint8_t>& map) {
    const cPixelKeys keys;
    std::array<uint32_t, 256> entryKeys;
    for (int i = 0; i < 256; ++i) entryKeys[size_t(i)] = keys.OfEntry(g_Palette[i]);
    const cPaletteLookup lookup(entryKeys);
    auto indexOf = [&](uint32_t px) -> uint8_t { return zeroIsZero && px == 0 ? 0 : lookup.Find(keys.OfPixel(px)); };
    if constexpr (BytesPP <= 2) {
        // A picture of more pixels than there are pixel values: every value
        // looked up once.
        constexpr uint32_t kValues = 1u << (8 * BytesPP);
        if (uint64_t(width) * uint64_t(height) > kValues) {
            std::vector<uint8_t> byValue(kValues);
            for (uint32_t v = 0; v < kValues; ++v) byValue[v] = indexOf(v);
            for (int y = 0; y < height; ++y) {
                const uint8_t* row = img.Row(y);
                uint8_t* out = map.data() + size_t(y) * size_t(pitch);
                for (int x = 0; x < width; ++x) out[x] = byValue[PixelAt<BytesPP>(row, x)];
            }
            return;
        }
    }
    bool haveLast = false;
    uint32_t lastPx = 0;
    uint8_t lastIndex = 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = img.Row(y);
        uint8_t* out = map.data() + size_t(y) * size_t(pitch);
        for (int x = 0; x < width; ++x) {
            const uint32_t px = PixelAt<BytesPP>(row, x);
            if (!haveLast || px != lastPx) {
                lastPx = px;
                lastIndex = indexOf(px);
                haveLast = true;
            }
            out[x] = lastIndex;
        }
    }
}

}  // namespace

int DDBuildPaletteIndexMap(std::vector<uint8_t>** where, DDSURFACEDATA* sd) {
    DDLOCK lock(sd);
    if (!lock.Locked()) {
        if (lpDTCon) OutOfMemoryExit();
        return 0;
    }
    const cImage& img = *lock.Image();
    delete *where;
    *where = new std::vector<uint8_t>(size_t(lock.m_nPitch) * std::max(sd->nHeight, 0), 0);
    std::vector<uint8_t>& map = **where;
    // A colour-keyed Direct3D 16-bit surface's zero pixels are number 0.
    const bool zeroIsZero = lpDTCon && g_DD.nBpp == 16 && sd->lpDT && sd->lpDT->bColorKey;
    const int width = std::min(sd->nWidth, img.Width()), height = std::min(sd->nHeight, img.Height());
    if (width <= 0 || height <= 0) return 1;
    switch (img.Bpp()) {
    case 1: FillIndexMap<1>(img, width, height, lock.m_nPitch, zeroIsZero, map); break;
    case 2: FillIndexMap<2>(img, width, height, lock.m_nPitch, zeroIsZero, map); break;
    case 3: FillIndexMap<3>(img, width, height, lock.m_nPitch, zeroIsZero, map); break;
    default: FillIndexMap<4>(img, width, height, lock.m_nPitch, zeroIsZero, map); break;
    }
    return 1;
}

bool DDLoadPaletteFromFile(uint8_t palette[256][4], const std::string& file) {
    auto dib = LoadDib(file);
    if (!dib) return false;
    const bool dd8 = !lpDTCon && g_DD.nBpp == 8;
    if (dib->bitCount == 8 && (lpDTCon || dd8)) {
        for (int i = 0; i < 256; ++i) {
            palette[i][0] = dib->colors[i][0];
            palette[i][1] = dib->colors[i][1];
            palette[i][2] = dib->colors[i][2];
            palette[i][3] = lpDTCon ? 255 : (i >= 10 && i <= 245 ? 0x01 : 0x02);
        }
    }
    if (dd8) {
        if (g_DD.lpDDPalette)
            for (int i = 0; i < 256; ++i)
                for (int k = 0; k < 4; ++k) g_DD.lpDDPalette->entries[i][k] = palette[i][k];
    } else if (g_DD.nBpp == 16 || g_DD.nBpp == 24 || g_DD.nBpp == 32) {
        DDSURFACEDATA tmp;
        if (DDCreateSurfaceFromFile(&tmp, file, 0, g_DD.nBpp, 1, 1, 0, 0, 0, 0, 0) == SURF_OK)
            DDSetPalette_UnPal(palette, &tmp);
        DDReleaseSurfaceData(&tmp);
    }
    return true;
}

void DDSetPaletteEntries(const uint8_t palette[256][4], int first, int count) {
    if (!g_DD.lpDDPalette) return;
    const int begin = std::max(first, 0), end = std::min(first + std::max(count, 0), 256);
    for (int i = begin; i < end; ++i)
        for (int k = 0; k < 4; ++k) g_DD.lpDDPalette->entries[i][k] = palette[i][k];
}

int DDSetTransmit(const std::string& file) {
    DDSURFACEDATA tmp;
    if (DDCreateSurfaceFromFile(&tmp, file, 0, g_DD.nBpp, 1, 1, 0, 0, 0, 0, 0) != SURF_OK) {
        DebugLogf(SJ("%s 作成失敗！").c_str(), file.c_str());
        DDReleaseSurfaceData(&tmp);
        return 0;
    }
    {
        DDLOCK lock(&tmp);
        if (!lock.Locked()) {
            DebugLog(SJ("Lock 失敗！"));
            DDReleaseSurfaceData(&tmp);
            return 0;
        }
        const uint32_t px = lock.Image()->Get(0, 0);
        if (g_DD.nBpp == 16) {
            // The transparent colour as true-colour images hold it: entry 0
            // of an 8-bit palette image, else the image's top-left pixel. Left
            // at black, every black pixel of a true-colour image would vanish.
            if (auto dib = LoadDib(file)) {
                RGBTRIPLE t;
                if (dib->bitCount == 8) {
                    t = {dib->colors[0][2], dib->colors[0][1], dib->colors[0][0]};
                } else {
                    const uint32_t c = dib->Rgb(0, 0);
                    t = {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)};
                }
                if (lpDTCon) lpDTCon->rgbTransmit16 = t;
                if (lpDDCon) lpDDCon->rgbTransmit16 = t;
            }
        }
        if (lpDTCon) {
            if (g_DD.nBpp == 16) {
                g_DD.dwColorKey = px;
                const PixelLayout& l = g_SurfLayout;
                DDSetTransmit(uint8_t((px >> l.rs) & l.rm), uint8_t((px >> l.gs) & l.gm), uint8_t((px >> l.bs) & l.bm));
                DebugLogf("SetTrans(%s) lpDTCon->wTransmit_16 = (%x)", file.c_str(), lpDTCon->wTransmit_16);
            } else if (g_DD.nBpp == 32) {
                DDSetTransmit(uint8_t(px >> 16), uint8_t(px >> 8), uint8_t(px));
            }
        } else {
            g_DD.dwColorKey = px;
            if (g_DD.nBpp == 32 && lpDDCon) lpDDCon->rgbTransmit = {uint8_t(px), uint8_t(px >> 8), uint8_t(px >> 16)};
        }
    }
    DDReleaseSurfaceData(&tmp);
    return 1;
}

int DDSetTransmit(uint8_t r, uint8_t g, uint8_t b) {
    const PixelLayout& l = g_SurfLayout;
    if (lpDTCon) {
        lpDTCon->rgbTransmit = {b, g, r};
        DebugLogf("SetTrans lpDTCon->rgbTransmit.rgbtRed = %d,lpDTCon->rgbTransmit.rgbtGreen = %d,"
                  "lpDTCon->rgbTransmit.rgbtBlue = %d",
                  r, g, b);
        const uint32_t argb = 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
        if (g_DD.nBpp == 16) {
            lpDTCon->dwTransTexel = 0;
            lpDTCon->wTransTexel16 = 0;
            lpDTCon->dwTransARGB = argb;
            lpDTCon->wTransmit_16 = uint16_t((b & l.bm) << l.bs | (g & l.gm) << l.gs | (r & l.rm) << l.rs |
                                             (l.am & 1) << l.as);
        } else if (g_DD.nBpp == 32) {
            lpDTCon->dwTransARGB = argb;
            lpDTCon->wTransmit_16 = 0;
            g_DD.dwColorKey = lpDTCon->dwTransTexel;
        }
        return 1;
    }
    if (g_DD.nBpp == 16) {
        const uint32_t v = ScaleDown(b, l.bm) << l.bs | ScaleDown(g, l.gm) << l.gs | ScaleDown(r, l.rm) << l.rs;
        g_DD.dwColorKey = v;
        DebugLog(SJ("※16bit色で　DDSetTransmit(BYTE cbRed,BYTE cbGreen,BYTE cbBlue)　は未対応！"));
        DebugErrorBoxf("Tr %d RGB32(%d,%d,%d) -> RGB16(%d,%d,%d)", int(v), r, g, b,
                       int(ScaleUp((v >> l.rs) & l.rm, l.rm)), int(ScaleUp((v >> l.gs) & l.gm, l.gm)),
                       int(ScaleUp((v >> l.bs) & l.bm, l.bm)));
    } else if (g_DD.nBpp == 32) {
        g_DD.dwColorKey = uint32_t(r) << 16 | uint32_t(g) << 8 | b;
        if (lpDDCon) lpDDCon->rgbTransmit = {b, g, r};
    }
    return 1;
}
