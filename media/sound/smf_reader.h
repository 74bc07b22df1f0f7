// Standard MIDI files, read whole and rewritten in memory as one format-0
// track whose events are in playing order (the single-track image):
//   0 "MThd", 4 length 6, 8 format 0, 10 one track, 12 the source's time
//   division, 14 "MTrk", 18 length L of the events, 22 the events (a
//   var-length delta, then the event with its status byte always written),
//   the last being the end of track FF 2F 00. Numbers are big-endian.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kSmfImageHeader = 22;  // the first event of an image

// Reads a var-length number of at most 4 bytes from `available` bytes: the
// number of bytes read, or 0 when the fourth byte still has its high bit set
// or the bytes run out.
int ReadVarLen(const uint8_t* bytes, size_t available, uint32_t* value);
// Appends a var-length number, most significant group first: 1..4 bytes,
// none for values above 0x0FFFFFFF. Returns the number of bytes written.
int WriteVarLen(std::vector<uint8_t>& out, uint32_t value);

// Checks a file's header and converts it to the single-track image; an empty
// image when the file is refused (the reason goes to the report).
std::vector<uint8_t> CheckSmfHeader(const uint8_t* data, size_t size, const std::string& fileName);

class cSmfReader {
public:
    explicit cSmfReader(const std::string& fileName);
    virtual ~cSmfReader() = default;
    cSmfReader(const cSmfReader&) = delete;
    cSmfReader& operator=(const cSmfReader&) = delete;

    void Load(const std::string& fileName);
    const std::vector<uint8_t>& Image() const { return m_Image; }
    bool HasImage() const { return !m_Image.empty(); }

protected:
    std::vector<uint8_t> m_Image;  // empty when the file could not be used
    std::string m_strFile;
};
