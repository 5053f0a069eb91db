#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QByteArray>

namespace lectoria::practice {

/// How many recordings of one sentence are kept; older ones are deleted as new ones come.
inline constexpr std::size_t kKeptRecordings = 5;

/// The learner's shadowing recordings, one folder per sentence under the user's data folder (never
/// inside the library): ROOT/book/lesson/sentence/20261211-093015-042.mp3. The names sort by time.
class RecordingStore
{
public:
    explicit RecordingStore(std::string root);

    /// The folder of a sentence, from the last three parts of its library file's path (book,
    /// lesson, file name without its extension), so that the same sentence opened by lesson or
    /// found by a search shares its recordings.
    std::string FolderOf(const std::string& audioPath) const;
    /// Every kept recording of a sentence, oldest first.
    std::vector<std::string> RecordingsOf(const std::string& audioPath) const;
    /// The newest recording, or empty.
    std::string LastRecordingOf(const std::string& audioPath) const;
    /// Writes a new recording atomically, named after `msSinceEpoch`, then deletes all but the
    /// newest kKeptRecordings. Returns the file written, or empty with `why` (in Chinese).
    std::string Keep(const std::string& audioPath, const QByteArray& mp3, std::int64_t msSinceEpoch, std::string* why);

    const std::string& root() const { return m_root; }

private:
    std::string m_root;
};

/// Where the learner's recordings are kept: ~/.local/share/Lectoria/recordings, beside the user's
/// library and never inside it.
std::string RecordingsDirectory();

/// "20261211-093015-042": a recording's name for a UTC time in milliseconds.
std::string RecordingStamp(std::int64_t msSinceEpoch);

} // namespace lectoria::practice
