#pragma once

#include <string>

namespace lectoria::platform {

/// Starts GStreamer once for the whole program (the player's back end and our own decoders share
/// it) and sets the program's preferences among its plug-ins. Returns why it cannot start, or an
/// empty string. Safe to call from any thread, any number of times.
std::string InitGStreamer();

/// Whether the PulseAudio server answers now, asked through GStreamer's own sink. Qt Multimedia
/// looks for the server once per process and lists no output for good when it was not there at
/// first, while GStreamer connects anew for each stream. False when the sink is not installed.
bool PulseServerAnswers();

} // namespace lectoria::platform
