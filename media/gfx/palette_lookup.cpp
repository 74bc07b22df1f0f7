#include "media/gfx/palette_lookup.h"

namespace gfx {

cPaletteLookup::cPaletteLookup(const std::array<uint32_t, 256>& keys) {
    m_index.fill(kEmpty);
    for (int i = 0; i < 256; ++i) {
        const uint32_t key = keys[std::size_t(i)];
        uint32_t s = Slot(key);
        while (m_index[s] != kEmpty && m_key[s] != key) s = (s + 1) & kMask;
        if (m_index[s] != kEmpty) continue;  // an earlier entry has this colour
        m_key[s] = key;
        m_index[s] = uint16_t(i);
    }
}

}  // namespace gfx
