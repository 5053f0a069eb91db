#include "practice/RecordingStore.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include <QStandardPaths>

#include "library/PathText.h"
#include "notes/LessonNotes.h"

namespace lectoria::practice {

namespace fs = std::filesystem;

namespace {

constexpr const char* kExtension = ".mp3";

/// A path part as a folder name: the library's own names are already valid, but a part that
/// would climb out of the store ("..") or is empty is replaced.
std::string FolderPart(std::string part)
{
    if (part.empty() || part == "." || part == "..") {
        return "_";
    }
    return part;
}

} // namespace

RecordingStore::RecordingStore(std::string root) : m_root(std::move(root)) {}

std::string RecordingStore::FolderOf(const std::string& audioPath) const
{
    std::string text = audioPath;
    std::replace(text.begin(), text.end(), '\\', '/');
    std::vector<std::string> parts;
    std::size_t end = text.size();
    while (parts.size() < 3 && end > 0) {
        const std::size_t slash = text.rfind('/', end - 1);
        const std::size_t begin = slash == std::string::npos ? 0 : slash + 1;
        if (begin < end) {
            parts.push_back(text.substr(begin, end - begin));
        }
        if (slash == std::string::npos) {
            break;
        }
        end = slash;
    }
    if (!parts.empty()) {
        const std::size_t dot = parts.front().rfind('.');
        if (dot != std::string::npos && dot > 0) {
            parts.front().resize(dot);
        }
    }
    fs::path folder = library::PathOf(m_root);
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
        folder /= library::PathOf(FolderPart(*part));
    }
    return library::TextOf(folder);
}

std::vector<std::string> RecordingStore::RecordingsOf(const std::string& audioPath) const
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(library::PathOf(FolderOf(audioPath)), error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path& path = entry->path();
        if (path.extension() == kExtension && entry->is_regular_file(error)) {
            names.push_back(library::TextOf(path));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string RecordingStore::LastRecordingOf(const std::string& audioPath) const
{
    const std::vector<std::string> recordings = RecordingsOf(audioPath);
    return recordings.empty() ? std::string() : recordings.back();
}

std::string RecordingStore::Keep(const std::string& audioPath, const QByteArray& mp3, std::int64_t msSinceEpoch,
                                 std::string* why)
{
    const fs::path folder = library::PathOf(FolderOf(audioPath));
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        if (why != nullptr) {
            *why = "无法建立录音文件夹: " + library::TextOf(folder) + " (" + error.message() + ")";
        }
        return std::string();
    }
    // Two recordings within one millisecond would share a name; the later one takes the next free one.
    std::string file;
    for (std::int64_t stamp = msSinceEpoch;; ++stamp) {
        file = library::TextOf(folder / library::PathOf(RecordingStamp(stamp) + kExtension));
        if (!fs::exists(library::PathOf(file), error)) {
            break;
        }
    }
    const notes::NoteStatus status = notes::WriteFileAtomically(file, mp3);
    if (!status.ok) {
        if (why != nullptr) {
            *why = "无法保存录音: " + status.message;
        }
        return std::string();
    }
    std::vector<std::string> recordings = RecordingsOf(audioPath);
    if (recordings.size() > kKeptRecordings) {
        recordings.resize(recordings.size() - kKeptRecordings);
        for (const std::string& old : recordings) {
            fs::remove(library::PathOf(old), error);
        }
    }
    return file;
}

std::string RecordingsDirectory()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return library::TextOf(library::PathOf(data.toStdString()) / "Lectoria" / "recordings");
}

std::string RecordingStamp(std::int64_t msSinceEpoch)
{
    const std::time_t seconds = static_cast<std::time_t>(msSinceEpoch / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d-%02d%02d%02d-%03d", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(msSinceEpoch % 1000));
    return buffer;
}

} // namespace lectoria::practice
