#pragma once

#include <string>
#include <string_view>

namespace lectoria::library {

/// The one-byte key that scrambles sentence audio; applying it twice gives the original.
inline constexpr unsigned char kAudioKey = 0xA6;

/// Why an audio file could not be produced.
enum class AudioError
{
    None,
    SourceUnreadable, ///< the sentence file is missing or cannot be read
    OutputUnwritable, ///< the output cannot be created or written (full disk, no temporary folder)
};

/// The outcome of scrambling or decoding: the written path, or what went wrong.
struct AudioResult
{
    AudioError error = AudioError::None;
    std::string path;   ///< the file written, when error is None
    std::string detail; ///< the failing path and the system's reason, for messages

    bool ok() const { return error == AudioError::None; }
};

/// Writes the byte-wise XOR of `sourcePath` with kAudioKey to `outputPath`. On failure no
/// output file is left behind.
AudioResult ScrambleFile(const std::string& sourcePath, const std::string& outputPath);

/// Writes `plain` XOR kAudioKey to `outputPath` as a new sentence file; on failure no output
/// file is left behind.
AudioResult WriteScrambledFile(const std::string& plain, const std::string& outputPath);

/// A per-user temporary folder whose last component is "TemporaryQenReading", ending with
/// the path separator.
std::string DefaultTempDir();

/// Unscrambles sentence files into two alternating temporary MP3 files, so the file being
/// written is never the one the player opened last.
class SentenceAudioDecoder
{
public:
    static constexpr std::string_view kFirstTemp = "vantorelMp3temp1.mp3";
    static constexpr std::string_view kSecondTemp = "vantorelMp3temp2.mp3";

    /// `tempDir` ends with the path separator.
    explicit SentenceAudioDecoder(std::string tempDir = DefaultTempDir());

    /// Creates the temporary folder; an existing one is fine.
    bool CreateTempDir() const;

    /// Unscrambles `sourcePath` into the temporary file the player does not hold.
    AudioResult DecodeSentenceAudio(const std::string& sourcePath);

    /// Deletes both temporary files; failures are ignored. The player must not hold either.
    void DeleteTempAudio() const;

    /// Deletes the temporary files other than `inUse`; failures are ignored.
    void DeleteTempAudioExcept(const std::string& inUse) const;

    /// Deletes both temporary files and the temporary folder; failures are ignored.
    void RemoveTempDir() const;

    const std::string& tempDir() const { return m_tempDir; }
    const std::string& tempAudioPath() const { return m_tempAudioPath; }
    bool useFirstTemp() const { return m_useFirstTemp; }

private:
    std::string m_tempDir;
    std::string m_tempAudioPath;
    bool m_useFirstTemp = true;
};

} // namespace lectoria::library
