#include "media/text/font.h"

#include "media/gfx/dd_layer.h"

#include <cstdarg>

#include "base/quit.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_surface.h"
#include "media/gfx/draw_pixels.h"
#include "media/text/cached_text.h"
#include "media/text/dd_frames.h"
#include "media/text/image_text.h"
#include "platform/cp932.h"

namespace {

FONTINFO MakeInfo(int height, int pitch, int cacheMode) {
    FONTINFO f;
    f.strFaceName = SJ("ＭＳ ゴシック");
    f.nWidth = 0;
    f.nHeight = height;
    f.nPitch = pitch;
    f.nLinePitch = pitch;
    f.nColor = 241;
    f.bShadow = 0;
    f.nUnused = 1;
    f.nFrameSlot = 46;
    f.nFrameThick = 1;
    f.nFrameColor = 240;
    f.nIconSlot = 51;
    f.nCacheMode = cacheMode;
    return f;
}

BMPSLOT DigitSlot() {
    BMPSLOT s;
    s.bColorKey = 1;
    return s;
}

DDSURFACEDATA* SlotSurface(int slot) { return slot >= 0 && slot < kSurfaceSlots ? &SurfaceTable[slot] : nullptr; }

bool HasPixels(const DDSURFACEDATA* sd) {
    if (!sd) return false;
    if (sd->lpDT) return sd->lpDT->lpSurface != nullptr;
    return sd->lpDD && sd->lpDD->lpSurface != nullptr;
}

// Fonts made while no Direct3D context exists (DirectDraw) count here.
int g_nDDFontCounter = 0;

}  // namespace

Font g_Fonts[3];
FONTINFO g_FontInfo[3] = {MakeInfo(10, 10, 2), MakeInfo(16, 16, 2), MakeInfo(30, 32, 0)};
std::vector<Font*> g_FontList;
DDSURFACEDATA g_DigitStrips[3];
BMPSLOT g_DigitSlots[3] = {DigitSlot(), DigitSlot(), DigitSlot()};

Font::~Font() = default;

bool Font::InitFont(const std::string& face, int width, int height, int pitch, int linePitch, int colorIndex,
                    int shadow, int /*unused*/, DDSURFACEDATA* framePicture, int frameThick, int frameColor,
                    DDSURFACEDATA* iconPicture, int cache) {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    m_strFaceName = face;
    m_nWidth = width;
    m_nHeight = height;
    m_nPitch = pitch;
    m_nLinePitch = linePitch;
    m_nColorIndex = colorIndex;
    m_lpFrame = framePicture;
    m_nFrameThick = frameThick;
    m_nFrameColor = frameColor;
    m_lpIcon = iconPicture;

    // The text colour from its palette entry, once the colour depth is known.
    if (g_DD.nBpp != 0 && colorIndex >= 0 && colorIndex <= 255) {
        const uint8_t* e = g_Palette[colorIndex];
        if (lpDTCon) {
            m_dwColor = 0xFF000000u | uint32_t(e[0]) << 16 | uint32_t(e[1]) << 8 | e[2];
            auto dark = [](uint8_t c) { return static_cast<uint32_t>(c * 0.4); };
            m_dwShadowColor = 0xFF000000u | dark(e[0]) << 16 | dark(e[1]) << 8 | dark(e[2]);
            m_bShadow = shadow;
        } else if (g_DD.nBpp == 16) {
            // GDI gets the 16-bit colour widened back to 0..255 per channel.
            const uint32_t px = DDPalToRGB16(e);
            const DDPIXELLAYOUT& l = g_SurfLayout;
            auto up = [&](int shift, int max) { return max ? ((px >> shift) & uint32_t(max)) * 255 / uint32_t(max) : 0; };
            m_dwColor = up(l.rs, l.rm) << 16 | up(l.gs, l.gm) << 8 | up(l.bs, l.bm);
        } else {
            m_dwColor = uint32_t(e[0]) << 16 | uint32_t(e[1]) << 8 | e[2];
        }
    }

    if (!HasPixels(&Work)) {
        const bool made = DDCreateSurface(&Work, g_DD.nWidth, g_DD.nHeight, 1, 0, 0, 0, 0);
        if (!made && !lpDTCon) {
            DDReleaseSurfaceData(&Work);
            DebugLog("DDCreateSurface Font::Work");
            SetQuitAndClose();
            return false;
        }
    }
    m_pFace = text::cFontFace::Open(face, height, width);
    if (!m_pFace) ReportLogf("Font : no face for \"%s\", text is not drawn", platform::Cp932ToUtf8(face).c_str());

    m_nFontNum = lpDTCon ? lpDTCon->nFontCounter++ : g_nDDFontCounter++;
    bool listed = false;
    for (Font* f : g_FontList) listed |= f == this;
    if (!listed) g_FontList.push_back(this);

    m_bCache = cache;
    m_lpFastFont_Half.reset();
    m_lpFastFont_Full.reset();
    if (cache != 0) {
        if (pitch == 0 || linePitch == 0) {
            DebugLog(SJ("※フォントクラスで文字間が未設定！"));
        } else {
            const auto grid = text::FullAtlasGrid(lpDTCon != nullptr, pitch, linePitch, g_DD.nWidth, g_DD.nHeight);
            m_lpFastFont_Half = std::make_unique<text::cGlyphAtlas>(text::kFastFontHalf, pitch, linePitch,
                                                                    text::kHalfAtlasGrid.columns,
                                                                    text::kHalfAtlasGrid.rows);
            m_lpFastFont_Full =
                std::make_unique<text::cGlyphAtlas>(text::kFastFontFull, pitch, linePitch, grid.columns, grid.rows);
            FillAtlases(false);
        }
    }
    return true;
}

text::TextStyle Font::Style() const {
    text::TextStyle s;
    s.face = m_pFace;
    s.faceName = m_strFaceName;
    s.charPitch = m_nPitch;
    s.linePitch = m_nLinePitch;
    s.colour = lpDTCon ? m_dwColor : m_dwColor | 0xFF000000u;
    s.shadowColour = m_dwShadowColor;
    s.shadow = m_bShadow != 0;
    s.edge = m_bEdge != 0;
    s.centre = m_bCentre != 0;
    s.icons = m_bIcon != 0;
    s.iconPicture = HasPixels(m_lpIcon);
    s.decorate = lpDTCon != nullptr;
    s.glyphStyle = lpDTCon ? text::GlyphStyle::kSmooth : text::GlyphStyle::kMono;
    return s;
}

void Font::FillAtlases(bool rebuild) {
    const text::TextStyle style = Style();
    if (m_lpFastFont_Half) text::FillHalfAtlas(*m_lpFastFont_Half, style);
    if (m_lpFastFont_Full) text::FillFullAtlas(*m_lpFastFont_Full, style, rebuild);
}

void Font::PaintText(gfx::cImage& image, text::TextFamily family, int x, int y, std::string_view s, int plain) {
    if (!gfx::g_bDrawPixels) return;  // no one watches (media/gfx/draw_pixels.h)
    text::cImageTextTarget target(image, family, static_cast<uint8_t>(m_nColorIndex));
    const text::TextStyle style = Style();
    if (m_bCache && m_lpFastFont_Half && m_lpFastFont_Full) {
        text::DrawTextBodyCached(target, style, x, y, s, plain != 0, *m_lpFastFont_Half, *m_lpFastFont_Full);
    } else {
        text::DrawTextBody(target, style, x, y, s, plain != 0);
    }
}

void Font::DrawTextIcons(DDSURFACEDATA* dst, int x, int y, std::string_view s) {
    text::WalkIcons(Style(), s, [&](int cx, int cy, int letter) {
        DDBlt(dst, x + cx, y + cy, m_nPitch, m_nLinePitch, m_lpIcon, letter * m_nPitch, 0, 1);
    });
}

int Font::DrawString(DDSURFACEDATA* dst, int x, int y, std::string_view s, int plainLetters) {
    if (!dst) return 0;
    if (DDLayerRecording()) {
        // An outer draw layer records: the text takes its place among the
        // layer's blits and is drawn when the layer ends.
        DDLayerRecordPaint([this, dst, x, y, text = std::string(s), plainLetters] {
            DrawString(dst, x, y, text, plainLetters);
        });
        return 1;
    }
    std::lock_guard<std::recursive_mutex> guard(m_Mutex);
    const text::TextStyle style = Style();
    if (lpDTCon) {
        DDSURFACEDATA* d = dst;
        DDResolveAlias(d);
        DDRedirectBackBuffer(&d);
        if (!d->lpDT || !d->lpDT->lpSurface) return 0;
        if (d->lpDT->nMemType == DTMEMORYTYPE_VIDEO_RT) {
            // Straight onto a render target, as the sprite draws.
            const bool direct = !(m_bCache && m_lpFastFont_Half);
            if (direct) {
                if (!DDBeginScene()) return 0;
                if (!DDSetRenderTarget(0, d)) return 0;
            }
            PaintText(d->lpDT->lpSurface->img, text::TextFamily::kDirect3D, x, y, s, plainLetters);
            DrawTextIcons(d, x, y, s);
            if (direct) DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
            return 1;
        }
        // A system-memory texture: composed in Work, then blitted with
        // transparency.
        if (!HasPixels(&Work)) return 0;
        const text::TextSize box = text::MeasureText(style, s);
        DDFillRect(&Work, 0, 0, box.w, box.h, 0);
        PaintText(Work.lpDT->lpSurface->img, text::TextFamily::kDirect3D, 0, 0, s, plainLetters);
        DrawTextIcons(&Work, 0, 0, s);
        DDBlt(d, x, y, box.w, box.h, &Work, 0, 0, 1);
        return 1;
    }
    const text::TextSize box = text::MeasureText(style, s);
    DDFillRect(&Work, 0, 0, box.w, box.h, 0);
    {
        DDLOCK lock(&Work);
        if (!lock.Locked()) return 0;
        PaintText(*lock.Image(), text::TextFamily::kDirectDraw, 0, 0, s, plainLetters);
    }
    DDBlt(dst, x, y, box.w, box.h, &Work, 0, 0, 1);
    DrawTextIcons(dst, x, y, s);
    return 1;
}

int Font::DrawStringF(DDSURFACEDATA* dst, int x, int y, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string s = VFormat(format, args);
    va_end(args);
    return DrawString(dst, x, y, s, 0);
}

void Font::DrawTextBox(DDSURFACEDATA* dst, int x, int y, int w, int h) {
    if (!m_lpFrame) return;
    x = text::ResolveCentred(x, m_lpFrame->nWidth, w);
    y = text::ResolveCentred(y, m_lpFrame->nHeight, h);
    DDBltFramed(dst, x, y, w, h, m_lpFrame, m_nFrameThick, m_nFrameColor);
}

void Font::DrawTextFrame(DDSURFACEDATA* dst, int x, int y, int w, int h) {
    if (m_lpFrame) {
        x = text::ResolveCentred(x, m_lpFrame->nWidth, w);
        y = text::ResolveCentred(y, m_lpFrame->nHeight, h);
    }
    DDFrameRectOutside(dst, x, y, w, h, m_nFrameThick, m_nFrameColor);
}

void Font::DrawMultiLineEx(DDSURFACEDATA* dst, int x, int y, int w, int h, std::string_view s, int margin,
                           uint32_t /*colour*/) {
    text::TextSize size{};
    if (w == 0 || h == 0) size = text::MeasureText(Style(), s);
    const int frameW = m_lpFrame ? m_lpFrame->nWidth : 0, frameH = m_lpFrame ? m_lpFrame->nHeight : 0;
    const auto box = text::LayoutMultiLineBox(x, y, w, h, margin, size, frameW, frameH, m_nFrameThick);
    if (m_lpFrame) DDBlt(dst, box.x, box.y, box.w, box.h, m_lpFrame, 0, 0, 1);
    DrawString(dst, box.textX, box.textY, s);
    DDFrameRect(dst, box.frameX, box.frameY, box.frameW, box.frameH, m_nFrameThick, m_nFrameColor);
}

void Font::DrawMultiLine(DDSURFACEDATA* dst, int x, int y, int w, int h, std::string_view s, int margin) {
    DrawMultiLineEx(dst, x, y, w, h, s, margin, m_dwColor);
}

void Font::DrawMultiLineF(DDSURFACEDATA* dst, int x, int y, int w, int h, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string s = VFormat(format, args);
    va_end(args);
    DrawMultiLineEx(dst, x, y, w, h, s, 0, m_dwColor);
}

void Font::RestoreFont() {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (!lpDTCon && Work.lpDD && Work.lpDD->lpSurface && gfx::FAILED_HR(gfx::DDSurfIsLost(Work.lpDD->lpSurface))) {
        gfx::DDSurfRestore(Work.lpDD->lpSurface);
    }
    FillAtlases(true);
}

void Font::Release() {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    m_lpFastFont_Half.reset();
    m_lpFastFont_Full.reset();
    m_pFace.reset();
    DDReleaseSurfaceData(&Work);
    Work = DDSURFACEDATA{};
}

void ReleaseFonts() {
    for (Font& f : g_Fonts) f.Release();
    for (DDSURFACEDATA& s : g_DigitStrips) {
        DDReleaseSurfaceData(&s);
        s = DDSURFACEDATA{};
    }
}

text::TextSize Font::GetTextSize(std::string_view s) const { return text::GetTextSize(Style(), s); }

int CreateFonts(Font* fonts, FONTINFO* infos, int n) {
    for (int i = 0; i < n; ++i) {
        const FONTINFO& f = infos[i];
        fonts[i].InitFont(f.strFaceName, f.nWidth, f.nHeight, f.nPitch, f.nLinePitch, f.nColor, f.bShadow, f.nUnused,
                          SlotSurface(f.nFrameSlot), f.nFrameThick, f.nFrameColor, SlotSurface(f.nIconSlot),
                          f.nCacheMode);
    }
    return 1;
}

void DrawDigitStrip(DDSURFACEDATA* strip, Font* font) {
    if (!strip || !font) return;
    DDFillRect(strip, 0, 0, strip->nWidth, strip->nHeight, 0);
    font->DrawString(strip, 0, 0, "0123456789");
}

int CreateNumberFonts(DDSURFACEDATA* strips, const BMPSLOT* slots, int n, Font* fonts, const FONTINFO* infos) {
    for (int i = 0; i < n; ++i) {
        DDCreateSurface(&strips[i], 10 * infos[i].nPitch, infos[i].nLinePitch, slots[i].bColorKey, slots[i].nMemory,
                        slots[i].nTexType, slots[i].bAlias, 0);
        DrawDigitStrip(&strips[i], &fonts[i]);
    }
    return 1;
}

bool SetUpFonts(const FontSettings& settings) {
    for (FONTINFO& f : g_FontInfo) {
        f.strFaceName = settings.faceName;
        if (f.nCacheMode == 2) f.nCacheMode = lpDTCon ? settings.d3dFontCache : settings.ddFontCache;
    }
    if (!CreateFonts(g_Fonts, g_FontInfo, 3)) return false;
    for (int i = 0; i < 3; ++i) {
        Font& f = g_Fonts[i];
        f.m_bIcon = i == 1 ? settings.iconLetters : 0;
        if (settings.decoration == 0) {
            f.m_bShadow = f.m_bEdge = 0;
        } else if (settings.decoration == 1) {
            f.m_bShadow = 1;
            f.m_bEdge = 0;
        } else if (settings.decoration == 2) {
            f.m_bShadow = 0;
            f.m_bEdge = 1;
        }
    }
    g_Fonts[1].m_bCentre = settings.centre;
    CreateNumberFonts(g_DigitStrips, g_DigitSlots, 3, g_Fonts, g_FontInfo);
    return true;
}
