#include "tools/mkdemo/extras.h"

#include "records/db_effect_params.h"

namespace demo {

namespace {

template <class Rec>
cCheckedVector<Rec> EffectsOfEveryKind(int kinds, const cCheckedVector<cParamInfo>& table, const char* prefix) {
    cCheckedVector<Rec> out(1);  // entry 0: none
    out[0].m_nKind = 0;
    for (int k = 1; k < kinds; ++k) {
        Rec r;
        r.m_strName = std::string(prefix) + std::to_string(k);
        r.m_nKind = k;
        for (int i = 0; i < kEffectParamCount; ++i)
            r.m_nParam[i] = table.at(static_cast<long long>(k * kEffectParamCount + i)).nDefault;
        out.push_back(r);
    }
    return out;
}

}  // namespace

cCheckedVector<cDbCharaEffect> DemoCharaEffects() {
    return EffectsOfEveryKind<cDbCharaEffect>(kCharaEffectKindCount, CharaEffectParamTable(), "Chara effect ");
}

cCheckedVector<cDbScrEffect> DemoScreenEffects() {
    cCheckedVector<cDbScrEffect> out =
        EffectsOfEveryKind<cDbScrEffect>(kScrEffectKindCount, ScrEffectParamTable(), "Screen effect ");
    // 14: the view drawn back to half its size over a second; 15: a mosaic
    // of 8-dot blocks held for a second.
    cDbScrEffect zoomOut;
    zoomOut.m_strName = "Zoom out";
    zoomOut.m_nKind = 11;
    zoomOut.m_nParam[0] = 10, zoomOut.m_nParam[1] = 640, zoomOut.m_nParam[2] = 320;
    out.push_back(zoomOut);
    cDbScrEffect mosaic;
    mosaic.m_strName = "Mosaic held";
    mosaic.m_nKind = 13;
    mosaic.m_nParam[0] = 10, mosaic.m_nParam[1] = 8, mosaic.m_nParam[2] = 8;
    out.push_back(mosaic);
    return out;
}

cCheckedVector<cDbEffect> DemoEffects() {
    cDatabase defaults;
    cCheckedVector<cDbEffect> out = defaults.m_vecEffect;
    out.resize(2);
    cDbEffect& e = out[1];
    e.m_strName = "Spark";
    e.m_strFile = "bmp\\Spark.bmp";
    e.m_nCellWidth = 32;
    e.m_nCellHeight = 32;
    e.m_vecParts.clear();
    for (int cell = 0; cell < 4; ++cell) {
        cDbEffectPart part;
        part.m_nPicture = cell;
        part.m_nDuration = 1;
        e.m_vecParts.push_back(part);
    }
    return out;
}

cCheckedVector<cDbSwordType> DemoSwordTypes() {
    cDatabase defaults;
    cCheckedVector<cDbSwordType> out = defaults.m_vecSwordType;
    out.resize(2);
    cDbSwordType& s = out[1];
    s.m_strName = "Blade";
    s.m_strFile = "bmp\\Sword.bmp";
    s.m_vecParts.clear();
    for (int step = 0; step < 3; ++step) {
        cDbSwordPart part;
        part.m_nOffsetX = 20 + 4 * step;
        part.m_nOffsetY = -8 + 8 * step;
        part.m_nCellX = 32 * step;
        part.m_nCellY = 0;
        part.m_nWidth = 32;
        part.m_nHeight = 32;
        part.m_nDuration = 1;
        s.m_vecParts.push_back(part);
    }
    return out;
}

cCheckedVector<cDbPicture> DemoPictures() {
    cDatabase defaults;
    cCheckedVector<cDbPicture> out = defaults.m_vecPicture;
    out.resize(3);
    out[1].m_strName = "Poster";
    out[1].m_strFile = "bmp\\Poster.bmp";
    out[2].m_strName = "Playbill";
    out[2].m_strFile = "bmp\\Title.bmp";
    return out;
}

cCheckedVector<cDbBmpCharaExc> DemoOwnBitmaps() {
    cDatabase defaults;
    cCheckedVector<cDbBmpCharaExc> out = defaults.m_vecBmpCharaExc;
    out.resize(2);
    out[1].m_strName = "Puppet";
    out[1].m_strFile = "bmp\\Puppet.bmp";
    out[1].m_bCustomCell = 1;
    out[1].m_nCellSize = 2;
    return out;
}

std::vector<ExtraBitmap> DemoExtraBitmaps() {
    std::vector<ExtraBitmap> out;
    // Four cells of a spark growing and fading.
    cCanvas spark(128, 32);
    for (int cell = 0; cell < 4; ++cell) {
        const int cx = 32 * cell + 16;
        spark.Diamond(cx, 16, 4 + 3 * cell, cell < 2 ? YELLOW : ORANGE);
        spark.Disc(cx, 16, 2 + cell, WHITE);
    }
    out.push_back({"bmp\\Spark.bmp", spark});
    // Three cells of a blade at three angles.
    cCanvas sword(96, 32);
    for (int step = 0; step < 3; ++step) {
        const int x = 32 * step;
        sword.Rect(x + 4, 6 + 8 * step, 24, 4, GREY);
        sword.Rect(x + 4, 6 + 8 * step, 24, 1, WHITE);
        sword.Rect(x + 2, 4 + 8 * step, 3, 8, BROWN);
    }
    out.push_back({"bmp\\Sword.bmp", sword});
    // A poster: a framed sky with a sun over hills and a banner.
    cCanvas poster(192, 128, BLACK);
    poster.VerticalRamp(4, 80, SKY, 1);
    poster.Rect(4, 4, 184, 80, SKY);
    poster.Disc(150, 30, 14, YELLOW);
    poster.Disc(50, 96, 40, GREEN);
    poster.Disc(130, 104, 48, DARK_GREEN);
    poster.Rect(4, 84, 184, 40, DARK_GREEN);
    poster.Rect(24, 12, 90, 16, RED);
    poster.Frame(24, 12, 90, 16, WHITE);
    poster.Frame(0, 0, 192, 128, BROWN);
    poster.Frame(1, 1, 190, 126, BROWN);
    out.push_back({"bmp\\Poster.bmp", poster});
    // Twenty 64 x 64 cells, ten to a row, of a puppet on two strings
    // swinging its arms and legs.
    cCanvas puppet(640, 128);
    for (int cell = 0; cell < 20; ++cell) {
        const int x = 64 * (cell % 10), y = 64 * (cell / 10), swing = (cell % 4) * 3;
        puppet.Rect(x + 20, y, 1, 22 + swing, GREY);
        puppet.Rect(x + 43, y, 1, 28 - swing, GREY);
        puppet.Disc(x + 32, y + 16, 8, SKIN);
        puppet.Rect(x + 29, y + 14, 2, 2, BLACK);
        puppet.Rect(x + 34, y + 14, 2, 2, BLACK);
        puppet.Rect(x + 24, y + 25, 16, 20, cell % 2 ? PURPLE : RED);
        puppet.Rect(x + 16, y + 22 + swing, 8, 3, SKIN);
        puppet.Rect(x + 40, y + 31 - swing, 8, 3, SKIN);
        puppet.Rect(x + 25, y + 45, 5, 14 - swing / 2, BROWN);
        puppet.Rect(x + 34, y + 45, 5, 10 + swing / 2, BROWN);
    }
    out.push_back({"bmp\\Puppet.bmp", puppet});
    return out;
}

}  // namespace demo
