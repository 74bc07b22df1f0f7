// A 64-bit hash of what the play decisions read, taken after every frame of
// play: two runs of a replay that agree frame for frame have equal hashes.
// It covers the objects in list order (the hero, the charas, the items, the
// shots; doubles by their bits, references by the key of what they point
// at), the map cells with their latch, the scroll axes, the stage variables
// and switches, the time, the frame count, the frame-skip count, the
// progress's counters and common variables, the game thread's generator,
// and input record 0's words, rings and key channels. Left out, as nothing
// that plays reads them: effects, pictures, windows, the screen effect and
// colour, gauge timers, background offsets, the hold flag, and input record
// 0's key repeat (shift register and counters) and trigger latch. Definitions' flows and conditions
// are not hashed: play never changes them.
//
// The cells come between what the scene holds and the objects; they change
// rarely, so their words are kept from frame to frame (cell_words.h), and a
// batch of frames that saw the same cells mixes them for all its frames side
// by side. The values are those of hashing each frame alone.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class cScenePlay;
struct cCellWords;

uint64_t PlayStateHash(const cScenePlay& scene);

// The hashes of many frames, taken after each and finished together.
class cStateHashBatch {
public:
    cStateHashBatch();
    ~cStateHashBatch();
    cStateHashBatch(const cStateHashBatch&) = delete;
    cStateHashBatch& operator=(const cStateHashBatch&) = delete;

    // Takes this frame's state (what Finish needs of it is kept).
    void Add(const cScenePlay& scene);
    size_t Pending() const { return m_frames.size(); }
    // Appends the hashes of the frames taken, in order, and starts over.
    void Finish(std::vector<uint64_t>& out);

private:
    static constexpr size_t kLanes = 32;
    struct Frame {
        size_t before[2] = {};  // the words before the cells: [begin, end) of m_words
        std::shared_ptr<const cCellWords> cells;
        size_t after[2] = {};  // the objects' words
    };
    using Part = size_t[2];
    void MixParts(uint64_t* lanes, size_t first, size_t n, Part Frame::*part) const;

    std::vector<Frame> m_frames;
    std::vector<uint64_t> m_words;
};
