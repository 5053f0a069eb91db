#include "library/Library.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <system_error>

#include "grammar/TextRules.h"
#include "library/FileNames.h"

namespace fs = std::filesystem;

namespace lectoria::library {

namespace {

bool IsSeparator(char c)
{
    return c == kPathSeparator || c == '/';
}

// Components of a lesson path, ignoring a trailing separator.
std::vector<std::string> PathComponents(std::string_view path)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (IsSeparator(c)) {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        parts.push_back(current);
    }
    return parts;
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
    return path.filename().string();
}

std::string WithoutTrailingSeparators(std::string_view path)
{
    while (path.size() > 1 && IsSeparator(path.back())) {
        path.remove_suffix(1);
    }
    return std::string(path);
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
    for (fs::directory_iterator it(fs::path(FileSystemPath(folder)), error), end; !error && it != end;
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
    std::error_code error;
#ifdef _WIN32
    fs::path program = fs::current_path(error);
#else
    fs::path program = fs::read_symlink("/proc/self/exe", error).parent_path();
    if (error) {
        program = fs::current_path(error);
    }
#endif
    std::string directory = program.string();
    if (directory.empty() || !IsSeparator(directory.back())) {
        directory += kPathSeparator;
    }
    return directory;
}

std::string LessonNameOf(std::string_view lessonPath)
{
    const std::vector<std::string> parts = PathComponents(lessonPath);
    return parts.empty() ? std::string() : parts.back();
}

std::string BookNameOf(std::string_view lessonPath)
{
    const std::vector<std::string> parts = PathComponents(lessonPath);
    return parts.size() < 2 ? std::string() : parts[parts.size() - 2];
}

std::string LibraryRootOf(std::string_view lessonPath)
{
    while (!lessonPath.empty() && IsSeparator(lessonPath.back())) {
        lessonPath.remove_suffix(1);
    }
    for (int component = 0; component < 2; ++component) {
        const std::size_t cut = lessonPath.find_last_of(std::string{kPathSeparator, '/'});
        if (cut == std::string_view::npos) {
            return std::string();
        }
        lessonPath = lessonPath.substr(0, cut);
    }
    return std::string(lessonPath) + kPathSeparator;
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
    std::string path(lessonPath);
    while (!path.empty() && IsSeparator(path.back())) {
        path.pop_back();
    }
    return FileSystemPath(path + kPathSeparator + BookNameOf(lessonPath) + " Lesson" +
                          LessonNumberOf(LessonNameOf(lessonPath)) + ".txt");
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

std::string NativeRelativePath(std::string_view itemPath)
{
    std::string path(itemPath);
    std::size_t at = 0;
    for (int separator = 0; separator < 2; ++separator) {
        at = path.find(kItemPathSeparator, at);
        if (at == std::string::npos) {
            break;
        }
        path[at++] = kPathSeparator;
    }
    return path;
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
        return FileSystemPath(LibraryRootOf(strFullPath) + TitleToFileName(NativeRelativePath(itemPath)) + ".sau");
    }
    return FileSystemPath(std::string(strFullPath) + kPathSeparator + TitleToFileName(itemText) + ".sau");
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
    const std::string lesson = WithoutTrailingSeparators(strFullPath);
    if (lesson.empty()) {
        return listing;
    }
    std::error_code error;
    const std::vector<fs::directory_entry> entries = ReadFolder(lesson, error);
    if (error) {
        // Say which folder is at fault: a missing or closed book folder hides every lesson in it.
        const std::string book = WithoutTrailingSeparators(fs::path(lesson).parent_path().string());
        std::error_code bookError;
        const fs::file_status bookStatus = fs::status(fs::path(FileSystemPath(book)), bookError);
        std::error_code lessonError;
        const bool lessonBlocked =
            fs::status(fs::path(FileSystemPath(lesson)), lessonError).type() == fs::file_type::none &&
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
        if (!EqualsIgnoringCase(entry.path().extension().string(), ".sau") || entry.is_directory(typeError)) {
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
    const std::string book = WithoutTrailingSeparators(bookPath);
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
