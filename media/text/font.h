// The three game fonts: creation records, the Font object over a FreeType
// face with its work surface and glyph atlases, text drawing onto surfaces
// of both device families, text boxes and the digit strips.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "base/log.h"
#include "media/gfx/dd_state.h"
#include "media/text/glyph_atlas.h"
#include "media/text/image_text.h"
#include "media/text/text_layout.h"

// Creation record of a font.
struct FONTINFO {
    std::string strFaceName;  // Windows face name (CP932); replaced at start-up
    int nWidth = 0;           // average character width, 0 = the face's own aspect
    int nHeight = 0;          // character height in pixels
    int nPitch = 0;           // cell width; 0 = proportional layout
    int nLinePitch = 0;       // cell height and line distance
    int nColor = 0;           // palette index of the text colour
    int bShadow = 0;          // initial shadow flag (Direct3D)
    int nUnused = 0;
    int nFrameSlot = 0;       // surface slot of the text-box picture
    int nFrameThick = 0;
    int nFrameColor = 0;      // palette index of the box frame
    int nIconSlot = 0;        // surface slot of the icon strip
    int nCacheMode = 0;       // 0 off, 1 on, 2 = the "System.ini" setting
};

class Font {
public:
    Font() = default;
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Sets the font up; false when its work surface cannot be made.
    bool InitFont(const std::string& face, int width, int height, int pitch, int linePitch, int colorIndex,
                  int shadow, int unused, DDSURFACEDATA* framePicture, int frameThick, int frameColor,
                  DDSURFACEDATA* iconPicture, int cache);

    // Text with its top-left at (x, y); plainLetters draws a..z as letters
    // even when the font shows icons. Returns 0 when nothing could be drawn.
    int DrawString(DDSURFACEDATA* dst, int x, int y, std::string_view text, int plainLetters = 0);
    int DrawStringF(DDSURFACEDATA* dst, int x, int y, const char* format, ...) TOVARO_PRINTF(5, 6);
    // The frame picture with a frame around it, and the frame alone; 10000
    // for x or y centres on the frame picture.
    void DrawTextBox(DDSURFACEDATA* dst, int x, int y, int w, int h);
    void DrawTextFrame(DDSURFACEDATA* dst, int x, int y, int w, int h);
    // A text box sized to the text where w or h is 0 (the colour is not
    // used).
    void DrawMultiLineEx(DDSURFACEDATA* dst, int x, int y, int w, int h, std::string_view text, int margin,
                         uint32_t colour);
    void DrawMultiLine(DDSURFACEDATA* dst, int x, int y, int w, int h, std::string_view text, int margin);
    void DrawMultiLineF(DDSURFACEDATA* dst, int x, int y, int w, int h, const char* format, ...)
        TOVARO_PRINTF(7, 8);
    // Rebuilds the atlases (and restores the work surface) after a loss.
    void RestoreFont();
    // What the destructor of the font does, while the device still exists:
    // the face, both atlases and Work are released.
    void Release();
    // Widest line by the face's advances and lines × line pitch.
    text::TextSize GetTextSize(std::string_view text) const;

    // The layout parameters of the font as they are now.
    text::TextStyle Style() const;

    int m_nFontNum = -1;
    std::shared_ptr<text::cFontFace> m_pFace;  // stands for the GDI or Direct3D font
    std::string m_strFaceName;
    int m_nWidth = 0, m_nHeight = 0, m_nPitch = 0, m_nLinePitch = 0, m_nColorIndex = 0;
    uint32_t m_dwColor = 0;        // Direct3D 0xFFRRGGBB; DirectDraw a 0x00RRGGBB colour
    int m_bShadow = 0;
    int m_bEdge = 0;
    uint32_t m_dwShadowColor = 0;  // Direct3D
    int m_bCentre = 0;
    DDSURFACEDATA Work;
    DDSURFACEDATA* m_lpFrame = nullptr;
    int m_nFrameThick = 0, m_nFrameColor = 0;
    DDSURFACEDATA* m_lpIcon = nullptr;
    int m_bIcon = 0;
    int m_bCache = 0;
    std::unique_ptr<text::cGlyphAtlas> m_lpFastFont_Half, m_lpFastFont_Full;

private:
    // Text is drawn by the game thread and, at start-up and during device
    // recovery, by the main thread: the atlases and Work are used by one
    // draw at a time.
    std::recursive_mutex m_Mutex;

    void FillAtlases(bool rebuild);
    // Text body (and icons) painted into a surface image at (x, y).
    void PaintText(gfx::cImage& image, text::TextFamily family, int x, int y, std::string_view s, int plain);
    void DrawTextIcons(DDSURFACEDATA* dst, int x, int y, std::string_view s);
};

extern Font g_Fonts[3];
extern FONTINFO g_FontInfo[3];
extern std::vector<Font*> g_FontList;
extern DDSURFACEDATA g_DigitStrips[3];
extern BMPSLOT g_DigitSlots[3];

// InitFont of font i from info i (slot numbers turned into surface-table
// entries) for i < n; returns 1.
int CreateFonts(Font* fonts, FONTINFO* infos, int n);
// Digit strip i: 10 cells of font i's pitch × line pitch, drawn with font i.
int CreateNumberFonts(DDSURFACEDATA* strips, const BMPSLOT* slots, int n, Font* fonts, const FONTINFO* infos);
void DrawDigitStrip(DDSURFACEDATA* strip, Font* font);
// Application end, before the device goes: the three fonts and their digit
// strips are released.
void ReleaseFonts();

// The start-up of the fonts: face name and cache settings into the three
// records, CreateFonts, the system data's icon, decoration and centre
// settings, then the digit strips. False when CreateFonts fails.
struct FontSettings {
    std::string faceName;  // entry of the face list chosen by the system data
    int d3dFontCache = 1;  // "System.ini" D3D_FontCache
    int ddFontCache = 1;   // "System.ini" DD_FontCache
    int iconLetters = 0;   // font 1 shows a..z as icons
    int decoration = 0;    // 0 none, 1 shadow, 2 edge, other: left as they are
    int centre = 0;        // font 1 centres glyphs in their cells
};
bool SetUpFonts(const FontSettings& settings);

// CP932 helpers of the font layer.
inline size_t LineLength(std::string_view s) { return text::LineLength(s); }
inline int IsDoubleByteChar(std::string_view s) { return text::IsDoubleByteChar(s) ? 1 : 0; }
inline int SjisCharCount(std::string_view s) { return text::SjisCharCount(s); }
