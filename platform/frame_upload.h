// The upload half of showing a frame, without a window: a streaming texture
// of a software renderer that draws into memory (headless measurements).
#pragma once
#include <cstdint>
#include <string>

namespace platform {

class cFrameUploadTarget {
public:
    cFrameUploadTarget(int width, int height);
    ~cFrameUploadTarget();
    cFrameUploadTarget(const cFrameUploadTarget&) = delete;
    cFrameUploadTarget& operator=(const cFrameUploadTarget&) = delete;

    // False when the texture could not be made (Error says why).
    bool Ok() const { return m_texture != nullptr; }
    const std::string& Error() const { return m_error; }
    // One frame of 0x00RRGGBB pixels into the texture.
    void Upload(const uint32_t* pixels);

private:
    int m_nWidth;
    void* m_surface = nullptr;
    void* m_renderer = nullptr;
    void* m_texture = nullptr;
    std::string m_error;
};

}  // namespace platform
