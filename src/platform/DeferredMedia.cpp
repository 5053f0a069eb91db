#include "DeferredMedia.h"

namespace lectoria::platform {

DeferredPlayer::DeferredPlayer() = default;
DeferredPlayer::~DeferredPlayer() = default;

void DeferredPlayer::SetAutoStart(bool autoStart)
{
    m_autoStart = autoStart;
    if (m_player) {
        m_player->SetAutoStart(autoStart);
    }
}

void DeferredPlayer::SetPlayCount(int count)
{
    m_playCount = count;
    if (m_player) {
        m_player->SetPlayCount(count);
    }
}

void DeferredPlayer::Open(const std::string& path)
{
    if (!m_player) {
        m_player = Media().CreatePlayer();
        m_player->SetAutoStart(m_autoStart);
        m_player->SetPlayCount(m_playCount);
        m_player->setVolume(m_volume);
    }
    m_player->Open(path);
}

int DeferredPlayer::PlayState() const
{
    return m_player ? m_player->PlayState() : kStopped;
}

void DeferredPlayer::Stop()
{
    if (m_player) {
        m_player->Stop();
    }
}

std::string DeferredPlayer::LastError() const
{
    return m_player ? m_player->LastError() : std::string();
}

float DeferredPlayer::volume() const
{
    return m_player ? m_player->volume() : m_volume;
}

void DeferredPlayer::setVolume(float volume)
{
    m_volume = volume;
    if (m_player) {
        m_player->setVolume(volume);
    }
}

DeferredRenderer::DeferredRenderer(std::string tempDir) : m_tempDir(std::move(tempDir)) {}
DeferredRenderer::~DeferredRenderer() = default;

reading::RenderedAudio DeferredRenderer::Render(const std::string& mp3Path, double speed)
{
    if (!m_renderer) {
        m_renderer = Media().CreateRenderer(m_tempDir);
    }
    return m_renderer->Render(mp3Path, speed);
}

void DeferredRenderer::Release()
{
    if (m_renderer) {
        m_renderer->Release();
    }
}

} // namespace lectoria::platform
