#pragma once

#include <map>
#include <string>

#include "import/MediaInterfaces.h"
#include "reading/PracticeInterfaces.h"

namespace lectoria::platform {

/// The reading loop's renderer: decodes the sentence once, and writes one WAV file per speed it is
/// asked for into the temporary folder, kept until the sentence changes.
class StretchingRenderer final : public reading::ISpeechRenderer
{
public:
    /// `tempDir` ends with the path separator and exists while reading.
    explicit StretchingRenderer(std::string tempDir);
    ~StretchingRenderer() override;

    reading::RenderedAudio Render(const std::string& mp3Path, double speed) override;
    void Release() override;

private:
    std::string m_tempDir;
    std::string m_source;
    lectoria::import::PcmAudio m_decoded;
    std::map<int, std::string> m_rendered; ///< speed in hundredths -> file
};

} // namespace lectoria::platform
