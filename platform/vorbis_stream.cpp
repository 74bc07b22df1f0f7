#include "platform/vorbis_stream.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

namespace platform {

struct VorbisStream::Impl {
    std::vector<uint8_t> bytes;
    size_t pos = 0;
    OggVorbis_File file{};
    bool open = false;

    static size_t ReadCb(void* ptr, size_t size, size_t count, void* self) {
        Impl* m = static_cast<Impl*>(self);
        if (size == 0) return 0;
        const size_t want = size * count;
        const size_t n = std::min(want, m->bytes.size() - m->pos);
        if (n > 0) std::memcpy(ptr, m->bytes.data() + m->pos, n);
        m->pos += n;
        return n / size;
    }
    static int SeekCb(void* self, ogg_int64_t offset, int whence) {
        Impl* m = static_cast<Impl*>(self);
        ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<ogg_int64_t>(m->pos)
                                                                        : static_cast<ogg_int64_t>(m->bytes.size());
        ogg_int64_t to = base + offset;
        if (to < 0 || to > static_cast<ogg_int64_t>(m->bytes.size())) return -1;
        m->pos = static_cast<size_t>(to);
        return 0;
    }
    static long TellCb(void* self) { return static_cast<long>(static_cast<Impl*>(self)->pos); }
};

std::unique_ptr<VorbisStream> VorbisStream::Open(std::vector<uint8_t> bytes) {
    auto impl = std::make_unique<Impl>();
    impl->bytes = std::move(bytes);
    const ov_callbacks cb = {&Impl::ReadCb, &Impl::SeekCb, nullptr, &Impl::TellCb};
    if (ov_open_callbacks(impl.get(), &impl->file, nullptr, 0, cb) != 0) return nullptr;
    impl->open = true;
    const vorbis_info* info = ov_info(&impl->file, -1);
    if (!info || (info->channels != 1 && info->channels != 2) || info->rate < 1 || info->rate > 200000) {
        ov_clear(&impl->file);
        return nullptr;
    }
    std::unique_ptr<VorbisStream> s(new VorbisStream());
    s->m_nChannels = info->channels;
    s->m_nRate = static_cast<int>(info->rate);
    s->m_impl = std::move(impl);
    return s;
}

VorbisStream::~VorbisStream() {
    if (m_impl && m_impl->open) ov_clear(&m_impl->file);
}

int VorbisStream::Read(float* out, int frames) {
    int done = 0;
    while (done < frames && !m_bEnded) {
        float** pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&m_impl->file, &pcm, frames - done, &section);
        if (n < 0) {  // damaged data: the piece ends here
            m_bEnded = true;
            break;
        }
        if (n == 0) {
            // The end: start again while repeats remain, unless a whole pass
            // gave nothing (that would never end).
            if (m_nRepeats == 0 || !m_bDecodedSinceStart || ov_pcm_seek(&m_impl->file, 0) != 0) {
                m_bEnded = true;
                break;
            }
            if (m_nRepeats != kEndless) --m_nRepeats;
            m_bDecodedSinceStart = false;
            continue;
        }
        m_bDecodedSinceStart = true;
        const vorbis_info* info = ov_info(&m_impl->file, -1);
        if (!info || info->channels != m_nChannels) {  // a chained piece of another shape
            m_bEnded = true;
            break;
        }
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < m_nChannels; ++c) out[(done + i) * m_nChannels + c] = pcm[c][i];
        done += static_cast<int>(n);
    }
    return done;
}

}  // namespace platform
