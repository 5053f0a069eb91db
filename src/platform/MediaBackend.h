#pragma once

namespace lectoria::platform {

/// Starts GStreamer with the program's preferences among its plug-ins (see InitGStreamer) when it
/// is the media back end. Call on the window's thread before anything of Qt Multimedia is made,
/// so that its first pipeline already sees them; free after the first call.
void PrepareMediaBackend();

} // namespace lectoria::platform
