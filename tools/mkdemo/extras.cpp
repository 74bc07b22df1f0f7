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
    return EffectsOfEveryKind<cDbScrEffect>(kScrEffectKindCount, ScrEffectParamTable(), "Screen effect ");
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
    out.resize(2);
    out[1].m_strName = "Poster";
    out[1].m_strFile = "bmp\\Poster.bmp";
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
    return out;
}

}  // namespace demo
