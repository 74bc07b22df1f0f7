#include "platform/frame_upload.h"

#include <SDL.h>

namespace platform {

cFrameUploadTarget::cFrameUploadTarget(int width, int height) : m_nWidth(width) {
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Renderer* renderer = target ? SDL_CreateSoftwareRenderer(target) : nullptr;
    SDL_Texture* texture =
        renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height)
                 : nullptr;
    if (!texture) m_error = SDL_GetError();
    m_surface = target;
    m_renderer = renderer;
    m_texture = texture;
}

cFrameUploadTarget::~cFrameUploadTarget() {
    if (m_texture) SDL_DestroyTexture(static_cast<SDL_Texture*>(m_texture));
    if (m_renderer) SDL_DestroyRenderer(static_cast<SDL_Renderer*>(m_renderer));
    if (m_surface) SDL_FreeSurface(static_cast<SDL_Surface*>(m_surface));
}

void cFrameUploadTarget::Upload(const uint32_t* pixels) {
    SDL_UpdateTexture(static_cast<SDL_Texture*>(m_texture), nullptr, pixels, m_nWidth * 4);
}

}  // namespace platform
