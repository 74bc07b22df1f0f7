// The pictures of the demo game, drawn from simple shapes: every file the
// bitmap table needs, plus the loading picture.
#include "tools/mkdemo/bitmaps.h"

namespace demo {

namespace {

// Which way a figure looks: at the viewer, left, right, or away.
enum Look { LOOK_FRONT, LOOK_LEFT, LOOK_RIGHT, LOOK_BACK };

// The hero: a round red figure with a white cap, eyes and brown boots;
// `frame` moves the feet.
void DrawHero(cCanvas& c, int x, int y, int frame, uint8_t body, Look look = LOOK_FRONT) {
    c.Disc(x + 16, y + 15, 11, body);
    c.Rect(x + 7, y + 4, 18, 4, WHITE);   // cap
    c.Rect(x + 11, y + 2, 10, 3, WHITE);
    if (look != LOOK_BACK) {
        const int shift = look == LOOK_LEFT ? -3 : look == LOOK_RIGHT ? 3 : 0;
        c.Rect(x + 11 + shift, y + 11, 3, 5, WHITE);
        c.Rect(x + 18 + shift, y + 11, 3, 5, WHITE);
        c.Rect(x + 12 + shift, y + 13, 2, 3, BLACK);
        c.Rect(x + 19 + shift, y + 13, 2, 3, BLACK);
        if (look == LOOK_FRONT) c.Rect(x + 14, y + 19, 4, 1, DARK_RED);  // mouth
    }
    const int step = (frame % 4 == 1) ? 3 : (frame % 4 == 3) ? -3 : 0;
    c.Rect(x + 8 + step, y + 25, 6, 5, BROWN);
    c.Rect(x + 18 - step, y + 25, 6, 5, BROWN);
}

// The walker: a low green blob with horns, angry eyes and teeth.
void DrawWalker(cCanvas& c, int x, int y, int frame, uint8_t body, uint8_t dark) {
    const int squash = frame % 2;
    c.Rect(x + 4, y + 14 + squash, 24, 16 - squash, body);
    c.Disc(x + 16, y + 16 + squash, 12, body);
    c.Rect(x + 4, y + 28, 24, 2, dark);
    c.Diamond(x + 8, y + 5 + squash, 3, dark);  // horns
    c.Diamond(x + 24, y + 5 + squash, 3, dark);
    c.Rect(x + 9, y + 13 + squash, 5, 4, WHITE);
    c.Rect(x + 18, y + 13 + squash, 5, 4, WHITE);
    c.Rect(x + 9, y + 15 + squash, 3, 2, BLACK);
    c.Rect(x + 18, y + 15 + squash, 3, 2, BLACK);
    c.Rect(x + 8, y + 12 + squash, 6, 1, BLACK);  // brows
    c.Rect(x + 18, y + 12 + squash, 6, 1, BLACK);
    for (int k = 0; k < 4; ++k) c.Rect(x + 10 + 3 * k, y + 22 + squash, 2, 3, WHITE);
}

// The flyer: a purple bat with its wings up or down.
void DrawFlyer(cCanvas& c, int x, int y, int frame, uint8_t body) {
    const bool up = frame % 2 == 0;
    c.Disc(x + 16, y + 16, 7, body);
    for (int k = 0; k < 9; ++k) {
        const int h = up ? 9 - k : k / 2 + 2;
        c.Rect(x + 7 - k, y + (up ? 14 - h : 14), 1, h, body);
        c.Rect(x + 25 + k, y + (up ? 14 - h : 14), 1, h, body);
    }
    c.Rect(x + 12, y + 14, 3, 3, YELLOW);
    c.Rect(x + 18, y + 14, 3, 3, YELLOW);
    c.Rect(x + 14, y + 20, 1, 2, WHITE);
    c.Rect(x + 18, y + 20, 1, 2, WHITE);
}

// The knight: a grey armoured figure with a visor and a spear.
void DrawKnight(cCanvas& c, int x, int y, int frame, uint8_t body, uint8_t trim) {
    c.Rect(x + 9, y + 3, 14, 12, body);  // helmet
    c.Rect(x + 11, y + 8, 10, 3, BLACK);
    c.Rect(x + 14, y + 1, 4, 3, trim);   // plume
    c.Rect(x + 8, y + 15, 16, 10, body);
    c.Rect(x + 8, y + 18, 16, 2, trim);
    c.Rect(x + 27, y + 2, 2, 28, BROWN);  // spear
    c.Diamond(x + 28, y + 3, 3, WHITE);
    const int step = frame % 2 ? 2 : 0;
    c.Rect(x + 9 + step, y + 25, 5, 6, DARK_GREY);
    c.Rect(x + 18 - step, y + 25, 5, 6, DARK_GREY);
}

// Blocks 1 to 149, 15 to a column: brick, grass on earth, stone, chance
// block and water by number. Block 0 is empty.
cCanvas Blocks() {
    cCanvas c(320, 480);
    for (int t = 1; t < 150; ++t) {
        const int x = (t / 15) * 32, y = (t % 15) * 32;
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
            c.Rect(x + 6, y + 16, 3, 2, DARK_RED);
            c.Rect(x + 20, y + 24, 4, 2, DARK_RED);
            break;
        case 3:  // stone
            c.Rect(x, y, 32, 32, GREY);
            c.Frame(x, y, 32, 32, DARK_GREY);
            c.Rect(x + 6, y + 6, 6, 4, WHITE);
            break;
        case 4:  // chance block
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

// A chara sheet: one figure a row (the graphic number mod 15), 20 frames a
// row. Row 0 is the empty chara; then the hero, the walker, the flyer, the
// knight and the four again in other colours.
cCanvas CharacterSheet(bool second) {
    cCanvas c(640, 480);
    for (int row = 1; row < 15; ++row)
        for (int f = 0; f < 20; ++f) {
            const int x = f * 32, y = row * 32;
            const int kind = (row - 1) % 4, variant = (row - 1) / 4 + (second ? 1 : 0);
            switch (kind) {
            case 0: DrawHero(c, x, y, f, variant % 2 ? BLUE : RED); break;
            case 1: DrawWalker(c, x, y, f, variant % 2 ? ORANGE : GREEN, variant % 2 ? BROWN : DARK_GREEN); break;
            case 2: DrawFlyer(c, x, y, f, variant % 2 ? DARK_RED : PURPLE); break;
            default: DrawKnight(c, x, y, f, variant % 2 ? YELLOW : GREY, variant % 2 ? ORANGE : BLUE); break;
            }
        }
    return c;
}

// 16 x 16 shot cells, two frames a shot: shot n at row n mod 30, its frames
// at x 32 (n / 30) and 16 more.
cCanvas Shots() {
    cCanvas c(128, 480);
    const uint8_t colours[] = {YELLOW, RED, BLUE, GREEN, WHITE, ORANGE, PURPLE, SKY};
    for (int n = 0; n < 120; ++n)
        for (int f = 0; f < 2; ++f) {
            const int x = (n / 30) * 32 + 16 * f, y = (n % 30) * 16;
            c.Disc(x + 8, y + 8, 3 + n % 4 - f, colours[n % 8]);
            c.Pixel(x + 7, y + 6, WHITE);
        }
    return c;
}

// One item picture (coin, heart, gem or chest by k mod 4) centred at
// (x, y) with radius r; frame 1 is the second picture of its animation.
void DrawItem(cCanvas& c, int x, int y, int r, int k, int frame) {
    switch (k % 4) {
    case 0:  // a coin that turns
        if (frame == 0) {
            c.Disc(x, y, r, YELLOW);
            c.Rect(x - 1, y - r / 2, 2, r, ORANGE);
        } else {
            c.Rect(x - r / 3, y - r, 2 * (r / 3) + 1, 2 * r + 1, YELLOW);
            c.Rect(x, y - r / 2, 1, r, ORANGE);
        }
        break;
    case 1: {  // a heart that beats
        const int h = frame == 0 ? r : r - 1;
        c.Disc(x - h / 2, y - h / 3, h / 2 + 1, RED);
        c.Disc(x + h / 2, y - h / 3, h / 2 + 1, RED);
        c.Diamond(x, y + 1, h - 1, RED);
        break;
    }
    case 2:  // a gem that sparkles
        c.Diamond(x, y, r, SKY);
        c.Diamond(x, y, r / 2, frame == 0 ? WHITE : BLUE);
        break;
    default:  // a chest
        c.Rect(x - r, y - r / 2, 2 * r, r + 1, BROWN);
        c.Frame(x - r, y - r / 2, 2 * r, r + 1, DARK_RED);
        c.Rect(x - 1, y - 1, 2, 3, frame == 0 ? YELLOW : WHITE);
        break;
    }
}

// Items, 15 to a column pair: item n at row n mod 15, its two frames in
// columns 2 (n / 15) and one more; coin, heart, gem and chest from item 1.
cCanvas Items() {
    cCanvas c(256, 480);
    for (int n = 0; n < 60; ++n)
        for (int f = 0; f < 2; ++f) DrawItem(c, (2 * (n / 15) + f) * 32 + 16, (n % 15) * 32 + 16, 13, n + 3, f);
    return c;
}

// The small item icons: icon n at (32 (n / 15), 16 (n mod 15)).
cCanvas ItemIcons() {
    cCanvas c(128, 240);
    for (int n = 0; n < 60; ++n) DrawItem(c, (n / 15) * 32 + 8, (n % 15) * 16 + 8, 6, n + 3, 0);
    return c;
}

// The overlay icons (32 x 32, 15 to a column) and the gauges over charas:
// 2-dot strips 50 wide at x 0 (HP) and 64 (SP) from row 208: frame, fill,
// fill at the warning level, loss, gain. Their cells hold no icon.
cCanvas Marks() {
    cCanvas c(256, 480);
    const uint8_t colours[] = {YELLOW, RED, GREEN, BLUE, ORANGE, PURPLE, SKY, WHITE};
    for (int n = 0; n < 120; ++n) {
        const int x = (n / 15) * 32, y = (n % 15) * 32;
        if (n % 15 == 6 && x < 128) continue;
        if (n % 2 == 0) c.Diamond(x + 16, y + 16, 12, colours[n % 8]);
        else c.Disc(x + 16, y + 16, 10, colours[n % 8]);
        c.Diamond(x + 16, y + 16, 4, WHITE);
    }
    for (int u : {0, 64}) {
        c.Rect(u, 208, 50, 2, BLACK);
        c.Rect(u, 210, 50, 2, u == 0 ? GREEN : SKY);
        c.Rect(u, 212, 50, 2, RED);
        c.Rect(u, 214, 50, 2, ORANGE);
        c.Rect(u, 216, 50, 2, WHITE);
    }
    return c;
}

// The background of every text box, menu panel and list page (they draw
// its top-left part at their size): a plain dark blue, a full screen large.
cCanvas WindowFrame() { return cCanvas(640, 480, DARK_BLUE); }

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

// The menus' and the status bar's small pictures: 32 x 32 cursor (0, 0)
// and cleared sign (96, 0); 16 x 16 cursor (64, 0), chosen-slot sign
// (80, 0), scroll thumb (64, 16) and track (80, 16); the status icons of
// score, stage score, HP, SP and lives, 16 x 16 from (0, 32); life icon
// (0, 48) and new-record sign (16, 48); the hero's walking cells, 32 x 32,
// in the rows at y 64 (facing down, up) and 96 (right, left); the 50 x 16
// gauge frames of HP (0, 128) and SP (64, 128) and their fills, plain from
// row 144 and at the warning level from row 160.
cCanvas Accessory() {
    cCanvas c(256, 176);
    Pointer(c, 0, 0, 32, YELLOW, ORANGE);
    c.Diamond(112, 16, 12, YELLOW);
    c.Diamond(112, 16, 6, WHITE);
    Pointer(c, 64, 0, 16, YELLOW, ORANGE);
    c.Disc(88, 8, 5, GREEN);
    c.Rect(67, 17, 10, 14, WHITE);
    c.Frame(67, 17, 10, 14, GREY);
    c.Rect(87, 16, 2, 16, DARK_GREY);
    DrawItem(c, 8, 40, 6, 0, 0);   // score: a coin
    c.Diamond(24, 40, 6, YELLOW);  // stage score: a star
    c.Diamond(24, 40, 2, WHITE);
    DrawItem(c, 40, 40, 6, 1, 0);  // HP: a heart
    c.Disc(56, 41, 5, BLUE);       // SP: a drop
    c.Diamond(56, 37, 3, BLUE);
    c.Disc(72, 40, 6, RED);        // lives: the hero's head
    c.Rect(68, 35, 9, 2, WHITE);
    c.Disc(8, 56, 6, RED);
    c.Rect(5, 54, 2, 2, WHITE);
    c.Rect(10, 54, 2, 2, WHITE);
    c.Diamond(24, 56, 7, RED);
    c.Diamond(24, 56, 3, YELLOW);
    const Look looks[4] = {LOOK_FRONT, LOOK_BACK, LOOK_RIGHT, LOOK_LEFT};
    for (int k = 0; k < 8; ++k) {
        DrawHero(c, k * 32, 64, k % 2 ? 1 : 3, RED, looks[k / 2 % 2]);
        DrawHero(c, k * 32, 96, k % 2 ? 1 : 3, RED, looks[2 + k / 2 % 2]);
    }
    for (int u : {0, 64}) {
        c.Rect(u, 128, 50, 16, BLACK);
        c.Frame(u, 128, 50, 16, WHITE);
        c.Rect(u + 1, 145, 48, 14, u == 0 ? GREEN : SKY);
        c.Rect(u + 1, 145, 48, 3, WHITE);
        c.Rect(u + 1, 161, 48, 14, RED);
        c.Rect(u + 1, 161, 48, 3, ORANGE);
    }
    return c;
}

cCanvas StatusBar() {
    cCanvas c(640, 48, DARK_BLUE);
    c.Frame(0, 0, 640, 20, WHITE);
    c.Rect(1, 18, 638, 1, GREY);
    return c;
}

// The title picture: sky, hills, the sun, and the game's name on its panel.
cCanvas TitlePicture(const char* name) {
    cCanvas c(640, 480, BLACK);
    c.VerticalRamp(0, 360, COLOUR_COUNT, 200);
    c.Rect(0, 360, 640, 120, GREEN);
    c.Rect(0, 360, 640, 6, DARK_GREEN);
    for (int k = 0; k < 5; ++k) c.Disc(80 + k * 130, 360, 40 + (k % 2) * 20, DARK_GREEN);  // hills
    c.Disc(540, 80, 36, YELLOW);                                                           // sun
    c.Rect(120, 120, 400, 90, DARK_BLUE);
    c.Frame(120, 120, 400, 90, WHITE);
    c.Frame(123, 123, 394, 84, SKY);
    const int scale = 5;
    c.Text(320 - cCanvas::TextWidth(name, scale) / 2, 165 - 7 * scale / 2, name, scale, YELLOW, ORANGE);
    DrawHero(c, 304, 320, 0, RED);
    return c;
}

// The icon letters a to z of the normal font: 16 x 16 cells in a row.
cCanvas Symbols() {
    cCanvas c(416, 16);
    const uint8_t colours[] = {YELLOW, RED, BLUE, GREEN, WHITE, ORANGE, PURPLE, SKY};
    for (int k = 0; k < 26; ++k) {
        if (k % 2 == 0) c.Diamond(k * 16 + 8, 8, 6, colours[k % 8]);
        else c.Disc(k * 16 + 8, 8, 5, colours[k % 8]);
        c.Pixel(k * 16 + 7, 6, k % 8 == 4 ? BLACK : WHITE);
    }
    return c;
}

// A word centred in the w x 32 banner cell at (x, y): squares sx wide and 4
// high with a dark shadow.
void Banner(cCanvas& c, int x, int y, int w, const char* word, int sx, uint8_t colour) {
    c.Text(x + (w - cCanvas::TextWidth(word, sx)) / 2, y + 1, word, sx, 4, colour, DARK_BLUE);
}

// The play's banners and large digits: the stage banner (0, 0) 128 x 32,
// the start banner (160, 0) 80 x 32, the replay banner (0, 32) and the
// clear banner (0, 64), 128 x 32 each, the game-over banner (0, 96)
// 144 x 32; the digits 0 to 9 in 32 x 32 cells from row 128 (stage number)
// and row 160 (time left).
cCanvas Words() {
    cCanvas c(320, 192);
    Banner(c, 0, 0, 128, "STAGE", 4, YELLOW);
    Banner(c, 160, 0, 80, "GO!", 4, WHITE);
    Banner(c, 0, 32, 128, "REPLAY", 3, SKY);
    Banner(c, 0, 64, 128, "CLEAR!", 3, YELLOW);
    Banner(c, 0, 96, 144, "GAME OVER", 2, RED);
    for (int d = 0; d < 10; ++d) {
        const char digit[2] = {static_cast<char>('0' + d), 0};
        Banner(c, d * 32, 128, 32, digit, 4, YELLOW);
        Banner(c, d * 32, 160, 32, digit, 4, WHITE);
    }
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

std::vector<DemoBitmap> DemoBitmaps(const char* gameName) {
    std::vector<DemoBitmap> out;
    out.push_back({"bmp\\plt\\Palette.bmp", PaletteImage()});
    out.push_back({"bmp\\Debug.bmp", DebugDigits()});
    out.push_back({"bmp\\Block.bmp", Blocks()});
    out.push_back({"bmp\\Character1.bmp", CharacterSheet(false)});
    out.push_back({"bmp\\Character2.bmp", CharacterSheet(true)});
    out.push_back({"bmp\\Shot.bmp", Shots()});
    out.push_back({"bmp\\Item.bmp", Items()});
    out.push_back({"bmp\\Item_Mini.bmp", ItemIcons()});
    out.push_back({"bmp\\Mark.bmp", Marks()});
    out.push_back({"bmp\\Loading.bmp", LoadingPicture()});
    out.push_back({"bmp\\Window.bmp", WindowFrame()});
    out.push_back({"bmp\\StatusWindow.bmp", StatusBar()});
    out.push_back({"bmp\\Title.bmp", TitlePicture(gameName)});
    out.push_back({"bmp\\GameMode.bmp", GameModeStrips()});
    out.push_back({"bmp\\Accessory.bmp", Accessory()});
    out.push_back({"bmp\\Symbol.bmp", Symbols()});
    out.push_back({"bmp\\Word.bmp", Words()});
    out.push_back({"bmp\\WorldMapChip.bmp", WorldChips()});
    out.push_back({"bmp\\WorldEvent.bmp", WorldEvents(3)});
    return out;
}

}  // namespace demo
