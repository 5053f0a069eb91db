#pragma once

#include <string>

namespace lectoria::reading {

/// The small player contract the reading loop relies on.
///
/// States: PlayState() is non-zero from the return of Open() until playback of that file has
/// ended, failed or been stopped, and 0 exactly when nothing is playing. A file that cannot be
/// played is reported as finished promptly, with LastError() saying why.
class IMediaPlayer
{
public:
    static constexpr int kStopped = 0;
    static constexpr int kPlaying = 2;
    static constexpr int kWaiting = 3;

    virtual ~IMediaPlayer() = default;

    /// When on, Open() starts playback by itself.
    virtual void SetAutoStart(bool autoStart) = 0;
    /// How often an opened file is played before the player stops.
    virtual void SetPlayCount(int count) = 0;
    /// Replaces whatever was loaded with `path`; with automatic start it plays from the start,
    /// also when `path` is the file already loaded.
    virtual void Open(const std::string& path) = 0;
    virtual int PlayState() const = 0;
    /// Halts playback at once and releases the file.
    virtual void Stop() = 0;
    /// Why the last opened file could not be played; empty when it played.
    virtual std::string LastError() const = 0;
};

} // namespace lectoria::reading
