#include "import/StagedLesson.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace lectoria::import {

namespace {

// Renames a folder unless the target exists, atomically where the system allows it.
int RenameNoReplace(const std::string& from, const std::string& to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
#endif
    std::error_code error;
    if (fs::exists(fs::symlink_status(fs::path(to), error))) {
        return EEXIST;
    }
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

} // namespace

StagedLesson::~StagedLesson()
{
    if (m_committed) {
        return;
    }
    std::error_code ignored;
    if (!m_path.empty()) {
        fs::remove_all(fs::path(m_path), ignored);
    }
    if (m_createdBook) {
        fs::remove(fs::path(m_bookDir), ignored); // only while still empty
    }
}

bool StagedLesson::Begin(const std::string& bookDir, std::string& failedPath, std::string& error)
{
    m_bookDir = bookDir;
    std::error_code status;
    if (!fs::is_directory(fs::path(bookDir), status)) {
        if (::mkdir(bookDir.c_str(), 0777) != 0) {
            failedPath = bookDir;
            error = std::strerror(errno);
            return false;
        }
        m_createdBook = true;
    }
    std::string pattern = bookDir + "/.import-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        failedPath = bookDir;
        error = std::strerror(errno);
        return false;
    }
    m_path = buffer.data();
    // mkdtemp makes the folder private; a lesson is as readable as the user's other folders.
    ::chmod(m_path.c_str(), 0755);
    return true;
}

StagedLesson::Commit StagedLesson::CommitAs(const std::string& name, std::string& error)
{
    const int result = RenameNoReplace(m_path, m_bookDir + "/" + name);
    if (result == 0) {
        m_committed = true;
        return Commit::Done;
    }
    error = std::strerror(result);
    return result == EEXIST || result == ENOTEMPTY ? Commit::Exists : Commit::Failed;
}

} // namespace lectoria::import
