// Helpers for the block, chara and item definition tests: every registered
// field changed from its default, a member-by-member view of a record (from
// its dump), and contexts over small palettes.
#pragma once
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "records/ed_block.h"
#include "records/ed_chara.h"
#include "records/ed_item.h"
#include "records/palette_inherit.h"

namespace def_test {

// Bytes as spaced hex, for readable failures.
inline std::string HexOf(const std::vector<uint8_t>& b) {
    static const char* d = "0123456789abcdef";
    std::string s;
    for (size_t i = 0; i < b.size(); ++i) {
        if (i) s += ' ';
        s += d[b[i] >> 4];
        s += d[b[i] & 15];
    }
    return s;
}

// Visits a record's field list and moves every field away from its value
// (by 7) and every string to "src"; raw members and parts are left alone.
class Scrambler : public record_detail::Gate {
public:
    Scrambler() : Gate(kDataVersion) {}
    template <class T>
    void Field(const char*, T& m) {
        m = static_cast<T>(m + 7);
    }
    void Dropped(const char*, int, int = 1) {}
    void String(const char*, std::string& s) { s = "src"; }
    template <class T>
    void Vector(const char*, std::vector<T>&, VectorRule = VectorRule::Replace) {}
    template <class T>
    void Record(const char*, T&) {}
    template <class T>
    void Raw(const char*, T&) {}
    template <class T>
    void Holder(const char*, cPartHolder<T>&) {}
};

template <class Def>
void ScrambleFields(Def& d) {
    Scrambler s;
    d.Fields(s);
}

// Top-level members of a record's dump: name -> its text (nested lines
// included).
inline std::map<std::string, std::string> Members(cDataRecord& rec) {
    std::map<std::string, std::string> out;
    std::istringstream in(rec.DumpText());
    std::string line, key;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] != ' ') {
            key = line.substr(0, line.find_first_of(" :"));
            if (line.rfind("inherited groups", 0) == 0) key = "inherited groups";
        }
        out[key] += line + "\n";
    }
    return out;
}

// Names of the members whose dump differs.
inline std::set<std::string> Changed(cDataRecord& before, cDataRecord& after) {
    auto a = Members(before), b = Members(after);
    std::set<std::string> out;
    for (auto& [k, v] : b)
        if (a[k] != v) out.insert(k);
    for (auto& [k, v] : a)
        if (!b.count(k)) out.insert(k);
    return out;
}

inline void Put(cPaletteSet& set, const std::vector<cEdBlock>* p) { set.pBlocks = p; }
inline void Put(cPaletteSet& set, const std::vector<cEdChara>* p) { set.pCharas = p; }
inline void Put(cPaletteSet& set, const std::vector<cEdItem>* p) { set.pItems = p; }

// A context without database whose common and stage palettes of one class
// are the given vectors (others empty).
template <class Def>
cDefContext ContextOver(const std::vector<Def>* pCommon, const std::vector<Def>* pStage = nullptr) {
    cDefContext ctx;
    Put(ctx.common, pCommon);
    Put(ctx.stage, pStage);
    ctx.bDropTestPlayFlows = true;
    return ctx;
}

// For each group flag, the members it copies, against what is copied: a
// definition at its defaults referring to a source whose every member
// differs, with that one flag set.
template <class Def>
void CheckGroupTable(const std::vector<std::set<std::string>>& expected, Def src) {
    std::vector<Def> common(2);
    common[1] = src;
    const cDefContext ctx = ContextOver(&common);
    ASSERT_EQ(expected.size(), static_cast<size_t>(Def::kGroups));
    for (size_t g = 0; g < expected.size(); ++g) {
        Def d;
        d.m_nPaletteSource = PAL_COMMON;
        d.m_nPaletteIndex = 1;
        d.m_vecInherit.assign(Def::kGroups, 0);
        d.m_vecInherit[g] = 1;
        Def before = d;
        d.Inherit(ctx);
        std::set<std::string> changed = Changed(before, d);
        changed.erase("inherited groups");
        EXPECT_EQ(changed, expected[g]) << "group " << g;
    }
}

}  // namespace def_test
