// Steps through animation tracks one tick per call and tells its owner which
// cell to show. A track is a list of normal steps {frame >= 0, ticks, lock}
// ended by one control step with a negative frame (eAnimeControl); any other
// negative frame ends the track like ANIME_END.
#pragma once
#include <cstdint>

#include "base/checked_vector.h"
#include "records/db_anime.h"

class cAnimePlayer {
public:
    cCheckedVector<AnimeTrack> m_vTracks;
    int32_t m_nTrack = 0;  // running track
    int32_t m_nStep = 0;   // current step of that track
    int32_t m_nTicks = 0;  // calls since the step was entered

    // lists: a null-terminated array of pointers, each to integer triples
    // {frame, ticks, lock} up to and including the first negative frame.
    // Null changes nothing; otherwise one track per list, from track 0.
    void BuildTracks(const int* const* lists);
    // Refused (0) while the current step is locked, unless forced; else
    // track n from its first step, even when it is already running.
    int SetTrack(int n, int force);
    // 1 at once when n is already running; else SetTrack.
    int ChangeTrack(int n, int force);
    // One tick; the frame of the current step after it (0 without tracks).
    int AdvanceFrame();
    int GetFrame();

private:
    AnimeStep& Step(int track, int step) { return m_vTracks.at(track).at(step); }
};
