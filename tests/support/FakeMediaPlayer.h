#pragma once

#include <string>
#include <vector>

#include "reading/IMediaPlayer.h"

namespace lectoria::test {

/// A player that plays nothing: tests decide when the current file has finished.
class FakeMediaPlayer : public reading::IMediaPlayer
{
public:
    void SetAutoStart(bool on) override { autoStart = on; }
    void SetPlayCount(int count) override { playCount = count; }
    void Open(const std::string& path) override
    {
        opened.push_back(path);
        playing = autoStart && !failNextOpen;
        lastError = failNextOpen ? "cannot play" : "";
        failNextOpen = false;
    }
    int PlayState() const override { return playing ? kPlaying : kStopped; }
    void Stop() override
    {
        ++stops;
        playing = false;
    }
    std::string LastError() const override { return lastError; }

    /// The current file reaches its end.
    void Finish() { playing = false; }

    bool autoStart = false;
    int playCount = 0;
    bool playing = false;
    bool failNextOpen = false;
    int stops = 0;
    std::string lastError;
    std::vector<std::string> opened;
};

} // namespace lectoria::test
