// Little-endian byte reader and writer for data files.
//
// A data file is read whole into memory and decoded with cByteReader, which
// knows how many bytes are left: every count and length taken from the file
// is checked against them before anything is allocated. The first fault
// (truncation or a malformed count) is remembered with its offset; after it
// every read does nothing and ok() stays false, so a loader may read on and
// test once at the end.
//
// cByteWriter appends to a growing buffer that is put on disk in one piece.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/log.h"

static_assert(std::endian::native == std::endian::little,
              "data files are little-endian and are copied raw");

class cByteReader {
public:
    cByteReader() = default;
    explicit cByteReader(std::span<const uint8_t> bytes) : m_pData(bytes.data()), m_nSize(bytes.size()) {}
    cByteReader(const void* data, size_t size) : m_pData(static_cast<const uint8_t*>(data)), m_nSize(size) {}

    bool ok() const { return m_strError.empty(); }
    size_t Left() const { return m_nSize - m_nPos; }
    size_t Offset() const { return m_nPos; }
    size_t Size() const { return m_nSize; }
    const std::string& Error() const { return m_strError; }

    // Marks the read as failed (the first reason wins). Returns false.
    bool Fail(const std::string& reason);
    bool Failf(const char* format, ...) TOVARO_PRINTF(2, 3);

    // Raw bytes; a short read fails as truncated and leaves out untouched.
    bool ReadBytes(void* out, size_t n, const char* what = "data") {
        if (!ok()) return false;
        if (n > Left()) return Truncated(what, n);
        std::memcpy(out, m_pData + m_nPos, n);
        m_nPos += n;
        return true;
    }
    // A fixed number of bytes (fields): the copy is a plain move.
    template <size_t N>
    bool ReadFixed(void* out, const char* what) {
        if (!ok()) return false;
        if (N > Left()) return Truncated(what, N);
        std::memcpy(out, m_pData + m_nPos, N);
        m_nPos += N;
        return true;
    }
    bool Skip(size_t n, const char* what = "data") {
        if (!ok()) return false;
        if (n > Left()) return Truncated(what, n);
        m_nPos += n;
        return true;
    }

    // One little-endian value (any arithmetic type or enum, copied raw).
    template <class T>
    bool Read(T& out, const char* what = "value") {
        static_assert(std::is_trivially_copyable_v<T>);
        return ReadFixed<sizeof(T)>(&out, what);
    }
    int32_t ReadInt32(const char* what = "int32") {
        int32_t v = 0;
        Read(v, what);
        return v;
    }

    // An int32 count of elements that each take at least minElemBytes in
    // the file: negative, or more than the bytes left can hold, fails as
    // malformed and gives 0. Check the result against ok() or use it as is
    // (0 reads nothing).
    int32_t ReadCount(size_t minElemBytes, const char* what = "count");

    // A string as stored in data files: int32 L = length + 1, then (when L is
    // not 1) L bytes, the text and its NUL. The text is cut at its first NUL.
    // L of 0 or below, or beyond the bytes left, fails as malformed.
    bool ReadString(std::string& out, const char* what = "string");

private:
    bool Truncated(const char* what, size_t n);

    const uint8_t* m_pData = nullptr;
    size_t m_nSize = 0;
    size_t m_nPos = 0;
    std::string m_strError;
};

class cByteWriter {
public:
    cByteWriter() = default;
    // A writer that only counts the bytes it is given (to size a buffer).
    static cByteWriter Counter() {
        cByteWriter w;
        w.m_bCountOnly = true;
        return w;
    }

    void WriteBytes(const void* data, size_t n) {
        if (m_nUsed + n <= m_vecBuf.size()) {
            if (n) std::memcpy(m_vecBuf.data() + m_nUsed, data, n);
            m_nUsed += n;
        } else {
            WriteSlow(data, n);
        }
    }
    // A fixed number of bytes (fields): the copy is a plain move.
    template <size_t N>
    void WriteFixed(const void* data) {
        if (m_nUsed + N <= m_vecBuf.size()) {
            std::memcpy(m_vecBuf.data() + m_nUsed, data, N);
            m_nUsed += N;
        } else {
            WriteSlow(data, N);
        }
    }
    void WriteZeros(size_t n) { WriteSlow(nullptr, n); }
    template <class T>
    void Write(const T& v) {
        static_assert(std::is_trivially_copyable_v<T>);
        WriteFixed<sizeof(T)>(&v);
    }
    void WriteInt32(int32_t v) { Write(v); }
    // int32 L = length + 1, then the text and its NUL unless it is empty.
    // The text is written up to its first NUL, whatever its length.
    void WriteString(std::string_view s);

    // Room for n more bytes without growing (when the size is known).
    void ReserveMore(size_t n) {
        if (!m_bCountOnly) Grow(n);
    }

    size_t Size() const { return m_nUsed; }
    const uint8_t* Data() const { return m_vecBuf.data(); }
    // Overwrites 4 bytes written earlier (for counts known only afterwards).
    void PatchInt32(size_t offset, int32_t v) {
        if (!m_bCountOnly) std::memcpy(m_vecBuf.data() + offset, &v, 4);
    }
    // The bytes written so far; the writer is empty afterwards.
    std::vector<uint8_t> Take() {
        m_vecBuf.resize(m_bCountOnly ? 0 : m_nUsed);
        m_nUsed = 0;
        return std::move(m_vecBuf);
    }

private:
    // Growth, counting and zeros. data null: n zero bytes.
    void WriteSlow(const void* data, size_t n);
    void Grow(size_t n);

    std::vector<uint8_t> m_vecBuf;  // its size is the capacity in use
    size_t m_nUsed = 0;
    bool m_bCountOnly = false;
};
