#include "base/log.h"
#include "media/gfx/dd_state.h"
#include "platform/cp932.h"

// SurfaceTable and BitmapTable are built with the other global objects (media/globals.cpp).

void BuildBitmapTable() {
    BMPSLOT* t = BitmapTable;
    for (int i = 0; i < kSurfaceSlots; ++i) t[i] = BMPSLOT{};
    // name, key, mem, type, alias, palIdx, optional, mirror w, mirror h, w, h
    t[0].Set("bmp\\plt\\Palette.bmp", 0, 1, 0, 0, 0, 0, 0, 0, 0, 0);
    t[1].Set("bmp\\Debug.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[2].Set("bmp\\Block.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[3].Set("bmp\\Block.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0);
    for (int k = 0; k < 8; ++k) {
        const std::string name = Format("bmp\\Character%d.bmp", k + 1);
        const int opt = k == 0 ? 0 : 1;
        t[4 + 2 * k].Set(name, 1, 0, 0, 0, 0, opt, 0, 0, 0, 0);
        t[5 + 2 * k].Set(name, 1, 0, 0, 1, 0, opt, 32, 0, 0, 0);
        t[22 + 2 * k].Set(name, 1, 1, 0, 1, 0, opt, 0, 0, 0, 0);
        t[23 + 2 * k].Set(name, 1, 1, 0, 1, 0, opt, 32, 0, 0, 0);
    }
    t[20].Set("bmp\\Shot.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[21].Set("bmp\\Shot.bmp", 1, 0, 0, 1, 0, 0, 16, 0, 0, 0);
    t[38].Set("bmp\\Shot.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0);
    t[39].Set("bmp\\Shot.bmp", 1, 1, 0, 1, 0, 0, 16, 0, 0, 0);
    t[40].Set("bmp\\Item.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[41].Set("bmp\\Item.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0);
    t[42].Set("bmp\\Item_Mini.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[43].Set("bmp\\Mark.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[44].Set("bmp\\Mark.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0);
    t[45].Set("bmp\\Loading.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0);
    t[46].Set("bmp\\Window.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[47].Set("bmp\\StatusWindow.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[48].Set("bmp\\Title.bmp", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[49].Set("bmp\\GameMode.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0);
    t[50].Set("bmp\\Accessory.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[51].Set("bmp\\Symbol.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[52].Set("bmp\\Word.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[53].Set("bmp\\WorldMapChip.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    t[54].Set("bmp\\WorldEvent.bmp", 1, 1, 0, 0, 0, 0, 0, 0, 0, 0);
    t[55].Set("bmp\\WorldBack.bmp", 0, 1, 0, 0, 0, 1, 0, 0, 0, 0);
    for (int k = 0; k < 8; ++k)
        t[56 + k].Set(SJ("背景その") + std::to_string(k + 1) + ".bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0);
    t[64].Set("E", 1, 1, 0, 0, 0, 0, 0, 0, 256, 960);
    t[65].Set("E", 1, 1, 0, 0, 0, 0, 0, 0, 256, 960);
    t[66].Set("E", 1, 1, 0, 0, 0, 0, 0, 0, 640, 480);
    t[67].Set("E", 0, 1, 0, 0, 0, 0, 0, 0, 640, 480);
    t[68].Set("E", 1, 0, 0, 0, 0, 0, 0, 0, 640, 480);
    t[69].Set("E", 1, 1, 0, 1, 0, 0, 0, 0, 640, 480);
    t[70].Set("E", 1, 0, 2, 0, 0, 0, 0, 0, 1024, 1024);
    t[71].Set("E", 1, 1, 1, 0, 0, 0, 0, 0, 1024, 1024);
}
