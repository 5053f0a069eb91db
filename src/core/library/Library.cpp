#include "library/Library.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <system_error>

#include <dirent.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include "grammar/TextRules.h"
#include "library/FileNames.h"
#include "library/PathText.h"

namespace fs = std::filesystem;

namespace lectoria::library {

namespace {

// A folder path without trailing separators, so that its last component is the folder's name;
// a root stays as it is.
fs::path FolderPath(std::string_view text)
{
    fs::path path = PathOf(text);
    while (path.has_relative_path() && !path.has_filename()) {
        path = path.parent_path();
    }
    return path;
}

// The file of an `itemPaths` entry (book\lesson\title) below `root`; a '\' inside the title
// stays part of the name.
fs::path ItemFilePath(const fs::path& root, std::string_view itemPath)
{
    const ItemPathParts parts = SplitItemPath(itemPath);
    return root / PathOf(parts.book) / PathOf(parts.lesson) / PathOf(parts.title);
}

std::string Replaced(std::string_view text, char from, char to)
{
    std::string out(text);
    std::replace(out.begin(), out.end(), from, to);
    return out;
}

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

std::string FileName(const fs::path& path)
{
    return TextOf(path.filename());
}

// What is wrong with a folder that could not be listed, in the user's words. `kind` names the
// folder ("课本" or "课文").
std::string FolderError(const std::string& kind, const std::string& folder, const std::error_code& error)
{
    if (error == std::errc::no_such_file_or_directory) {
        return "找不到" + kind + "文件夹: " + folder;
    }
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) {
        return "没有读取" + kind + "文件夹的权限: " + folder;
    }
    if (error == std::errc::not_a_directory) {
        return kind + "路径不是文件夹: " + folder;
    }
    return "无法读取" + kind + "文件夹: " + folder + " (" + error.message() + ")";
}

// The entries of a folder given by shown names, as raw names; `error` is set when the folder
// cannot be opened or read to its end.
std::vector<fs::directory_entry> ReadFolder(std::string_view folder, std::error_code& error)
{
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(PathOf(FileSystemPath(folder)), error), end; !error && it != end;
         it.increment(error)) {
        entries.push_back(*it);
    }
    return entries;
}

} // namespace

const std::vector<std::string>& BookNames()
{
    static const std::vector<std::string> names = {
        "New Concept English Book 1", "New Concept English Book 2",      "New Concept English Book 3",
        "New Concept English Book 4", "Primary English For China",       "Oxford Junior English",
        "Some English Movings",       "Some English News and Speakings", "Some English Songs",
    };
    return names;
}

std::string BookList()
{
    return grammar::JoinList(BookNames(), '/');
}

std::string ProgramDirectory()
{
    fs::path directory;
    if (QCoreApplication::instance() != nullptr) {
        const QString native = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
#ifdef _WIN32
        directory = fs::path(native.toStdU16String());
#else
        directory = fs::path(QFile::encodeName(native).toStdString());
#endif
    }
    if (directory.empty()) {
        // Without an application object (a tool or a test linking the core) the program's own
        // file is not known portably; a program started from its folder has it as working folder.
        std::error_code error;
        directory = fs::current_path(error);
    }
    return DirectoryText(directory);
}

std::string LessonNameOf(std::string_view lessonPath)
{
    return TextOf(FolderPath(lessonPath).filename());
}

std::string BookNameOf(std::string_view lessonPath)
{
    return TextOf(FolderPath(lessonPath).parent_path().filename());
}

std::string LibraryRootOf(std::string_view lessonPath)
{
    fs::path root = FolderPath(lessonPath);
    for (int component = 0; component < 2; ++component) {
        // A path of fewer than three components has no library root.
        if (!root.has_relative_path()) {
            return std::string();
        }
        root = root.parent_path();
    }
    return DirectoryText(root);
}

std::string LessonNumberOf(std::string_view lessonName)
{
    constexpr std::size_t prefixLength = 7; // "Lesson "
    if (lessonName.size() <= prefixLength) {
        return std::string();
    }
    const std::string_view rest = lessonName.substr(prefixLength);
    const std::size_t blank = rest.find(' ');
    return blank == std::string_view::npos ? std::string() : std::string(rest.substr(0, blank));
}

std::string NoteFileOf(std::string_view lessonPath)
{
    const fs::path lesson = FolderPath(lessonPath);
    if (lesson.empty()) {
        return std::string();
    }
    const std::string name = BookNameOf(lessonPath) + " Lesson" + LessonNumberOf(LessonNameOf(lessonPath)) + ".txt";
    return FileSystemPath(TextOf(lesson / PathOf(name)));
}

std::string ItemLessonOf(std::string_view itemPath)
{
    // Everything before the second separator; with fewer, everything before the last one.
    const std::size_t first = itemPath.find(kItemPathSeparator);
    if (first == std::string_view::npos) {
        return std::string(itemPath);
    }
    const std::size_t second = itemPath.find(kItemPathSeparator, first + 1);
    return std::string(itemPath.substr(0, second == std::string_view::npos ? first : second));
}

ItemPathParts SplitItemPath(std::string_view itemPath)
{
    ItemPathParts parts;
    const std::size_t first = itemPath.find(kItemPathSeparator);
    if (first == std::string_view::npos) {
        parts.title = itemPath;
        return parts;
    }
    parts.book = itemPath.substr(0, first);
    const std::size_t second = itemPath.find(kItemPathSeparator, first + 1);
    if (second == std::string_view::npos) {
        parts.title = itemPath.substr(first + 1);
        return parts;
    }
    parts.lesson = itemPath.substr(first + 1, second - first - 1);
    parts.title = itemPath.substr(second + 1);
    return parts;
}

std::string SentenceId(std::string_view relativePath)
{
    const ItemPathParts parts = SplitItemPath(relativePath);
    const std::vector<std::string> book = grammar::SplitList(parts.book, ' ');
    const std::vector<std::string> lesson = grammar::SplitList(parts.lesson, ' ');
    const std::vector<std::string> title = grammar::SplitList(parts.title, ' ');
    return book.front() + book.back() + lesson[0] + (lesson.size() > 1 ? lesson[1] : std::string()) + "T" +
           title.front();
}

void SentenceIdInLesson(std::string_view lessonIdPrefix, std::string_view title, std::string& id)
{
    id.assign(lessonIdPrefix);
    id.append(title.substr(0, title.find(' ')));
}

std::string NativeRelativePath(std::string_view itemPath)
{
    return TextOf(ItemFilePath(fs::path(), itemPath));
}

std::string TitleToFileName(std::string_view title)
{
    return Replaced(title, '?', '^');
}

std::string FileNameToTitle(std::string_view fileTitle)
{
    return Replaced(fileTitle, '^', '?');
}

int SentenceNumber(std::string_view title)
{
    long long value = 0;
    for (char c : title) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
    }
    return static_cast<int>(value);
}

std::string SentenceText(std::string_view title)
{
    const std::size_t blank = title.find(' ');
    return blank == std::string_view::npos ? std::string() : std::string(title.substr(blank + 1));
}

bool StartsSentence(std::string_view title)
{
    const std::string text = SentenceText(title);
    return !text.empty() && ((text[0] >= 'A' && text[0] <= 'Z') || text[0] == '\'');
}

bool EndsSentence(std::string_view title)
{
    if (title.empty()) {
        return false;
    }
    const char last = title.back();
    return last == '.' || last == '\'' || last == '!' || last == '?';
}

std::string SentenceAudioPath(std::string_view strFullPath, bool isSelectSubject, std::string_view itemText,
                              std::string_view itemPath)
{
    if (isSelectSubject) {
        const fs::path root = PathOf(LibraryRootOf(strFullPath));
        return FileSystemPath(TextOf(ItemFilePath(root, TitleToFileName(itemPath) + ".sau")));
    }
    return FileSystemPath(TextOf(FolderPath(strFullPath) / PathOf(TitleToFileName(itemText) + ".sau")));
}

bool LessThanIgnoringCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(UpperAscii(x)) < static_cast<unsigned char>(UpperAscii(y));
    });
}

FolderListing ListLesson(std::string_view strFullPath)
{
    FolderListing listing;
    const fs::path lessonFolder = FolderPath(strFullPath);
    const std::string lesson = TextOf(lessonFolder);
    if (lesson.empty()) {
        return listing;
    }
    std::error_code error;
    const std::vector<fs::directory_entry> entries = ReadFolder(lesson, error);
    if (error) {
        // Say which folder is at fault: a missing or closed book folder hides every lesson in it.
        const std::string book = TextOf(lessonFolder.parent_path());
        std::error_code bookError;
        const fs::file_status bookStatus = fs::status(PathOf(FileSystemPath(book)), bookError);
        std::error_code lessonError;
        const bool lessonBlocked =
            fs::status(PathOf(FileSystemPath(lesson)), lessonError).type() == fs::file_type::none &&
            lessonError == std::errc::permission_denied;
        if (bookStatus.type() == fs::file_type::not_found) {
            listing.error = FolderError("课本", book, std::make_error_code(std::errc::no_such_file_or_directory));
        } else if (lessonBlocked) {
            listing.error = FolderError("课本", book, lessonError);
        } else {
            listing.error = FolderError("课文", lesson, error);
        }
        return listing;
    }
    for (const fs::directory_entry& entry : entries) {
        std::error_code typeError;
        if (!EqualsIgnoringCase(TextOf(entry.path().extension()), ".sau") || entry.is_directory(typeError)) {
            continue;
        }
        listing.names.push_back(FileName(entry.path()));
    }
    // Sorted by file name, as a Windows listing returns them, before '^' turns back into '?'.
    std::sort(listing.names.begin(), listing.names.end(), LessThanIgnoringCase);
    for (std::string& title : listing.names) {
        // The whole name is decoded, as FileSystemPath decodes it when the title is played.
        std::string shown = DisplayName(title);
        constexpr std::size_t extension = 4; // ".sau"
        if (shown.size() >= extension &&
            EqualsIgnoringCase(std::string_view(shown).substr(shown.size() - extension), ".sau")) {
            shown.resize(shown.size() - extension);
        } else {
            shown = DisplayName(title.substr(0, title.size() - extension));
        }
        title = FileNameToTitle(shown);
    }
    return listing;
}

FolderListing ListBook(std::string_view bookPath)
{
    FolderListing listing;
    const std::string book = TextOf(FolderPath(bookPath));
    std::error_code error;
    const std::vector<fs::directory_entry> entries = ReadFolder(book, error);
    if (error) {
        listing.error = FolderError("课本", book, error);
        return listing;
    }
    for (const fs::directory_entry& entry : entries) {
        const std::string name = FileName(entry.path());
        std::error_code typeError;
        if (!EqualsIgnoringCase(std::string_view(name).substr(0, 6), "Lesson") || !entry.is_directory(typeError)) {
            continue;
        }
        listing.names.push_back(name);
    }
    std::sort(listing.names.begin(), listing.names.end(), LessThanIgnoringCase);
    for (std::string& name : listing.names) {
        name = DisplayName(name);
    }
    return listing;
}

std::vector<std::string> FillLessonList(std::string_view strFullPath)
{
    return ListLesson(strFullPath).names;
}

void ListLessonTitles(std::string_view lessonPath, LessonTitles& titles)
{
    titles.m_names.clear();
    titles.m_nameSpans.clear();
    titles.m_titles.clear();
    titles.m_spans.clear();
    titles.m_error.clear();
    const std::string lesson = TextOf(FolderPath(lessonPath));
    if (lesson.empty()) {
        return;
    }
    // readdir rather than a directory_iterator: it hands out names without building a path object
    // per file, which is most of what listing a large lesson costs beyond the kernel's own work.
    titles.m_path = FileSystemPath(lesson);
    DIR* dir = ::opendir(titles.m_path.c_str());
    if (dir == nullptr) {
        titles.m_error = ListLesson(lessonPath).error;
        return;
    }
    titles.m_path += '/';
    const std::size_t folderLength = titles.m_path.size();
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            break;
        }
        const std::string_view name(entry->d_name);
        // As std::filesystem splits a name: a leading dot alone starts no extension.
        const std::size_t dot = name.rfind('.');
        if (dot == std::string_view::npos || dot == 0 || !EqualsIgnoringCase(name.substr(dot), ".sau")) {
            continue;
        }
        bool directory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            titles.m_path.resize(folderLength);
            titles.m_path += name;
            struct stat info;
            directory = ::stat(titles.m_path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        if (!directory) {
            titles.m_nameSpans.emplace_back(static_cast<std::uint32_t>(titles.m_names.size()),
                                            static_cast<std::uint32_t>(name.size()));
            titles.m_names.append(name);
        }
    }
    const int readError = errno;
    ::closedir(dir);
    if (readError != 0) {
        titles.m_nameSpans.clear();
        titles.m_error = ListLesson(lessonPath).error;
        return;
    }
    // Sorted by file name, as a Windows listing returns them, before '^' turns back into '?'.
    const std::string_view names = titles.m_names;
    std::sort(titles.m_nameSpans.begin(), titles.m_nameSpans.end(), [names](const auto& a, const auto& b) {
        return LessThanIgnoringCase(names.substr(a.first, a.second), names.substr(b.first, b.second));
    });
    constexpr std::size_t extension = 4; // ".sau"
    for (const auto& [offset, length] : titles.m_nameSpans) {
        const std::string_view name = names.substr(offset, length);
        const std::size_t start = titles.m_titles.size();
        if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            titles.m_titles.append(name.substr(0, name.size() - extension));
        } else {
            // Names that are not ASCII are shown as ListLesson shows them.
            std::string shown = DisplayName(name);
            if (shown.size() >= extension &&
                EqualsIgnoringCase(std::string_view(shown).substr(shown.size() - extension), ".sau")) {
                shown.resize(shown.size() - extension);
            } else {
                shown = DisplayName(name.substr(0, name.size() - extension));
            }
            titles.m_titles.append(shown);
        }
        titles.m_spans.emplace_back(static_cast<std::uint32_t>(start),
                                    static_cast<std::uint32_t>(titles.m_titles.size() - start));
    }
    std::replace(titles.m_titles.begin(), titles.m_titles.end(), '^', '?');
}

std::vector<std::string> LessonFolders(std::string_view bookPath)
{
    return ListBook(bookPath).names;
}

std::string FindSentenceItem(const std::vector<std::string>& items, int n)
{
    for (const std::string& item : items) {
        if (SentenceNumber(item) == n) {
            return item;
        }
    }
    return items.empty() ? std::string() : items.back();
}

} // namespace lectoria::library
