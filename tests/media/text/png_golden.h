// Golden images of the text tests: 0x00RRGGBB frames compared bit-exactly
// with PNG files under tests/media/text/golden/. UPDATE_GOLDEN=1 writes the
// files instead (look at them before committing).
#pragma once
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace texttest {

inline bool WritePngRgb(const std::string& path, int w, int h, const std::vector<uint32_t>& px) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t p = px[static_cast<size_t>(y) * w + x];
            row[x * 3] = p >> 16 & 0xFF, row[x * 3 + 1] = p >> 8 & 0xFF, row[x * 3 + 2] = p & 0xFF;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return true;
}

inline bool ReadPngRgb(const std::string& path, int* w, int* h, std::vector<uint32_t>* px) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> buf(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, buf.data(), 0, nullptr)) return false;
    *w = static_cast<int>(image.width);
    *h = static_cast<int>(image.height);
    px->resize(static_cast<size_t>(*w) * *h);
    for (size_t i = 0; i < px->size(); ++i)
        (*px)[i] = uint32_t(buf[i * 3]) << 16 | uint32_t(buf[i * 3 + 1]) << 8 | buf[i * 3 + 2];
    return true;
}

// Empty when the frame equals the golden file, else what differs.
inline std::string CompareGoldenIn(const std::string& dir, const std::string& name, int w, int h,
                                   const std::vector<uint32_t>& px) {
    const std::string path = std::string(TOVARO_SOURCE_DIR) + "/" + dir + "/" + name;
    const char* update = std::getenv("UPDATE_GOLDEN");
    if (update && *update == '1') return WritePngRgb(path, w, h, px) ? "" : "cannot write " + path;
    int gw = 0, gh = 0;
    std::vector<uint32_t> golden;
    if (!ReadPngRgb(path, &gw, &gh, &golden)) return "cannot read " + path;
    if (gw != w || gh != h) return "size differs from " + path;
    int diff = 0;
    for (size_t i = 0; i < px.size(); ++i) diff += px[i] != golden[i];
    if (diff) {
        WritePngRgb(std::string(TOVARO_BINARY_DIR) + "/actual_" + name, w, h, px);
        return std::to_string(diff) + " pixels differ from " + path;
    }
    return "";
}

inline std::string CompareGolden(const std::string& name, int w, int h, const std::vector<uint32_t>& px) {
    return CompareGoldenIn("tests/media/text/golden", name, w, h, px);
}

}  // namespace texttest
