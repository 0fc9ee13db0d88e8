// The music's synthesized instruments: drums, bass, lead, pad and pluck.
#pragma once

#include "xm_writer.h"

// Samples are computed at four times the tracker's base rate and tuned two octaves up, so the
// note C-4 plays them at their own speed (8363 * 4 Hz) and a 128-sample cycle sounds as C-4.
constexpr int32_t instrument_rate = 8363 * 4;
constexpr int32_t cycle_length = 128;

XmInstrument make_kick();
XmInstrument make_snare();
XmInstrument make_closed_hat();
XmInstrument make_open_hat();
// A squelchy saw bass: bright attack, filter closing, held tone looped.
XmInstrument make_bass();
// A lead of two slightly detuned oscillators, half saw and half square, with vibrato.
XmInstrument make_lead();
// A wide pad of three detuned saws, slowly beating, on a loop.
XmInstrument make_pad();
// A short bright pluck for arpeggios.
XmInstrument make_pluck();
