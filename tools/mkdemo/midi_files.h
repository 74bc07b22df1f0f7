// Writer of standard MIDI files: the demo game's music piece and the MIDI
// tests' and benchmark's songs.
#pragma once
#include <cstdint>
#include <vector>

#include "media/sound/smf_reader.h"

namespace midifiles {

// A file of the given format and division around track bodies written as
// they stand (chunk lengths from the bodies).
inline std::vector<uint8_t> SmfFile(uint16_t format, uint16_t division, const std::vector<std::vector<uint8_t>>& tracks) {
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    for (uint16_t v : {format, static_cast<uint16_t>(tracks.size()), division}) {
        out.push_back(static_cast<uint8_t>(v >> 8));
        out.push_back(static_cast<uint8_t>(v));
    }
    for (const auto& body : tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        const uint32_t n = static_cast<uint32_t>(body.size());
        for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(n >> (8 * i)));
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

// Appends one event: the delta, then the bytes.
inline void Event(std::vector<uint8_t>& track, uint32_t delta, std::initializer_list<uint8_t> bytes) {
    WriteVarLen(track, delta);
    track.insert(track.end(), bytes);
}

// A format-1 song over `channels` channels (the drums on channel 10) at
// `bpm`: a tempo track, then one track per channel, `notes` notes at once on
// each channel for `beats` beats. The channels take turns: each plays a beat
// in every `turn` beats (1: every beat). Division 480.
inline std::vector<uint8_t> GeneratedSong(int channels, int notes, int beats, int bpm = 120, int turn = 1) {
    constexpr uint16_t kDivision = 480;
    std::vector<std::vector<uint8_t>> tracks;
    std::vector<uint8_t> tempo;
    const uint32_t us = 60000000u / static_cast<uint32_t>(bpm);
    Event(tempo, 0, {0xFF, 0x51, 0x03, static_cast<uint8_t>(us >> 16), static_cast<uint8_t>(us >> 8), static_cast<uint8_t>(us)});
    Event(tempo, 0, {0xFF, 0x2F, 0x00});
    tracks.push_back(tempo);
    static const uint8_t kScale[] = {0, 2, 4, 5, 7, 9, 11, 12};
    for (int c = 0; c < channels; ++c) {
        std::vector<uint8_t> t;
        const uint8_t ch = static_cast<uint8_t>(c & 15);
        Event(t, 0, {static_cast<uint8_t>(0xC0 | ch), static_cast<uint8_t>((c * 8) & 0x7F)});
        Event(t, 0, {static_cast<uint8_t>(0xB0 | ch), 10, static_cast<uint8_t>(16 + (c * 6) % 96)});
        uint32_t rest = 0;
        for (int b = 0; b < beats; ++b) {
            if ((b + c) % turn != 0) {
                rest += kDivision;
                continue;
            }
            const int root = (ch == 9 ? 36 : 48 + (c % 3) * 12) + kScale[(b + c) % 8];
            for (int n = 0; n < notes; ++n)
                Event(t, n == 0 ? rest : 0, {static_cast<uint8_t>(0x90 | ch), static_cast<uint8_t>(root + 4 * n), 80});
            rest = 0;
            for (int n = 0; n < notes; ++n)
                Event(t, n == 0 ? kDivision : 0, {static_cast<uint8_t>(0x80 | ch), static_cast<uint8_t>(root + 4 * n), 0});
        }
        Event(t, rest, {0xFF, 0x2F, 0x00});
        tracks.push_back(t);
    }
    return SmfFile(1, kDivision, tracks);
}

}  // namespace midifiles
