// Fuzz target over bitmaps: the input is a .bmp file, decoded by the decode
// every surface of the graphics layer loads its image through (gfx::LoadDib
// from a file). A decoded image whose size breaks the limits or does not
// match its pixels is a finding; every pixel is read as the surfaces read
// them.
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "media/gfx/bmp_file.h"
#include "platform/fs.h"

namespace {

constexpr const char* kName = "bmp";

void Run(const uint8_t* data, size_t size) {
    const std::string in = FuzzWorkDir() + "/in.bmp";
    if (!platform::WriteFileAtomic(in, data, size)) FuzzFail(kName, "cannot write the input file");
    std::optional<gfx::cDib> dib = gfx::LoadDib(in);
    if (!dib) return;
    const gfx::cDib& d = *dib;
    if (d.width <= 0 || d.height <= 0 || d.width > gfx::kMaxDibSide || d.height > gfx::kMaxDibSide)
        FuzzFail(kName, "decoded as %d x %d", d.width, d.height);
    const size_t pixels = static_cast<size_t>(d.width) * static_cast<size_t>(d.height);
    if (d.bitCount == 8 ? d.index.size() != pixels : (d.bitCount != 24 && d.bitCount != 32) || d.rgb.size() != pixels)
        FuzzFail(kName, "%d x %d at %d bits with %zu indices and %zu colours", d.width, d.height, d.bitCount,
                 d.index.size(), d.rgb.size());
    uint32_t all = 0;
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) all |= d.Rgb(x, y);
    if (all > 0xFFFFFFu) FuzzFail(kName, "a pixel beyond 24 bits");
}

void Put(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// A bitmap of w x h at 8, 24 or 32 bits with a pattern; top-down when asked.
std::vector<uint8_t> Bitmap(int w, int h, int bits, bool topDown = false, uint32_t compression = 0) {
    const size_t colours = bits == 8 ? 16 : 0;
    const size_t stride = (static_cast<size_t>(w) * static_cast<size_t>(bits) + 31) / 32 * 4;
    const size_t off = 54 + colours * 4, size = off + stride * static_cast<size_t>(h);
    std::vector<uint8_t> b(size, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put(b, 2, static_cast<uint32_t>(size), 4);
    Put(b, 10, static_cast<uint32_t>(off), 4);
    Put(b, 14, 40, 4);
    Put(b, 18, static_cast<uint32_t>(w), 4);
    Put(b, 22, static_cast<uint32_t>(topDown ? -h : h), 4);
    Put(b, 26, 1, 2);
    Put(b, 28, static_cast<uint32_t>(bits), 2);
    Put(b, 30, compression, 4);
    Put(b, 46, static_cast<uint32_t>(colours), 4);
    for (size_t i = 0; i < colours; ++i) Put(b, 54 + i * 4, static_cast<uint32_t>(i * 0x0F0F0F), 3);
    for (size_t i = off; i < size; ++i) b[i] = static_cast<uint8_t>((i * 7) % (bits == 8 ? 16 : 256));
    return b;
}

// An 8-bit run-length image: runs, a literal run, a delta and the end.
std::vector<uint8_t> Rle8() {
    std::vector<uint8_t> b = Bitmap(16, 4, 8);
    b.resize(54 + 16 * 4);
    const std::vector<uint8_t> codes = {4, 1, 0, 3, 2, 3, 4, 0, 8, 5, 0, 0,      // row 0: run, literal, run, end of line
                                        0, 2, 2, 1, 16, 6, 0, 0, 0, 1};          // delta, run, end of line, end
    b.insert(b.end(), codes.begin(), codes.end());
    Put(b, 2, static_cast<uint32_t>(b.size()), 4);
    Put(b, 30, 1, 4);
    Put(b, 34, static_cast<uint32_t>(codes.size()), 4);
    return b;
}

void Seeds(const std::string& gameDir, std::vector<FuzzSeed>& out) {
    out.emplace_back("indexed", Bitmap(13, 5, 8));
    out.emplace_back("rgb24", Bitmap(7, 3, 24));
    out.emplace_back("rgb32-top-down", Bitmap(5, 4, 32, true));
    out.emplace_back("rle8", Rle8());
    // The game's bitmaps up to 64 KiB: larger seeds slow every run.
    for (const std::string& f : FuzzFindFiles(gameDir, {".bmp"})) {
        std::vector<uint8_t> bytes = FuzzReadFile(f);
        if (bytes.size() <= 64 * 1024) out.emplace_back("game-" + std::to_string(out.size()), std::move(bytes));
    }
}

const cFuzzTarget kTarget{kName, nullptr, Run, Seeds};
const cFuzzTargetRegistration kRegistration(kTarget);

}  // namespace
