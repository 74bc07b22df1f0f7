#include "play/anime_player.h"

void cAnimePlayer::BuildTracks(const int* const* lists) {
    if (!lists) return;
    m_vTracks.clear();
    m_nTrack = m_nStep = m_nTicks = 0;
    for (; *lists; ++lists) {
        AnimeTrack track;
        for (const int* t = *lists;; t += 3) {
            track.push_back(AnimeStep{t[0], t[1], t[2]});
            if (t[0] < 0) break;
        }
        m_vTracks.push_back(std::move(track));
    }
}

int cAnimePlayer::SetTrack(int n, int force) {
    // Without tracks there is no step to be locked.
    if (!force && !m_vTracks.empty() && Step(m_nTrack, m_nStep).bLock) return 0;
    m_nTrack = n;
    m_nStep = 0;
    m_nTicks = 0;
    return 1;
}

int cAnimePlayer::ChangeTrack(int n, int force) {
    if (n == m_nTrack) return 1;
    return SetTrack(n, force);
}

int cAnimePlayer::AdvanceFrame() {
    if (m_vTracks.empty()) return 0;
    ++m_nTicks;
    if (m_nTicks >= Step(m_nTrack, m_nStep).nDuration) {
        m_nTicks = 0;
        // The step after a track's last one, or before its first, does not
        // exist: the player stays where it is.
        const long long count = static_cast<long long>(m_vTracks.at(m_nTrack).size());
        if (m_nStep + 1LL < count) {
            ++m_nStep;
            const AnimeStep step = Step(m_nTrack, m_nStep);
            if (step.nFrame == ANIME_JUMP) {
                SetTrack(step.nDuration, 1);
            } else if (step.nFrame == ANIME_RESTART) {
                m_nStep = 0;
            } else if (step.nFrame == ANIME_HOLD) {
                --m_nStep;
            }
        }
    }
    return GetFrame();
}

int cAnimePlayer::GetFrame() {
    if (m_vTracks.empty()) return 0;
    return Step(m_nTrack, m_nStep).nFrame;
}
