#pragma once

#include <cstdint>
#include <string>

namespace lectoria::reading {

/// A sentence's audio as it is about to be played.
struct RenderedAudio
{
    std::string path;             ///< the file to play; empty on failure
    std::int64_t durationMs = -1; ///< its length, or -1 when unknown
    std::string error;            ///< why it could not be made, in Chinese

    bool ok() const { return error.empty(); }
};

/// Makes the file a repetition plays: the decoded sentence itself at normal speed, or a copy
/// slowed down or sped up with its pitch kept.
class ISpeechRenderer
{
public:
    virtual ~ISpeechRenderer() = default;
    /// `mp3Path` is the plain sentence audio; its length is reported at every speed, because the
    /// learner's recording time follows it.
    virtual RenderedAudio Render(const std::string& mp3Path, double speed) = 0;
    /// Forgets the sentence it holds and deletes its files (the player must not hold them).
    virtual void Release() = 0;
};

/// Records the learner after each reading, from the default input.
///
/// Start() returns at once; IsRecording() stays true until the recording has ended by length,
/// by silence after speech, by Stop() or by a failure, and the recording has been kept.
class IShadowRecorder
{
public:
    virtual ~IShadowRecorder() = default;
    /// Whether an input device is there to record from; when not, `why` says so in Chinese.
    virtual bool IsAvailable(std::string* why) const = 0;
    /// Starts recording the sentence identified by `audioPath` (its library file) for at most
    /// `maxMs`; false, with LastError(), when the device cannot start.
    virtual bool Start(const std::string& audioPath, std::int64_t maxMs) = 0;
    virtual bool IsRecording() const = 0;
    /// Ends a running recording at once and throws it away.
    virtual void Stop() = 0;
    /// Why the last recording failed (device lost, nothing written), in Chinese; empty when fine.
    virtual std::string LastError() const = 0;
    /// The newest kept recording of a sentence, or empty.
    virtual std::string LastRecordingOf(const std::string& audioPath) const = 0;
};

} // namespace lectoria::reading
