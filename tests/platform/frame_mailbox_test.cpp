#include "platform/frame_mailbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {
using platform::cFrameMailbox;
constexpr size_t kPixels = static_cast<size_t>(cFrameMailbox::kWidth) * cFrameMailbox::kHeight;

std::vector<uint32_t> Frame(uint32_t v) { return std::vector<uint32_t>(kPixels, v); }
}  // namespace

TEST(FrameMailbox, NewestFrameWinsAndTheLastOneCanBeShownAgain) {
    cFrameMailbox box;
    EXPECT_EQ(box.Take(), nullptr);
    EXPECT_EQ(box.Last(), nullptr);
    box.Put(Frame(1).data(), 640 * 4);
    box.Put(Frame(2).data(), 640 * 4);
    box.Put(Frame(3).data(), 640 * 4);
    const uint32_t* f = box.Take();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f[0], 3u);
    EXPECT_EQ(f[kPixels - 1], 3u);
    EXPECT_EQ(box.Take(), nullptr);  // nothing new
    EXPECT_EQ(box.Last()[0], 3u);
    box.Put(Frame(4).data(), 640 * 4);
    EXPECT_EQ(box.Take()[0], 4u);
    EXPECT_EQ(box.PutCount(), 4u);
}

TEST(FrameMailbox, CopiesRowsOfAWiderPitch) {
    cFrameMailbox box;
    std::vector<uint32_t> src(static_cast<size_t>(700) * 480, 0xDEAD);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) src[static_cast<size_t>(y) * 700 + x] = static_cast<uint32_t>(y * 1000 + x);
    box.Put(src.data(), 700 * 4);
    const uint32_t* f = box.Take();
    EXPECT_EQ(f[0], 0u);
    EXPECT_EQ(f[639], 639u);
    EXPECT_EQ(f[640], 1000u);
    EXPECT_EQ(f[kPixels - 1], 479u * 1000 + 639);
}

TEST(FrameMailbox, NotifiesOnceUntilTheFrameIsTaken) {
    cFrameMailbox box;
    int notes = 0;
    box.SetNotify([&] { notes += 1; });
    box.Put(Frame(1).data(), 640 * 4);
    box.Put(Frame(2).data(), 640 * 4);
    EXPECT_EQ(notes, 1);
    box.Take();
    box.Put(Frame(3).data(), 640 * 4);
    EXPECT_EQ(notes, 2);
}

TEST(FrameMailbox, ThreadedHandOffNeverTearsOrGoesBack) {
    cFrameMailbox box;
    std::atomic<bool> done{false};
    std::thread producer([&] {
        std::vector<uint32_t> f(kPixels);
        for (uint32_t v = 1; v <= 300; ++v) {
            std::fill(f.begin(), f.end(), v);
            box.Put(f.data(), 640 * 4);
        }
        done = true;
    });
    uint32_t last = 0;
    int torn = 0, back = 0;
    for (;;) {
        bool finished = done.load();
        if (const uint32_t* p = box.Take()) {
            if (p[0] != p[kPixels / 2] || p[0] != p[kPixels - 1]) torn += 1;
            if (p[0] < last) back += 1;
            last = p[0];
        } else if (finished) {
            break;
        }
    }
    producer.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(back, 0);
    EXPECT_EQ(last, 300u);
}
