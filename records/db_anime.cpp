#include "records/db_anime.h"

#include <limits>

#include "platform/cp932.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cDbAnimeFrame>;
template class cRecord<cDbAnime>;
template class cRecord<cDbAnimeSet>;

void cDbAnime::SetDefaults() {
    m_strName.clear();
    m_nAnimeParamA = 0;
    m_bAnimeFlag = 1;
    m_nAnimeParamB = 0;
    m_vecFrames.assign(1, cDbAnimeFrame());
}

namespace {

void NameBasicAnimes(cDbAnimeSet& set, bool all) {
    if (all) {
        set.m_vecAnimes[ANIME_STAND].m_strName = SJ("立ち");
        set.m_vecAnimes[ANIME_WALK].m_strName = SJ("立ち移動");
    }
    set.m_vecAnimes[ANIME_FLY].m_strName = SJ("飛行");
    set.m_vecAnimes[ANIME_FLY_MOVE].m_strName = SJ("飛行移動");
}

}  // namespace

void cDbAnimeSet::SetDefaults() {
    Clear();
    m_nInvincibleGraphicOffset = 4;
    m_nBlockCharaGraphicOffset = 8;
    m_nFlyingGraphicOffset = 0;
    m_vecAnimes.assign(BASIC_ANIME_COUNT, cDbAnime());
    NameBasicAnimes(*this, true);
}

void cDbAnimeSet::OnLoaded(const cLoadContext& ctx) {
    // Before 119 a set was cut or filled to its four basic animations; up to
    // 127 the same again, and the flying pair got its names. Entries 0 and 1
    // keep their stored names, appended entries start unnamed.
    if (ctx.Below(128)) {
        m_vecAnimes.resize(BASIC_ANIME_COUNT);
        NameBasicAnimes(*this, false);
    }
}

int32_t TenthsToTicks(int32_t nTenths) {
    const int64_t ticks = static_cast<int64_t>(nTenths) * 6;
    if (ticks > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (ticks < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(ticks);
}

void CompileAnimeSteps(const std::vector<cDbAnime>& anime, cCheckedVector<AnimeTrack>& steps) {
    steps.resize(anime.size());
    for (size_t i = 0; i < anime.size(); ++i) {
        const auto& frames = anime[i].m_vecFrames;
        AnimeTrack& track = steps[i];
        track.assign(frames.size() + 1, AnimeStep());
        int32_t lock = 0;
        for (size_t k = 0; k < frames.size(); ++k) {
            const cDbAnimeFrame& fr = frames[k];
            if (i == 0) {
                track[k] = {fr.m_nPicture, 0, 1};
            } else {
                if (fr.m_bLock) lock = 1;
                track[k] = {fr.m_nPicture, TenthsToTicks(fr.m_nDuration), lock};
            }
        }
        track.back() = i == 0 ? AnimeStep{ANIME_RESTART, 0, 1} : AnimeStep{ANIME_END, 0, 0};
    }
}
