#include "platform/fluid_synth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <filesystem>

namespace platform {

const char* const kTimGm6mbPath = "/usr/share/sounds/sf2/TimGM6mb.sf2";

std::string DefaultSoundFontPath() {
    std::error_code ec;
    for (const char* path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/default.sf2", kTimGm6mbPath})
        if (std::filesystem::is_regular_file(path, ec)) return path;
    return {};
}

namespace {
void QuietLog(int, const char*, void*) {}
}  // namespace

struct FluidSynth::Impl {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
};

FluidSynth::FluidSynth(int rate, const std::string& soundFont) : m_Impl(std::make_unique<Impl>()), m_nRate(rate) {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, &QuietLog, nullptr);
    m_Impl->settings = new_fluid_settings();
    fluid_settings_setnum(m_Impl->settings, "synth.sample-rate", rate);
    fluid_settings_setint(m_Impl->settings, "synth.cpu-cores", 1);
    fluid_settings_getnum_default(m_Impl->settings, "synth.gain", &m_dDefaultGain);
    m_Impl->synth = new_fluid_synth(m_Impl->settings);
    if (m_Impl->synth && !soundFont.empty()) {
        const int id = fluid_synth_sfload(m_Impl->synth, soundFont.c_str(), 1);
        m_nFont = id == FLUID_FAILED ? -1 : id;
    }
}

FluidSynth::~FluidSynth() {
    if (m_Impl->synth) delete_fluid_synth(m_Impl->synth);
    if (m_Impl->settings) delete_fluid_settings(m_Impl->settings);
}

int FluidSynth::ActiveVoices() const { return m_Impl->synth ? fluid_synth_get_active_voice_count(m_Impl->synth) : 0; }

void FluidSynth::PowerOn() {
    if (!m_Impl->synth) return;
    fluid_synth_all_sounds_off(m_Impl->synth, -1);
    fluid_synth_system_reset(m_Impl->synth);
    // The next render first finishes the synth's current block unheard, so
    // that every song starts on a block boundary: the same song then gives
    // the same samples.
    m_nDiscard = (kBlock - m_nRendered % kBlock) % kBlock;
}

void FluidSynth::AllNotesOff() {
    if (!m_Impl->synth) return;
    for (int ch = 0; ch < 16; ++ch) fluid_synth_all_notes_off(m_Impl->synth, ch);
}

void FluidSynth::ShortMessage(uint8_t status, uint8_t data1, uint8_t data2) {
    fluid_synth_t* s = m_Impl->synth;
    if (!s) return;
    const int ch = status & 0x0F;
    switch (status & 0xF0) {
        case 0x80: fluid_synth_noteoff(s, ch, data1); break;
        case 0x90: fluid_synth_noteon(s, ch, data1, data2); break;
        case 0xA0: fluid_synth_key_pressure(s, ch, data1, data2); break;
        case 0xB0: fluid_synth_cc(s, ch, data1, data2); break;
        case 0xC0: fluid_synth_program_change(s, ch, data1); break;
        case 0xD0: fluid_synth_channel_pressure(s, ch, data1); break;
        case 0xE0: fluid_synth_pitch_bend(s, ch, data1 | data2 << 7); break;
        default: break;
    }
}

void FluidSynth::Sysex(const uint8_t* data, int length) {
    if (m_Impl->synth && length > 0)
        fluid_synth_sysex(m_Impl->synth, reinterpret_cast<const char*>(data), length, nullptr, nullptr, nullptr, 0);
}

void FluidSynth::Render(float* stereo, int frames) {
    if (!m_Impl->synth || m_nFont < 0) {
        std::fill(stereo, stereo + 2 * frames, 0.0f);
        return;
    }
    if (m_nDiscard > 0) {
        float scratch[2 * kBlock];
        fluid_synth_write_float(m_Impl->synth, m_nDiscard, scratch, 0, 2, scratch, 1, 2);
        m_nRendered += static_cast<uint64_t>(m_nDiscard);
        m_nDiscard = 0;
    }
    // At most up to the end of the synth's block per call: asked for more,
    // it renders several blocks ahead and messages sent meanwhile would wait
    // for them.
    while (frames > 0) {
        const int n = std::min(frames, kBlock - static_cast<int>(m_nRendered % kBlock));
        fluid_synth_write_float(m_Impl->synth, n, stereo, 0, 2, stereo, 1, 2);
        m_nRendered += static_cast<uint64_t>(n);
        stereo += 2 * n;
        frames -= n;
    }
}

void FluidSynth::SetGainFactor(float factor) {
    if (m_Impl->synth) fluid_synth_set_gain(m_Impl->synth, static_cast<float>(m_dDefaultGain * factor));
}

}  // namespace platform
