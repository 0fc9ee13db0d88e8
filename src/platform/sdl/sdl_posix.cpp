// What the SDL layer asks of Linux that no one desktop answers: which desktops there are (an X
// server, a Wayland compositor), and whether a graphics card has a driver of its own.
#include <dirent.h>

#include <cstring>
#include <iterator>

#include "platform/sdl/sdl_desktop_answers.h"
#include "platform/sdl/sdl_renderer.h"

const DesktopAnswers* const system_desktops[] = {&x_server_desktop, &wayland_desktop};
const size_t system_desktop_count = std::size(system_desktops);

// A card's kernel driver shows itself in /dev/dri (render nodes and cards alike).
bool has_graphics_device() {
    DIR* folder = opendir("/dev/dri");
    if (folder == nullptr)
        return false;
    bool found = false;
    while (const dirent* entry = readdir(folder))
        found = found || std::strncmp(entry->d_name, "renderD", 7) == 0 ||
                std::strncmp(entry->d_name, "card", 4) == 0;
    closedir(folder);
    return found;
}
