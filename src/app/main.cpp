// zarnok3d: a small 3D shooting game. Red cubes fall; shoot them before one escapes.
#include "app/main_loop.h"
#include "platform/window.h"

int main() {
    if (!open_platform())
        return 1;
    return entry_routine();
}
