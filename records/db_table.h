// Database tables as files, and the record vectors inside database records.
//
// A table file is the version word, an int32 record count n and n record
// bodies. A count of 0 or below keeps the records the table held; otherwise
// the table becomes n long (new places hold default records, records beyond n
// are dropped) and each record loads over what it held.
//
// A record with its own sub-records (frames, parts, entries) stores them as an
// int32 count and the bodies; the vector is emptied and refilled, and a
// negative count stands for none.
//
// Every count is checked against the bytes left before anything is made: a
// record body takes at least kMinBodyBytes (its two counts, plus four for a
// class with a sub-record count).
#pragma once
#include <cinttypes>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/checked_vector.h"
#include "records/data_record.h"

template <class T>
constexpr size_t DbMinBodyBytes() {
    if constexpr (requires { T::kMinBodyBytes; })
        return T::kMinBodyBytes;
    else
        return 8;
}

namespace db_detail {

// Reads a count and checks that n bodies of at least nMinBytes can follow.
inline int32_t ReadBoundedCount(cByteReader& r, size_t nMinBytes, const char* what) {
    const int32_t n = r.ReadInt32(what);
    if (!r.ok() || n <= 0) return n;
    if (static_cast<uint64_t>(n) * nMinBytes > r.Left()) {
        r.Failf("%s %" PRId32 " where only %zu bytes are left", what, n, r.Left());
        return 0;
    }
    return n;
}

}  // namespace db_detail

// Sub-records of a record: emptied, then refilled from the file.
template <class T>
bool LoadDbSubRecords(cByteReader& r, const cLoadContext& ctx, std::vector<T>& v, const char* what) {
    int32_t n = db_detail::ReadBoundedCount(r, DbMinBodyBytes<T>(), what);
    if (!r.ok()) return false;
    if (n < 0) n = 0;
    v.clear();
    v.reserve(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        v.emplace_back();
        if (!v.back().Load(r, ctx)) return false;
    }
    return true;
}

// The body of a table file (after the version word). A class may adjust the
// whole table afterwards with a static OnTableLoaded(vector, context).
template <class T>
bool LoadDbTable(cByteReader& r, const cLoadContext& ctx, std::vector<T>& v) {
    const int32_t n = db_detail::ReadBoundedCount(r, DbMinBodyBytes<T>(), "record count");
    if (!r.ok()) return false;
    if (n > 0) {
        for (int32_t i = 0; i < n; ++i) {
            const size_t at = static_cast<size_t>(i);
            if (at >= v.size()) v.emplace_back();
            if (!v[at].Load(r, ctx)) return false;
        }
        if (v.size() > static_cast<size_t>(n)) v.erase(v.begin() + n, v.end());
    }
    if constexpr (requires { T::OnTableLoaded(v, ctx); }) T::OnTableLoaded(v, ctx);
    return r.ok();
}

// One table file as a record of its own, for the data tool and the loader.
// Loading commits only a complete file (the framework loads into a copy).
// The members are defined out of the class so that the ten tables compile
// them once (records/database.cpp).
template <class T>
class cDbTableFile : public cDataRecord {
public:
    cCheckedVector<T> m_vecRecords;

    bool Load(cByteReader& r, const cLoadContext& ctx) override;
    void SaveAs(cByteWriter& w, uint32_t nVersion) override;
    void Clear() override {}
    void StripCR() override;
    void CopyFields(const cDataRecord&) override {}
    void Dump(cDumper& d) override;
    int FieldCount(uint32_t) override { return 0; }
    int FieldBytes(uint32_t) override { return 0; }
    int StringCount(uint32_t) override { return 0; }
    size_t BodySize(uint32_t nVersion) override;
    std::unique_ptr<cDataRecord> CloneRecord() const override;
    void AssignRecord(cDataRecord&& from) override;
};

template <class T>
bool cDbTableFile<T>::Load(cByteReader& r, const cLoadContext& ctx) {
    return LoadDbTable(r, ctx, m_vecRecords);
}

template <class T>
void cDbTableFile<T>::SaveAs(cByteWriter& w, uint32_t nVersion) {
    SaveRecordVector(w, nVersion, m_vecRecords);
}

template <class T>
void cDbTableFile<T>::StripCR() {
    for (T& e : m_vecRecords) e.StripCR();
}

template <class T>
void cDbTableFile<T>::Dump(cDumper& d) {
    DumpRecordVector(d, "records", m_vecRecords);
}

template <class T>
size_t cDbTableFile<T>::BodySize(uint32_t nVersion) {
    cByteWriter w = cByteWriter::Counter();
    SaveAs(w, nVersion);
    return w.Size();
}

template <class T>
std::unique_ptr<cDataRecord> cDbTableFile<T>::CloneRecord() const {
    return std::make_unique<cDbTableFile>(*this);
}

template <class T>
void cDbTableFile<T>::AssignRecord(cDataRecord&& from) {
    *this = std::move(dynamic_cast<cDbTableFile&>(from));
}
