// Versioned data records: the framework under every data file.
//
// A data file is a 4-byte format version (little-endian, unsigned; this
// program writes 1000 and refuses anything higher) followed by the body of
// its top record. A record body is
//   int32 field count, the fields raw in file order,
//   int32 string count, each string as int32 (length + 1) then the text and
//   its NUL (an empty string is the int32 1 alone),
//   then the record's own parts (vectors of sub-records, byte vectors, ...).
//
// HOW A RECORD DESCRIBES ITSELF
// -----------------------------
// A record class derives from cRecord<itself> and lists its persistent
// members ONCE, in file order, with their version gates, in a template
// member Fields(). Reading, writing, counting, clearing, copying, CR
// stripping and the field-named dump are all derived from that list:
//
//   class cExample : public cRecord<cExample> {
//   public:
//       int8_t m_nKind = 0;
//       int32_t m_nValue = 0;
//       int16_t m_anParam[3] = {};          // one field with a count of 3
//       double m_dFactor = 1.0;
//       std::string m_strName;              // CP932 bytes, never transcoded
//       std::vector<cCond> m_vecCond;       // int32 count + each body
//       std::vector<uint8_t> m_vecKey;      // int32 count + raw bytes
//       cPartHolder<cEdMove> m_Move;        // int32 presence flag + body
//
//       template <class F> void Fields(F& f) {
//           f.Field("m_nKind", m_nKind);                  // every version
//           f.Field("m_nValue", m_nValue);
//           if (f.Below(110)) f.Dropped("(old pair)", 2, 2);  // 2 x int16 read and dropped
//           if (f.Since(110)) f.Field("m_anParam", m_anParam);   // version >= 110
//           if (f.Above(500)) f.Field("m_dFactor", m_dFactor);   // version > 500
//           f.String("m_strName", m_strName);
//           // own parts, after the base body, in this order:
//           if (f.Since(766)) f.Vector("m_vecCond", m_vecCond);
//           f.Vector("m_vecKey", m_vecKey);
//           f.Holder("m_Move", m_Move);
//       }
//
//       // Optional hooks (public; the defaults do nothing):
//       void OnLoaded(const cLoadContext& ctx) {     // upgrade steps, in order
//           if (ctx.Below(160) && m_nKind >= 5) m_nKind += 2;
//       }
//       void OnSaving() {}                           // e.g. normalise before a save
//       bool LoadExtra(cByteReader&, const cLoadContext&) { return true; }  // odd parts
//       void SaveExtra(cByteWriter&, uint32_t nVersion) {}
//       void DumpExtra(cDumper&) {}
//       int FieldCountSlack(uint32_t nVersion) const { return 0; }  // see Load
//   };
//
// Gates compare versions unsigned: Since(N) is version >= N, Above(N) is
// version > N, Below(N) is version < N. Field() takes one arithmetic value
// (int8..int64, uint8..uint64, float, double, an enum; not bool) or a fixed
// array of them (C array or std::array), which is one field with a count.
// Several consecutive fields registered one by one (each with its own gate)
// are simply several Field() calls. Vector() takes std::vector (or
// cCheckedVector) of arithmetic values, of std::string, or of records, and
// makes the member what was stored (Vector(name, v, VectorRule::KeepIfNone):
// a stored count of 0 leaves the member alone);
// Record() embeds one sub-record body; Raw() writes one value raw after the
// base body; Holder() an optional part. Members a version lacks are not read
// and keep what they held before the load.
//
// Records are values: copy construction and assignment copy every member
// (the holders deep-copy their parts). New records hold their defaults from
// the constructor (in-class initialisers); Clear() zeroes the registered
// fields and empties the registered strings of the current version and
// leaves vectors alone.
//
// LOADING
// -------
// LoadFile() reads the file whole, checks the version word (setting
// g_nFileVersion and g_bFileTooNew), loads into a copy of the record and
// commits it only when the whole body was good; on any failure the record
// keeps what it had and LastDataFileError() says why. A field or string count
// above what the class registers for the file's version, a negative count,
// a count or length beyond the bytes left, and a truncated body are failures.
// FieldCountSlack(v) lets a class accept that many extra stored fields (for
// a fixed array that old writers counted element by element).
// Sub-records are read with Load(reader, context); the context carries the
// file's version, so nested loads never depend on the global.
//
// NOTES FOR RECORD CLASSES
// - Derive directly from cRecord<Self>; share a group of fields between
//   classes through a sub-record or a template helper called from Fields().
// - Compile the passes once: after the class in its header,
//   `extern template class cRecord<cExample>;`, and in its .cpp
//   `template class cRecord<cExample>;`. Without the pair (a record local to
//   a test) every unit that uses the record compiles them again.
// - Fields() and the hooks must be public. Fields() is not const: saving may
//   normalise members (OnSaving) and cuts strings at a NUL.
// - Vector elements of records are default-constructed before they load, so
//   the constructor's defaults are what an old file's missing members keep.
// - Parts the list cannot express (a count of 0 that keeps the old vector,
//   a part between other parts with its own rules) go into LoadExtra /
//   SaveExtra / DumpExtra, which run after the listed parts; use
//   cByteReader::ReadCount / ReadString there, which check the bytes left.
// - An enum member needs a fixed underlying type (enum E : int8_t), since
//   any stored value may come back.
// - SaveExtra also runs on a counting writer to size the output: write the
//   same bytes whatever the writer, and read nothing back from it.
// - A member an old format stored but the class no longer keeps:
//   if (f.Below(N)) f.Dropped("(name)", size, count).
// - Files with several records or raw values around them: cDataFileIn
//   (version word checked) and cDataFileOut (atomic commit).
// - Tests: tests/records/mutation.h runs any loader over thousands of
//   damaged variants of a valid file.
#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "records/byte_stream.h"

// ---------------------------------------------------------------------------
// Version state

inline constexpr uint32_t kDataVersion = 1000;

// The program's format version; every file is written with it.
extern uint32_t g_nDataVersion;
// Version word of the data file last opened for reading.
extern uint32_t g_nFileVersion;
// 1 when the last open for reading was refused because the file is newer.
extern int32_t g_bFileTooNew;
// When set, strings lose their CR characters as records load (start-up sets it).
extern int32_t g_bStripCR;

// What a load passes down to every sub-record.
struct cLoadContext {
    uint32_t nVersion = kDataVersion;  // format version of the file being read
    bool bStripCR = false;

    bool Since(uint32_t n) const { return nVersion >= n; }
    bool Above(uint32_t n) const { return nVersion > n; }
    bool Below(uint32_t n) const { return nVersion < n; }
    // The context of a file of the given version under the current settings.
    static cLoadContext ForVersion(uint32_t nVersion) { return {nVersion, g_bStripCR != 0}; }
};

// ---------------------------------------------------------------------------
// Field-named dump

class cDumper {
public:
    void Line(std::string_view name, std::string_view value);
    void Open(std::string_view name);  // a nested block: name, then indented lines
    void Close();
    std::string& Text() { return m_strText; }

private:
    std::string m_strText;
    int m_nIndent = 0;
};

// Dump texts of values (strings are shown as UTF-8 in quotes).
std::string DumpValue(int64_t v);
std::string DumpValue(uint64_t v);
std::string DumpValue(double v);
std::string DumpString(std::string_view cp932);

// ---------------------------------------------------------------------------
// The record base

class cDataRecord {
public:
    cDataRecord() = default;
    cDataRecord(const cDataRecord&) = default;
    cDataRecord(cDataRecord&&) = default;
    cDataRecord& operator=(const cDataRecord&) = default;
    cDataRecord& operator=(cDataRecord&&) = default;
    virtual ~cDataRecord() = default;

    // Reads this record's body. False when the body is bad; the reader then
    // holds the reason and the record may be half read (load a copy).
    virtual bool Load(cByteReader& r, const cLoadContext& ctx) = 0;
    // Writes the body at the current version (g_nDataVersion).
    void Save(cByteWriter& w) { SaveAs(w, g_nDataVersion); }
    // Writes the body in the layout of the given version (tests write old
    // files with it; upgrades are not undone).
    virtual void SaveAs(cByteWriter& w, uint32_t nVersion) = 0;

    // Registered fields of the current version to 0, strings to "".
    virtual void Clear() = 0;
    // Removes every CR from the registered strings.
    virtual void StripCR() = 0;
    // Copies the registered fields and strings (not the parts) of a record of
    // the same class.
    virtual void CopyFields(const cDataRecord& src) = 0;
    virtual void Dump(cDumper& d) = 0;

    // Counts from the field list, for a version.
    virtual int FieldCount(uint32_t nVersion) = 0;
    virtual int FieldBytes(uint32_t nVersion) = 0;
    virtual int StringCount(uint32_t nVersion) = 0;
    // Bytes of the body SaveAs would write for that version.
    virtual size_t BodySize(uint32_t nVersion) = 0;

    virtual std::unique_ptr<cDataRecord> CloneRecord() const = 0;
    // Takes over a record of the same class (the commit of a load).
    virtual void AssignRecord(cDataRecord&& from) = 0;

    // Whole files. LoadFile/LoadBytes commit only a complete, valid load.
    bool LoadFile(std::string_view cp932Path);
    // Reads a file as far as it goes: a body that breaks off is kept as far
    // as it was read, over a new record, with the record's upgrades run on
    // it. NotRead (the record unchanged) when the file cannot be opened or
    // its version word is refused. A file that exists and was not read
    // whole is noted as damaged (records/damaged_files.h); the reason is in
    // LastDataFileError().
    enum class FileRead { NotRead, Whole, Partly };
    FileRead LoadFileAsFarAsItGoes(std::string_view cp932Path);
    // For the load above: a new record of the same class, and the steps that
    // end a load (the upgrades), run on a record that was read in part.
    virtual std::unique_ptr<cDataRecord> FreshRecord() const { return CloneRecord(); }
    virtual void FinishPartialLoad(const cLoadContext&) {}
    bool LoadBytes(std::span<const uint8_t> file, std::string_view name);
    // False while g_bQuit is set or when the file cannot be written; the old
    // file is replaced only by a complete new one.
    bool SaveFile(std::string_view cp932Path);
    std::vector<uint8_t> SaveBytes() { return SaveBytesAs(g_nDataVersion); }
    std::vector<uint8_t> SaveBytesAs(uint32_t nVersion);  // version word + body
    std::string DumpText();
};

// Why the last load of a data file failed (one line, naming the file).
const std::string& LastDataFileError();
void SetLastDataFileError(std::string text);

// The error report for a data file that could not be read: report file,
// debug log and an error box, with the file name; the second sentence
// when the file is newer than this program. The reason of the failure goes
// to the report file as one more line.
void ReportDataFileLoadFailure(std::string_view name);

// ---------------------------------------------------------------------------
// Files with more than one record or raw parts around them.

// Reads a whole data file and checks its version word: sets g_nFileVersion,
// and g_bFileTooNew (left alone when the file cannot be read).
class cDataFileIn {
public:
    bool Open(std::string_view cp932Path);
    bool OpenBytes(std::span<const uint8_t> file, std::string_view name);
    cByteReader& Reader() { return m_Reader; }
    const cLoadContext& Context() const { return m_Ctx; }
    uint32_t Version() const { return m_Ctx.nVersion; }
    // After reading: true when every read was good; otherwise the reader's
    // reason, with the file name, becomes LastDataFileError().
    bool Check();

private:
    std::string m_strName;
    std::vector<uint8_t> m_vecBytes;
    cByteReader m_Reader;
    cLoadContext m_Ctx;
};

// A writer that starts with the version word; Commit puts it on disk
// atomically (refused while g_bQuit is set).
class cDataFileOut {
public:
    explicit cDataFileOut(uint32_t nVersion = g_nDataVersion) { m_Writer.Write(nVersion); }
    cByteWriter& Writer() { return m_Writer; }
    bool Commit(std::string_view cp932Path);

private:
    cByteWriter m_Writer;
};

// ---------------------------------------------------------------------------
// Field list machinery (used by cRecord; a record class only writes Fields).

template <class T>
class cPartHolder;

// How a stored vector replaces the member: Replace makes it exactly what was
// stored; KeepIfNone leaves the member as it was when the stored count is 0.
enum class VectorRule { Replace, KeepIfNone };

namespace record_detail {

template <class T>
struct FieldTraits {
    static constexpr bool kValid =
        (std::is_arithmetic_v<T> && !std::is_same_v<T, bool>) || std::is_enum_v<T>;
    using Elem = T;
    static constexpr int kCount = 1;
};
template <class T, size_t N>
struct FieldTraits<T[N]> {
    static constexpr bool kValid = FieldTraits<T>::kValid;
    using Elem = T;
    static constexpr int kCount = static_cast<int>(N);
};
template <class T, size_t N>
struct FieldTraits<std::array<T, N>> {
    static constexpr bool kValid = FieldTraits<T>::kValid;
    using Elem = T;
    static constexpr int kCount = static_cast<int>(N);
};

template <class T>
inline constexpr bool kIsRecord = std::is_base_of_v<cDataRecord, T>;

template <class T>
std::string DumpOne(const T& v) {
    if constexpr (std::is_enum_v<T>) {
        return DumpOne(static_cast<std::underlying_type_t<T>>(v));
    } else if constexpr (std::is_floating_point_v<T>) {
        return DumpValue(static_cast<double>(v));
    } else if constexpr (std::is_signed_v<T>) {
        return DumpValue(static_cast<int64_t>(v));
    } else {
        return DumpValue(static_cast<uint64_t>(v));
    }
}

template <class T>
struct IsFixedArray : std::false_type {};
template <class T, size_t N>
struct IsFixedArray<T[N]> : std::true_type {};
template <class T, size_t N>
struct IsFixedArray<std::array<T, N>> : std::true_type {};

template <class T>
std::string DumpField(const T& v) {
    if constexpr (IsFixedArray<T>::value) {
        std::string s = "[";
        for (int i = 0; i < FieldTraits<T>::kCount; ++i) {
            if (i) s += ", ";
            s += DumpOne(v[i]);
        }
        return s + "]";
    } else {
        return DumpOne(v);
    }
}

// Base of every visitor: the gates and no-ops for what a pass ignores.
class Gate {
public:
    explicit Gate(uint32_t nVersion) : m_nVersion(nVersion) {}
    uint32_t Version() const { return m_nVersion; }
    bool Since(uint32_t n) const { return m_nVersion >= n; }
    bool Above(uint32_t n) const { return m_nVersion > n; }
    bool Below(uint32_t n) const { return m_nVersion < n; }

protected:
    uint32_t m_nVersion;
};

template <class T>
void CheckFieldType() {
    static_assert(FieldTraits<T>::kValid,
                  "Field() takes an arithmetic value (not bool), an enum, or a fixed array of them");
}

// Counts fields, their bytes and strings.
class CountPass : public Gate {
public:
    using Gate::Gate;
    int nFields = 0, nBytes = 0, nStrings = 0;
    template <class T>
    void Field(const char*, T&) {
        CheckFieldType<T>();
        ++nFields;
        nBytes += static_cast<int>(sizeof(T));
    }
    void Dropped(const char*, int nSize, int nCount = 1) {
        ++nFields;
        nBytes += nSize * nCount;
    }
    void String(const char*, std::string&) { ++nStrings; }
    template <class T>
    void Vector(const char*, std::vector<T>&, VectorRule = VectorRule::Replace) {}
    template <class T>
    void Record(const char*, T&) {}
    template <class T>
    void Raw(const char*, T&) {}
    template <class T>
    void Holder(const char*, cPartHolder<T>&) {}
};

// Reads the first n fields.
class FieldReadPass : public Gate {
public:
    FieldReadPass(uint32_t v, cByteReader& r, int32_t n) : Gate(v), m_r(r), m_nLeft(n) {}
    template <class T>
    void Field(const char* name, T& member) {
        if (m_nLeft <= 0) return;
        --m_nLeft;
        m_r.ReadFixed<sizeof(T)>(&member, name);
    }
    void Dropped(const char* name, int nSize, int nCount = 1) {
        if (m_nLeft <= 0) return;
        --m_nLeft;
        m_r.Skip(static_cast<size_t>(nSize) * static_cast<size_t>(nCount), name);
    }
    void String(const char*, std::string&) {}
    template <class T>
    void Vector(const char*, std::vector<T>&, VectorRule = VectorRule::Replace) {}
    template <class T>
    void Record(const char*, T&) {}
    template <class T>
    void Raw(const char*, T&) {}
    template <class T>
    void Holder(const char*, cPartHolder<T>&) {}

private:
    cByteReader& m_r;
    int32_t m_nLeft;
};

// Reads the first m strings.
class StringReadPass : public Gate {
public:
    StringReadPass(uint32_t v, cByteReader& r, int32_t m) : Gate(v), m_r(r), m_nLeft(m) {}
    template <class T>
    void Field(const char*, T&) {}
    void Dropped(const char*, int, int = 1) {}
    void String(const char* name, std::string& s) {
        if (m_nLeft <= 0) return;
        --m_nLeft;
        m_r.ReadString(s, name);
    }
    template <class T>
    void Vector(const char*, std::vector<T>&, VectorRule = VectorRule::Replace) {}
    template <class T>
    void Record(const char*, T&) {}
    template <class T>
    void Raw(const char*, T&) {}
    template <class T>
    void Holder(const char*, cPartHolder<T>&) {}

private:
    cByteReader& m_r;
    int32_t m_nLeft;
};

// Reads the own parts.
class PartReadPass : public Gate {
public:
    PartReadPass(cByteReader& r, const cLoadContext& ctx) : Gate(ctx.nVersion), m_r(r), m_ctx(ctx) {}
    template <class T>
    void Field(const char*, T&) {}
    void Dropped(const char*, int, int = 1) {}
    void String(const char*, std::string&) {}
    template <class T>
    void Vector(const char* name, std::vector<T>& v, VectorRule rule = VectorRule::Replace);
    template <class T>
    void Record(const char*, T& rec) {
        if (m_r.ok()) rec.Load(m_r, m_ctx);
    }
    template <class T>
    void Raw(const char* name, T& value) {
        CheckFieldType<T>();
        m_r.ReadBytes(&value, sizeof(T), name);
    }
    template <class T>
    void Holder(const char* name, cPartHolder<T>& h);

private:
    cByteReader& m_r;
    const cLoadContext& m_ctx;
};

class FieldWritePass : public Gate {
public:
    FieldWritePass(uint32_t v, cByteWriter& w) : Gate(v), m_w(w) {}
    template <class T>
    void Field(const char*, T& member) {
        m_w.WriteFixed<sizeof(T)>(&member);
    }
    void Dropped(const char*, int nSize, int nCount = 1) {
        m_w.WriteZeros(static_cast<size_t>(nSize) * static_cast<size_t>(nCount));
    }
    void String(const char*, std::string&) {}
    template <class T>
    void Vector(const char*, std::vector<T>&, VectorRule = VectorRule::Replace) {}
    template <class T>
    void Record(const char*, T&) {}
    template <class T>
    void Raw(const char*, T&) {}
    template <class T>
    void Holder(const char*, cPartHolder<T>&) {}

private:
    cByteWriter& m_w;
};

class StringWritePass : public Gate {
public:
    StringWritePass(uint32_t v, cByteWriter& w) : Gate(v), m_w(w) {}
    template <class T>
    void Field(const char*, T&) {}
    void Dropped(const char*, int, int = 1) {}
    void String(const char*, std::string& s);
    template <class T>
    void Vector(const char*, std::vector<T>&, VectorRule = VectorRule::Replace) {}
    template <class T>
    void Record(const char*, T&) {}
    template <class T>
    void Raw(const char*, T&) {}
    template <class T>
    void Holder(const char*, cPartHolder<T>&) {}

private:
    cByteWriter& m_w;
};

class PartWritePass : public Gate {
public:
    PartWritePass(uint32_t v, cByteWriter& w) : Gate(v), m_w(w) {}
    template <class T>
    void Field(const char*, T&) {}
    void Dropped(const char*, int, int = 1) {}
    void String(const char*, std::string&) {}
    template <class T>
    void Vector(const char*, std::vector<T>& v, VectorRule = VectorRule::Replace);
    template <class T>
    void Record(const char*, T& rec) {
        rec.SaveAs(m_w, m_nVersion);
    }
    template <class T>
    void Raw(const char*, T& value) {
        m_w.Write(value);
    }
    template <class T>
    void Holder(const char*, cPartHolder<T>& h);

private:
    cByteWriter& m_w;
};

// Zeroes fields, empties strings.
class ClearPass : public Gate {
public:
    using Gate::Gate;
    template <class T>
    void Field(const char*, T& member) {
        std::memset(static_cast<void*>(&member), 0, sizeof(T));
    }
    void Dropped(const char*, int, int = 1) {}
    void String(const char*, std::string& s) { s.clear(); }
    template <class T>
    void Vector(const char*, std::vector<T>&, VectorRule = VectorRule::Replace) {}
    template <class T>
    void Record(const char*, T&) {}
    template <class T>
    void Raw(const char*, T&) {}
    template <class T>
    void Holder(const char*, cPartHolder<T>&) {}
};

class StripCRPass : public Gate {
public:
    using Gate::Gate;
    template <class T>
    void Field(const char*, T&) {}
    void Dropped(const char*, int, int = 1) {}
    void String(const char*, std::string& s);
    template <class T>
    void Vector(const char*, std::vector<T>&, VectorRule = VectorRule::Replace) {}
    template <class T>
    void Record(const char*, T&) {}
    template <class T>
    void Raw(const char*, T&) {}
    template <class T>
    void Holder(const char*, cPartHolder<T>&) {}
};

// Adds up the bytes of a body (field and string counts included).
class SizePass : public Gate {
public:
    using Gate::Gate;
    size_t nBytes = 8;
    template <class T>
    void Field(const char*, T&) {
        nBytes += sizeof(T);
    }
    void Dropped(const char*, int nSize, int nCount = 1) {
        nBytes += static_cast<size_t>(nSize) * static_cast<size_t>(nCount);
    }
    void String(const char*, std::string& s) { nBytes += StoredSize(s); }
    template <class T>
    void Vector(const char*, std::vector<T>& v, VectorRule = VectorRule::Replace) {
        nBytes += 4;
        if constexpr (kIsRecord<T>) {
            for (auto& e : v) nBytes += e.BodySize(m_nVersion);
        } else if constexpr (std::is_same_v<T, std::string>) {
            for (auto& e : v) nBytes += StoredSize(e);
        } else {
            nBytes += sizeof(T) * v.size();
        }
    }
    template <class T>
    void Record(const char*, T& rec) {
        nBytes += rec.BodySize(m_nVersion);
    }
    template <class T>
    void Raw(const char*, T&) {
        nBytes += sizeof(T);
    }
    template <class T>
    void Holder(const char*, cPartHolder<T>& h);

private:
    static size_t StoredSize(const std::string& s) {
        const size_t len = std::strlen(s.c_str());
        return 4 + (len ? len + 1 : 0);
    }
};

// Dump in file order: phase 0 fields, 1 strings, 2 parts.
class DumpPass : public Gate {
public:
    DumpPass(uint32_t v, cDumper& d, int nPhase) : Gate(v), m_d(d), m_nPhase(nPhase) {}
    template <class T>
    void Field(const char* name, T& member) {
        if (m_nPhase == 0) m_d.Line(name, DumpField(member));
    }
    void Dropped(const char*, int, int = 1) {}
    void String(const char* name, std::string& s) {
        if (m_nPhase == 1) m_d.Line(name, DumpString(s));
    }
    template <class T>
    void Vector(const char* name, std::vector<T>& v, VectorRule rule = VectorRule::Replace);
    template <class T>
    void Record(const char* name, T& rec) {
        if (m_nPhase != 2) return;
        m_d.Open(name);
        rec.Dump(m_d);
        m_d.Close();
    }
    template <class T>
    void Raw(const char* name, T& value) {
        if (m_nPhase == 2) m_d.Line(name, DumpField(value));
    }
    template <class T>
    void Holder(const char* name, cPartHolder<T>& h);

private:
    cDumper& m_d;
    int m_nPhase;
};

}  // namespace record_detail

// ---------------------------------------------------------------------------
// The base that derives everything from Fields().
//
// The members are defined below, out of the class, so that a record whose
// header says `extern template class cRecord<cX>;` has them compiled once,
// in the unit that says `template class cRecord<cX>;` (its own .cpp), and
// not again in every unit that includes it.

template <class D>
class cRecord : public cDataRecord {
public:
    // Hooks; a record class hides the ones it needs with public members of
    // the same name.
    void OnLoaded(const cLoadContext&) {}
    void OnSaving() {}
    bool LoadExtra(cByteReader&, const cLoadContext&) { return true; }
    void SaveExtra(cByteWriter&, uint32_t) {}
    void DumpExtra(cDumper&) {}
    int FieldCountSlack(uint32_t) const { return 0; }

    bool Load(cByteReader& r, const cLoadContext& ctx) override;
    void SaveAs(cByteWriter& w, uint32_t nVersion) override;
    void Clear() override;
    void StripCR() override;
    void CopyFields(const cDataRecord& src) override;
    void Dump(cDumper& dumper) override;
    int FieldCount(uint32_t nVersion) override;
    int FieldBytes(uint32_t nVersion) override;
    int StringCount(uint32_t nVersion) override;
    size_t BodySize(uint32_t nVersion) override;
    std::unique_ptr<cDataRecord> CloneRecord() const override;
    void AssignRecord(cDataRecord&& from) override;
    std::unique_ptr<cDataRecord> FreshRecord() const override { return std::make_unique<D>(); }
    void FinishPartialLoad(const cLoadContext& ctx) override { static_cast<D&>(*this).OnLoaded(ctx); }

    // The base body alone (fields and strings), for records whose Load is
    // written by hand around it.
    bool LoadBase(cByteReader& r, const cLoadContext& ctx);
    void SaveBase(cByteWriter& w, uint32_t nVersion);

private:
    D& Self() { return static_cast<D&>(*this); }
    record_detail::CountPass Count(uint32_t nVersion);
    void StripCRAt(uint32_t nVersion);
};

#include "records/part_holder.h"

// ---------------------------------------------------------------------------
// Part passes (after cPartHolder is complete).

namespace record_detail {

template <class T>
void PartReadPass::Vector(const char* name, std::vector<T>& v, VectorRule rule) {
    if (!m_r.ok()) return;
    if constexpr (kIsRecord<T>) {
        // Every record body holds at least its two counts.
        // Elements are added as they load, so memory follows the bytes
        // actually present, not the count. The room reserved up front is
        // what the bytes left can hold at the full size of this version.
        const int32_t n = m_r.ReadCount(8, name);
        if (!m_r.ok() || (n == 0 && rule == VectorRule::KeepIfNone)) return;
        v.clear();
        if (n > 0) {
            const size_t fullBody = 8 + static_cast<size_t>(T().FieldBytes(m_nVersion));
            const size_t fit = m_r.Left() / fullBody;
            v.reserve(std::min(static_cast<size_t>(n), std::max<size_t>(fit, 1)));
        }
        for (int32_t i = 0; i < n; ++i) {
            v.emplace_back();
            if (!v.back().Load(m_r, m_ctx)) return;
        }
    } else if constexpr (std::is_same_v<T, std::string>) {
        const int32_t n = m_r.ReadCount(4, name);
        if (!m_r.ok() || (n == 0 && rule == VectorRule::KeepIfNone)) return;
        v.clear();
        v.reserve(static_cast<size_t>(n < 1024 ? n : 1024));
        for (int32_t i = 0; i < n; ++i) {
            v.emplace_back();
            if (!m_r.ReadString(v.back(), name)) return;
            if (m_ctx.bStripCR) std::erase(v.back(), '\r');
        }
    } else {
        CheckFieldType<T>();
        const int32_t n = m_r.ReadCount(sizeof(T), name);
        if (!m_r.ok() || (n == 0 && rule == VectorRule::KeepIfNone)) return;
        v.resize(static_cast<size_t>(n));
        if (n > 0) m_r.ReadBytes(v.data(), sizeof(T) * static_cast<size_t>(n), name);
    }
}

template <class T>
void PartReadPass::Holder(const char* name, cPartHolder<T>& h) {
    if (!m_r.ok()) return;
    int32_t flag = 0;
    if (!m_r.Read(flag, name)) return;
    if (flag == 0) {
        h.Reset();
        return;
    }
    h.Create().Load(m_r, m_ctx);
}

template <class T>
void PartWritePass::Vector(const char*, std::vector<T>& v, VectorRule) {
    m_w.WriteInt32(static_cast<int32_t>(v.size()));
    if constexpr (kIsRecord<T>) {
        for (auto& e : v) e.SaveAs(m_w, m_nVersion);
    } else if constexpr (std::is_same_v<T, std::string>) {
        for (auto& s : v) m_w.WriteString(s);
    } else {
        if (!v.empty()) m_w.WriteBytes(v.data(), sizeof(T) * v.size());
    }
}

template <class T>
void PartWritePass::Holder(const char*, cPartHolder<T>& h) {
    m_w.WriteInt32(h ? 1 : 0);
    if (h) h->SaveAs(m_w, m_nVersion);
}

template <class T>
void DumpPass::Vector(const char* name, std::vector<T>& v, VectorRule) {
    if (m_nPhase != 2) return;
    std::string head = std::string(name) + " (" + std::to_string(v.size()) + ")";
    if constexpr (kIsRecord<T>) {
        m_d.Open(head);
        for (size_t i = 0; i < v.size(); ++i) {
            m_d.Open("[" + std::to_string(i) + "]");
            v[i].Dump(m_d);
            m_d.Close();
        }
        m_d.Close();
    } else if constexpr (std::is_same_v<T, std::string>) {
        m_d.Open(head);
        for (size_t i = 0; i < v.size(); ++i) m_d.Line("[" + std::to_string(i) + "]", DumpString(v[i]));
        m_d.Close();
    } else {
        std::string s = "[";
        for (size_t i = 0; i < v.size(); ++i) {
            if (i) s += ", ";
            s += DumpOne(v[i]);
        }
        m_d.Line(head, s + "]");
    }
}

template <class T>
void SizePass::Holder(const char*, cPartHolder<T>& h) {
    nBytes += 4;
    if (h) nBytes += h->BodySize(m_nVersion);
}

template <class T>
void DumpPass::Holder(const char* name, cPartHolder<T>& h) {
    if (m_nPhase != 2) return;
    if (!h) {
        m_d.Line(name, "(none)");
        return;
    }
    m_d.Open(name);
    h->Dump(m_d);
    m_d.Close();
}

}  // namespace record_detail

// ---------------------------------------------------------------------------
// cRecord members.

template <class D>
bool cRecord<D>::Load(cByteReader& r, const cLoadContext& ctx) {
    D& d = Self();
    if (!LoadBase(r, ctx)) return false;
    record_detail::PartReadPass parts(r, ctx);
    d.Fields(parts);
    if (!r.ok()) return false;
    if (!d.LoadExtra(r, ctx)) {
        if (r.ok()) r.Fail("bad record part");
        return false;
    }
    if (!r.ok()) return false;
    d.OnLoaded(ctx);
    return r.ok();
}

template <class D>
void cRecord<D>::SaveAs(cByteWriter& w, uint32_t nVersion) {
    D& d = Self();
    d.OnSaving();
    SaveBase(w, nVersion);
    record_detail::PartWritePass parts(nVersion, w);
    d.Fields(parts);
    d.SaveExtra(w, nVersion);
}

template <class D>
void cRecord<D>::Clear() {
    record_detail::ClearPass p(g_nDataVersion);
    Self().Fields(p);
}

template <class D>
void cRecord<D>::StripCR() {
    StripCRAt(g_nDataVersion);
}

template <class D>
void cRecord<D>::CopyFields(const cDataRecord& src) {
    D& from = const_cast<D&>(dynamic_cast<const D&>(src));
    if (&from == this) return;
    cByteWriter w;
    from.SaveBase(w, g_nDataVersion);
    std::vector<uint8_t> bytes = w.Take();
    cByteReader r(bytes);
    LoadBase(r, cLoadContext{g_nDataVersion, false});
}

template <class D>
void cRecord<D>::Dump(cDumper& dumper) {
    D& d = Self();
    for (int phase = 0; phase < 3; ++phase) {
        record_detail::DumpPass p(g_nDataVersion, dumper, phase);
        d.Fields(p);
    }
    d.DumpExtra(dumper);
}

template <class D>
int cRecord<D>::FieldCount(uint32_t nVersion) {
    return Count(nVersion).nFields;
}

template <class D>
int cRecord<D>::FieldBytes(uint32_t nVersion) {
    return Count(nVersion).nBytes;
}

template <class D>
int cRecord<D>::StringCount(uint32_t nVersion) {
    return Count(nVersion).nStrings;
}

template <class D>
size_t cRecord<D>::BodySize(uint32_t nVersion) {
    D& d = Self();
    record_detail::SizePass p(nVersion);
    d.Fields(p);
    cByteWriter extra = cByteWriter::Counter();
    d.SaveExtra(extra, nVersion);
    return p.nBytes + extra.Size();
}

template <class D>
std::unique_ptr<cDataRecord> cRecord<D>::CloneRecord() const {
    return std::make_unique<D>(static_cast<const D&>(*this));
}

template <class D>
void cRecord<D>::AssignRecord(cDataRecord&& from) {
    Self() = std::move(dynamic_cast<D&>(from));
}

template <class D>
bool cRecord<D>::LoadBase(cByteReader& r, const cLoadContext& ctx) {
    D& d = Self();
    const uint32_t v = ctx.nVersion;
    record_detail::CountPass count = Count(v);
    const int32_t n = r.ReadInt32("field count");
    if (!r.ok()) return false;
    int32_t nRead = n;
    if (n < 0 || n > count.nFields) {
        if (n < 0 || n > count.nFields + d.FieldCountSlack(v))
            return r.Failf("field count %d where version %u has %d", n, v, count.nFields);
        nRead = count.nFields;
    }
    if (nRead > 0) {
        record_detail::FieldReadPass p(v, r, nRead);
        d.Fields(p);
    }
    const int32_t m = r.ReadInt32("string count");
    if (!r.ok()) return false;
    if (m < 0 || m > count.nStrings)
        return r.Failf("string count %d where version %u has %d", m, v, count.nStrings);
    if (m > 0) {
        record_detail::StringReadPass p(v, r, m);
        d.Fields(p);
    }
    if (!r.ok()) return false;
    if (ctx.bStripCR && count.nStrings > 0) StripCRAt(v);
    return true;
}

template <class D>
void cRecord<D>::SaveBase(cByteWriter& w, uint32_t nVersion) {
    D& d = Self();
    record_detail::CountPass count = Count(nVersion);
    w.WriteInt32(count.nFields);
    record_detail::FieldWritePass fw(nVersion, w);
    d.Fields(fw);
    w.WriteInt32(count.nStrings);
    if (count.nStrings > 0) {
        record_detail::StringWritePass sw(nVersion, w);
        d.Fields(sw);
    }
}

template <class D>
record_detail::CountPass cRecord<D>::Count(uint32_t nVersion) {
    record_detail::CountPass p(nVersion);
    Self().Fields(p);
    return p;
}

template <class D>
void cRecord<D>::StripCRAt(uint32_t nVersion) {
    record_detail::StripCRPass p(nVersion);
    Self().Fields(p);
}

// Vectors of records written and dumped entry by entry, for parts a class
// reads by hand (tables with their own count rules, palettes read in place).
template <class T>
void SaveRecordVector(cByteWriter& w, uint32_t nVersion, std::vector<T>& v) {
    w.WriteInt32(static_cast<int32_t>(v.size()));
    for (T& e : v) e.SaveAs(w, nVersion);
}

template <class T>
void DumpRecordVector(cDumper& d, const char* name, std::vector<T>& v) {
    d.Open(std::string(name) + " (" + std::to_string(v.size()) + ")");
    for (size_t i = 0; i < v.size(); ++i) {
        d.Open("[" + std::to_string(i) + "]");
        v[i].Dump(d);
        d.Close();
    }
    d.Close();
}
