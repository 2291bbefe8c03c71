#pragma once
// The outputs a device's pipeline plays into, and the MIDI soundfont.

#include <gst/gst.h>

// PulseAudio (or the PipeWire that stands in for it) when a server answers,
// with generous buffering to keep the CPU low; else a sound card through ALSA;
// else a silent sink that still runs in real time, so playback, positions
// and end notices behave the same without any sound output.
GstElement* makeAudioSink();

// A video output that opens a window of its own when a display answers
// (Wayland, or X11 with or without XVideo); else a silent sink.
// `displayAllowed` false forces the latter.
GstElement* makeVideoSink(bool displayAllowed);

// The General MIDI soundfont for the fluidsynth decoder, or nullptr to let
// the decoder look for one itself.
const char* midiSoundfont();
