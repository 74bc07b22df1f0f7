#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <vector>

namespace platform {
namespace {

// Opening a converter is costly and path lookups convert a lot, so each
// thread keeps its converters open.
class ConverterCache {
public:
    ~ConverterCache() {
        for (auto& [key, cd] : m_map)
            if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
    iconv_t Get(const char* to, const char* from) {
        std::string key = std::string(to) + '<' + from;
        auto it = m_map.find(key);
        if (it == m_map.end()) it = m_map.emplace(key, iconv_open(to, from)).first;
        return it->second;
    }

private:
    std::map<std::string, iconv_t> m_map;
};

std::string Convert(const char* to, const char* from, std::string_view in, const char* replacement,
                    size_t replacementLen, bool* failed = nullptr) {
    thread_local ConverterCache converters;
    iconv_t cd = converters.Get(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    std::vector<char> buf(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buf.data();
        size_t dstLeft = buf.size();
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf.data(), dst - buf.data());
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // Invalid or incomplete sequence: put the replacement and skip a byte.
            if (failed) *failed = true;
            out.append(replacement, replacementLen);
            ++src;
            --srcLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    // Flush any shift state (none for these encodings, but keep the converter clean).
    char* dst = buf.data();
    size_t dstLeft = buf.size();
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buf.data(), dst - buf.data());
    return out;
}

}  // namespace

bool IsTrailByteAt(std::string_view s, size_t pos) {
    size_t i = 0;
    while (i < s.size() && i < pos) {
        size_t len = Cp932CharLen(s, i);
        if (len == 2 && i + 1 == pos) return true;
        i += len;
    }
    return false;
}

std::string Utf8ToCp932(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8, "?", 1); }

std::string Cp932ToUtf8(std::string_view cp932) { return Convert("UTF-8", "CP932", cp932, "?", 1); }

std::u16string Cp932ToUtf16(std::string_view cp932) {
    std::string bytes = Convert("UTF-16LE", "CP932", cp932, "?\0", 2);
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return out;
}

bool IsValidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3 : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        if (n == 3) {
            unsigned char d = static_cast<unsigned char>(s[i + 1]);
            if ((c == 0xE0 && d < 0xA0) || (c == 0xED && d >= 0xA0)) return false;  // overlong, surrogate
        } else if (n == 4) {
            unsigned char d = static_cast<unsigned char>(s[i + 1]);
            if ((c == 0xF0 && d < 0x90) || (c == 0xF4 && d >= 0x90)) return false;
        }
        i += n;
    }
    return true;
}

bool Utf8ToCp932Strict(std::string_view utf8, std::string* out) {
    bool failed = false;
    std::string r = Convert("CP932", "UTF-8", utf8, "?", 1, &failed);
    if (failed) return false;
    *out = std::move(r);
    return true;
}

bool IsValidCp932(std::string_view cp932) {
    bool failed = false;
    Convert("UTF-8", "CP932", cp932, "?", 1, &failed);
    return !failed;
}

bool HostNameToCp932(std::string_view hostName, std::string* out) {
    std::string cp;
    if (IsValidUtf8(hostName)) {
        if (!Utf8ToCp932Strict(hostName, &cp)) return false;
    } else if (IsValidCp932(hostName)) {
        cp.assign(hostName);
    } else {
        return false;
    }
    for (size_t i = 0; i < cp.size(); i += Cp932CharLen(cp, i))
        if (cp[i] == '\\' && Cp932CharLen(cp, i) == 1) return false;
    *out = std::move(cp);
    return true;
}

const std::string& Sjis(const char* utf8Literal) {
    static std::mutex mutex;
    static std::map<const char*, std::string> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(utf8Literal);
    if (it == cache.end()) it = cache.emplace(utf8Literal, Utf8ToCp932(utf8Literal)).first;
    return it->second;
}

}  // namespace platform
