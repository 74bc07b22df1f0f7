// Palette numbers of colours: the first palette entry of each colour key,
// gathered once per palette so that a picture's pixels are looked up instead
// of compared with all 256 entries one by one.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace gfx {

class cPaletteLookup {
public:
    // keys[i] is entry i's colour key; an entry whose key an earlier entry
    // already has is never found (the first one wins).
    explicit cPaletteLookup(const std::array<uint32_t, 256>& keys);
    // The first entry with this key; 0 when none has it (callers that tell
    // "no entry" from entry 0 check Has).
    uint8_t Find(uint32_t key) const {
        uint32_t s = Slot(key);
        // Sparse enough that the first slot nearly always decides; the
        // choice between hit and miss is then made without a branch.
        while (!((m_key[s] == key) | (m_index[s] == kEmpty))) s = (s + 1) & kMask;
        return (m_key[s] == key) & (m_index[s] != kEmpty) ? uint8_t(m_index[s]) : uint8_t(0);
    }
    bool Has(uint32_t key) const {
        for (uint32_t s = Slot(key);; s = (s + 1) & kMask) {
            if (m_index[s] == kEmpty) return false;
            if (m_key[s] == key) return true;
        }
    }

private:
    static constexpr uint32_t kSlots = 4096, kMask = kSlots - 1;  // at most one in sixteen used
    static constexpr uint16_t kEmpty = 0xFFFF;
    static uint32_t Slot(uint32_t key) { return (key * 0x9E3779B1u) >> 20; }

    std::array<uint32_t, kSlots> m_key{};
    std::array<uint16_t, kSlots> m_index{};
};

}  // namespace gfx
