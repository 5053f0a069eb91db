#pragma once

#include <string>

namespace lectoria::platform {

/// Starts GStreamer once for the whole program (the sentence player, Qt Multimedia under the
/// recorder and our own decoders share it) and sets the program's preferences among its plug-ins.
/// Returns why it cannot start, or an empty string. Safe to call from any thread, any number of times.
std::string InitGStreamer();

} // namespace lectoria::platform
