#pragma once

#include <string>

namespace lectoria::import {

/// A lesson folder being built: a hidden temporary folder inside the book folder that becomes the
/// lesson by one rename, or disappears (with a book folder made for it) when it is not committed.
class StagedLesson
{
public:
    enum class Commit
    {
        Done,
        Exists, ///< a folder of that name is already there; nothing was replaced
        Failed,
    };

    StagedLesson() = default;
    ~StagedLesson();
    StagedLesson(const StagedLesson&) = delete;
    StagedLesson& operator=(const StagedLesson&) = delete;

    /// Creates the book folder when missing, then the temporary folder in it. On failure `error`
    /// holds the system's reason and `failedPath` the folder that could not be made.
    bool Begin(const std::string& bookDir, std::string& failedPath, std::string& error);

    /// The temporary folder, ending without a separator.
    const std::string& path() const { return m_path; }

    /// Renames the temporary folder to bookDir/name, never over an existing folder.
    Commit CommitAs(const std::string& name, std::string& error);

private:
    std::string m_bookDir;
    std::string m_path;
    bool m_createdBook = false;
    bool m_committed = false;
};

} // namespace lectoria::import
