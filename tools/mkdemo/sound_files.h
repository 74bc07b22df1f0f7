// Writers of the sound files the demo game ships (RIFF WAVE effects and Ogg
// Vorbis music); the sound tests build their fixtures with them too.
#pragma once
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <vorbis/vorbisenc.h>

namespace soundfiles {

struct Chunk {
    std::string id;  // four characters
    std::vector<uint8_t> body;
    uint32_t declaredSize = 0xFFFFFFFF;  // the size the header gives (default: the body's)
};

inline void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline void PutChunk(std::vector<uint8_t>& out, const Chunk& c) {
    out.insert(out.end(), c.id.begin(), c.id.begin() + 4);
    PutLe(out, c.declaredSize != 0xFFFFFFFF ? c.declaredSize : static_cast<uint32_t>(c.body.size()), 4);
    out.insert(out.end(), c.body.begin(), c.body.end());
    if (c.body.size() & 1) out.push_back(0);  // pad byte after an odd size
}

// A "RIFF" file of the form with the chunks in order.
inline std::vector<uint8_t> RiffFile(const std::vector<Chunk>& chunks, const char* form = "WAVE") {
    std::vector<uint8_t> body(form, form + 4);
    for (const Chunk& c : chunks) PutChunk(body, c);
    std::vector<uint8_t> out;
    PutChunk(out, Chunk{"RIFF", body});
    return out;
}

// The 16-byte "fmt " body of a PCM format (18 bytes with cbSize when
// `withCbSize`).
inline Chunk FormatChunk(int channels, int bits, int rate, int tag = 1, bool withCbSize = false, int cbSize = 0) {
    Chunk c{"fmt ", {}};
    const int align = channels * bits / 8;
    PutLe(c.body, static_cast<uint32_t>(tag), 2);
    PutLe(c.body, static_cast<uint32_t>(channels), 2);
    PutLe(c.body, static_cast<uint32_t>(rate), 4);
    PutLe(c.body, static_cast<uint32_t>(align * rate), 4);
    PutLe(c.body, static_cast<uint32_t>(align), 2);
    PutLe(c.body, static_cast<uint32_t>(bits), 2);
    if (withCbSize) PutLe(c.body, static_cast<uint32_t>(cbSize), 2);
    return c;
}

// A plain PCM WAV file.
inline std::vector<uint8_t> WaveFile(int channels, int bits, int rate, const std::vector<uint8_t>& pcm) {
    return RiffFile({FormatChunk(channels, bits, rate), Chunk{"data", pcm}});
}

// Samples in -1..1 as 8-bit unsigned or 16-bit signed little-endian bytes.
inline std::vector<uint8_t> PcmBytes(const std::vector<float>& samples, int bits) {
    std::vector<uint8_t> out;
    for (float s : samples) {
        const float c = s < -1.0f ? -1.0f : s > 1.0f ? 1.0f : s;
        if (bits == 8)
            out.push_back(static_cast<uint8_t>(128 + static_cast<int>(c * 127.0f)));
        else
            PutLe(out, static_cast<uint32_t>(static_cast<int16_t>(c * 32767.0f)), 2);
    }
    return out;
}

// Interleaved samples encoded as an Ogg Vorbis file (variable bit rate of the
// given quality, -0.1..1). Empty on failure.
inline std::vector<uint8_t> OggVorbisFile(const std::vector<float>& interleaved, int channels, int rate,
                                          float quality = 0.4f) {
    std::vector<uint8_t> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        return out;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1);
    ogg_page og;
    ogg_packet op;
    auto putPage = [&] {
        out.insert(out.end(), og.header, og.header + og.header_len);
        out.insert(out.end(), og.body, og.body + og.body_len);
    };
    ogg_packet header, comm, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comm, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comm);
    ogg_stream_packetin(&os, &code);
    while (ogg_stream_flush(&os, &og) != 0) putPage();

    const size_t frames = interleaved.size() / static_cast<size_t>(channels);
    const size_t block = 1024;
    for (size_t done = 0;; done += block) {
        const size_t n = done < frames ? std::min(block, frames - done) : 0;
        if (n > 0) {
            float** buf = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c) buf[c][i] = interleaved[(done + i) * channels + c];
        }
        vorbis_analysis_wrote(&vd, static_cast<int>(n));  // 0: the end of the piece
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og) != 0) putPage();
            }
        }
        if (n == 0) break;
    }
    while (ogg_stream_flush(&os, &og) != 0) putPage();
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

}  // namespace soundfiles
