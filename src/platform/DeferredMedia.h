#pragma once

#include <memory>
#include <string>

#include "MediaModule.h"

namespace lectoria::platform {

/// The window's sentence player, made from the media module when the first sentence is opened, so
/// that the window shows before the module loads. Until then it keeps the settings it is given
/// and reports that nothing plays.
class DeferredPlayer final : public ISentencePlayer
{
public:
    DeferredPlayer();
    ~DeferredPlayer() override;

    void SetAutoStart(bool autoStart) override;
    void SetPlayCount(int count) override;
    void Open(const std::string& path) override;
    int PlayState() const override;
    void Stop() override;
    std::string LastError() const override;
    float volume() const override;
    void setVolume(float volume) override;

private:
    std::unique_ptr<ISentencePlayer> m_player;
    bool m_autoStart = true;
    int m_playCount = 1;
    float m_volume = 1.0F;
};

/// The reading loop's renderer, made from the media module when the first sentence is rendered.
class DeferredRenderer final : public reading::ISpeechRenderer
{
public:
    explicit DeferredRenderer(std::string tempDir);
    ~DeferredRenderer() override;

    reading::RenderedAudio Render(const std::string& mp3Path, double speed) override;
    void Release() override;

private:
    std::string m_tempDir;
    std::unique_ptr<reading::ISpeechRenderer> m_renderer;
};

} // namespace lectoria::platform
