#pragma once

namespace lectoria::platform {

/// Keeps the media back end's notices off the terminal: with QT_MEDIA_BACKEND=ffmpeg, FFmpeg's
/// per-file lines. Call before the application object is made.
void QuietMediaBackend();

/// Starts the GStreamer back end (its registry and the plug-ins the first sentence needs) on a
/// thread of its own, so that it runs while the window is being built instead of after it shows.
/// Call first thing in main; does nothing for another back end.
void StartMediaWarmUp();

/// Waits for StartMediaWarmUp's work, which sets plug-in preferences the player must see, or sets
/// them itself when there was none. Call on the window's thread before anything of Qt Multimedia
/// is made; free once it has returned.
void AwaitMediaWarmUp();

} // namespace lectoria::platform
