// The word mixing of the play-state hash and the passes that feed it: a
// hasher mixes each word into its value at once, or keeps the words in a
// list to be mixed later (the map cells' words are kept between frames, the
// objects' words of a batch of frames are mixed together).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <type_traits>
#include <vector>

#include "records/data_record.h"

inline constexpr uint64_t kStateHashStart = 0xCBF29CE484222325ull;

// Order-sensitive mixing of one 64-bit word.
inline uint64_t StateHashMix(uint64_t h, uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
    return h;
}

// Each of the chains h[0 .. lanes) mixes the same `count` words in order:
// what StateHashMix word by word gives each chain, the chains side by side.
void StateHashMixLanes(uint64_t* h, size_t lanes, const uint64_t* words, size_t count);
// Chain h[j] mixes the `count` words from words[j] on, for j in [0, lanes).
void StateHashMixStreams(uint64_t* h, size_t lanes, const uint64_t* const* words, size_t count);

class cStateHasher {
public:
    explicit cStateHasher(uint64_t start = kStateHashStart) : m_h(start) {}
    // Words go to `record` instead of being mixed.
    explicit cStateHasher(std::vector<uint64_t>& record) : m_record(&record) {}

    __attribute__((always_inline)) void Word(uint64_t v) {
        if (m_record) m_record->push_back(v);
        else m_h = StateHashMix(m_h, v);
    }
    template <class T>
    void Add(const T& v) {
        if constexpr (std::is_enum_v<T>) {
            Word(static_cast<uint64_t>(static_cast<std::underlying_type_t<T>>(v)));
        } else if constexpr (std::is_floating_point_v<T>) {
            const double d = v;
            uint64_t bits;
            std::memcpy(&bits, &d, 8);
            Word(bits);
        } else if constexpr (std::is_arithmetic_v<T>) {
            Word(static_cast<uint64_t>(v));
        } else if constexpr (std::is_array_v<T>) {
            for (const auto& e : v) Add(e);
        } else {
            for (const auto& e : v) Add(e);  // std::array and vectors of values
            Word(static_cast<uint64_t>(std::size(v)));
        }
    }
    void Add(const std::string& s) {
        Word(s.size());
        for (unsigned char c : s) Word(c);
    }
    uint64_t Value() const { return m_h; }

private:
    uint64_t m_h = kStateHashStart;
    std::vector<uint64_t>* m_record = nullptr;
};

// The registered fields, strings and value vectors of a definition record;
// its vectors of sub-records and optional parts (conditions, flows,
// commands) are what play never changes and are left out.
class cFieldHashPass {
public:
    explicit cFieldHashPass(cStateHasher& h) : m_h(h) {}
    uint32_t Version() const { return kDataVersion; }
    bool Since(uint32_t n) const { return kDataVersion >= n; }
    bool Above(uint32_t n) const { return kDataVersion > n; }
    bool Below(uint32_t n) const { return kDataVersion < n; }
    template <class T>
    void Field(const char*, T& v) {
        m_h.Add(v);
    }
    void Dropped(const char*, int, int = 1) {}
    void String(const char*, std::string& s) { m_h.Add(s); }
    template <class T>
    void Vector(const char*, std::vector<T>& v, VectorRule = VectorRule::Replace) {
        if constexpr (std::is_arithmetic_v<T>) m_h.Add(v);
        if constexpr (std::is_same_v<T, std::string>)
            for (const std::string& s : v) m_h.Add(s);
    }
    template <class T>
    void Record(const char*, T& r) {
        r.Fields(*this);
    }
    template <class T>
    void Raw(const char*, T& v) {
        m_h.Add(v);
    }
    template <class T>
    void Holder(const char*, cPartHolder<T>& p) {
        m_h.Add(static_cast<int>(static_cast<bool>(p)));
    }

private:
    cStateHasher& m_h;
};

template <class R>
void HashFields(cStateHasher& h, const R& record) {
    cFieldHashPass pass(h);
    const_cast<R&>(record).Fields(pass);  // Fields only reads in this pass
}
