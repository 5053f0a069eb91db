#include "StretchingRenderer.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "GstAudioDecoder.h"
#include "RubberBandStretch.h"
#include "library/PathText.h"
#include "notes/LessonNotes.h"
#include "practice/WavFile.h"

namespace lectoria::platform {

StretchingRenderer::StretchingRenderer(std::string tempDir) : m_tempDir(std::move(tempDir)) {}

StretchingRenderer::~StretchingRenderer()
{
    Release();
}

reading::RenderedAudio StretchingRenderer::Render(const std::string& mp3Path, double speed)
{
    reading::RenderedAudio rendered;
    if (mp3Path != m_source) {
        Release();
        GstAudioDecoder decoder;
        const import::MediaStatus decoded = decoder.Decode(mp3Path, m_decoded, nullptr);
        if (!decoded.ok()) {
            rendered.error = "无法解码句子音频: " + decoded.error;
            return rendered;
        }
        m_source = mp3Path;
    }
    rendered.durationMs = m_decoded.DurationMs();
    const int hundredths = static_cast<int>(std::lround(speed * 100.0));
    if (hundredths == 100) {
        rendered.path = mp3Path;
        return rendered;
    }
    if (const auto known = m_rendered.find(hundredths); known != m_rendered.end()) {
        rendered.path = known->second;
        return rendered;
    }
    lectoria::import::PcmAudio stretched;
    const import::MediaStatus status = StretchSpeech(m_decoded, hundredths / 100.0, stretched);
    if (!status.ok()) {
        rendered.error = "无法改变语速: " + status.error;
        return rendered;
    }
    char name[48];
    std::snprintf(name, sizeof name, "vantorelSpeed%03d.wav", hundredths);
    const std::string file = m_tempDir + name;
    const notes::NoteStatus written = notes::WriteFileAtomically(file, practice::WavBytes(stretched));
    if (!written.ok) {
        rendered.error = "无法写入临时音频文件: " + written.message;
        return rendered;
    }
    m_rendered[hundredths] = file;
    rendered.path = file;
    return rendered;
}

void StretchingRenderer::Release()
{
    std::error_code ignored;
    for (const auto& [hundredths, file] : m_rendered) {
        std::filesystem::remove(library::PathOf(file), ignored);
    }
    m_rendered.clear();
    m_source.clear();
    m_decoded = import::PcmAudio();
}

} // namespace lectoria::platform
