#include "play/cell_words.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "play/state_hasher.h"
#include "play/map_cell.h"
#include "play/map_cell_log.h"

namespace {

uint64_t LatchWord(const cMapCell& cell) { return static_cast<uint64_t>(static_cast<int64_t>(cell.m_nLatch)); }

void AppendCell(const cMapCell& cell, std::vector<uint64_t>& out) {
    cStateHasher h(out);
    HashFields(h, static_cast<const cEdBlock&>(cell));
    h.Add(cell.m_nLatch);
}

class cCellWordsCache {
public:
    std::shared_ptr<const cCellWords> Current() {
        const size_t n = g_vMapCells.size();
        const bool sameMap = m_words && m_data == g_vMapCells.data() && m_size == n;
        if (!sameMap || !g_MapCellLog.ChangedSince(m_serial, m_changed) || !Update()) m_words = Read();
#ifdef TOVARO_CELL_WORDS_CHECK
        // A block written without the log would leave its old words here.
        if (++m_nChecks % 16 == 0 && Read()->words != m_words->words) {
            std::fprintf(stderr, "a map cell's block changed without SetMapCellBlock (play/map_cell_log.h)\n");
            std::abort();
        }
#endif
        m_serial = g_MapCellLog.Serial();
        m_data = g_vMapCells.data();
        m_size = n;
        return m_words;
    }

private:
    static std::shared_ptr<cCellWords> Read() {
        auto fresh = std::make_shared<cCellWords>();
        fresh->cellStart.reserve(g_vMapCells.size() + 1);
        for (const cMapCell& cell : g_vMapCells) {
            fresh->cellStart.push_back(fresh->words.size());
            AppendCell(cell, fresh->words);
        }
        fresh->cellStart.push_back(fresh->words.size());
        return fresh;
    }
    // The logged cells read again and the latches compared; false when a
    // cell's words changed in number (the list is then read whole).
    bool Update() {
        cCellWords* own = nullptr;
        auto writable = [&]() -> cCellWords& {
            if (!own) {
                if (m_words.use_count() > 1) m_words = std::make_shared<cCellWords>(*m_words);
                own = m_words.get();  // held by this cache alone now
            }
            return *own;
        };
        std::vector<uint64_t> cellWords;
        for (size_t index : m_changed) {
            if (index >= g_vMapCells.size()) return false;
            cellWords.clear();
            AppendCell(g_vMapCells[index], cellWords);
            const size_t begin = m_words->cellStart[index], end = m_words->cellStart[index + 1];
            if (end - begin != cellWords.size()) return false;
            if (!std::equal(cellWords.begin(), cellWords.end(), m_words->words.begin() + long(begin)))
                std::copy(cellWords.begin(), cellWords.end(), writable().words.begin() + long(begin));
        }
        const std::vector<size_t>& starts = m_words->cellStart;
        for (size_t i = 0; i < g_vMapCells.size(); ++i) {
            const uint64_t latch = LatchWord(g_vMapCells[i]);
            if (m_words->words[starts[i + 1] - 1] != latch) writable().words[starts[i + 1] - 1] = latch;
        }
        return true;
    }

    std::shared_ptr<cCellWords> m_words;
    const cMapCell* m_data = nullptr;
    size_t m_size = 0;
    uint64_t m_serial = 0;
    std::vector<size_t> m_changed;
#ifdef TOVARO_CELL_WORDS_CHECK
    unsigned m_nChecks = 0;
#endif
};

cCellWordsCache g_CellWordsCache;

}  // namespace

std::shared_ptr<const cCellWords> CurrentCellWords() { return g_CellWordsCache.Current(); }
