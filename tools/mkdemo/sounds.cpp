#include "tools/mkdemo/sounds.h"

#include <cmath>

#include "tools/mkdemo/midi_files.h"
#include "tools/mkdemo/sound_files.h"

namespace demo {

namespace {

constexpr double kPi = 3.14159265358979323846;

std::string SystemEffectPath(int i) { return "wave\\System" + std::to_string(i) + ".wav"; }

// A short tone that slides from f0 to f1 with a quick attack and a decay;
// `duty` mixes in a square wave for a brighter sound.
std::vector<float> Blip(int rate, int channels, double seconds, double f0, double f1, double duty) {
    const int n = static_cast<int>(rate * seconds);
    std::vector<float> s;
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        phase += 2 * kPi * (f0 + (f1 - f0) * t) / rate;
        const double env = std::min(1.0, i / (rate * 0.005)) * (1 - t) * (1 - t);
        const double sine = std::sin(phase);
        const double square = sine >= 0 ? 1.0 : -1.0;
        const double v = 0.45 * env * ((1 - duty) * sine + duty * square);
        for (int c = 0; c < channels; ++c) s.push_back(static_cast<float>(c == 1 ? v * 0.8 : v));
    }
    return s;
}

// The title music: a slow arpeggio over a bass line, in stereo.
std::vector<float> TitleMusic(int rate) {
    static const int kNotes[] = {0, 4, 7, 12, 7, 4, 2, 5, 9, 14, 9, 5, -3, 0, 4, 9, 4, 0, -1, 2, 7, 11, 7, 2};
    const double beat = 0.25;
    const int perBeat = static_cast<int>(rate * beat);
    std::vector<float> s;
    for (size_t k = 0; k < std::size(kNotes); ++k) {
        const double f = 440.0 * std::pow(2.0, kNotes[k] / 12.0);
        const double bass = 110.0 * std::pow(2.0, kNotes[(k / 6) * 6] / 12.0);
        for (int i = 0; i < perBeat; ++i) {
            const double t = static_cast<double>(i) / rate;
            const double env = std::exp(-t * 6);
            const double lead = 0.25 * env * std::sin(2 * kPi * f * t);
            const double low = 0.2 * std::sin(2 * kPi * bass * (t + k * beat));
            s.push_back(static_cast<float>(lead * 0.9 + low));
            s.push_back(static_cast<float>(lead * 0.6 + low));
        }
    }
    return s;
}

struct EffectShape {
    int bits, channels, rate;
    double seconds, f0, f1, duty;
};

}  // namespace

std::vector<DemoSound> DemoSounds() {
    std::vector<DemoSound> out;
    // Formats vary on purpose: 8 and 16 bits, mono and stereo, 22,050 and
    // 44,100 Hz.
    for (int i = 0; i < kSysSeFileCount; ++i) {
        const EffectShape e{i % 2 ? 16 : 8, i % 3 == 2 ? 2 : 1, i % 4 < 2 ? 22050 : 44100,
                            0.12 + 0.02 * (i % 5), 300.0 + 60.0 * i, i % 2 ? 900.0 + 40.0 * i : 200.0 + 20.0 * i,
                            (i % 3) * 0.3};
        const auto samples = Blip(e.rate, e.channels, e.seconds, e.f0, e.f1, e.duty);
        out.push_back({SystemEffectPath(i),
                       soundfiles::WaveFile(e.channels, e.bits, e.rate, soundfiles::PcmBytes(samples, e.bits))});
    }
    out.push_back({"wave\\Jump.wav", soundfiles::WaveFile(1, 16, 22050, soundfiles::PcmBytes(
                                                                              Blip(22050, 1, 0.2, 250, 800, 0.2), 16))});
    out.push_back({"bgm\\Title.ogg", soundfiles::OggVorbisFile(TitleMusic(22050), 2, 22050, 0.2f)});
    out.push_back({"bgm\\Menu.mid", midifiles::GeneratedSong(4, 2, 16, 132, 2)});
    return out;
}

void SetSoundRecords(cSystemData& sd) {
    sd.m_vecSeFiles.resize(kSysSeFileCount);
    for (int i = 0; i < kSysSeFileCount; ++i) sd.m_vecSeFiles[i] = SystemEffectPath(i);
    sd.m_vecSceneBgm.assign(kSysSceneBgmCount, 1);  // the title music in the menus
    sd.m_vecSceneBgm[kSysSceneBgmCount - 1] = 2;    // but the MIDI piece in the last
    sd.m_vecSceneBgmRepeat.assign(kSysSceneBgmCount, 1);
}

cCheckedVector<cDbSound> DemoSoundRecords() {
    cCheckedVector<cDbSound> records(2);
    records[1].m_strName = "Jump";
    records[1].m_strFile = "wave\\Jump.wav";
    return records;
}

cCheckedVector<cDbBgm> DemoBgmRecords() {
    cCheckedVector<cDbBgm> records(3);
    records[1].m_strName = "Title";
    records[1].m_strFile = "bgm\\Title.ogg";
    records[1].m_nVolume = 100;
    records[2].m_strName = "Menu";
    records[2].m_strFile = "bgm\\Menu.mid";
    records[2].m_nVolume = 80;
    return records;
}

}  // namespace demo
