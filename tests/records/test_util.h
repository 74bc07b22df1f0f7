// Small helpers for record tests: hand-typed hex bytes, a scratch folder.
#pragma once
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace rec_test {

// "e8 03 00 00  17 00 00 00" -> bytes. Anything after '#' on a line is a
// comment; other non-hex characters separate bytes.
inline std::vector<uint8_t> Hex(const char* text) {
    std::vector<uint8_t> out;
    int nibbles = 0, value = 0;
    bool comment = false;
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        if (c == '#') comment = true;
        if (c == '\n') comment = false;
        if (comment) continue;
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            value = value * 16 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::tolower(c) - 'a' + 10));
            if (++nibbles == 2) {
                out.push_back(static_cast<uint8_t>(value));
                nibbles = value = 0;
            }
        }
    }
    return out;
}

inline std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A data file: version word then body.
inline std::vector<uint8_t> FileOf(uint32_t version, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> out(4);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(version >> (8 * i));
    return Concat(out, body);
}

// A fresh scratch folder removed at the end of the test.
class ScratchDir {
public:
    ScratchDir() {
        static int n = 0;
        m_path = std::filesystem::temp_directory_path() /
                 ("tovaro_records_" + std::to_string(::getpid()) + "_" + std::to_string(++n));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace rec_test
