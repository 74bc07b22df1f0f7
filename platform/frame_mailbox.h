// Hand-off of finished frames from the game side to the main thread, which
// shows them. A mailbox: the newest frame wins, older unshown ones are
// dropped, and neither side ever waits for the other (three buffers swapped
// through one atomic word).
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

class cFrameMailbox {
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    cFrameMailbox();

    // Producer: copies a 640 x 480 XRGB8888 frame (pitch in bytes) into the
    // mailbox, replacing any frame not yet taken.
    void Put(const uint32_t* pixels, int pitchBytes);
    // Producer, without the copy: fill WriteBuffer() (640 x 480, pitch 640
    // pixels), then Publish() it as Put would.
    uint32_t* WriteBuffer() { return m_buffers[m_nWrite].data(); }
    void Publish();
    // Consumer: the newest frame when one arrived since the last call, else
    // null. The pointer stays valid until the next Take.
    const uint32_t* Take();
    // Consumer: the frame taken last (null before the first), to show again.
    const uint32_t* Last() const;

    // Called by Put after a frame is in (the window layer wakes the main
    // thread with it). Only once until the consumer takes the frame.
    void SetNotify(std::function<void()> notify);

    // Frames put / frames dropped unseen (for tests and benchmarks).
    uint64_t PutCount() const { return m_nPut.load(); }

private:
    static constexpr uint32_t kNewBit = 4;
    std::vector<uint32_t> m_buffers[3];
    int m_nWrite = 0;             // producer's buffer
    int m_nRead = 1;              // consumer's buffer
    std::atomic<uint32_t> m_nReady{2};  // middle buffer index | kNewBit
    bool m_bHasFrame = false;     // consumer side
    std::atomic<bool> m_bNotified{false};
    std::atomic<uint64_t> m_nPut{0};
    std::function<void()> m_notify;
    std::atomic<bool> m_bNotifySet{false};
};

// The program's mailbox between the game side and the window.
cFrameMailbox& FrameMailbox();

}  // namespace platform
