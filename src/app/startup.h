// Start-up: the windows, their back buffers, the fixed objects, sound, pictures and files.
#pragma once

void init_game();
