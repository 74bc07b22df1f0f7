// The demo's own database records beyond the program's defaults: a chara
// effect of every kind, a screen effect of every kind and two more, a spark
// effect, a sword type, two pictures and a chara's own bitmap, with the
// bitmaps they draw from.
#pragma once
#include <string>
#include <vector>

#include "records/database.h"
#include "tools/mkdemo/canvas.h"

namespace demo {

// Chara effect k (1..16) is of kind k; screen effect k (1..13) of kind k,
// 14 a zoom out and 15 a mosaic held still.
cCheckedVector<cDbCharaEffect> DemoCharaEffects();
cCheckedVector<cDbScrEffect> DemoScreenEffects();
// Effect 1: a spark of four cells (bmp\Spark.bmp).
cCheckedVector<cDbEffect> DemoEffects();
// Sword type 1: a blade swung in front (bmp\Sword.bmp).
cCheckedVector<cDbSwordType> DemoSwordTypes();
// Picture 1: a poster (bmp\Poster.bmp); 2: a playbill (bmp\Title.bmp).
cCheckedVector<cDbPicture> DemoPictures();
// Own chara bitmap 1: a puppet in cells of two blocks (bmp\Puppet.bmp).
cCheckedVector<cDbBmpCharaExc> DemoOwnBitmaps();

struct ExtraBitmap {
    std::string strPath;  // CP932 path under the game folder
    cCanvas canvas;
};
std::vector<ExtraBitmap> DemoExtraBitmaps();

}  // namespace demo
