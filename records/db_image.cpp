#include "records/db_image.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cDbBmpCharaExc>;
template class cRecord<cDbSwordPart>;
template class cRecord<cDbSwordType>;
template class cRecord<cDbEffectPart>;
template class cRecord<cDbEffect>;
template class cRecord<cDbPicture>;

void cDbSwordType::SetDefaults() {
    Clear();
    cDbSwordPart first;
    first.m_nDuration = 1;
    m_vecParts.assign(1, first);
}

void cDbSwordType::OnTableLoaded(std::vector<cDbSwordType>& table, const cLoadContext& ctx) {
    if (ctx.Below(828) && table.size() > kOldTableLimit) table.resize(kOldTableLimit);
}

void CompileEffectSteps(const std::vector<cDbEffect>& effects, cCheckedVector<AnimeTrack>& steps) {
    steps.resize(effects.size());
    for (size_t i = 0; i < effects.size(); ++i) {
        const auto& parts = effects[i].m_vecParts;
        AnimeTrack& track = steps[i];
        track.assign(parts.size() + 1, AnimeStep());
        for (size_t k = 0; k < parts.size(); ++k) {
            const cDbEffectPart& p = parts[k];
            track[k] = i == 0 ? AnimeStep{p.m_nPicture, 0, 1}
                              : AnimeStep{p.m_nPicture, TenthsToTicks(p.m_nDuration), 0};
        }
        track.back() = i == 0 ? AnimeStep{ANIME_RESTART, 0, 1} : AnimeStep{ANIME_END, 0, 0};
    }
}
