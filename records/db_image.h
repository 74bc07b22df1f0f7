// Image records of the database: extra chara bitmaps, sword types with their
// per-frame parts, effects with their animation parts, and pictures; and the
// compiled step lists of the effects.
//
// m_nTag is stored in every image record and not used in play; files older
// than 153 load it as 0.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/checked_vector.h"
#include "records/data_record.h"
#include "records/db_anime.h"
#include "records/db_table.h"

// Bmp_CharaExc: a bitmap a chara can use besides its own.
class cDbBmpCharaExc : public cRecord<cDbBmpCharaExc> {
public:
    std::string m_strName;
    std::string m_strFile;
    int32_t m_nTag = 0;
    int32_t m_bCustomCell = 0;  // 0: cells of 32 dots; else m_nCellSize x 32 dots
    int32_t m_nCellSize = 2;    // blocks

    template <class F>
    void Fields(F& f) {
        f.String("m_strName", m_strName);
        f.String("m_strFile", m_strFile);
        if (f.Since(152)) f.Field("m_nTag", m_nTag);
        if (f.Since(172)) {
            f.Field("m_bCustomCell", m_bCustomCell);
            f.Field("m_nCellSize", m_nCellSize);
        }
    }
    void OnLoaded(const cLoadContext& ctx) {
        if (ctx.Below(153)) m_nTag = 0;
    }
};
extern template class cRecord<cDbBmpCharaExc>;

// Where a sword part sits against its chara.
enum eSwordPlacement : int32_t {
    SWORD_FRONT = 0,
    SWORD_BEHIND = 1,  // also reverses the sword's facing
    SWORD_ABOVE = 2,
    SWORD_BELOW = 3,
};

// One frame of a sword swing. Offsets and sizes are multiplied by the
// sword's size; the duration is in tenths of a second.
class cDbSwordPart : public cRecord<cDbSwordPart> {
public:
    int32_t m_nOffsetX = 0;
    int32_t m_nOffsetY = 0;
    int32_t m_bMirrorX = 1;  // subtract the X offset when the facing is reversed
    int32_t m_bMirrorY = 0;
    int32_t m_nPlacement = SWORD_FRONT;
    int32_t m_nCellX = 0;  // the part's image in the sword image, dots
    int32_t m_nCellY = 0;
    int32_t m_nWidth = 0;  // image and hit box
    int32_t m_nHeight = 0;
    int32_t m_nDuration = 0;

    template <class F>
    void Fields(F& f) {
        f.Field("m_nOffsetX", m_nOffsetX);
        f.Field("m_nOffsetY", m_nOffsetY);
        if (f.Since(138)) {
            f.Field("m_bMirrorX", m_bMirrorX);
            f.Field("m_bMirrorY", m_bMirrorY);
        }
        f.Field("m_nPlacement", m_nPlacement);
        f.Field("m_nCellX", m_nCellX);
        f.Field("m_nCellY", m_nCellY);
        f.Field("m_nWidth", m_nWidth);
        f.Field("m_nHeight", m_nHeight);
        f.Field("m_nDuration", m_nDuration);
    }
};
extern template class cRecord<cDbSwordPart>;

class cDbSwordType : public cRecord<cDbSwordType> {
public:
    static constexpr size_t kMinBodyBytes = 12;
    // Files before 828 held at most this many sword types.
    static constexpr size_t kOldTableLimit = 128;

    std::string m_strName;
    std::string m_strFile;
    std::string m_strFile2;
    int32_t m_nTag = 0;
    cCheckedVector<cDbSwordPart> m_vecParts;

    cDbSwordType() { SetDefaults(); }
    // Cleared, then exactly one default part with a duration of 1.
    void SetDefaults();

    template <class F>
    void Fields(F& f) {
        f.String("m_strName", m_strName);
        f.String("m_strFile", m_strFile);
        f.String("m_strFile2", m_strFile2);
        if (f.Since(151)) f.Field("m_nTag", m_nTag);
    }
    bool LoadExtra(cByteReader& r, const cLoadContext& ctx) {
        return LoadDbSubRecords(r, ctx, m_vecParts, "part count");
    }
    void SaveExtra(cByteWriter& w, uint32_t nVersion) { SaveRecordVector(w, nVersion, m_vecParts); }
    void DumpExtra(cDumper& d) { DumpRecordVector(d, "m_vecParts", m_vecParts); }
    void OnLoaded(const cLoadContext& ctx) {
        if (ctx.Below(153)) m_nTag = 0;
    }
    // A table file older than 828 keeps its first 128 sword types.
    static void OnTableLoaded(std::vector<cDbSwordType>& table, const cLoadContext& ctx);
};
extern template class cRecord<cDbSwordType>;

// One cell of an effect's animation.
class cDbEffectPart : public cRecord<cDbEffectPart> {
public:
    int32_t m_nPicture = 0;   // cell number in the effect image
    int32_t m_nDuration = 1;  // tenths of a second

    template <class F>
    void Fields(F& f) {
        f.Field("m_nPicture", m_nPicture);
        f.Field("m_nDuration", m_nDuration);
    }
};
extern template class cRecord<cDbEffectPart>;

class cDbEffect : public cRecord<cDbEffect> {
public:
    static constexpr size_t kMinBodyBytes = 12;

    std::string m_strName;
    std::string m_strFile;
    int32_t m_nTag = 0;
    int32_t m_nCellWidth = 32;
    int32_t m_nCellHeight = 32;
    int32_t m_bScalable = 0;  // drawn enlarged by its owner's size factor above 1
    cCheckedVector<cDbEffectPart> m_vecParts{cDbEffectPart()};

    template <class F>
    void Fields(F& f) {
        f.String("m_strName", m_strName);
        f.String("m_strFile", m_strFile);
        if (f.Since(151)) f.Field("m_nTag", m_nTag);
        f.Field("m_nCellWidth", m_nCellWidth);
        f.Field("m_nCellHeight", m_nCellHeight);
        f.Field("m_bScalable", m_bScalable);
    }
    bool LoadExtra(cByteReader& r, const cLoadContext& ctx) {
        return LoadDbSubRecords(r, ctx, m_vecParts, "part count");
    }
    void SaveExtra(cByteWriter& w, uint32_t nVersion) { SaveRecordVector(w, nVersion, m_vecParts); }
    void DumpExtra(cDumper& d) { DumpRecordVector(d, "m_vecParts", m_vecParts); }
    void OnLoaded(const cLoadContext& ctx) {
        if (ctx.Below(153)) m_nTag = 0;
    }
};
extern template class cRecord<cDbEffect>;

class cDbPicture : public cRecord<cDbPicture> {
public:
    std::string m_strName;
    std::string m_strFile;
    int32_t m_nTag = 0;

    template <class F>
    void Fields(F& f) {
        f.String("m_strName", m_strName);
        f.String("m_strFile", m_strFile);
        if (f.Since(151)) f.Field("m_nTag", m_nTag);
    }
    void OnLoaded(const cLoadContext& ctx) {
        if (ctx.Below(153)) m_nTag = 0;
    }
};
extern template class cRecord<cDbPicture>;

// One track per effect: its parts, then an end step. Effect 0 is a
// zero-time loop that never ends; every other effect plays once.
void CompileEffectSteps(const std::vector<cDbEffect>& effects, cCheckedVector<AnimeTrack>& steps);
