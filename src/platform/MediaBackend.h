#pragma once

namespace lectoria::platform {

/// Chooses Qt's FFmpeg media back end for the sentence player unless QT_MEDIA_BACKEND names
/// another, and keeps FFmpeg's per-file notices off the terminal. Call before the application
/// object is made.
void ChooseMediaBackend();

} // namespace lectoria::platform
