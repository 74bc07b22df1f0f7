// Fuzz target over ogg music: the input is an Ogg Vorbis file, opened by
// VorbisStream::Open as the ogg channel opens it and read to its end, once
// played through and once with a repeat. A repeated piece whose first pass
// differs from the piece played once, or a piece that does not end, is a
// finding.
#include <cmath>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/vorbis_stream.h"
#include "tools/mkdemo/sound_files.h"

namespace {

constexpr const char* kName = "ogg";

int ReadBlock(platform::VorbisStream& s, std::vector<float>& block) {
    const int n = s.Read(block.data(), 1024);
    if (n < 0 || n > 1024) FuzzFail(kName, "a read of 1024 frames gave %d", n);
    return n;
}

bool SameSamples(const float* a, const float* b, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (!(a[i] == b[i]) && !(std::isnan(a[i]) && std::isnan(b[i]))) return false;
    return true;
}

void Run(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    auto once = platform::VorbisStream::Open(bytes);
    if (!once) return;
    if ((once->Channels() != 1 && once->Channels() != 2) || once->Rate() < 1 || once->Rate() > 200000)
        FuzzFail(kName, "opened with %d channels at %d Hz", once->Channels(), once->Rate());
    auto twice = platform::VorbisStream::Open(bytes);
    if (!twice) FuzzFail(kName, "the same bytes open once and not again");
    twice->SetRepeats(1);
    // A Vorbis packet gives at most 4096 frames, and each packet takes at
    // least one byte of the file.
    const uint64_t limit = (static_cast<uint64_t>(size) + 1) * 4096;
    std::vector<float> a(2 * 1024), b(2 * 1024);
    const size_t channels = static_cast<size_t>(once->Channels());
    uint64_t frames = 0, again = 0;
    // Both in step to the end of the piece played once (the repeat's read
    // that crosses the end goes on into the second pass).
    for (;;) {
        const int n = ReadBlock(*once, a);
        if (n == 0) break;
        const int m = ReadBlock(*twice, b);
        if (m < n || !SameSamples(a.data(), b.data(), static_cast<size_t>(n) * channels))
            FuzzFail(kName, "the first pass of a repeated piece differs from the piece played once");
        frames += static_cast<uint64_t>(n);
        again += static_cast<uint64_t>(m - n);
        if (frames > limit) FuzzFail(kName, "more than %llu frames", static_cast<unsigned long long>(limit));
    }
    if (once->Read(a.data(), 1024) != 0) FuzzFail(kName, "frames after the end");
    // The repeat ends too.
    for (int n; (n = ReadBlock(*twice, b)) != 0;) {
        again += static_cast<uint64_t>(n);
        if (again > limit) FuzzFail(kName, "the repeat gives more than %llu frames", static_cast<unsigned long long>(limit));
    }
}

void Seeds(const std::string& gameDir, std::vector<FuzzSeed>& out) {
    std::vector<float> mono(2000), stereo(2 * 1500);
    for (size_t i = 0; i < mono.size(); ++i) mono[i] = std::sin(static_cast<float>(i) * 0.07f) * 0.5f;
    for (size_t i = 0; i < stereo.size(); ++i)
        stereo[i] = (i % 2 ? 0.3f : -0.3f) * std::sin(static_cast<float>(i / 2) * 0.02f);
    out.emplace_back("mono", soundfiles::OggVorbisFile(mono, 1, 8000, 0.0f));
    out.emplace_back("stereo", soundfiles::OggVorbisFile(stereo, 2, 22050, 0.1f));
    for (const std::string& f : FuzzFindFiles(gameDir, {".ogg"}))
        out.emplace_back("game-" + std::to_string(out.size()), FuzzReadFile(f));
}

const cFuzzTarget kTarget{kName, nullptr, Run, Seeds};
const cFuzzTargetRegistration kRegistration(kTarget);

}  // namespace
