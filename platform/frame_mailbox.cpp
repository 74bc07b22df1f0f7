#include "platform/frame_mailbox.h"

#include <cstring>

namespace platform {

cFrameMailbox::cFrameMailbox() {
    for (auto& b : m_buffers) b.assign(static_cast<size_t>(kWidth) * kHeight, 0);
}

void cFrameMailbox::SetNotify(std::function<void()> notify) {
    m_notify = std::move(notify);
    m_bNotifySet = static_cast<bool>(m_notify);
}

void cFrameMailbox::Put(const uint32_t* pixels, int pitchBytes) {
    uint32_t* dst = m_buffers[m_nWrite].data();
    if (pitchBytes == kWidth * 4) {
        std::memcpy(dst, pixels, sizeof(uint32_t) * kWidth * kHeight);
    } else {
        const auto* src = reinterpret_cast<const uint8_t*>(pixels);
        for (int y = 0; y < kHeight; ++y)
            std::memcpy(dst + static_cast<size_t>(y) * kWidth, src + static_cast<size_t>(y) * pitchBytes,
                        sizeof(uint32_t) * kWidth);
    }
    Publish();
}

void cFrameMailbox::Publish() {
    uint32_t prev = m_nReady.exchange(static_cast<uint32_t>(m_nWrite) | kNewBit, std::memory_order_acq_rel);
    m_nWrite = static_cast<int>(prev & 3);
    m_nPut.fetch_add(1, std::memory_order_relaxed);
    if (m_bNotifySet.load() && !m_bNotified.exchange(true)) m_notify();
}

const uint32_t* cFrameMailbox::Take() {
    m_bNotified = false;
    if (!(m_nReady.load(std::memory_order_acquire) & kNewBit)) return nullptr;
    uint32_t prev = m_nReady.exchange(static_cast<uint32_t>(m_nRead), std::memory_order_acq_rel);
    m_nRead = static_cast<int>(prev & 3);
    m_bHasFrame = true;
    return m_buffers[m_nRead].data();
}

const uint32_t* cFrameMailbox::Last() const { return m_bHasFrame ? m_buffers[m_nRead].data() : nullptr; }

cFrameMailbox& FrameMailbox() {
    static cFrameMailbox box;
    return box;
}

}  // namespace platform
