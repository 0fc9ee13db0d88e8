// The gun view: turn the gun by 0.4 degree per pixel of the mouse from the main view's centre,
// paint it, show it, then paint it black again so the buffer is clean for the next frame.
#include "render/gun_view.h"

#include "render/compose_frame.h"
#include "render/fill_object.h"
#include "world/state.h"

void draw_gun_view() {
    const View& main = views[main_view];
    View& gun = views[gun_view];
    gun_model.angle_x = static_cast<float>((main.height / 2 - main.mouse_y) * 0.4);
    gun_model.angle_y = static_cast<float>((main.mouse_x - main.width / 2) * 0.4);
    transform_and_project(&gun_model, gun.eye);
    fill_object(gun.back_dc, nullptr, gun_model, &gun.light);
    blit_window(gun_view);
    fill_object(gun.back_dc, &black_brush, gun_model, nullptr);
}
