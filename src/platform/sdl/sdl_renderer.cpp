// Frames shown through SDL's renderer: each view a streaming texture of its own pixel layout
// (no conversion), enlarged on the card by the window's whole number with nearest filtering,
// black around; only the rows that changed go up.
#include "platform/sdl/sdl_renderer.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "platform/sdl/sdl_settling.h"
#include "store/say.h"

namespace {

RendererChoice choice = RendererChoice::automatic;
bool none_found = false;

// The name of what draws for OpenGL, asked of the renderer's context (current once it is made).
std::string gl_renderer_of(const SDL_RendererInfo& info) {
    if (std::strncmp(info.name, "opengl", 6) != 0)
        return "";
    using GetString = const unsigned char* (*)(unsigned int);
    constexpr unsigned int gl_renderer = 0x1F01;
    const auto get = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = get != nullptr ? get(gl_renderer) : nullptr;
    return name != nullptr ? reinterpret_cast<const char*>(name) : "";
}

SDL_Rect place_of(const Canvas* view, int32_t x, int32_t y, int32_t scale) {
    return {x, y, view->width * scale, view->height * scale};
}

} // namespace

void choose_renderer(RendererChoice chosen) {
    choice = chosen;
    none_found = false;
}

bool counts_as_gpu(const char* name, uint32_t flags, const char* gl_renderer) {
    if ((flags & SDL_RENDERER_ACCELERATED) == 0 || (flags & SDL_RENDERER_SOFTWARE) != 0)
        return false;
    if (std::strncmp(name, "opengl", 6) != 0)
        return true;
    std::string lower(gl_renderer);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "software rasterizer"})
        if (lower.find(software) != std::string::npos)
            return false;
    return !lower.empty();
}

void attach_renderer(PlatformWindow* window, bool main) {
    if (choice == RendererChoice::surface || none_found)
        return;
    // Forced, any renderer SDL has will do, its software one last.
    const bool forced = choice == RendererChoice::gpu;
    // Without a graphics device, asking SDL would only load a software OpenGL to find out that
    // it is one: some 140 ms before the first frame.
    if (!forced && !has_graphics_device()) {
        none_found = true;
        return;
    }
    SDL_Renderer* renderer = SDL_CreateRenderer(window->sdl_window, -1,
                                                (forced ? 0 : SDL_RENDERER_ACCELERATED) |
                                                    (main ? SDL_RENDERER_PRESENTVSYNC : 0));
    SDL_RendererInfo info{};
    if (renderer != nullptr && SDL_GetRendererInfo(renderer, &info) == 0 &&
        (forced || counts_as_gpu(info.name, info.flags, gl_renderer_of(info).c_str()))) {
        window->present.renderer = renderer;
        window->present.vsync = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
        return;
    }
    if (forced)
        say("no renderer to be had (%s); frames go to the windows", SDL_GetError());
    if (renderer != nullptr)
        SDL_DestroyRenderer(renderer);
    none_found = true;
}

void release_renderer(PlatformWindow* window) {
    for (SDL_Texture*& texture : window->present.textures) {
        if (texture != nullptr)
            SDL_DestroyTexture(texture);
        texture = nullptr;
    }
    if (window->present.renderer != nullptr)
        SDL_DestroyRenderer(window->present.renderer);
    window->present.renderer = nullptr;
}

int32_t prepare_rendered(PlatformWindow* window, const Canvas* beside, bool whole) {
    SDL_Point size{};
    SDL_GetRendererOutputSize(window->present.renderer, &size.x, &size.y);
    // A size the window got without an event SDL passed on (a window manager's full screen).
    if (size.x != window->place.laid_out_for.x || size.y != window->place.laid_out_for.y)
        window_moved(window, window->place.at);
    const ViewPlace& layout = window->place.layout;
    const bool moved = picture_moved(&window->present.picture, nullptr, size.x, size.y, 0, layout,
                                     beside != nullptr);
    int32_t count = moved || whole ? 1 : 0;
    const Canvas* views[2] = {window->present.view, beside};
    for (int32_t i = 0; i < 2; ++i) {
        if (views[i] == nullptr)
            continue;
        SDL_Texture*& texture = window->present.textures[i];
        int width = 0, height = 0;
        if (texture == nullptr ||
            SDL_QueryTexture(texture, nullptr, nullptr, &width, &height) != 0 ||
            width != views[i]->width || height != views[i]->height) {
            if (texture != nullptr)
                SDL_DestroyTexture(texture);
            texture =
                SDL_CreateTexture(window->present.renderer, SDL_PIXELFORMAT_RGB888,
                                  SDL_TEXTUREACCESS_STREAMING, views[i]->width, views[i]->height);
            SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
            // A new texture takes the whole view.
            free_canvas(window->present.picture.last[i]);
            window->present.picture.last[i] = nullptr;
        }
        PixelRect parts[max_changes / 2];
        const int32_t n =
            take_changes(views[i], &window->present.picture.last[i], parts, max_changes / 2);
        for (int32_t k = 0; k < n; ++k) {
            const SDL_Rect part{parts[k].x, parts[k].y, parts[k].w, parts[k].h};
            SDL_UpdateTexture(texture, &part, views[i]->pixels + part.y * views[i]->pitch + part.x,
                              views[i]->pitch * 4);
        }
        count += n;
    }
    return count;
}

void show_rendered(PlatformWindow* window, const Canvas* beside) {
    SDL_Renderer* renderer = window->present.renderer;
    const ViewPlace& layout = window->place.layout;
    SDL_RenderSetViewport(renderer, nullptr);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    if (beside != nullptr && window->present.textures[1] != nullptr) {
        const SDL_Rect to =
            place_of(beside, layout.x - beside->width * layout.scale, layout.y, layout.scale);
        SDL_RenderCopy(renderer, window->present.textures[1], nullptr, &to);
    }
    if (window->present.view != nullptr && window->present.textures[0] != nullptr) {
        const SDL_Rect to = place_of(window->present.view, layout.x, layout.y, layout.scale);
        SDL_RenderCopy(renderer, window->present.textures[0], nullptr, &to);
    }
    SDL_RenderPresent(renderer);
}
