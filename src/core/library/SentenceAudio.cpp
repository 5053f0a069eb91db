#include "library/SentenceAudio.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "library/Library.h"

namespace fs = std::filesystem;

namespace lectoria::library {

namespace {

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

AudioResult Failure(AudioError error, const std::string& path, int errorNumber)
{
    return AudioResult{error, std::string(), path + ": " + std::strerror(errorNumber)};
}

void RemoveQuietly(const std::string& path)
{
    std::error_code ignored;
    fs::remove(fs::path(path), ignored);
}

} // namespace

AudioResult ScrambleFile(const std::string& sourcePath, const std::string& outputPath)
{
    FileHandle source(std::fopen(sourcePath.c_str(), "rb"));
    if (!source) {
        return Failure(AudioError::SourceUnreadable, sourcePath, errno);
    }
    std::error_code statError;
    if (fs::is_directory(fs::path(sourcePath), statError)) {
        return Failure(AudioError::SourceUnreadable, sourcePath, EISDIR);
    }
    FileHandle output(std::fopen(outputPath.c_str(), "wb"));
    if (!output) {
        return Failure(AudioError::OutputUnwritable, outputPath, errno);
    }

    unsigned char block[4096];
    for (;;) {
        const std::size_t count = std::fread(block, 1, sizeof block, source.get());
        for (std::size_t i = 0; i < count; ++i) {
            block[i] ^= kAudioKey;
        }
        if (count > 0 && std::fwrite(block, 1, count, output.get()) != count) {
            const int error = errno;
            output.reset();
            RemoveQuietly(outputPath);
            return Failure(AudioError::OutputUnwritable, outputPath, error);
        }
        if (count < sizeof block) {
            break;
        }
    }
    if (std::ferror(source.get())) {
        const int error = errno;
        output.reset();
        RemoveQuietly(outputPath);
        return Failure(AudioError::SourceUnreadable, sourcePath, error);
    }
    // A full disk often shows only when the buffered data is flushed.
    if (std::fclose(output.release()) != 0) {
        const int error = errno;
        RemoveQuietly(outputPath);
        return Failure(AudioError::OutputUnwritable, outputPath, error);
    }
    return AudioResult{AudioError::None, outputPath, std::string()};
}

AudioResult WriteScrambledFile(const std::string& plain, const std::string& outputPath)
{
    FileHandle output(std::fopen(outputPath.c_str(), "wb"));
    if (!output) {
        return Failure(AudioError::OutputUnwritable, outputPath, errno);
    }
    std::string scrambled = plain;
    for (char& byte : scrambled) {
        byte = static_cast<char>(static_cast<unsigned char>(byte) ^ kAudioKey);
    }
    const bool written = std::fwrite(scrambled.data(), 1, scrambled.size(), output.get()) == scrambled.size();
    const int writeError = errno;
    // A full disk often shows only when the buffered data is flushed.
    if (std::fclose(output.release()) != 0 || !written) {
        const int error = written ? errno : writeError;
        RemoveQuietly(outputPath);
        return Failure(AudioError::OutputUnwritable, outputPath, error);
    }
    return AudioResult{AudioError::None, outputPath, std::string()};
}

std::string DefaultTempDir()
{
    std::error_code error;
    fs::path base;
#ifdef _WIN32
    base = fs::temp_directory_path(error);
#else
    // The runtime folder is private to the user; /tmp is shared, so a per-user folder is made there.
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && *runtime != '\0' && fs::is_directory(fs::path(runtime), error)) {
        base = runtime;
    } else {
        base = fs::temp_directory_path(error) / ("lectoria-" + std::to_string(getuid()));
    }
#endif
    std::string directory = (base / "TemporaryQenReading").string();
    directory += kPathSeparator;
    return directory;
}

SentenceAudioDecoder::SentenceAudioDecoder(std::string tempDir) : m_tempDir(std::move(tempDir)) {}

bool SentenceAudioDecoder::CreateTempDir() const
{
    std::error_code error;
    const fs::path directory(m_tempDir);
    fs::create_directories(directory, error);
    if (error) {
        return false;
    }
#ifndef _WIN32
    // Other users must not read or swap the decoded audio.
    fs::permissions(directory, fs::perms::owner_all, fs::perm_options::replace, error);
#endif
    return fs::is_directory(directory, error);
}

AudioResult SentenceAudioDecoder::DecodeSentenceAudio(const std::string& sourcePath)
{
    m_useFirstTemp = !m_useFirstTemp;
    const std::string output = m_tempDir + std::string(m_useFirstTemp ? kFirstTemp : kSecondTemp);
    const std::string other = m_tempDir + std::string(m_useFirstTemp ? kSecondTemp : kFirstTemp);
    RemoveQuietly(other);
    AudioResult result = ScrambleFile(sourcePath, output);
    if (result.ok()) {
        m_tempAudioPath = output;
    } else {
        // The player never gets a stale or partial file from a failed decoding.
        RemoveQuietly(output);
    }
    return result;
}

void SentenceAudioDecoder::DeleteTempAudio() const
{
    RemoveQuietly(m_tempDir + std::string(kFirstTemp));
    RemoveQuietly(m_tempDir + std::string(kSecondTemp));
}

void SentenceAudioDecoder::DeleteTempAudioExcept(const std::string& inUse) const
{
    for (const std::string_view name : {kFirstTemp, kSecondTemp}) {
        const std::string path = m_tempDir + std::string(name);
        if (path != inUse) {
            RemoveQuietly(path);
        }
    }
}

void SentenceAudioDecoder::RemoveTempDir() const
{
    DeleteTempAudio();
    std::error_code ignored;
    fs::remove(fs::path(m_tempDir), ignored);
}

} // namespace lectoria::library
