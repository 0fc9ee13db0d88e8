// The gun window's frame: the gun turned toward the mouse.
#pragma once

void draw_gun_view();
