#include "svg_writer.h"

#include <cstdio>

#include "render/window_icon.h"

namespace {

std::string hex(Colour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", red_of(colour), green_of(colour),
                  blue_of(colour));
    return text;
}

} // namespace

std::string icon_svg() {
    constexpr int32_t size = 64;
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<!-- The Zarnok 3D icon: one of its red cubes on the night sky, drawn by "
                      "zarnok_icons as the PNG icons are. -->\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
                      "viewBox=\"0 0 64 64\">\n"
                      "  <rect width=\"64\" height=\"64\" fill=\"" +
                      hex(icon_sky) + "\"/>\n";
    Object3D cube = icon_cube(size);
    Colour by_face[6];
    shade_box(cube, icon_light(size), by_face);
    // A box's eight corners stand in its first two faces.
    const Vec3* corners[8];
    for (int k = 0; k < 8; ++k)
        corners[k] = &cube.world_faces[k / 4].vertices[k % 4];
    for (int n = 0; n < 6; ++n) {
        const int face = cube.draw_order[n];
        svg += "  <polygon points=\"";
        for (int k = 0; k < 4; ++k) {
            char point[48];
            const Vec3& v = *corners[box_faces[face][k]];
            std::snprintf(point, sizeof point, "%s%.2f,%.2f", k > 0 ? " " : "", v.x, v.y);
            svg += point;
        }
        svg += "\" fill=\"" + hex(by_face[face]) + "\"/>\n";
    }
    free_mesh(&cube);
    return svg + "</svg>\n";
}
