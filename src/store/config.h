// config.dat: the music and effects volumes, kept from one run to the next.
#pragma once

// Set when config.dat exists but cannot be read: it is then never replaced in this run.
extern bool config_file_kept;

void load_config();
void save_config();
