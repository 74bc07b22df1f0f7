#include "platform/sound_mixer.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr uint64_t kOne = uint64_t(1) << 32;
constexpr float kFracScale = 1.0f / 4294967296.0f;
constexpr int kStreamChunk = 1024;

uint64_t StepOf(int sourceRate, int outputRate) {
    return (static_cast<uint64_t>(sourceRate) << 32) / static_cast<uint64_t>(outputRate);
}

}  // namespace

float GainOfVolume(int hundredthsDb) {
    if (hundredthsDb <= -10000) return 0.0f;
    if (hundredthsDb >= 0) return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

struct SoundMixer::Voice {
    bool stream = false;
    bool playing = false;
    bool loop = false;
    int volume = 0;
    float gain = 1.0f;
    // PCM voice: the data as interleaved stereo floats, shared by duplicates
    std::shared_ptr<const std::vector<float>> frames;
    int rate = 0;
    uint64_t pos = 0;  // 32.32 fixed-point frame position
    // Stream voice
    std::shared_ptr<StreamSource> source;
    bool primed = false;
    bool sourceDone = false;
    uint64_t frac = 0;
    float prev[2] = {0, 0};
    float cur[2] = {0, 0};
    std::vector<float> buf;
    int bufPos = 0;
    int bufLen = 0;

    // The next decoded frame of the stream into f; false at its end.
    bool NextStreamFrame(float* f) {
        const int ch = source->Channels();
        if (bufPos >= bufLen) {
            buf.resize(static_cast<size_t>(kStreamChunk) * ch);
            bufLen = std::max(0, std::min(kStreamChunk, source->Read(buf.data(), kStreamChunk)));
            bufPos = 0;
            if (bufLen == 0) return false;
        }
        const float* p = buf.data() + static_cast<size_t>(bufPos) * ch;
        f[0] = p[0];
        f[1] = ch == 2 ? p[1] : p[0];
        ++bufPos;
        return true;
    }
};

SoundMixer::SoundMixer(int outputRate) : m_nRate(outputRate > 0 ? outputRate : kDefaultRate) {}

SoundMixer::~SoundMixer() = default;

void SoundMixer::SetOutputRate(int rate) {
    auto lock = Lock();
    if (rate > 0) m_nRate = rate;
}

int SoundMixer::OutputRate() const { return m_nRate; }

bool SoundMixer::IsPlayablePcm(int formatTag, int channels, int bits, int rate, size_t bytes) {
    if (formatTag != 1) return false;
    if (channels != 1 && channels != 2) return false;
    if (bits != 8 && bits != 16) return false;
    if (rate < 100 || rate > 200000) return false;
    return bytes >= static_cast<size_t>(channels * bits / 8);
}

SoundMixer::Voice* SoundMixer::Find(VoiceId voice) {
    if (voice <= 0 || voice > static_cast<int>(m_voices.size())) return nullptr;
    return m_voices[voice - 1].get();
}

namespace {
template <class V>
int Insert(std::vector<std::unique_ptr<V>>& voices, std::unique_ptr<V> v) {
    for (size_t i = 0; i < voices.size(); ++i)
        if (!voices[i]) {
            voices[i] = std::move(v);
            return static_cast<int>(i) + 1;
        }
    voices.push_back(std::move(v));
    return static_cast<int>(voices.size());
}
}  // namespace

SoundMixer::VoiceId SoundMixer::CreateVoice(std::shared_ptr<const PcmData> data) {
    if (!data || data->Frames() == 0) return 0;
    auto v = std::make_unique<Voice>();
    // Converted once: mixing then reads plain stereo floats.
    const uint32_t n = data->Frames();
    auto frames = std::make_shared<std::vector<float>>(static_cast<size_t>(n) * 2);
    for (uint32_t i = 0; i < n; ++i) {
        float l, r;
        if (data->bitsPerSample == 8) {
            const uint8_t* p = data->bytes.data() + static_cast<size_t>(i) * data->channels;
            l = (static_cast<int>(p[0]) - 128) * (1.0f / 128.0f);
            r = data->channels == 2 ? (static_cast<int>(p[1]) - 128) * (1.0f / 128.0f) : l;
        } else {
            const uint8_t* p = data->bytes.data() + static_cast<size_t>(i) * data->channels * 2;
            l = static_cast<int16_t>(p[0] | (p[1] << 8)) * (1.0f / 32768.0f);
            r = data->channels == 2 ? static_cast<int16_t>(p[2] | (p[3] << 8)) * (1.0f / 32768.0f) : l;
        }
        (*frames)[2 * i] = l;
        (*frames)[2 * i + 1] = r;
    }
    v->frames = std::move(frames);
    v->rate = data->samplesPerSec;
    auto lock = Lock();
    return Insert(m_voices, std::move(v));
}

SoundMixer::VoiceId SoundMixer::Duplicate(VoiceId source) {
    auto lock = Lock();
    Voice* s = Find(source);
    if (!s || s->stream) return 0;
    auto v = std::make_unique<Voice>();
    v->frames = s->frames;
    v->rate = s->rate;
    v->volume = s->volume;
    v->gain = s->gain;
    return Insert(m_voices, std::move(v));
}

void SoundMixer::Release(VoiceId voice) {
    std::unique_ptr<Voice> dead;
    {
        auto lock = Lock();
        if (!Find(voice)) return;
        dead = std::move(m_voices[voice - 1]);
    }
    // The data and the stream are freed outside the lock.
}

void SoundMixer::Play(VoiceId voice, bool loop) {
    auto lock = Lock();
    if (Voice* v = Find(voice)) {
        if (v->stream && !v->source) return;
        v->playing = true;
        v->loop = loop;
    }
}

void SoundMixer::Stop(VoiceId voice) {
    auto lock = Lock();
    if (Voice* v = Find(voice)) v->playing = false;
}

void SoundMixer::SetPosition(VoiceId voice, uint32_t frame) {
    auto lock = Lock();
    Voice* v = Find(voice);
    if (!v || v->stream) return;
    v->pos = static_cast<uint64_t>(std::min<size_t>(frame, v->frames->size() / 2)) << 32;
}

void SoundMixer::SetVolume(VoiceId voice, int hundredthsDb) {
    auto lock = Lock();
    if (Voice* v = Find(voice)) {
        v->volume = std::clamp(hundredthsDb, -10000, 0);
        v->gain = GainOfVolume(v->volume);
    }
}

int SoundMixer::Volume(VoiceId voice) {
    auto lock = Lock();
    Voice* v = Find(voice);
    return v ? v->volume : 0;
}

bool SoundMixer::IsPlaying(VoiceId voice) {
    auto lock = Lock();
    Voice* v = Find(voice);
    return v && v->playing;
}

SoundMixer::VoiceId SoundMixer::CreateStreamVoice() {
    auto v = std::make_unique<Voice>();
    v->stream = true;
    auto lock = Lock();
    return Insert(m_voices, std::move(v));
}

void SoundMixer::SetStream(VoiceId voice, std::shared_ptr<StreamSource> source) {
    std::shared_ptr<StreamSource> old;
    auto lock = Lock();
    Voice* v = Find(voice);
    if (!v || !v->stream) return;
    old = std::move(v->source);
    v->source = std::move(source);
    v->playing = false;
    v->primed = false;
    v->sourceDone = false;
    v->frac = 0;
    v->bufPos = v->bufLen = 0;
}

void SoundMixer::SetStreamVolume(VoiceId voice, float volume) {
    auto lock = Lock();
    if (Voice* v = Find(voice)) v->gain = std::clamp(volume, 0.0f, 1.0f);
}

int SoundMixer::VoiceCount() {
    auto lock = Lock();
    return static_cast<int>(std::count_if(m_voices.begin(), m_voices.end(), [](const auto& v) { return v != nullptr; }));
}

void SoundMixer::MixPcm(Voice& v, float* acc, int frames) {
    const float* f = v.frames->data();
    const uint32_t n = static_cast<uint32_t>(v.frames->size() / 2);
    const uint64_t end = static_cast<uint64_t>(n) << 32;
    const uint64_t step = StepOf(v.rate, m_nRate);
    const float g = v.gain;
    for (int i = 0; i < frames; ++i) {
        if (v.pos >= end) {
            if (!v.loop) {
                v.playing = false;
                v.pos = 0;
                return;
            }
            v.pos %= end;
        }
        const uint32_t idx = static_cast<uint32_t>(v.pos >> 32);
        const uint32_t next = idx + 1 < n ? idx + 1 : (v.loop ? 0 : idx);
        const float t = static_cast<float>(v.pos & (kOne - 1)) * kFracScale;
        const float* a = f + 2 * static_cast<size_t>(idx);
        const float* b = f + 2 * static_cast<size_t>(next);
        acc[2 * i] += (a[0] + (b[0] - a[0]) * t) * g;
        acc[2 * i + 1] += (a[1] + (b[1] - a[1]) * t) * g;
        v.pos += step;
    }
}

void SoundMixer::MixStream(Voice& v, float* acc, int frames) {
    if (!v.source) {
        v.playing = false;
        return;
    }
    if (!v.primed) {
        v.primed = true;
        if (!v.NextStreamFrame(v.prev)) {
            v.playing = false;
            return;
        }
        if (!v.NextStreamFrame(v.cur)) {
            v.sourceDone = true;
            v.cur[0] = v.prev[0];
            v.cur[1] = v.prev[1];
        }
    }
    const uint64_t step = StepOf(v.source->Rate(), m_nRate);
    const float g = v.gain;
    for (int i = 0; i < frames; ++i) {
        const float t = static_cast<float>(v.frac) * kFracScale;
        acc[2 * i] += (v.prev[0] + (v.cur[0] - v.prev[0]) * t) * g;
        acc[2 * i + 1] += (v.prev[1] + (v.cur[1] - v.prev[1]) * t) * g;
        v.frac += step;
        while (v.frac >= kOne) {
            v.frac -= kOne;
            if (v.sourceDone) {
                v.playing = false;
                return;
            }
            v.prev[0] = v.cur[0];
            v.prev[1] = v.cur[1];
            if (!v.NextStreamFrame(v.cur)) v.sourceDone = true;
        }
    }
}

void SoundMixer::Render(float* out, int frames) {
    if (frames <= 0) return;
    auto lock = Lock();
    m_acc.assign(static_cast<size_t>(frames) * 2, 0.0f);
    for (auto& v : m_voices) {
        if (!v || !v->playing) continue;
        if (v->stream)
            MixStream(*v, m_acc.data(), frames);
        else
            MixPcm(*v, m_acc.data(), frames);
    }
    for (size_t i = 0; i < m_acc.size(); ++i) out[i] = std::clamp(m_acc[i], -1.0f, 1.0f);
}

}  // namespace platform
