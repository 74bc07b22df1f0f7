// The pictures of the demo game, drawn from simple shapes: every file the
// bitmap table needs, plus the loading picture.
#include "tools/mkdemo/bitmaps.h"

namespace demo {

namespace {

// A round figure with eyes and feet; `frame` moves the feet.
void DrawHero(cCanvas& c, int x, int y, int frame, uint8_t body) {
    c.Disc(x + 16, y + 14, 11, body);
    c.Rect(x + 11, y + 10, 3, 5, WHITE);
    c.Rect(x + 18, y + 10, 3, 5, WHITE);
    c.Rect(x + 11, y + 12, 2, 3, BLACK);
    c.Rect(x + 18, y + 12, 2, 3, BLACK);
    const int step = (frame % 4 == 1) ? 3 : (frame % 4 == 3) ? -3 : 0;
    c.Rect(x + 8 + step, y + 25, 6, 5, BROWN);
    c.Rect(x + 18 - step, y + 25, 6, 5, BROWN);
}

cCanvas Blocks() {
    cCanvas c(320, 320);
    for (int t = 1; t < 100; ++t) {
        const int x = (t % 10) * 32, y = (t / 10) * 32;
        switch (t % 5) {
        case 1:  // brick
            c.Rect(x, y, 32, 32, DARK_RED);
            for (int row = 0; row < 4; ++row) {
                c.Rect(x, y + row * 8, 32, 1, GREY);
                const int off = (row % 2) * 8;
                for (int k = off; k < 32; k += 16) c.Rect(x + k, y + row * 8, 1, 8, GREY);
            }
            break;
        case 2:  // grass on earth
            c.Rect(x, y, 32, 32, BROWN);
            c.Rect(x, y, 32, 8, GREEN);
            c.Rect(x, y + 8, 32, 2, DARK_GREEN);
            break;
        case 3:  // stone
            c.Rect(x, y, 32, 32, GREY);
            c.Frame(x, y, 32, 32, DARK_GREY);
            c.Rect(x + 6, y + 6, 6, 4, WHITE);
            break;
        case 4:  // question block
            c.Rect(x, y, 32, 32, ORANGE);
            c.Frame(x, y, 32, 32, BROWN);
            c.Diamond(x + 16, y + 16, 6, YELLOW);
            break;
        default:  // water
            c.Rect(x, y, 32, 32, BLUE);
            c.Rect(x, y + 4, 32, 2, SKY);
            break;
        }
    }
    return c;
}

cCanvas CharacterSheet(uint8_t body) {
    cCanvas c(256, 256);
    for (int cell = 0; cell < 64; ++cell) DrawHero(c, (cell % 8) * 32, (cell / 8) * 32, cell, body);
    return c;
}

cCanvas Shots() {
    cCanvas c(256, 64);
    const uint8_t colours[] = {YELLOW, RED, BLUE, GREEN, WHITE, ORANGE, PURPLE, SKY};
    for (int cell = 0; cell < 64; ++cell) {
        const int x = (cell % 16) * 16, y = (cell / 16) * 16;
        c.Disc(x + 8, y + 8, 3 + cell % 4, colours[cell % 8]);
        c.Pixel(x + 7, y + 6, WHITE);
    }
    return c;
}

cCanvas Items(int cell) {
    cCanvas c(cell * 8, cell * 2);
    const int r = cell / 2 - 3;
    for (int k = 0; k < 16; ++k) {
        const int x = (k % 8) * cell + cell / 2, y = (k / 8) * cell + cell / 2;
        switch (k % 4) {
        case 0: c.Disc(x, y, r, YELLOW); c.Rect(x - 1, y - r / 2, 2, r, ORANGE); break;  // coin
        case 1: c.Disc(x - r / 2, y - r / 3, r / 2 + 1, RED); c.Disc(x + r / 2, y - r / 3, r / 2 + 1, RED);
                c.Diamond(x, y + 1, r - 1, RED); break;                                     // heart
        case 2: c.Diamond(x, y, r, SKY); c.Diamond(x, y, r / 2, WHITE); break;               // gem
        default: c.Rect(x - r, y - r / 2, 2 * r, r, GREEN); c.Frame(x - r, y - r / 2, 2 * r, r, DARK_GREEN); break;
        }
    }
    return c;
}

cCanvas Marks() {
    cCanvas c(256, 32);
    for (int k = 0; k < 8; ++k) {
        const int x = k * 32;
        if (k % 2 == 0) c.Diamond(x + 16, 16, 12, k < 4 ? YELLOW : RED);
        else c.Disc(x + 16, 16, 10, k < 4 ? GREEN : BLUE);
    }
    return c;
}

// Large enough for the title's panel and the slot list, which show its
// top-left part.
cCanvas WindowFrame() {
    cCanvas c(320, 240, DARK_BLUE);
    c.Frame(0, 0, 320, 240, WHITE);
    c.Frame(2, 2, 316, 236, GREY);
    return c;
}

// The title's item pictures: one 32-pixel strip per title action (new
// game, continue, challenge, free play, replay, options, end). The demo
// shows the menu's labels instead; a game that switches to pictures finds
// them here.
cCanvas GameModeStrips() {
    const uint8_t colours[7] = {RED, BLUE, ORANGE, GREEN, PURPLE, SKY, GREY};
    cCanvas c(160, 224);
    for (int k = 0; k < 7; ++k) {
        c.Rect(0, k * 32 + 2, 160, 28, colours[k]);
        c.Frame(0, k * 32 + 2, 160, 28, WHITE);
        for (int d = 0; d <= k; ++d) c.Disc(16 + d * 20, k * 32 + 16, 6, WHITE);
    }
    return c;
}

// A triangle pointing right in the size x size cell at (x, y).
void Pointer(cCanvas& c, int x, int y, int size, uint8_t fill, uint8_t edge) {
    const int half = size / 2;
    for (int col = 0; col < size - 2; ++col) {
        const int reach = half - 1 - col * (half - 1) / (size - 3);
        c.Rect(x + 1 + col, y + half - reach, 1, 2 * reach, fill);
        c.Pixel(x + 1 + col, y + half - reach, edge);
        c.Pixel(x + 1 + col, y + half + reach - 1, edge);
    }
}

// The menus' small pictures: 32 x 32 cursor (0, 0) and cleared sign
// (96, 0); 16 x 16 cursor (64, 0), chosen-slot sign (80, 0), scroll thumb
// (64, 16) and track (80, 16); life icon (0, 48) and new-record sign
// (16, 48); the hero's walking cells, 32 x 32, in the rows at y 64 and 96.
cCanvas Accessory() {
    cCanvas c(256, 128);
    Pointer(c, 0, 0, 32, YELLOW, ORANGE);
    c.Diamond(112, 16, 12, YELLOW);
    c.Diamond(112, 16, 6, WHITE);
    Pointer(c, 64, 0, 16, YELLOW, ORANGE);
    c.Disc(88, 8, 5, GREEN);
    c.Rect(67, 17, 10, 14, WHITE);
    c.Frame(67, 17, 10, 14, GREY);
    c.Rect(87, 16, 2, 16, DARK_GREY);
    c.Disc(8, 56, 6, RED);
    c.Rect(5, 54, 2, 2, WHITE);
    c.Rect(10, 54, 2, 2, WHITE);
    c.Diamond(24, 56, 7, RED);
    c.Diamond(24, 56, 3, YELLOW);
    for (int k = 0; k < 8; ++k) {
        DrawHero(c, k * 32, 64, k, RED);
        DrawHero(c, k * 32, 96, k + 1, RED);
    }
    return c;
}

cCanvas StatusBar() {
    cCanvas c(640, 48, DARK_BLUE);
    c.Frame(0, 0, 640, 48, WHITE);
    c.Rect(1, 46, 638, 1, GREY);
    return c;
}

cCanvas TitlePicture() {
    cCanvas c(640, 480, BLACK);
    c.VerticalRamp(0, 360, COLOUR_COUNT, 200);
    c.Rect(0, 360, 640, 120, GREEN);
    c.Rect(0, 360, 640, 6, DARK_GREEN);
    for (int k = 0; k < 5; ++k) c.Disc(80 + k * 130, 360, 40 + (k % 2) * 20, DARK_GREEN);  // hills
    c.Disc(540, 80, 36, YELLOW);                                                           // sun
    // A plain panel where the game's title text is drawn.
    c.Rect(120, 120, 400, 90, DARK_BLUE);
    c.Frame(120, 120, 400, 90, WHITE);
    DrawHero(c, 304, 320, 0, RED);
    return c;
}

cCanvas Strip(uint8_t a, uint8_t b) {
    cCanvas c(256, 64);
    for (int k = 0; k < 16; ++k) c.Rect((k % 8) * 32 + 4, (k / 8) * 32 + 4, 24, 24, k % 2 ? a : b);
    return c;
}

cCanvas DebugDigits() {
    // Ten 8 x 16 cells with a bar per digit, enough to read numbers in tests.
    cCanvas c(160, 16);
    for (int d = 0; d < 10; ++d) {
        c.Frame(d * 16, 0, 16, 16, WHITE);
        c.Rect(d * 16 + 3, 14 - d, 10, d + 1, YELLOW);
    }
    return c;
}

// Five chips to a row: grass, water, road.
cCanvas WorldChips() {
    cCanvas c(160, 32);
    c.Rect(0, 0, 32, 32, GREEN);
    c.Disc(16, 14, 8, DARK_GREEN);
    c.Rect(32, 0, 32, 32, BLUE);
    c.Rect(32, 4, 32, 2, SKY);
    c.Rect(64, 0, 32, 32, BROWN);
    c.Rect(64, 12, 32, 8, YELLOW);
    return c;
}

// A row per entry picture: a flag, column 0 before the entry's clear and
// column 1 after it.
cCanvas WorldEvents(int rows) {
    static constexpr uint8_t kFlag[] = {RED, PURPLE, ORANGE};
    cCanvas c(64, 32 * rows);
    for (int r = 0; r < rows; ++r)
        for (int cleared = 0; cleared < 2; ++cleared) {
            const int x = 32 * cleared, y = 32 * r;
            c.Rect(x + 8, y + 4, 2, 24, DARK_GREY);
            c.Rect(x + 10, y + 4, 16, 11, cleared ? YELLOW : kFlag[r % 3]);
            if (cleared) c.Diamond(x + 18, y + 9, 3, WHITE);
            c.Rect(x + 4, y + 27, 10, 3, DARK_GREY);
        }
    return c;
}

cCanvas PaletteImage() {
    cCanvas c(16, 16);
    for (int i = 0; i < 256; ++i) c.Pixel(i % 16, i / 16, static_cast<uint8_t>(i));
    return c;
}

cCanvas LoadingPicture() {
    cCanvas c(160, 32, BLACK);
    for (int k = 0; k < 5; ++k) c.Disc(24 + k * 28, 16, 8, static_cast<uint8_t>(k % 2 ? WHITE : GREY));
    return c;
}

}  // namespace

std::vector<DemoBitmap> DemoBitmaps() {
    std::vector<DemoBitmap> out;
    out.push_back({"bmp\\plt\\Palette.bmp", PaletteImage()});
    out.push_back({"bmp\\Debug.bmp", DebugDigits()});
    out.push_back({"bmp\\Block.bmp", Blocks()});
    out.push_back({"bmp\\Character1.bmp", CharacterSheet(RED)});
    out.push_back({"bmp\\Character2.bmp", CharacterSheet(BLUE)});
    out.push_back({"bmp\\Shot.bmp", Shots()});
    out.push_back({"bmp\\Item.bmp", Items(32)});
    out.push_back({"bmp\\Item_Mini.bmp", Items(16)});
    out.push_back({"bmp\\Mark.bmp", Marks()});
    out.push_back({"bmp\\Loading.bmp", LoadingPicture()});
    out.push_back({"bmp\\Window.bmp", WindowFrame()});
    out.push_back({"bmp\\StatusWindow.bmp", StatusBar()});
    out.push_back({"bmp\\Title.bmp", TitlePicture()});
    out.push_back({"bmp\\GameMode.bmp", GameModeStrips()});
    out.push_back({"bmp\\Accessory.bmp", Accessory()});
    out.push_back({"bmp\\Symbol.bmp", Strip(WHITE, YELLOW)});
    out.push_back({"bmp\\Word.bmp", Strip(RED, WHITE)});
    out.push_back({"bmp\\WorldMapChip.bmp", WorldChips()});
    out.push_back({"bmp\\WorldEvent.bmp", WorldEvents(3)});
    return out;
}

}  // namespace demo
