#pragma once

namespace lectoria::platform {

/// Keeps the media back end's notices off the terminal: with QT_MEDIA_BACKEND=ffmpeg, FFmpeg's
/// per-file lines. Call before the application object is made.
void QuietMediaBackend();

/// Starts GStreamer with the program's preferences among its plug-ins (see InitGStreamer) when it
/// is the media back end. Call on the window's thread before anything of Qt Multimedia is made,
/// so that the player's first pipeline already sees them; free after the first call.
void PrepareMediaBackend();

} // namespace lectoria::platform
