// The game's icon as a scalable picture: the same cube on the same sky as the PNG icons, its
// faces as polygons in the order the renderer fills them.
#pragma once

#include <string>

std::string icon_svg();
