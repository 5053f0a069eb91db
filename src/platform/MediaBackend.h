#pragma once

namespace lectoria::platform {

/// Keeps the media back end's notices off the terminal: with QT_MEDIA_BACKEND=ffmpeg, FFmpeg's
/// per-file lines. Call before the application object is made.
void QuietMediaBackend();

} // namespace lectoria::platform
