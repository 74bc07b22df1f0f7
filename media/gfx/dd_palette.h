// Palette, transparent colour and pixel access.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/gfx/dd_state.h"

extern uint8_t g_Palette[256][4];
extern uint8_t g_PaletteCopy[256][4];

// Scoped pixel lock of a surface (after alias and back-buffer redirection).
class DDLOCK {
public:
    DDLOCK() = default;
    explicit DDLOCK(DDSURFACEDATA* sd) { Lock(sd); }
    ~DDLOCK();
    DDLOCK(const DDLOCK&) = delete;
    DDLOCK& operator=(const DDLOCK&) = delete;
    bool Lock(DDSURFACEDATA* sd);
    bool Locked() const { return m_lpSD != nullptr; }
    gfx::cImage* Image() const { return m_lpImg; }

    DDSURFACEDATA* m_lpSD = nullptr;
    uint8_t* m_lpBits = nullptr;
    int m_nPitch = 0;  // pixels
    int m_nBpp = 0, m_nBytesPP = 0;

private:
    friend void DDUnlock(DDLOCK& lock);
    gfx::cImage* m_lpImg = nullptr;
    gfx::D3DSurfacePtr m_d3d;
    gfx::DDSurfacePtr m_dd;
    bool m_bSystemCopy = false;
};
void DDUnlock(DDLOCK& lock);
bool DDLock(DDSURFACEDATA* sd, gfx::DDSurfacePtr* desc, uint8_t** bits, int bpp);

int DDBuildPaletteIndexMap(std::vector<uint8_t>** where, DDSURFACEDATA* sd);
bool DDLoadPaletteFromFile(uint8_t palette[256][4], const std::string& fileName);
// Hands entries first .. first + count - 1 of the palette to the palette
// object of the 8-bit DirectDraw mode; the other modes have none. A range
// outside 0..255 is cut to it.
void DDSetPaletteEntries(const uint8_t palette[256][4], int first, int count);
int DDSetTransmit(const std::string& fileName);
int DDSetTransmit(uint8_t cbRed, uint8_t cbGreen, uint8_t cbBlue);
uint32_t PalNumToRGB(uint32_t dwPalNum);
uint32_t DDPalToRGB16(const uint8_t entry[4]);
