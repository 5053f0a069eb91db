#include "SentenceDecoding.h"

#include <cstdio>
#include <filesystem>

#include <unistd.h>

#include "GstAudioDecoder.h"
#include "library/PathText.h"
#include "library/SentenceAudio.h"

namespace lectoria::platform {

namespace {

bool IsSentenceFile(const std::string& path)
{
    static const std::string kExtension = ".sau";
    return path.size() >= kExtension.size() &&
           path.compare(path.size() - kExtension.size(), kExtension.size(), kExtension) == 0;
}

/// A private temporary file, removed when it goes out of scope.
class TemporaryFile
{
public:
    TemporaryFile()
    {
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
        std::string pattern = (error ? std::string("/tmp") : library::TextOf(folder)) + "/lectoria-audio-XXXXXX";
        const int fd = mkstemp(pattern.data());
        if (fd >= 0) {
            close(fd);
            m_path = pattern;
        }
    }
    ~TemporaryFile()
    {
        if (!m_path.empty()) {
            std::remove(m_path.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace

lectoria::import::MediaStatus DecodeSentenceFile(const std::string& path, import::PcmAudio& out)
{
    GstAudioDecoder decoder;
    if (!IsSentenceFile(path)) {
        return decoder.Decode(path, out, nullptr);
    }
    TemporaryFile plain;
    if (plain.path().empty()) {
        return {"cannot create a temporary file"};
    }
    const library::AudioResult result = library::ScrambleFile(path, plain.path());
    if (!result.ok()) {
        return {result.detail.empty() ? "cannot read " + path : result.detail};
    }
    return decoder.Decode(plain.path(), out, nullptr);
} // namespace lectoria::platform

} // namespace lectoria::platform
