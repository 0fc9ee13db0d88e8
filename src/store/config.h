// config.dat: the music and effects volumes, kept from one run to the next.
#pragma once

void load_config();
void save_config();
