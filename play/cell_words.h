// The map cells' part of the play-state hash as a list of words, kept from
// frame to frame: a cell whose block changed (through the map's one write
// path, play/map_cell_log.h) is read again, the latches are compared every
// frame, and a map made anew is read whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct cCellWords {
    std::vector<uint64_t> words;     // every cell's words in map order, each ending with its latch
    std::vector<size_t> cellStart;   // cell i's words are [cellStart[i], cellStart[i + 1])
};

// Test builds (the sanitized ones) read the whole map again now and then
// and stop the program when a block was written past the map's write path.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TOVARO_CELL_WORDS_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define TOVARO_CELL_WORDS_CHECK 1
#endif
#endif

// The words of g_vMapCells as they stand. A list handed out earlier is never
// changed afterwards (a change makes a new one).
std::shared_ptr<const cCellWords> CurrentCellWords();
