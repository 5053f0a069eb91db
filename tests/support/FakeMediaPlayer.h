#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "reading/IMediaPlayer.h"

namespace lectoria::test {

/// A player that plays nothing: tests decide when the current file has finished. Like the real
/// one it reports a missing file as a failed reading, and it holds the opened file until Stop().
class FakeMediaPlayer : public reading::IMediaPlayer
{
public:
    void SetAutoStart(bool on) override { autoStart = on; }
    void SetPlayCount(int count) override { playCount = count; }
    void Open(const std::string& path) override
    {
        opened.push_back(path);
        std::error_code error;
        const bool present = std::filesystem::is_regular_file(path, error);
        playing = autoStart && present && !failNextOpen;
        lastError = !present ? "missing file" : failNextOpen ? "cannot play" : "";
        held = present ? path : std::string();
        failNextOpen = false;
    }
    int PlayState() const override { return playing ? kPlaying : kStopped; }
    void Stop() override
    {
        ++stops;
        playing = false;
        held.clear();
    }
    std::string LastError() const override { return lastError; }

    /// The current file reaches its end; the player keeps holding it.
    void Finish() { playing = false; }

    bool autoStart = false;
    int playCount = 0;
    bool playing = false;
    bool failNextOpen = false;
    int stops = 0;
    std::string lastError;
    std::vector<std::string> opened;
    /// The file the player has open, empty after Stop().
    std::string held;
};

} // namespace lectoria::test
