// The game's music: "Supera", a driving minor-key space tune that plays once and ends.
#pragma once

#include "xm_writer.h"

XmModule compose_music();
