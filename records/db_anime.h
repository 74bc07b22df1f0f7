// Animation data of the database: frames, animations (the Anime table and the
// entries of a set), animation sets (the AnimeSet table), and the compiled
// step lists that the animation player runs.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/checked_vector.h"
#include "records/data_record.h"
#include "records/db_table.h"

// One picture of an animation.
class cDbAnimeFrame : public cRecord<cDbAnimeFrame> {
public:
    int32_t m_nPicture = 0;   // cell number in the owner's picture
    int32_t m_nDuration = 1;  // tenths of a second
    int32_t m_bLock = 0;      // from this frame on the animation cannot be replaced unless forced

    template <class F>
    void Fields(F& f) {
        f.Field("m_nPicture", m_nPicture);
        f.Field("m_nDuration", m_nDuration);
        f.Field("m_bLock", m_bLock);
    }
};
extern template class cRecord<cDbAnimeFrame>;

// A named list of frames. Files of version 54 and older store only the name.
class cDbAnime : public cRecord<cDbAnime> {
public:
    static constexpr size_t kMinBodyBytes = 12;

    std::string m_strName;
    int16_t m_nAnimeParamA = 0;  // stored and copied, unused in play
    int8_t m_bAnimeFlag = 1;     // stored and copied, unused in play
    int16_t m_nAnimeParamB = 0;  // stored and copied, unused in play
    cCheckedVector<cDbAnimeFrame> m_vecFrames;

    cDbAnime() { SetDefaults(); }
    // Empty name, flag 1, other fields 0, exactly one default frame.
    void SetDefaults();

    template <class F>
    void Fields(F& f) {
        f.String("m_strName", m_strName);
        if (f.Since(55)) {
            f.Field("m_nAnimeParamA", m_nAnimeParamA);
            f.Field("m_bAnimeFlag", m_bAnimeFlag);
            f.Field("m_nAnimeParamB", m_nAnimeParamB);
        }
    }
    bool LoadExtra(cByteReader& r, const cLoadContext& ctx) {
        return LoadDbSubRecords(r, ctx, m_vecFrames, "frame count");
    }
    void SaveExtra(cByteWriter& w, uint32_t nVersion) { SaveRecordVector(w, nVersion, m_vecFrames); }
    void DumpExtra(cDumper& d) { DumpRecordVector(d, "m_vecFrames", m_vecFrames); }
};
extern template class cRecord<cDbAnime>;

// Entries 0 to 3 of a set are its basic animations.
enum eBasicAnime : int {
    ANIME_STAND = 0,
    ANIME_WALK = 1,
    ANIME_FLY = 2,
    ANIME_FLY_MOVE = 3,
    BASIC_ANIME_COUNT = 4
};

// A chara's animations with the graphic offsets of its display states.
class cDbAnimeSet : public cRecord<cDbAnimeSet> {
public:
    static constexpr size_t kMinBodyBytes = 12;

    std::string m_strName;
    int32_t m_nInvincibleGraphicOffset = 4;  // cells added while invincible
    int32_t m_nBlockCharaGraphicOffset = 8;  // cells added while a block chara
    int32_t m_nFlyingGraphicOffset = 0;      // cells added while flying
    cCheckedVector<cDbAnime> m_vecAnimes;

    cDbAnimeSet() { SetDefaults(); }
    // Cleared, offsets 4, 8, 0, exactly the four basic animations with their
    // names "立ち", "立ち移動", "飛行", "飛行移動".
    void SetDefaults();

    template <class F>
    void Fields(F& f) {
        f.String("m_strName", m_strName);
        f.Field("m_nInvincibleGraphicOffset", m_nInvincibleGraphicOffset);
        f.Field("m_nBlockCharaGraphicOffset", m_nBlockCharaGraphicOffset);
        if (f.Since(119)) f.Field("m_nFlyingGraphicOffset", m_nFlyingGraphicOffset);
    }
    bool LoadExtra(cByteReader& r, const cLoadContext& ctx) {
        return LoadDbSubRecords(r, ctx, m_vecAnimes, "entry count");
    }
    void SaveExtra(cByteWriter& w, uint32_t nVersion) { SaveRecordVector(w, nVersion, m_vecAnimes); }
    void DumpExtra(cDumper& d) { DumpRecordVector(d, "m_vecAnimes", m_vecAnimes); }
    // Sets older than 128 have exactly the four basic animations, the flying
    // pair named by this program.
    void OnLoaded(const cLoadContext& ctx);
};
extern template class cRecord<cDbAnimeSet>;

// ---------------------------------------------------------------------------
// Compiled steps

// Control values of AnimeStep::nFrame (a negative frame ends the list).
enum eAnimeControl : int32_t {
    ANIME_HOLD = -1,     // keep showing the previous step
    ANIME_RESTART = -2,  // start the list again
    ANIME_JUMP = -3,     // go on with the list whose number is nDuration
    ANIME_END = -4,      // the animation has finished
};

struct AnimeStep {
    int32_t nFrame = 0;     // cell to show, or an eAnimeControl value
    int32_t nDuration = 0;  // frames (ticks)
    int32_t bLock = 0;

    friend bool operator==(const AnimeStep&, const AnimeStep&) = default;
};
using AnimeTrack = cCheckedVector<AnimeStep>;

// Frames of tenths of a second (6 per tenth), saturated at the int32 range.
int32_t TenthsToTicks(int32_t nTenths);

// One track per animation: its frames, then an end step. Animation 0 is a
// zero-time loop that never ends (every step locked, then a restart); every
// other animation plays once, locked from its first locked frame on.
void CompileAnimeSteps(const std::vector<cDbAnime>& anime, cCheckedVector<AnimeTrack>& steps);
