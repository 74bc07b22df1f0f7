#include "records/byte_stream.h"

#include <cstdarg>

bool cByteReader::Fail(const std::string& reason) {
    if (m_strError.empty()) m_strError = Format("%s at offset %zu", reason.c_str(), m_nPos);
    if (m_strError.empty()) m_strError = "bad data";
    return false;
}

bool cByteReader::Failf(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    std::string s = VFormat(format, ap);
    va_end(ap);
    return Fail(s);
}

bool cByteReader::Truncated(const char* what, size_t n) {
    return Failf("file ends inside %s (%zu bytes wanted, %zu left)", what, n, Left());
}

int32_t cByteReader::ReadCount(size_t minElemBytes, const char* what) {
    const size_t at = m_nPos;
    int32_t n = 0;
    if (!Read(n, what)) return 0;
    if (n < 0 || (minElemBytes > 0 && static_cast<uint64_t>(n) * minElemBytes > Left())) {
        m_nPos = at;
        Failf("bad %s %d (%zu bytes left)", what, n, Left() >= 4 ? Left() - 4 : 0);
        return 0;
    }
    return n;
}

bool cByteReader::ReadString(std::string& out, const char* what) {
    const size_t at = m_nPos;
    int32_t len = 0;
    if (!Read(len, what)) return false;
    if (len == 1) {
        out.clear();
        return true;
    }
    if (len <= 0 || static_cast<size_t>(len) > Left()) {
        m_nPos = at;
        return Failf("bad length %d of %s (%zu bytes left)", len, what, Left() >= 4 ? Left() - 4 : 0);
    }
    const char* p = reinterpret_cast<const char*>(m_pData + m_nPos);
    const void* nul = std::memchr(p, 0, static_cast<size_t>(len));
    out.assign(p, nul ? static_cast<const char*>(nul) - p : static_cast<size_t>(len));
    m_nPos += static_cast<size_t>(len);
    return true;
}

void cByteWriter::WriteString(std::string_view s) {
    const size_t nul = s.find('\0');
    if (nul != std::string_view::npos) s = s.substr(0, nul);
    const size_t len = s.size() + 1;
    WriteInt32(static_cast<int32_t>(len));
    if (len == 1) return;
    WriteBytes(s.data(), s.size());
    const uint8_t zero = 0;
    WriteBytes(&zero, 1);
}

void cByteWriter::Grow(size_t n) {
    if (m_vecBuf.size() - m_nUsed >= n) return;
    size_t want = m_vecBuf.size() * 2;
    if (want < m_nUsed + n) want = m_nUsed + n;
    if (want < 256) want = 256;
    m_vecBuf.resize(want);
}

void cByteWriter::WriteSlow(const void* data, size_t n) {
    if (m_bCountOnly) {
        m_nUsed += n;
        return;
    }
    if (n == 0) return;
    Grow(n);
    if (data) {
        std::memcpy(m_vecBuf.data() + m_nUsed, data, n);
    } else {
        std::memset(m_vecBuf.data() + m_nUsed, 0, n);
    }
    m_nUsed += n;
}
