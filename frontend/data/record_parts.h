// Own parts of the player's records that follow rules of their own:
//  - an int vector whose stored count is 0 or less keeps what the record
//    held before the load;
//  - a record vector holds exactly the records read (a count of 0 or less
//    leaves it empty).
// Counts are checked against the bytes left before anything is allocated.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "records/data_record.h"

namespace player_parts {

// int32 count, then count int32. Count <= 0: the vector is left as it is.
inline bool ReadIntVectorKeep(cByteReader& r, std::vector<int32_t>& v, const char* name) {
    const int32_t n = r.ReadInt32(name);
    if (!r.ok()) return false;
    if (n <= 0) return true;
    if (static_cast<uint64_t>(n) * 4 > r.Left())
        return r.Failf("bad count %d of %s (%zu bytes left)", n, name, r.Left());
    v.assign(static_cast<size_t>(n), 0);
    return r.ReadBytes(v.data(), static_cast<size_t>(n) * 4, name);
}

inline void WriteIntVector(cByteWriter& w, const std::vector<int32_t>& v) {
    w.WriteInt32(static_cast<int32_t>(v.size()));
    if (!v.empty()) w.WriteBytes(v.data(), v.size() * 4);
}

// int32 count, then each record's body. Every body holds at least its two
// counts, so a count beyond the bytes left / 8 is refused at once; the
// vector grows with the records actually read.
template <class T>
bool ReadRecordVector(cByteReader& r, const cLoadContext& ctx, std::vector<T>& v, const char* name) {
    const int32_t n = r.ReadInt32(name);
    if (!r.ok()) return false;
    v.clear();
    if (n <= 0) return true;
    if (static_cast<uint64_t>(n) * 8 > r.Left())
        return r.Failf("bad count %d of %s (%zu bytes left)", n, name, r.Left());
    v.reserve(static_cast<size_t>(n < 1024 ? n : 1024));
    for (int32_t i = 0; i < n; ++i) {
        v.emplace_back();
        if (!v.back().Load(r, ctx)) {
            if (r.ok()) r.Failf("bad element %d of %s", i, name);
            return false;
        }
    }
    return true;
}

template <class T>
void WriteRecordVector(cByteWriter& w, std::vector<T>& v, uint32_t nVersion) {
    w.WriteInt32(static_cast<int32_t>(v.size()));
    for (T& e : v) e.SaveAs(w, nVersion);
}

inline void DumpIntVector(cDumper& d, const std::string& name, const std::vector<int32_t>& v) {
    std::string s = "[";
    for (size_t i = 0; i < v.size(); ++i) {
        if (i) s += ", ";
        s += std::to_string(v[i]);
    }
    d.Line(name + " (" + std::to_string(v.size()) + ")", s + "]");
}

template <class T>
void DumpRecordVector(cDumper& d, const std::string& name, std::vector<T>& v) {
    d.Open(name + " (" + std::to_string(v.size()) + ")");
    for (size_t i = 0; i < v.size(); ++i) {
        d.Open("[" + std::to_string(i) + "]");
        v[i].Dump(d);
        d.Close();
    }
    d.Close();
}

}  // namespace player_parts
